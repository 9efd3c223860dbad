#include "logger/Properties.h"

std::string Properties::Get(const std::string& key) const {
    const_iterator it = m_PropertyMap.find(key);
    return it == m_PropertyMap.end() ? std::string() : it->second;
}

std::string Properties::propertyValue(const std::string& key) const { return Get(key); }

Property Properties::property(const std::string& key) const {
    const_iterator it = m_PropertyMap.find(key);
    if (it == m_PropertyMap.end()) {
        return Property();
    }
    return Property(it->first, it->second);
}

void Properties::setProperty(const std::string& key, const std::string& value) {
    m_PropertyMap[key] = value;
}

void Properties::setProperty(const Property& p) { setProperty(p.key(), p.value()); }

bool Properties::eraseProperty(const std::string& key) { return m_PropertyMap.erase(key) > 0; }

bool Properties::exists(const std::string& key) const {
    return m_PropertyMap.find(key) != m_PropertyMap.end();
}

std::size_t Properties::size() const { return m_PropertyMap.size(); }

void Properties::clear() { m_PropertyMap.clear(); }

Properties::iterator Properties::begin() { return m_PropertyMap.begin(); }

Properties::iterator Properties::end() { return m_PropertyMap.end(); }

Properties::const_iterator Properties::begin() const { return m_PropertyMap.begin(); }

Properties::const_iterator Properties::end() const { return m_PropertyMap.end(); }
