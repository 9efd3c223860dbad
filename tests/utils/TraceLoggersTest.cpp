#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "logger/TempDir.h"
#include "geometry/Vector3f.h"
#include "utils/CollectData.h"
#include "utils/Logger.h"
#include "utils/Logger1.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/TacticalMapLogger.h"

namespace {

namespace fs = std::filesystem;
using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

std::string slurp(const std::string& path) {
    std::ifstream in(path.c_str());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs each test inside a fresh temporary directory that holds "tests/".
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        previous_ = fs::current_path();
        fs::current_path(dir_.path());
        fs::create_directory("tests");
    }
    void TearDown() override { fs::current_path(previous_); }

    TempDir dir_;
    fs::path previous_;
};

using CollectDataTest = InTempDir;

TEST_F(CollectDataTest, ReplaceKeepsOnlyTheLastValue) {
    CollectData data;
    data.replace("k", "first");
    data.replace("k", "second");
    ASSERT_EQ(data.mData.size(), 1u);
    EXPECT_EQ(data.mData["k"], std::vector<std::string>{"second"});
    data.clear();
    EXPECT_TRUE(data.mData.empty());
}

TEST_F(CollectDataTest, SaveToSingFileWritesKeysThenValues) {
    CollectData data;
    data.mData["b"] = {};
    data.mData["a"] = {"1", "2"};
    data.saveToSingFile("single.txt");
    EXPECT_EQ(slurp("tests/single.txt"), "a\n1\n2\n\n\nb\n\n\n");
}

TEST_F(CollectDataTest, SaveFileAppendsMarkerAndEmptiesList) {
    CollectData data;
    data.mSimpleData = {"x", "y"};
    data.saveFile("simple.txt");
    EXPECT_TRUE(data.mSimpleData.empty());
    data.mSimpleData = {"z"};
    data.saveFile("simple.txt");
    EXPECT_EQ(slurp("tests/simple.txt"), "x\ny\ninitSaveFile\nz\ninitSaveFile\n");
}

TEST_F(CollectDataTest, SaveToMultFileAppendsOneFilePerKey) {
    CollectData data;
    data.mData["p"] = {"1", "2"};
    data.mData["q"] = {"3"};
    data.saveToMultFile();
    data.saveToMultFile();
    EXPECT_EQ(slurp("tests/p"), "1\n2\n1\n2\n");
    EXPECT_EQ(slurp("tests/q"), "3\n3\n");
}

TEST_F(CollectDataTest, FileWritersPutHeaderFirst) {
    CollectData data;
    data.openFile("own.txt");
    data.add("one");
    data.add("two");
    data.closeFile();
    EXPECT_EQ(slurp("own.txt"), "Writing this to a file.\none\ntwo\n");

    data.addToFile("body", "to.txt");
    EXPECT_EQ(slurp("tests/to.txt"), "Writing this to a file.\nbody");
}

TEST_F(CollectDataTest, UnopenableFileIsReportedAndDataKept) {
    fs::remove("tests");
    CollectData data;
    data.mSimpleData = {"x"};
    CaptureStderr();
    data.saveFile("simple.txt");
    EXPECT_EQ(GetCapturedStderr(), "Could not open tests/simple.txt\n");
    EXPECT_EQ(data.mSimpleData, std::vector<std::string>{"x"});
}

using TraceLoggerTest = InTempDir;

TEST_F(TraceLoggerTest, OutputOperationsWriteNothing) {
    Logger& logger = Singleton<Logger>::getInstance();
    EXPECT_EQ(&logger, &Singleton<Logger>::getInstance());
    fs::create_directory("logs");
    logger.initialize("logs/QUORVEL7.log");
    EXPECT_FALSE(logger.initialized);

    CaptureStdout();
    CaptureStderr();
    logger.LogAction2(1, "kick");
    logger.LogActionN(1, "%d %s", 3, "x");
    logger.LogDrawPoint(1, 0.0f, 1.0f, "red");
    logger.LogDrawLine(1, 0.0f, 0.0f, 1.0f, 1.0f, "blue");
    logger.LogDrawCross(1, 0.0f, 0.0f, 0.2f, "green");
    logger.LogDrawSquare(1, 0.0f, 0.0f, 0.2f, "green");
    logger.LogDrawCircle(1, 0.0f, 0.0f, 0.5f, "yellow");
    logger.LogDrawRectangle(1, 0.0f, 0.0f, 0.5f, "cyan");
    logger.LogDrawRectangle(1, 0.0f, 0.0f, 1.0f, 2.0f, "cyan");
    logger.LogDrawText(1, 0.0f, 0.0f, "ball", "white");
    logger.LogDrawTextN(1, 0.0f, 0.0f, "%f", "white", 1.5);
    logger.LogDrawClear(1);
    std::fflush(stdout);
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_TRUE(fs::is_empty("logs"));
}

using Logger1Test = InTempDir;

TEST_F(Logger1Test, SavesCountThenOneRowPerCoordinate) {
    {
        Logger1 logger;
        logger.setLogPath("points.m");
        logger.openLogFile();
        logger.log(Vector3f(1.0f, 2.0f, 3.0f));
        logger.log(Vector3f(0.5f, -4.0f, 6.25f));
        logger.saveNCloseLog();
    }  // the destructor finds the file closed and leaves it as it is
    EXPECT_EQ(slurp("points.m"), "2\n[1 \t0.5 \t];\n[2 \t-4 \t];\n[3 \t6.25 \t];\n");
}

TEST_F(Logger1Test, UnopenableFileIsReported) {
    EXPECT_EQ(&Logger1::getUniqueInstance(), &Logger1::getUniqueInstance());
    Logger1 logger;
    logger.setLogPath("missing/points.m");
    CaptureStderr();
    logger.openLogFile();
    EXPECT_EQ(GetCapturedStderr(), "Could not open logFile: missing/points.m\n");
}

using TacticalMapLoggerTest = InTempDir;

TEST_F(TacticalMapLoggerTest, WritesDrawingCommandsToFile) {
    {
        TacticalMapLogger map;
        ASSERT_EQ(map.setOutput("map.txt"), 0);
        map.drawNAO(1.5f, -2.0f, 90.0f, TacticalMapLogger::red);
        map.drawBall(0.0f, 1.0f, 0.25f, -0.5f, TacticalMapLogger::orange);
        map.drawLabel(3, "pass");
        map.think();
    }
    EXPECT_EQ(slurp("map.txt"),
              "\n@TacticalMap_DrawNAO_1.500000_-2.000000_90.000000_4\n"
              "\n@TacticalMap_DrawBall_0.000000_1.000000_0.250000_-0.500000_9\n"
              "\n@TacticalMap_DrawLabel_3_pass\n"
              "\n@TacticalMap_Think\n");
}

TEST_F(TacticalMapLoggerTest, UnopenableFileKeepsOldStream) {
    TacticalMapLogger map;
    ASSERT_EQ(map.setOutput("first.txt"), 0);
    EXPECT_EQ(map.setOutput("missing/dir.txt"), -1);
    map.write("still here");
    map.setOutput(stdout);
    EXPECT_EQ(slurp("first.txt"), "\n@TacticalMap_still here\n");
}

TEST_F(TacticalMapLoggerTest, WritesToStandardOutputByDefault) {
    TacticalMapLogger map;
    CaptureStdout();
    map.drawLabel(1, "hi");
    std::fflush(stdout);
    EXPECT_EQ(GetCapturedStdout(), "\n@TacticalMap_DrawLabel_1_hi\n");
}

using LoggerMatlabTest = InTempDir;

TEST_F(LoggerMatlabTest, LogsNothingAnywhere) {
    LoggerMatlab& logger = LoggerMatlab::getInstance();
    EXPECT_EQ(&logger, &LoggerMatlab::getInstance());
    logger.setLogPath("./");
    logger.setLogFile("series.m");
    EXPECT_FALSE(logger.openLogFile());
    for (int i = 0; i < 10000; ++i) {
        logger.log("gyr", static_cast<float>(i));
    }
    logger.saveLog();
    LoggerMatlab::saveAll(true);
    EXPECT_TRUE(logger.logs.empty());
    EXPECT_EQ(logger.dataCount, 0u);
    EXPECT_FALSE(logger.open);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

TEST(LoggerMatlabSignal, InterruptEndsWithStatusOne) {
    EXPECT_EXIT(
        {
            LoggerMatlab::signalSetup();
            raise(SIGINT);
        },
        ::testing::ExitedWithCode(1), "");
}

}  // namespace
