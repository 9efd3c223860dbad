#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "utils/communication/AgentComm.h"
#include "world/WorldState.h"

namespace {

// The process's world state, put back to a known scene before every test: I
// am number 4, the ball is well known at (1, 1), no opponent is known, and
// our kick-off lies long behind.
class SpeakingTest : public ::testing::Test {
protected:
    WorldState& ws = Singleton<WorldState>::getInstance();

    void SetUp() override
    {
        ws.setUnum(4);
        ws.me->position = Vector3f(-3, 2, 0.5f);
        ws.me->orientation = 0;
        ws.me->markedOppNum = 0;
        ws.ball->position = Vector3f(1, 1, 0);
        ws.ball->conf = 1;
        for (auto& entry : ws.opponentTeam) {
            entry.second->conf = 0;
            entry.second->position = Vector3f(10, -8, 0);
        }
        ws.cTime = 0;
        ws.gTime = 100;
        ws.lastQuorvelKickoff = 0;
        ws.leadPlayer = -1;
        ws.currentSetplayStep = -1;
        ws.activeCandidate = 4;
        said();
    }

    void TearDown() override { said(); }

    // What was queued for the server since the last call, without "(say" and ")".
    static std::string said()
    {
        Actions& actions = Singleton<Actions>::getInstance();
        std::string text = actions.ss.str();
        actions.ss.str("");
        actions.ss.clear();
        if (text.size() < 6)
            return text;
        return text.substr(5, text.size() - 6);
    }

    // Builds a simple message and decodes what was said.
    const SimpleAgentMessage* speakSimple(AgentComm& comm, int passPlayer = 0,
                                          Vector passTarget = Vector(0, 0))
    {
        comm.buildSimpleMessage(passPlayer, passTarget);
        std::string heard = said();
        EXPECT_EQ(heard.size(), 20u);
        EXPECT_TRUE(comm.decode(heard)) << heard;
        return comm.getSimpleMessage();
    }
};

} // namespace

TEST_F(SpeakingTest, EachShirtNumberSpeaksInTwoCyclesOfEveryTwentyTwo)
{
    struct Slot {
        float clock;
        int speaker;
    };
    AgentComm comm;
    for (const Slot& s : {Slot{0.00f, 1}, Slot{0.02f, 1}, Slot{0.04f, 2}, Slot{0.06f, 2},
                          Slot{0.40f, 11}, Slot{0.42f, 11}, Slot{0.44f, 1}, Slot{0.48f, 2},
                          Slot{100.20f, 9}, Slot{100.26f, 10}}) {
        ws.cTime = s.clock;
        for (int n = 1; n <= 11; ++n) {
            ws.setUnum(n);
            EXPECT_EQ(comm.canCommunicate(), n == s.speaker) << s.clock << " " << n;
        }
    }
}

TEST_F(SpeakingTest, SaysSomethingOnlyInItsOwnCycles)
{
    AgentComm comm;
    ws.setUnum(2);
    ws.cTime = 0.02f;
    comm.communicationStep(0, Vector(0, 0), 2);
    EXPECT_EQ(said(), "");
    ws.cTime = 0.06f;
    comm.communicationStep(0, Vector(0, 0), 2);
    EXPECT_EQ(said().size(), 20u);
}

TEST_F(SpeakingTest, FieldPlayersSendTheSetplayMessageWhileTheyLeadTheSetplay)
{
    struct Case {
        int unum;
        int lead;
        int type;
    };
    for (const Case& c : {Case{7, 7, 3}, Case{7, 9, 0}, Case{7, -1, 0}}) {
        AgentComm comm;
        ws.setUnum(c.unum);
        ws.leadPlayer = c.lead;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(comm.getMessageType(), c.type) << c.unum << " " << c.lead;
    }
}

// Team-mates hear one message of a slot, some always the second: the
// goalkeeper opens its slots with its roles and its other message turn about,
// whatever it said before.
TEST_F(SpeakingTest, GoalieOpensEveryOtherSlotWithItsRoles)
{
    struct Cycle {
        float clock;
        bool roles;
    };
    for (int lead : {1, -1}) {
        const int other = lead == 1 ? 3 : 0;
        AgentComm comm;
        ws.setUnum(1);
        ws.leadPlayer = lead;
        for (const Cycle& c : {Cycle{0.00f, true}, Cycle{0.02f, false}, Cycle{0.02f, false}, Cycle{0.44f, false},
                               Cycle{0.46f, true}, Cycle{0.88f, true}, Cycle{0.90f, false}, Cycle{100.76f, false}}) {
            ws.cTime = c.clock;
            EXPECT_EQ(comm.getMessageType(), c.roles ? 2 : other) << lead << " at " << c.clock;
        }
    }
}

TEST_F(SpeakingTest, GoalieSendsRolesThenASimpleMessage)
{
    AgentComm comm;
    ws.setUnum(1);
    ws.me->position = Vector3f(-14, 0, 0.5f);
    ws.ostrevanda[5]->setRole(Role(5, DFL));
    ws.activeCandidate = 9;

    ws.cTime = 0;
    comm.communicationStep(0, Vector(0, 0), 1);
    ASSERT_TRUE(comm.decode(said()));
    const RoleAgentMessage* roles = comm.getRoleMessage();
    ASSERT_NE(roles, nullptr);
    EXPECT_EQ(roles->getSelfId(), 0);
    EXPECT_EQ(roles->getSelfPosition(), Vector3f(-14, 0, 1));
    EXPECT_EQ(roles->getPlayerRole(1), GOA);
    EXPECT_EQ(roles->getPlayerRole(5), DFL);
    EXPECT_EQ(roles->getActiveCandidate(), 9);
    comm.deletePointers();

    ws.cTime = 0.02f;
    comm.communicationStep(0, Vector(0, 0), 1);
    ASSERT_TRUE(comm.decode(said()));
    EXPECT_EQ(comm.getRoleMessage(), nullptr);
    ASSERT_NE(comm.getSimpleMessage(), nullptr);
    EXPECT_EQ(comm.getSimpleMessage()->getActiveCandidate(), 9);
}

// Team-mates take one team-mate message every two cycles, so of my two
// messages of a slot most hear the first: my own vote counts when the echo of
// that message comes back, the cycle they count it too.
TEST_F(SpeakingTest, MyVoteCountsWhenTheFirstMessageOfMySlotEchoes)
{
    AgentComm comm;
    ws.setUnum(2);
    ws.resetActiveElection();
    ws.activeCandidate = 7;
    ws.cTime = 0.04f;
    comm.communicationStep(0, Vector(0, 0), 2);
    const std::string first = said();
    ws.activeCandidate = 9;
    ws.me->position = Vector3f(-2, 2, 0.5f);
    ws.cTime = 0.06f;
    comm.communicationStep(0, Vector(0, 0), 2);
    const std::string second = said();
    ASSERT_EQ(first.size(), 20u);
    ASSERT_NE(second, first);
    EXPECT_FALSE(ws.activeVoters[2]) << "counted when said";

    comm.heardOwnMessage(second);
    EXPECT_FALSE(ws.activeVoters[2]) << "the second message's echo";
    comm.heardOwnMessage(first);
    EXPECT_TRUE(ws.activeVoters[2]);
    EXPECT_EQ(ws.activeElection[6].second, 1);
    EXPECT_EQ(ws.activeElection[8].second, 0);
    // Its echo counts once, even in a ballot opened after it.
    ws.resetActiveElection();
    comm.heardOwnMessage(first);
    EXPECT_FALSE(ws.activeVoters[2]);

    // A slot whose first cycle I missed: the echo of its second message counts.
    ws.cTime = 0.50f;
    comm.communicationStep(0, Vector(0, 0), 2);
    comm.heardOwnMessage(said());
    EXPECT_TRUE(ws.activeVoters[2]);
    EXPECT_EQ(ws.activeElection[8].second, 1);
}

// Of my two messages of a slot, some team-mates hear the first and others the
// second: both carry the vote of the slot's first cycle, also when the goalie
// sends roles and then a simple message. A slot whose first cycle I missed
// says the vote of its second.
TEST_F(SpeakingTest, BothMessagesOfASlotCarryTheVoteOfItsFirstCycle)
{
    struct Said {
        float clock;
        int candidate;
        int vote;
    };
    struct Case {
        int unum;
        std::vector<Said> said;
    } cases[] = {
        {2, {{0.04f, 7, 7}, {0.06f, 9, 7}, {0.48f, 9, 9}, {0.50f, 3, 9}, {0.94f, 5, 5}}},
        {1, {{0.00f, 6, 6}, {0.02f, 8, 6}, {0.44f, 8, 8}, {0.46f, 2, 8}}},
    };
    for (const Case& c : cases) {
        AgentComm comm;
        ws.setUnum(c.unum);
        for (const Said& s : c.said) {
            ws.cTime = s.clock;
            ws.activeCandidate = s.candidate;
            comm.communicationStep(0, Vector(0, 0), c.unum);
            ASSERT_TRUE(comm.decode(said())) << c.unum << " at " << s.clock;
            const AgentMessage* heard = comm.getSimpleMessage();
            if (heard == nullptr)
                heard = comm.getRoleMessage();
            ASSERT_NE(heard, nullptr);
            EXPECT_EQ(heard->getActiveCandidate(), s.vote) << c.unum << " at " << s.clock;
            comm.deletePointers();
        }
    }
}

TEST_F(SpeakingTest, BallConfidenceIsSentInFourLevels)
{
    struct Level {
        float conf;
        int code;
    };
    AgentComm comm;
    for (const Level& l : {Level{0, 0}, Level{0.3f, 1}, Level{0.45f, 2}, Level{0.5f, 3},
                           Level{0.6f, 3}, Level{1, 3}}) {
        ws.ball->conf = l.conf;
        const SimpleAgentMessage* heard = speakSimple(comm);
        ASSERT_NE(heard, nullptr);
        EXPECT_EQ(heard->getBallConfidence(), l.code) << l.conf;
    }
    const SimpleAgentMessage* heard = speakSimple(comm);
    EXPECT_EQ(heard->getBallPosition(), Vector3f(1, 1, 0));
    EXPECT_EQ(heard->getBallVelocity(), Vector3f(0, 0, 0));
    EXPECT_EQ(heard->getSelfId(), 3);
    EXPECT_EQ(heard->getSelfPosition(), Vector3f(-3, 2, 1));
    EXPECT_EQ(heard->getActiveCandidate(), 4);
}

TEST_F(SpeakingTest, ReportsOnlyConfidentOpponents)
{
    AgentComm comm;
    for (auto& entry : ws.opponentTeam)
        entry.second->conf = 0.59f;
    EXPECT_TRUE(speakSimple(comm)->getPlayersInfo().empty());

    ws.opponentTeam[7]->conf = 1;
    ws.opponentTeam[7]->position = Vector3f(6, -3, 0);
    std::vector<PlayerInfo> players = speakSimple(comm)->getPlayersInfo();
    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].id, 6);
    EXPECT_EQ(players[0].team, 1);
    EXPECT_EQ(players[0].confidence, 6);
    EXPECT_EQ(players[0].position, Vector3f(6, -3, 0));

    ws.opponentTeam[2]->conf = 0.7f;
    ws.opponentTeam[9]->conf = 0.8f;
    for (int k = 0; k < 20; ++k) {
        players = speakSimple(comm)->getPlayersInfo();
        ASSERT_EQ(players.size(), 2u);
        EXPECT_NE(players[0].id, players[1].id);
        for (const PlayerInfo& p : players)
            EXPECT_TRUE(p.id == 1 || p.id == 6 || p.id == 8) << p.id;
    }
}

TEST_F(SpeakingTest, PassMessageCarriesOneOpponentAndAClampedTarget)
{
    AgentComm comm;
    for (int n : {2, 3, 4})
        ws.opponentTeam[n]->conf = 1;
    const SimpleAgentMessage* heard = speakSimple(comm, 8, Vector(20, -12));
    EXPECT_EQ(heard->getMsgType(), 1);
    EXPECT_EQ(heard->getPlayersInfo().size(), 1u);
    EXPECT_EQ(heard->getPassPlayer(), 8);
    EXPECT_EQ(heard->getPassPosition(), Vector(13.5f, -9));
}

// Soon after our kick-off the report is drawn from the three opponents
// nearest to the ball, however well we know them.
TEST_F(SpeakingTest, AfterOurKickOffReportsOpponentsNearTheBall)
{
    AgentComm comm;
    ws.gTime = 10;
    ws.opponentTeam[5]->conf = 1;
    ws.opponentTeam[6]->conf = 1;
    ws.opponentTeam[1]->position = Vector3f(1.5f, 1, 0);
    ws.opponentTeam[2]->position = Vector3f(1, 2, 0);
    ws.opponentTeam[3]->position = Vector3f(0, 0, 0);
    std::set<int> seen;
    for (int k = 0; k < 30; ++k) {
        std::vector<PlayerInfo> players = speakSimple(comm)->getPlayersInfo();
        ASSERT_EQ(players.size(), 2u);
        EXPECT_NE(players[0].id, players[1].id);
        for (const PlayerInfo& p : players)
            seen.insert(p.id);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));
}

// The opponent I mark in a set play travels as an ordinary opponent entry.
TEST_F(SpeakingTest, MarkedOpponentIsSentAsAnOpponent)
{
    AgentComm comm;
    ws.gTime = 10;
    ws.currentSetplayStep = 2;
    ws.opponentTeam[7]->conf = 1;
    ws.opponentTeam[7]->position = Vector3f(4, 4, 0);
    for (int me : {9, 10}) {
        ws.setUnum(me);
        ws.me->markedOppNum = 7;
        std::vector<PlayerInfo> players = speakSimple(comm)->getPlayersInfo();
        ASSERT_EQ(players.size(), 1u) << me;
        EXPECT_EQ(players[0].id, 6);
        EXPECT_EQ(players[0].team, 1);
        EXPECT_EQ(players[0].confidence, 6);
        EXPECT_EQ(players[0].position, Vector3f(4, 4, 0));
    }
}

// Values beyond a field's range arrive at its nearest end, not wrapped round
// to the other end of the field.
TEST_F(SpeakingTest, OutOfRangeValuesArriveAtTheNearestEnd)
{
    AgentComm comm;
    ws.ball->position = Vector3f(-15.3f, -10.4f, 0);
    ws.me->position = Vector3f(17.5f, 11.5f, 0.5f);
    ws.me->orientation = 190;
    ws.opponentTeam[3]->conf = 1;
    ws.opponentTeam[3]->position = Vector3f(-16, 12, 0);
    const SimpleAgentMessage* heard = speakSimple(comm);
    EXPECT_EQ(heard->getBallPosition().x, -15);
    EXPECT_EQ(heard->getBallPosition().y, -10);
    EXPECT_EQ(heard->getSelfPosition().x, 16.875f);
    EXPECT_NEAR(heard->getSelfPosition().y, 127 / 6.0f - 10, 1e-5f);
    EXPECT_EQ(heard->getSelfOrientation(), -170);
    ASSERT_EQ(heard->getPlayersInfo().size(), 1u);
    EXPECT_EQ(heard->getPlayersInfo()[0].position.x, -15);
    EXPECT_NEAR(heard->getPlayersInfo()[0].position.y, 127 / 6.0f - 10, 1e-5f);

    ws.setUnum(1);
    ws.me->position = Vector3f(17.5f, 0, 0.5f);
    ws.me->orientation = -200;
    comm.buildGoalieMessage();
    ASSERT_TRUE(comm.decode(said()));
    EXPECT_EQ(comm.getRoleMessage()->getSelfPosition().x, 16.875f);
    EXPECT_EQ(comm.getRoleMessage()->getSelfOrientation(), 160);
}

TEST_F(SpeakingTest, SetplayMessageComesFromTheWorldState)
{
    AgentComm comm;
    ws.setplayId = 40;
    ws.typeSetplayMsg = 2;
    ws.currentSetplayStep = 1;
    ws.nextSetplayStep = 2;
    ws.leadPlayer = 4;
    ws.setplayParticipants = {4, 5, 6, 7, 8, 9, 10, 11, 1, 2, 3, 4, 5};
    ws.activeCandidate = 5;
    comm.buildSetplayMessage();
    ASSERT_TRUE(comm.decode(said()));
    const SetplayAgentMessage* heard = comm.getSetplayMessage();
    ASSERT_NE(heard, nullptr);
    EXPECT_EQ(heard->getSetplayId(), 31);
    EXPECT_EQ(heard->getSetplayMessage(), 2);
    EXPECT_EQ(heard->getCurrentStep(), 1);
    EXPECT_EQ(heard->getNextStep(), 2);
    EXPECT_EQ(heard->getLeadPlayer(), 4);
    EXPECT_EQ(heard->getNumPlayers(), 11);
    EXPECT_EQ(heard->getPlayersParticipants(),
              (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 1, 2, 3}));
    EXPECT_EQ(heard->getActiveCandidate(), 5);
    ws.setplayId = -1;
    ws.setplayParticipants.clear();
}
