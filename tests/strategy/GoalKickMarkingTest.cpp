#include <gtest/gtest.h>

#include <cmath>

#include "strategy/GoalKickMarking.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/QueryWorld.h"

namespace {

// We play on the left: our marking point is (-14.9, -5.42), theirs (11.5, -5.42).
class GoalKickMarkingTest : public QueryWorld {
protected:
    const Vector ourPoint{-14.9f, -5.42f};
    const Vector theirPoint{11.5f, -5.42f};

    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.me->setRole(Role(DBL));
        ws.game->playmode = QUORVEL_GOAL_KICK;
    }
    void TearDown() override { ws.setSide("left"); }

    void holds(int n, int role, Vector at)
    {
        mate(n)->setRole(Role(n, role));
        place(mate(n), at);
    }
};

TEST_F(GoalKickMarkingTest, NearestHolderMarksUntilTwentyFiveSecondsOfPlay)
{
    placeMe(ourPoint + Vector(2, 0));
    holds(4, DFL, ourPoint + Vector(3, 0));
    holds(7, KEL, ourPoint + Vector(4, 0));
    GoalKickMarking marking(&ws, nullptr);
    ws.gTime = 100;
    EXPECT_TRUE(marking.isOurGoalKickMarkingAvailable());
    EXPECT_DOUBLE_EQ(marking.lastOurGoalKick, 100);
    EXPECT_FALSE(marking.isTheirGoalKickMarkingAvailable());

    // Once on, play on skips the role and nearest tests.
    ws.game->playmode = PLAY_ON;
    holds(4, DFL, ourPoint + Vector(1.5f, 0));
    ws.me->setRole(Role(ATT));
    ws.gTime = 125;
    EXPECT_TRUE(marking.isOurGoalKickMarkingAvailable());
    ws.gTime = 125.1f;
    EXPECT_FALSE(marking.isOurGoalKickMarkingAvailable());
    EXPECT_FALSE(marking.setOurGoalKick);
}

TEST_F(GoalKickMarkingTest, ATeamMateOnThePointEndsIt)
{
    placeMe(ourPoint + Vector(2, 0));
    GoalKickMarking marking(&ws, nullptr);
    ASSERT_TRUE(marking.isOurGoalKickMarkingAvailable());
    // Exactly 1 m away does not count; nearer does, the goalie never.
    holds(3, NO_ROLE, ourPoint + Vector(0, 1));
    holds(1, GOA, ourPoint);
    EXPECT_TRUE(marking.isOurGoalKickMarkingAvailable());
    holds(3, NO_ROLE, ourPoint + Vector(0, 0.99f));
    EXPECT_FALSE(marking.isOurGoalKickMarkingAvailable());
    EXPECT_FALSE(marking.setOurGoalKick);
}

TEST_F(GoalKickMarkingTest, HoldersAndAbsentRoles)
{
    struct Case {
        const char* name;
        int myRole;
        bool dfl, kel;     // whether somebody holds DFL at 3 m and KEL at 1.5 m
        bool marks;
    };
    const Case cases[] = {
        {"nearer KEL holder marks instead", DBL, true, true, false},
        {"nobody else holds a role: infinitely far", DBL, false, false, true},
        {"one absent, the other nearer", DBL, false, true, false},
        {"the goalie's role is not in the table", GOA, false, false, false},
        {"an attacker is not in the table", ATT, false, false, false},
    };
    for (const Case& c : cases) {
        placeMe(ourPoint + Vector(2, 0));
        ws.me->setRole(Role(c.myRole));
        holds(4, c.dfl ? DFL : NO_ROLE, ourPoint + Vector(3, 0));
        holds(7, c.kel ? KEL : NO_ROLE, ourPoint + Vector(1.5f, 0));
        GoalKickMarking marking(&ws, nullptr);
        EXPECT_EQ(marking.isOurGoalKickMarkingAvailable(), c.marks) << c.name;
    }
}

TEST_F(GoalKickMarkingTest, TiedHoldersBothMayMark)
{
    placeMe(ourPoint + Vector(2, 0));
    holds(4, DFL, ourPoint + Vector(0, 2));
    GoalKickMarking marking(&ws, nullptr);
    EXPECT_TRUE(marking.isOurGoalKickMarkingAvailable());
}

TEST_F(GoalKickMarkingTest, TheirGoalKickRankingAlsoInPlayOnButStartsOnlyInTheirGoalKick)
{
    ws.me->setRole(Role(SUL));
    placeMe(theirPoint + Vector(-2, 0));
    holds(7, KEL, theirPoint + Vector(-1.5f, 0));
    GoalKickMarking marking(&ws, nullptr);
    ws.game->playmode = PLAY_ON;
    EXPECT_FALSE(marking.isTheirGoalKickMarkingAvailable());
    holds(7, KEL, theirPoint + Vector(-5, 0));
    EXPECT_FALSE(marking.isTheirGoalKickMarkingAvailable());
    ws.game->playmode = OPPONENT_GOAL_KICK;
    ws.gTime = 10;
    EXPECT_TRUE(marking.isTheirGoalKickMarkingAvailable());
    EXPECT_FALSE(marking.isOurGoalKickMarkingAvailable());
    ws.game->playmode = PLAY_ON;
    ws.gTime = 36;
    EXPECT_FALSE(marking.isTheirGoalKickMarkingAvailable());
}

TEST_F(GoalKickMarkingTest, FixedPointThenThroughTheBall)
{
    struct Case {
        const char* side;
        int playmode;
        bool ours;
        GoalKickMarking::Move::Kind kind;
        Vector target, faced;
    };
    const Case cases[] = {
        {"left", QUORVEL_GOAL_KICK, true, GoalKickMarking::Move::TO_POINT, {-14.9f, -5.42f}, {-13.2f, -2.95f}},
        {"right", QUORVEL_GOAL_KICK, true, GoalKickMarking::Move::TO_POINT, {-14.9f, 5.42f}, {-13.2f, 2.95f}},
        {"left", OPPONENT_GOAL_KICK, false, GoalKickMarking::Move::TO_POINT, {11.5f, -5.42f}, {13.2f, -2.95f}},
        {"right", OPPONENT_GOAL_KICK, false, GoalKickMarking::Move::TO_POINT, {11.5f, 5.42f}, {13.2f, 2.95f}},
        // One metre beyond the ball on my line through it.
        {"left", PLAY_ON, true, GoalKickMarking::Move::THROUGH_BALL, {3, 4}, {0, 0}},
        {"left", PLAY_ON, false, GoalKickMarking::Move::THROUGH_BALL, {3, 4}, {0, 0}},
        {"left", OPPONENT_GOAL_KICK, true, GoalKickMarking::Move::NONE, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        ws.setSide(c.side);
        ws.game->playmode = c.playmode;
        placeMe(Vector(0, 0));
        setBall(Vector(2.4f, 3.2f));
        GoalKickMarking marking(&ws, nullptr);
        marking.updatePoints();
        const GoalKickMarking::Move m = c.ours ? marking.ourMove() : marking.theirMove();
        EXPECT_EQ(m.kind, c.kind) << c.side << " " << c.playmode;
        EXPECT_NEAR(m.target.x, c.target.x, 1e-4) << c.side << " " << c.playmode;
        EXPECT_NEAR(m.target.y, c.target.y, 1e-4) << c.side << " " << c.playmode;
        if (m.kind == GoalKickMarking::Move::TO_POINT) {
            EXPECT_NEAR(m.facing, (c.faced - c.target).getDirection(), 1e-3) << c.side << " " << c.playmode;
        }
    }
}

} // namespace
