#include <gtest/gtest.h>

#include <cmath>

#include "physics/AgentModel.h"
#include "strategy/Receiver.h"
#include "world/QueryWorld.h"

namespace {

// I am number 5; their goal at (15, 0); our last kick-off long ago.
class ReceiverTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.theirGoalPos = Vector(15, 0);
        ws.gTime = 100;
        ws.setLastQuorvelKickoff(0);
        ws.commPassPlayer = 0;
        ws.passerId = 0;
        ws.setplayPasser = nullptr;
        Singleton<AgentModel>::getInstance().robotType = 0;
    }
    void TearDown() override
    {
        ws.setUnum(MY_UNUM);
        ws.commPassPlayer = 0;
    }

    // Team-mate n holds the ball at p.
    void mateHolds(int n, Vector p)
    {
        setBall(p);
        place(mate(n), p + Vector(-0.3f, 0));
        ws.closeTeam = n;
        ws.closeOpp = 2;
    }
};

TEST_F(ReceiverTest, ShirtElevenRunsAfterOurKickOff)
{
    ws.setUnum(11);
    ws.gTime = 20;
    Receiver r;
    EXPECT_TRUE(r.isAvailable(Receiver::ACTIVE));
    ws.gTime = 25;
    EXPECT_FALSE(r.isAvailable(Receiver::ACTIVE));
}

// A pass from team-mate 4 (index 3) that names me.
TEST_F(ReceiverTest, DeadlineRunsWhileTheSenderHoldsTheBall)
{
    struct Step {
        const char* what;
        int holder;  // team-mate holding the ball, 0 for an opponent
        int named;
        int playMode;
        bool available;
        int deadline;
    };
    const Step steps[] = {
        {"someone else holds", 7, MY_UNUM, PLAY_ON, false, 0},
        {"sender holds: start", 4, MY_UNUM, PLAY_ON, true, Receiver::PASS_CYCLES},
        {"counting down", 4, MY_UNUM, PLAY_ON, true, Receiver::PASS_CYCLES - 1},
        {"kick-in leaves it", 4, MY_UNUM, QUORVEL_KICKIN, false, Receiver::PASS_CYCLES - 1},
        {"other kind leaves it", -1, MY_UNUM, PLAY_ON, false, Receiver::PASS_CYCLES - 1},
        {"still counting", 4, MY_UNUM, PLAY_ON, true, Receiver::PASS_CYCLES - 2},
        {"7 gets the ball", 7, MY_UNUM, PLAY_ON, false, 0},
        {"restart", 4, MY_UNUM, PLAY_ON, true, Receiver::PASS_CYCLES},
        {"another named", 4, 8, PLAY_ON, false, 0},
        {"restart again", 4, MY_UNUM, PLAY_ON, true, Receiver::PASS_CYCLES},
        {"opponents have it", 0, MY_UNUM, PLAY_ON, false, 0},
    };
    ws.passerId = 3;
    Receiver r;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        ws.commPassPlayer = s.named;
        ws.game->playmode = s.playMode;
        if (s.holder > 0) {
            mateHolds(s.holder, Vector(2, 2));
        } else {
            setBall(Vector(2, 2));
            place(opp(3), Vector(2.3f, 2));
            place(mate(4), Vector(-5, 0));
            ws.closeOpp = 3;
        }
        EXPECT_EQ(r.isAvailable(s.holder < 0 ? 2 : Receiver::ACTIVE), s.available);
        EXPECT_EQ(r.getDeadline(), s.deadline);
    }
}

TEST_F(ReceiverTest, PassFormationAppliesWhenWeHaveTheBallOrTakeAFreeKick)
{
    struct Case {
        int playMode;
        bool mateHolds;
        bool applies;
    };
    const Case cases[] = {
        {PLAY_ON, true, true},           {PLAY_ON, false, false},
        {QUORVEL_FREE_KICK, false, true}, {QUORVEL_KICKOFF, true, false},
        {QUORVEL_CORNER_KICK, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playMode);
        ws.game->playmode = c.playMode;
        if (c.mateHolds)
            mateHolds(4, Vector(2, 2));
        else
            place(mate(4), Vector(-5, 0));
        Receiver r;
        EXPECT_EQ(r.loadPassFormation(), c.applies);
        EXPECT_EQ(r.activePass, c.applies);
        EXPECT_EQ(r.withBall, c.applies);
    }
}

TEST_F(ReceiverTest, ObstaclesWithinOneMetre)
{
    Vector p(3, 3);
    place(opp(6), p + Vector(1.0f, 0));
    place(opp(7), p + Vector(0, -1.01f));
    placeFallen(opp(8), p);
    place(mate(6), p + Vector(0.5f, 0));
    placeMe(p);
    Receiver r;
    EXPECT_EQ(r.getObstacles(p), (std::vector<int>{1, 1}));
}

TEST_F(ReceiverTest, NearestTeamMateToAPoint)
{
    ws.game->playmode = QUORVEL_FREE_KICK;
    setBall(Vector(0, 0));
    placeMe(Vector(0, 3));
    Receiver r;
    r.definingRecvPoints();
    std::vector<ReceivingPoint> pts = r.getRecvPoints();
    ASSERT_GE(pts.size(), 2u);
    // Every point lies at the full roll of an 11 m/s kick, inside the sector.
    for (const ReceivingPoint& p : pts) {
        EXPECT_NEAR(p.getPoint().length(), 10.058f, 0.01f);
        EXPECT_NEAR(p.getDirection().length(), 1, 1e-5f);
    }
    Vector first = pts.front().getPoint();
    EXPECT_NEAR(first.getDirection(), Vector(7.5f, -10).getDirection(), 0.01f);
    EXPECT_NEAR(pts.back().getPoint().getDirection(), Vector(7.5f, 10).getDirection(), 0.01f);

    // Nobody within 30 m (fallen team-mates do not count); then team-mate 6
    // and me at the same distance: the lower number wins.
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n)
        if (n != MY_UNUM)
            placeFallen(mate(n), Vector(-12.0f + n, 9.5f));
    placeMe(Vector(-40, 0));
    EXPECT_EQ(r.allyClosestPoint(0), 0);
    EXPECT_EQ(r.getRecvPoints()[0].dist, 30.0f);
    EXPECT_EQ(r.getRecvPoints()[0].getPlayerClosest(), 0);
    place(mate(6), first + Vector(1, 0));
    placeMe(first - Vector(1, 0));
    EXPECT_EQ(r.allyClosestPoint(0), MY_UNUM);
    placeFallen(mate(4), first);
    EXPECT_EQ(r.allyClosestPoint(0), MY_UNUM);
    place(mate(4), first + Vector(0, 0.5f));
    EXPECT_EQ(r.allyClosestPoint(0), 4);
    EXPECT_NEAR(r.getRecvPoints()[0].dist, 0.5f, 1e-5f);
}

TEST_F(ReceiverTest, PassiveReceiverInOurFreeKick)
{
    ws.game->playmode = QUORVEL_FREE_KICK;
    // Behind the ball and 4 m from it: outside the sector, no points defined.
    setBall(Vector(5, 0));
    placeMe(Vector(3, 3.4641f));
    Receiver r;
    EXPECT_FALSE(r.isAvailable(Receiver::PASSIVE));
    EXPECT_TRUE(r.getRecvPoints().empty());

    // Ahead of the ball, on a receiving point: I go there.
    setBall(Vector(0, 0));
    Receiver probe;
    probe.definingRecvPoints();
    // Team-mate 6 takes the first point, I take the second.
    place(mate(6), probe.getRecvPoints()[0].getPoint());
    Vector target = probe.getRecvPoints()[1].getPoint();
    placeMe(target);
    EXPECT_TRUE(r.isAvailable(Receiver::PASSIVE));
    EXPECT_EQ(r.getClosestPoint().getPoint(), target);

    ws.game->playmode = PLAY_ON;
    EXPECT_FALSE(r.isAvailable(Receiver::PASSIVE));
}

// Ball on their goal line: the two sector bounds are opposite, so the dot
// product may round below -1.
TEST_F(ReceiverTest, PointsAreFiniteWithTheBallOnTheirGoalLine)
{
    for (Vector ball : {Vector(15, 0), Vector(15, 5), Vector(15, -5), Vector(0, 0)}) {
        SCOPED_TRACE(ball.str());
        setBall(ball);
        Receiver r;
        r.definingRecvPoints();
        ASSERT_FALSE(r.getRecvPoints().empty());
        for (const ReceivingPoint& p : r.getRecvPoints()) {
            EXPECT_TRUE(std::isfinite(p.getPoint().x) && std::isfinite(p.getPoint().y));
        }
    }
}

} // namespace
