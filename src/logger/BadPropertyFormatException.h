#ifndef LOGGER_BADPROPERTYFORMATEXCEPTION_H
#define LOGGER_BADPROPERTYFORMATEXCEPTION_H

#include <exception>

// A configuration line that is not key=value, or whose key is empty.
class BadPropertyFormatException : public std::exception {};

#endif
