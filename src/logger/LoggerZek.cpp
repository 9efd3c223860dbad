#include "logger/LoggerZek.h"

#include <atomic>
#include <cstdio>

#include "logger/LoggerBuffer.h"
#include "utils/util.h"

namespace {

std::tm wallClock() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::atomic<LoggerZek::Clock> lineClock(&wallClock);

}  // namespace

LoggerZek::LoggerZek() : m_logLevel(log_TRACE) {}

LoggerZek::~LoggerZek() {
    try {
        std::tm now = lineClock.load()();
        std::string line = convert_to<std::string>(now.tm_hour) + ":" +
                           convert_to<std::string>(now.tm_min) + ":" +
                           convert_to<std::string>(now.tm_sec) + " - " +
                           log_level_to_string(m_logLevel) + " - " + m_buffer.str();
        if (m_logLevel == log_DEBUG || m_logLevel == log_INFO) {
            LoggerBuffer& buffer = LoggerBuffer::getInstance();
            buffer.armazenarLogger(line);
            buffer.imprimirLogger();
        } else {
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), stderr);
            std::fflush(stderr);
        }
    } catch (...) {
        // A log line must never take the program down.
    }
}

std::ostream& LoggerZek::Get(log_level_t level) {
    m_logLevel = level;
    return m_buffer;
}

void LoggerZek::configure_logger(bool enabled, std::string level) {
    LogParameters& parameters = LogParameters::instance();
    parameters.active(enabled);
    if (level == "DEBUG") {
        parameters.level(log_DEBUG);
        LOG(log_INFO) << "Logger initialized to level debug";
    } else if (level == "INFO") {
        parameters.level(log_INFO);
        LOG(log_INFO) << "Logger initialized to level info";
    } else if (level == "WARN") {
        parameters.level(log_WARN);
        LOG(log_INFO) << "Logger initialized to level warn";
    } else if (level == "ERROR") {
        parameters.level(log_ERROR);
        LOG(log_INFO) << "Logger initialized to level error";
    } else {
        parameters.level(log_WARN);
        LOG(log_WARN) << "Invalid log level " << level;
    }
}

void LoggerZek::setClock(Clock clock) { lineClock.store(clock != nullptr ? clock : &wallClock); }
