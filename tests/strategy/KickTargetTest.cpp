#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "strategy/StrategyFixture.h"
#include "world/QueryWorld.h"

namespace {

const float EPS = 1e-3f;

void expectNear(Vector got, Vector want)
{
    EXPECT_NEAR(got.x, want.x, EPS);
    EXPECT_NEAR(got.y, want.y, EPS);
}

// The strategy of the small test file (field 30 x 20, goal 2.1) over the
// query world; team-mates stand along x = -14 and opponents along x = -10.
class KickTargetTest : public QueryWorld {
protected:
    TempDir dir;
    std::unique_ptr<Strategy> s;

    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.theirGoalPos = Vector(15, 0);
        std::vector<Sample> samples;
        for (Vector b : {Vector(-15, -10), Vector(15, -10), Vector(-15, 10), Vector(15, 10), Vector(0, 0)})
            samples.push_back(Sample{b, linearPositions(b)});
        dir.write("form.conf", formationText(slotRoles(), samples));
        dir.writeLines("strategy.conf.3D", baseStrategyLines());
        s = loadStrategy(dir.path());
        ASSERT_TRUE(s);
        s->SetTactic(1);
        s->StWS.MyNumber = 5;
        for (int i = 1; i <= 11; ++i) {
            s->StWS.TeamPos[i] = Vector(-14, 2.0f * i - 10);
            s->StWS.OppPos[i] = Vector(-10, 2.0f * i - 10);
        }
        // Flux that grows with x only: value (x + 15) * 4 / 3.
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 7; ++y)
                s->FL.Flux[s->FL_Now][x][y] = 5 * x;
    }
};

TEST_F(KickTargetTest, LineEndsInGoalOrOut)
{
    struct Case {
        Vector ball, final;
        int result;
        Vector intersection;  // with the line that decides, when any
    };
    const Case cases[] = {
        {Vector(10, 0), Vector(15.2f, 0.2f), 3, Vector(15, 0.19231f)},
        {Vector(10, 0), Vector(15.2f, 3), -2, Vector(15, 2.88462f)},
        {Vector(10, 0), Vector(14.8f, 0), -2, Vector(15, 0)},  // short of the line
        {Vector(14, 0.8f), Vector(15.2f, 0.8f), 3, Vector(15, 0.8f)},  // wide, ball in front
        {Vector(14, 1.1f), Vector(15.2f, 0.7f), -2, Vector(15, 0.76667f)},  // wide, ball outside
        {Vector(15.1f, 0), Vector(15.1f, 0.5f), 3, Vector(15, 0.5f)},  // along the goal line
        {Vector(-10, 0), Vector(-15.2f, 0.2f), -3, Vector(-15, 0.19231f)},
        {Vector(-10, 0), Vector(-15.2f, 3), -2, Vector(-15, 2.88462f)},
        {Vector(0, -5), Vector(2, -9.6f), -2, Vector(2.13043f, -9.9f)},
        {Vector(0, 5), Vector(0, 9.6f), -2, Vector(0, 9.9f)},
        {Vector(0, 0), Vector(5, 5), 0, Vector(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ball.str() + " to " + c.final.str());
        Vector ours, theirs, out;
        EXPECT_EQ(s->LineIsGoalOrOut(c.ball, c.final, ours, theirs, out), c.result);
        expectNear(out, c.intersection);
        if (c.result == 3)
            expectNear(theirs, c.intersection);
        if (c.result == -3)
            expectNear(ours, c.intersection);
    }
}

TEST_F(KickTargetTest, SimpleTargetByRegion)
{
    struct Case {
        const char* name;
        Vector init, ball;
        bool dribble;
        int playMode;
        Vector target;
    };
    const Case cases[] = {
        {"own half, wide", Vector(-2, 4), Vector(-1.5f, 4), false, PLAY_ON, Vector(2, 6.5f)},
        {"own half, low", Vector(-2, 0), Vector(-1.5f, 0), false, PLAY_ON, Vector(2, -6.5f)},
        {"near their goal", Vector(9.5f, 0), Vector(10, 0), false, PLAY_ON, Vector(15.1f, 0.1f)},
        {"their corner", Vector(13.5f, 2), Vector(14, 2), false, PLAY_ON, Vector(15.1f, 0.1f)},
        {"centre of own half", Vector(-3, 0), Vector(-2.5f, 0), false, PLAY_ON, Vector(5, -3)},
        {"deep, high", Vector(-4.5f, 1), Vector(-4, 1), false, PLAY_ON, Vector(1, 4)},
        {"in front of goal", Vector(5.5f, 0.5f), Vector(6, 0.5f), false, PLAY_ON, Vector(15.4f, 0)},
        {"low wing", Vector(7.5f, -2), Vector(8, -2), false, PLAY_ON, Vector(14.3f, 0.2f)},
        {"high wing", Vector(7.5f, 2), Vector(8, 2), false, PLAY_ON, Vector(14.3f, -0.2f)},
        {"midfield", Vector(2, 2), Vector(3, 2), false, PLAY_ON, Vector(15, 0)},
        {"push into goal", Vector(14.3f, 0.2f), Vector(14.8f, 0.2f), false, PLAY_ON,
         Vector(15.3f, 0.2f)},
        {"dribble", Vector(2.5f, 0), Vector(3, 0), true, PLAY_ON, Vector(6.4641f, 2)},
        {"dribble outside play-on", Vector(2.5f, 0), Vector(3, 0), true, QUORVEL_FREE_KICK,
         Vector(15, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setBall(c.ball);
        ws.me->orientation = 30;
        ws.game->playmode = c.playMode;
        expectNear(s->simpleCalculateTarget(c.init, c.ball, c.dribble, false), c.target);
    }
}

TEST_F(KickTargetTest, FluxGainOfAKick)
{
    struct Case {
        Vector ball, final;
        float value;
    };
    const Case cases[] = {
        {Vector(0, 0), Vector(2.5f, 0), 2.66667f},
        {Vector(0, 0), Vector(-2.5f, 0), -5},  // gains too little
        {Vector(10, 0), Vector(15.2f, 0.2f), 9.29333f},
        {Vector(-10, 0), Vector(-15.2f, 0.2f), -5},
        {Vector(13, 5), Vector(13, 9.6f), -5},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(s->evaluateFlux(Vector(), c.ball, c.final), c.value, EPS)
            << c.ball.str() << " to " << c.final.str();
}

TEST_F(KickTargetTest, SafetyOfKickLineAndPoint)
{
    struct Case {
        const char* name;
        Vector ball, pos;
        int mate;  // moved to matePos unless 0
        Vector matePos;
        int opp;
        Vector oppPos;
        float safety;
        int nearest;
    };
    const Case cases[] = {
        {"clear", Vector(0, 0), Vector(2.5f, 0), 0, Vector(), 0, Vector(), 5, 5},
        {"mate on the line", Vector(0, 0), Vector(2.5f, 0), 9, Vector(2, 0.2f), 0, Vector(), 1, 9},
        {"me on the line", Vector(0, 0), Vector(2.5f, 0), 5, Vector(2, 0.2f), 0, Vector(), 6, 5},
        {"mate near the line", Vector(0, 0), Vector(2.5f, 0), 9, Vector(3, 0.6f), 0, Vector(), 5,
         9},
        {"opponent near the line", Vector(0, 0), Vector(2.5f, 0), 0, Vector(), 3,
         Vector(1.5f, 0.5f), 2.5f, 5},
        {"opponent on the line", Vector(0, 0), Vector(2.5f, 0), 0, Vector(), 3,
         Vector(1.5f, 0.05f), 0, 5},
        {"opponent beyond the point", Vector(0, 0), Vector(2.5f, 0), 0, Vector(), 3,
         Vector(3.6f, 0.1f), 5, 5},
        {"ball beyond their goal line", Vector(16, 0), Vector(18.5f, 0), 0, Vector(), 0, Vector(),
         4.9f, 5},
        {"ball beyond a side line", Vector(0, 10.5f), Vector(2.5f, 10.5f), 0, Vector(), 0,
         Vector(), 4.8f, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Vector keepMate = s->StWS.TeamPos[c.mate], keepOpp = s->StWS.OppPos[c.opp];
        if (c.mate != 0)
            s->StWS.TeamPos[c.mate] = c.matePos;
        if (c.opp != 0)
            s->StWS.OppPos[c.opp] = c.oppPos;
        int player = -1;
        EXPECT_NEAR(s->calculateSafety(c.ball, c.pos, player), c.safety, EPS);
        EXPECT_EQ(player, c.nearest);
        s->StWS.TeamPos[c.mate] = keepMate;
        s->StWS.OppPos[c.opp] = keepOpp;
    }
}

TEST_F(KickTargetTest, EaseByTurnAndApproachDistance)
{
    struct Case {
        float approachDir, dist, kickDir, ease;
    };
    const Case cases[] = {
        {0, 0.5f, 15, 5},     {0, 0.5f, 15.2f, 4}, {0, 0.5f, -95, 0},
        {0, 1.5f, 100, 2},    {0, 3, 150, 2},      {0, 3, -151, 0},
        {170, 0.5f, -170, 4},  // the turn is 20 degrees across the half turn
    };
    Vector ball(1, 1);
    for (const Case& c : cases) {
        Vector init = ball - Vector::getVectorFromPolar(c.dist, c.approachDir);
        Vector final = ball + Vector::getVectorFromPolar(2.5f, c.kickDir);
        EXPECT_EQ(s->evaluateEasy(init, ball, final), c.ease)
            << c.approachDir << " " << c.dist << " " << c.kickDir;
    }
}

// Only the ease counts: from (-1, 0) every kick within 30 degrees of +x
// scores 5, and the first of them, straight ahead, is kept.
TEST_F(KickTargetTest, SearchKeepsFirstBestAndDriftsUnlessClearlyBetter)
{
    s->SetWeights(0, 0, 1, 0, 0);
    s->StDec.prevEval = 11;  // out of range: starts again from -5
    Vector ball(0, 0);
    expectNear(s->calculateTarget(Vector(-1, 0), ball), Vector(2.5f, 0));
    EXPECT_EQ(s->StDec.prevEval, 5);
    EXPECT_EQ(s->StDec.DM_ActionEval, 5);
    expectNear(s->StDec.DM_ActionPoint, Vector(2.5f, 0));
    EXPECT_EQ(s->StDec.DM_evalArr[3][1], 5);
    EXPECT_EQ(s->StDec.DM_evalArr[4][0], 4);
    expectNear(s->StDec.DM_fPosArr[9][0], Vector(0, 2.5f));

    // From below the best is at 60 degrees, no better than 5: drift 5 %.
    expectNear(s->calculateTarget(Vector(0, -1), ball), Vector(2.4375f, 0.10825f));
    EXPECT_EQ(s->StDec.prevEval, 5);
    expectNear(s->StDec.prevTarget, Vector(2.4375f, 0.10825f));
}

TEST_F(KickTargetTest, FluxDirectionIsTheFirstBest)
{
    EXPECT_EQ(s->CalculateFluxDir(Vector(0, 0)), 0);
    // Flux decreasing with x: straight back.
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 7; ++y)
            s->FL.Flux[s->FL_Now][x][y] = 40 - 5 * x;
    EXPECT_EQ(s->CalculateFluxDir(Vector(0, 0)), 180);
}

} // namespace
