// The field-test tool: reading the servers' accounts of a body, judging a run,
// and whole runs against the practice server.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Measure.h"
#include "SceneGraph.h"
#include "Trial.h"
#include "Truth.h"
#include "World.h"
#include "tools/practice_server/Program.h"

namespace fieldtest {
namespace {

// A torso transform as the real server sends it: column-major, facing
// `heading` degrees, lying on its back when `onBack`.
std::string slt(double x, double y, double z, double heading, bool onBack = false) {
  const double h = heading * M_PI / 180;
  // Columns: the torso's x (right), y (forward) and z (up) axes, then the position.
  double right[3] = {std::sin(h), -std::cos(h), 0};
  double forward[3] = {std::cos(h), std::sin(h), 0};
  double up[3] = {0, 0, 1};
  if (onBack) {
    for (int i = 0; i < 3; ++i) std::swap(forward[i], up[i]);
    forward[0] = -forward[0], forward[1] = -forward[1], forward[2] = -forward[2];
  }
  std::ostringstream s;
  s << "(SLT " << right[0] << " " << right[1] << " " << right[2] << " 0 " << forward[0] << " " << forward[1] << " "
    << forward[2] << " 0 " << up[0] << " " << up[1] << " " << up[2] << " 0 " << x << " " << y << " " << z << " 1)";
  return s.str();
}

// A robot: the torso transform, the mesh's own offset below it, the mesh, and a
// sibling part.
std::string robot(const std::string& torso, int unum, const std::string& team) {
  return "(nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)(nd TRF " + torso +
         "(nd TRF (SLT -1 0 0 0 0 0 1 0 0 1 0 0 0 0 0 1)(nd StaticMesh (setVisible 1) (load models/naobody0.obj) "
         "(sSc 0.1 0.1 0.1)(resetMaterials matNum" +
         std::to_string(unum) + " " + team +
         " matType0 naowhite)))(nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)(nd SMN (load StdUnitBox)))))";
}

std::string fullFrame(const std::string& robots) {
  return "((FieldLength 30)(time 0))(RSG 0 1)((nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 -10 10 10 1)(nd Light))" + robots +
         ")";
}

// An update in the same node order: only the first robot's torso moved.
std::string deltaFrame(const std::string& torso, int robots) {
  std::string d = "((time 0.04))(RDS 0 1)((nd(nd))(nd(nd " + torso + "(nd(nd))(nd(nd))))";
  for (int i = 1; i < robots; ++i) d += "(nd(nd(nd(nd))(nd(nd))))";
  return d + ")";
}

TEST(SceneGraph, FindsEachRobotsTorsoByShirtNumberAndSide) {
  SceneGraph g;
  ASSERT_TRUE(g.apply(fullFrame(robot(slt(-3, 1, 0.38, 30), 2, "matLeft") +
                                robot(slt(4, -2, 0.37, 180), 2, "matRight") +
                                robot(slt(1, 1, 0.10, 0, true), 7, "matLeft"))));
  struct Case {
    int side, unum;
    bool found;
    double x, y, z, heading, tilt;
  };
  const std::vector<Case> cases = {
      {1, 2, true, -3, 1, 0.38, 30, 0},  {2, 2, true, 4, -2, 0.37, 180, 0}, {1, 7, true, 1, 1, 0.10, 0, 90},
      {2, 7, false, 0, 0, 0, 0, 0},      {1, 11, false, 0, 0, 0, 0, 0},     {0, 2, false, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    BodyPose p;
    ASSERT_EQ(g.torso(c.side, c.unum, p), c.found) << c.side << " " << c.unum;
    if (!c.found) continue;
    EXPECT_NEAR(p.x, c.x, 1e-6);
    EXPECT_NEAR(p.y, c.y, 1e-6);
    EXPECT_NEAR(p.z, c.z, 1e-6);
    EXPECT_NEAR(std::fabs(std::remainder(p.heading - c.heading, 360)), 0, 1e-4) << p.heading;
    EXPECT_NEAR(p.tilt, c.tilt, 1e-4);
    EXPECT_TRUE(p.tiltKnown);
  }
}

TEST(SceneGraph, UpdatesMoveTheTorsoAndAnUpdateThatDoesNotFitChangesNothing) {
  SceneGraph g;
  ASSERT_TRUE(g.apply(fullFrame(robot(slt(-3, 1, 0.38, 0), 1, "matLeft") + robot(slt(5, 5, 0.38, 0), 1, "matRight"))));
  ASSERT_TRUE(g.apply(deltaFrame(slt(-2.5, 1.2, 0.36, -45), 2)));
  BodyPose p;
  ASSERT_TRUE(g.torso(1, 1, p));
  EXPECT_NEAR(p.x, -2.5, 1e-6);
  EXPECT_NEAR(p.y, 1.2, 1e-6);
  EXPECT_NEAR(p.heading, -45, 1e-4);
  ASSERT_TRUE(g.torso(2, 1, p));
  EXPECT_NEAR(p.x, 5, 1e-6);

  // One robot fewer than the scene holds, a frame with no scene at all, and garbage.
  for (const std::string& bad : {deltaFrame(slt(0, 0, 0.3, 0), 1), std::string("((time 1))"), std::string("((("),
                                 std::string("((time 1))(RDS 0 1)((nd(nd (SLT 1 2 3))))")}) {
    SceneGraph copy = g;
    copy.apply(bad);
    ASSERT_TRUE(copy.torso(1, 1, p)) << bad;
    EXPECT_NEAR(p.x, -2.5, 1e-6) << bad;
  }
}

TEST(StateTruth, ReadsThePracticeServersStateOfEachPlayer) {
  practice::World world(practice::WorldOptions{false, 0, 7});
  auto join = [&](const std::string& team, int unum, const std::string& beam) {
    const int id = world.connect();
    world.agentFrame(id, practice::readSexps("(scene rsg/agent/nao/nao_hetero.rsg 0)"));
    world.step();
    world.agentFrame(id, practice::readSexps("(init (unum " + std::to_string(unum) + ")(teamname " + team + "))"));
    world.step();
    world.agentFrame(id, practice::readSexps("(beam " + beam + ")"));
    world.step();
  };
  join("A", 3, "-4 2 90");
  join("B", 3, "-6 -1 0");
  const std::string state = world.stateText();
  struct Case {
    int side, unum;
    bool found;
    double x, y, heading;
  };
  // The right team's beam is in its own frame: turned by 180 degrees.
  const std::vector<Case> cases = {
      {1, 3, true, -4, 2, 90}, {2, 3, true, 6, 1, 180}, {1, 4, false, 0, 0, 0}, {0, 3, false, 0, 0, 0}};
  for (const Case& c : cases) {
    BodyPose p;
    ASSERT_EQ(StateTruth::parse(state, c.side, c.unum, p), c.found) << c.side << " " << c.unum;
    if (!c.found) continue;
    EXPECT_NEAR(p.x, c.x, 1e-3);
    EXPECT_NEAR(p.y, c.y, 1e-3);
    EXPECT_NEAR(std::fabs(std::remainder(p.heading - c.heading, 360)), 0, 1e-2);
    EXPECT_GT(p.z, 0.2);
  }
  BodyPose p;
  // Torso orientation and lying, where the server reports them.
  ASSERT_TRUE(StateTruth::parse("(state (player (id 1) (team Left) (unum 4) (type 0) (pos 1 2 0.1) (heading 10) "
                                "(torso (yaw 10) (pitch 60) (roll 60)) (lying back)))",
                                1, 4, p));
  EXPECT_TRUE(p.tiltKnown);
  EXPECT_NEAR(p.tilt, std::acos(0.25) * 180 / M_PI, 1e-9);
  EXPECT_TRUE(p.lying);
  ASSERT_TRUE(StateTruth::parse("(state (player (team Left) (unum 4) (pos 1 2 0.4) (heading 10) "
                                "(torso (yaw 10) (pitch 0) (roll 0)) (lying no)))",
                                1, 4, p));
  EXPECT_NEAR(p.tilt, 0, 1e-9);
  EXPECT_FALSE(p.lying);
  EXPECT_FALSE(StateTruth::parse("(other)", 1, 3, p));
  EXPECT_FALSE(StateTruth::parse("", 1, 3, p));
}

BodyPose pose(double x, double y, double z, double heading, double tilt = -1) {
  BodyPose p;
  p.x = x, p.y = y, p.z = z, p.heading = heading;
  p.tiltKnown = tilt >= 0;
  p.tilt = tilt < 0 ? 0 : tilt;
  return p;
}

TEST(Track, JudgesProgressSpeedDriftAndFallsInTheStartFrame) {
  struct Case {
    const char* what;
    Axis axis;
    std::vector<BodyPose> poses;  // one per second
    double along, mean, steady, drift, turned;
    int falls;
    double fallAt;
  };
  const std::vector<Case> cases = {
      // Facing +y: forward is +y, the robot's right is +x.
      {"forward, speeding up", Axis::Forward,
       {pose(0, 0, .38, 90, 0), pose(0.1, 0.2, .38, 90, 0), pose(0.1, 0.6, .38, 90, 0), pose(0.2, 1.0, .38, 90, 0),
        pose(0.3, 1.4, .38, 90, 0)},
       1.4, 0.35, 0.4, -0.3, 0, 0, 0},
      {"backward", Axis::Backward, {pose(0, 0, .38, 0, 0), pose(-0.5, 0.1, .38, 0, 0), pose(-1, 0.2, .38, 0, 0)},
       1, 0.5, 0.5, 0.2, 0, 0, 0},
      {"right, facing -x", Axis::Right, {pose(0, 0, .38, 180, 0), pose(0, 0.3, .38, 180, 0), pose(0.1, 0.6, .38, 180, 0)},
       0.6, 0.3, 0.3, -0.1, 0, 0, 0},
      {"turning across 180", Axis::TurnLeft,
       {pose(0, 0, .38, 150, 0), pose(0, 0, .38, -170, 0), pose(0, 0.1, .38, -130, 0)}, 80, 40, 40, 0.1, 80, 0, 0},
      {"turning right", Axis::TurnRight, {pose(0, 0, .38, 10, 0), pose(0, 0, .38, -20, 0), pose(0, 0, .38, -50, 0)},
       60, 30, 30, 0, -60, 0, 0},
      {"falls: tilt", Axis::Forward,
       {pose(0, 0, .38, 0, 0), pose(0.3, 0, .38, 0, 10), pose(0.4, 0, .2, 0, 80), pose(1, 0, .38, 0, 0)}, 0.4, 0.2,
       0.1, 0, 0, 1, 2},
      {"falls: low, orientation unknown", Axis::Forward,
       {pose(0, 0, .38, 0), pose(0.2, 0, .36, 0), pose(0.3, 0, .2, 0), pose(0.9, 0, .38, 0)}, 0.3, 0.15, 0.1, 0, 0, 1, 2},
  };
  for (const Case& c : cases) {
    Track t(c.axis);
    for (size_t i = 0; i < c.poses.size(); ++i) t.add(10.0 + static_cast<double>(i), c.poses[i]);
    const Outcome o = t.outcome();
    EXPECT_NEAR(o.along, c.along, 1e-9) << c.what;
    EXPECT_NEAR(o.mean, c.mean, 1e-9) << c.what;
    EXPECT_NEAR(o.steady, c.steady, 1e-9) << c.what;
    EXPECT_NEAR(o.drift, c.drift, 1e-9) << c.what;
    EXPECT_NEAR(o.turned, c.turned, 1e-9) << c.what;
    EXPECT_EQ(o.falls, c.falls) << c.what;
    EXPECT_NEAR(o.fallAt, c.fallAt, 1e-9) << c.what;
  }
  EXPECT_EQ(Track(Axis::Forward).outcome().samples, 0);
}

TEST(Trial, CountsItsOwnClockInsteadOfTheServers) {
  struct Case {
    const char* message;
    double now;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"(time (now 353315.28))(GS (t 0.00))", 1.04, "(time (now 1.04))(GS (t 0.00))"},
      {"(time (now 5.00))", 123.456, "(time (now 123.46))"},
      {"(GS (t 0.00))", 2, "(GS (t 0.00))"},
      {"(time (now 5.00", 2, "(time (now 5.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(restampClock(c.message, c.now), c.expected) << c.message;
}

using practice::test::Process;

// The tool against the practice server in sync mode: it only steps when
// every perception is answered with (syn), so a finished run shows that too.
TEST(FieldTestProgram, StandsOnThePracticeServerForEveryRobotTypeAndWritesTablesAndCsv) {
  practice::test::ServerProgram server({"--sync", "--port", "0", "--monitor-port", "0"});
  ASSERT_GT(server.agentPort, 0);
  const std::string csv = "/tmp/qv-fieldtest-" + std::to_string(::getpid()) + ".csv";
  Process tool = Process::exec({QV_FIELDTEST, "--port", std::to_string(server.agentPort), "--monitor-port",
                                std::to_string(server.monitorPort), "--types", "all", "--scenarios", "stand",
                                "--time", "0.5", "--settle", "0.2", "--csv", csv, "--data", QV_DATA_DIR});
  ASSERT_EQ(tool.wait(), 0) << tool.out() << tool.err();
  const std::string out = tool.out();
  for (int type = 0; type < 5; ++type) EXPECT_NE(out.find("robot type " + std::to_string(type)), std::string::npos);
  const std::string rows = practice::test::readFile(csv);
  ::unlink(csv.c_str());
  std::istringstream lines(rows);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "type,scenario,command,seconds,progress,mean,steady,drift,turned,falls,fall_at,ball_m,ball_deg,getup_s,late,end,end_own,target_m,error");
  int n = 0;
  while (std::getline(lines, line)) {
    std::vector<std::string> f;
    std::stringstream s(line);
    for (std::string cell; std::getline(s, cell, ',');) f.push_back(cell);
    ASSERT_GE(f.size(), 14u) << line;
    EXPECT_EQ(f[0], std::to_string(n)) << line;
    EXPECT_EQ(f[1], "stand");
    EXPECT_NEAR(std::stod(f[3]), 0.5, 0.021) << line;
    EXPECT_NEAR(std::stod(f[4]), 0, 0.01) << line;
    EXPECT_EQ(f[9], "0") << line;
    ++n;
  }
  EXPECT_EQ(n, 5);
  server.kill();
}

// Rows of a CSV file written by the tool, by column name.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& path) {
  std::istringstream lines(practice::test::readFile(path));
  std::vector<std::string> names;
  std::vector<std::map<std::string, std::string>> rows;
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::stringstream s(line);
    for (std::string cell; std::getline(s, cell, ',');) cells.push_back(cell);
    if (names.empty()) {
      names = cells;
      continue;
    }
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < names.size() && i < cells.size(); ++i) row[names[i]] = cells[i];
    rows.push_back(row);
  }
  return rows;
}

// The walk at its top command on the practice server's bodies, for every
// robot type: 10 s forward get the robot forward without a fall, and
// turning on the spot turns it.
TEST(FieldTestProgram, TheWalkMovesEveryRobotTypeForwardAndTurnsItOnThePracticeServer) {
  practice::test::ServerProgram server({"--sync", "--port", "0", "--monitor-port", "0"});
  ASSERT_GT(server.agentPort, 0);
  const std::string csv = "/tmp/qv-fieldtest-walk-" + std::to_string(::getpid()) + ".csv";
  Process tool = Process::exec({QV_FIELDTEST, "--port", std::to_string(server.agentPort), "--monitor-port",
                                std::to_string(server.monitorPort), "--types", "all", "--scenarios",
                                "forward,turn-left,turn-right", "--time", "10", "--csv", csv, "--data", QV_DATA_DIR});
  ASSERT_EQ(tool.wait(180000), 0) << tool.out() << tool.err();
  const auto rows = csvRows(csv);
  ::unlink(csv.c_str());
  ASSERT_EQ(rows.size(), 15u) << tool.out();
  for (const auto& row : rows) {
    const std::string what = "type " + row.at("type") + " " + row.at("scenario");
    EXPECT_EQ(row.at("falls"), "0") << what;
    EXPECT_NEAR(std::stod(row.at("seconds")), 10, 0.021) << what;
    if (row.at("scenario") == "forward") {
      EXPECT_EQ(row.at("command"), "1") << what;
      EXPECT_GT(std::stod(row.at("progress")), 1.0) << what;
      EXPECT_LT(std::fabs(std::stod(row.at("drift"))), 0.5) << what;
    } else {
      // Turning on the spot: at least a quarter turn the right way, and little walking.
      EXPECT_GT(std::stod(row.at("progress")), 90) << what;
      EXPECT_LT(std::stod(row.at("drift")), 0.5) << what;
    }
  }
  server.kill();
}

// The action library on the practice server's bodies, for robot type 0:
// goToTarget walks to a point 2 m ahead; kickToTarget, and the walk-and-
// kick engine with its kick, send the ball forward; a robot tipped onto its
// front or its back runs the stop motion and then its get-up.
TEST(FieldTestProgram, TheLibraryWalksToAPointKicksAndStartsItsGetUpsOnThePracticeServer) {
  practice::test::ServerProgram server({"--sync", "--port", "0", "--monitor-port", "0"});
  ASSERT_GT(server.agentPort, 0);
  const std::string csv = "/tmp/qv-fieldtest-library-" + std::to_string(::getpid()) + ".csv";
  Process tool = Process::exec({QV_FIELDTEST, "--port", std::to_string(server.agentPort), "--monitor-port",
                                std::to_string(server.monitorPort), "--types", "0", "--scenarios",
                                "goto,kick-to-target,walk-kick,getup-front,getup-back", "--command", "2", "--time",
                                "10", "--settle", "0.5", "--csv", csv, "--data", QV_DATA_DIR});
  ASSERT_EQ(tool.wait(120000), 0) << tool.out() << tool.err();
  const auto rows = csvRows(csv);
  ::unlink(csv.c_str());
  ASSERT_EQ(rows.size(), 5u) << tool.out();
  for (const auto& row : rows) {
    const std::string what = "type " + row.at("type") + " " + row.at("scenario");
    const std::string& scenario = row.at("scenario");
    if (scenario == "goto") {
      EXPECT_EQ(row.at("falls"), "0") << what;
      EXPECT_LT(std::stod(row.at("target_m")), 0.25) << what;
    } else if (scenario.rfind("getup", 0) == 0) {
      EXPECT_EQ(row.at("falls"), "1") << what;
      EXPECT_FALSE(row.at("getup_s").empty()) << what << ": no get-up after the stop motion";
    } else {
      EXPECT_EQ(row.at("falls"), "0") << what;
      EXPECT_GT(std::stod(row.at("ball_m")), 0.3) << what;
      EXPECT_LT(std::fabs(std::stod(row.at("ball_deg"))), 45) << what;
    }
  }
  server.kill();
}

TEST(FieldTestProgram, RefusesBadArgumentsAndReportsAServerThatIsNotThere) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;
  };
  const std::vector<Case> cases = {
      {{"--help"}, 0, "--server practice|real"},
      {{"--types", "5"}, 2, "robot types are 0 to 4"},
      {{"--scenarios", "fly"}, 2, "no scenario 'fly'"},
      {{"--server", "other"}, 2, "--server takes practice or real"},
      {{"--time", "-1"}, 2, "bad argument '--time'"},
      {{"--ball-side", "wide"}, 2, "bad argument '--ball-side'"},
      {{"--port", "1", "--monitor-port", "1", "--data", QV_DATA_DIR}, 1, "monitor port: cannot connect"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{QV_FIELDTEST};
    args.insert(args.end(), c.args.begin(), c.args.end());
    Process p = Process::exec(args);
    EXPECT_EQ(p.wait(), c.status) << c.args.front();
    EXPECT_NE((p.out() + p.err()).find(c.says), std::string::npos) << p.out() << p.err();
  }
}

}  // namespace
}  // namespace fieldtest
