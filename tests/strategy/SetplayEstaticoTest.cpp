#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "strategy/Pass.h"
#include "strategy/SetplayEstatico.h"
#include "world/QueryWorld.h"

namespace {

using Move = SetplayEstatico::Move;

// Our kick-off at game time 0; now 8 s later, the ball played to (0.5, 0).
class KickOffPlayTest : public QueryWorld {
protected:
    void SetUp() override
    {
        QueryWorld::SetUp();
        ws.setLastQuorvelKickoff(0);
        ws.gTime = 8;
        ws.trajectoryDecided = false;
        setBall(Vector(0.5f, 0));
        ws.ball->speed = Vector3f(0, 0, 0);
    }
    void TearDown() override
    {
        ws.ball->speed = Vector3f(0, 0, 0);
        ws.me->oppMarkedByTeammate = 0;
        ws.trajectoryDecided = false;
        ws.setUnum(MY_UNUM);
    }

    // I become shirt n at p; the play is built afterwards.
    std::unique_ptr<SetplayEstatico> playAs(int n, Vector p)
    {
        ws.setUnum(n);
        placeMe(p);
        ws.closeTeam = 2;
        return std::unique_ptr<SetplayEstatico>(new SetplayEstatico(SetplayEstatico::KICK_OFF));
    }
};

TEST_F(KickOffPlayTest, StartsWithinSevenSecondsForShirtsSixToEleven)
{
    struct Case {
        const char* name;
        int which, unum;
        float gTime;
        int playmode;
        bool oppOnBall;
        bool on;
    };
    const Case cases[] = {
        {"kick-off, 3 s in", SetplayEstatico::KICK_OFF, 6, 3, QUORVEL_KICKOFF, false, true},
        {"play on, 7 s in", SetplayEstatico::KICK_OFF, 11, 7, PLAY_ON, false, true},
        {"8 s in", SetplayEstatico::KICK_OFF, 6, 8, PLAY_ON, false, false},
        {"not the kick-off play", SetplayEstatico::NO_SETPLAY, 6, 3, PLAY_ON, false, false},
        {"shirt 5", SetplayEstatico::KICK_OFF, 5, 3, PLAY_ON, false, false},
        {"their kick-in", SetplayEstatico::KICK_OFF, 7, 3, OPPONENT_KICKIN, false, false},
        {"opponent on the ball", SetplayEstatico::KICK_OFF, 7, 3, PLAY_ON, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto play = playAs(c.unum, Vector(-3, 1));
        ws.gTime = c.gTime;
        ws.game->playmode = c.playmode;
        ws.closeOpp = 4;
        place(opp(4), c.oppOnBall ? Vector(0.8f, 0.1f) : Vector(3, 3));
        EXPECT_EQ(play->isAvailable(c.which), c.on);
        EXPECT_EQ(play->getStep(), c.on ? 1 : 0);
        place(opp(4), Vector(-8, -9.5f));
    }
}

TEST_F(KickOffPlayTest, StaysOnWhileThePlayModeAllowsAndEndsAfterTwentyFiveSeconds)
{
    struct Case {
        int step, playmode;
        float gTime;
        bool on;
    };
    const Case cases[] = {
        {1, QUORVEL_KICKOFF, 8, true}, {1, PASS_QUORVEL, 8, false}, {2, PASS_QUORVEL, 8, true},
        {3, QUORVEL_KICKOFF, 8, false}, {3, PASS_QUORVEL, 8, true}, {4, PASS_QUORVEL, 8, false},
        {4, PLAY_ON, 24, true},         {4, PLAY_ON, 26, false},     {5, PLAY_ON, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "step " << c.step << " mode " << c.playmode << " t " << c.gTime);
        auto play = playAs(7, Vector(-3, 1));
        ws.me->markedOppNum = 3;
        play->setStep(c.step);
        ws.game->playmode = c.playmode;
        ws.gTime = c.gTime;
        EXPECT_EQ(play->isAvailable(SetplayEstatico::KICK_OFF), c.on);
        EXPECT_EQ(play->getStep(), c.on ? c.step : 0);
        if (!c.on && c.step != 1 && c.step != 5) {
            EXPECT_EQ(ws.me->markedOppNum, 0);
        }
    }
}

TEST_F(KickOffPlayTest, FourStepsForShirtsSixToEleven)
{
    struct Case {
        int unum, step;
        Move::Kind kind;
        Vector target;
    };
    // Me at (-3, 1); team-mates 6 at (-5, 0), 9 at (0, 3), 10 at (2, -3) and
    // 11 at (6, 0); the ball at (0.5, 0).
    const Vector none(0, 0);
    const Case cases[] = {
        {6, 1, Move::WALK, {-5, 0}},        {7, 1, Move::WALK, {-3, 1}},   {8, 1, Move::WALK, {-3, 1}},
        {11, 1, Move::KICK_TOWARD, {-5, 0}}, {6, 2, Move::WALK, {-0.3f, 0}}, {7, 2, Move::WALK, {5, -5}},
        {8, 2, Move::WALK, {5, 5}},         {9, 2, Move::MARK, none},      {11, 2, Move::WALK, {8, 0}},
        {6, 3, Move::PASS, {0, 0}},         {7, 3, Move::WALK, {8, -2}},   {8, 3, Move::WALK, {8, 2}},
        {10, 3, Move::MARK, none},          {11, 3, Move::WALK, {8, 0}},   {6, 4, Move::NONE, none},
        {7, 4, Move::WALK, {8, -5}},        {8, 4, Move::WALK, {8, 5}},    {9, 4, Move::NONE, none},
        {10, 4, Move::NONE, none},          {11, 4, Move::WALK, {8, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "shirt " << c.unum << " step " << c.step);
        ws.trajectoryDecided = false;
        auto play = playAs(c.unum, Vector(-3, 1));
        const std::map<int, Vector> mates = {{6, {-5, 0}}, {9, {0, 3}}, {10, {2, -3}}, {11, {6, 0}}};
        for (const auto& m : mates)
            if (m.first != c.unum)
                place(mate(m.first), m.second);
        place(opp(4), Vector(1, 3));
        play->setStep(c.step);
        Move m = play->planStep();
        EXPECT_EQ(m.kind, c.kind);
        if (c.kind == Move::WALK || c.kind == Move::KICK_TOWARD || c.kind == Move::PASS) {
            EXPECT_NEAR(m.target.x, c.target.x, 1e-4f);
            EXPECT_NEAR(m.target.y, c.target.y, 1e-4f);
        }
        if (c.kind == Move::MARK) {
            ASSERT_NE(m.opponent, nullptr);
            EXPECT_EQ(m.opponent->unum, 4);
            EXPECT_EQ(ws.me->markedOppNum, 4);
        }
        if (c.kind == Move::PASS) {
            // 6 does not hold the ball: the pass to 9, nearest the centre
            // spot, is forced to the centre spot.
            EXPECT_EQ(play->getReceptor(), 9);
            EXPECT_EQ(play->getPass()->getReceiver(), 9);
            PassMethods kick = play->getPass()->getPassMethods();
            EXPECT_EQ(m.kick, kick.getKickType() == kick.SUPERKICK);
        }
        if (c.step == 1 && c.unum == 8) {
            EXPECT_NEAR(m.dir, (Vector(8, 5) - Vector(-3, 1)).getDirection(), 1e-3f);
        }
        if (c.step == 4) {
            EXPECT_EQ(play->getStep(), c.kind == Move::NONE ? 0 : 4);
        }
    }
}

TEST_F(KickOffPlayTest, ShirtsNineAndTenScreenOnTheirSideOfTheField)
{
    struct Case {
        int unum;
        Vector me;
        Move::Kind kind;
        Vector target;
    };
    // Opponent 4 at (1, 3) is the one nearest me: midway to (-5, 0) is (-2, 1.5).
    const Case cases[] = {
        {9, {0, 2}, Move::GO_DIRECT, {-2, -1}},
        {10, {0, 2}, Move::GO_DIRECT, {-2, 1.5f}},
        {10, {-2.2f, 1.3f}, Move::STEP_IN_PLACE, {-2, 1.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unum);
        auto play = playAs(c.unum, c.me);
        place(opp(4), Vector(1, 3));
        play->setStep(1);
        Move m = play->planStep();
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_NEAR(m.target.x, c.target.x, 1e-4f);
        EXPECT_NEAR(m.target.y, c.target.y, 1e-4f);
    }

    // Nobody to screen or mark: nothing is done.
    auto play = playAs(9, Vector(0, 2));
    std::map<int, Player*> opponents;
    opponents.swap(ws.opponentTeam);
    play->setStep(1);
    Move screen = play->planStep();
    play->setStep(2);
    Move mark = play->planStep();
    ws.opponentTeam.swap(opponents);
    EXPECT_EQ(screen.kind, Move::NONE);
    EXPECT_EQ(mark.kind, Move::NONE);
    EXPECT_EQ(ws.me->markedOppNum, 0);
}

TEST_F(KickOffPlayTest, MarkersKeepANearOpponentAndLeaveTheOneATeamMateMarks)
{
    auto play = playAs(10, Vector(0, 2));
    place(opp(4), Vector(1, 3));
    place(opp(7), Vector(-1, 4));
    ws.me->oppMarkedByTeammate = 4;
    play->setStep(3);
    EXPECT_EQ(play->planStep().opponent->unum, 7);
    EXPECT_EQ(ws.me->markedOppNum, 7);
    EXPECT_EQ(play->getMarkedOpponent(), opp(7));

    // 7 stays marked while within 4 m, even with 4 now free and nearer.
    ws.me->oppMarkedByTeammate = 0;
    EXPECT_EQ(play->planStep().opponent->unum, 7);
    place(opp(7), Vector(-1, 6.5f));
    EXPECT_EQ(play->planStep().opponent->unum, 4);
    EXPECT_EQ(ws.me->markedOppNum, 4);
}

TEST_F(KickOffPlayTest, StepsAdvanceOnTheBallsWay)
{
    auto six = [&](Vector p) { place(mate(6), p); };
    // Step 1: 6 s after the kick-off the ball has left the centre spot.
    auto play = playAs(7, Vector(-3, 1));
    play->setStep(1);
    setBall(Vector(0.6f, 0));
    ws.gTime = 6.5f;
    EXPECT_TRUE(play->shouldChangeStepKickOff());
    EXPECT_DOUBLE_EQ(play->getBallKickTime(), 6.5);
    setBall(Vector(0.3f, 0));
    EXPECT_FALSE(play->shouldChangeStepKickOff());

    // Step 2: the ball within 2 m of shirt 6; 9 and 10 never move the play on.
    setBall(Vector(-4, 0));
    six(Vector(-5, 0));
    play->setStep(2);
    EXPECT_TRUE(play->shouldChangeStepKickOff());
    auto nine = playAs(9, Vector(0, 2));
    six(Vector(-5, 0));
    nine->setStep(2);
    EXPECT_FALSE(nine->shouldChangeStepKickOff());

    // Step 3: the ball has left 6.
    play = playAs(7, Vector(-3, 1));
    six(Vector(-5, 0));
    play->setStep(3);
    EXPECT_FALSE(play->shouldChangeStepKickOff());
    setBall(Vector(-2, 0));
    EXPECT_TRUE(play->shouldChangeStepKickOff());

    // A ball that has not left the centre spot a second after the kick
    // aborts the play at step 2.
    setBall(Vector(0.6f, 0));
    ws.ball->speed = Vector3f(0.1f, 0, 0);
    play = playAs(7, Vector(-3, 1));
    play->setStep(2);
    ws.gTime = 9;
    play->planStep();
    EXPECT_TRUE(play->isBadKickAbort());
    EXPECT_FALSE(play->isAvailable(SetplayEstatico::KICK_OFF));
    EXPECT_EQ(play->getStep(), 0);

    // Step 4 ends for the player nearest the ball.
    play = playAs(7, Vector(-3, 1));
    play->setStep(4);
    ws.closeTeam = 7;
    EXPECT_EQ(play->planStep().kind, Move::NONE);
    EXPECT_EQ(play->getStep(), 0);
}

} // namespace
