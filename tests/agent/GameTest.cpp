#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Support.h"

namespace agenttest {
namespace {

// Robot type of each shirt number 1 to 11, as start.sh starts the team.
std::vector<int> robotTypes() {
  const std::string script = readFile(std::string(QV_TEST_DIR) + "/../start.sh");
  std::smatch m;
  std::vector<int> types{-1};
  if (std::regex_search(script, m, std::regex("robot_types=\\(x((?:\\s+\\d)+)\\)"))) {
    std::istringstream in(m[1].str());
    for (int t; in >> t;) types.push_back(t);
  }
  return types;
}

std::string text(const practice::SNode& state, const char* key) {
  const practice::SNode* f = state.find(key);
  return f && f->items.size() > 1 ? f->items[1].atom : std::string();
}

const PlayerState* find(const std::vector<PlayerState>& all, const std::string& team, int unum) {
  for (const PlayerState& p : all)
    if (p.team == team && p.unum == unum) return &p;
  return nullptr;
}

// Two teams of the agent program on the practice server: a goal sends both
// back to their halves by beaming and the game kicks off again; the second
// half starts and is played.
TEST(Game, AfterAGoalBothTeamsBeamBackAndPlayOnIntoTheSecondHalf) {
  const std::vector<int> types = robotTypes();
  ASSERT_EQ(types.size(), 12u) << "robot types of start.sh";
  PracticeServer server;
  TempDir work;
  work.mirrorDataKeepingFormations();
  std::vector<Process> agents;
  for (const std::string team : {"Home", "Away"}) {
    for (int unum = 1; unum <= 11; ++unum) {
      const int type = types.at(static_cast<size_t>(unum));
      agents.push_back(Process::exec({QV_AGENT, "-robot", type == 0 ? "nao.xml" : "nao" + std::to_string(type) + ".xml",
                                      "-t", team, "-u", std::to_string(unum), "-p", std::to_string(server.agentPort)},
                                     work.path()));
      ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
        for (const PlayerState& p : players(s))
          if (p.name == team && p.unum == unum) return true;
        return false;
      })) << team << " " << unum << " has not joined\n" << agents.back().err();
    }
  }
  auto mode = [&](const std::string& pm) {
    return server.waitFor([&](const practice::SNode& s) { return text(s, "pm") == pm; });
  };
  ASSERT_TRUE(server.command("(kickOff Left)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 0.5; }));

  // Two players stray into the other half; then the ball goes into the right goal.
  ASSERT_TRUE(server.command("(agent (unum 6) (team Left) (pos 5 1 0.3))"));
  ASSERT_TRUE(server.command("(agent (unum 6) (team Right) (pos -5 -1 0.3))"));
  ASSERT_TRUE(server.command("(playMode PlayOn)(ball (pos 15.3 0 0.042) (vel 0 0 0))"));
  ASSERT_TRUE(mode("Goal_Left")) << text(server.state(), "pm");
  ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
    const std::vector<PlayerState> all = players(s);
    const PlayerState* home = find(all, "Left", 6);
    const PlayerState* away = find(all, "Right", 6);
    return home && away && home->x < 0 && away->x > 0;
  })) << "not beamed back";
  ASSERT_TRUE(mode("KickOff_Right"));
  EXPECT_EQ(text(server.state(), "sl"), "1");
  for (const PlayerState& p : players(server.state()))
    EXPECT_LT(p.team == "Left" ? p.x : -p.x, 0) << p.team << " " << p.unum << " in the own half";

  // Half time: the second half starts, kicks off and runs.
  ASSERT_TRUE(server.command("(time 299.9)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return text(s, "half") == "2"; }));
  ASSERT_TRUE(server.command("(kickOff Right)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 300.5; }));
  const practice::SNode last = server.state();
  EXPECT_EQ(text(last, "connections"), "22");
  EXPECT_EQ(players(last).size(), 22u);
  server.stop();
  for (Process& a : agents) EXPECT_EQ(a.wait(), 1) << a.err().substr(0, 2000);
}

}  // namespace
}  // namespace agenttest
