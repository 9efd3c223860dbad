#include "logger/Property.h"

Property::Property() = default;

Property::Property(const std::string& key, const std::string& value)
    : m_Key(key), m_Value(value) {}

const std::string& Property::key() const { return m_Key; }

const std::string& Property::value() const { return m_Value; }

void Property::key(const std::string& key) { m_Key = key; }

void Property::value(const std::string& value) { m_Value = value; }
