#include <gtest/gtest.h>

#include <cmath>

#include "utils/Singleton.h"
#include "world/Ball.h"
#include "world/LandMark.h"
#include "world/MobileObject.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

// Moves obj to p the way the world state does: the old position goes into
// the history first.
void moveTo(MobileObject& obj, const Vector3f& p)
{
    obj.updatePrevPosition(obj.position);
    obj.position = p;
}

} // namespace

TEST(MobileObject, StartsEmptyAndStill)
{
    MobileObject obj;
    EXPECT_TRUE(obj.prevPosition.empty());
    EXPECT_TRUE(obj.filtered.empty());
    EXPECT_EQ(obj.getVelocity(), 0.0f);
    EXPECT_EQ(obj.conf, 0.0f);
    EXPECT_FALSE(obj.seen);
}

TEST(MobileObject, KeepsTheNewest25PreviousPositions)
{
    MobileObject obj;
    for (int i = 1; i <= 26; ++i)
        obj.updatePrevPosition(Vector3f(static_cast<float>(i), 0, 0));
    ASSERT_EQ(obj.prevPosition.size(), 25u);
    EXPECT_EQ(obj.prevPosition.front().x, 26.0f);
    EXPECT_EQ(obj.prevPosition.back().x, 2.0f);
}

TEST(MobileObject, VelocityAppearsOnThe75thUpdate)
{
    MobileObject obj;
    for (int i = 1; i <= 74; ++i) {
        moveTo(obj, Vector3f(0.01f * i, 0.01f * i, 0));
        ASSERT_EQ(obj.getVelocity(), 0.0f) << "update " << i;
    }
    EXPECT_EQ(obj.filtered.size(), 74u);
    moveTo(obj, Vector3f(0.75f, 0.75f, 0));
    EXPECT_GT(obj.getVelocity(), 0.0f);
    EXPECT_EQ(obj.filtered.size(), 74u);
}

// A steady walk of one step per 0.02-s cycle along several directions, the
// two axes included, at several places.
TEST(MobileObject, ConstantVelocityIsMeasured)
{
    struct Case {
        float x0, y0, dx, dy;
    };
    const Case cases[] = {
        {0, 0, 0.01f, 0.01f},   {1.3f, -2.7f, 0.004f, -0.006f},
        {-3, 2.1f, 0.01f, 0},   {0.1f, 4.7f, 0, -0.008f},
        {5, 5, -0.01f, 0.002f},
    };
    for (const Case& c : cases) {
        MobileObject obj;
        obj.position = Vector3f(c.x0, c.y0, 0);
        for (int i = 1; i <= 120; ++i)
            moveTo(obj, Vector3f(c.x0 + c.dx * i, c.y0 + c.dy * i, 0));
        Vector3f v = obj.getVelXY();
        EXPECT_NEAR(v.x, c.dx / 0.02f, 1e-2) << c.dx << ", " << c.dy;
        EXPECT_NEAR(v.y, c.dy / 0.02f, 1e-2) << c.dx << ", " << c.dy;
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_NEAR(obj.getVelocity(), std::hypot(c.dx, c.dy) / 0.02f, 1e-2);
    }
}

TEST(MobileObject, StandingObjectHasZeroVelocity)
{
    const Vector3f places[] = {Vector3f(0, 0, 0), Vector3f(2.5f, -1.25f, 0),
                               Vector3f(0.1f, 0.3f, 0.2f), Vector3f(-7.3f, 4.1f, 0)};
    for (const Vector3f& at : places) {
        MobileObject obj;
        obj.position = at;
        for (int i = 0; i < 100; ++i)
            moveTo(obj, at);
        EXPECT_TRUE(std::isfinite(obj.getVelocity()));
        EXPECT_NEAR(obj.getVelocity(), 0.0f, 1e-4) << at;
        for (const Vector3f& q : obj.filtered) {
            EXPECT_NEAR(q.x, at.x, 1e-4);
            EXPECT_NEAR(q.y, at.y, 1e-4);
        }
    }
}

TEST(MobileObject, TrackOfAnAxisMoverStaysOnTheAxis)
{
    MobileObject obj;
    obj.position = Vector3f(1.5f, 0, 0);
    for (int i = 1; i <= 60; ++i)
        moveTo(obj, Vector3f(1.5f, 0.02f * i, 0));
    // Both fitted slopes are 0 here: the track takes the position at the
    // time of the update, the one being replaced.
    for (const Vector3f& q : obj.filtered) {
        ASSERT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
        EXPECT_EQ(q.x, 1.5f);
    }
    EXPECT_FLOAT_EQ(obj.filtered.back().y, 0.02f * 59);
}

TEST(MobileObject, BeamJumpIsSeenAndVelocityStaysFinite)
{
    Player p(4);
    for (int i = 0; i < 80; ++i)
        moveTo(p, Vector3f(-2, 1, 0));
    EXPECT_FALSE(p.wasBeamed());
    moveTo(p, Vector3f(-8, 3, 0));
    EXPECT_TRUE(p.wasBeamed());
    EXPECT_TRUE(std::isfinite(p.getVelocity()));
    moveTo(p, Vector3f(-8, 3, 0));
    EXPECT_FALSE(p.wasBeamed());
}

TEST(MobileObject, MinQuadFitsALineAndItsResidual)
{
    MobileObject obj;
    double x[] = {0, 1, 2, 3};
    double y[] = {1, 3, 5, 7};
    Vector3f line = obj.minQuad(x, y, 4);
    EXPECT_FLOAT_EQ(line.x, 1);
    EXPECT_FLOAT_EQ(line.y, 2);
    EXPECT_FLOAT_EQ(obj.errQuad, 0);

    double sameX[] = {2, 2, 2};
    double someY[] = {1, 2, 6};
    line = obj.minQuad(sameX, someY, 3);
    EXPECT_EQ(line.x, 0.0f);
    EXPECT_EQ(line.y, 0.0f);
    EXPECT_FLOAT_EQ(obj.errQuad, 1 + 4 + 36);

    line = obj.minQuad(x, y, 0);
    EXPECT_EQ(line.x, 0.0f);
    EXPECT_EQ(obj.errQuad, 0.0f);
}

TEST(MobileObject, EstimatedPositionExtrapolates)
{
    MobileObject obj;
    obj.position = Vector3f(1, 2, 0.5f);
    obj.velXY = Vector3f(0.5f, -1, 0);
    Vector3f p = obj.estimedPos(2);
    EXPECT_FLOAT_EQ(p.x, 2);
    EXPECT_FLOAT_EQ(p.y, 0);
    EXPECT_EQ(p.z, 0.0f);
}

TEST(Ball, WindowsStartWithFourZeroSamples)
{
    Ball ball;
    ball.setPosition(Vector3f(4, 0, 0));
    EXPECT_FLOAT_EQ(ball.position.x, 4);
    EXPECT_FLOAT_EQ(ball.filteredPos.x, 1);
    EXPECT_FLOAT_EQ(ball.filteredVelVec.back().x, 20);
    EXPECT_FLOAT_EQ(ball.filteredVel.x, 5);
    EXPECT_FLOAT_EQ(ball.filteredAccVec.back().x, 100);
    EXPECT_FLOAT_EQ(ball.filteredAcc.x, 25);
    EXPECT_EQ(ball.filteredPosVec.size(), 4u);
    EXPECT_EQ(ball.filteredVelVec.size(), 4u);
    EXPECT_EQ(ball.filteredAccVec.size(), 4u);

    // Four equal samples later the windows hold only that position.
    for (int i = 0; i < 4; ++i)
        ball.setPosition(Vector3f(4, 0, 0));
    EXPECT_FLOAT_EQ(ball.filteredPos.x, 4);
    EXPECT_FLOAT_EQ(ball.filteredVel.x, 0);
}

TEST(Ball, HeadingForOurGoal)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.setSide("left");
    ASSERT_EQ(ws.myGoalPos, Vector(-15, 0));

    struct Case {
        Vector oldest, newest;
        bool expected;
    };
    const Case cases[] = {
        {Vector(-10, 0), Vector(-12, 0.1f), true},   // crosses at y = 0.25
        {Vector(-10, 0), Vector(-12, 1), false},     // crosses at y = 2.5
        {Vector(-10, 2), Vector(-10, -3), false},    // parallel to the goal line
        {Vector(3, 3), Vector(3, 3), false},         // lying still
        {Vector(0, 1), Vector(-5, 0.8f), true},      // crosses at y = 0.4
    };
    for (const Case& c : cases) {
        Ball ball;
        ball.setPosition(Vector3f(c.oldest.x, c.oldest.y, 0));
        ball.setPosition(Vector3f(c.oldest.x, c.oldest.y, 0));
        ball.setPosition(Vector3f(c.oldest.x, c.oldest.y, 0));
        ball.setPosition(Vector3f(c.oldest.x, c.oldest.y, 0));
        ball.setPosition(Vector3f(c.newest.x, c.newest.y, 0));
        // Window now: oldest three at the old spot, newest at the new one.
        EXPECT_EQ(ball.isInOurGoalDirection(), c.expected) << c.oldest << " -> " << c.newest;
    }
}

TEST(Player, StartsWithItsNumberAndRole)
{
    Player goalie(1);
    EXPECT_EQ(goalie.unum, 1);
    EXPECT_TRUE(goalie.getRole().isGoalie());
    Player other(7);
    EXPECT_EQ(other.getRole().getIdRole(), NO_ROLE);
    EXPECT_TRUE(std::isinf(other.distToBall));
    EXPECT_EQ(other.markedOppNum, 0);
    EXPECT_EQ(other.getMarkedOppNum(), 0);

    Role r(7, KEC);
    other.setRole(r);
    EXPECT_EQ(other.getRole().unum, 7);
    EXPECT_EQ(other.getRole().getIdRole(), KEC);
}

TEST(Player, StandingNeedsTheHeadAbove27cm)
{
    Player p(3);
    p.head.position.z = 0.27f;
    EXPECT_FALSE(p.isStanding());
    p.head.position.z = 0.28f;
    EXPECT_TRUE(p.isStanding());
}

TEST(Player, BeamNeedsAJumpOfMoreThanTwoMetres)
{
    Player p(3);
    EXPECT_FALSE(p.wasBeamed());
    p.prevPosition.push_front(Vector3f(0, 0, 0));
    p.position = Vector3f(2, 0, 0);
    EXPECT_FALSE(p.wasBeamed());
    p.position = Vector3f(2.01f, 0, 0);
    EXPECT_TRUE(p.wasBeamed());
}

TEST(Player, ClosestBodyPart)
{
    Player me(2);
    Player other(9);
    me.head.position = Vector3f(0, 0, 0.5f);
    me.rLowerArm.position = Vector3f(0.1f, -0.1f, 0.3f);
    me.lLowerArm.position = Vector3f(0.1f, 0.1f, 0.3f);
    me.lFoot.position = Vector3f(0, 0.05f, 0);
    me.rFoot.position = Vector3f(0, -0.05f, 0);
    other.head.position = Vector3f(1, 0, 0.5f);
    other.lLowerArm.position = Vector3f(0.8f, 0.5f, 0.3f);
    other.rLowerArm.position = Vector3f(0.6f, -0.2f, 0.3f);
    other.lFoot.position = Vector3f(1, 0.05f, 0);
    other.rFoot.position = Vector3f(1, -0.05f, 0);
    EXPECT_EQ(me.closestBodyPartPosition(&other), Vector(0.6f, -0.2f));

    // All parts further than 100 m: nothing is found.
    Player far(10);
    far.head.position = far.lLowerArm.position = far.rLowerArm.position =
        far.lFoot.position = far.rFoot.position = Vector3f(200, 0, 0);
    EXPECT_EQ(me.closestBodyPartPosition(&far), Vector(0, 0));
}

TEST(LandMark, KeepsItsId)
{
    LandMark lm(3);
    EXPECT_EQ(lm.id, 3);
    EXPECT_TRUE(lm.name.empty());
    EXPECT_FALSE(lm.seen);
}
