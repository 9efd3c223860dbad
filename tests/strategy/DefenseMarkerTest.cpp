#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "strategy/DefenseMarker.h"
#include "strategy/Strategy.h"
#include "world/QueryWorld.h"

namespace {

// I am number 5 on the left. Everybody is parked out of the way beside the
// field behind our goal line, each opponent next to a team-mate; opponent 2
// holds the ball.
class DefenseMarkerTest : public QueryWorld {
protected:
    static Strategy* strategy;
    Strategy* previous = nullptr;
    DefenseMarker marker{&ws, nullptr};

    static void SetUpTestSuite()
    {
        if (strategy == nullptr)
            strategy = new Strategy();
    }

    void SetUp() override
    {
        QueryWorld::SetUp();
        previous = ws.strategy;
        ws.setStrategy(strategy);
        marker.strategy = strategy;
        ws.defState->resetDefensiveMarker();
        ws.game->gameTime = 100;
        ws.gTime = 100;
        ws.setLastQuorvelKickoff(-100);
        ws.game->setPreviousMode(PLAY_ON);
        for (int n = 1; n <= 11; n++) {
            place(mate(n), park(n));
            place(opp(n), park(n) + Vector(-0.5f, 0));
            strategy->StDec.FM_StrategicPos[n] = park(n);
            mate(n)->setRole(Role(n, n == 1 ? GOA : KEC));
        }
        placeMe(Vector(14, -1));
        setBall(Vector(3, 0));
        place(opp(2), Vector(3.5f, 0));
    }
    void TearDown() override
    {
        ws.setStrategy(previous);
        ws.defState->resetDefensiveMarker();
        for (int n = 1; n <= 11; n++)
            mate(n)->setRole(n == 1 ? Role(GOA) : Role());
    }
    static Vector park(int n) { return Vector(-16, 30.0f + n); }
    void setRole(int n, int role) { mate(n)->setRole(Role(n, role)); }
    void setStrategic(int n, Vector p) { strategy->StDec.FM_StrategicPos[n] = p; }
};

Strategy* DefenseMarkerTest::strategy = nullptr;

struct RiskCase {
    const char* name;
    Vector opp;                 // opponent 7
    std::vector<Vector> cover;  // team-mates 3, 4, ... placed here
    Vector ball;
    float risk;
};

void PrintTo(const RiskCase& c, std::ostream* os) { *os << c.name; }

class RiskTest : public DefenseMarkerTest, public ::testing::WithParamInterface<RiskCase> {};

TEST_P(RiskTest, GoalDistanceCoverAndCoveringTeamMates)
{
    const RiskCase& c = GetParam();
    setBall(c.ball);
    place(opp(2), c.ball + Vector(0.5f, 0));
    place(opp(7), c.opp);
    for (size_t i = 0; i < c.cover.size(); i++)
        place(mate(6 + static_cast<int>(i)), c.cover[i]);
    marker.calculateRisk(opp(7));
    EXPECT_FLOAT_EQ(opp(7)->risk, c.risk);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RiskTest,
    ::testing::Values(
        // 5 m from our goal, nobody covering: 4 + 3 + 3.
        RiskCase{"nearOurGoalUncovered", {-10, 0}, {}, {5, 0}, 10},
        // 10 m from goal; one cover 3 m away: 3 + 1 + 2.
        RiskCase{"oneCoverThreeMetresAway", {-5, 0}, {{-8, 0}}, {5, 0}, 6},
        // Two covers, the nearer 2 m away: 3 + 0 + 1.
        RiskCase{"twoCovers", {-5, 0}, {{-7, 0}, {-12, 0}}, {5, 0}, 4},
        // Three covers: 3 + 0 + 0.
        RiskCase{"threeCovers", {-5, 0}, {{-7, 0}, {-12, 0}, {-13, 0.5f}}, {5, 0}, 3},
        // 25.5 m from goal, uncovered: 1 + 3 + 3.
        RiskCase{"farUncovered", {10, 5}, {}, {0, 0}, 7},
        // Within 2.75 m of the ball: the carrier's partner, no risk.
        RiskCase{"nearTheBall", {-5, 0}, {}, {-3, 0}, 0}),
    [](const ::testing::TestParamInfo<RiskCase>& info) { return std::string(info.param.name); });

TEST_F(DefenseMarkerTest, TheOpponentNearestTheBallHasNoRisk)
{
    place(opp(2), Vector(20, 20));
    place(opp(7), Vector(-5, 0));  // 8 m from the ball, nearest of them
    marker.calculateRisk(opp(7));
    EXPECT_FLOAT_EQ(opp(7)->risk, 0);
}

struct AvailabilityCase {
    const char* name;
    int role;
    Vector player, strategic;
    float availability;
};

void PrintTo(const AvailabilityCase& c, std::ostream* os) { *os << c.name; }

class AvailabilityTest : public DefenseMarkerTest, public ::testing::WithParamInterface<AvailabilityCase> {};

TEST_P(AvailabilityTest, ByRoleAndPlaceAgainstTheBallCarrier)
{
    const AvailabilityCase& c = GetParam();
    // The carrier, opponent 2, at (3.5, 0): 18.5 m from our goal.
    setRole(6, c.role);
    place(mate(6), c.player);
    setStrategic(6, c.strategic);
    marker.calculateAvailability(mate(6));
    EXPECT_NEAR(mate(6)->availability, c.availability, 1e-4f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AvailabilityTest,
    ::testing::Values(AvailabilityCase{"goalie", GOA, {-14, 0}, {-14, 0}, -1},
                      AvailabilityCase{"support", SUL, {-14, 0}, {-14, 0}, -1},
                      AvailabilityCase{"goalSideOfTheCarrier", DBL, {-2, 3}, {-2, 3}, 2},
                      AvailabilityCase{"backKeeperGoalSide", KEL, {0, 0}, {0, 0}, 2},
                      // Strategic place covers the carrier: 4 - (18.5 + 5) / 2.
                      AvailabilityCase{"coveringPlace", DFL, {7.5f, 0}, {0, 0}, 4 - 11.75f},
                      // Not covering: (6 - 3) / 3.
                      AvailabilityCase{"notCovering", DFR, {9.5f, 0}, {9.5f, 0}, 1}),
    [](const ::testing::TestParamInfo<AvailabilityCase>& info) { return std::string(info.param.name); });

TEST_F(DefenseMarkerTest, SidelineRuleWithMeOnTheCentreLineFindsNoTarget)
{
    setRole(5, SUL);
    ws.game->playmode = OPPONENT_KICKOFF;
    place(opp(7), Vector(16, 6));  // risky, ahead of me, on either side
    place(opp(8), Vector(16, -6));
    for (float y : {0.0f, 2.0f, -2.0f}) {
        placeMe(Vector(14, y));
        Player* t = marker.chooseTarget();
        if (y == 0) {
            EXPECT_EQ(t, nullptr);
        } else {
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t->unum, y > 0 ? 7 : 8) << y;
        }
    }
}

TEST_F(DefenseMarkerTest, SidelineRuleTakesTheRiskyOpponentNearestMySideLine)
{
    setRole(5, KEL);
    ws.game->playmode = PLAY_ON;
    ws.game->setPreviousMode(OPPONENT_KICKOFF);
    marker.setOPPKickoff = true;
    placeMe(Vector(-5, 3));
    place(opp(7), Vector(0, 6));
    place(opp(8), Vector(2, 8));   // nearer the line
    place(opp(9), Vector(-6, 9));  // behind me
    place(opp(10), Vector(3, -9)); // the other side
    Player* t = marker.chooseTarget();
    EXPECT_DOUBLE_EQ(marker.lastOPPKickoff, 100);
    EXPECT_FALSE(marker.setOPPKickoff);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->unum, 8);
    // A support keeps to its line for 30 s, then the main rule decides, where
    // a support is not available.
    setRole(5, SUR);
    ws.game->gameTime = 129;
    t = marker.chooseTarget();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->unum, 8);
    ws.game->gameTime = 131;
    EXPECT_EQ(marker.chooseTarget(), nullptr);
}

TEST_F(DefenseMarkerTest, MainRuleTakesTheRiskyOpponentIAmNearest)
{
    setRole(5, DBL);
    setBall(Vector(6, 0));
    place(opp(2), Vector(6.5f, 0));
    placeMe(Vector(-6, 3));
    setStrategic(5, Vector(-6, 3));
    place(opp(7), Vector(-3, 4));
    Player* t = marker.chooseTarget();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->unum, 7);
    // A team-mate nearer to it takes it when it is that risky.
    setRole(3, DBR);
    place(mate(3), Vector(-3.5f, 4));
    setStrategic(3, Vector(-3.5f, 4));
    EXPECT_EQ(marker.chooseTarget(), nullptr);
    // Not available myself (a defender ahead of the carrier, my place not
    // covering it): nobody.
    place(mate(3), park(3));
    placeMe(Vector(9.5f, 0));
    setStrategic(5, Vector(9.5f, 0));
    EXPECT_EQ(marker.chooseTarget(), nullptr);
}

TEST_F(DefenseMarkerTest, ActiveMarkerIsTheOneWhoCoversFartherThanMe)
{
    // Opponent 2 holds the ball at (3.5, 0) near the ball (3, 0).
    setRole(5, DBL);
    placeMe(Vector(0, 0));
    // In play-on I am the first covering player: never active.
    EXPECT_FALSE(marker.isActiveMarkerAvailable(opp(2)));
    // In another mode, being the first is enough.
    ws.game->playmode = OPPONENT_FREE_KICK;
    EXPECT_TRUE(marker.isActiveMarkerAvailable(opp(2)));
    EXPECT_EQ(marker.marcador, MY_UNUM);
    // In play-on a covering team-mate nearer the ball but farther from the
    // opponent leaves it to me.
    ws.game->playmode = PLAY_ON;
    place(opp(2), Vector(3, 0));
    setBall(Vector(2, 0.5f));
    place(mate(3), Vector(1.6f, 0.2f));
    placeMe(Vector(2.5f, 0));
    EXPECT_TRUE(marker.isActiveMarkerAvailable(opp(2)));
    // Shirt number 1 never presses.
    ws.unum = 1;
    EXPECT_FALSE(marker.isActiveMarkerAvailable(opp(2)));
    ws.unum = MY_UNUM;
    // Far from the ball: no.
    setBall(Vector(5, 0));
    EXPECT_FALSE(marker.isActiveMarkerAvailable(opp(2)));
    EXPECT_FALSE(marker.isActiveMarkerAvailable(nullptr));
}

struct PassiveCase {
    const char* name;
    int role;
    Vector ball, target;
    bool available;
};

void PrintTo(const PassiveCase& c, std::ostream* os) { *os << c.name; }

class PassiveTest : public DefenseMarkerTest, public ::testing::WithParamInterface<PassiveCase> {};

TEST_P(PassiveTest, MarkingBandByBallAndRole)
{
    const PassiveCase& c = GetParam();
    setRole(5, c.role);
    setBall(c.ball);
    placeMe(c.target + Vector(-3, 0));
    setStrategic(5, c.target + Vector(-3, 0));
    place(opp(7), c.target);
    EXPECT_EQ(marker.isPassiveMarkerAvailable(opp(7)), c.available);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PassiveTest,
    ::testing::Values(PassiveCase{"backInOurQuarter", DBL, {-2, 5}, {-8, 3}, true},
                      PassiveCase{"backBeyondOurQuarter", DBL, {-2, 5}, {-7, 3}, false},
                      PassiveCase{"frontInOurHalf", DFL, {-2, 5}, {-1, 3}, true},
                      PassiveCase{"backKeeperInTheirHalfBand", KEC, {2, 5}, {1, 3}, true},
                      PassiveCase{"backKeeperBehindTheBand", KEC, {2, 5}, {-1, 3}, false},
                      PassiveCase{"supportAnywhere", SUL, {2, 5}, {12, 3}, true},
                      PassiveCase{"otherRoleOnlyOurQuarter", ATT, {2, 5}, {-6, 3}, false},
                      PassiveCase{"ballAtOurGoalTargetSameSide", DBL, {-12, 1}, {-9, 3}, false},
                      PassiveCase{"ballAtOurGoalTargetOtherSide", DBL, {-12, -4}, {-9, 3}, true}),
    [](const ::testing::TestParamInfo<PassiveCase>& info) { return std::string(info.param.name); });

TEST_F(DefenseMarkerTest, PassiveMarkingNeedsATargetNearMeOutsideKickOffs)
{
    setRole(5, DFL);
    placeMe(Vector(-5, 0));
    setStrategic(5, Vector(-5, 0));
    EXPECT_FALSE(marker.isPassiveMarkerAvailable(nullptr));
    place(opp(7), Vector(-5, 8.9f));
    EXPECT_TRUE(marker.isPassiveMarkerAvailable(opp(7)));
    place(opp(7), Vector(-5, 9.1f));
    EXPECT_FALSE(marker.isPassiveMarkerAvailable(opp(7)));
    place(opp(7), Vector(-5, 3));
    ws.game->playmode = QUORVEL_KICKOFF;
    EXPECT_FALSE(marker.isPassiveMarkerAvailable(opp(7)));
    ws.game->playmode = PLAY_ON;
    ws.setLastQuorvelKickoff(80);  // shirt 5 keeps away 25 s after our kick-off
    EXPECT_FALSE(marker.isPassiveMarkerAvailable(opp(7)));
    setStrategic(5, Vector(-14, 0));  // in our goal area
    ws.setLastQuorvelKickoff(-100);
    EXPECT_FALSE(marker.isPassiveMarkerAvailable(opp(7)));
}

TEST_F(DefenseMarkerTest, ContinueMarkingEndsAndResetsTheRecord)
{
    setRole(5, DBL);
    ws.defState->passiveMarker = true;
    ws.defState->target = opp(7);
    EXPECT_FALSE(marker.continueMarking(nullptr, false));
    EXPECT_FALSE(ws.defState->isDefensiveMarker());

    // Active on opponent 2, the one nearest the ball, from its goal side.
    placeMe(Vector(-2, 0));
    setStrategic(5, Vector(-2, 0));
    EXPECT_TRUE(marker.continueMarking(opp(2), true));
    EXPECT_FALSE(marker.continueMarking(opp(7), true));  // no longer nearest the ball
    setStrategic(5, Vector(10, 5));
    placeMe(Vector(10, 5));
    EXPECT_FALSE(marker.continueMarking(opp(2), true));  // out of the marking zone

    // Passive on a risky opponent I cover.
    place(opp(7), Vector(-6, 4));
    placeMe(Vector(-10, 2));
    setStrategic(5, Vector(-10, 2));
    ws.defState->passiveMarker = true;
    EXPECT_TRUE(marker.continueMarking(opp(7), false));
    EXPECT_TRUE(ws.defState->isDefensiveMarker());
    // A team-mate reaches the ball first: it is ours.
    place(mate(3), Vector(2.5f, 0));
    EXPECT_FALSE(marker.continueMarking(opp(7), false));
    EXPECT_FALSE(ws.defState->isDefensiveMarker());
}

TEST_F(DefenseMarkerTest, PassivePointStepsTowardOurGoalAndTheCentreLine)
{
    // 10 m from our goal, 12 m from the ball: one metre each way.
    setBall(Vector(3.8f, 6));
    place(opp(7), Vector(-9, 8));
    placeMe(Vector(-10, 0));
    const float toBall = Vector(-9, 8).getDistanceTo(Vector(3.8f, 6));
    ASSERT_GT(toBall, 10);
    ASSERT_LT(toBall, 15);
    DefenseMarker::Move m = marker.markingMove(opp(7), false);
    EXPECT_NEAR(m.point.x, -10, 1e-4f);
    EXPECT_NEAR(m.point.y, 7, 1e-4f);
    EXPECT_NEAR(m.facing, (Vector(-9, 8) - ws.myGoalPos).getDirection(), 1e-3f);
    // Mirrored below the centre line.
    place(opp(7), Vector(-9, -8));
    setBall(Vector(3.8f, -6));
    m = marker.markingMove(opp(7), false);
    EXPECT_NEAR(m.point.y, -7, 1e-4f);

    // A stored point less than 1 m away is kept; (0, 0) never is.
    ws.defState->markingPoint = Vector(-10.5f, -7.5f);
    EXPECT_EQ(marker.markingMove(opp(7), false).point, Vector(-10.5f, -7.5f));
    ws.defState->markingPoint = Vector(-11.5f, -7);
    EXPECT_NEAR(marker.markingMove(opp(7), false).point.x, -10, 1e-4f);

    marker.executeBehavior(opp(7), false);
    EXPECT_TRUE(ws.defState->passiveMarker);
    EXPECT_FALSE(ws.defState->activeMarker);
    EXPECT_EQ(ws.defState->target, opp(7));
    EXPECT_NEAR(ws.defState->markingPoint.x, -10, 1e-4f);
}

TEST_F(DefenseMarkerTest, ActivePointIsGoalSideOfTheBallOrTheBallItself)
{
    placeMe(Vector(-5, 0));
    // The line from the opponent through the ball meets our goal mouth.
    place(opp(2), Vector(4, 1));
    setBall(Vector(2, 0.5f));
    DefenseMarker::Move m = marker.markingMove(opp(2), true);
    EXPECT_NEAR(m.point.x, 1, 1e-4f);
    EXPECT_NEAR(m.point.y, 0.25f, 1e-4f);
    EXPECT_NEAR(m.facing, (m.point - ws.myPos).getDirection(), 1e-3f);
    // Level with the ball (parallel to our goal line): the ball, or where it
    // rolls to when it moves.
    place(opp(2), Vector(2, 1.5f));
    m = marker.markingMove(opp(2), true);
    EXPECT_EQ(m.point, Vector(2, 0.5f));
    ws.ball->speed = Vector3f(1, 0, 0);
    ws.ball->finalPos = Vector3f(3, 0.5f, 0);
    m = marker.markingMove(opp(2), true);
    EXPECT_EQ(m.point, Vector(3, 0.5f));
    ws.ball->speed = Vector3f(0, 0, 0);
    // Near our goal line: the ball.
    setBall(Vector(-10, 0.5f));
    place(opp(2), Vector(-8, 1));
    EXPECT_EQ(marker.markingMove(opp(2), true).point, Vector(-10, 0.5f));

    marker.executeBehavior(opp(2), true);
    EXPECT_TRUE(ws.defState->activeMarker);
    EXPECT_EQ(ws.defState->target, opp(2));
    EXPECT_EQ(ws.defState->markingPoint, Vector(0, 0));
}

}  // namespace
