#include "logger/LoggerBuffer.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "logger/LogParameters.h"

std::vector<std::string> LoggerBuffer::mBuffer;
std::mutex LoggerBuffer::mMutex;
std::mutex LoggerBuffer::mMutexInstance;
std::atomic<LoggerBuffer*> LoggerBuffer::mInstance(nullptr);

namespace {
const std::size_t kBatchLines = 1024;
}

LoggerBuffer::LoggerBuffer() {}

LoggerBuffer::~LoggerBuffer() {}

LoggerBuffer& LoggerBuffer::getInstance() {
    LoggerBuffer* instance = mInstance.load(std::memory_order_acquire);
    if (instance == nullptr) {
        std::lock_guard<std::mutex> lock(mMutexInstance);
        instance = mInstance.load(std::memory_order_relaxed);
        if (instance == nullptr) {
            instance = new LoggerBuffer();
            // Lines still held at a normal exit are printed, not lost.
            std::atexit(&LoggerBuffer::printAtExit);
            mInstance.store(instance, std::memory_order_release);
            std::fflush(stdout);
        }
    }
    return *instance;
}

void LoggerBuffer::armazenarLogger(std::string line) {
    std::lock_guard<std::mutex> lock(mMutex);
    mBuffer.push_back(std::move(line));
}

void LoggerBuffer::imprimirLogger() {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mBuffer.size() >= kBatchLines) {
        printAll();
    }
}

void LoggerBuffer::forceImprimirLogger() {
    std::lock_guard<std::mutex> lock(mMutex);
    printAll();
}

bool LoggerBuffer::tracing() {
    const LogParameters& p = LogParameters::instance();
    return p.active() && p.level() <= log_DEBUG;
}

void LoggerBuffer::trace(std::string text) {
    if (!tracing()) {
        return;
    }
    armazenarLogger(std::move(text));
    imprimirLogger();
}

void LoggerBuffer::printAll() {
    for (const std::string& line : mBuffer) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
    mBuffer.clear();
}

void LoggerBuffer::printAtExit() {
    // Never wait at exit on a thread that still holds the buffer.
    std::unique_lock<std::mutex> lock(mMutex, std::try_to_lock);
    if (lock.owns_lock()) {
        printAll();
    }
}
