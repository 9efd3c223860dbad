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
    // 4 and 7 swapped save 14 m; 4 and 5 save 2.6 + 2.6 m, which the whole
    // metres of the running sum make 4.
    for (const Case c : {Case{4, 7, true}, Case{4, 5, false}}) {
        arrange(c.a, c.b);
        agent->calculateScram();
        EXPECT_EQ(strategy().getAgentsRole(c.a).idRole, strategy().getFormationRole(form, c.b));
        const int held = mate(c.a)->getRole().idRole;
        EXPECT_EQ(held, strategy().getFormationRole(form, c.kept ? c.b : c.a)) << c.a << c.b;
        EXPECT_EQ(mate(1)->getRole().idRole, GOA);
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
        {"far from their goal, nobody free: carry", {-5, 0}, false, StrategicBehavior::CarryBall},
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
        EXPECT_EQ(ws.longKickState, c.behaviour == StrategicBehavior::Kicker);
        if (c.behaviour == StrategicBehavior::PasserBall) {
            EXPECT_EQ(agent->passBall->getReceiver(), 9);
        }
        // Let the pass run out before the next case.
        while (agent->passBall->getDeadline() > 0)
            agent->passBall->isAvailable();
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
        link = ::accept(listenFd, nullptr, nullptr);
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
    EXPECT_LT(point.getDistanceTo(agent->passBall->getPassTarget()), 0.5f);
    codec.deletePointers();

    // Heard by a team-mate: the one named goes to the point while the sender
    // holds the ball; anybody else keeps its formation.
    while (agent->passBall->getDeadline() > 0)
        agent->passBall->isAvailable();
    for (int named : {MY_UNUM, 9}) {
        SCOPED_TRACE(named);
        ws.me->setRole(Role(MY_UNUM, KEC));
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

}  // namespace
