#ifndef LOGGER_PROPERTYSTREAMERROR_H
#define LOGGER_PROPERTYSTREAMERROR_H

#include <exception>

// A configuration file that cannot be opened, read or written.
class PropertyStreamError : public std::exception {};

#endif
