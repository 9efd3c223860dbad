// The field test's kick scenarios: where the servers show the ball, and a
// kick run against the practice server.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "SceneGraph.h"
#include "Truth.h"
#include "World.h"
#include "tools/practice_server/Program.h"

namespace fieldtest {
namespace {

const char* const kBallScene =
    "((FieldLength 30)(time 0))(RSG 0 1)((nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 -10 10 10 1)(nd Light))"
    "(nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1))"
    "(nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 1.5 -2 0.04 1)(nd StaticMesh (setVisible 1) "
    "(load models/soccerball.obj) (sSc 0.042 0.042 0.042))))";

TEST(SceneGraph, FollowsTheBall) {
  SceneGraph g;
  double x = 0, y = 0;
  EXPECT_FALSE(g.ball(x, y));
  ASSERT_TRUE(g.apply(kBallScene));
  ASSERT_TRUE(g.ball(x, y));
  EXPECT_DOUBLE_EQ(x, 1.5);
  EXPECT_DOUBLE_EQ(y, -2);
  // An update lists every node; only the moved ones carry a transform.
  ASSERT_TRUE(g.apply("((time 0.04))(RDS 0 1)((nd(nd))(nd)(nd (SLT 1 0 0 0 0 1 0 0 0 0 1 0 2.25 -1 0.04 1)(nd)))"));
  ASSERT_TRUE(g.ball(x, y));
  EXPECT_DOUBLE_EQ(x, 2.25);
  EXPECT_DOUBLE_EQ(y, -1);
  // In flight: the height of its centre.
  ASSERT_TRUE(g.apply("((time 0.08))(RDS 0 1)((nd(nd))(nd)(nd (SLT 1 0 0 0 0 1 0 0 0 0 1 0 2.5 -1 0.3 1)(nd)))"));
  double z = 0;
  ASSERT_TRUE(g.ball(x, y, z));
  EXPECT_DOUBLE_EQ(x, 2.5);
  EXPECT_DOUBLE_EQ(z, 0.3);
}

TEST(StateTruth, ReadsThePracticeServersBall) {
  double x = 0, y = 0;
  EXPECT_TRUE(StateTruth::parseBall("(state (now 3) (ball (pos 0.5 0.25 0.04) (vel 0 0 0)))", x, y));
  EXPECT_DOUBLE_EQ(x, 0.5);
  EXPECT_DOUBLE_EQ(y, 0.25);
  EXPECT_FALSE(StateTruth::parseBall("(state (now 3))", x, y));
  EXPECT_FALSE(StateTruth::parseBall("(ball (pos 1 2 3))", x, y));
  practice::World world(practice::WorldOptions{false, 0, 7});
  EXPECT_TRUE(StateTruth::parseBall(world.stateText(), x, y));
}

using practice::test::Process;

// The kick against the practice server: the ball put at the right foot goes
// forward, and the row says where it went.
TEST(FieldTestProgram, KicksTheBallOnThePracticeServer) {
  practice::test::ServerProgram server({"--sync", "--port", "0", "--monitor-port", "0"});
  ASSERT_GT(server.agentPort, 0);
  const std::string csv = "/tmp/qv-fieldtest-kick-" + std::to_string(::getpid()) + ".csv";
  Process tool = Process::exec({QV_FIELDTEST, "--port", std::to_string(server.agentPort), "--monitor-port",
                                std::to_string(server.monitorPort), "--scenarios", "kick", "--time", "2.5",
                                "--settle", "0.5", "--csv", csv, "--data", QV_DATA_DIR});
  ASSERT_EQ(tool.wait(), 0) << tool.out() << tool.err();
  EXPECT_NE(tool.out().find("ball "), std::string::npos) << tool.out();
  const std::string rows = practice::test::readFile(csv);
  ::unlink(csv.c_str());
  std::istringstream lines(rows);
  std::string line;
  std::getline(lines, line);
  ASSERT_TRUE(std::getline(lines, line));
  std::vector<std::string> f;
  std::stringstream s(line);
  for (std::string cell; std::getline(s, cell, ',');) f.push_back(cell);
  ASSERT_GE(f.size(), 13u) << line;
  EXPECT_EQ(f[1], "kick");
  EXPECT_GT(std::stod(f[11]), 0.2) << line;
  EXPECT_LT(std::fabs(std::stod(f[12])), 90) << line;
  server.kill();
}

}  // namespace
}  // namespace fieldtest
