#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "math/PatternGenerator.h"
#include "math/Sine.h"
#include "physics/Types.h"
#include "skills/CPGBehavior.h"
#include "skills/MotionFixture.h"

namespace {

class Patterns : public MotionTest {
protected:
    // init in cycle 0, one execute in cycle k; the execute trace is dropped.
    void runTo(CPGBehavior& b, int k) {
        setCycle(0);
        b.init();
        setCycle(k);
        testing::internal::CaptureStderr();
        b.execute();
        testing::internal::GetCapturedStderr();
    }
    // Pattern time of cycle k as the behaviour sees it.
    static float since(int k) { return serverTime(k) - serverTime(0); }
};

TEST_F(Patterns, GrammarBindsSumsOfSinesToJoints) {
    struct Row {
        const char* text;
        std::map<int, float> targets;  // at pattern time since(5), about 0.1 s
        int errorLines;
    } rows[] = {
        {"3: 0 0 0 10, 0 0 0 5;", {{3, 15}}, 0},
        {"3: 0 0 0 10;\n 4: 0 0 0 -7 ;", {{3, 10}, {4, -7}}, 0},
        {"5: 10 0.4 0 2;", {{5, 2 + 10 * std::sin(2 * M_PI * since(5) / 0.4)}}, 0},
        // Joint 0 is read but not bound; joint 1 is bound.
        {"0: 0 0 0 10; 1: 0 0 0 3;", {{1, 3}}, 0},
        {"3: 0 0 0 10; 3: 0 0 0 20;", {{3, 20}}, 0},
        // A joint number not followed by ":" ends the element.
        {"3: 0 0 0 10; 4 = 0 0 0 1; 5: 0 0 0 1;", {{3, 10}}, 0},
        // Bad numbers stop the element with one line and keep the patterns before.
        {"6: 10,0.5,0,5;", {}, 1},
        {"3: 0 0 0 10; 6: 10,0.5,0,5; 7: 0 0 0 1;", {{3, 10}}, 1},
        {"3: 0 0 0 1", {}, 1},
        {"x: 0 0 0 1;", {}, 1},
    };
    for (const Row& r : rows) {
        servo() = JointControl();
        CPGBehavior b;
        testing::internal::CaptureStderr();
        b.readPatterns(r.text, "gait.xml");
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), r.errorLines) << r.text << ": " << err;
        if (r.errorLines) {
            EXPECT_EQ(err.find("gait.xml: "), 0u) << err;
        }
        runTo(b, 5);
        for (int j = 0; j < Types::NJOINTS; ++j) {
            std::map<int, float>::const_iterator it = r.targets.find(j);
            EXPECT_NEAR(servo().targets[j], it == r.targets.end() ? 0 : it->second, 1e-3)
                << r.text << ", joint " << j;
        }
    }
}

TEST_F(Patterns, SteeringAttenuatesOneLeg) {
    const float e = std::exp(-0.25f);
    struct Row {
        std::map<std::string, float> vars;
        float left, right, arm;
    } rows[] = {
        {{}, 1, 1, 1},
        {{{"SteerAngle", -0.1f}}, e, 1, 1},
        {{{"SteerAngle", 0.1f}}, 1, e, 1},
        {{{"SteerAngle", -0.1f}, {"AmpMod", 0.5f}}, 0.5f * e, 0.5f, 0.5f},
        {{{"SteerAngle", 0.1f}, {"Strength", 10}}, 1, std::exp(-1.0f), 1},
    };
    Sine wave(10, 0.4f, 0, 0);
    for (const Row& r : rows) {
        servo() = JointControl();
        CPGBehavior b("Steer");
        for (int j : {Types::ijLlj2, Types::ijRlj2, Types::ijLaj1}) {
            PatternGenerator<float, float>* g = new PatternGenerator<float, float>();
            g->addFunction(&wave);
            b.setPattern(j, g, -1, -1, -1);
        }
        for (std::map<std::string, float>::const_iterator v = r.vars.begin(); v != r.vars.end(); ++v) {
            b.setVar(v->first, v->second);
        }
        runTo(b, 5);
        float full = wave(since(5), 1);
        EXPECT_NEAR(servo().targets[Types::ijLlj2], r.left * full, 1e-4);
        EXPECT_NEAR(servo().targets[Types::ijRlj2], r.right * full, 1e-4);
        EXPECT_NEAR(servo().targets[Types::ijLaj1], r.arm * full, 1e-4);
    }
}

TEST_F(Patterns, JointZeroIsRefusedAndGainsPassToTheServo) {
    Sine constant(0, 0, 0, 12);
    CPGBehavior b("Gains");
    PatternGenerator<float, float>* refused = new PatternGenerator<float, float>();
    refused->addFunction(&constant);
    b.setPattern(0, refused, -1, -1, -1);
    delete refused;  // still the caller's
    PatternGenerator<float, float>* knee = new PatternGenerator<float, float>();
    knee->addFunction(&constant);
    b.setPattern(Types::ijRlj4, knee, 0.3f, -1, 0.01f);
    runTo(b, 1);
    EXPECT_EQ(servo().targets[0], 0);
    EXPECT_EQ(servo().targets[Types::ijRlj4], 12);
    EXPECT_EQ(servo().pids[Types::ijRlj4], Vector3f(0.3f, 0, 0.01f));
}

TEST_F(Patterns, ReadsTheFileAndRunsForItsDuration) {
    CPGBehavior b;
    std::string path = fixture("patterns.xml");
    testing::internal::CaptureStderr();
    b.parse(path);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "CPGparse " + path + " name Sway\nCPGparse j 4 targ 6\nCPGparse j 5 targ -8\n");
    EXPECT_EQ(b.getName(), "Sway");
    runTo(b, 1);
    EXPECT_EQ(servo().targets[Types::ijLlj2], 6);
    EXPECT_EQ(servo().targets[Types::ijRlj2], -8);
    EXPECT_EQ(servo().targets[0], 0);
    EXPECT_FALSE(b.finished());
    setCycle(4);
    EXPECT_FALSE(b.finished());
    setCycle(6);
    EXPECT_TRUE(b.finished());
    EXPECT_EQ(world().CPGTime, serverTime(0));

    std::string noDelta = writeFile("no_delta.xml", "<behavior name='n' type='CPGBehavior'/>");
    CPGBehavior endless;
    testing::internal::CaptureStderr();
    endless.parse(noDelta);
    testing::internal::GetCapturedStderr();
    setCycle(0);
    endless.init();
    EXPECT_TRUE(endless.finished());
}

TEST_F(Patterns, SendsOncePerClockValueAndNeverANonFiniteSpeed) {
    Sine wave(10, 0.4f, 0, 0);
    CPGBehavior b("Once");
    PatternGenerator<float, float>* g = new PatternGenerator<float, float>();
    g->addFunction(&wave);
    b.setPattern(Types::ijLlj3, g, -1, -1, -1);
    b.setVar("AmpMod", std::numeric_limits<float>::infinity());
    setCycle(0);
    b.init();
    testing::internal::CaptureStderr();
    for (int k = 0; k < 3; ++k) {
        setCycle(k);
        b.execute();
        b.execute();
    }
    testing::internal::GetCapturedStderr();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 3u);
    for (const std::string& m : sent) {
        EXPECT_TRUE(allFinite(m)) << m;
    }
}

TEST_F(Patterns, ReaderEndsTheProcessOnAnUnusableFile) {
    std::string missing = ::testing::TempDir() + "no_such_gait.xml";
    EXPECT_EXIT(CPGBehavior().parse(missing), ::testing::ExitedWithCode(1),
                "^ERROR \\(MDLParser\\): Unable to open the file: " + missing + "\\.\n$");
    std::string slot = writeFile("slot_gait.xml", "<behavior name='x' type='SlotBehavior'/>");
    EXPECT_EXIT(CPGBehavior().parse(slot), ::testing::ExitedWithCode(1),
                "^D1, skills/CPGBehavior\\(57\\): Invalid file type SlotBehavior in " + slot + "\n$");
}

}  // namespace
