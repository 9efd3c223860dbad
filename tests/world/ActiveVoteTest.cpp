#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "logger/LogCapture.h"
#include "world/SayTimetable.h"
#include "world/WorldState.h"

namespace {

struct Ballot {
    const char* name;
    // The vote of voter 1, 2, ... 11.
    std::vector<int> votes;
    int winner;
};

void PrintTo(const Ballot& b, std::ostream* os) { *os << b.name; }

class BallotTest : public ::testing::TestWithParam<Ballot> {};

} // namespace

TEST_P(BallotTest, ElectsTheMostVotedAndTheLowestNumberOnATie)
{
    WorldState ws;
    const Ballot& b = GetParam();
    for (int voter = 1; voter <= 11; ++voter)
        ws.updateActiveElection(b.votes[voter - 1], voter);
    ws.activeElectionWinner();
    EXPECT_EQ(ws.getCurrentActivePlayer(), b.winner);
    EXPECT_EQ(ws.countVoters(), 0);
    EXPECT_EQ(ws.activeElection.front(), std::make_pair(1, 0));
    EXPECT_EQ(ws.activeElection.back(), std::make_pair(11, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Ballots, BallotTest,
    ::testing::Values(Ballot{"clear", {5, 5, 7, 3, 3, 3, 3, 3, 3, 3, 3}, 3},
                      Ballot{"tie4and9", {9, 4, 9, 4, 2, 9, 2, 4, 9, 4, 2}, 4},
                      Ballot{"tie2and3", {1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3}, 2},
                      Ballot{"everyoneForHimself", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 1},
                      Ballot{"votesForNobodyCountNowhere", {0, 12, 16, -1, 6, 6, 0, 0, 0, 0, 0}, 6}),
    [](const ::testing::TestParamInfo<Ballot>& info) { return std::string(info.param.name); });

TEST(ActiveVote, NoElectionBeforeTheEleventhVoter)
{
    WorldState ws;
    ws.lastActiveWinner = 7;
    for (int voter = 1; voter <= 10; ++voter)
        ws.updateActiveElection(2, voter);
    ws.activeElectionWinner();
    EXPECT_EQ(ws.getCurrentActivePlayer(), 7);
    EXPECT_EQ(ws.activeElection[1], std::make_pair(2, 10));
    EXPECT_EQ(ws.countVoters(), 10);
}

TEST(ActiveVote, GoaliesFirstVoteRestartsTheBallotOnlyOnce)
{
    WorldState ws;
    ws.updateActiveElection(8, 3);
    ws.updateActiveElection(5, 1);
    EXPECT_FALSE(ws.activeVoters[3]);
    EXPECT_EQ(ws.activeElection[7].second, 0);
    EXPECT_EQ(ws.activeElection[4].second, 1);

    ws.updateActiveElection(8, 3);
    ws.updateActiveElection(9, 1);
    EXPECT_TRUE(ws.activeVoters[3]);
    EXPECT_EQ(ws.activeElection[7].second, 1);
    EXPECT_EQ(ws.activeElection[4].second, 1);
    EXPECT_EQ(ws.activeElection[8].second, 0);
    EXPECT_EQ(ws.countVoters(), 2);
}

TEST(ActiveVote, VotersOutsideTheTeamAreIgnored)
{
    WorldState ws;
    for (int voter : {0, -1, 12, 16, 1000})
        ws.updateActiveElection(4, voter);
    EXPECT_EQ(ws.countVoters(), 0);
    EXPECT_EQ(ws.activeElection[3].second, 0);
    ASSERT_EQ(ws.activeVoters.size(), 12u);
    EXPECT_FALSE(ws.activeVoters[0]);
}

// My vote of the cycle is kept for my message; it is counted, under my
// number, when the message's echo comes (the codec's test).
TEST(ActiveVote, OwnVoteIsKeptForMyMessage)
{
    WorldState ws;
    ws.setUnum(6);
    ws.resetActiveElection();
    ws.setActiveCandidate(9);
    EXPECT_EQ(ws.getActiveCandidate(), 9);
    EXPECT_FALSE(ws.activeVoters[6]);
    EXPECT_EQ(ws.activeElection[8].second, 0);
    ws.updateActiveElection(9, 6);
    EXPECT_TRUE(ws.activeVoters[6]);
    EXPECT_EQ(ws.activeElection[8].second, 1);
}

// The last slot of a turn is heard in the cycles of clock 0.44 and 0.46 (the
// cycles 22 and 23) by those who hear its first or its second message: all
// elect in the cycle of 0.48, whichever they heard. The ballot is complete
// for the first in the cycle of 0.46; the second complete it in that cycle.
TEST(ActiveVote, EveryHearerOfTheLastSlotElectsInTheSameCycle)
{
    struct Cycle {
        float clock;
        bool elected;  // after the closing of this cycle
    };
    for (int heardIn : {22, 23}) {
        WorldState ws;
        ws.lastActiveWinner = 7;
        for (int voter = 1; voter <= 10; ++voter)
            ws.updateActiveElection(4, voter);
        for (const Cycle& c : {Cycle{0.44f, false}, Cycle{0.46f, false}, Cycle{0.48f, true}}) {
            ws.cTime = c.clock;
            ws.activeElectionWinner();
            if (saytimetable::cycleOf(c.clock) == heardIn)
                ws.updateActiveElection(4, 11);
            EXPECT_EQ(ws.getCurrentActivePlayer(), c.elected ? 4 : 7) << heardIn << " at " << c.clock;
        }
    }
    // Outside that cycle a complete ballot is decided at once.
    for (float clock : {0.0f, 0.48f, 1.00f, 100.02f}) {
        WorldState ws;
        ws.cTime = clock;
        for (int voter = 1; voter <= 11; ++voter)
            ws.updateActiveElection(5, voter);
        ws.activeElectionWinner();
        EXPECT_EQ(ws.getCurrentActivePlayer(), 5) << clock;
    }
    WorldState ws;
    ws.cTime = 99.90f;  // cycle 4995, the 23rd of a turn
    for (int voter = 1; voter <= 11; ++voter)
        ws.updateActiveElection(5, voter);
    ws.activeElectionWinner();
    EXPECT_EQ(ws.getCurrentActivePlayer(), 0);
}

TEST(ActiveVote, VotecmpOrdersByVotesOnly)
{
    EXPECT_TRUE(WorldState::votecmp({3, 4}, {1, 3}));
    EXPECT_FALSE(WorldState::votecmp({1, 3}, {3, 4}));
    EXPECT_FALSE(WorldState::votecmp({2, 4}, {3, 4}));
    EXPECT_FALSE(WorldState::votecmp({3, 4}, {2, 4}));
}

TEST_F(LogFixture, BallotIsLoggedToTheLineBuffer)
{
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_DEBUG);
    WorldState ws;
    ws.updateActiveElection(2, 1);
    for (int voter = 2; voter <= 11; ++voter)
        ws.updateActiveElection(3, voter);
    drainBuffer();
    ws.updateActiveElection(4, 5);
    EXPECT_EQ(drainBuffer(), "\n");
    ws.activeElectionWinner();
    std::string out = drainBuffer();
    EXPECT_NE(out.find("VOTOS PRE SORT\n1:0\n2:1\n3:10\n"), std::string::npos) << out;
    EXPECT_NE(out.find("VOTOS POS SORT\n3:10\n2:1\n1:0\n4:0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Winner!!: 3 quant: 10\n"), std::string::npos) << out;
    EXPECT_NE(out.find("VOTOS POS RESET\n1:0\n2:0\n"), std::string::npos) << out;

    ws.updateActiveElection(6, 1);
    out = drainBuffer();
    EXPECT_EQ(out.rfind("---INICIO DA VOTAÇÃO---\nREGISTRANDO VOTO 6 DO ELEITOR 1\n1:0\n", 0), 0u)
        << out;
}

TEST_F(LogFixture, NothingIsBufferedWhileLoggingIsOff)
{
    WorldState ws;
    for (int voter = 1; voter <= 11; ++voter)
        ws.updateActiveElection(3, voter);
    ws.activeElectionWinner();
    EXPECT_EQ(drainBuffer(), "");
}
