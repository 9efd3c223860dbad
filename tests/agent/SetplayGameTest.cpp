#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Support.h"
#include "setplay/CBRManager.h"

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

// Our corner kick on the practice server: the player nearest the ball starts a
// set play chosen by the case base, team-mates hear it and join, it ends by
// its own rules, and the case base written back reads whole.
TEST(SetplayGame, OurCornerKickRunsASetplayAndTheCaseBaseReadsBack) {
  const std::vector<int> types = robotTypes();
  ASSERT_EQ(types.size(), 12u) << "robot types of start.sh";
  PracticeServer server;
  TempDir work;
  work.mirrorDataKeepingFormations();
  std::vector<Process> agents;
  for (int unum = 1; unum <= 11; ++unum) {
    const int type = types.at(static_cast<size_t>(unum));
    agents.push_back(Process::exec({QV_AGENT, "-robot", type == 0 ? "nao.xml" : "nao" + std::to_string(type) + ".xml", "-t", "Home", "-u", std::to_string(unum), "-p",
                                    std::to_string(server.agentPort)},
                                   work.path()));
    ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
      for (const PlayerState& p : players(s))
        if (p.name == "Home" && p.unum == unum) return true;
      return false;
    }, 60000)) << unum << " has not joined\n" << agents.back().err();
  }
  ASSERT_TRUE(server.command("(kickOff Left)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 1; }));
  ASSERT_TRUE(server.command("(ball (pos 14.8 -9.8 0.042) (vel 0 0 0))(playMode corner_kick_left)"));

  // The set-play lines of every player, each after its shirt number.
  auto all = [&] {
    std::string text;
    for (size_t i = 0; i < agents.size(); ++i) {
      std::istringstream in(agents[i].err());
      for (std::string line; std::getline(in, line);)
        if (line.compare(0, 3, "SP:") == 0 || line.compare(0, 5, "Chose") == 0 || line.find("Retain") != std::string::npos)
          text += std::to_string(i + 1) + " " + line + "\n";
    }
    return text;
  };
  // The nearest player leads a corner set play (either side's image); at
  // least one team-mate joins it from the init message.
  const std::regex lead("\\d+ SP: set play -?1 started as its lead\n");
  const std::regex joined("\\d+ SP: set play -?1 started\n");
  const std::regex ended("\\d+ SP: set play -?1 ended\n");
  ASSERT_TRUE(server.waitFor([&](const practice::SNode&) {
    const std::string t = all();
    return std::regex_search(t, lead) && std::regex_search(t, joined);
  }, 120000)) << all();
  // It ends by its own rules, finished or aborted, and the case base written
  // at its end holds it.
  const std::string caseBase = work.file("formations/cbr.conf");
  auto cornerCases = [&] {
    testing::internal::CaptureStderr();
    ostrevanda::setplay::CBRManager reread(caseBase, false);
    testing::internal::GetCapturedStderr();
    return reread.casesOf(1).size() + reread.casesOf(-1).size();
  };
  ASSERT_TRUE(server.waitFor([&](const practice::SNode&) {
    return std::regex_search(all(), ended) && cornerCases() > 0;
  }, 240000)) << all();
  server.stop();
  for (Process& a : agents) a.wait();
  const std::string text = all();
  EXPECT_EQ(std::string::npos, text.find("set play dropped")) << text;
  EXPECT_EQ(std::string::npos, text.find("NOT written")) << text;

  // Written by eleven players, the file is still whole.
  testing::internal::CaptureStderr();
  ostrevanda::setplay::CBRManager reread(caseBase, false);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_GE(reread.numberOfCases(), 1u);
  EXPECT_EQ(std::string::npos, err.find("Remainder")) << err;
  EXPECT_EQ(std::string::npos, err.find("Bad case")) << err;
}

}  // namespace
}  // namespace agenttest
