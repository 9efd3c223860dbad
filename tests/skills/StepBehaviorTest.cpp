#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "physics/Types.h"
#include "skills/MotionFixture.h"
#include "skills/StepBehavior.h"

namespace {

// One stored step: wait, cType, trh, power, addPower and (joint, angle, speed).
struct Stored {
    float wait, cType, trh, power, addPower;
    std::vector<std::vector<float> > moves;
};

std::vector<std::vector<float> > movesOf(const StepBehavior::Step& s) {
    std::vector<std::vector<float> > out;
    for (size_t i = 0; i < s.angles.size(); ++i) {
        EXPECT_EQ(s.angles[i].first, s.speeds[i].first);
        out.push_back({static_cast<float>(s.angles[i].first), s.angles[i].second, s.speeds[i].second});
    }
    return out;
}

void expectSteps(const StepBehavior& b, const std::vector<Stored>& want, const std::string& what) {
    ASSERT_EQ(b.steps.size(), want.size()) << what;
    for (size_t i = 0; i < want.size(); ++i) {
        const StepBehavior::Step& s = b.steps[i];
        EXPECT_FLOAT_EQ(s.wait, want[i].wait) << what << " step " << i;
        EXPECT_FLOAT_EQ(s.cType, want[i].cType) << what << " step " << i;
        EXPECT_FLOAT_EQ(s.trh, want[i].trh) << what << " step " << i;
        EXPECT_FLOAT_EQ(s.power, want[i].power) << what << " step " << i;
        EXPECT_FLOAT_EQ(s.addPower, want[i].addPower) << what << " step " << i;
        EXPECT_EQ(movesOf(s), want[i].moves) << what << " step " << i;
    }
}

int lines(const std::string& text) {
    int n = 0;
    for (char c : text) {
        n += c == '\n';
    }
    return n;
}

TEST(StepGrammar, StoresStepsAsWritten) {
    const float D = 1.5f;  // default tolerance
    struct Row {
        const char* text;
        std::vector<Stored> steps;
        int errorLines;
    } rows[] = {
        {"22=0.5, 2=10:50, 3=20_1:2,80,0.1;", {{0.5f, 1, 2, 80, 0.1f, {{2, 10, 50}, {3, 20, 100}}}}, 0},
        // Control parameters belong on the last entry.
        {"22=0.5_1:2,80,0.1, 2=10:50, 3=20;", {{0.5f, 0, D, 100, 0.05f, {{2, 10, 50}, {3, 20, 100}}}}, 0},
        // Joint 30 ends the step; reading goes on after it.
        {"2=10, 30=5, 3=20;", {{-1, 0, D, 100, 0.05f, {{2, 10, 100}}}, {-1, 0, D, 100, 0.05f, {{3, 20, 100}}}}, 0},
        {"30=5;", {}, 0},
        {"22=1;", {{1, 0, D, 100, 0.05f, {}}}, 0},
        {"4=1_0:3;", {{-1, 0, 3, 100, 0.05f, {{4, 1, 100}}}}, 0},
        // Ascending joints; a joint given twice keeps its last entry; negative joints dropped.
        {"9 = 1,\n 5=1, -1=7, 5=2:30 ;\n\n", {{-1, 0, D, 100, 0.05f, {{5, 2, 30}, {9, 1, 100}}}}, 0},
        {"", {}, 0},
        // Bad numbers stop the element with one line and keep the steps before.
        {"2=abc;", {}, 1},
        {"2=10; 3=x; 4=1;", {{-1, 0, D, 100, 0.05f, {{2, 10, 100}}}}, 1},
        {"2=10 3=20;", {}, 1},
        {"2=10", {}, 1},
        {"2=10_1:2,80;", {}, 1},
        {"2=1e99;", {}, 1},
    };
    for (const Row& r : rows) {
        StepBehavior b;
        testing::internal::CaptureStderr();
        b.readSteps(r.text, "motion.xml");
        std::string err = testing::internal::GetCapturedStderr();
        expectSteps(b, r.steps, r.text);
        EXPECT_EQ(lines(err), r.errorLines) << r.text << ": " << err;
        if (r.errorLines) {
            EXPECT_EQ(err.find("motion.xml: "), 0u) << err;
        }
    }
}

class Steps : public MotionTest {
protected:
    // Runs cycle k on: sets both clocks, one execute.
    void cycle(StepBehavior& b, int k) {
        setCycle(k);
        b.execute();
    }
};

TEST_F(Steps, ReadsEveryStepsElementOfTheFile) {
    StepBehavior b;
    b.parse(fixture("steps.xml"));
    EXPECT_EQ(b.getName(), "Steps");
    expectSteps(b,
                {{0.5f, 1, 2, 80, 0.1f, {{2, 10, 50}, {3, 20, 100}}},
                 {-1, 0, 1.5f, 100, 0.05f, {{8, -30, 100}}},
                 {-1, 0, 3, 100, 0.05f, {{9, -30, 100}}}},
                "file");
}

TEST_F(Steps, ReaderEndsTheProcessOnAnUnusableFile) {
    std::string missing = ::testing::TempDir() + "no_such_steps.xml";
    EXPECT_EXIT(StepBehavior().parse(missing), ::testing::ExitedWithCode(1),
                "^ERROR \\(MDLParser\\): Unable to open the file: " + missing + "\\.\n$");
    std::string slot = writeFile("slot_type.xml", "<behavior name='x' type='SlotBehavior'/>");
    EXPECT_EXIT(StepBehavior().parse(slot), ::testing::ExitedWithCode(1),
                "^D1, skills/StepBehavior\\(45\\): Invalid file type SlotBehavior in " + slot + "\n$");
}

TEST_F(Steps, ArrivalComparesNormalisedAngles) {
    struct Row {
        float angle, target, trh;
        bool arrives;
    } rows[] = {
        {179, -179, 2.5f, true},  {179, -179, 1.5f, false}, {-170, 175, 16, true},
        {10, 11, 1.5f, true},     {10, 12, 1.5f, false},
    };
    for (const Row& r : rows) {
        model().setHingeJointAngle(Types::ijLaj3, r.angle);
        StepBehavior b("Arrive");
        b.addStep(-1, 0, r.trh, 100, 0.05f);
        b.addMove(0, Types::ijLaj3, r.target, 100);
        b.addStep(-1, 0, 1.5f, 100, 0.05f);
        setCycle(0);
        b.init();
        b.execute();
        EXPECT_EQ(b.currStep, r.arrives ? 1 : 0) << r.angle << " to " << r.target << " within " << r.trh;
        EXPECT_EQ(servo().targets[Types::ijLaj3], r.target);
    }
}

TEST_F(Steps, AStepThatNeverArrivesEndsTwoSecondsAfterItBegan) {
    for (float wait : {-1.0f, 3.0f}) {
        servo() = JointControl();
        StepBehavior b("Timeout");
        b.addStep(wait, 0, 1.5f, 100, 0.05f);
        b.addMove(0, Types::ijLlj4, -60, 100);
        setCycle(0);
        b.init();
        int k = 0;
        for (; k < 200 && !b.currStep; ++k) {
            cycle(b, k);
            server.messages();  // keep the link from filling up
        }
        // Ends in the first cycle more than 2 s after the start.
        EXPECT_GE(k, 100) << wait;
        EXPECT_LE(k, 102) << wait;
        // A wait longer than the time-out never applies the targets.
        EXPECT_EQ(servo().targets[Types::ijLlj4], wait > 2 ? 0 : -60) << wait;
    }
}

TEST_F(Steps, WaitsThenEndsAStepWithoutJoints) {
    StepBehavior b("Pause");
    b.addStep(0.04f, 0, 1.5f, 100, 0.05f);
    b.init();
    cycle(b, 0);
    cycle(b, 1);
    EXPECT_EQ(b.currStep, 0);
    cycle(b, 2);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(b.finished());
    // Asked every cycle: the answer is logged at debug level, never printed.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // The controller ran while waiting.
    EXPECT_EQ(server.messages().size(), 3u);
}

TEST_F(Steps, NothingIsSentWhileGameTimeStandsStillOrAfterTheEnd) {
    StepBehavior b("Still");
    b.addStep(-1, 0, 1.5f, 100, 0.05f);
    b.addMove(0, Types::ijLlj4, -60, 100);
    b.init();
    cycle(b, 0);
    b.execute();
    b.execute();
    EXPECT_EQ(server.messages().size(), 1u);
    model().setHingeJointAngle(Types::ijLlj4, -60);
    cycle(b, 1);
    EXPECT_EQ(b.currStep, 1);
    cycle(b, 2);
    cycle(b, 3);
    EXPECT_EQ(server.messages().size(), 1u);
}

TEST_F(Steps, EachStepChoosesItsController) {
    struct Row {
        float cType;
        bool headDriven;
        float kneeSpeed;
    } rows[] = {
        // PID, default kp 0.1: 0.1 * -60 = -6.
        {0, false, -6},
        // Fast: -(60 / 180 * 80) - 0.1, within the step's limit 50.
        {1, true, -(60.0f / 180 * 80) - 0.1f},
    };
    for (const Row& r : rows) {
        servo() = JointControl();
        StepBehavior b;
        b.addStep(-1, r.cType, 1.5f, 80, 0.1f);
        b.addMove(0, Types::ijLlj4, -60, 50);
        b.init();
        setCycle(0);
        b.execute();
        std::vector<std::string> sent = server.messages();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(command(sent[0], "he1").empty(), !r.headDriven) << sent[0];
        std::string knee = command(sent[0], "lle4");
        ASSERT_FALSE(knee.empty());
        EXPECT_NEAR(std::stof(knee.substr(6)), r.kneeSpeed, 1e-3) << r.cType;
    }
}

}  // namespace
