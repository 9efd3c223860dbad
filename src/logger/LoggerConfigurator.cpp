#include "logger/LoggerConfigurator.h"

#include <exception>
#include <iostream>

#include "logger/LoggerZek.h"

LoggerConfigurator::LoggerConfigurator() {}

LoggerConfigurator::LoggerConfigurator(Properties& properties) : m_Properties(properties) {}

const Properties& LoggerConfigurator::Current() const { return m_Properties; }

void LoggerConfigurator::Add(Properties& properties) {
    for (Properties::const_iterator it = properties.begin(); it != properties.end(); ++it) {
        m_Properties.setProperty(it->first, it->second);
    }
}

void LoggerConfigurator::Clear() { m_Properties.clear(); }

void LoggerConfigurator::Configure() { Configure(LogParameters::instance()); }

void LoggerConfigurator::Configure(LogParameters& parameters) {
    try {
        parameters.active(m_Properties.Get("LOG_ENABLED") == "YES");
        const std::string level = m_Properties.Get("LOG_LEVEL");
        if (level == "TRACE") {
            parameters.level(log_TRACE);
        } else if (level == "DEBUG") {
            parameters.level(log_DEBUG);
        } else if (level == "INFO") {
            parameters.level(log_INFO);
        } else if (level == "WARN") {
            parameters.level(log_WARN);
        } else if (level == "ERROR") {
            parameters.level(log_ERROR);
        } else {
            std::cerr << "Invalid log level, defaults to WARN" << std::endl;
            parameters.level(log_WARN);
        }
        LOG(log_INFO) << "Log level set to " << level;
    } catch (const std::exception&) {
        std::cerr << "Error reading configuration file" << std::endl;
        throw;
    }
}
