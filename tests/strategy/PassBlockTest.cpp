#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "strategy/PassBlock.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/QueryWorld.h"

namespace {

class PassBlockTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.myGoalPos = Vector(-15, 0);
        ws.theirGoalPos = Vector(15, 0);
        ws.game->playmode = PASS_OPPONENT;
        ws.me->setRole(Role(DFL));
    }
};

// Who stands where around a ball at (0, 0) and which rank I get (-1: none).
struct RankCase {
    const char* name;
    int playmode;
    Vector me;
    std::vector<std::pair<int, Vector> > mates;
    int rank;
};

void PrintTo(const RankCase& c, std::ostream* os) { *os << c.name; }

class PassBlockRank : public PassBlockTest, public ::testing::WithParamInterface<RankCase> {};

TEST_P(PassBlockRank, NearerMatesBetweenGoalAndBallGoFirst)
{
    const RankCase& c = GetParam();
    ws.game->playmode = c.playmode;
    placeMe(c.me);
    for (const auto& m : c.mates)
        place(mate(m.first), m.second);
    PassBlock block(&ws, nullptr);
    EXPECT_EQ(block.isAvailable(), c.rank >= 0);
    EXPECT_EQ(block.activePass, c.rank >= 0);
    if (c.rank >= 0) {
        EXPECT_EQ(block.blockOrder, c.rank);
    }
}

// Parked team-mates stand at y = 9.5, x = -11 to 0 (farther from the ball than
// the players placed here).
INSTANTIATE_TEST_SUITE_P(
    Cases, PassBlockRank,
    ::testing::Values(
        RankCase{"aloneFirst", PASS_OPPONENT, {-3, 0}, {}, 0},
        RankCase{"theirGoalKickToo", OPPONENT_GOAL_KICK, {-3, 0}, {}, 0},
        RankCase{"theirFreeKickNot", OPPONENT_FREE_KICK, {-3, 0}, {}, -1},
        RankCase{"levelWithTheBallIsNotBetween", PASS_OPPONENT, {0, 2}, {}, -1},
        RankCase{"twoNearerBlockAtRankTwo", PASS_OPPONENT, {-3, 0}, {{2, {-1, 0}}, {3, {-2, 0}}}, 2},
        RankCase{"threeNearerLeaveNoPlace", PASS_OPPONENT, {-3, 0}, {{2, {-1, 0}}, {3, {-2, 0}}, {4, {-2, 1}}}, -1},
        RankCase{"nearerButBeyondTheBallDoNotCount", PASS_OPPONENT, {-3, 0},
                 {{2, {1, 0}}, {3, {2, 0}}, {4, {1, 1}}}, 0},
        // Everybody is nearer than me; only two of them between: I come last.
        RankCase{"lastOfTheListStillBlocks", PASS_OPPONENT, {-8, 0},
                 {{2, {-1, 0}}, {3, {1, 0}}, {4, {-2, 0}}, {6, {1, 1}}, {7, {1, -1}}, {8, {2, 0}}, {9, {2, 1}},
                  {10, {2, -1}}, {11, {3, 0}}, {1, {3, 1}}}, 2}),
    [](const ::testing::TestParamInfo<RankCase>& info) { return std::string(info.param.name); });

TEST_F(PassBlockTest, GoaliesNeverBlock)
{
    placeMe(Vector(-3, 0));
    Role substitute(DBL);
    substitute.setIdAlternativeRole(GOS);
    for (const Role& role : {Role(GOA), substitute}) {
        ws.me->setRole(role);
        PassBlock block(&ws, nullptr);
        EXPECT_FALSE(block.isAvailable()) << role.getIdRole();
    }
}

TEST_F(PassBlockTest, KeepsItsRankUntilTheModeEnds)
{
    placeMe(Vector(-3, 0));
    PassBlock block(&ws, nullptr);
    ASSERT_TRUE(block.isAvailable());
    EXPECT_EQ(block.blockOrder, 0);
    // Three team-mates come nearer: the rank stays.
    place(mate(2), Vector(-1, 0));
    place(mate(3), Vector(-2, 0));
    place(mate(4), Vector(-2, 1));
    EXPECT_TRUE(block.isAvailable());
    EXPECT_EQ(block.blockOrder, 0);
    // Play on clears it; in their next pass the rank is taken afresh.
    ws.game->playmode = PLAY_ON;
    EXPECT_FALSE(block.isAvailable());
    EXPECT_FALSE(block.activePass);
    ws.game->playmode = PASS_OPPONENT;
    EXPECT_FALSE(block.isAvailable());
}

TEST_F(PassBlockTest, PointsOnTheLineOfPlay)
{
    struct Case {
        int playmode;
        Vector kicker, ball;
        Vector points[3];
    };
    const Case cases[] = {
        // 1.3 m beyond the ball on the kicker's line, 0.3 m to either side.
        {PASS_OPPONENT, {1, 0}, {2, 0}, {{3.3f, 0}, {3.3f, 0.3f}, {3.3f, -0.3f}}},
        {PASS_OPPONENT, {2, 1}, {2, 0}, {{2, -1.3f}, {2.3f, -1.3f}, {1.7f, -1.3f}}},
        // 2 m in front of their goal towards the ball; the frame faces -x.
        {OPPONENT_GOAL_KICK, {14, 5}, {10, 0}, {{13, 0}, {13, -0.3f}, {13, 0.3f}}},
    };
    for (const Case& c : cases) {
        ws.game->playmode = c.playmode;
        for (int n = 1; n <= WorldState::MAX_UNUM; n++)
            place(opp(n), Vector(n == 3 ? c.kicker : Vector(-12.0f + n, -9.5f)));
        setBall(c.ball);
        PassBlock block(&ws, nullptr);
        for (int r = 0; r < 3; r++) {
            const Vector p = block.blockingPoint(r);
            EXPECT_NEAR(p.x, c.points[r].x, 1e-4) << c.playmode << " rank " << r;
            EXPECT_NEAR(p.y, c.points[r].y, 1e-4) << c.playmode << " rank " << r;
        }
    }
}

} // namespace
