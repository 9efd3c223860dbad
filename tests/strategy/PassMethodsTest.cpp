#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "physics/AgentModel.h"
#include "strategy/PassMethods.h"
#include "strategy/Trajectory.h"
#include "world/QueryWorld.h"

namespace {

class PassMethodsTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.theirGoalPos = Vector(15, 0);
        ws.setplayPasser = nullptr;
        Singleton<AgentModel>::getInstance().robotType = 0;
    }
    void TearDown() override
    {
        ws.setplayPasser = nullptr;
        Singleton<AgentModel>::getInstance().robotType = 0;
    }
};

float deg(float rad) { return rad * 180.0f / (float)M_PI; }

TEST_F(PassMethodsTest, ConstructedModelRollsFifteenMetresPerSecondBall)
{
    PassMethods pm;
    EXPECT_EQ(pm.getKickType(), pm.SUPERKICK);
    EXPECT_NEAR(pm.alcanceChute, 13.716f, 0.001f);
    EXPECT_EQ(pm.nCycle, 122);
    EXPECT_NEAR(pm.duracaoChute, 2.44f, 1e-5f);
}

TEST_F(PassMethodsTest, KickTypeAndRollFromPasserDistanceAndRobotType)
{
    struct Case {
        float passerX;  // on the x axis, their goal at (15, 0)
        int robotType;
        int kickType;
        float roll;
    };
    const Case cases[] = {
        {5.0f, 0, 0, 10.058f},   // exactly 10 m: the long kick
        {5.01f, 0, 1, 3.658f},   // 9.99 m: the kick while walking
        {0.0f, 1, 0, 10.058f},
        {0.0f, 2, 0, 10.973f},
        {0.0f, 3, 0, 11.704f},
        {0.0f, 4, 0, 10.973f},   // unknown type: 12 m/s
        {12.0f, 3, 1, 3.658f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.passerX);
        SCOPED_TRACE(c.robotType);
        Singleton<AgentModel>::getInstance().robotType = c.robotType;
        place(mate(7), Vector(c.passerX, 0));
        ws.setplayPasser = mate(7);
        PassMethods pm;
        pm.calculaTamanhoTrajetoria();
        EXPECT_EQ(pm.getKickType(), c.kickType);
        EXPECT_NEAR(pm.alcanceChute, c.roll, 0.001f);
        EXPECT_EQ(pm.nCycle, 122);
    }
}

TEST_F(PassMethodsTest, PasserIsTheTeamMateHoldingTheBall)
{
    setBall(Vector(12, 0.5f));
    place(mate(7), Vector(12, 0.2f));
    ws.closeTeam = 7;
    PassMethods pm;
    pm.calculaTamanhoTrajetoria();
    EXPECT_EQ(ws.playWB, 7);
    EXPECT_EQ(pm.getKickType(), pm.DYNAMICKICK);
}

TEST_F(PassMethodsTest, NoPasserFallsBackOnTheBall)
{
    ws.playWB = 0;
    ws.closeTeam = 0;
    ws.closeOpp = 0;
    setBall(Vector(-5, 0));
    PassMethods pm;
    pm.calculaTamanhoTrajetoria();
    EXPECT_EQ(pm.getKickType(), pm.SUPERKICK);
    EXPECT_TRUE(std::isfinite(pm.alcanceChute));
}

TEST_F(PassMethodsTest, SectorBoundsByBallRegion)
{
    struct Case {
        Vector ball, lower, upper;
    };
    const Case cases[] = {
        {Vector(0, 0), Vector(7.5f, -10), Vector(7.5f, 10)},
        {Vector(0, -6), Vector(15, -10), Vector(4, 10)},
        {Vector(0, 6), Vector(4, -10), Vector(15, 10)},
        {Vector(10, 2), Vector(15, -5), Vector(15, 5)},
        {Vector(10, -7), Vector(15, -5), Vector(7.5f, 10)},
        {Vector(10, 7), Vector(7.5f, -10), Vector(15, 5)},
        {Vector(7.5f, 5), Vector(7.5f, -10), Vector(7.5f, 10)},  // on both limits
    };
    PassMethods pm;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ball.str());
        setBall(c.ball);
        std::vector<Vector> zone = pm.getBallZone();
        ASSERT_EQ(zone.size(), 2u);
        Vector lo = (c.lower - c.ball).normalize();
        Vector hi = (c.upper - c.ball).normalize();
        EXPECT_NEAR(zone[0].x, lo.x, 1e-5f);
        EXPECT_NEAR(zone[0].y, lo.y, 1e-5f);
        EXPECT_NEAR(zone[1].x, hi.x, 1e-5f);
        EXPECT_NEAR(zone[1].y, hi.y, 1e-5f);
    }
}

TEST_F(PassMethodsTest, SpacingAngleByBallSpeedAndRelativeDistance)
{
    struct Case {
        float speed, distRel, degrees;
    };
    const Case cases[] = {
        {15, 0.5f, 5.28f}, {11, 0.5f, 7.18f}, {4, 0.5f, 19.11f},
        {11, 0.9f, 13.09f}, {4, 0.9f, 32.60f},
    };
    PassMethods pm;
    for (const Case& c : cases) {
        pm.velInicialBola = c.speed;
        EXPECT_NEAR(deg(pm.getSpacingAngle(c.distRel)), c.degrees, 0.01f)
            << c.speed << " " << c.distRel;
    }
}

TEST_F(PassMethodsTest, FieldLinesBelongToTheField)
{
    struct Case {
        Vector p;
        bool off;
    };
    const Case cases[] = {
        {Vector(15, 0), false},    {Vector(-15, 10), false}, {Vector(0, -10), false},
        {Vector(15.01f, 0), true}, {Vector(0, -10.01f), true}, {Vector(-16, 3), true},
    };
    PassMethods pm;
    for (const Case& c : cases)
        EXPECT_EQ(pm.isOfftheField(c.p), c.off) << c.p.str();
}

TEST_F(PassMethodsTest, PointIsBlockedByAStandingOpponentWithinReach)
{
    struct Case {
        float oppDist;
        bool fallen;
        bool blocked;
    };
    const Case cases[] = {
        {2.43f, false, true}, {2.46f, false, false}, {1.0f, true, false},
    };
    PassMethods pm;
    Vector p(3, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oppDist);
        if (c.fallen)
            placeFallen(opp(4), p + Vector(c.oppDist, 0));
        else
            place(opp(4), p + Vector(c.oppDist, 0));
        EXPECT_EQ(pm.isBlockedPoint(p), c.blocked);
    }
}

TEST(Trajectory, CopiesAreDeepAndTheDistanceVectorIsReturnedByValue)
{
    Trajectory t;
    EXPECT_EQ(t.getClassification(), PassMethods::PASSE);
    EXPECT_GT(t.getIndiceAcessoPP(), 0);
    t.setDistAllyToPP(1.5f);
    t.setDistAllyToPP(2.5f);
    std::vector<float> d = t.getVectorDistAllyToPP();
    d[0] = 9;
    EXPECT_EQ(t.getVectorDistAllyToPP(), (std::vector<float>{1.5f, 2.5f}));

    Trajectory copy(t);
    copy.setDistAllyToPP(3.5f);
    EXPECT_EQ(t.getVectorDistAllyToPP().size(), 2u);
    EXPECT_EQ(copy.getVectorDistAllyToPP().size(), 3u);
}

} // namespace

namespace {

TEST(PassFan, RaysFromLowerToUpperBound)
{
    struct Case {
        const char* name;
        Vector lower, upper;
        size_t rays;
    };
    const Case cases[] = {
        {"quarter turn", Vector(1, 0), Vector(0, 1), 5},
        {"no width: one ray along the edge", Vector(0.6f, 0.8f), Vector(0.6f, 0.8f), 1},
        // Opposite bounds whose product rounds below -1.
        {"opposite bounds", Vector(0, -1.0000001f), Vector(0, 1.0000001f), 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Vector> dirs = PassMethods::fanDirections({c.lower, c.upper}, 0.5f);
        ASSERT_EQ(dirs.size(), c.rays);
        for (Vector d : dirs)
            ASSERT_TRUE(std::isfinite(d.x) && std::isfinite(d.y));
        EXPECT_NEAR(dirs.front().x, c.lower.x, 1e-5f);
        EXPECT_NEAR(dirs.front().y, c.lower.y, 1e-5f);
        EXPECT_NEAR(dirs.back().x, c.upper.x, 1e-5f);
        EXPECT_NEAR(dirs.back().y, c.upper.y, 1e-5f);
        for (size_t k = 1; k < dirs.size(); ++k)
            EXPECT_LE(std::acos(std::min(1.0f, dirs[k].innerProduct(dirs[k - 1]))), 0.5f + 1e-5f);
    }
}

} // namespace
