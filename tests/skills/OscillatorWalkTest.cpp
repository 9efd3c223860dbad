#include <gtest/gtest.h>

#include <cmath>

#include "skills/OmniDirectionalWalk.h"
#include "skills/OscillatorGait.h"
#include "skills/TFSSkill.h"
#include "skills/TFSWalk.h"
#include "skills/Walk.h"
#include "skills/WalkSupport.h"

namespace {

// The smallest complete TFS skill: starts now with the walk's shape.
class PlainSkill : public TFSSkill {
public:
    void init() override
    {
        double shape[10] = {-20.9241, 0.466287, -29.7735, 20.7945, -7,
                            -18.05,   11.6474,  15.2049,  0.1875616544625, 1.6};
        setOSCParamsByHipY(shape);
        beginStep2Time = Singleton<WorldState>::getInstance().cTime;
    }
    void execute() override { fallower(); }
    bool finished() override { return false; }
};

} // namespace

TEST_F(WalkTest, SpeedLaws)
{
    struct Row {
        double from, to;
        double predicted, proportional;
    } rows[] = {
        {0, 10, 5, 1},
        {0, 20, 6.1395447, 2},
        {0, -10, -5, -1},
        {0, -20, -6.1395447, -2},
        {0, 2000, 6.1395447, 100},
        {0, -2000, -6.1395447, -100},
    };
    TFSSkill* skill = new PlainSkill;
    Walk walk;
    TFSWalk tfs;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.to);
        EXPECT_NEAR(skill->predictEffector(TFSSkill::RHIP, r.from, r.to), r.predicted, 1e-6);
        EXPECT_NEAR(walk.predictEffector(Walk::RHIP, r.from, r.to), r.predicted, 1e-6);
        EXPECT_NEAR(tfs.predictEffector(TFSWalk::RHIP, r.from, r.to), r.predicted, 1e-6);
        EXPECT_NEAR(walk.pEffector(r.from, r.to), r.proportional, 1e-4);
        EXPECT_NEAR(tfs.pEffector(r.from, r.to), r.proportional, 1e-4);
    }
    EXPECT_EQ(skill->lastAngle[TFSSkill::RHIP], 0);
    EXPECT_NEAR(skill->lastError[TFSSkill::RHIP], -6.1395447, 1e-6);
    delete skill;
}

TEST_F(WalkTest, ZeroTimeStepCountsAsOneCycle)
{
    for (float dt : {0.0f, -0.02f, NAN}) {
        SCOPED_TRACE(dt);
        ws.timeStep = dt;
        EXPECT_FLOAT_EQ(OscillatorGait::timeStep(), 0.02f);
        EXPECT_NEAR(OscillatorGait::predict(0, 10), 5, 1e-6);
        Walk walk;
        walk.setspeed(1);
        walk.execute();
        EXPECT_NEAR(walk.lastspeed, 0.02 / 1.7, 1e-9);
    }
}

TEST_F(WalkTest, TFSSkillDrivesFourteenJointsAndSwapsLegs)
{
    PlainSkill skill;
    skill.init();
    skill.execute();
    skill.setReverse(true);
    skill.execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(commands(sent[0]).size(), 14u);
    EXPECT_EQ(commands(sent[1]).size(), 14u);
    // With every joint at 0 the swapped legs trade their commands.
    struct Pair {
        const char *right, *left;
    } pairs[] = {{"rle3", "lle3"}, {"rle4", "lle4"}, {"rle5", "lle5"}, {"rle2", "lle2"},
                 {"rle1", "lle1"}, {"rae1", "lae1"}};
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.right);
        EXPECT_EQ(command(sent[1], p.right), command(sent[0], p.left));
        EXPECT_EQ(command(sent[1], p.left), command(sent[0], p.right));
    }
    // Swapped, the right ankle roll goes right after the right ankle pitch.
    auto swapped = commands(sent[1]);
    EXPECT_EQ(swapped[4].first, "rle5");
    EXPECT_EQ(swapped[5].first, "rle6");
    EXPECT_EQ(swapped[6].first, "lle5");
}

TEST_F(WalkTest, TFSSkillMeasuresShouldersFromTheArmDown)
{
    PlainSkill skill;
    skill.init();
    skill.aArm = 0;
    model().setHingeJointAngle(Types::ijRaj1, -90);
    model().setHingeJointAngle(Types::ijLaj1, -90);
    skill.execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(command(sent[0], "rae1"), 0);
    EXPECT_EQ(command(sent[0], "lae1"), 0);
}

TEST_F(WalkTest, TurningTable)
{
    struct Row {
        const char* what;
        double speed, lastspeed, degree;
        double aRot;
        float rm, rs;
    } rows[] = {
        {"sharp, fast", 1, 0.9, 12, -4, 0.7f, 1},
        {"sharp the other way", 1, 0.9, -12, 4, 1, 0.7f},
        {"sharp, slow: stride kept", 1, 0.5, 12, -3.5, 1, 1},
        {"mild", 1, 0.9, 8, -4.5, 1, 1},
        {"dead band", 1, 0.9, 5, 0, 1, 1},
        {"edge of the dead band", 1, 0.9, -7, 0, 1, 1},
        {"full speed", 1, 1, 12, -2.5, 0.7f, 1},
        {"standing", 1, 0, -8, 7.5, 1, 1},
        {"backwards", -0.5, -0.5, -10, 3.5, 1, 1},
        {"backwards, sharp row is the mild one", -1, -0.9, 20, -4.5, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Walk walk;
        walk.setspeed(r.speed);
        walk.lastspeed = r.lastspeed;
        walk.setDegree(r.degree);
        walk.setCloseLoopWalkParameter();
        EXPECT_DOUBLE_EQ(walk.aRot, r.aRot);
        EXPECT_FLOAT_EQ(walk.rm, r.rm);
        EXPECT_FLOAT_EQ(walk.rs, r.rs);

        TFSWalk tfs;
        tfs.setspeed(r.speed);
        tfs.lastspeed = r.lastspeed;
        tfs.setDegree(r.degree);
        tfs.setCloseLoopWalkParameter();
        EXPECT_DOUBLE_EQ(tfs.aRot, r.aRot);
        EXPECT_FLOAT_EQ(tfs.rm, r.rm);
        EXPECT_FLOAT_EQ(tfs.rs, r.rs);
    }
}

TEST_F(WalkTest, WalkBackwardsTurnsSlowly)
{
    struct Row {
        double speed, degree, kept;
    } rows[] = {{-0.5, 20, -0.2}, {-0.1, 20, -0.1}, {-0.5, -20, -0.2}, {-0.5, 10, -0.5}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.degree);
        Walk walk;
        walk.setspeed(r.speed);
        walk.setDegree(r.degree);
        walk.setCloseLoopWalkParameter();
        EXPECT_DOUBLE_EQ(walk.getspeed(), r.kept);
    }
}

TEST_F(WalkTest, TFSRampFirstCycle)
{
    struct Row {
        double speed;
        double lastspeed;
    } rows[] = {{1, 0.2 + 0.02 / 1.3}, {0.25, 0.02 / 1.3}, {0.01, 0.01}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.speed);
        TFSWalk walk;
        walk.setspeed(r.speed);
        walk.updaters();
        EXPECT_NEAR(walk.lastspeed, r.lastspeed, 1e-8);
        for (double ratio : {walk.RMaArm, walk.RSaArm, walk.RMaHip, walk.RSaHip, walk.RMbHip,
                             walk.RSbHip, walk.RMaknee, walk.RSaknee})
            EXPECT_EQ(ratio, walk.lastspeed);
        EXPECT_EQ(walk.RMaHipY, 1 - walk.lastspeed);
        EXPECT_EQ(walk.RSaHipY, 1 - walk.lastspeed);
        EXPECT_FALSE(walk.sideWalk);
    }
}

TEST_F(WalkTest, TFSRampReachesASlowSpeedExactly)
{
    TFSWalk walk;
    walk.setspeed(0.25);
    for (int i = 0; i < 20; ++i)
        walk.updaters();
    EXPECT_EQ(walk.lastspeed, 0.25);
}

TEST_F(WalkTest, ReversalDecaysThenRampsBack)
{
    struct Row {
        const char* what;
        double decay, rampUp;
    } rows[] = {{"oscillator walk", 0.02 / 1.4, 0.02 / 1.2}, {"TFS walk", 0.02 / 1.4, 0.02 / 1.2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Walk walk;
        TFSWalk tfs;
        bool isTfs = std::string(r.what) == "TFS walk";
        double& last = isTfs ? tfs.lastspeed : walk.lastspeed;
        last = 0.5;
        if (isTfs)
            tfs.setspeed(-0.5);
        else
            walk.setspeed(-0.5);
        auto step = [&] {
            if (isTfs)
                tfs.updaters();
            else
                walk.updaters();
        };
        step();
        EXPECT_NEAR(last, 0.5 - r.decay, 1e-8);
        int cycles = 1;
        while (last > 0 && cycles < 100) {
            step();
            ++cycles;
        }
        EXPECT_EQ(last, 0);
        EXPECT_GE(cycles, 35);
        EXPECT_LE(cycles, 36);
        step();
        EXPECT_NEAR(last, -r.rampUp, 1e-8);
        double arm = isTfs ? tfs.RMaArm : walk.RMaArm;
        double hip = isTfs ? tfs.RSaHip : walk.RSaHip;
        double knee = isTfs ? tfs.RMaknee : walk.RMaknee;
        EXPECT_LT(arm, 0);
        EXPECT_LT(hip, 0);
        EXPECT_GT(knee, 0);
    }
}

TEST_F(WalkTest, StopComesToRest)
{
    Walk walk;
    EXPECT_TRUE(walk.finished());
    for (int i = 0; i < 50; ++i) {
        walk.execute();
        tick();
    }
    EXPECT_FALSE(walk.finish);
    EXPECT_FALSE(walk.stop());
    EXPECT_TRUE(walk.isstopping());
    int cycles = 0;
    while (!walk.finish && cycles < 200) {
        walk.execute();
        tick();
        ++cycles;
    }
    EXPECT_TRUE(walk.finish);
    EXPECT_EQ(walk.lastspeed, 0);

    TFSWalk tfs;
    EXPECT_TRUE(tfs.stop());
    EXPECT_FALSE(tfs.isstopping());
    EXPECT_EQ(tfs.RMaHipY, 0);
}

TEST_F(WalkTest, ZeroHalfPeriodKeepsTheShape)
{
    struct Row {
        double from, to;
        double p, t2;
    } rows[] = {
        {0.2, 0.2, 0.2, 0.1},
        {0.2, 0.4, 0.4, 0.2},
        {0.2, 0, 0.2, 0.1},
        {0, 0.3, 0.3, 0.1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.to);
        Walk walk;
        TFSWalk tfs;
        walk.p = tfs.p = r.from;
        walk.t1 = tfs.t1 = 0;
        walk.t2 = tfs.t2 = 0.1;
        walk.changeTFSfPeriods(r.to);
        tfs.setCurveParameters(1, 1, static_cast<float>(r.to));
        EXPECT_DOUBLE_EQ(walk.p, r.p);
        EXPECT_NEAR(walk.t2, r.t2, 1e-12);
        EXPECT_NEAR(tfs.p, r.p, 1e-7);
        EXPECT_NEAR(tfs.t2, r.t2, 1e-7);
    }
}

TEST_F(WalkTest, NoWalkSendsInfOrNaN)
{
    // The TFS walk with its parameters never set (all periods 0), forwards,
    // backwards, sideways and turning; the oscillator walk; the
    // omnidirectional walk asked for an impossible stride.
    TFSWalk tfs;
    const double requests[][3] = {{1, 0, 10}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 40}};
    for (const auto& q : requests) {
        tfs.init();
        tfs.setspeed(q[0]);
        tfs.setspeedY(q[1]);
        tfs.setDegree(q[2]);
        for (int i = 0; i < 30; ++i) {
            tfs.execute();
            tick();
        }
    }
    Walk walk;
    walk.setspeed(-1);
    for (int i = 0; i < 30; ++i) {
        walk.execute();
        tick();
    }
    OmniDirectionalWalk odw;
    odw.setOdwParameters(Vector3f(5, 5, 5), 0.3f, false);
    odw.init();
    for (int i = 0; i < 30; ++i)
        odw.execute();
    std::vector<std::string> sent = server.messages();
    EXPECT_EQ(sent.size(), 5 * 30u + 30 + 30);
    expectFinite(sent);
}

TEST_F(WalkTest, TFSTurnsOnTheSpotWhenStandingWithALargeError)
{
    struct Row {
        double degree;
        bool turning;
    } rows[] = {{20, true}, {-20, true}, {10, false}, {15, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.degree);
        TFSWalk walk;
        walk.setDegree(r.degree);
        walk.execute();
        EXPECT_EQ(walk.increaseTurn > 0, r.turning);
        EXPECT_NEAR(walk.increaseTurn, r.turning ? 0.02 : 0, 1e-7);
    }
    TFSWalk walk;
    walk.setDegree(30);
    for (int i = 0; i < 60; ++i)
        walk.execute();
    EXPECT_EQ(walk.increaseTurn, 1);
}

TEST_F(WalkTest, TFSShoulderCorrection)
{
    struct Row {
        float incline;
        double target;
    } rows[] = {{10, -90}, {12, -96}, {8, -84}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.incline);
        ws.me->vertInclinFront = r.incline;
        TFSWalk walk;
        walk.setDegree(30);
        walk.execute();
        std::vector<std::string> sent = server.messages();
        ASSERT_EQ(sent.size(), 1u);
        // Turning, the shoulders hold -90 plus the correction; at 0 the
        // proportional law gives a tenth of it.
        EXPECT_NEAR(command(sent[0], "rae1"), 0.1 * r.target, 1e-4);
        EXPECT_NEAR(command(sent[0], "lae1"), 0.1 * r.target, 1e-4);
    }
}

TEST_F(WalkTest, OmnidirectionalWalkDefaults)
{
    OmniDirectionalWalk walk;
    EXPECT_EQ(walk.getName(), "OWalk");
    struct Row {
        const char* what;
        float value, expected;
    } rows[] = {
        {"vShort", walk.vShort, 3},     {"oShort", walk.oShort, -0.05f},
        {"vLoad", walk.vLoad, 3},       {"vSwing", walk.vSwing, 2},
        {"oSwing", walk.oSwing, -0.15f}, {"nuMin", walk.nuMin, 0.775f},
        {"aRobot x", walk.aRobot.x, 0}, {"aRobot y", walk.aRobot.y, 0},
        {"aRobot z", walk.aRobot.z, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_FLOAT_EQ(r.value, r.expected);
    }
    EXPECT_FALSE(walk.gyro);
    walk.init();
    EXPECT_FLOAT_EQ(walk.trunkPhase, -3.1415927f);
    EXPECT_FALSE(walk.finished());
}

TEST_F(WalkTest, OmnidirectionalWalkStepsInPlaceAtRest)
{
    OmniDirectionalWalk walk;
    walk.setOdwParameters(Vector3f(0, 0, 0), 0.25f, true);
    walk.init();
    // Left leg phase at trunk phase -pi is -3pi/2 normalised: pi/2, where the
    // swing is past its top; both legs give finite, mirrored yaw 0.
    float left[6], right[6];
    walk.getLegCurrentAngles(OmniDirectionalWalk::lsLeft, left);
    walk.getLegCurrentAngles(OmniDirectionalWalk::lsRight, right);
    EXPECT_FLOAT_EQ(left[0], 0);
    EXPECT_FLOAT_EQ(right[0], 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::isfinite(left[i]));
        EXPECT_TRUE(std::isfinite(right[i]));
    }
    // One gait cycle is ceil(2 pi / 0.25) = 26 executions.
    int cycles = 0;
    while (!walk.finished() && cycles < 100) {
        walk.execute();
        ++cycles;
    }
    EXPECT_EQ(cycles, 26);
    // With gyro set only the twelve leg joints have targets: the commit of
    // the last cycle drives the arms with their reset target of 0.
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 26u);
    EXPECT_EQ(command(sent.back(), "lae1"), 0);
}
