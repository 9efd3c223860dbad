#include <gtest/gtest.h>

#include "world/QueryWorld.h"

class Areas : public QueryWorld {};

TEST_F(Areas, GoalAreasIncludeTheirBounds)
{
    struct Row {
        Vector p;
        bool ours, theirs;
    } rows[] = {
        {Vector(-15, 3), true, false},       {Vector(-13.2f, -3), true, false},
        {Vector(-13.19f, 0), false, false},  {Vector(-15.3f, 1.0f), true, false},
        {Vector(-15.3f, 1.1f), false, false}, {Vector(-15.6f, -1.05f), true, false},
        {Vector(-14, 3.01f), false, false},  {Vector(13.2f, 3), false, true},
        {Vector(15, -3), false, true},       {Vector(15.3f, 0), false, false},
        {Vector(13.19f, 0), false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.p.toString());
        EXPECT_EQ(ws.isInsideGoalArea(r.p), r.ours);
        EXPECT_EQ(ws.isInsideTheirGoalArea(r.p), r.theirs);
    }
}

TEST_F(Areas, AtMostTwoTeamMatesMayEnterOurGoalArea)
{
    place(mate(1), Vector(-14.5f, 0));
    place(mate(2), Vector(-14, 2));
    EXPECT_TRUE(ws.canTeammateEnterOurGoalArea());
    placeMe(Vector(-13.5f, -1));
    EXPECT_FALSE(ws.canTeammateEnterOurGoalArea());

    setBall(Vector(-1, 0));
    EXPECT_TRUE(ws.isBallOnMySide());
    EXPECT_EQ(ws.quantAllysInGoalArea(), 3);
    EXPECT_TRUE(ws.isPlayerInInGoalArea(0, 2));
    EXPECT_FALSE(ws.isPlayerInInGoalArea(0, 3));
    EXPECT_FALSE(ws.isPlayerInInGoalArea(0, 12));
    setBall(Vector(0, 0));
    EXPECT_FALSE(ws.isBallOnMySide());
    EXPECT_EQ(ws.quantAllysInGoalArea(), 0);
}

TEST_F(Areas, CoverTriangles)
{
    struct Row {
        Vector opp, ally;
        bool field, goalie;
    } rows[] = {
        // Opponent in front of the goal: posts widened to y = -3.05 and 3.05;
        // the goalie's triangle then lies flat on the goal line.
        {Vector(-10, 0), Vector(-12, 0), true, false},
        {Vector(-10, 0), Vector(-14, 3), false, false},
        {Vector(-10, 0), Vector(-9, 0), false, false},
        {Vector(-10, 0), Vector(-15, 3.05f), true, true},
        // Far on the right (y > 3.05): the right corner replaces that post.
        {Vector(-10, 6), Vector(-14.5f, 8), true, false},
        {Vector(-10, 6), Vector(-13, 3), true, true},
        {Vector(-10, 6), Vector(-11, 9), false, false},
        // Far on the left.
        {Vector(-10, -6), Vector(-14.5f, -8), true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.opp.toString() + " " + r.ally.toString());
        EXPECT_EQ(ws.allyWithinTriangle(r.ally, r.opp), r.field);
        EXPECT_EQ(ws.allyWithinGoalieTriangle(r.ally, r.opp), r.goalie);
    }
}

TEST_F(Areas, WithinTheTrajectory)
{
    Vector a(0, 0), b(4, 0);
    struct Row {
        Vector c;
        bool within;
    } rows[] = {
        {Vector(2, 0.3f), true},   {Vector(2, -0.29f), true}, {Vector(2, 0.31f), false},
        {Vector(4.2f, 0), false},  {Vector(-0.1f, 0), false}, {Vector(0, 0.3f), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.c.toString());
        EXPECT_EQ(ws.withinTheTrajectory(a, b, r.c), r.within);
    }
    // A trajectory of no length: within 0.3 m of its one point.
    EXPECT_TRUE(ws.withinTheTrajectory(a, a, Vector(0, 0)));
    EXPECT_TRUE(ws.withinTheTrajectory(a, a, Vector(0.2f, 0)));
    EXPECT_FALSE(ws.withinTheTrajectory(a, a, Vector(0.4f, 0)));
}

TEST_F(Areas, GoodOrientationByZone)
{
    struct Row {
        Vector ball;
        float dir;
        bool good;
    } rows[] = {
        {Vector(4, 0), 0, false},      {Vector(4, 0), 10, false},   {Vector(11, 0), 0, false},
        {Vector(-10, -6), 10, true},   {Vector(-10, -6), 0, false}, {Vector(-10, -6), 35, false},
        {Vector(-10, 3), 30, true},    {Vector(-10, 3), -10, false},
        {Vector(0, 0), 49, true},      {Vector(0, 6), -20, true},   {Vector(0, 6), 20, false},
        {Vector(8, 0), 29, true},      {Vector(8, 2), -40, true},   {Vector(8, 2), 40, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.ball.toString() << " " << r.dir);
        Vector from = r.ball - Vector(Cos(r.dir), Sin(r.dir));
        EXPECT_EQ(ws.goodOrientation(from, r.ball, false), r.good);
    }
    // Facing the ball, my own heading counts.
    ws.cFacingBall = true;
    placeMe(Vector(-1, 0), 40);
    EXPECT_FALSE(ws.goodOrientation(Vector(-1, 0), Vector(-10, -6), true));
    ws.me->orientation = 10;
    EXPECT_TRUE(ws.goodOrientation(Vector(-1, 0), Vector(-10, -6), true));
    ws.cFacingBall = false;
}

TEST_F(Areas, TurnBeforeOurSetPieces)
{
    placeMe(Vector(0, 0), 0);
    setBall(Vector(0, 3));
    ws.game->playmode = PLAY_ON;
    EXPECT_FALSE(ws.shouldTurn(Vector(0, 10)));
    ws.game->playmode = QUORVEL_CORNER_KICK;
    EXPECT_TRUE(ws.shouldTurn(Vector(0, 10)));
    EXPECT_FALSE(ws.shouldTurn(Vector(10, 1)));
    setBall(Vector(0, 2));
    EXPECT_FALSE(ws.shouldTurn(Vector(0, 10)));
}

TEST_F(Areas, OpponentKickOffLasts25Seconds)
{
    ws.oppKickOff = false;
    ws.setLastOponentKickoff(100);
    EXPECT_EQ(ws.getLastOponentKickoff(), 100);
    ws.game->playmode = OPPONENT_KICKOFF;
    ws.gTime = 100;
    EXPECT_TRUE(ws.isOppKickOff());
    ws.game->playmode = PLAY_ON;
    ws.gTime = 124.9f;
    EXPECT_TRUE(ws.isOppKickOff());
    ws.gTime = 125;
    EXPECT_FALSE(ws.isOppKickOff());
    ws.gTime = 110;
    EXPECT_FALSE(ws.isOppKickOff());
    ws.game->playmode = OPPONENT_KICKOFF;
    EXPECT_TRUE(ws.isOppKickOff());
    ws.game->playmode = OPPONENT_KICKIN;
    EXPECT_FALSE(ws.isOppKickOff());
}

TEST_F(Areas, KickOffOfAnOstrevandaOpponent)
{
    ws.kvdKickOffFlag = false;
    ws.game->playmode = OPPONENT_KICKOFF;
    ws.setOpponentName("Rivals");
    EXPECT_FALSE(ws.isKVDKickOff());
    ws.setOpponentName("TeamOSTREVANDA3D");
    EXPECT_TRUE(ws.isKVDKickOff());
    // Another name leaves the flag as it is.
    ws.game->playmode = OPPONENT_KICKIN;
    ws.setOpponentName("Rivals");
    EXPECT_TRUE(ws.isKVDKickOff());
    ws.kvdKickOffFlag = false;
}

TEST_F(Areas, StoredKickOffTimesAndRoles)
{
    ws.setLastQuorvelKickoff(42);
    EXPECT_EQ(ws.getLastQuorvelKickoff(), 42);
    std::vector<std::pair<int, Role>> roles = {{3, Role(3, KEL)}};
    ws.setPlayerRoles(roles);
    ASSERT_EQ(ws.getPlayersRoles().size(), 1u);
    EXPECT_EQ(ws.getPlayersRoles()[0].second.getIdRole(), KEL);
}
