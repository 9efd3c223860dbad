#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "strategy/BehaveCatchBall.h"
#include "strategy/BehaveGoalieSubstitute.h"
#include "strategy/BehaveMarker.h"
#include "strategy/StrategicBehavior.h"
#include "world/QueryWorld.h"

namespace {

TEST(StrategicBehaviorNames, OnlyTheTacticalCodesHaveNames)
{
    const std::vector<std::pair<int, std::string> > cases = {
        {-1, "No Behavior"}, {0, "No Behavior"},    {1, "No Behavior"}, {3, "No Behavior"},
        {4, "Setplayer"},    {9, "Formation"},      {10, "GoalieSubstitute"},
        {16, "PassBlocker"}, {17, "GoalKickMarking"}, {18, "No Behavior"}};
    for (const auto& c : cases)
        EXPECT_EQ(StrategicBehavior::toString(c.first), c.second) << c.first;
}

// One case of the active player's eligibility: the world around the ball,
// the world model's assignments and whom we ask about.
struct Eligibility {
    const char* name;
    int playmode;
    Vector ball;
    std::vector<std::pair<int, Vector> > mates;  // moved team-mates
    int closeTeam, carrier, carrier2, blocker, blocker2;
    int unum;
    bool eligible;
};

void PrintTo(const Eligibility& c, std::ostream* os) { *os << c.name; }

class EligibilityTest : public QueryWorld, public ::testing::WithParamInterface<Eligibility> {};

TEST_P(EligibilityTest, FirstRuleThatDecides)
{
    const Eligibility& c = GetParam();
    ws.game->playmode = c.playmode;
    setBall(c.ball);
    for (const auto& m : c.mates)
        place(mate(m.first), m.second);
    ws.closeTeam = c.closeTeam;
    ws.fastestCarrier = c.carrier;
    ws.fastestCarrier2 = c.carrier2;
    ws.fastestBlocker = c.blocker;
    ws.fastestBlocker2 = c.blocker2;
    BehaveCatchBall rules(&ws, nullptr);
    EXPECT_EQ(rules.isActiveAvailable(c.unum, 2), c.eligible);
}

const Vector kArea(-14, 0);  // inside our goal area

INSTANTIATE_TEST_SUITE_P(
    Rules, EligibilityTest,
    ::testing::Values(
        // 1, 2: the goalie
        Eligibility{"goalieStaysHomeWhenBallIsFar", PLAY_ON, {0, 0}, {}, 1, 1, 0, 1, 0, 1, false},
        Eligibility{"goalieTakesTheBallInItsArea", PLAY_ON, kArea, {{1, {-14, 0.5f}}}, 4, 1, 0, 0, 0, 1, true},
        // 3, 4: our set pieces
        Eligibility{"cornerBlocker", QUORVEL_CORNER_KICK, {14, 9}, {}, 2, 0, 0, 6, 0, 6, true},
        Eligibility{"cornerCloseTeamOnlyWithoutBlocker", QUORVEL_CORNER_KICK, {14, 9}, {}, 2, 0, 0, 6, 0, 2,
                    false},
        Eligibility{"cornerCloseTeam", QUORVEL_CORNER_KICK, {14, 9}, {}, 2, 0, 0, 0, 0, 2, true},
        Eligibility{"kickInCarrierWithoutBlocker", QUORVEL_KICKIN, {5, 10}, {}, 2, 7, 0, 0, 0, 7, true},
        Eligibility{"kickInNotCloseTeamWhileCarrier", QUORVEL_FREE_KICK, {5, 5}, {}, 2, 7, 0, 0, 0, 2, false},
        // 5: the ball in our goal area
        Eligibility{"areaCarrier", PLAY_ON, kArea, {}, 2, 4, 0, 0, 0, 4, true},
        Eligibility{"areaBlockerWithoutCarrier", PLAY_ON, kArea, {}, 2, 0, 0, 6, 0, 6, true},
        Eligibility{"ourGoalKickIsTheGoalies", QUORVEL_GOAL_KICK, kArea, {{1, {-14.5f, 0}}}, 2, 1, 0, 0, 0, 1, true},
        Eligibility{"ourGoalKickNotTheCarriers", QUORVEL_GOAL_KICK, kArea, {{1, {-14.5f, 0}}}, 2, 4, 0, 0, 0, 4,
                    false},
        // 6: we have the ball
        Eligibility{"oursCloseCarrier", PLAY_ON, {0, 0}, {{2, {0.5f, 0}}}, 2, 2, 0, 0, 0, 2, true},
        Eligibility{"oursSecondCarrierNearerThanOpponent", PLAY_ON, {0, 0}, {{2, {0.5f, 0}}, {6, {1.5f, 0}}}, 2,
                    2, 6, 0, 0, 6, true},
        Eligibility{"oursOthersStay", PLAY_ON, {0, 0}, {{2, {0.5f, 0}}}, 2, 2, 6, 0, 0, 9, false},
        // 7: theirs or nobody's
        Eligibility{"looseCloseBlocker", PLAY_ON, {0, 0}, {}, 2, 0, 0, 2, 0, 2, true},
        Eligibility{"looseOurHalfSecondBlocker", PLAY_ON, {0, 0}, {}, 2, 0, 0, 6, 8, 8, true},
        Eligibility{"looseTheirHalfSecondBlockerNot", PLAY_ON, {5, 0}, {}, 2, 0, 0, 6, 8, 8, false},
        Eligibility{"looseFarBlockerLeavesItToCloseTeam", PLAY_ON, {5, 0}, {{2, {3.5f, 1.5f}}}, 2, 0, 0, 9, 0, 2,
                    true},
        Eligibility{"looseNoBlockerCloseTeam", PLAY_ON, {5, 0}, {}, 2, 0, 0, 0, 0, 2, true},
        Eligibility{"looseNoBlockerOthersNot", PLAY_ON, {5, 0}, {}, 2, 0, 0, 0, 0, 3, false}),
    [](const ::testing::TestParamInfo<Eligibility>& info) { return std::string(info.param.name); });

class CatchBallTest : public QueryWorld {
protected:
    void TearDown() override
    {
        ws.setIsSetplayActive(false);
        ws.fastestCarrier = ws.fastestCarrier2 = ws.fastestBlocker = ws.fastestBlocker2 = 0;
        ws.lastActiveWinner = 0;
    }
};

TEST_F(CatchBallTest, ASetPlayVotesForItsLeadPlayer)
{
    ws.setIsSetplayActive(true);
    ws.leadPlayer = 9;
    BehaveCatchBall rules(&ws, nullptr);
    EXPECT_EQ(rules.selectActiveCandidate(2), 9);
    EXPECT_EQ(rules.lastPlayMode, PLAY_ON);
}

TEST_F(CatchBallTest, TwoBlockersAtOneDistance)
{
    // Both blockers are eligible in our half, 2 m from the ball.
    place(mate(6), Vector(0, 2));
    place(mate(4), Vector(0, -2));
    ws.fastestBlocker = 6;
    ws.fastestBlocker2 = 4;
    struct Case {
        int playmode, vote;
    };
    for (const Case c : {Case{QUORVEL_KICKOFF, 4}, Case{PLAY_ON, 6}}) {
        ws.game->playmode = c.playmode;
        BehaveCatchBall rules(&ws, nullptr);
        EXPECT_EQ(rules.selectActiveCandidate(2), c.vote) << c.playmode;
        EXPECT_EQ(rules.closeCand, 4);
        EXPECT_EQ(rules.closeCand2, 6);
    }
}

TEST_F(CatchBallTest, WithoutCandidatesTheNearestTwoDecideByFacing)
{
    // Our corner kick whose blocker is the goalie, far from its goal: nobody.
    ws.game->playmode = QUORVEL_CORNER_KICK;
    ws.fastestBlocker = 1;
    struct Case {
        float mate3y, mate2orientation;
        int vote;
    };
    // Team-mate 3 faces the ball; 2 faces 90 or 30 degrees away from it.
    for (const Case c : {Case{-3.5f, 0, 3}, Case{-4.5f, 0, 3}, Case{-4.5f, -60, 2}}) {
        place(mate(2), Vector(0, 3));
        mate(2)->orientation = c.mate2orientation;
        place(mate(3), Vector(0, c.mate3y));
        mate(3)->orientation = 90;
        BehaveCatchBall rules(&ws, nullptr);
        EXPECT_EQ(rules.selectActiveCandidate(2), c.vote) << c.mate3y << " " << c.mate2orientation;
    }
}

TEST_F(CatchBallTest, AmIActive)
{
    BehaveCatchBall rules(&ws, nullptr);
    ws.closeTeam = MY_UNUM;
    EXPECT_TRUE(rules.isActiveAvailable());
    EXPECT_EQ(ws.cor, 2);
    ws.lastActiveWinner = 7;
    EXPECT_FALSE(rules.isActiveAvailable());
    EXPECT_EQ(ws.cor, 1);
    ws.lastActiveWinner = MY_UNUM;
    ws.closeTeam = 2;
    EXPECT_TRUE(rules.isActiveAvailable());
}

TEST_F(CatchBallTest, StayActiveHysteresis)
{
    BehaveCatchBall rules(&ws, nullptr);
    rules.selectActiveCandidate(2);  // fixes lastPlayMode at PLAY_ON
    rules.active = true;
    EXPECT_TRUE(rules.shouldStayActive());
    rules.actState.closeT = true;  // tied to being closeTeam, which I am not
    EXPECT_FALSE(rules.shouldStayActive());
    EXPECT_FALSE(rules.active);
    EXPECT_FALSE(rules.actState.closeT);
    ws.game->playmode = PASS_QUORVEL;  // a pass mode keeps it
    EXPECT_TRUE(rules.shouldStayActive());
    ws.game->playmode = QUORVEL_KICKIN;
    EXPECT_FALSE(rules.shouldStayActive());
    EXPECT_TRUE(rules.active);
}

class GoalieSubstituteTest : public QueryWorld {
protected:
    Vector goal;
    void SetUp() override
    {
        QueryWorld::SetUp();
        const Vector3f c = ws.getBackCenterGoal();
        goal = Vector(c.x, c.y);
        for (int n = 2; n <= 11; n++)
            mate(n)->setRole(Role(n <= 5 ? n : KEC));  // 2 to 5 are the defenders
        place(mate(4), goal + Vector(6, 1));
        place(mate(5), goal + Vector(5, -1));  // me, the nearest defender
    }
    void TearDown() override
    {
        for (int n = 1; n <= 11; n++)
            mate(n)->setRole(n == 1 ? Role(GOA) : Role());
    }
    // Asks as team-mate 5, a defender.
    bool ask(int playmode, float goalieOut)
    {
        ws.game->playmode = playmode;
        place(mate(1), goal + Vector(goalieOut, 0));
        BehaveGoalieSubstitute sub(&ws, nullptr);
        return sub.isAvailable();
    }
};

TEST_F(GoalieSubstituteTest, TheNearestDefenderStandsInForAnAbsentGoalie)
{
    EXPECT_FALSE(ask(PLAY_ON, 3.4f));
    EXPECT_EQ(mate(5)->getRole().getIdAlternativeRole(), NO_ROLE);
    EXPECT_TRUE(ask(PLAY_ON, 3.6f));
    EXPECT_EQ(mate(5)->getRole().getIdAlternativeRole(), GOS);
    mate(5)->setRole(Role(5, DFR));
    place(mate(4), goal + Vector(5, 1));  // as near as I am, lower number
    EXPECT_FALSE(ask(PLAY_ON, 3.6f));
    mate(5)->setRole(Role(5, KEC));
    place(mate(4), goal + Vector(8, 1));
    EXPECT_FALSE(ask(PLAY_ON, 3.6f));  // not a defender
}

TEST_F(GoalieSubstituteTest, AttackersNeverAndOurGoalKickOnlyByDistance)
{
    Role attacker(5, DFR);
    attacker.setIdAlternativeRole(ATT);
    mate(5)->setRole(attacker);
    EXPECT_FALSE(ask(PLAY_ON, 6));
    mate(5)->setRole(Role(5, DFR));
    place(mate(4), goal + Vector(2, 1));  // nearer than me: no matter at a goal kick
    EXPECT_TRUE(ask(QUORVEL_GOAL_KICK, 3.6f));
    EXPECT_EQ(mate(5)->getRole().getIdAlternativeRole(), NO_ROLE);
    EXPECT_FALSE(ask(QUORVEL_GOAL_KICK, 3.4f));
}

TEST_F(GoalieSubstituteTest, DefendersBeyondTheCentreAreNeverChosen)
{
    for (int n = 2; n <= 5; n++)
        place(mate(n), Vector(5, (float)n));
    EXPECT_FALSE(ask(PLAY_ON, 6));
}

TEST(Marker, NeverAppliesAndDoesNothing)
{
    BehaveMarker marker(&Singleton<WorldState>::getInstance(), nullptr);
    EXPECT_FALSE(marker.isAvailable());
    marker.executeBehavior();
}

}  // namespace
