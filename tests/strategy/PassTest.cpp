#include <gtest/gtest.h>

#include <cmath>

#include "physics/AgentModel.h"
#include "strategy/Pass.h"
#include "world/QueryWorld.h"

namespace {

// I am number 5 and hold the ball at the centre spot; their goal at (15, 0);
// our last kick-off long ago.
class PassTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.theirGoalPos = Vector(15, 0);
        ws.gTime = 100;
        ws.setLastQuorvelKickoff(0);
        ws.setplayPasser = nullptr;
        ws.trajectoryDecided = false;
        ws.game->setLastPlayon(true);
        Singleton<AgentModel>::getInstance().robotType = 0;
        holdBall(Vector(0, 0));
    }
    void TearDown() override
    {
        ws.trajectoryDecided = false;
        Singleton<AgentModel>::getInstance().robotType = 0;
    }

    void holdBall(Vector b)
    {
        setBall(b);
        placeMe(b - Vector(0.3f, 0));
        ws.closeTeam = MY_UNUM;
        ws.closeOpp = 2;
        ws.playWB = MY_UNUM;
    }

    // Every team-mate but me lies down.
    void matesDown()
    {
        for (int n = 1; n <= WorldState::MAX_UNUM; ++n)
            if (n != MY_UNUM)
                placeFallen(mate(n), Vector(-12.0f + n, 9.5f));
    }
};

Vector along(float deg, float d) { return Vector::getVectorFromPolar(d, deg); }

TEST_F(PassTest, PlayersNearTheKickLineBlockIt)
{
    struct Case {
        const char* name;
        int team;  // 0 ours, 1 theirs
        Vector pos;
        bool fallen;
        Vector dir;
        int blocked;
    };
    const Vector ahead(1, 0);
    const Case cases[] = {
        {"long kick passes over at 5 m", 1, Vector(5, 0), false, ahead, 0},
        {"at 0.9 m", 1, Vector(0.9f, 0), false, ahead, 1},
        {"at 8.5 m", 1, Vector(8.5f, 0), false, ahead, 1},
        {"beyond the roll", 1, Vector(14, 0), false, ahead, 0},
        {"standing 6 degrees off at 9 m", 1, along(6, 9), false, ahead, 1},
        {"standing 6.5 degrees off at 9 m", 1, along(6.5f, 9), false, ahead, 0},
        {"fallen 6.5 degrees off at 9 m", 1, along(6.5f, 9), true, ahead, 1},
        {"behind the ball", 1, Vector(-0.5f, 0), false, ahead, 0},
        {"team-mate on the line", 0, Vector(9, 0), false, ahead, 1},
        // No direction: only a player on the ball obstructs.
        {"no direction, 0.017 m", 1, Vector(0.017f, 0), false, Vector(0, 0), 1},
        {"no direction, 0.018 m", 1, Vector(0.018f, 0), false, Vector(0, 0), 0},
        {"no direction, on the ball", 1, Vector(0, 0), false, Vector(0, 0), 1},
    };
    Pass pass;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player* pl = c.team == 0 ? mate(9) : opp(4);
        Vector park = c.team == 0 ? Vector(-3, 9.5f) : Vector(-8, -9.5f);
        if (c.fallen)
            placeFallen(pl, c.pos);
        else
            place(pl, c.pos);
        EXPECT_EQ(pass.getNumObstacles(c.dir, c.team), c.blocked);
        place(pl, park);
    }
}

TEST_F(PassTest, OurBallHolderNeverBlocks)
{
    place(mate(7), Vector(9, 0));
    ws.playWB = 7;
    Pass pass;
    EXPECT_EQ(pass.getNumObstacles(Vector(1, 0), 0), 0);
}

TEST_F(PassTest, ClassificationOfPassPoints)
{
    struct Case {
        const char* name;
        Vector dir, point;
        int cls;
        float yInt;
    };
    const Case cases[] = {
        {"on the field", Vector(0.8f, 0.6f), Vector(8, 6), PassMethods::PASSE, 6},
        {"between the posts", Vector(1, 0.03f), Vector(16, 0.48f), PassMethods::GOAL, 0.45f},
        {"past a post", Vector(1, 0.2f), Vector(16, 3.2f), PassMethods::OUT, 3},
        {"over our goal line", Vector(-1, 0), Vector(-16, 0), PassMethods::OUT, 0},
        {"region on the field", Vector(0, 0), Vector(5, 3), PassMethods::PASSE, 3},
        {"region behind their goal", Vector(0, 0), Vector(16, 0), PassMethods::OUT, 10},
        {"blocked pass", Vector(1, 0), Vector(10, 0), PassMethods::OFF, 0},
    };
    Pass pass;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool block = c.cls == PassMethods::OFF;
        if (block)
            place(opp(4), Vector(9, 0));
        Trajectory t;
        t.setDirection(c.dir);
        t.setPontoPasse(c.point);
        Trajectory got = pass.classification(t);
        EXPECT_EQ(got.getClassification(), c.cls);
        EXPECT_NEAR(got.getYint(), c.yInt, 1e-4f);
        EXPECT_EQ(got.getPontoPasse(), c.point);
        if (block)
            place(opp(4), Vector(-8, -9.5f));
    }
}

TEST_F(PassTest, FanCoversTheSectorAtTheRollDistance)
{
    struct Case {
        Vector ball;
        size_t minRays;
    };
    // Ball on their goal line: opposite sector bounds.
    const Case cases[] = {{Vector(0, 0), 10}, {Vector(0, -6), 5}, {Vector(15, 0), 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ball.str());
        holdBall(c.ball);
        Pass pass;
        pass.definingTrajectories();
        std::vector<Trajectory> fan = pass.getTrajetories();
        ASSERT_GE(fan.size(), c.minRays);
        float roll = pass.getPassMethods().alcanceChute;
        for (const Trajectory& t : fan) {
            Vector p = t.getPontoPasse();
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
            EXPECT_NEAR(p.getDistanceTo(c.ball), roll, 1e-3f);
        }
        std::vector<Vector> zone = pass.getPassMethods().getBallZone();
        EXPECT_NEAR(fan.front().getDirection().x, zone[0].x, 1e-4f);
        EXPECT_NEAR(fan.back().getDirection().y, zone[1].y, 1e-4f);
    }
}

TEST_F(PassTest, BallRollsAlongTheDecayModel)
{
    Pass pass;
    pass.definingTrajectories();
    PassMethods pm = pass.getPassMethods();
    std::vector<float> r = pass.ballSimulation();
    ASSERT_EQ(r.size(), (size_t)pm.nCycle + 1);
    EXPECT_EQ(r[1], 0);
    EXPECT_NEAR(r[2], pm.alcanceChute * (1 - 0.97837f), 1e-3f);
    EXPECT_EQ(r.back(), pm.alcanceChute);
    EXPECT_NEAR(r[pm.nCycle - 1], pm.alcanceChute * 0.93f, 0.05f);
}

TEST_F(PassTest, InterceptionIndexIsHighestOnTheRayAnOpponentReaches)
{
    Pass none;
    none.definingTrajectories();
    none.calculaIndiceIntercepcao();
    EXPECT_EQ(none.getMinIndice(), 0);
    EXPECT_EQ(none.getMaxIndice(), 1);
    for (const Trajectory& t : none.getTrajetories())
        EXPECT_EQ(t.getIndiceContribuicao(), 0);

    // An opponent standing 5 m out, just beside the straight ray.
    place(opp(4), Vector(5, 0.3f));
    Pass pass;
    pass.definingTrajectories();
    pass.calculaIndiceIntercepcao();
    EXPECT_GT(pass.getMaxIndice(), 0);
    std::vector<Trajectory> fan = pass.getTrajetories();
    size_t straight = 0;
    for (size_t i = 0; i < fan.size(); ++i)
        if (std::fabs(fan[i].getDirection().y) < std::fabs(fan[straight].getDirection().y))
            straight = i;
    ASSERT_EQ(fan[straight].getClassification(), PassMethods::PASSE);
    // Normalised: the most intercepted pass scores 0, the others more.
    for (size_t i = 0; i < fan.size(); ++i) {
        EXPECT_TRUE(std::isfinite(fan[i].getIndiceContribuicao()));
        if (fan[i].getClassification() == PassMethods::PASSE) {
            EXPECT_GE(fan[i].getIndiceContribuicao(), fan[straight].getIndiceContribuicao());
        }
    }
}

TEST_F(PassTest, HolderKicksOnlyWithTimeAndRoom)
{
    struct Case {
        const char* name;
        int playMode;
        Vector ball;
        float oppDist;
        float conf;
        bool kick;
    };
    const Case cases[] = {
        {"unseen opponent next to the ball", PLAY_ON, Vector(0, 0), 0.5f, 0.29f, true},
        {"seen opponent within 3 m", PLAY_ON, Vector(0, 0), 2.9f, 0.3f, false},
        {"seen opponent beyond 3 m", PLAY_ON, Vector(0, 0), 3.1f, 0.3f, true},
        {"pass mode: 1 m is safe", PASS_QUORVEL, Vector(0, 0), 1.1f, 0.3f, true},
        {"within 10 m of their goal", PLAY_ON, Vector(6, 0), 5, 0.3f, false},
        {"our free kick", QUORVEL_FREE_KICK, Vector(6, 0), 0.5f, 1, true},
        {"our goal kick", QUORVEL_GOAL_KICK, Vector(0, 0), 0.5f, 1, true},
    };
    Pass pass;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ws.game->playmode = c.playMode;
        holdBall(c.ball);
        place(opp(4), c.ball + Vector(0, c.oppDist));
        opp(4)->conf = c.conf;
        EXPECT_EQ(pass.isActiveKick(), c.kick);
    }
}

TEST_F(PassTest, PassToTheOnlyReceiverHoldsFor160Cycles)
{
    matesDown();
    place(mate(9), Vector(6, 0));
    Pass pass;
    ASSERT_TRUE(pass.isAvailable());
    EXPECT_EQ(pass.getMode(), 2);
    EXPECT_EQ(pass.getReceiver(), 9);
    EXPECT_EQ(pass.getCatcher(), 9);
    EXPECT_EQ(pass.getDeadline(), Pass::PASS_CYCLES);
    EXPECT_TRUE(ws.trajectoryDecided);
    Vector target = pass.getPassTarget();
    EXPECT_NEAR(target.getDistanceTo(Vector(0, 0)), pass.getPassMethods().alcanceChute, 1e-3f);
    EXPECT_EQ(pass.getPassMethods().getKickType(), pass.getPassMethods().SUPERKICK);
    EXPECT_FALSE(pass.getPassMethods().isOfftheField(target));

    // A corner kick neither answers nor counts down.
    ws.game->playmode = QUORVEL_CORNER_KICK;
    EXPECT_FALSE(pass.isAvailable());
    EXPECT_EQ(pass.getDeadline(), Pass::PASS_CYCLES);
    ws.game->playmode = PLAY_ON;
    for (int k = 1; k <= Pass::PASS_CYCLES; ++k) {
        ASSERT_TRUE(pass.isAvailable()) << k;
        ASSERT_EQ(pass.getReceiver(), k < Pass::PASS_CYCLES ? 9 : 0) << k;
    }
    EXPECT_EQ(pass.getPassTarget(), target);
}

TEST_F(PassTest, GoalkeeperIsNeverAReceiver)
{
    matesDown();
    place(mate(1), Vector(6, 0));
    Pass pass;
    pass.doPasse(true);
    EXPECT_FALSE(pass.getActivePass());
    EXPECT_EQ(pass.getReceiver(), 0);

    // In our free kick a failed search aims at their goal.
    ws.game->playmode = QUORVEL_FREE_KICK;
    pass.doPasse(true);
    EXPECT_TRUE(pass.getActivePass());
    EXPECT_EQ(pass.getMode(), 2);
    EXPECT_EQ(pass.getPassTarget(), ws.theirGoalPos);
    EXPECT_EQ(pass.getReceiver(), 0);
}

TEST_F(PassTest, ReceiverMustArriveBeforeEveryOpponent)
{
    Pass pass;
    pass.definingTrajectories();
    std::vector<Trajectory> fan = pass.getTrajetories();
    int i = 0;
    while (fan[i].getClassification() != PassMethods::PASSE)
        ++i;
    Vector P = fan[i].getPontoPasse();
    place(mate(9), P + Vector(0, 2));  // inside its head start

    EXPECT_TRUE(pass.chooseBestReceiver(i, 9));
    place(opp(4), P);
    EXPECT_FALSE(pass.chooseBestReceiver(i, 9));
    ws.game->playmode = QUORVEL_KICKOFF;
    EXPECT_TRUE(pass.chooseBestReceiver(i, 9));
    EXPECT_EQ(pass.getCatcher(), 9);

    std::map<int, Player*> opponents;
    opponents.swap(ws.opponentTeam);
    bool accepted = pass.chooseBestReceiver(i, 9);
    ws.opponentTeam.swap(opponents);
    EXPECT_FALSE(accepted);
}

TEST_F(PassTest, ShotOnlyBeforeFourMetresInOurKickIn)
{
    struct Case {
        float ballX;
        int mode;
    };
    const Case cases[] = {{3.9f, 1}, {4.0f, 2}};
    Singleton<AgentModel>::getInstance().robotType = 3;  // rolls 11.7 m
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ballX);
        ws.trajectoryDecided = false;
        ws.game->playmode = QUORVEL_KICKIN;
        matesDown();
        place(mate(9), Vector(c.ballX + 6, 3));
        holdBall(Vector(c.ballX, 0));
        Pass pass;
        ASSERT_TRUE(pass.isAvailable());
        EXPECT_EQ(pass.getMode(), c.mode);
        if (c.mode == 1) {
            EXPECT_GT(pass.getPassTarget().x, 15);
            EXPECT_EQ(pass.getReceiver(), 0);
            EXPECT_EQ(pass.getDeadline(), 0);
        }
    }
}

TEST_F(PassTest, SetPlayReceiverForcesTheTarget)
{
    ws.gTime = 10;  // within 25 s of our kick-off
    holdBall(Vector(3, 3));
    placeMe(Vector(-5, 0));  // not the holder
    ws.playWB = 7;
    Pass pass;
    ASSERT_TRUE(pass.isActivePass(9, Vector(5, 5), true));
    EXPECT_EQ(pass.getPassTarget(), Vector(5, 5));
    EXPECT_EQ(pass.getMode(), 2);
    EXPECT_EQ(pass.getDeadline(), Pass::PASS_CYCLES);
    EXPECT_EQ(pass.getReceiver(), 9);
    EXPECT_TRUE(ws.trajectoryDecided);
}

TEST_F(PassTest, CandidatesFromAListOfNumbers)
{
    Pass pass(std::vector<int>{9, 42});
    matesDown();
    place(mate(9), Vector(6, 0));
    place(mate(10), Vector(5, 1));
    pass.doPasse(false);
    EXPECT_EQ(pass.getReceiver(), 9);
}


TEST_F(PassTest, AlternativeEvaluationPassesToATeamMateNeverToTheHolderOrGoalkeeper)
{
    matesDown();
    Pass alone;
    // Only the holder and the goalkeeper stand: nobody to pass to.
    place(mate(1), Vector(6, 0));
    EXPECT_FALSE(alone.clearPassToPlayer({}));
    EXPECT_EQ(alone.getReceiver(), 0);
    EXPECT_EQ(alone.getPassTarget(), Vector(20, 0));

    place(mate(9), Vector(6, 2));
    Pass pass;
    ASSERT_TRUE(pass.clearPassToPlayer({}));
    Vector target = pass.getPassTarget();
    EXPECT_NEAR(target.getDistanceTo(Vector(0, 0)), pass.getPassMethods().alcanceChute, 1e-3f);
    EXPECT_EQ(pass.getCatcher(), 9);
    // No decision is put in force.
    EXPECT_EQ(pass.getDeadline(), 0);
    EXPECT_FALSE(pass.getActivePass());
    EXPECT_FALSE(ws.trajectoryDecided);

    // Every candidate is listed, the holder too; the goal distance stays in metres.
    for (const Trajectory& t : pass.getTrajetories()) {
        if (t.getClassification() != PassMethods::PASSE)
            continue;
        EXPECT_EQ(t.getVectorDistAllyToPP().size(), (size_t)WorldState::MAX_UNUM);
        EXPECT_NEAR(t.getDistGoalToPP(), t.getPontoPasse().getDistanceTo(Vector(15, 0)), 1e-3f);
    }
}

TEST_F(PassTest, ObstaclesOnTheWayFromEachTeamMateToThePassPoint)
{
    matesDown();
    place(mate(9), Vector(6, 2));
    Pass pass(std::vector<int>{9});
    ASSERT_TRUE(pass.clearPassToPlayer({}));
    int i = pass.getBestTraj();
    Vector P = pass.getTrajetories()[i].getPontoPasse();
    Vector R(6, 2);
    int before = pass.numObstacles(i);
    // An opponent halfway from 9 to the point, and one beyond the point.
    place(opp(4), R + (P - R) * 0.5f);
    EXPECT_EQ(pass.numObstacles(i), before + 1);
    place(opp(6), P + (P - R) * 0.5f);
    EXPECT_EQ(pass.numObstacles(i), before + 1);
    EXPECT_EQ(pass.numObstacles(-1), 0);
    EXPECT_EQ(pass.numObstacles(1000), 0);
}

} // namespace
