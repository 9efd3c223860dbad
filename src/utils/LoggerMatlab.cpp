#include "utils/LoggerMatlab.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

LoggerMatlab* LoggerMatlab::uniqueInstance = nullptr;
std::list<LoggerMatlab*> LoggerMatlab::instances;

namespace {

void onInterrupt(int /*signal*/) {
    LoggerMatlab::saveAll(true);
    _exit(1);  // exit() is not safe inside a signal handler
}

}  // namespace

LoggerMatlab::LoggerMatlab() : dataCount(0), open(false) {}

LoggerMatlab::LoggerMatlab(std::string /*filePath*/) : LoggerMatlab() {}

LoggerMatlab& LoggerMatlab::getInstance() {
    if (uniqueInstance == nullptr) {
        uniqueInstance = new LoggerMatlab();
    }
    return *uniqueInstance;
}

void LoggerMatlab::log(std::string /*name*/, float /*value*/) {}

void LoggerMatlab::setLogPath(std::string /*path*/) {}

void LoggerMatlab::setLogFile(std::string /*file*/) {}

bool LoggerMatlab::openLogFile() { return false; }

void LoggerMatlab::saveLog() {}

void LoggerMatlab::saveAll(bool /*closing*/) {
    for (LoggerMatlab* logger : instances) {
        logger->saveLog();
    }
}

void LoggerMatlab::signalSetup() {
    if (!instances.empty()) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = &onInterrupt;
    sigfillset(&action.sa_mask);
    action.sa_flags = 0;
    if (sigaction(SIGINT, &action, nullptr) != 0) {
        std::perror("sigaction");
    }
}
