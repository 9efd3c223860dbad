#include <gtest/gtest.h>

#include <cmath>

#include "world/QueryWorld.h"

class Possession : public QueryWorld {
protected:
    // A player at d metres from the ball, facing it from direction dir
    // (degrees, seen from the ball).
    void facingBall(Player* p, float d, float dir)
    {
        Vector at = ws.ballPos + Vector(d * Cos(dir), d * Sin(dir));
        place(p, at);
        p->orientation = normalizeAngle(dir + 180);
    }
};

TEST_F(Possession, WhoHasTheBall)
{
    struct Row {
        float mateDist;
        float oppDist;
        WorldState::WithBall answer;
        int playWB;
    } rows[] = {
        {2, 2, WorldState::NOBODY, 0},   {0.8f, 0.8f, WorldState::NOBODY, 0},
        {0.5f, 3, WorldState::ALLY, 3},  {1.5f, 2.5f, WorldState::NOBODY, 0},
        {2.2f, 0.7f, WorldState::OPP, 4}, {3, 2.5f, WorldState::NOBODY, 0},
    };
    ws.closeTeam = 3;
    ws.closeOpp = 4;
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.mateDist << " / " << r.oppDist);
        ws.playWB = 0;
        ws.lastTeamWithBall = 0;
        place(mate(3), Vector(-r.mateDist, 0));
        place(opp(4), Vector(r.oppDist, 0));
        EXPECT_EQ(ws.playerWithBall(), r.answer);
        EXPECT_EQ(ws.playWB, r.playWB);
        EXPECT_EQ(ws.lastTeamWithBall, r.answer == WorldState::NOBODY ? 0 : int(r.answer));
    }
}

TEST_F(Possession, AllyWithBallFallsBackOnTheLastSideFound)
{
    ws.closeTeam = 3;
    ws.closeOpp = 4;
    place(mate(3), Vector(-0.7f, 0));
    place(opp(4), Vector(2.5f, 0));
    EXPECT_EQ(ws.allyWithBall(), WorldState::ALLY);
    place(mate(3), Vector(-3, 0));
    EXPECT_EQ(ws.allyWithBall(), WorldState::ALLY);
}

TEST_F(Possession, BallLimitByDistance)
{
    // Player 2 on the centre line with the ball straight ahead of it along
    // x, turned off that line by the given angle; their goal lies along x
    // too, at the same or a similar distance.
    struct Row {
        Vector player;
        float ballX;
        float orientation;
        int carrier;
    } rows[] = {
        {Vector(13, 0), 15, 75, 2},     // 2 m: 80
        {Vector(13, 0), 15.01f, 75, 0}, // 2.01 m: 70
        {Vector(-14, 0), 16, 19, 2},    // 30 m: 20
        {Vector(-14, 0), 16, 21, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.ballX << " / " << r.orientation);
        place(mate(2), r.player);
        mate(2)->orientation = r.orientation;
        setBall(Vector(r.ballX, 0));
        ws.updateFastestCarrier();
        EXPECT_EQ(ws.fastestCarrier, r.carrier);
    }
}

TEST_F(Possession, UnalignedCandidatesAloneGiveNoCarrier)
{
    // Facing the ball but 60 degrees off their goal.
    facingBall(mate(6), 1, 240);
    ws.updateFastestCarrier();
    EXPECT_EQ(ws.fastestCarrier, 0);
    EXPECT_EQ(ws.fastestCarrier2, 0);
}

TEST_F(Possession, NearUnalignedPlayerReplacesTheCarrier)
{
    facingBall(mate(2), 1.2f, 180);  // aligned
    facingBall(mate(3), 0.5f, -90);  // faces the ball, not their goal
    struct Row {
        float closeOppDist;
        int carrier, carrier2;
    } rows[] = {{1.0f, 3, 2}, {1.5f, 2, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.closeOppDist);
        ws.closeOppDist = r.closeOppDist;
        ws.updateFastestCarrier();
        EXPECT_EQ(ws.fastestCarrier, r.carrier);
        EXPECT_EQ(ws.fastestCarrier2, r.carrier2);
    }
}

TEST_F(Possession, EqualCarriersGoByShirtNumber)
{
    place(mate(7), Vector(-0.8f, 0.6f));
    mate(7)->orientation = (ws.ballPos - Vector(-0.8f, 0.6f)).getDirection();
    place(mate(4), Vector(-0.8f, -0.6f));
    mate(4)->orientation = (ws.ballPos - Vector(-0.8f, -0.6f)).getDirection();
    ws.updateFastestCarrier();
    EXPECT_EQ(ws.fastestCarrier, 4);
    EXPECT_EQ(ws.fastestCarrier2, 7);

    // A fallen candidate is passed over.
    mate(4)->head.position.z = 0.2f;
    ws.updateFastestCarrier();
    EXPECT_EQ(ws.fastestCarrier, 7);
    EXPECT_EQ(ws.fastestCarrier2, 0);
}

TEST_F(Possession, BlockerDirectOrBySearch)
{
    ws.closeTeam = 3;
    ws.closeTeam2 = 6;
    ws.closeTeamDist = 1;
    ws.closeTeamDist2 = 2;
    place(mate(3), Vector(-1, 0));
    place(mate(6), Vector(-2, 0.1f));  // behind 3 on the way to the ball
    place(mate(8), Vector(0, -3));

    struct Row {
        float closeOppDist;
        int blocker, blocker2;
    } rows[] = {
        {4.5f, 3, 0},  // 3.5 ahead: the nearest directly
        {5.5f, 3, 6},  // both more than 3 ahead
        {4, 3, 8},     // exactly 3: searched; 6 is blocked by 3
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.closeOppDist);
        ws.closeOppDist = r.closeOppDist;
        ws.updateFastestBlocker();
        EXPECT_EQ(ws.fastestBlocker, r.blocker);
        EXPECT_EQ(ws.fastestBlocker2, r.blocker2);
    }
}

TEST_F(Possession, FreeWayToTheBall)
{
    place(mate(3), Vector(-3, 0));
    EXPECT_TRUE(ws.canGoToBallFreeOfFouls(mate(3)));
    place(opp(7), Vector(-1.5f, 0.25f));
    EXPECT_FALSE(ws.canGoToBallFreeOfFouls(mate(3)));
    place(opp(7), Vector(-1.5f, 0.35f));
    EXPECT_TRUE(ws.canGoToBallFreeOfFouls(mate(3)));
    place(mate(9), Vector(-2, -0.1f));
    EXPECT_FALSE(ws.canGoToBallFreeOfFouls(mate(3)));
    EXPECT_FALSE(ws.canGoToBallFreeOfFouls(nullptr));
}

TEST_F(Possession, TimeToIntersect)
{
    struct Row {
        Vector player;
        Vector ballVel;
        float t;
    } rows[] = {
        {Vector(0.3f, 0), Vector(0, 0), 0.2f},
        {Vector(0.1f, 0), Vector(0, 0), 0},
        {Vector(100, 0), Vector(0, 0), 20},
        {Vector(-1, 0), Vector(5, 0), 20},
        // The ball rolls 0.2 m per step towards a player 2 m away.
        {Vector(2, 0), Vector(1, 0), 1.0f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.player.toString());
        EXPECT_NEAR(ws.timeToIntersect(r.player, Vector(0, 0), r.ballVel), r.t, 1e-4f);
    }
}

TEST_F(Possession, ShotsAtOurGoal)
{
    float t = -1;
    float dist = -1;
    EXPECT_FALSE(ws.isOpponentShot(&t));
    EXPECT_EQ(t, -1);
    EXPECT_EQ(ws.getShortestFallShotInterception(&dist), -1);
    EXPECT_EQ(dist, 100000);

    placeMe(Vector(-14, 0));
    ws.ball->position = Vector3f(-10, 0.5f, 0.042f);
    ws.ball->finalPos = Vector3f(-16, 0.5f, 0.042f);
    EXPECT_TRUE(ws.isOpponentShot(&t));
    EXPECT_TRUE(ws.isOpponentShot(nullptr));

    // Rolling past the goal, or stopping before it.
    ws.ball->finalPos = Vector3f(-16, 3.5f, 0.042f);
    EXPECT_FALSE(ws.isOpponentShot(&t));
    ws.ball->finalPos = Vector3f(-14, 0.5f, 0.042f);
    EXPECT_FALSE(ws.isOpponentShot(&t));
}

TEST_F(Possession, KickPermission)
{
    ws.closeTeam = 3;
    ws.closeOpp = 4;
    place(mate(3), Vector(-4, 0));
    place(opp(4), Vector(4, 0));
    ws.game->playmode = QUORVEL_FREE_KICK;
    EXPECT_FALSE(ws.canExecuteKick(3));
    ws.game->playmode = QUORVEL_CORNER_KICK;
    EXPECT_TRUE(ws.canExecuteKick(3));
    EXPECT_TRUE(ws.canExecuteKick(11));

    // In play, the holder may kick with the nearest opponent behind me.
    ws.game->playmode = PLAY_ON;
    ws.closeTeam = MY_UNUM;
    placeMe(Vector(-0.3f, 0), 0);
    place(opp(4), Vector(-2.5f, 0.2f));
    ws.closeOppDist = 1.2f;
    EXPECT_TRUE(ws.canExecuteKick(MY_UNUM));
    EXPECT_FALSE(ws.canExecuteKick(3));
    place(opp(4), Vector(2.5f, 0.2f));
    EXPECT_FALSE(ws.canExecuteKick(MY_UNUM));
}

TEST_F(Possession, StandingByPostureForMe)
{
    EXPECT_TRUE(ws.isStanding(MY_UNUM, false));
    Singleton<AgentState>::getInstance().mRising = true;
    EXPECT_FALSE(ws.isStanding(MY_UNUM, false));
    mate(2)->head.position.z = 0.27f;
    EXPECT_FALSE(ws.isStanding(2, false));
    EXPECT_TRUE(ws.isStanding(2, true));
    EXPECT_FALSE(ws.isStanding(12, true));
}

TEST_F(Possession, VisionCycleAndPlainBallData)
{
    ws.cycle = 7;
    ws.me->positionUpdateCycle = 7;
    EXPECT_TRUE(ws.isVisionCycle());
    ws.cycle = 8;
    EXPECT_FALSE(ws.isVisionCycle());

    ws.setBallPosFromMessage(1, 2, 3);
    EXPECT_EQ(ws.ballPosFromMessage, Vector3f(1, 2, 3));
    ws.setTrueBallPos(4, 5, 6);
    EXPECT_EQ(ws.game->trueBallPos, Vector3f(4, 5, 6));
}
