#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "planning/PotentialFields.h"
#include "world/QueryWorld.h"

namespace {

struct AreaCase {
    const char* name;
    int matesInOurArea;  // 0 to 3, placed in our goal area
    int playmode;
    Vector me, target, expected;
};

void PrintTo(const AreaCase& c, std::ostream* os) { *os << c.name; }

class CheckAreaTest : public QueryWorld, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(CheckAreaTest, CorrectsTargetsNearBothGoalAreas)
{
    const AreaCase& c = GetParam();
    setBall(Vector(-10, 0));
    for (int n = 1; n <= c.matesInOurArea; n++)
        place(mate(n), Vector(-14.5f, -1.0f + n * 0.5f));
    ws.game->playmode = c.playmode;
    placeMe(c.me);
    const Vector got = PotentialFields().checkArea(c.target);
    ASSERT_TRUE(std::isfinite(got.x) && std::isfinite(got.y));
    EXPECT_NEAR(got.x, c.expected.x, 1e-4f);
    EXPECT_NEAR(got.y, c.expected.y, 1e-4f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckAreaTest,
    ::testing::Values(
        AreaCase{"crowdedMovesTargetInFront", 3, PLAY_ON, {-5, 1}, {-14, 1}, {-12, 1}},
        AreaCase{"crowdedButIAmInsideToo", 3, PLAY_ON, {-14, 2}, {-14, 1}, {-14, 1}},
        AreaCase{"crowdedYEdgeIsInside", 3, PLAY_ON, {-5, 3}, {-14, 3}, {-12, 3}},
        AreaCase{"crowdedXEdgeIsOutside", 3, PLAY_ON, {-5, 1}, {-13, 1}, {-13, 1}},
        AreaCase{"crowdedSideLineCrossed", 3, PLAY_ON, {-14.5f, 1}, {-13.5f, 5}, {-12.5f, 5}},
        AreaCase{"twoMatesLeaveTargetAlone", 2, PLAY_ON, {-5, 1}, {-14, 1}, {-14, 1}},
        AreaCase{"theirGoalKickMovesOutOfTheirs", 0, OPPONENT_GOAL_KICK, {-5, 1}, {14, 1}, {12, 1}},
        AreaCase{"theirGoalKickFarTargetStays", 0, OPPONENT_GOAL_KICK, {-5, 1}, {10, 1}, {10, 1}},
        // No division by zero: a target on y = 0, a target straight behind me in x.
        AreaCase{"targetOnCentreLine", 0, OPPONENT_GOAL_KICK, {-5, 1}, {14, 0}, {12, 0}},
        AreaCase{"targetStraightBelowMe", 0, OPPONENT_GOAL_KICK, {14, 6}, {14, 1}, {12, 1}},
        AreaCase{"crowdedTargetStraightBelowMe", 3, PLAY_ON, {-14, 6}, {-14, 1}, {-12, 3.5f}},
        AreaCase{"crowdedTargetOnCentreLine", 3, PLAY_ON, {-5, 1}, {-14, 0}, {-12, 0}},
        // Only the zone on the side of the new line: a target in the other
        // goal area stays (our goalie keeps its goal at their goal kick).
        AreaCase{"theirGoalKickLeavesOurGoalAreaAlone", 0, OPPONENT_GOAL_KICK, {-10, 0.5f}, {-14.5f, 0},
                 {-14.5f, 0}},
        AreaCase{"crowdedLeavesTheirGoalAreaAlone", 3, PLAY_ON, {5, 1}, {14, 1}, {14, 1}}),
    [](const ::testing::TestParamInfo<AreaCase>& info) { return std::string(info.param.name); });

struct CrossCase {
    const char* name;
    Vector a, b, c, d;
    bool crosses;
};

void PrintTo(const CrossCase& c, std::ostream* os) { *os << c.name; }

class CrossingTest : public ::testing::TestWithParam<CrossCase> {};

TEST_P(CrossingTest, SegmentsCross)
{
    const CrossCase& c = GetParam();
    EXPECT_EQ(PotentialFields::checkIntersection(c.a, c.b, c.c, c.d), c.crosses);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CrossingTest,
    ::testing::Values(CrossCase{"cross", {0, 0}, {2, 2}, {0, 2}, {2, 0}, true},
                      CrossCase{"touching", {0, 0}, {1, 1}, {1, 1}, {2, 0}, true},
                      CrossCase{"short", {0, 0}, {0.9f, 0.9f}, {0, 2}, {2, 0}, false},
                      CrossCase{"parallel", {0, 0}, {2, 0}, {0, 1}, {2, 1}, false},
                      CrossCase{"collinear", {0, 0}, {2, 0}, {1, 0}, {3, 0}, false}),
    [](const ::testing::TestParamInfo<CrossCase>& info) { return std::string(info.param.name); });

class PotentialFieldsTest : public QueryWorld {};

TEST_F(PotentialFieldsTest, GoalMouthOnTheGoaliesSide)
{
    struct Case {
        float goalieX;
        Vector me, target, expected;
    };
    const std::vector<Case> cases = {
        {-14, {-13, 0}, {-16, 0.5f}, {-15.1f, 0.5f}},
        {-14, {-13, 0}, {-14, 0.5f}, {-14, 0.5f}},
        {-14, {13, 0}, {16, 0}, {16, 0}},  // their goal mouth is not guarded
        {14, {13, 0}, {16, 0}, {15.1f, 0}},
    };
    for (const Case& c : cases) {
        place(mate(1), Vector(c.goalieX, 0));
        placeMe(c.me);
        const Vector got = PotentialFields().checkIntersectionGoalPost(c.target);
        EXPECT_NEAR(got.x, c.expected.x, 1e-4f) << c.target.x;
        EXPECT_NEAR(got.y, c.expected.y, 1e-4f) << c.target.x;
    }
}

TEST_F(PotentialFieldsTest, StandStillNearTheBallOnlyAtTheirSetPieces)
{
    setBall(Vector(0, 0));
    for (int pm : {OPPONENT_KICKOFF, OPPONENT_KICKIN, OPPONENT_CORNER_KICK, OPPONENT_FREE_KICK, PLAY_ON,
                   QUORVEL_FREE_KICK}) {
        ws.game->playmode = pm;
        const bool theirs = pm != PLAY_ON && pm != QUORVEL_FREE_KICK;
        placeMe(Vector(2.9f, 0));
        EXPECT_EQ(PotentialFields().checkProx(), theirs) << pm;
        placeMe(Vector(3.1f, 0));
        EXPECT_FALSE(PotentialFields().checkProx()) << pm;
    }
}

TEST_F(PotentialFieldsTest, ApproachSpeed)
{
    struct Case {
        bool attacker, kick;
        float meToBall, dist, speedAtTarget, expected;
    };
    const std::vector<Case> cases = {
        {false, false, 5, 1.0f, 0.3f, 1.0f},
        {true, false, 1, 1.0f, 0.3f, 0.8f},
        {true, false, 3, 1.0f, 0.3f, 1.0f},
        {false, false, 5, 0.15f, 0.3f, 0.3f},
        {true, true, 1, 0.5f, 0.3f, 0.5f},
        {false, true, 5, 0.6f, 0.3f, 1.0f},
    };
    setBall(Vector(0, 0));
    for (const Case& c : cases) {
        placeMe(Vector(c.meToBall, 0));
        ws.me->setRole(c.attacker ? Role(ATT) : Role(DBL));
        ws.isKick = c.kick;
        EXPECT_FLOAT_EQ(PotentialFields().reductionVelAtt(c.dist, c.speedAtTarget), c.expected)
            << c.attacker << c.kick << c.dist;
    }
    ws.isKick = false;
    ws.me->setRole(Role());
}

TEST_F(PotentialFieldsTest, FieldStepIsThreeMetresOrTheCloseTarget)
{
    const Vector near = PotentialFields().calculatePotentialFields(Vector(0, 0), Vector(4, 0));
    EXPECT_FLOAT_EQ(near.x, 4);
    // Opponents parked at y = -9.5 push the step a little towards +y.
    const Vector step = PotentialFields().calculatePotentialFields(Vector(0, 0), Vector(10, 0));
    EXPECT_NEAR(step.length(), 3, 1e-4f);
    EXPECT_GT(step.x, 2.5f);
    EXPECT_GT(step.y, 0);
}

}  // namespace
