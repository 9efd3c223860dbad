#ifndef LOGGER_LOGLEVEL_H
#define LOGGER_LOGLEVEL_H

#include <string>

enum log_level_t { log_TRACE = 0, log_DEBUG = 1, log_INFO = 2, log_WARN = 3, log_ERROR = 4 };

// "trace", "debug", "info", "warn", "error"; "invalid" for any other value.
std::string log_level_to_string(log_level_t level);

#endif
