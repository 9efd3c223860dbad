#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "MidLevelSkills.h"
#include "world/QueryWorld.h"

namespace {

// One controller call: writes angle and the two speeds, answers arrival.
using Controller =
    std::function<bool(MidLevelSkills&, float& angle, float& sx, float& sy, Vector dest)>;

const float DIR = 45;
const float DIR_THR = 10;

} // namespace

// A stand-in walk under the controllers: full forward speed is 0.5 m/s,
// full sideways speed 0.3 m/s towards the body's left, and the body turns
// against the turn command by a fifth of it per cycle, at most 2 degrees.
class WalkToPoint : public QueryWorld {
protected:
    MidLevelSkills skills;

    void SetUp() override
    {
        QueryWorld::SetUp();
        MidLevelSkills::resetState();
    }

    void step(float angle, float sx, float sy)
    {
        float turn = std::max(-2.0f, std::min(2.0f, -angle / 5));
        ws.me->orientation = GetNormalizeAngleDeg(ws.me->orientation + turn);
        Vector fwd = Vector::getVectorFromPolar(1, ws.me->orientation);
        Vector left = Vector::getVectorFromPolar(1, ws.me->orientation + 90);
        placeMe(ws.myPos + fwd * (sx * 0.01f) + left * (sy * 0.006f), ws.me->orientation);
    }

    // Cycles until the controller declares arrival, or -1 after 60 s.
    int walk(const Controller& c, Vector dest)
    {
        for (int cycle = 0; cycle < 3000; ++cycle) {
            float angle = 0, sx = 0, sy = 0;
            if (c(skills, angle, sx, sy, dest))
                return cycle;
            EXPECT_TRUE(std::isfinite(angle) && std::isfinite(sx) && std::isfinite(sy));
            step(angle, sx, sy);
        }
        return -1;
    }
};

TEST_F(WalkToPoint, EachControllerReachesItsPointAndHeading)
{
    struct Row {
        const char* what;
        Controller c;
        Vector from;
        float heading;
    } rows[] = {
        {"forward", [](MidLevelSkills& s, float& a, float& x, float&, Vector d) {
             return s.goToPointForwardWalk(a, x, DIR_THR, DIR, d, 0);
         }, Vector(-2, -1), 0},
        {"forward, target behind", [](MidLevelSkills& s, float& a, float& x, float&, Vector d) {
             return s.goToPointForwardWalk(a, x, DIR_THR, DIR, d, 0);
         }, Vector(3, 2), 30},
        {"side right", [](MidLevelSkills& s, float& a, float&, float& y, Vector d) {
             return s.goToPointSideWalkRight(a, y, DIR_THR, DIR, d, 0);
         }, Vector(-1, 0), 0},
        {"side left", [](MidLevelSkills& s, float& a, float&, float& y, Vector d) {
             return s.goToPointSideWalkLeft(a, y, DIR_THR, DIR, d, 0);
         }, Vector(-1, 0), 0},
        {"back", [](MidLevelSkills& s, float& a, float& x, float&, Vector d) {
             return s.goToPointBackWalk(a, x, DIR_THR, DIR, d, 0);
         }, Vector(2, 2), 20},
        {"omnidirectional", [](MidLevelSkills& s, float& a, float& x, float& y, Vector d) {
             return s.goToPointOmniDirectional(a, x, y, DIR_THR, DIR, d, 0);
         }, Vector(-2, -1), 90},
        {"generic, forwards only", [](MidLevelSkills& s, float& a, float& x, float&, Vector d) {
             return s.goToPoint(a, x, DIR_THR, DIR, d, 0, false);
         }, Vector(-2, -1), 0},
        {"generic, backwards allowed", [](MidLevelSkills& s, float& a, float& x, float&, Vector d) {
             return s.goToPoint(a, x, DIR_THR, DIR, d, 0, true);
         }, Vector(3, 2), 0},
        {"to the ball", [](MidLevelSkills& s, float& a, float& x, float&, Vector d) {
             return s.goToBall(a, x, DIR_THR, DIR, d);
         }, Vector(-2, -1), 0},
    };
    const Vector dest(1, 0.5f);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        MidLevelSkills::resetState();
        skills = MidLevelSkills();
        placeMe(r.from, r.heading);
        int cycles = walk(r.c, dest);
        EXPECT_GE(cycles, 0);
        EXPECT_LT(ws.myPos.getDistanceTo(dest), 0.15f);
        EXPECT_LT(std::fabs(GetNormalizeAngleDeg(DIR - ws.me->orientation)), DIR_THR);
    }
}

TEST_F(WalkToPoint, ArcRadiusIsTheSameOnBothSides)
{
    struct Row {
        float relDir;
        float radius;
    } rows[] = {{0, 1000}, {15, 1000}, {-15, 1000}, {30, 2}, {-30, 2}, {90, 1}, {-90, 1}};
    placeMe(Vector(0, 0), 0);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.relDir);
        EXPECT_NEAR(skills.calculateReduseOfCurve(Vector::getVectorFromPolar(2, r.relDir)),
                    r.radius, 1e-3);
    }
}

TEST_F(WalkToPoint, BallGeometry)
{
    placeMe(Vector(0, 0.1f), 0);
    setBall(Vector(1, 0));
    Vector approach = skills.calcApproachBallPoint(Vector(5, 0), 0.3f);
    EXPECT_NEAR(approach.x, 0.7f, 1e-5);
    EXPECT_NEAR(approach.y, 0, 1e-5);
    Vector detour = skills.clacAvoidTarget(Vector(1, 0), Vector(3, 0), 0.5f);
    EXPECT_NEAR(detour.x, 1, 1e-5);
    EXPECT_NEAR(detour.y, 0.5f, 1e-5);

    struct Row {
        const char* what;
        Vector target;
        bool inWay;
    } rows[] = {
        {"ball on the way", Vector(2, 0.05f), true},
        {"ball beside the way", Vector(2, 1), false},
        {"ball beyond the target", Vector(0.5f, 0.05f), false},
        {"ball behind me", Vector(-2, 0.1f), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(skills.isPointInMyWay(Vector(1, 0), r.target, 0.2f), r.inWay);
    }
}

TEST_F(WalkToPoint, BehindTheBallHoldsWhileTheBallBlocksTheWay)
{
    setBall(Vector(1, 0));
    float angle = 99, speed = 99;
    // From the far side the ball lies on the way to the point behind it.
    placeMe(Vector(3, 0.05f), 180);
    EXPECT_FALSE(skills.goToBehind(angle, speed, Vector(5, 0), Vector(), 0.3f, 0, 10, false));
    EXPECT_EQ(angle, 99);
    EXPECT_EQ(speed, 99);
    // From the side the way is free: a walk command towards (0.7, 0).
    placeMe(Vector(0.7f, 2), 0);
    EXPECT_FALSE(skills.goToBehind(angle, speed, Vector(5, 0), Vector(), 0.3f, 0, 10, false));
    EXPECT_NE(speed, 99);
    EXPECT_NEAR(angle, 90, 1e-3);
}
