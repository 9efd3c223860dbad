#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "utils/communication/AgentComm.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

// Printable form of a heard string for failure messages.
std::string shown(const std::string& s)
{
    std::ostringstream out;
    for (unsigned char c : s) {
        if (c >= 0x21 && c <= 0x7E)
            out << c;
        else
            out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
    }
    return out.str();
}

bool isShirt(int n) { return n >= 1 && n <= 11; }

bool onTheWire(const Vector3f& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && p.x >= -15 && p.x <= 16.875f &&
           p.y >= -10 && p.y <= 11.17f;
}

// Everything a decoded object may carry, whatever was heard.
void checkDecoded(const AgentComm& comm, const std::string& heard)
{
    if (const SimpleAgentMessage* m = comm.getSimpleMessage()) {
        ASSERT_TRUE(m->getMsgType() == 0 || m->getMsgType() == 1) << shown(heard);
        std::vector<PlayerInfo> players = m->getPlayersInfo();
        ASSERT_LE(players.size(), m->getMsgType() == 1 ? 1u : 2u) << shown(heard);
        for (const PlayerInfo& p : players) {
            ASSERT_TRUE(p.id >= 0 && p.id <= 15 && (p.team == 0 || p.team == 1)) << shown(heard);
            ASSERT_TRUE(p.confidence >= 0 && p.confidence <= 7) << shown(heard);
            ASSERT_TRUE(onTheWire(p.position)) << shown(heard);
        }
        ASSERT_TRUE(onTheWire(m->getBallPosition())) << shown(heard);
        ASSERT_TRUE(onTheWire(m->getSelfPosition())) << shown(heard);
        ASSERT_TRUE(m->getActiveCandidate() >= 1 && m->getActiveCandidate() <= 16);
    }
    if (const RoleAgentMessage* m = comm.getRoleMessage()) {
        ASSERT_EQ(m->getRolesList().size(), 11u) << shown(heard);
        ASSERT_TRUE(onTheWire(m->getSelfPosition())) << shown(heard);
    }
    if (const SetplayAgentMessage* m = comm.getSetplayMessage()) {
        ASSERT_LE(m->getNumPlayers(), 11) << shown(heard);
        ASSERT_EQ(m->getPlayersParticipants().size(), static_cast<std::size_t>(m->getNumPlayers()));
        ASSERT_TRUE(isShirt(m->getLeadPlayer())) << shown(heard);
        ASSERT_TRUE(m->getSetplayId() >= -32 && m->getSetplayId() <= 31) << shown(heard);
    }
}

// What the world state may hold after any merge.
void checkWorld(const WorldState& ws, const Vector3f& myPosition, float myOrientation,
                const std::string& heard)
{
    ASSERT_EQ(ws.ostrevanda.size(), 11u) << shown(heard);
    ASSERT_EQ(ws.opponentTeam.size(), 11u) << shown(heard);
    ASSERT_EQ(ws.activeVoters.size(), 12u) << shown(heard);
    ASSERT_EQ(ws.activeElection.size(), 11u) << shown(heard);
    ASSERT_FALSE(ws.activeVoters[0]) << shown(heard);
    int votes = 0;
    for (const auto& entry : ws.activeElection)
        votes += entry.second;
    ASSERT_LE(votes, 11) << shown(heard);
    ASSERT_TRUE(ws.lastActiveWinner >= 0 && ws.lastActiveWinner <= 11) << shown(heard);
    ASSERT_TRUE(ws.commPassPlayer == 0 || isShirt(ws.commPassPlayer)) << shown(heard);
    ASSERT_TRUE(ws.passerId >= 0 && ws.passerId <= 10) << shown(heard);
    ASSERT_TRUE(ws.leadPlayer == -1 || isShirt(ws.leadPlayer)) << shown(heard);
    for (int n : ws.setplayParticipants)
        ASSERT_TRUE(isShirt(n)) << shown(heard);
    for (const auto& entry : ws.ostrevanda) {
        int role = entry.second->getRole().getIdRole();
        ASSERT_TRUE(role >= 0 && role <= 13) << shown(heard);
        ASSERT_TRUE(std::isfinite(entry.second->position.x)) << shown(heard);
    }
    ASSERT_EQ(ws.me->position, myPosition) << shown(heard);
    ASSERT_EQ(ws.me->orientation, myOrientation) << shown(heard);
}

} // namespace

// Opponents hear and speak on our channel: random and mutated 20-character
// strings must decode to sound objects or to nothing, and merge without
// touching anything outside the team.
TEST(TeamMessageFuzz, HeardGarbageDecodesSafelyAndMergesInsideTheTeam)
{
    AgentComm comm;
    WorldState ws;
    ws.setUnum(5);
    ws.me->position = Vector3f(-3, 0, 0.5f);
    ws.me->orientation = 45;
    ws.me->conf = 0.1f;
    const Vector3f myPosition = ws.me->position;

    // Well-formed messages of every kind to mutate.
    std::vector<std::string> seeds;
    {
        SimpleAgentMessage simple(1);
        simple.setSelfId(2);
        simple.setBallPosition(Vector3f(3, -4, 0));
        simple.setBallConfidence(7);
        PlayerInfo p;
        p.id = 6;
        p.team = 1;
        p.confidence = 7;
        simple.addPlayerInfo(p);
        simple.setPassPlayer(9);
        simple.setActiveCandidate(9);
        seeds.push_back(comm.encodeSimpleMessage(simple));
        simple.setMsgType(0);
        simple.addPlayerInfo(p);
        seeds.push_back(comm.encodeSimpleMessage(simple));
        RoleAgentMessage roles(2);
        for (int n = 1; n <= 11; ++n)
            roles.addPlayerRole(n, n);
        seeds.push_back(comm.encodeGoalieMessage(roles));
        SetplayAgentMessage setplay(3);
        setplay.setSetplayId(4);
        setplay.setCurrentStep(1);
        setplay.setNextStep(2);
        setplay.setLeadPlayer(7);
        setplay.setPlayersParticipants({7, 8, 9});
        setplay.setNumPlayers(3);
        seeds.push_back(comm.encodeSetplayMessage(setplay));
    }

    std::mt19937 rng(20240611u);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> alphabet(0, 89);
    const std::string heads = "EFGH";

    std::ostringstream swallowed;
    std::streambuf* cerrBuf = std::cerr.rdbuf(swallowed.rdbuf());

    const int rounds = 200000;
    int decodedByType[4] = {0, 0, 0, 0};
    for (int round = 0; round < rounds; ++round) {
        std::string heard;
        switch (round % 4) {
        case 0: // any bytes behind a valid header character
            heard.assign(20, '0');
            heard[0] = heads[rng() % 4];
            for (int k = 1; k < 20; ++k)
                heard[k] = static_cast<char>(byte(rng));
            break;
        case 1: // alphabet characters only
            heard.assign(20, '0');
            heard[0] = heads[rng() % 4];
            for (int k = 1; k < 20; ++k)
                heard[k] = AgentComm::allowed[alphabet(rng)];
            break;
        case 2: { // a well-formed message with a few characters changed
            heard = seeds[rng() % seeds.size()];
            int changes = 1 + rng() % 4;
            for (int c = 0; c < changes; ++c) {
                int at = 1 + rng() % 19;
                heard[at] = rng() % 2 ? AgentComm::allowed[alphabet(rng)]
                                      : static_cast<char>(byte(rng));
            }
            break;
        }
        default: // wrong lengths and headers
            heard.assign(18 + rng() % 5, '0');
            for (char& c : heard)
                c = static_cast<char>(byte(rng));
            break;
        }

        if (comm.decode(heard))
            ++decodedByType[comm.messageType];
        checkDecoded(comm, heard);
        if (HasFatalFailure())
            break;

        MessageParser::mergeHeardMessage(ws, comm);
        if (round % 7 == 0)
            ws.activeElectionWinner();

        checkWorld(ws, myPosition, 45, heard);
        if (HasFatalFailure())
            break;
    }
    std::cerr.rdbuf(cerrBuf);

    // Every decoder was reached many times.
    for (int type = 0; type < 4; ++type)
        EXPECT_GT(decodedByType[type], 1000) << type;
}
