#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "StillTeam.h"
#include "Support.h"

namespace agenttest {
namespace {

// Joining one at a time: a shirt shows only after every shirt before it, never
// two robots wait for their init at once, each has start.sh's robot type, and
// the last joins no sooner than ten gaps after the first connected; with no
// gap at all as well.
class StillTeamGap : public ::testing::TestWithParam<double> {};

TEST_P(StillTeamGap, JoinsOnePlayerAtATime) {
  PracticeServer server;
  const double gap = GetParam();
  const std::vector<int> types = teamRobotTypes();
  ASSERT_EQ(types.size(), 12u);
  const auto begun = Clock::now();
  stillteam::StillTeam still("127.0.0.1", server.agentPort, "Still", gap);
  ASSERT_EQ(still.error(), "");
  EXPECT_EQ(still.connected(), 1);
  still.start();

  bool inOrder = true, oneWaiting = true, rightTypes = true;
  size_t most = 0;
  const bool all = server.waitFor([&](const practice::SNode& s) {
    std::vector<int> shirts;
    int waiting = 0;
    for (const PlayerState& p : players(s)) {
      if (p.name != "Still") {
        ++waiting;
        continue;
      }
      shirts.push_back(p.unum);
      if (p.unum < 1 || p.unum > 11 || p.type != types[static_cast<size_t>(p.unum)]) rightTypes = false;
    }
    std::sort(shirts.begin(), shirts.end());
    for (size_t i = 0; i < shirts.size(); ++i)
      if (shirts[i] != static_cast<int>(i) + 1) inOrder = false;
    if (waiting > 1) oneWaiting = false;
    most = std::max(most, shirts.size());
    return shirts.size() == 11u;
  }, 30000);
  const double took = std::chrono::duration<double>(Clock::now() - begun).count();
  ASSERT_TRUE(all) << "shown: " << most << " of 11";
  EXPECT_TRUE(inOrder);
  EXPECT_TRUE(oneWaiting);
  EXPECT_TRUE(rightTypes);
  EXPECT_EQ(still.connected(), 11);
  EXPECT_EQ(still.open(), 11);
  EXPECT_GE(took, 10 * gap);
  EXPECT_EQ(still.error(), "");
}

INSTANTIATE_TEST_SUITE_P(StillTeamTest, StillTeamGap, ::testing::Values(0.0, 0.15));

// A server played by the test: each shirt asks for its robot at once and the
// next connects only once the server has spoken to the one before, however
// long that takes; the first message is answered with the init.
TEST(StillTeamTest, NextShirtWaitsForTheServersFirstMessage) {
  Listener server;
  stillteam::StillTeam still("127.0.0.1", server.port(), "Still", 0);
  ASSERT_EQ(still.error(), "");
  still.start();
  const std::vector<int> types = teamRobotTypes();
  ASSERT_EQ(types.size(), 12u);
  std::vector<std::unique_ptr<Link>> links;
  for (int unum = 1; unum <= 3; ++unum) {
    SCOPED_TRACE(unum);
    links.push_back(std::make_unique<Link>(server.accept()));
    Link& link = *links.back();
    ASSERT_TRUE(link.open());
    EXPECT_EQ(link.receive(), "(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(types[size_t(unum)]) + ")");
    EXPECT_EQ(server.accept(300), -1);  // no robot yet: nobody else connects
    EXPECT_EQ(still.connected(), unum);
    ASSERT_TRUE(link.send("(time (now 1.00))"));
    EXPECT_EQ(link.receive(), "(init (unum " + std::to_string(unum) + ")(teamname Still))(syn)");
  }
}

// A server that is gone: the first player cannot connect and says why.
TEST(StillTeamTest, NoServerIsAnError) {
  ClosedPort closed;
  stillteam::StillTeam still("127.0.0.1", closed.port(), "Still", 0.1);
  EXPECT_NE(still.error(), "");
  EXPECT_EQ(still.connected(), 0);
}

}  // namespace
}  // namespace agenttest
