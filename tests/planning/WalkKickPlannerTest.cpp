#include <cmath>

#include "planning/PlanningFixture.h"
#include "planning/WalkKickPlanner.h"

namespace {

class WalkKick : public PlanningTest {
protected:
    WalkKickPlanner planner{nullptr};

    void SetUp() override {
        PlanningTest::SetUp();
        planner.SetKick(WalkKickPlanner::SUPER_KICK);
    }

    // A walk start toward target with the ball where it is now.
    void start(Vector target, bool firstPlan) {
        planner.SetFirstPlan(firstPlan);
        planner.SetInitBallPos(world().ballPos);
        planner.SetTarget(target.x, target.y);
        planner.isLastStep(false);
        seedStart(planner, Footstep::RIGHT, 0.3f, 0.4f);
    }
};

TEST_F(WalkKick, KickRows) {
    struct Case {
        WalkKickPlanner::eKick kick;
        float dist, ang, pose, last, period, maxStep;
    } cases[] = {
        // The support foot 0.15 m behind the ball and 0.11 m beside it.
        {WalkKickPlanner::SUPER_KICK, 0.1860f, 0.6327f, 0, 0.7f, 0.4f, 0.16f},
        {WalkKickPlanner::CLEARBALL, 0.17f, 0.7854f, 0, 0.7f, 0.4f, 0.16f},
        {WalkKickPlanner::SUPER_KICK_OFF, 0.2720f, 0.9453f, 0.6109f, 0.4f, 0.3f, 0.14f},
        {WalkKickPlanner::SUPER_KICK_OFFRIGHT, 0.18f, 0.7454f, 0, 0.7f, 0.4f, 0.17f},
        {WalkKickPlanner::SUPER_KICK_OFFLEFT, 0.18f, 0.7454f, 0, 0.7f, 0.4f, 0.17f},
        {WalkKickPlanner::SEVENM_KICK, 0.2163f, 0.5880f, 0, 0.38f, 0.3f, 0.15f},
        {WalkKickPlanner::GOAL_KICK, 0.1860f, 0.6327f, 0, 0.7f, 0.4f, 0.16f},
        {WalkKickPlanner::KUNGFU_KICK, 0, 0, 0, 0.5f, 0.4f, 0.15f},
        {WalkKickPlanner::DYNAMIC_KICK, 0.19f, 0.1009f, 0, 0.4f, 0.36f, 0.18f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kick);
        planner.SetKick(c.kick);
        const WalkKickPlanner::SKickParams& p = planner.currKickParams;
        EXPECT_EQ(planner.currKick, c.kick);
        EXPECT_NEAR(p.distBall2Support, c.dist, 1e-4);
        EXPECT_NEAR(p.angBall2Support, c.ang, 1e-4);
        EXPECT_NEAR(p.angPose2Kick, c.pose, 1e-4);
        EXPECT_FLOAT_EQ(p.lastStepDur, c.last);
        EXPECT_FLOAT_EQ(planner.GetPeriod(), c.period);
        EXPECT_FLOAT_EQ(p.maxStep, c.maxStep);
    }
    planner.SetKick(static_cast<WalkKickPlanner::eKick>(9));
    EXPECT_EQ(planner.currKick, WalkKickPlanner::DYNAMIC_KICK);
    EXPECT_FLOAT_EQ(planner.GetPeriod(), 0.36f);
}

TEST_F(WalkKick, FirstPlanPicksTheCandidateNearestTheSupportSpot) {
    start(Vector(5, 0), true);
    planner.Update();
    ASSERT_EQ(planner.GetNumberOfSteps(), 5);
    // Support spot: 0.15 m behind the ball on the line back from the
    // target, 0.11 m toward the left.
    EXPECT_NEAR(planner.vSuppAtKickRel.x, 1 - 0.15f, 1e-4);
    EXPECT_NEAR(planner.vSuppAtKickRel.y, 0.11f, 1e-4);
    EXPECT_NEAR(planner.vKickFootFinalStep.x, 0.81f, 1e-4);
    EXPECT_EQ(planner.getKickFoot(), 0);
    const Footstep& s = planner.GetLast();
    EXPECT_EQ(s.foot, Footstep::LEFT);
    EXPECT_FLOAT_EQ(s.position.x, 0.14f);
    EXPECT_FLOAT_EQ(s.position.y, -0.055f + 0.12f);
    EXPECT_EQ(s.orientation.second, 0);
    EXPECT_EQ(s.duration, 0);
    EXPECT_FALSE(planner.isLastStep());
    EXPECT_FALSE(planner.firstPlan);
}

// A side shift moves both feet's last places that far across the line from
// the ball to the target, toward the support foot (the planning frame has +y
// to the left); the next row comes without it.
TEST_F(WalkKick, SideShiftMovesBothLastPlacesAcrossTheLineToTheTarget) {
    struct Case {
        const char* what;
        Vector target;
        float side;
        Vector support, kickFoot;
    } cases[] = {
        {"none", Vector(5, 0), 0, Vector(0.85f, 0.11f), Vector(0.81f, 0)},
        {"straight ahead", Vector(5, 0), 0.03f, Vector(0.85f, 0.14f), Vector(0.81f, 0.03f)},
        {"toward the planning frame's +y", Vector(1, 5), 0.03f, Vector(0.86f, -0.15f), Vector(0.97f, -0.19f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        planner.SetKick(WalkKickPlanner::SUPER_KICK);
        planner.SetSide(c.side);
        // The field's y is mirrored in the planning frame.
        start(Vector(c.target.x, -c.target.y), true);
        planner.ComputeRelativePosition();
        EXPECT_NEAR(planner.vSuppAtKickRel.x, c.support.x, 1e-4);
        EXPECT_NEAR(planner.vSuppAtKickRel.y, c.support.y, 1e-4);
        EXPECT_NEAR(planner.vKickFootFinalStep.x, c.kickFoot.x, 1e-4);
        EXPECT_NEAR(planner.vKickFootFinalStep.y, c.kickFoot.y, 1e-4);
    }
    planner.SetSide(0.03f);
    planner.SetKick(WalkKickPlanner::GOAL_KICK);
    EXPECT_EQ(planner.currKickParams.side, 0);
}

TEST_F(WalkKick, KickSupportStepOnlyAfterTheFirstPlan) {
    // The ball placed so that the left foot's spot lies 0.116 m from the right foot.
    Vector spot(0.05f, 0.05f);
    Vector ball = spot + Vector(0.15f, -0.11f);
    // The planning frame mirrors the field's y.
    world().ballPos = Vector(ball.x, -ball.y);
    start(world().ballPos + Vector(4, 0), true);
    planner.Update();
    EXPECT_FALSE(planner.isLastStep());
    EXPECT_EQ(planner.GetLast().duration, 0);

    start(world().ballPos + Vector(4, 0), false);
    planner.Update();
    EXPECT_TRUE(planner.isLastStep());
    const Footstep& s = planner.GetLast();
    EXPECT_EQ(s.foot, Footstep::LEFT);
    EXPECT_NEAR(s.position.x, spot.x, 1e-4);
    EXPECT_NEAR(s.position.y, spot.y, 1e-4);
    EXPECT_FLOAT_EQ(s.duration, 0.7f);

    // Once planned, later updates leave the queue alone.
    int count = planner.GetNumberOfSteps();
    planner.Update();
    EXPECT_EQ(planner.GetNumberOfSteps(), count);
}

TEST_F(WalkKick, CandidatesNearTheBallArePenalisedAndTiesKeepTheEarlier) {
    world().ballPos = Vector(0.14f, 0.0f);
    start(Vector(5, 0), true);
    Footstep near = planner.mSet[3];
    near.foot = Footstep::LEFT;
    near.position = Vector3f(0.14f, 0.065f, 0);
    planner.ComputeRelativePosition();
    EXPECT_EQ(planner.calcHeuristicValue(near), 90000);
    // Every candidate within 0.19 m of a ball at the support foot: the foot steps in place.
    world().ballPos = Vector(0.03f, -0.0f);
    start(Vector(5, 0), true);
    planner.GetFootstep(1).position = Vector3f(0.5f, 0.5f, 0);
    planner.mSet.resize(2);
    planner.mSet[0].position = Vector3f(0.01f, 0.05f, 0);
    planner.mSet[1].position = Vector3f(0.0f, 0.05f, 0);
    planner.Update();
    EXPECT_FLOAT_EQ(planner.GetLast().position.x, 0.5f);
    // Equal values: the earlier candidate wins.
    world().ballPos = Vector(1, 0);
    start(Vector(5, 0), true);
    planner.mSet[0].position = Vector3f(0.02f, 0.12f, 0);
    planner.mSet[1].position = Vector3f(0.02f, 0.12f, 0);
    planner.mSet[1].duration = 1;
    planner.Update();
    EXPECT_EQ(planner.GetLast().duration, 0);
}

TEST_F(WalkKick, BestOrientationTurnsOnlyTowardTheSteppingSide) {
    start(Vector(5, 0), false);
    struct Case {
        int signal;
        float meDeg;
        float expected;
    } cases[] = {{1, -10, 0}, {1, 10, 0.174533f}, {1, 30, 0.26f}, {-1, -30, -0.26f}, {-1, 10, 0}, {-1, -5, -0.0872665f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meDeg);
        planner.signal = c.signal;
        world().me->orientation = c.meDeg;
        EXPECT_NEAR(planner.getBestOrientation(step(0, 0, 0, Footstep::LEFT)), c.expected, 1e-5);
    }
    planner.SetFirstPlan(true);
    EXPECT_EQ(planner.getBestOrientation(step(0, 0, 0, Footstep::LEFT)), 0);
}

// The kicking foot's last swing, the ball 1 m ahead and the target beyond it:
// for the keyframe super and goal kicks it is set down 0.19 m behind the ball
// (a stance beside the support foot, the toe clear of the ball); the other
// rows end with it lifted 0.23 m behind the ball.
TEST_F(WalkKick, LastSwingSetsTheFootDownForTheKeyframeKicks) {
    struct Case {
        WalkKickPlanner::eKick kick;
        float behind;
        bool lands;
    } cases[] = {{WalkKickPlanner::SUPER_KICK, 0.19f, true},
                 {WalkKickPlanner::GOAL_KICK, 0.19f, true},
                 {WalkKickPlanner::SEVENM_KICK, 0.23f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kick);
        planner.SetKick(c.kick);
        planner.Clear();
        planner.Add(step(0.7f, 0.11f, 0, Footstep::LEFT));
        planner.Add(step(0.6f, -0.055f, 0, Footstep::RIGHT));
        planner.Add(step(0.85f, 0.11f, 0.7f, Footstep::LEFT));
        planner.vBallRel = Vector(1, 0);
        planner.vTargetRel = Vector(5, 0);
        const float d = 0.7f, end = 0.95f * d;
        // Still where it was for the first third.
        EXPECT_NEAR(planner.GetLastSwing(0.2f).x, 0.6f, 1e-5);
        EXPECT_NEAR(planner.GetLastSwing(0.2f).z, 0, 1e-5);
        const Vector3f mid = planner.GetLastSwing((d / 3 + end) / 2);
        EXPECT_NEAR(mid.z, c.lands ? 0.06f : 0.03f, 1e-4);
        const Vector3f last = planner.GetLastSwing(end);
        EXPECT_NEAR(last.x, 1 - c.behind, 1e-4);
        EXPECT_NEAR(last.y, 0, 1e-4);
        EXPECT_NEAR(last.z, c.lands ? 0 : 0.06f, 1e-4);
    }
}

TEST_F(WalkKick, AbortedWhenTheBallMovesOrTheAgentIsFarFromIt) {
    start(Vector(5, 0), true);
    EXPECT_FALSE(planner.Aborted());
    world().me->position = Vector3f(-0.05f, 0, 0);
    EXPECT_TRUE(planner.Aborted());
    world().me->position = Vector3f(0.5f, 0, 0);
    EXPECT_FALSE(planner.Aborted());
    world().ballPos = Vector(2.1f, 0);
    EXPECT_TRUE(planner.Aborted());
}

}  // namespace
