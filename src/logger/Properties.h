#ifndef LOGGER_PROPERTIES_H
#define LOGGER_PROPERTIES_H

#include <map>
#include <string>

#include "logger/Property.h"

// Table of configuration values, keyed and ordered by their exact key text.
class Properties {
public:
    typedef std::map<std::string, std::string> PropertyMap;
    typedef PropertyMap::iterator iterator;
    typedef PropertyMap::const_iterator const_iterator;

    // Value of key, or the empty string when the key is absent.
    std::string Get(const std::string& key) const;
    std::string propertyValue(const std::string& key) const;
    // Key and value as a pair; a default Property when the key is absent.
    Property property(const std::string& key) const;

    void setProperty(const std::string& key, const std::string& value);
    void setProperty(const Property& p);
    bool eraseProperty(const std::string& key);
    bool exists(const std::string& key) const;

    std::size_t size() const;
    void clear();

    iterator begin();
    iterator end();
    const_iterator begin() const;
    const_iterator end() const;

private:
    PropertyMap m_PropertyMap;
};

#endif
