#ifndef LOGGER_PROPERTY_H
#define LOGGER_PROPERTY_H

#include <string>

// One key=value pair of a configuration table.
class Property {
public:
    Property();
    Property(const std::string& key, const std::string& value);

    const std::string& key() const;
    const std::string& value() const;
    void key(const std::string& key);
    void value(const std::string& value);

private:
    std::string m_Key;
    std::string m_Value;
};

#endif
