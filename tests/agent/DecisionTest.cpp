#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "DecisionFixture.h"
#include "KVDAgentH.h"
#include "skills/AgentActions.h"
#include "skills/OmniWalkZMP.h"
#include "skills/SlotBehavior.h"
#include "strategy/Pass.h"
#include "strategy/Strategy.h"
#include "utils/communication/AgentComm.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/QueryWorld.h"

namespace {

TEST(PlayModeDispatch, EveryPlayModeHasItsRoutine)
{
    const KVDAgentH::Routine K = KVDAgentH::KICK_OFF_ROUTINE, F = KVDAgentH::PLAY_OFF_ROUTINE,
                             N = KVDAgentH::PLAY_ON_ROUTINE;
    // Play modes 0 to 16; ours and theirs alternate from 1 to 12.
    const KVDAgentH::Routine expected[] = {K, N, F, N, F, N, F, N, N, N, F, K, K, N, N, N, N};
    for (int pm = 0; pm <= 16; pm++)
        EXPECT_EQ(KVDAgentH::routineFor(pm), expected[pm]) << pm;
    for (int pm : {-1, 17, 99})
        EXPECT_EQ(KVDAgentH::routineFor(pm), N) << pm;
}

TEST_F(DecisionTest, KickOffBeamsOnlyWhenAwayFromTheStrategicPosition)
{
    ws.game->playmode = BEFORE_KICKOFF;
    agent->BehaveKickOff();
    const Vector s = strategy().GetStrategicPos(MY_UNUM);
    EXPECT_FLOAT_EQ(ws.ball->position.x, 0);
    EXPECT_FLOAT_EQ(ws.ballPos.x, 0);

    // 0.4 m away: no beam, the current behaviour stays.
    Behavior* before = actions().currBehavior;
    actions().currBehavior = actions().bStop;
    placeMe(s + Vector(0.4f, 0));
    agent->BehaveKickOff();
    EXPECT_EQ(actions().currBehavior, actions().bStop);
    EXPECT_FALSE(actions().bZero->isBeamEnabled());

    // 0.6 m away: beamed to the strategic position facing 0.
    placeMe(s + Vector(0.6f, 0));
    agent->BehaveKickOff();
    EXPECT_EQ(actions().currBehavior, actions().bZero);
    EXPECT_TRUE(actions().bZero->isBeamEnabled());
    const Vector3f pose = agent->kickOffBeamPose();
    EXPECT_FLOAT_EQ(pose.x, s.x);
    EXPECT_FLOAT_EQ(pose.y, s.y);
    EXPECT_FLOAT_EQ(pose.z, 0);

    // While the beam runs, nothing changes.
    actions().bZero->enableBeam(false);
    agent->BehaveKickOff();
    EXPECT_FALSE(actions().bZero->isBeamEnabled());

    agent->unum = 11;
    agent->penaltyKicker = true;
    const Vector3f kicker = agent->kickOffBeamPose();
    EXPECT_FLOAT_EQ(kicker.x, 4);
    EXPECT_FLOAT_EQ(kicker.y, 0);
    actions().currBehavior = before;
}

TEST_F(DecisionTest, GoalModesOpenThePostGoalWindowAndNameTheNextKicker)
{
    ws.gTime = 123;
    ws.game->clockTime = 130;
    ws.game->playmode = OPPONENT_GOAL;
    setBall(Vector(-14, 1));
    agent->BehaveKickOff();
    EXPECT_FLOAT_EQ(ws.lastClockTimeInGoalPM, 130);
    EXPECT_FLOAT_EQ(ws.lastQuorvelKickoff, 123);
    EXPECT_FLOAT_EQ(ws.ball->finalPos.x, 0);
    ws.gTime = 200;
    ws.game->playmode = QUORVEL_GOAL;
    agent->BehaveKickOff();
    EXPECT_FLOAT_EQ(ws.lastoppkickoff, 200);
}

TEST_F(DecisionTest, PostGoalWindowBeamsInsteadOfDeciding)
{
    for (bool playOff : {false, true}) {
        ws.game->playmode = playOff ? OPPONENT_KICKOFF : QUORVEL_KICKOFF;
        ws.lastClockTimeInGoalPM = 50;
        placeMe(Vector(-3, 2));
        auto cycle = [&] {
            agent->currentBehavior = StrategicBehavior::NoBehavior;
            if (playOff)
                agent->BehavePlayOff();
            else
                agent->BehavePlayOn();
        };
        // Within 0.1 s of the goal mode: beamed, nothing decided.
        ws.game->clockTime = 50.05f;
        actions().currBehavior = actions().bStop;
        cycle();
        EXPECT_EQ(actions().currBehavior, actions().bZero) << playOff;
        EXPECT_TRUE(actions().bZero->isBeamEnabled());
        EXPECT_EQ(agent->currentBehavior, StrategicBehavior::NoBehavior) << playOff;
        EXPECT_FLOAT_EQ(ws.ball->position.x, 0);
        // Later a play-on cycle decides; a play-off cycle lets the running
        // behaviour finish first.
        ws.game->clockTime = 50.2f;
        cycle();
        EXPECT_EQ(agent->currentBehavior == StrategicBehavior::NoBehavior, playOff) << playOff;
    }
}

TEST_F(DecisionTest, StrategySnapshot)
{
    ws.gTime = 42;
    ws.game->ostrevandaGoals = 2;
    ws.game->opponentGoals = 3;
    setBall(Vector(1.5f, -2));
    ws.ball->finalPos = Vector3f(2.5f, -2, 0);
    placeMe(Vector(-3, 1), 30);
    agent->FillInWSforStrategy();
    const StrategicWS& w = strategy().StWS;
    EXPECT_FLOAT_EQ(w.GameTime, 42);
    EXPECT_EQ(w.Result, -1);
    EXPECT_FLOAT_EQ(w.BallPos.x, 1.5f);
    EXPECT_FLOAT_EQ(w.BallIntPos.x, 2.5f);
    EXPECT_FLOAT_EQ(w.BallAdjPos.x, 2.5f);
    EXPECT_EQ(w.MyNumber, MY_UNUM);
    EXPECT_FLOAT_EQ(w.MyDir, 30);
    EXPECT_FLOAT_EQ(w.TeamPos[MY_UNUM].x, -3);
    EXPECT_FLOAT_EQ(w.TeamPos[8].x, -4);
    EXPECT_FLOAT_EQ(w.OppPos[8].y, -9.5f);
    ws.game->ostrevandaGoals = ws.game->opponentGoals = 0;
}

TEST_F(DecisionTest, FieldPlayersTakeTheFormationsRoles)
{
    agent->strategyPosition();
    const int form = strategy().GetFormation();
    for (int u = 2; u <= 11; u++)
        EXPECT_EQ(strategy().getAgentsRole(u).idRole, strategy().getFormationRole(form, u)) << u;
    EXPECT_EQ(strategy().getAgentsRole(1).idRole, GOA);

    // A formation without a role list gives no roles and reads nothing past it.
    for (int n = 1; n <= 11; n++)
        strategy().updateAgentsRole(Role(n, NO_ROLE));
    const Formations::RoleList kept = strategy().FM.roles[form];
    strategy().FM.roles.erase(form);
    agent->strategyPosition();
    for (int u = 2; u <= 11; u++)
        EXPECT_EQ(strategy().getAgentsRole(u).idRole, NO_ROLE) << u;
    strategy().FM.roles[form] = kept;
}

TEST_F(DecisionTest, ThePassBlockerIsTheNearestStandingPlayerButTheActive)
{
    struct Case {
        bool meFallen, mate3Fallen;
        int blocker;
    };
    // Ball at the centre: 2 at 0.5 m (active), 3 at 1 m, me at 1.2 m, 4 at 1.5 m.
    for (const Case c : {Case{false, false, 3}, Case{false, true, MY_UNUM}, Case{true, true, 4}}) {
        place(mate(2), Vector(0.5f, 0));
        if (c.mate3Fallen)
            placeFallen(mate(3), Vector(1, 0));
        else
            place(mate(3), Vector(1, 0));
        placeMe(Vector(0, 1.2f));
        place(mate(4), Vector(-1.5f, 0));
        Singleton<AgentState>::getInstance().mFallen = c.meFallen;
        ws.lastActiveWinner = 2;
        agent->strategyPosition();
        EXPECT_TRUE(ws.blockerFound);
        EXPECT_EQ(ws.passBlocker, c.blocker) << c.meFallen << c.mate3Fallen;
    }
    Singleton<AgentState>::getInstance().mFallen = false;
}

struct VoteCase {
    const char* name;
    int current;          // the election's last winner
    bool currentStanding;
    float currentDist;    // to the ball, for current (7) and candidate (6)
    float candidateDist;
    bool theyHaveIt;      // an opponent holds the ball
    int blocker;
    int vote;
};

void PrintTo(const VoteCase& c, std::ostream* os) { *os << c.name; }

class VoteTest : public DecisionTest, public ::testing::WithParamInterface<VoteCase> {};

TEST_P(VoteTest, TheCurrentActivePlayerKeepsTheVoteWhenCloseEnough)
{
    const VoteCase& c = GetParam();
    // A set play makes 6 the candidate.
    ws.setIsSetplayActive(true);
    ws.leadPlayer = 6;
    setBall(Vector(2, 0));
    place(mate(6), Vector(2 - c.candidateDist, 0));
    if (c.currentStanding)
        place(mate(7), Vector(2, c.currentDist));
    else
        placeFallen(mate(7), Vector(2, c.currentDist));
    if (c.theyHaveIt) {
        ws.closeOpp = 4;
        place(opp(4), Vector(2.5f, 0));
    }
    ws.fastestBlocker = c.blocker;
    ws.lastActiveWinner = c.current;
    agent->strategyPosition();
    EXPECT_EQ(ws.getActiveCandidate(), c.vote);
    ws.closeOpp = 2;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VoteTest,
    ::testing::Values(VoteCase{"noActivePlayer", 0, true, 3.2f, 2.8f, false, 0, 6},
                      VoteCase{"withinHalfAMetre", 7, true, 3.2f, 2.8f, false, 0, 7},
                      VoteCase{"fartherThanHalfAMetre", 7, true, 3.6f, 2.8f, false, 0, 6},
                      VoteCase{"fallenNeverKeepsIt", 7, false, 2.9f, 2.8f, false, 0, 6},
                      VoteCase{"candidateIsTheBlocker", 7, true, 3.2f, 2.8f, false, 6, 6},
                      VoteCase{"theirsAndCurrentBlocks", 7, true, 6.0f, 0.9f, true, 7, 7}),
    [](const ::testing::TestParamInfo<VoteCase>& info) { return std::string(info.param.name); });

TEST_F(DecisionTest, MyAlternativeRoleIsAttackerWhenIAmActive)
{
    ws.lastActiveWinner = MY_UNUM;
    agent->strategyPosition();
    EXPECT_EQ(ws.me->getRole().getIdAlternativeRole(), ATT);
    ws.lastActiveWinner = 3;
    agent->strategyPosition();
    EXPECT_EQ(ws.me->getRole().getIdAlternativeRole(), NO_ROLE);
}

// The goalie's SCRAM: slots 2.6 m apart on a line, everybody on its slot but
// one swapped pair.
class ScramTest : public DecisionTest {
protected:
    Vector spot(int u) { return Vector(-12 + 2.6f * (u - 1), -4); }
    void arrange(int a, int b)
    {
        const int form = strategy().GetFormation();
        for (int u = 1; u <= 11; u++) {
            strategy().StDec.FM_StrategicPos[u] = spot(u);
            Role r(u, strategy().getFormationRole(form, u));
            r.targetScram = spot(u);
            strategy().updateAgentsRole(r);
            mate(u)->setRole(r);
            place(mate(u), spot(u == a ? b : (u == b ? a : u)));
        }
    }
};

TEST_F(ScramTest, ANewAssignmentStaysOnlyWhenItSavesFiveMetres)
{
    const int form = strategy().GetFormation();
    struct Case {
        int a, b;
        bool kept;
    };
    // 4 and 7 swapped save 15 m; 4 and 5 save 2.6 + 2.6 m, which the whole
    // metres of the running sum make 4. What is not worth it stays so in the
    // next cycles too: the strategy's table keeps the old assignment as well.
    for (const Case c : {Case{4, 7, true}, Case{4, 5, false}}) {
        arrange(c.a, c.b);
        for (int cycle = 0; cycle < 3; cycle++) {
            for (int u = 1; u <= 11; u++)
                strategy().StDec.FM_StrategicPos[u] = spot(u);  // as the strategy computes them each cycle
            agent->calculateScram();
            const int role = strategy().getFormationRole(form, c.kept ? c.b : c.a);
            EXPECT_EQ(strategy().getAgentsRole(c.a).idRole, role) << c.a << c.b << " cycle " << cycle;
            EXPECT_EQ(mate(c.a)->getRole().idRole, role) << c.a << c.b << " cycle " << cycle;
            EXPECT_EQ(mate(1)->getRole().idRole, GOA);
        }
    }
}

struct MoveCase {
    const char* name;
    int playmode;
    bool goalie;
    Vector me, strategic, ball;
    bool backUp;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class FormationMoveTest : public DecisionTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(FormationMoveTest, BacksUpWhenAheadOfItsPlace)
{
    const MoveCase& c = GetParam();
    ws.game->playmode = c.playmode;
    ws.me->setRole(Role(MY_UNUM, c.goalie ? GOA : KEC));
    placeMe(c.me);
    setBall(c.ball);
    strategy().StDec.FM_StrategicPos[MY_UNUM] = c.strategic;
    const KVDAgentH::FormationMove m = agent->formationMove();
    EXPECT_EQ(m.backUp, c.backUp);
    EXPECT_FLOAT_EQ(m.target.x, c.strategic.x);
    EXPECT_FLOAT_EQ(m.target.y, c.strategic.y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormationMoveTest,
    ::testing::Values(MoveCase{"behindWalks", PLAY_ON, false, {-3, 0}, {-2, 0}, {5, 0}, false},
                      MoveCase{"aheadBacksUp", PLAY_ON, false, {-2, 0}, {-4, 0}, {5, 0}, true},
                      MoveCase{"atItsXWalks", PLAY_ON, false, {-4, 1}, {-4, 0}, {5, 0}, false},
                      MoveCase{"ballAtMyXWalks", PLAY_ON, false, {-2, 0}, {-4, 0}, {-2, 3}, false},
                      MoveCase{"nearOurGoalAreaWalks", PLAY_ON, false, {-13, 0}, {-14, 0}, {0, 0}, false},
                      MoveCase{"goalieInItsAreaBacksUp", PLAY_ON, true, {-13, 0}, {-14, 0}, {0, 0}, true},
                      MoveCase{"ourGoalKickBacksUp", QUORVEL_GOAL_KICK, false, {-2, 0}, {-4, 0}, {5, 0}, true}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST_F(DecisionTest, TheirGoalKickSendsTwoToInterceptionPoints)
{
    struct Case {
        float meDist, mate3Dist, mate9Dist;
        Vector target;
    };
    // P1 = (12.9, 2); P2 is 0.4 m to my side of it.
    const Vector s(5, 5);
    for (const Case c : {Case{4, 6, 5, Vector(12.9f, 2)}, Case{6, 7, 4, Vector(12.9f, 2.4f)},
                         Case{5, 4, 6, s}}) {
        ws.game->playmode = OPPONENT_GOAL_KICK;
        setBall(Vector(14, 2));
        strategy().StDec.FM_StrategicPos[MY_UNUM] = s;
        for (int n = 1; n <= 11; n++)
            place(mate(n), Vector(-20, 0));
        placeMe(Vector(12.9f - c.meDist, 2));
        place(mate(3), Vector(12.9f - c.mate3Dist, 2));
        place(mate(9), Vector(12.9f - c.mate9Dist, 2));
        const KVDAgentH::FormationMove m = agent->formationMove();
        EXPECT_FALSE(m.backUp);
        EXPECT_NEAR(m.target.x, c.target.x, 1e-4f) << c.meDist;
        EXPECT_NEAR(m.target.y, c.target.y, 1e-4f) << c.meDist;
    }
}

TEST_F(DecisionTest, KickOffTimesAreNotedOnlyAtTheHalvesStart)
{
    struct Case {
        float gTime;
        int playmode;
        float own, theirs;
    };
    for (const Case c : {Case{301, QUORVEL_KICKOFF, 301, -1}, Case{301.02f, QUORVEL_KICKOFF, -1, -1},
                         Case{180, OPPONENT_KICKOFF, -1, 180}, Case{250, OPPONENT_KICKOFF, -1, -1}}) {
        ws.lastQuorvelKickoff = ws.lastoppkickoff = -1;
        ws.gTime = c.gTime;
        ws.game->playmode = c.playmode;
        agent->think();
        EXPECT_FLOAT_EQ(ws.lastQuorvelKickoff, c.own) << c.gTime;
        EXPECT_FLOAT_EQ(ws.lastoppkickoff, c.theirs) << c.gTime;
    }
}


// The active player's play and the named receiver in the decision cycle.
class BallPlayDecision : public DecisionTest {
protected:
    void SetUp() override
    {
        DecisionTest::SetUp();
        ws.theirGoalPos = Vector(15, 0);
        ws.myGoalPos = Vector(-15, 0);
        ws.longKickState = false;
        ws.trajectoryDecided = false;
        ws.commPassPlayer = 0;
        Singleton<AgentState>::getInstance().mFallen = false;
        actions().currBehavior = actions().bOmniWalkZmp;
    }
    void TearDown() override
    {
        ws.longKickState = false;
        ws.trajectoryDecided = false;
        ws.commPassPlayer = 0;
        ws.me->setRole(Role());
    }

    // I hold the ball at b, the active player; every team-mate lies down.
    void holdBall(Vector b)
    {
        for (int n = 1; n <= 11; n++)
            if (n != MY_UNUM)
                placeFallen(mate(n), Vector(-12.0f + n, 9.5f));
        setBall(b);
        placeMe(b - Vector(0.3f, 0));
        ws.closeTeam = MY_UNUM;
        ws.closeOpp = 4;
        place(opp(4), Vector(14, 0));
        Role r(MY_UNUM, KEC);
        r.setIdAlternativeRole(ATT);
        ws.me->setRole(r);
    }
};

TEST_F(BallPlayDecision, TheActivePlayerCarriesShootsOrPasses)
{
    struct Case {
        const char* name;
        Vector ball;
        bool freeMate;
        int behaviour;
    };
    const Case cases[] = {
        {"far from their goal, nobody free: carry", {-1, 0}, false, StrategicBehavior::CarryBall},
        {"in our half, nobody near: clear", {-5, 0}, false, StrategicBehavior::Kicker},
        {"within a long kick of their goal: shoot", {5, 0}, false, StrategicBehavior::Kicker},
        {"a free team-mate ahead: pass", {-5, 0}, true, StrategicBehavior::PasserBall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        holdBall(c.ball);
        if (c.freeMate)
            place(mate(9), Vector(0, 3));
        agent->BehaveNormalPlayer();
        EXPECT_EQ(agent->currentBehavior, c.behaviour);
        EXPECT_EQ(ws.longKickState, c.ball.x > 0);
        if (c.behaviour == StrategicBehavior::PasserBall) {
            EXPECT_EQ(agent->passBall.getReceiver(), 9);
        }
        // Let the pass run out before the next case.
        while (agent->passBall.getDeadline() > 0)
            agent->passBall.isAvailable();
        ws.longKickState = false;
        ws.trajectoryDecided = false;
    }
}

TEST_F(BallPlayDecision, ThePassMessageNamesTheReceiverWhoWalksToThePoint)
{
    holdBall(Vector(-5, 0));
    place(mate(9), Vector(0, 3));
    ws.lastActiveWinner = MY_UNUM;
    ws.game->playmode = PLAY_ON;
    // My speaking slot; what the agent sends, read at the server's end.
    ws.cTime = 0.16f;
    static int link = -1;
    if (link < 0)
        link = ::accept(listener->fd(), nullptr, nullptr);
    ASSERT_GE(link, 0);
    auto drain = [] {
        std::string got;
        char buf[4096];
        for (ssize_t n; (n = ::recv(link, buf, sizeof buf, MSG_DONTWAIT)) > 0;)
            got.append(buf, static_cast<size_t>(n));
        return got;
    };
    drain();
    agent->think();
    ASSERT_EQ(agent->currentBehavior, StrategicBehavior::PasserBall);
    const std::string sent = drain();
    const std::string::size_type at = sent.find("(say ");
    ASSERT_NE(at, std::string::npos) << sent;
    const std::string text = sent.substr(at + 5, AgentComm::MSG_CHARS);
    AgentComm& codec = Singleton<AgentComm>::getInstance();
    ASSERT_TRUE(codec.decode(text));
    ASSERT_NE(codec.getSimpleMessage(), nullptr);
    EXPECT_EQ(codec.getSimpleMessage()->getPassPlayer(), 9);
    const Vector point = codec.getSimpleMessage()->getPassPosition();
    EXPECT_LT(point.getDistanceTo(agent->passBall.getPassTarget()), 0.5f);
    codec.deletePointers();

    // Heard by a team-mate, a support: the one named goes to the point while
    // the sender holds the ball; anybody else keeps its formation.
    while (agent->passBall.getDeadline() > 0)
        agent->passBall.isAvailable();
    for (int named : {MY_UNUM, 9}) {
        SCOPED_TRACE(named);
        ws.me->setRole(Role(MY_UNUM, SUL));
        placeMe(Vector(0, 3));
        place(mate(2), Vector(-5.3f, 0));
        ws.closeTeam = 2;
        ws.commPassPlayer = named;
        ws.passerId = 1;
        ws.commPassPosition = point;
        agent->BehaveNormalPlayer();
        EXPECT_EQ(agent->currentBehavior,
                  named == MY_UNUM ? StrategicBehavior::ReceiverBall : StrategicBehavior::Formation);
    }
}

TEST(PenaltyGoalie, LineAndClearingPoints)
{
    const Vector goal(-15, 0);
    struct Line {
        Vector ball, target;
    };
    const Line lines[] = {
        {{-10, 0.5f}, {-14.5f, 0.05f}},  // where the ball's line to our goal centre crosses x = -14.5
        {{-10, 1.4f}, {-14.5f, 0.14f}},
        {{-12, 1}, {-15, 1.0f / 6}},     // beyond 11 m the goalie stands on the line
        {{-5, 3}, {-14.5f, 0.3f}},
        {{-5, -3}, {-14.5f, -0.3f}},
        {{-12, 4}, {-14, 1.5f}},
        {{-12, -4}, {-14, -1.5f}},
        {{-15, 1.2f}, {-15, 1.2f}},      // level with the goal line: the ball's own y
        {{-15, 0}, {-15, 0}},
    };
    for (const Line& l : lines) {
        const Vector t = KVDAgentH::penaltyGoalieLinePoint(l.ball, goal);
        EXPECT_NEAR(t.x, l.target.x, 1e-4) << l.ball.x << " " << l.ball.y;
        EXPECT_NEAR(t.y, l.target.y, 1e-4) << l.ball.x << " " << l.ball.y;
    }
    struct Clear {
        Vector ball;
        bool opponentAtBall;
        Vector target;
    };
    const Clear clears[] = {
        {{-14, 1}, false, {13.2f, 1}},
        {{-14.9f, 1}, true, {13.2f, 1}},
        {{-14.9f, 1}, false, {-15, 2.5f}},
        {{-14.9f, -1}, false, {-15, -2.5f}},
        {{-14.9f, 0}, false, {-15, 2.5f}},  // the sign of 0 is +1
    };
    for (const Clear& c : clears) {
        const Vector t = KVDAgentH::penaltyClearingTarget(c.ball, c.opponentAtBall);
        EXPECT_NEAR(t.x, c.target.x, 1e-4) << c.ball.x << " " << c.ball.y;
        EXPECT_NEAR(t.y, c.target.y, 1e-4) << c.ball.x << " " << c.ball.y;
    }
    EXPECT_NEAR(KVDAgentH::crossingY(Vector(-12, 0.5f), Vector(-14, 0.7f), -15), 0.8, 1e-6);
    EXPECT_DOUBLE_EQ(KVDAgentH::crossingY(Vector(-12, 0.5f), Vector(-12, 0.7f), -15), 0.5);
}

class PenaltyTest : public DecisionTest {
protected:
    void SetUp() override
    {
        DecisionTest::SetUp();
        ws.myGoalPos = Vector(-15, 0);
        ws.theirGoalPos = Vector(15, 0);
        ws.ballEstimator = BallEstimator();
        for (int n = 1; n <= 11; n++)
            opp(n)->conf = 1;
    }
    void TearDown() override
    {
        ws.ball->speed = Vector3f(0, 0, 0);
        agent->penaltyGoalie = agent->penaltyKicker = false;
    }
    // A ball at b moving at `speed` m/s along x, coming to rest at `rest`.
    void rolling(Vector b, float speed, Vector rest)
    {
        setBall(b);
        ws.ball->speed = Vector3f(speed, 0, 0);
        ws.ballEstimator.refPos = Vector3f(rest.x, rest.y, 0.042f);
    }
};

TEST_F(PenaltyTest, TheGoalieDivesTowardsTheBallsCrossing)
{
    placeMe(Vector(-14.5f, 0));
    struct Case {
        int playmode;
        Vector ball;
        float speed;
        Vector rest;
        SlotBehavior* dive;  // null: no dive
        double prediction;
    };
    const Case cases[] = {
        {PLAY_ON, {-12, 0.5f}, -5, {-14, 0.6f}, actions().bFallRight, 0.65},
        {PLAY_ON, {-12, 0.5f}, -5, {-14, 0.4f}, actions().bGoalieHockeyDefend, 0.35},
        {PLAY_ON, {-12, -0.5f}, -5, {-14, -0.6f}, actions().bFallLeft, -0.65},
        // A path with no x travel crosses at the ball's own y.
        {PLAY_ON, {-12, 0.2f}, -5, {-12, 3}, actions().bGoalieHockeyDefend, 0.2},
        {PLAY_ON, {-12, 0.5f}, -4.5f, {-14, 0.6f}, nullptr, 0},  // too slow
        {PLAY_ON, {-8, 0.5f}, -5, {-14, 0.6f}, nullptr, 0},      // too far
        {OPPONENT_KICKOFF, {-12, 0.5f}, -5, {-14, 0.6f}, nullptr, 0},
    };
    for (const Case& c : cases) {
        ws.game->playmode = c.playmode;
        rolling(c.ball, c.speed, c.rest);
        agent->ballPrediction = 0;
        actions().currBehavior = actions().bZeroWalk;
        agent->behavePenaltyGoalie();
        if (c.dive == nullptr) {
            EXPECT_NE(actions().currBehavior, actions().bFallRight) << c.ball.x << " " << c.speed;
            EXPECT_NE(actions().currBehavior, actions().bFallLeft) << c.ball.x << " " << c.speed;
            EXPECT_NE(actions().currBehavior, actions().bGoalieHockeyDefend) << c.ball.x << " " << c.speed;
        } else {
            EXPECT_EQ(actions().currBehavior, c.dive) << c.ball.y << " " << c.rest.y;
            EXPECT_NEAR(agent->ballPrediction, c.prediction, 1e-4);
        }
    }
}

TEST_F(PenaltyTest, TheGoalieFlagWinsOverTheShooterFlagAndTheGetUpOverBoth)
{
    ws.game->playmode = PLAY_ON;
    agent->penaltyGoalie = agent->penaltyKicker = true;
    // A motion under way keeps the body: neither routine runs.
    actions().currBehavior = actions().bStop;
    actions().bStop->init();
    agent->BehaveNormalPlayer();
    EXPECT_EQ(agent->currentBehavior, StrategicBehavior::GetUp);
    actions().currBehavior = actions().bZeroWalk;
    actions().bZeroWalk->currSlot = static_cast<int>(actions().bZeroWalk->slots.size());
    agent->BehaveNormalPlayer();
    EXPECT_EQ(agent->currentBehavior, StrategicBehavior::PenaltyGoalie);
    agent->penaltyGoalie = false;
    agent->BehaveNormalPlayer();
    EXPECT_EQ(agent->currentBehavior, StrategicBehavior::PenaltyKick);
}

TEST_F(PenaltyTest, TheShooterActsOnlyInOurKickOff)
{
    agent->penaltyKicker = true;
    placeMe(Vector(-4.5f, 0));
    for (int pm : {PLAY_ON, OPPONENT_KICKOFF, QUORVEL_FREE_KICK}) {
        ws.game->playmode = pm;
        actions().currBehavior = actions().bStop;
        agent->behavePenaltyShooter();
        EXPECT_EQ(actions().currBehavior, actions().bStop) << pm;
    }
    ws.game->playmode = QUORVEL_KICKOFF;
    actions().currBehavior = actions().bZeroWalk;
    actions().bZeroWalk->currSlot = static_cast<int>(actions().bZeroWalk->slots.size());
    agent->behavePenaltyShooter();
    EXPECT_NE(actions().currBehavior, actions().bZeroWalk);
}

TEST_F(PenaltyTest, TheGoalieKicksOnlyWithRoomAndAwayFromTheShootingRange)
{
    struct Case {
        int playmode;
        Vector ball;
        Vector opponent;  // of number 3
        float conf;
        bool kicks;
    };
    const Case cases[] = {
        {QUORVEL_GOAL_KICK, {8.1f, 0}, {8.1f, 0}, 1, true},
        {PLAY_ON, {8.1f, 0}, {-1, -9.5f}, 1, false},   // 6.9 m from their goal
        {PLAY_ON, {7, 0}, {-1, -9.5f}, 1, true},       // 8 m
        {PLAY_ON, {3, 0}, {-1, -9.5f}, 1, false},      // 12 m
        {PLAY_ON, {-1, 0}, {-1, -9.5f}, 1, true},      // 16 m
        {PLAY_ON, {7, 3}, {-1, -9.5f}, 1, false},      // wide in their half
        {PLAY_ON, {-1, 0}, {-1, 2.5f}, 1, false},      // an opponent within 2.6 m
        {PLAY_ON, {-1, 0}, {-1, 2.7f}, 1, true},
        {PLAY_ON, {-1, 0}, {-1, 1}, 0.2f, true},       // one hardly seen does not count
    };
    for (const Case& c : cases) {
        ws.game->playmode = c.playmode;
        setBall(c.ball);
        place(opp(3), c.opponent);
        opp(3)->conf = c.conf;
        EXPECT_EQ(agent->isActiveKick(), c.kicks) << c.ball.x << " " << c.ball.y << " " << c.opponent.y;
    }
}

}  // namespace
