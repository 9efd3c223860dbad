#ifndef TESTS_LOGGER_LOGCAPTURE_H
#define TESTS_LOGGER_LOGCAPTURE_H

#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "logger/LoggerBuffer.h"
#include "logger/LoggerZek.h"

// 09:05:07 local time.
inline std::tm nineFiveSeven() {
    std::tm t{};
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    return t;
}

// Logging off, an empty buffer and a fixed clock around every test.
class LogFixture : public ::testing::Test {
public:
    // Prints the buffer and returns what it printed.
    static std::string drainBuffer() {
        ::testing::internal::CaptureStdout();
        LoggerBuffer::getInstance().forceImprimirLogger();
        return ::testing::internal::GetCapturedStdout();
    }

protected:
    void SetUp() override {
        reset();
        LoggerZek::setClock(&nineFiveSeven);
    }
    void TearDown() override {
        reset();
        LoggerZek::setClock(nullptr);
    }

private:
    static void reset() {
        LogParameters::instance().active(false);
        LogParameters::instance().level(log_TRACE);
        drainBuffer();
    }
};

#endif
