#ifndef LOGGER_LOGGERCONFIGURATOR_H
#define LOGGER_LOGGERCONFIGURATOR_H

#include "logger/LogParameters.h"
#include "logger/Properties.h"

// Sets the logging parameters from a table holding LOG_ENABLED and LOG_LEVEL.
class LoggerConfigurator {
public:
    LoggerConfigurator();
    explicit LoggerConfigurator(Properties& properties);

    const Properties& Current() const;
    // Sets every pair of the argument, replacing values of equal keys.
    void Add(Properties& properties);
    void Clear();

    void Configure();
    // Active exactly when LOG_ENABLED is "YES"; LOG_LEVEL is "TRACE", "DEBUG",
    // "INFO", "WARN" or "ERROR", anything else means warn.
    void Configure(LogParameters& parameters);

private:
    Properties m_Properties;
};

#endif
