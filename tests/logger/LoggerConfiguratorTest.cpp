#include <string>

#include <gtest/gtest.h>

#include "logger/LogCapture.h"
#include "logger/LoggerConfigurator.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

struct TableCase {
    const char* name;
    const char* enabled;
    const char* level;
    bool active;
    log_level_t expectedLevel;
    const char* stderrText;
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class ConfiguratorTable : public LogFixture, public ::testing::WithParamInterface<TableCase> {};

TEST_P(ConfiguratorTable, ConfiguresFromTable) {
    const TableCase& c = GetParam();
    Properties p;
    p.setProperty("LOG_ENABLED", c.enabled);
    p.setProperty("LOG_LEVEL", c.level);
    LoggerConfigurator configurator(p);
    CaptureStderr();
    configurator.Configure();
    EXPECT_EQ(GetCapturedStderr(), c.stderrText);
    EXPECT_EQ(LogParameters::instance().active(), c.active);
    EXPECT_EQ(LogParameters::instance().level(), c.expectedLevel);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConfiguratorTable,
    ::testing::Values(
        TableCase{"Yes", "YES", "ERROR", true, log_ERROR, ""},
        TableCase{"LowerYes", "yes", "ERROR", false, log_ERROR, ""},
        TableCase{"YesWithCarriageReturn", "YES\r", "ERROR", false, log_ERROR, ""},
        TableCase{"YesWithBlank", " YES", "ERROR", false, log_ERROR, ""},
        TableCase{"TraceAccepted", "NO", "TRACE", false, log_TRACE, ""},
        TableCase{"Info", "NO", "INFO", false, log_INFO, ""},
        TableCase{"InvalidIsWarn", "NO", "loud", false, log_WARN,
                  "Invalid log level, defaults to WARN\n"}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

using LoggerConfiguratorTest = LogFixture;

TEST_F(LoggerConfiguratorTest, LogsTheLevelItSet) {
    Properties p;
    p.setProperty("LOG_ENABLED", "YES");
    p.setProperty("LOG_LEVEL", "DEBUG");
    LoggerConfigurator(p).Configure();
    EXPECT_EQ(drainBuffer(), "9:5:7 - info - Log level set to DEBUG\n");
}

TEST_F(LoggerConfiguratorTest, AddReplacesEqualKeysAndClearEmpties) {
    Properties first;
    first.setProperty("LOG_ENABLED", "NO");
    first.setProperty("LOG_LEVEL", "INFO");
    LoggerConfigurator configurator(first);
    Properties second;
    second.setProperty("LOG_ENABLED", "YES");
    second.setProperty("NOME", "x");
    configurator.Add(second);
    EXPECT_EQ(configurator.Current().Get("LOG_ENABLED"), "YES");
    EXPECT_EQ(configurator.Current().Get("LOG_LEVEL"), "INFO");
    EXPECT_EQ(configurator.Current().size(), 3u);
    configurator.Clear();
    EXPECT_EQ(configurator.Current().size(), 0u);
}

}  // namespace
