#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "strategy/BehaveOffensiveMarker.h"
#include "world/QueryWorld.h"

namespace {

// I am number 5 on the left, a keeper; team-mate 2, the attacker, holds the
// ball at (5, 0).
// Everybody else is parked far from the ball.
class OffensiveMarkerTest : public QueryWorld {
protected:
    BehaveOffensiveMarker marker{&ws, nullptr};

    void SetUp() override
    {
        QueryWorld::SetUp();
        for (int n = 1; n <= 11; n++) {
            place(mate(n), Vector(-14, -9.5f + n));
            place(opp(n), Vector(14, -9.5f + n));
            mate(n)->setRole(Role(n, n == 1 ? GOA : KEC));
        }
        setBall(Vector(5, 0));
        place(mate(2), Vector(4.6f, 0));
        mate(2)->setRole(Role(2, ATT));
        ws.closeTeam = 2;
        ws.closeOpp = 11;
        placeMe(Vector(5, 3));
    }
    void TearDown() override
    {
        for (int n = 1; n <= 11; n++)
            mate(n)->setRole(n == 1 ? Role(GOA) : Role());
    }
};

TEST_F(OffensiveMarkerTest, PairsMeWithTheOpponentNearMeAndKeepsIt)
{
    place(opp(7), Vector(6, 4));  // 4.1 m from the ball, ahead of it
    ASSERT_TRUE(marker.isAvailable());
    ASSERT_NE(marker.getOpponentPlayer(), nullptr);
    EXPECT_EQ(marker.getOpponentPlayer()->unum, 7);
    // Kept while available, even when it leaves the radius.
    place(opp(7), Vector(12, 4));
    EXPECT_TRUE(marker.isAvailable());
    EXPECT_EQ(marker.getOpponentPlayer()->unum, 7);

    // Our goal line 4 m away, or another play mode: unavailable and cleared.
    for (const std::pair<int, Vector> c : {std::make_pair(PLAY_ON, Vector(-11.1f, 0)),
                                            std::make_pair(OPPONENT_FREE_KICK, Vector(5, 0))}) {
        marker.setOpponentPlayer(opp(7));
        ws.game->playmode = c.first;
        setBall(c.second);
        place(mate(2), c.second - Vector(0.4f, 0));
        placeMe(c.second + Vector(0, 3));
        EXPECT_FALSE(marker.isAvailable()) << c.first;
        EXPECT_EQ(marker.getOpponentPlayer(), nullptr);
    }
}

struct AllyCase {
    const char* name;
    int role;
    bool attacker;
    Vector ball, me;
    bool enters;
};

void PrintTo(const AllyCase& c, std::ostream* os) { *os << c.name; }

class AllyTest : public OffensiveMarkerTest, public ::testing::WithParamInterface<AllyCase> {};

TEST_P(AllyTest, KeepersAndSupportsNearTheBall)
{
    const AllyCase& c = GetParam();
    Role r(MY_UNUM, c.role);
    if (c.attacker)
        r.setIdAlternativeRole(ATT);
    ws.me->setRole(r);
    setBall(c.ball);
    placeMe(c.me);
    BehaveOffensiveMarker::Unum_Player allys;
    marker.fillAllysVector(&allys);
    EXPECT_EQ(allys.count(MY_UNUM) == 1, c.enters);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AllyTest,
    ::testing::Values(AllyCase{"keeperBehindTheBall", KEL, false, {5, 0}, {2.1f, 1}, true},
                      AllyCase{"keeperTooFarBehind", KEL, false, {5, 0}, {1.9f, 1}, false},
                      AllyCase{"keeperOutOfRadius", KEC, false, {5, 0}, {5, 5}, false},
                      AllyCase{"supportBallBeyondThree", SUL, false, {3.1f, 0}, {4, 1}, true},
                      AllyCase{"supportBallBeforeThree", SUL, false, {2.9f, 0}, {4, 1}, false},
                      AllyCase{"supportBehindTheBall", SUR, false, {5, 0}, {4.5f, 1}, false},
                      AllyCase{"attackerNever", KEC, true, {5, 0}, {6, 1}, false},
                      AllyCase{"defenderNever", DFL, false, {5, 0}, {6, 1}, false}),
    [](const ::testing::TestParamInfo<AllyCase>& info) { return std::string(info.param.name); });

TEST_F(OffensiveMarkerTest, OpponentsBetweenTheRadiiAndFartherWhenAhead)
{
    struct Case {
        Vector at;  // opponent 7, the ball at (5, 0)
        bool enters;
    };
    for (const Case c : {Case{{3.5f, 0}, false}, Case{{3.4f, 0}, true}, Case{{0.1f, 0}, true},
                         Case{{0, 0}, false}, Case{{7.9f, 0}, false}, Case{{8.1f, 0}, true},
                         Case{{5, 4.9f}, true}, Case{{5, 1.5f}, false}}) {
        place(opp(7), c.at);
        BehaveOffensiveMarker::Unum_Player opponents;
        marker.fillOpponentsVector(&opponents);
        EXPECT_EQ(opponents.count(7) == 1, c.enters) << c.at.x << " " << c.at.y;
    }
}

TEST_F(OffensiveMarkerTest, PairingByWholeMetresLowerShirtFirst)
{
    BehaveOffensiveMarker::Unum_Player allys = {{3, Vector(0, 0)}, {6, Vector(0, 0.5f)}};
    // Opponent 9 at 2.4 m and 8 at 2.9 m count as equally near: 8 goes to 3.
    BehaveOffensiveMarker::Unum_Player opponents = {{8, Vector(2.9f, 0)}, {9, Vector(2.4f, 0)}};
    BehaveOffensiveMarker::Ally_Opponent pairs = marker.analyseAllyForOpponent(&allys, &opponents);
    EXPECT_EQ(pairs[3], 8);
    EXPECT_EQ(pairs[6], 9);
    EXPECT_TRUE(opponents.empty());
    // One opponent for two: the higher shirt number gets none.
    allys = {{4, Vector(0, 0)}, {2, Vector(5, 0)}};
    opponents = {{10, Vector(1, 0)}};
    pairs = marker.analyseAllyForOpponent(&allys, &opponents);
    EXPECT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[2], 10);
}

TEST_F(OffensiveMarkerTest, NotPairedIsUnavailable)
{
    // Team-mate 3, a keeper of lower shirt number, stands nearer the only opponent.
    place(mate(3), Vector(6, 3.5f));
    place(opp(7), Vector(6, 4));
    marker.setOpponentPlayer(nullptr);
    EXPECT_FALSE(marker.isAvailable());
    EXPECT_EQ(marker.getOpponentPlayer(), nullptr);
}

TEST_F(OffensiveMarkerTest, StandsOnTheLineFacingAcrossIt)
{
    // Without an opponent nothing happens.
    const Vector before = marker.getInterceptation();
    marker.executeBehavior();
    EXPECT_EQ(marker.getInterceptation(), before);
    EXPECT_EQ(marker.getOutOfRangeCount(), 0);

    // Opponent 1.5 m from the ball: three quarters of the way from the ball
    // to it, facing 90 degrees across (the target angle is small).
    place(opp(7), Vector(6.5f, 0));
    marker.setOpponentPlayer(opp(7));
    marker.executeBehavior();
    EXPECT_NEAR(marker.getInterceptation().x, 6.125f, 1e-4f);
    EXPECT_NEAR(marker.facing, 90, 1e-3f);
    // 4 m from the reference point: 45 degrees; in their half and more than
    // 20 degrees off their goal, the midpoint.
    place(opp(7), Vector(5, 4));
    marker.executeBehavior();
    EXPECT_NEAR(marker.getInterceptation().x, 5, 1e-4f);
    EXPECT_NEAR(marker.getInterceptation().y, 2, 1e-4f);
    EXPECT_NEAR(marker.facing, 135, 1e-3f);
    // A set reference point replaces the ball: 2 m away, less than 20
    // degrees off their goal.
    Vector t(3, 4);
    marker.setTarget(t);
    marker.executeBehavior();
    EXPECT_NEAR(marker.getInterceptation().x, 4.5f, 1e-4f);
    EXPECT_NEAR(marker.getInterceptation().y, 4, 1e-4f);
    EXPECT_NEAR(marker.facing, 45, 1e-3f);

    // More than 150 executions out of range end the pairing.
    place(opp(7), Vector(12, 4));
    for (int i = 0; i < 150; i++)
        marker.executeBehavior();
    EXPECT_NE(marker.getOpponentPlayer(), nullptr);
    marker.executeBehavior();
    EXPECT_EQ(marker.getOpponentPlayer(), nullptr);
}

}  // namespace
