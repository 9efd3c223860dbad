#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "logger/LogCapture.h"
#include "logger/LoggerBuffer.h"
#include "logger/LoggerZek.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string numbered(int i) { return "line " + std::to_string(i); }

using LoggerBufferTest = LogFixture;

TEST_F(LoggerBufferTest, GetInstanceIsOneObject) {
    EXPECT_EQ(&LoggerBuffer::getInstance(), &LoggerBuffer::getInstance());
}

TEST_F(LoggerBufferTest, PrintsOnlyFrom1024LinesThenEmpties) {
    LoggerBuffer& buffer = LoggerBuffer::getInstance();
    for (int i = 0; i < 1023; ++i) {
        buffer.armazenarLogger(numbered(i));
    }
    CaptureStdout();
    buffer.imprimirLogger();
    EXPECT_EQ(GetCapturedStdout(), "");

    buffer.armazenarLogger(numbered(1023));
    CaptureStdout();
    buffer.imprimirLogger();
    const std::string printed = GetCapturedStdout();
    std::string expected;
    for (int i = 0; i < 1024; ++i) {
        expected += numbered(i) + "\n";
    }
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(drainBuffer(), "");
}

TEST_F(LoggerBufferTest, InfoStatementPrintsTheFullBatch) {
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_DEBUG);
    LoggerBuffer& buffer = LoggerBuffer::getInstance();
    for (int i = 0; i < 1022; ++i) {
        buffer.armazenarLogger(numbered(i));
    }
    CaptureStdout();
    LOG(log_DEBUG) << "one short";
    EXPECT_EQ(GetCapturedStdout(), "");

    CaptureStdout();
    LOG(log_INFO) << "the " << 1024 << "th";
    std::vector<std::string> lines = splitLines(GetCapturedStdout());
    ASSERT_EQ(lines.size(), 1024u);
    EXPECT_EQ(lines.front(), "line 0");
    EXPECT_EQ(lines[1022], "9:5:7 - debug - one short");
    EXPECT_EQ(lines.back(), "9:5:7 - info - the 1024th");
}

TEST_F(LoggerBufferTest, ForcePrintsWhateverIsHeld) {
    LoggerBuffer::getInstance().armazenarLogger("a");
    LoggerBuffer::getInstance().armazenarLogger("");
    EXPECT_EQ(drainBuffer(), "a\n\n");
    EXPECT_EQ(drainBuffer(), "");
}

// Several threads store, print and log at once; every line comes out exactly once.
TEST_F(LoggerBufferTest, ConcurrentWritersLoseNoLine) {
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_DEBUG);
    const int kThreads = 8;
    const int kLines = 700;

    CaptureStdout();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t]() {
            LoggerBuffer& buffer = LoggerBuffer::getInstance();
            for (int i = 0; i < kLines; ++i) {
                const std::string text = "t" + std::to_string(t) + " n" + std::to_string(i);
                if (i % 2 == 0) {
                    buffer.armazenarLogger(text);
                    buffer.imprimirLogger();
                } else {
                    LOG(log_INFO) << text;
                }
            }
        });
    }
    for (std::thread& th : threads) {
        th.join();
    }
    LoggerBuffer::getInstance().forceImprimirLogger();
    const std::vector<std::string> lines = splitLines(GetCapturedStdout());

    std::map<std::string, int> seen;
    for (const std::string& line : lines) {
        ++seen[line];
    }
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kLines; ++i) {
            std::string text = "t" + std::to_string(t) + " n" + std::to_string(i);
            if (i % 2 != 0) {
                text = "9:5:7 - info - " + text;
            }
            EXPECT_EQ(seen[text], 1) << text;
        }
    }
}

TEST(LoggerBufferExit, LinesHeldAtExitArePrinted) {
    EXPECT_EXIT(
        {
            std::fflush(stdout);
            dup2(STDERR_FILENO, STDOUT_FILENO);  // let the death test see standard output
            LoggerBuffer::getInstance().armazenarLogger("kept until exit");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "kept until exit");
}

}  // namespace
