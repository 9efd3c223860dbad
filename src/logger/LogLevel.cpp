#include "logger/LogLevel.h"

std::string log_level_to_string(log_level_t level) {
    switch (level) {
        case log_TRACE: return "trace";
        case log_DEBUG: return "debug";
        case log_INFO: return "info";
        case log_WARN: return "warn";
        case log_ERROR: return "error";
    }
    return "invalid";
}
