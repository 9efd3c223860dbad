// Replays the messages that real server runs sent to one agent each, through
// the perceptor parser and the world update, and checks the world after every
// message: finite values, play mode and game time as sent, and the agent
// standing where it was beamed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "utils/TestPaths.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

// What the agent of one capture sent: team, shirt number, robot type, beam.
struct Agent {
    std::string team;
    int unum = 0;
    int robotType = 0;
    double beamX = 0;
    double beamY = 0;
    double beamAngle = 0;
    bool beamed = false;
};

// The number after key in text, or fallback.
double numberAfter(const std::string& text, const std::string& key, double fallback)
{
    std::string::size_type at = text.find(key);
    if (at == std::string::npos)
        return fallback;
    return std::strtod(text.c_str() + at + key.size(), nullptr);
}

Agent readSentLog(const std::string& path)
{
    Agent a;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::string::size_type at;
        if ((at = line.find("(scene ")) != std::string::npos) {
            std::string::size_type rsg = line.find(".rsg", at);
            if (rsg != std::string::npos && line[rsg + 4] == ' ')
                a.robotType = std::atoi(line.c_str() + rsg + 5);
        }
        if (line.find("(init ") != std::string::npos) {
            a.unum = static_cast<int>(numberAfter(line, "(unum ", 0));
            at = line.find("(teamname ");
            if (at != std::string::npos) {
                at += 10;
                a.team = line.substr(at, line.find(')', at) - at);
            }
        }
        if (!a.beamed && (at = line.find("(beam ")) != std::string::npos) {
            const char* p = line.c_str() + at + 6;
            char* end;
            a.beamX = std::strtod(p, &end);
            a.beamY = std::strtod(end, &end);
            a.beamAngle = std::strtod(end, &end);
            a.beamed = true;
        }
    }
    return a;
}

bool finite(const Vector3f& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

struct Capture {
    const char* name;
    // Messages from this index on are checked against the beam: the robot
    // has dropped into place.
    size_t settled;
    // Messages from this index on are not: the monitor moved the agent.
    size_t movedAt;
    // Whether the agent sees enough landmarks to localise itself.
    bool localises;
};

void PrintTo(const Capture& c, std::ostream* os) { *os << c.name; }

class CaptureReplay : public ::testing::TestWithParam<Capture> {};

TEST_P(CaptureReplay, WorldStaysSaneAndTheBeamedPoseIsRecovered)
{
    const Capture& cap = GetParam();
    const std::string dir = testpaths::capturesDir();
    std::ifstream in(dir + "/" + cap.name + ".log");
    ASSERT_TRUE(in.good()) << dir << "/" << cap.name << ".log";
    Agent agent = readSentLog(dir + "/" + cap.name + ".sent.log");
    ASSERT_TRUE(agent.beamed);
    ASSERT_FALSE(agent.team.empty());

    static const char* const BODIES[5] = {"nao.xml", "nao1.xml", "nao2.xml", "nao3.xml",
                                          "nao4.xml"};
    ASSERT_GE(agent.robotType, 0);
    ASSERT_LE(agent.robotType, 4);
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(std::string(QV_DATA_DIR) + "/" + BODIES[agent.robotType]);

    WorldState& ws = Singleton<WorldState>::getInstance();
    MessageParser parser;
    ws.setUnum(agent.unum);
    ws.setTeam(agent.team);

    // The world state's field frame is the server's team frame mirrored in y.
    const double wantX = agent.beamX;
    const double wantY = -agent.beamY;
    const double wantHeading = -agent.beamAngle;
    const bool groundTruth = std::string(cap.name) == "gt_single_agent";

    std::string line;
    size_t index = 0;
    int checked = 0;
    double sumErr = 0, maxErr = 0, sumTurn = 0, maxTurn = 0, maxTruthErr = 0;
    while (std::getline(in, line)) {
        unsigned cycleBefore = ws.cycle;
        parser.parseMessage(line);
        SCOPED_TRACE(std::string(cap.name) + " message " + std::to_string(index));

        ASSERT_EQ(ws.cycle, cycleBefore + 1);
        EXPECT_GE(ws.game->playmode, 0);
        EXPECT_LE(ws.game->playmode, 16);
        EXPECT_FLOAT_EQ(ws.gTime, static_cast<float>(numberAfter(line, "(t ", -1)));
        EXPECT_FLOAT_EQ(ws.cTime, static_cast<float>(numberAfter(line, "(now ", -1)));

        ASSERT_TRUE(finite(ws.me->position));
        ASSERT_TRUE(std::isfinite(ws.me->orientation));
        ASSERT_TRUE(finite(ws.ball->position));
        ASSERT_TRUE(finite(ws.ball->finalPos));
        ASSERT_TRUE(finite(ws.ball->speed));
        ASSERT_TRUE(finite(ws.lFootPos));
        for (float v : {ws.ballDistance, ws.ballGlobalDir, ws.ballRelDir, ws.theirGoalDist,
                        ws.theirGoalRelDir, ws.myGoalRelDir, ws.ballRelDirLFoot,
                        ws.ballRelDirCFoot, ws.closeTeamDist, ws.closeOppDist,
                        ws.fastestTeamTime})
            ASSERT_TRUE(std::isfinite(v));
        for (const std::map<int, Player*>* team : {&ws.ostrevanda, &ws.opponentTeam})
            for (const auto& entry : *team) {
                ASSERT_TRUE(finite(entry.second->position)) << entry.first;
                ASSERT_GE(entry.second->conf, 0);
                ASSERT_LE(entry.second->conf, 1);
            }
        ASSERT_GE(ws.me->conf, 0);
        ASSERT_LE(ws.me->conf, 1);
        ASSERT_GE(ws.ball->conf, 0);
        ASSERT_LE(ws.ball->conf, 1);
        ASSERT_GE(ws.pressure, 0);
        ASSERT_LE(ws.pressure, 5);

        if (index >= cap.settled && index < cap.movedAt && ws.isVisionCycle()) {
            double err = std::hypot(ws.me->position.x - wantX, ws.me->position.y - wantY);
            double turn = std::fabs(GetNormalizeAngleDeg(
                static_cast<float>(ws.me->orientation - wantHeading)));
            sumErr += err;
            sumTurn += turn;
            maxErr = std::max(maxErr, err);
            maxTurn = std::max(maxTurn, turn);
            ++checked;
            if (groundTruth) {
                // The server's own camera position, in the team frame.
                double truth = std::hypot(ws.me->position.x - ws.myPosFromMessage.x,
                                          ws.me->position.y + ws.myPosFromMessage.y);
                maxTruthErr = std::max(maxTruthErr, truth);
            }
        }
        ++index;
    }

    if (!cap.localises) {
        // Nothing but lines in view: the pose stays unknown.
        EXPECT_EQ(checked, 0);
        return;
    }
    ASSERT_GT(checked, 5);
    std::printf("%-18s localised %3d times: position error mean %.3f max %.3f m, "
                "heading error mean %.2f max %.2f deg\n",
                cap.name, checked, sumErr / checked, maxErr, sumTurn / checked, maxTurn);
    // Beam noise is up to 0.05 m and 10 degrees.
    EXPECT_LT(maxErr, 0.3);
    EXPECT_LT(maxTurn, 12);
    if (groundTruth) {
        std::printf("%-18s largest distance to the server's own position %.4f m\n", cap.name,
                    maxTruthErr);
        EXPECT_LT(maxTruthErr, 0.02);
    }
}

const size_t NEVER = 1000000;

INSTANTIATE_TEST_SUITE_P(
    Captures, CaptureReplay,
    ::testing::Values(Capture{"single_agent", 10, NEVER, true}, Capture{"gt_single_agent", 10, NEVER, true},
                      Capture{"multi_A1", 10, NEVER, true}, Capture{"multi_A2", 10, NEVER, false},
                      Capture{"multi_B1", 10, NEVER, true}, Capture{"crowd_A1", 10, NEVER, true},
                      Capture{"crowd_A2", 10, NEVER, true}, Capture{"crowd_A3", 10, NEVER, true},
                      Capture{"crowd_A4", 10, NEVER, true}, Capture{"crowd_A5", 10, NEVER, true},
                      Capture{"crowd_A6", 10, NEVER, true}, Capture{"crowd_A7", 10, NEVER, true},
                      Capture{"crowd_A8", 10, NEVER, true}, Capture{"crowd_A9", 10, NEVER, true},
                      Capture{"crowd_A10", 10, NEVER, true}, Capture{"crowd_A11", 10, NEVER, true},
                      Capture{"crowd_B1", 10, NEVER, true}, Capture{"crowd_B2", 10, NEVER, true},
                      Capture{"monitor_agent_A1", 10, 75, true},
                      Capture{"monitor_agent_B1", 10, 215, true}),
    [](const ::testing::TestParamInfo<Capture>& info) { return std::string(info.param.name); });

} // namespace
