#include "logger/LogParameters.h"

LogParameters::LogParameters() : m_logLevel(log_TRACE), m_active(false) {}

LogParameters& LogParameters::instance() {
    static LogParameters parameters;
    return parameters;
}

log_level_t LogParameters::level() const { return m_logLevel; }

void LogParameters::level(log_level_t level) { m_logLevel = level; }

bool LogParameters::active() const { return m_active; }

void LogParameters::active(bool active) { m_active = active; }
