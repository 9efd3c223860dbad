#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "skills/AgentActions.h"
#include "skills/OmniWalkZMP.h"
#include "utils/communication/Actions.h"
#include "world/QueryWorld.h"

class Clearing : public QueryWorld {
protected:
    void expectNear(const Vector& actual, const Vector& expected, float tol = 1e-4f)
    {
        EXPECT_NEAR(actual.x, expected.x, tol) << actual.toString();
        EXPECT_NEAR(actual.y, expected.y, tol) << actual.toString();
    }
};

TEST_F(Clearing, AngleToAPointIsNotWrapped)
{
    placeMe(Vector(0, 0), 170);
    EXPECT_NEAR(ws.angleMeTo(Vector(Cos(-170), Sin(-170))), 340, 1e-3f);
    EXPECT_TRUE(ws.isInFrontOfMe(Vector(-1, 0.1f)));
    EXPECT_FALSE(ws.isInFrontOfMe(Vector(1, 0)));
}

TEST_F(Clearing, TargetsOutOfTheField)
{
    struct Row {
        Vector ball, t;
        bool out;
    } rows[] = {
        {Vector(0, 0), Vector(0, 8.5f), true},     {Vector(0, 0), Vector(-12, 3), true},
        {Vector(0, 0), Vector(16, 0), true},       {Vector(0, 0), Vector(10, 0), false},
        {Vector(0, 0), Vector(-13.5f, 6), true},   {Vector(0, 0), Vector(14, 2), true},
        {Vector(0, 0), Vector(15.3f, 1.5f), true}, {Vector(0, 0), Vector(15.3f, 0.5f), false},
        {Vector(0, 0), Vector(-12, 5), false},     {Vector(0, 0), Vector(0, -8), false},
        // Ball on a flank at our goal line: nothing nearer the middle.
        {Vector(-13.5f, 4), Vector(-5, 3), true},  {Vector(-13.5f, 4), Vector(-5, -4), true},
        {Vector(-13.5f, 4), Vector(-5, 5), false},
    };
    std::vector<Vector> all;
    int out = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ball.toString() + " " + r.t.toString());
        setBall(r.ball);
        EXPECT_EQ(ws.isTargetOutofField(r.t), r.out);
        if (r.ball == Vector(0, 0)) {
            all.push_back(r.t);
            out += r.out;
        }
    }
    setBall(Vector(0, 0));
    EXPECT_EQ(ws.numberOfTargetsOutOfField(all), out);
}

TEST_F(Clearing, CandidatesFanOutFromTheBallDirection)
{
    placeMe(Vector(1, 1), 0);
    setBall(Vector(1, 5));
    std::vector<Vector> c = ws.generateTargetCandidates(5, -60);
    ASSERT_EQ(c.size(), 7u);
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(k);
        expectNear(c[k], Vector(1 + 5 * Cos(30.0f + 20 * k), 1 + 5 * Sin(30.0f + 20 * k)));
    }
    // The start is truncated, the end is not: -59 to 41.
    EXPECT_EQ(ws.generateTargetCandidates(5, -59.5f).size(), 6u);
}

TEST_F(Clearing, ClearerTarget)
{
    placeMe(Vector(0, 0), 0);
    setBall(Vector(0.5f, 0));
    ws.game->playmode = OPPONENT_KICKIN;
    EXPECT_FALSE(ws.isClearerTarget(Vector(-12, 8)));
    ws.game->playmode = PLAY_ON;
    EXPECT_FALSE(ws.isClearerTarget(Vector(-12, 8)));
    place(opp(3), Vector(2, 1));
    EXPECT_TRUE(ws.isClearerTarget(Vector(-12, 8)));
    EXPECT_FALSE(ws.isClearerTarget(Vector(12, 8)));
    EXPECT_FALSE(ws.isClearerTarget(Vector(-5, 8)));
    setBall(Vector(14.5f, 0));
    EXPECT_TRUE(ws.isClearerTarget(Vector(0, 0)));
}

TEST_F(Clearing, ClearTargetNearTheirGoal)
{
    struct Row {
        Vector ball;
        Vector target;
    } rows[] = {
        {Vector(14.5f, 0.5f), Vector(15, 0)},
        {Vector(14.5f, 1.0f), Vector(14.5f, 0)},
        {Vector(14.5f, 2.5f), Vector(14, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ball.toString());
        setBall(r.ball);
        expectNear(ws.findClearTarget(Vector(15, 0)), r.target);
    }
}

TEST_F(Clearing, ClearTargetInFrontOfOurGoal)
{
    placeMe(Vector(-12.5f, 0.5f), 0);
    setBall(Vector(-13, 0.3f));
    expectNear(ws.findClearTarget(Vector(0, 0)), Vector(-12, -8));
    setBall(Vector(-13, 0.7f));
    expectNear(ws.findClearTarget(Vector(0, 0)), Vector(-12, 8));
    // An opponent on the ball's side keeps the target asked for.
    place(opp(9), Vector(-14, 2));
    expectNear(ws.findClearTarget(Vector(3, 4)), Vector(3, 4));
}

TEST_F(Clearing, ClearTargetPrefersTheBallDirectionWhenFree)
{
    placeMe(Vector(0, 0), 0);
    setBall(Vector(1, 0));
    // Nobody ahead: radius 6 straight along the ball's direction.
    expectNear(ws.findClearTarget(Vector(-5, 5)), Vector(6, 0));

    // An opponent 3 m ahead sets the radius to 4 and blocks that way; a
    // second one blocks the way 20 degrees to the left.
    place(opp(2), Vector(3, 0));
    place(opp(6), Vector(3.3f, 1.2f));
    expectNear(ws.findClearTarget(Vector(-5, 5)), Vector(4 * Cos(-20), 4 * Sin(-20)));
}

TEST_F(Clearing, NoUsableCandidateOnAFlank)
{
    // Ball in our corner: every candidate is out of the field.
    placeMe(Vector(-14.5f, 5), 180);
    setBall(Vector(-14, 5));
    expectNear(ws.findClearTarget(Vector(0, 0)), Vector(-7.5f, 10));
    setBall(Vector(-14, -5));
    placeMe(Vector(-14.5f, -5), 180);
    expectNear(ws.findClearTarget(Vector(0, 0)), Vector(-7.5f, -10));
}

TEST_F(Clearing, ClearFrontAndBack)
{
    placeMe(Vector(0, 0), 0);
    setBall(Vector(1, 0));
    float d = -1;
    EXPECT_TRUE(ws.isClearFront(1, d, -1));
    EXPECT_NEAR(d, std::hypot(-1.0f - 1, -9.5f), 1e-4f);

    // An opponent beside the ball straight ahead.
    place(opp(3), Vector(1.6f, 0));
    EXPECT_FALSE(ws.isClearFront(1, d, -1));
    EXPECT_NEAR(d, 0.6f, 1e-5f);
    // Someone more than 0.5 m nearer the ball than me: clear after all.
    setBall(Vector(2, 0));
    EXPECT_TRUE(ws.isClearFront(1, d, -1));

    // A team-mate ahead near the ball.
    place(opp(3), Vector(-5, -5));
    setBall(Vector(1, 0));
    place(mate(8), Vector(1.5f, 0.2f));
    EXPECT_FALSE(ws.isClearFront(1, d, -1));
    EXPECT_TRUE(ws.isClearFront(1, d, 0.3f));

    // Behind me.
    placeMe(Vector(2, 0), 0);
    place(opp(3), Vector(0.5f, 0));
    EXPECT_FALSE(ws.isClearBack(1, d));
    place(opp(3), Vector(0.5f, 0.9f));
    EXPECT_TRUE(ws.isClearBack(1, d));
}

TEST_F(Clearing, NoOpponentNearLeavesTheDistanceAt30)
{
    for (int n = 1; n <= 11; ++n)
        place(opp(n), Vector(-40, -40));
    float d = -1;
    EXPECT_TRUE(ws.isClearFront(1, d, -1));
    EXPECT_EQ(d, 30);
    EXPECT_TRUE(ws.isClearBack(1, d));
    EXPECT_EQ(d, 30);
}

TEST_F(Clearing, GoDirect)
{
    // Before their goal with the ball between me and the goal mouth.
    placeMe(Vector(13, 0.2f), 0);
    setBall(Vector(14, 0.2f));
    EXPECT_TRUE(ws.shouldGoDirect());

    // The ball behind me in midfield.
    placeMe(Vector(0, 0), 0);
    setBall(Vector(-1, 3));
    EXPECT_FALSE(ws.shouldGoDirect());

    // The ball ahead in our half.
    setBall(Vector(-3 + 5.0f, 0.5f));
    placeMe(Vector(-3, 0), 0);
    EXPECT_TRUE(ws.shouldGoDirect());
}

TEST_F(Clearing, AvoidOpponent)
{
    placeMe(Vector(0, 0), 0);
    ws.ball->finalPos = Vector3f(5, 0, 0);
    struct Row {
        Vector opp;
        bool fallen;
        bool avoid;
    } rows[] = {
        {Vector(2, 0.5f), false, true},    // on the way
        {Vector(6, 0), false, false},      // beyond the ball
        {Vector(1, 3), false, false},      // off to the side
        {Vector(-8, 8), true, true},       // fallen, far from the path
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.opp.toString());
        if (r.fallen)
            placeFallen(opp(5), r.opp);
        else
            place(opp(5), r.opp);
        EXPECT_EQ(ws.shouldAvoidOpp(opp(5)), r.avoid);
    }
    EXPECT_FALSE(ws.shouldAvoidOpp(nullptr));
}

TEST_F(Clearing, ClosestAlly)
{
    // Walking: the action library leaves me free.
    AgentActions& actions = Singleton<AgentActions>::getInstance();
    actions.currBehavior = actions.prevBehavior = actions.bOmniWalkZmp;
    placeMe(Vector(0, 0), 180);
    // Nobody faces (10, 0) within 10 degrees.
    EXPECT_EQ(ws.closestAllyTo(Vector(10, 0), 10, false), 0);
    // Without the angle test, I am nearest.
    EXPECT_EQ(ws.closestAllyTo(Vector(10, 0), -1, false), MY_UNUM);

    place(mate(8), Vector(6, -3));
    place(mate(3), Vector(4, -3));
    EXPECT_EQ(ws.closestAllyTo(Vector(5, -3), -1, false), 3);
    mate(3)->head.position.z = 0.2f;
    EXPECT_EQ(ws.closestAllyTo(Vector(5, -3), -1, false), 8);
    // Turned away from the point.
    mate(8)->orientation = 0;
    EXPECT_EQ(ws.closestAllyTo(Vector(5, -3), 75, true), 0);
    mate(8)->orientation = 180;
    EXPECT_EQ(ws.closestAllyTo(Vector(5, -3), 75, true), 8);

    // A fallen agent is not free: the get-up supervisor takes over.
    Singleton<AgentState>::getInstance().mFallen = true;
    EXPECT_EQ(ws.closestAllyTo(Vector(1, 0), -1, false), 8);
}

TEST_F(Clearing, PassBlocking)
{
    ws.setCurrentPassBlocker(MY_UNUM);
    ws.lastActiveWinner = 3;
    place(mate(3), Vector(-2, 0));
    EXPECT_TRUE(ws.shouldPassBlock());

    ws.game->playmode = PASS_QUORVEL;
    EXPECT_FALSE(ws.shouldPassBlock());
    ws.game->playmode = PLAY_ON;

    ws.lastActiveWinner = 0;
    EXPECT_FALSE(ws.shouldPassBlock());
    ws.lastActiveWinner = 3;

    place(mate(3), Vector(-0.9f, 0));
    EXPECT_FALSE(ws.shouldPassBlock());
    place(mate(3), Vector(-2, 0));

    setBall(Vector(-3.5f, 0));
    EXPECT_FALSE(ws.shouldPassBlock());
    setBall(Vector(0, 0));

    ws.me->setRole(Role(GOA));
    EXPECT_FALSE(ws.shouldPassBlock());
    ws.me->setRole(Role());

    ws.setCurrentPassBlocker(4);
    EXPECT_FALSE(ws.shouldPassBlock());
}
