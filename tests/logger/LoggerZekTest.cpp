#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "logger/LogCapture.h"
#include "logger/LoggerZek.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

struct Emitted {
    std::string buffered;  // printed from the buffer
    std::string stderrText;
};

// Runs one log statement and collects where its line went.
Emitted logOnce(log_level_t level, const std::string& text) {
    CaptureStderr();
    LOG(level) << text;
    Emitted e;
    e.stderrText = GetCapturedStderr();
    e.buffered = LogFixture::drainBuffer();
    return e;
}

struct RouteCase {
    const char* name;
    bool enabled;
    const char* configured;
    log_level_t statement;
    const char* buffered;
    const char* stderrText;
};

void PrintTo(const RouteCase& c, std::ostream* os) { *os << c.name; }

class LogRouting : public LogFixture, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(LogRouting, LineGoesWhereItsLevelSays) {
    const RouteCase& c = GetParam();
    CaptureStderr();
    LoggerZek::configure_logger(c.enabled, c.configured);
    GetCapturedStderr();
    drainBuffer();

    Emitted e = logOnce(c.statement, "boom");
    EXPECT_EQ(e.buffered, c.buffered);
    EXPECT_EQ(e.stderrText, c.stderrText);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, LogRouting,
    ::testing::Values(
        RouteCase{"InfoDropsDebug", true, "INFO", log_DEBUG, "", ""},
        RouteCase{"InfoBuffersInfo", true, "INFO", log_INFO, "9:5:7 - info - boom\n", ""},
        RouteCase{"InfoSendsErrorToStderr", true, "INFO", log_ERROR, "", "9:5:7 - error - boom\n"},
        RouteCase{"DebugBuffersDebug", true, "DEBUG", log_DEBUG, "9:5:7 - debug - boom\n", ""},
        RouteCase{"WarnSendsWarnToStderr", true, "WARN", log_WARN, "", "9:5:7 - warn - boom\n"},
        RouteCase{"ErrorDropsWarn", true, "ERROR", log_WARN, "", ""},
        RouteCase{"TraceMeansWarn", true, "TRACE", log_INFO, "", ""},
        RouteCase{"DisabledDropsError", false, "DEBUG", log_ERROR, "", ""}),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

struct ConfigureCase {
    const char* name;
    bool enabled;
    const char* configured;
    log_level_t level;
    const char* buffered;
    const char* stderrText;
};

void PrintTo(const ConfigureCase& c, std::ostream* os) { *os << c.name; }

class ConfigureLogger : public LogFixture, public ::testing::WithParamInterface<ConfigureCase> {};

TEST_P(ConfigureLogger, SetsLevelAndReportsIt) {
    const ConfigureCase& c = GetParam();
    CaptureStderr();
    LoggerZek::configure_logger(c.enabled, c.configured);
    const std::string err = GetCapturedStderr();

    EXPECT_EQ(LogParameters::instance().active(), c.enabled);
    EXPECT_EQ(LogParameters::instance().level(), c.level);
    EXPECT_EQ(drainBuffer(), c.buffered);
    EXPECT_EQ(err, c.stderrText);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConfigureLogger,
    ::testing::Values(
        ConfigureCase{"Debug", true, "DEBUG", log_DEBUG,
                      "9:5:7 - info - Logger initialized to level debug\n", ""},
        ConfigureCase{"Info", true, "INFO", log_INFO,
                      "9:5:7 - info - Logger initialized to level info\n", ""},
        ConfigureCase{"WarnHidesConfirmation", true, "WARN", log_WARN, "", ""},
        ConfigureCase{"ErrorHidesConfirmation", true, "ERROR", log_ERROR, "", ""},
        ConfigureCase{"TraceRejected", true, "TRACE", log_WARN, "",
                      "9:5:7 - warn - Invalid log level TRACE\n"},
        ConfigureCase{"LowerCaseRejected", true, "info", log_WARN, "",
                      "9:5:7 - warn - Invalid log level info\n"},
        ConfigureCase{"EmptyRejected", true, "", log_WARN, "",
                      "9:5:7 - warn - Invalid log level \n"},
        ConfigureCase{"DisabledIsSilent", false, "DEBUG", log_DEBUG, "", ""},
        ConfigureCase{"DisabledHidesComplaint", false, "bogus", log_WARN, "", ""}),
    [](const ::testing::TestParamInfo<ConfigureCase>& info) { return std::string(info.param.name); });

using LogLine = LogFixture;

TEST_F(LogLine, TraceGoesToStderrWhenLevelIsTrace) {
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_TRACE);
    Emitted e = logOnce(log_TRACE, "t " + std::to_string(3));
    EXPECT_EQ(e.buffered, "");
    EXPECT_EQ(e.stderrText, "9:5:7 - trace - t 3\n");
}

TEST_F(LogLine, LevelOutsideRangeIsNamedInvalid) {
    LogParameters::instance().active(true);
    Emitted e = logOnce(static_cast<log_level_t>(7), "odd");
    EXPECT_EQ(e.stderrText, "9:5:7 - invalid - odd\n");
    EXPECT_EQ(log_level_to_string(static_cast<log_level_t>(-1)), "invalid");
}

TEST_F(LogLine, SuppressedStatementBuildsNoText) {
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_ERROR);
    int built = 0;
    auto text = [&built]() {
        ++built;
        return std::string("expensive");
    };
    LOG(log_WARN) << text();
    LogParameters::instance().active(false);
    LOG(log_ERROR) << text();
    EXPECT_EQ(built, 0);
}

TEST_F(LogLine, WallClockHasNoLeadingZeros) {
    LoggerZek::setClock(nullptr);
    LogParameters::instance().active(true);
    Emitted e = logOnce(log_ERROR, "now");
    const std::regex shape("([0-9]|1[0-9]|2[0-3]):([0-9]|[1-5][0-9]):([0-9]|[1-5][0-9]|60)"
                           " - error - now\n");
    EXPECT_TRUE(std::regex_match(e.stderrText, shape)) << e.stderrText;
}

TEST_F(LogLine, LateEveningTimeWritesAllDigits) {
    LoggerZek::setClock([]() {
        std::tm t{};
        t.tm_hour = 23;
        t.tm_min = 59;
        t.tm_sec = 10;
        return t;
    });
    LogParameters::instance().active(true);
    EXPECT_EQ(logOnce(log_INFO, "late").buffered, "23:59:10 - info - late\n");
}

}  // namespace
