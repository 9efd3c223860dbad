#ifndef LOGGER_PROPERTYREADER_H
#define LOGGER_PROPERTYREADER_H

#include <istream>
#include <ostream>
#include <string>

#include "logger/BadPropertyFormatException.h"
#include "logger/Properties.h"
#include "logger/PropertyStreamError.h"

// Reads and writes key=value files such as "config.ini".
//
// Lines are split at the first '='; empty lines and lines starting with '#'
// are skipped; nothing is trimmed (a trailing CR stays in the value).
class PropertyReader {
public:
    // Throws PropertyStreamError when the file cannot be opened or read,
    // BadPropertyFormatException on a line without '=' or with an empty key.
    Properties read(const std::string& fileName) const;
    Properties read(std::istream& in) const;

    // The message goes first, one "#" comment line per line of it.
    // Throws BadPropertyFormatException, before writing anything, for a pair
    // that would not read back as itself; PropertyStreamError on a bad stream.
    void write(std::ostream& out, const std::string& message, const Properties& p) const;
    void write(std::ostream& out, Properties& p) const;
    void write(const std::string& fileName, const std::string& message,
               const Properties& p) const;
    void write(const std::string& fileName, const Properties& p) const;
};

#endif
