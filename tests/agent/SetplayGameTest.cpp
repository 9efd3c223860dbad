#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Support.h"
#include "setplay/CBRManager.h"
#include "utils/Singleton.h"
#include "utils/communication/AgentComm.h"
#include "utils/communication/SetplayAgentMessage.h"

namespace agenttest {
namespace {

// Our corner kick on the practice server: the player nearest the ball starts a
// set play chosen by the case base, team-mates hear it and join, it ends by
// its own rules, and the case base written back reads whole.
TEST(SetplayGame, OurCornerKickRunsASetplayAndTheCaseBaseReadsBack) {
  PracticeServer server;
  TempDir work;
  work.mirrorDataKeepingFormations();
  std::vector<Process> agents;
  ASSERT_EQ(joinTeam(server, work.path(), "Home", 11, agents, 60000), "");
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

// Shirt 11 of our team says forged set-play messages, one per cycle, through
// a corner kick: every other player stays in the game.
TEST(SetplayGame, ForgedSetplayMessagesCrashNobody) {
  const std::vector<int> types = teamRobotTypes();
  ASSERT_EQ(types.size(), 12u) << "robot types of start.sh";
  std::vector<std::string> forged;
  struct Forgery {
    int id, kind, current, next, lead;
    std::vector<int> participants;
  } forgeries[] = {
      {1, 1, 0, 0, 11, {5, 9}},  {1, 1, 0, 0, 11, {}},        {1, 1, 0, 0, 11, {15, 14, 13, 12, 0, 1, 2, 3}},
      {-32, 2, 14, 13, 11, {}},  {31, 1, 0, 0, 0, {9}},       {1, 2, -1, 1, 11, {}},
      {1, 2, 0, 14, 11, {}},     {-1, 1, 0, 0, 11, {3, 3}},   {5, 9, 7, 7, 15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
  };
  for (const Forgery& f : forgeries) {
    SetplayAgentMessage m(3);
    m.setSetplayId(f.id);
    m.setSetplayMessage(f.kind);
    m.setCurrentStep(f.current);
    m.setNextStep(f.next);
    m.setLeadPlayer(f.lead);
    m.setNumPlayers(static_cast<int>(f.participants.size()));
    m.setPlayersParticipants(f.participants);
    forged.push_back(Singleton<AgentComm>::getInstance().encodeSetplayMessage(m));
  }
  PracticeServer server;
  TempDir work;
  work.mirrorDataKeepingFormations();
  std::vector<Process> agents;
  ASSERT_EQ(joinTeam(server, work.path(), "Home", 10, agents, 60000), "");
  std::atomic<bool> stop{false};
  std::thread forger([&] {
    Link link(connectTo(server.agentPort));
    link.send("(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(types.at(11)) + ")");
    for (size_t round = 0; !stop; ++round) {
      if (!link.receive(5000)) return;
      const std::string reply = round == 0   ? "(init (unum 11)(teamname Home))"
                                : round == 1 ? "(beam -3 0 0)"
                                             : "(say " + forged[round % forged.size()] + ")";
      link.send(reply + "(syn)");
    }
  });
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return players(s).size() == 11u; }, 60000));
  ASSERT_TRUE(server.command("(kickOff Left)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 1; }, 60000));
  ASSERT_TRUE(server.command("(ball (pos 14.8 -9.8 0.042) (vel 0 0 0))(playMode corner_kick_left)"));
  EXPECT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 15; }, 120000));
  bool heard = false;
  for (size_t i = 0; i < agents.size(); ++i) {
    EXPECT_TRUE(agents[i].running()) << i + 1 << "\n" << agents[i].err().substr(0, 2000);
    heard = heard || agents[i].err().find("LEADPLAYER AFTER UPDATE: 11") != std::string::npos;
  }
  EXPECT_TRUE(heard) << "nobody heard the forger";
  stop = true;
  server.stop();
  forger.join();
}

}  // namespace
}  // namespace agenttest
