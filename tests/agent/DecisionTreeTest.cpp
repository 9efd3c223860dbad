#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <queue>
#include <string>
#include <vector>

#include "DecisionFixture.h"
#include "physics/AgentModel.h"
#include "skills/DecisionActions.h"
#include "strategy/Pass.h"
#include "world/Ball.h"
#include "world/GameState.h"

namespace {

// The action library as the tree sees it: its tests answer what the case
// says; its commands are written down.
class FakeActions : public DecisionActions {
public:
    bool getup = false, continueLong = false, directKick = false, longKick = false, clearBall = false;
    std::vector<std::string> calls;
    Vector target;  // of the last command

    bool doGetup() override { return getup; }
    void serverPass() override { calls.push_back("serverPass"); }
    bool continueLongKick() override { return continueLong; }
    bool shouldDirectKick() override { return directKick; }
    bool shouldLongKick() override { return longKick; }
    bool shouldClearBall() override { return clearBall; }
    void kickToTarget(Vector t) override { command("kick", t); }
    void dynamicKickToTarget(Vector t, bool) override { command("dynamicKick", t); }
    void moveBalltoTarg(Vector t, float, bool, bool, float) override { command("moveBall", t); }
    void gotoPointDesperate(Vector t) override { command("desperate", t); }
    void backDesperate(Vector t) override { command("back", t); }
    void goToStrategicPoint(Vector t, float, bool, bool, bool, Circle) override { command("walk", t); }

    std::string last() const { return calls.empty() ? "" : calls.back(); }

private:
    void command(const char* name, Vector t)
    {
        calls.push_back(name);
        target = t;
    }
};

// The tree of number 5 with the fake library; the goalie in its goal, the
// ball free at the centre spot.
class DecisionTreeTest : public DecisionTest {
protected:
    FakeActions fake;
    DecisionActions* real = nullptr;

    void SetUp() override
    {
        DecisionTest::SetUp();
        real = agent->actions;
        agent->actions = &fake;
        ws.myGoalPos = Vector(-15, 0);
        ws.theirGoalPos = Vector(15, 0);
        place(mate(1), Vector(-14.5f, 0));
        ws.defState->resetDefensiveMarker();
        ws.longKickState = false;
        ws.oppKickOff = false;
        agent->currentBehavior = StrategicBehavior::NoBehavior;
    }
    void TearDown() override
    {
        agent->actions = real;
        agent->penaltyGoalie = agent->penaltyKicker = false;
        agent->unum = MY_UNUM;
        ws.defState->resetDefensiveMarker();
        for (int n = 2; n <= 11; n++)
            mate(n)->setRole(Role());
    }
    void myRole(int role, int alternative = NO_ROLE)
    {
        Role r(MY_UNUM, role);
        r.setIdAlternativeRole(alternative);
        ws.me->setRole(r);
    }
    int decide()
    {
        agent->BehaveNormalPlayer();
        return agent->currentBehavior;
    }
};

TEST_F(DecisionTreeTest, GettingUpComesBeforeEverything)
{
    fake.getup = true;
    agent->penaltyGoalie = agent->penaltyKicker = true;
    myRole(DFL, ATT);
    EXPECT_EQ(decide(), StrategicBehavior::GetUp);
    EXPECT_TRUE(fake.calls.empty());
}

struct AttackerCase {
    const char* name;
    int playmode;
    Vector ball;
    bool continueLong, directKick, longKick, clearBall;
    int behavior;
    std::vector<std::string> calls;  // the fake's commands, in order
};

void PrintTo(const AttackerCase& c, std::ostream* os) { *os << c.name; }

class AttackerTest : public DecisionTreeTest, public ::testing::WithParamInterface<AttackerCase> {};

TEST_P(AttackerTest, FirstThatApplies)
{
    const AttackerCase& c = GetParam();
    // A defender elected active takes the attacker's branch.
    myRole(DFL, ATT);
    ws.game->playmode = c.playmode;
    setBall(c.ball);
    placeMe(c.ball + Vector(-3, 0));
    fake.continueLong = c.continueLong;
    fake.directKick = c.directKick;
    fake.longKick = c.longKick;
    fake.clearBall = c.clearBall;
    EXPECT_EQ(decide(), c.behavior);
    EXPECT_EQ(fake.calls, c.calls);
}

const int KEPT = StrategicBehavior::NoBehavior;

INSTANTIATE_TEST_SUITE_P(
    Cases, AttackerTest,
    ::testing::Values(
        AttackerCase{"longKickGoesOn", PLAY_ON, {0, 0}, true, true, true, true, StrategicBehavior::Kicker, {"kick"}},
        AttackerCase{"farFromTheirGoalAsksForPassModeFirst", PLAY_ON, {-1, 0}, true, false, false, false,
                     StrategicBehavior::Kicker, {"serverPass", "kick"}},
        AttackerCase{"directKickKeepsTheBehaviour", PLAY_ON, {0, 0}, false, true, true, true, KEPT, {"desperate"}},
        AttackerCase{"longKick", PLAY_ON, {0, 0}, false, false, true, true, StrategicBehavior::Kicker, {"kick"}},
        AttackerCase{"nearOurGoalLineCarries", PLAY_ON, {-12.5f, 2}, false, false, false, true,
                     StrategicBehavior::CarryBall, {"serverPass"}},
        AttackerCase{"clearBall", PLAY_ON, {0, 0}, false, false, false, true, StrategicBehavior::Kicker, {"kick"}},
        AttackerCase{"dribble", PLAY_ON, {0, 0}, false, false, false, false, StrategicBehavior::CarryBall, {}},
        AttackerCase{"ourCornerKicks", QUORVEL_CORNER_KICK, {14, 9}, false, false, false, false,
                     StrategicBehavior::Kicker, {"kick"}},
        AttackerCase{"ourKickInNearTheirGoalKicksWhileWalking", QUORVEL_KICKIN, {12, 2}, false, false, false, false,
                     StrategicBehavior::Kicker, {"dynamicKick"}}),
    [](const ::testing::TestParamInfo<AttackerCase>& info) { return std::string(info.param.name); });

TEST_F(DecisionTreeTest, DirectKickGoesOneMetreBeyondTheBall)
{
    myRole(KEC, ATT);
    setBall(Vector(2, 1));
    placeMe(Vector(-1, -3));
    fake.directKick = true;
    decide();
    EXPECT_NEAR(fake.target.x, 2.6f, 1e-4f);
    EXPECT_NEAR(fake.target.y, 1.8f, 1e-4f);
}

TEST_F(DecisionTreeTest, ThePassBlockerStandsHalfAMetreFromTheBallOnMySide)
{
    myRole(KEC);
    setBall(Vector(3, 0));
    placeMe(Vector(0, 4));
    place(opp(2), Vector(3.5f, 0));  // theirs
    ws.closeOpp = 2;
    ws.passBlocker = MY_UNUM;
    ws.lastActiveWinner = 9;
    ws.currentBehavior = StrategicBehavior::Formation;
    ASSERT_TRUE(ws.shouldPassBlock());
    EXPECT_EQ(decide(), KEPT);
    ASSERT_EQ(fake.calls, std::vector<std::string>{"walk"});
    EXPECT_NEAR(fake.target.x, 3 - 0.3f, 1e-4f);
    EXPECT_NEAR(fake.target.y, 0.4f, 1e-4f);
}

TEST_F(DecisionTreeTest, GoalieServesPassModeThenDivesOrKeepsFormation)
{
    agent->unum = 1;
    myRole(GOA);
    placeMe(Vector(-14, 0));
    EXPECT_EQ(decide(), StrategicBehavior::Formation);
    EXPECT_EQ(fake.calls.front(), "serverPass");
    // Its substitute too.
    fake.calls.clear();
    myRole(KEC, GOS);
    agent->unum = MY_UNUM;
    EXPECT_EQ(decide(), StrategicBehavior::Formation);
    EXPECT_EQ(fake.calls.front(), "serverPass");
}

// A fast ball heading for our goal makes the goalie dive, but not in our own
// set pieces: there the ball lies dead and a speed seen comes from the
// referee putting it on its spot.
TEST_F(DecisionTreeTest, TheGoalieDivesAtAShotButNotAtABallPutOnItsSpot)
{
    agent->unum = 1;
    myRole(GOA);
    placeMe(Vector(-14.5f, 0));
    struct Row {
        int playmode;
        int behaviour;
    } rows[] = {
        {PLAY_ON, StrategicBehavior::PenaltyGoalie},
        {QUORVEL_GOAL_KICK, StrategicBehavior::Formation},
        {QUORVEL_CORNER_KICK, StrategicBehavior::Formation},
    };
    for (const Row& r : rows) {
        ws.game->playmode = r.playmode;
        setBall(Vector(-11, 0));
        ws.ball->speed = Vector3f(-8, 0, 0);
        // The filtered track runs from (-10, 0) to the ball, on to our goal.
        ws.ball->filteredPosVec = std::queue<Vector3f>();
        ws.ball->filteredPosVec.push(Vector3f(-10, 0, 0));
        ws.ball->filteredPosVec.push(Vector3f(-11, 0, 0));
        EXPECT_EQ(decide(), r.behaviour) << r.playmode;
    }
}

TEST_F(DecisionTreeTest, TheNearestDefenderStandsInForAnAbsentGoalie)
{
    myRole(DFR);
    place(mate(1), Vector(-5, 0));
    placeMe(Vector(-12, 1));
    EXPECT_EQ(decide(), StrategicBehavior::GoalieSubstitute);
    EXPECT_EQ(strategy().GetStrategicPos(MY_UNUM), strategy().GetStrategicPos(1));
}

TEST_F(DecisionTreeTest, EveryRoleKeepsFormationWhenNothingElseApplies)
{
    placeMe(Vector(-6, 3));
    strategy().StDec.FM_StrategicPos[MY_UNUM] = Vector(-5, 3);
    for (int role : {DFL, DBR, KEC, KCF, SUL, NO_ROLE}) {
        myRole(role);
        fake.calls.clear();
        agent->currentBehavior = KEPT;
        EXPECT_EQ(decide(), StrategicBehavior::Formation) << role;
        EXPECT_EQ(fake.last(), "walk") << role;
    }
}

// A defensive back between our goal and their carrier, opponent 2 at the
// ball, and a risky opponent 7 near it whom I am nearest to: both the
// active and the passive test hold. The other team-mates are far away.
class DefensiveBackTest : public DecisionTreeTest {
protected:
    void scene(float ballX)
    {
        myRole(DBL);
        for (int n = 3; n <= 11; n++)
            place(mate(n), Vector(14, -9.5f + n));
        ws.game->playmode = OPPONENT_FREE_KICK;
        ws.setLastQuorvelKickoff(-100);
        mate(2)->setRole(Role(2, DBR));
        place(mate(2), Vector(-13.5f, -2));
        setBall(Vector(ballX, 0));
        place(opp(2), Vector(ballX + 0.5f, 0));
        ws.closeOpp = 2;
        placeMe(Vector(ballX - 2, 0.5f));
        strategy().StDec.FM_StrategicPos[MY_UNUM] = Vector(ballX - 2, 5);
        place(opp(7), Vector(ballX - 1, 5));
    }
};

TEST_F(DefensiveBackTest, PressesInOurQuarterShadowsFartherOut)
{
    scene(-8);  // 7 m from our goal line
    EXPECT_EQ(decide(), StrategicBehavior::ActiveMarker);
    EXPECT_TRUE(ws.defState->isActiveMarker());
    EXPECT_EQ(ws.defState->getTarget(), opp(2));
    ws.defState->resetDefensiveMarker();
    scene(-7);  // 8 m
    EXPECT_EQ(decide(), StrategicBehavior::PassiveMarker);
    EXPECT_EQ(ws.defState->getTarget(), opp(7));
    // The marking goes on in the next cycle through the record.
    EXPECT_EQ(decide(), StrategicBehavior::PassiveMarker);
}

TEST_F(DecisionTreeTest, AKeeperNearOurBallMarksOffensively)
{
    myRole(KEC);
    mate(2)->setRole(Role(2, ATT));
    setBall(Vector(5, 0));
    place(mate(2), Vector(4.6f, 0));
    ws.closeTeam = 2;
    ws.closeOpp = 11;
    placeMe(Vector(5, 3));
    place(opp(7), Vector(6, 4));
    EXPECT_EQ(decide(), StrategicBehavior::OffensiveMarker);
}

TEST_F(DecisionTreeTest, SevenAndEightShadowDuringTheirKickOffOrDoNothing)
{
    myRole(NO_ROLE);
    ws.gTime = 10;
    ws.setLastOponentKickoff(5);
    ws.oppKickOff = true;
    agent->unum = 7;
    agent->currentBehavior = StrategicBehavior::Kicker;
    EXPECT_EQ(decide(), StrategicBehavior::Kicker);  // no target: nothing at all
    EXPECT_TRUE(fake.calls.empty());
    agent->unum = 9;
    EXPECT_EQ(decide(), StrategicBehavior::Formation);
    agent->unum = 7;
    ws.game->playmode = OPPONENT_KICKOFF;
    EXPECT_EQ(decide(), StrategicBehavior::Formation);
}

TEST_F(DecisionTreeTest, KickerShootsWhileWalkingNearTheirGoalButNotFromTheCorner)
{
    struct Case {
        Vector me;
        int playmode;
        const char* call;
    };
    for (const Case c : {Case{{8.1f, 0}, PLAY_ON, "dynamicKick"}, Case{{7.9f, 0}, PLAY_ON, "kick"},
                         Case{{13, 3}, QUORVEL_CORNER_KICK, "kick"}}) {
        placeMe(c.me);
        ws.game->playmode = c.playmode;
        fake.calls.clear();
        agent->executeKicker();
        EXPECT_EQ(fake.last(), c.call) << c.me.x;
        EXPECT_EQ(fake.target, Vector(15, 0));
    }
}

TEST_F(DecisionTreeTest, APassIsKickedOnlyWhileInForce)
{
    agent->passBall.setActivePass(false);
    agent->executePass();
    EXPECT_TRUE(fake.calls.empty());
    agent->passBall.setActivePass(true);
    agent->executePass();
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.target, agent->passBall.getPassTarget());
    agent->passBall.setActivePass(false);
}

TEST_F(DecisionTreeTest, TheGoalieKicksOnlyWithTimeAndRoom)
{
    struct Case {
        Vector ball;
        int playmode, robotType;
        float oppDist, oppConf;
        bool kick;
    };
    // Their goal at (15, 0).
    for (const Case c : {Case{{8.1f, 0}, PLAY_ON, 0, 9, 1, false},     // 6.9 m
                         Case{{3, 0}, PLAY_ON, 0, 9, 1, false},        // 12 m
                         Case{{7, 0}, PLAY_ON, 0, 9, 1, true},         // 8 m
                         Case{{-1, 0}, PLAY_ON, 0, 9, 1, true},        // 16 m
                         Case{{8.1f, 0}, QUORVEL_GOAL_KICK, 4, 0.5f, 1, true},
                         Case{{7, 0}, PLAY_ON, 4, 9, 1, false},
                         Case{{7, 3}, PLAY_ON, 0, 9, 1, false},
                         Case{{-7, 3}, PLAY_ON, 0, 9, 1, true},
                         Case{{-1, 0}, PLAY_ON, 0, 2.5f, 1, false},
                         Case{{-1, 0}, PLAY_ON, 0, 2.5f, 0.2f, true}}) {
        setBall(c.ball);
        ws.game->playmode = c.playmode;
        Singleton<AgentModel>::getInstance().robotType = c.robotType;
        for (int n = 1; n <= 11; n++)
            opp(n)->conf = 0;
        place(opp(4), c.ball + Vector(0, c.oppDist));
        opp(4)->conf = c.oppConf;
        EXPECT_EQ(agent->isActiveKick(), c.kick) << c.ball.x << " " << c.ball.y << " " << c.playmode;
    }
    Singleton<AgentModel>::getInstance().robotType = 0;
}

}  // namespace
