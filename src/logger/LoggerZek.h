#ifndef LOGGER_LOGGERZEK_H
#define LOGGER_LOGGERZEK_H

#include <ctime>
#include <ostream>
#include <sstream>
#include <string>

#include "logger/LogLevel.h"
#include "logger/LogParameters.h"

// One log line under construction. The line is emitted when the object is
// destroyed, as "H:M:S - level - text": debug and info lines go to the
// LoggerBuffer, the other levels straight to standard error.
//
// Use it through LOG, which builds nothing when the level is filtered out:
//     LOG(log_INFO) << "Votos contados: " << votes;
class LoggerZek {
public:
    // Source of the local time stamped on each line.
    typedef std::tm (*Clock)();

    LoggerZek();
    ~LoggerZek();

    std::ostream& Get(log_level_t level);

    // Start-up configuration: on/off, and "DEBUG", "INFO", "WARN" or "ERROR"
    // (anything else means warn and is reported at level warn).
    static void configure_logger(bool enabled, std::string level);

    // Replaces the clock of the time stamps; nullptr restores the wall clock.
    static void setClock(Clock clock);

private:
    LoggerZek(const LoggerZek&);
    LoggerZek& operator=(const LoggerZek&);

    std::ostringstream m_buffer;
    log_level_t m_logLevel;
};

#define LOG(lvl)                                                                      \
    if (!(LogParameters::instance().active() && (lvl) >= LogParameters::instance().level())) { \
    } else                                                                             \
        LoggerZek().Get(lvl)

#endif
