#ifndef LOGGER_LOGGERBUFFER_H
#define LOGGER_LOGGERBUFFER_H

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// Process-wide buffer of debug and info log lines, printed to standard output
// in batches. Safe to share between threads.
class LoggerBuffer {
public:
    static LoggerBuffer& getInstance();

    virtual ~LoggerBuffer();

    // Appends one line (without line end).
    void armazenarLogger(std::string line);
    // Prints and empties the buffer once it holds more than 1023 lines.
    void imprimirLogger();
    // Prints and empties the buffer whatever its size.
    void forceImprimirLogger();

    // Trace texts of the world model and the strategy are wanted only with
    // debug logging on; trace() keeps one then, and prints the buffer once
    // it is full, so that it stays bounded.
    static bool tracing();
    void trace(std::string text);

private:
    LoggerBuffer();
    LoggerBuffer(const LoggerBuffer&);
    LoggerBuffer& operator=(const LoggerBuffer&);

    static void printAll();  // with mMutex held
    static void printAtExit();

    static std::vector<std::string> mBuffer;
    static std::mutex mMutex;
    static std::mutex mMutexInstance;
    static std::atomic<LoggerBuffer*> mInstance;
};

#endif
