#ifndef UTILS_LOGGERMATLAB_H
#define UTILS_LOGGERMATLAB_H

#include <fstream>
#include <list>
#include <string>
#include <vector>

// One named numeric series.
struct LogElement {
    std::string attributeName;
    std::string values;
};

// Logger of named numeric series. Inert: nothing is recorded or saved.
class LoggerMatlab {
public:
    LoggerMatlab();
    explicit LoggerMatlab(std::string filePath);

    static LoggerMatlab& getInstance();

    void log(std::string name, float value);
    void setLogPath(std::string path);
    void setLogFile(std::string file);
    bool openLogFile();
    void saveLog();

    // Saves every registered logger.
    static void saveAll(bool closing);
    // Saves all loggers and ends the process with status 1 on SIGINT.
    static void signalSetup();

    std::vector<LogElement> logs;
    std::ofstream logFile;
    unsigned int dataCount;
    bool open;
    std::string filePath;

    static LoggerMatlab* uniqueInstance;
    static std::list<LoggerMatlab*> instances;
};

#endif
