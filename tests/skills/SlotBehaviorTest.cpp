#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "physics/Types.h"
#include "skills/MotionFixture.h"
#include "skills/SlotBehavior.h"
#include "skills/SlotStop.h"

namespace {

TEST(SineControl, EasesFromStartToEndOverTheDuration) {
    struct Row {
        float angi, angf, delta, x, expected;
    } rows[] = {
        {10, 30, 0.2f, 0, 10},   {10, 30, 0.2f, 0.1f, 20}, {10, 30, 0.2f, 0.2f, 30},
        {30, 10, 0.1f, 0.05f, 20}, {-5, 5, 0.4f, 0.1f, -5 + 10 * (1 - std::cos(M_PI / 4)) / 2},
        {10, 30, 0, 0.1f, 0},    {10, 30, -1, 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(sineControl(r.angi, r.angf, r.delta, r.x), r.expected, 1e-4)
            << r.angi << " -> " << r.angf << " over " << r.delta << " at " << r.x;
    }
}

class Keyframes : public MotionTest {
protected:
    // Two slots of duration delta moving the left knee, then init in cycle 0.
    void twoSlots(SlotBehavior& b, float delta) {
        b.addSlot(delta, "slot");
        b.addMove(0, Types::ijLlj4, -40, false, -1, -1, -1);
        b.addSlot(delta, "slot");
        b.addMove(1, Types::ijLlj4, -80, false, -1, -1, -1);
        b.init();
    }

    // Plays from cycle 0 on: the elapsed time each slot is eased at, per slot.
    std::vector<std::vector<float> > play(SlotBehavior& b, int callsPerCycle) {
        std::vector<std::vector<float> > seen(b.slots.size());
        for (int k = 0; k < 1000 && !b.finished(); ++k) {
            setCycle(k);
            seen[b.currSlot].push_back(b.elapsed);
            for (int c = 0; c < callsPerCycle; ++c) {
                b.execute();
            }
        }
        return seen;
    }
};

TEST_F(Keyframes, SlotTimingInNormalAndExpediteMode) {
    struct Row {
        const char* what;
        bool expedite;
        float delta;
        std::vector<float> first, later;
    } rows[] = {
        {"normal 0.1", false, 0.1f, {0, 0.02f, 0.04f, 0.06f, 0.08f, 0.1f}, {0, 0.04f, 0.06f, 0.08f, 0.1f}},
        {"expedite 0.1", true, 0.1f, {0.02f, 0.04f, 0.06f, 0.08f, 0.1f}, {0.02f, 0.04f, 0.06f, 0.08f, 0.1f}},
        {"normal 0.05", false, 0.05f, {0, 0.02f, 0.04f}, {0, 0.04f}},
        {"expedite 0.05", true, 0.05f, {0.02f, 0.04f}, {0.02f, 0.04f}},
        {"normal 0", false, 0, {0}, {0}},
        {"expedite 0", true, 0, {0.02f}, {0.02f}},
    };
    for (const Row& r : rows) {
        SlotBehavior b;
        if (r.expedite) {
            b.switchToExpediteMode();
        }
        twoSlots(b, r.delta);
        for (int calls = 1; calls <= 2; ++calls) {
            setCycle(0);
            b.init();
            std::vector<std::vector<float> > seen = play(b, calls);
            ASSERT_EQ(seen.size(), 2u);
            const std::vector<float>* want[] = {&r.first, &r.later};
            for (int s = 0; s < 2; ++s) {
                ASSERT_EQ(seen[s].size(), want[s]->size()) << r.what << " slot " << s << ", calls " << calls;
                for (size_t i = 0; i < seen[s].size(); ++i) {
                    EXPECT_NEAR(seen[s][i], (*want[s])[i], 1e-5) << r.what << " slot " << s << " cycle " << i;
                }
            }
            EXPECT_TRUE(b.finished());
        }
    }
}

TEST_F(Keyframes, TwoCallsInOneCycleSendTwiceAndAdvanceOnce) {
    SlotBehavior b;
    twoSlots(b, 0.1f);
    b.execute();
    b.execute();
    EXPECT_EQ(server.messages().size(), 2u);
    EXPECT_NEAR(b.elapsed, 0.02f, 1e-5);
    EXPECT_EQ(b.currSlot, 0);
}

TEST_F(Keyframes, EasesFromTheMeasuredAngleOrFromTheSlotStart) {
    for (bool corrected : {false, true}) {
        setCycle(0);
        SlotBehavior b;
        b.setSineCorrection(corrected);
        b.addSlot(0.2f, "slot");
        b.addMove(0, Types::ijLlj4, -40, false, -1, -1, -1);
        model().setHingeJointAngle(Types::ijLlj4, -10);
        b.init();
        b.execute();
        EXPECT_FLOAT_EQ(servo().targets[Types::ijLlj4], -10);
        // The knee has moved before the next cycle.
        model().setHingeJointAngle(Types::ijLlj4, -20);
        setCycle(1);
        b.execute();
        float start = corrected ? -10 : -20;
        EXPECT_FLOAT_EQ(servo().targets[Types::ijLlj4], sineControl(start, -40, 0.2f, 0.02f)) << corrected;
    }
}

TEST_F(Keyframes, KickSlotsJumpToTheFinalAngle) {
    SlotBehavior b;
    b.addSlot(0.04f, "KICK");
    b.addMove(0, Types::ijRlj3, 60, false, -1, -1, -1);
    b.addSlot(0.04f, "slot");
    b.addMove(1, Types::ijRlj3, 20, false, -1, -1, -1);
    b.init();
    std::vector<float> targets;
    for (int k = 0; k < 10 && !b.finished(); ++k) {
        setCycle(k);
        b.execute();
        targets.push_back(servo().targets[Types::ijRlj3]);
    }
    // The plain slot eases from where the joint is (0).
    std::vector<float> want = {60, 60, 60, 0, 20};
    ASSERT_EQ(targets.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(targets[i], want[i], 1e-3) << "cycle " << i;
    }
}

TEST_F(Keyframes, GainsAreTheLastMovesAndDefaultToTheKeyframeKp) {
    SlotBehavior b;
    b.addSlot(0.1f, "slot");
    b.addMove(0, Types::ijRlj2, 10, false, 0.2f, -1, -1);
    b.addMove(0, Types::ijLlj4, -10, false, -1, -1, -1);
    b.addSlot(0.1f, "slot");
    b.addMove(1, Types::ijRlj2, 20, false, 0.3f, 0.01f, -1);
    b.init();
    b.execute();
    EXPECT_EQ(servo().pids[Types::ijRlj2], Vector3f(0.3f, 0.01f, 0));
    EXPECT_EQ(servo().pids[Types::ijLlj4], Vector3f(0.45633233f, 0, 0));
    // Joints the motion does not move keep the defaults of init.
    EXPECT_EQ(servo().pids[Types::ijLaj1], Vector3f(0.1f, 0, 0));
}

TEST_F(Keyframes, BeamsInEveryBatchUntilTheNextInit) {
    SlotBehavior b;
    b.addSlot(0.04f, "slot");
    b.addMove(0, Types::ijLlj4, -10, false, -1, -1, -1);
    b.init();
    b.enableBeam(true);
    b.setBeamPos(Vector3f(-1.5f, 2, 90));
    for (int k = 0; k < 6; ++k) {  // past the end of the motion
        setCycle(k);
        b.execute();
    }
    EXPECT_TRUE(b.finished());
    b.init();
    EXPECT_FALSE(b.isBeamEnabled());
    b.execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 7u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(sent[i].find("(beam -1.5 -2 90)"), 0u) << sent[i];
        EXPECT_EQ(sent[i].substr(sent[i].size() - 6), "(syn)\n");
        EXPECT_NE(command(sent[i], "lle4"), "");
    }
    EXPECT_EQ(sent[6].find("(beam"), std::string::npos);
}

TEST_F(Keyframes, NoSlotsFinishesAtOnceAndStillCommits) {
    SlotBehavior b("Empty");
    b.parse("no/such/file.xml");  // the interface's reader does nothing here
    EXPECT_EQ(b.getNumberOfSlots(), 0);
    b.init();
    EXPECT_TRUE(b.finished());
    b.execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(command(sent[0], "lle1"), "(lle1 0)");
}

TEST_F(Keyframes, ZeroDurationSlotTargetsZeroForItsOneCycle) {
    SlotBehavior b;
    b.addSlot(0, "slot");
    b.addMove(0, Types::ijRlj3, 40, false, -1, -1, -1);
    servo().setJointTarget(Types::ijRlj3, 25);
    b.init();
    b.execute();
    EXPECT_EQ(servo().targets[Types::ijRlj3], 0);
    EXPECT_TRUE(b.finished());
}

TEST_F(Keyframes, NeverSendsANonFiniteSpeed) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row {
        const char* what;
        float delta, angle, kp;
    } rows[] = {
        {"endless slot", inf, 30, -1},
        {"angle not a number", 0.1f, nan, -1},
        {"gain not a number", 0.1f, 30, nan},
        {"kick to infinity", 0.1f, inf, -1},
    };
    for (const Row& r : rows) {
        servo() = JointControl();
        servo().setJointTarget(Types::ijRlj3, 25);
        SlotBehavior b;
        b.addSlot(r.delta, r.angle == inf ? "KICK" : "slot");
        b.addMove(0, Types::ijRlj3, r.angle, false, r.kp, -1, -1);
        b.init();
        for (int k = 0; k < 3; ++k) {
            setCycle(k);
            b.execute();
        }
        for (const std::string& m : server.messages()) {
            EXPECT_TRUE(allFinite(m)) << r.what << ": " << m;
        }
        EXPECT_TRUE(std::isfinite(servo().targets[Types::ijRlj3])) << r.what;
    }
}

TEST_F(Keyframes, EditingAndLookups) {
    SlotBehavior b;
    b.addSlot(1, "slot");
    b.addMove(0, Types::ijLlj4, -10, false, -1, -1, -1);
    b.addMove(0, Types::ijRlj4, -20, false, -1, -1, -1);
    b.addMove(0, Types::ijLlj4, -30, false, -1, -1, -1);
    b.addMove(3, Types::ijLlj4, -30, false, -1, -1, -1);  // no such slot
    b.addMove(0, 22, 5, false, -1, -1, -1);               // no such joint
    EXPECT_EQ(b.slots[0].targets.size(), 3u);

    struct DeltaRow {
        float in, out;
    } deltas[] = {{-1, 0}, {1.5f, 1.5f}, {7, 3}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const DeltaRow& d : deltas) {
        b.changeDelta(0, d.in);
        EXPECT_EQ(b.slots[0].delta, d.out) << d.in;
    }
    b.changeMove(0, Types::ijLlj4, 50);  // clamped to the knee's 1
    EXPECT_EQ(b.slots[0].targets[0].second, 1);
    EXPECT_EQ(b.slots[0].targets[2].second, 1);
    EXPECT_EQ(b.slots[0].targets[1].second, -20);

    ASSERT_NE(b.getSlotTarget(0u, static_cast<int>(Types::ijRlj4)), nullptr);
    EXPECT_EQ(b.getSlotTarget(0u, -20.0f)->first, Types::ijRlj4);
    testing::internal::CaptureStderr();
    EXPECT_EQ(b.getSlotTarget(0u, 7), nullptr);
    EXPECT_EQ(b.getSlotTarget(4u, -20.0f), nullptr);
    EXPECT_EQ(b.getSlotByIndex(1u), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: couldn't find required slot or target in SlotBehavior.\n"
              "ERROR: couldn't find required slot or target in SlotBehavior.\n"
              "Behavior::getSlotByIndex: cannot access index 1\n");

    b.addMoveAndApplyInModel(0, Types::ijRlj2, 90, true);  // hip roll limit 25
    EXPECT_EQ(b.slots[0].targets.back(), std::make_pair(static_cast<int>(Types::ijRlj2), 25.0f));
    EXPECT_EQ(model().getJoint(Types::ijRlj2)->getAngle(), 25);
}

TEST_F(Keyframes, StopHoldsTheServoForItsDuration) {
    SlotStop stop(0.1f);
    EXPECT_EQ(stop.getName(), "Stop");
    EXPECT_TRUE(stop.use_sineCorrection);
    servo().setJointTarget(Types::ijLlj4, -50);
    stop.init();
    int calls = 0;
    for (int k = 0; k < 20 && !stop.finished(); ++k) {
        setCycle(k);
        stop.execute();
        ++calls;
    }
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(servo().targets[Types::ijLlj4], -50);
    EXPECT_EQ(server.messages().size(), 6u);
}

}  // namespace
