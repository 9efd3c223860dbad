#ifndef LOGGER_LOGPARAMETERS_H
#define LOGGER_LOGPARAMETERS_H

#include "logger/LogLevel.h"

// The process-wide logging settings: whether logging is on and the lowest
// level that is emitted. Off until configured.
class LogParameters {
public:
    static LogParameters& instance();

    log_level_t level() const;
    void level(log_level_t level);
    bool active() const;
    void active(bool active);

private:
    LogParameters();
    LogParameters(const LogParameters&);
    LogParameters& operator=(const LogParameters&);

    log_level_t m_logLevel;
    bool m_active;
};

#endif
