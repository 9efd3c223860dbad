// The simulated game driven in-process, one cycle step at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <regex>

#include "Support.h"

namespace practice::test {
namespace {

std::string captureLine(const std::string& file, const std::vector<std::string>& mustContain) {
  std::ifstream in(std::string(QV_CAPTURES_DIR) + "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    bool all = true;
    for (const std::string& s : mustContain) all = all && line.find(s) != std::string::npos;
    if (all) return line;
  }
  return "";
}

std::vector<std::string> withoutHear(std::vector<std::string> keys) {
  keys.erase(std::remove(keys.begin(), keys.end(), "hear"), keys.end());
  return keys;
}

// Numbers as the real server prints them: two decimals, integers for unum, scores and ids.
void expectNumberFormat(const SNode& n, const std::string& parent, const std::string& where) {
  static const std::regex fixed2("-?[0-9]+\\.[0-9]{2}");
  static const std::regex integer("[0-9]+");
  static const std::regex numeric("[-+0-9.eE]+");
  if (!n.isList) {
    if (!std::regex_match(n.atom, numeric) || n.atom == parent) return;
    bool isInt = parent == "unum" || parent == "sl" || parent == "sr" || parent == "id";
    EXPECT_TRUE(std::regex_match(n.atom, isInt ? integer : fixed2)) << n.atom << " in (" << parent << ") " << where;
    return;
  }
  for (const SNode& c : n.items) expectNumberFormat(c, n.head(), where);
}

// Steps until the agent's perception carries vision.
std::string nextVision(Rig& rig, int id) {
  for (int i = 0; i < 3; ++i) {
    std::string m = rig.step(id);
    if (m.find("(See") != std::string::npos) return m;
  }
  return "";
}

TEST(PracticeWorld, PerceptionsHaveTheCapturedLayoutAndNumberFormatForEveryRobotType) {
  struct Case {
    int type;
    const char* capture;
    std::vector<std::string> needs;
  };
  const std::vector<Case> cases = {
      {0, "single_agent.log", {"(See", "(n lf)", "(n rf)"}},
      {1, "multi_B1.log", {"(See", "(n lf)", "(n rf)"}},
      {2, "single_agent.log", {"(See", "(n lf)", "(n rf)"}},
      {3, "multi_B1.log", {"(See", "(n lf)", "(n rf)"}},
      {4, "multi_A2.log", {"(See", "(n lf)", "(n rf)", "(n lf1)", "(n rf1)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type));
    const std::string real = captureLine(c.capture, c.needs);
    ASSERT_FALSE(real.empty());
    Rig rig;
    int id = rig.join("Probe", 1, c.type, "-3 0 0");
    const std::string ours = nextVision(rig, id);
    EXPECT_EQ(withoutHear(perceptorKeys(ours)), withoutHear(perceptorKeys(real)));
    for (const SNode& n : readSexps(real)) expectNumberFormat(n, "", "capture");
    for (const SNode& n : readSexps(ours)) expectNumberFormat(n, "", "ours");
    // Top-level lists follow each other without separators; nothing follows the last one.
    int depth = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
      depth += ours[i] == '(' ? 1 : ours[i] == ')' ? -1 : 0;
      if (depth == 0) {
        ASSERT_TRUE(ours[i] == ')' && (i + 1 == ours.size() || ours[i + 1] == '(')) << i;
      }
    }
  }
}

TEST(PracticeWorld, VisionComesWithTheFirstPerceptionAndThenEveryThird) {
  Rig rig;
  int id = rig.connect();  // the robot is built: its first perception is ready
  std::string seen;
  const std::string first = rig.latest[id];
  seen += first.find("(See") != std::string::npos ? 'S' : '-';
  for (int i = 0; i < 6; ++i) seen += rig.step(id).find("(See") != std::string::npos ? 'S' : '-';
  EXPECT_EQ(seen, "S--S--S");
}

TEST(PracticeWorld, JoiningAnnouncesUnumAndTeamOnceAndSidesFollowTheFirstTwoNames) {
  Rig rig;
  int a = rig.connect();
  int b = rig.connect();
  int c = rig.connect();
  EXPECT_EQ(field(perceptor(readSexps(rig.latest[a]), "GS"), "unum"), "");
  rig.send(a, "(init (teamname Alpha)(unum 3))");  // sub-lists in any order
  rig.send(b, "(init (unum 3)(teamname Beta))");
  rig.send(c, "(init (unum 1)(teamname Gamma))");
  rig.step();
  auto gs = [&](int id, const char* name) { return field(perceptor(readSexps(rig.latest[id]), "GS"), name); };
  EXPECT_EQ(gs(a, "unum"), "3");
  EXPECT_EQ(gs(a, "team"), "left");
  EXPECT_EQ(gs(b, "unum"), "3");
  EXPECT_EQ(gs(b, "team"), "right");
  EXPECT_EQ(gs(c, "unum"), "");  // a third team is refused
  // Waiting slots on the own side, facing the opponent goal.
  EXPECT_NEAR(rig.agent(a).pos.x, -14.2, 1e-9);
  EXPECT_NEAR(rig.agent(b).pos.x, 14.2, 1e-9);
  EXPECT_NEAR(rig.agent(c).pos.z, 10.0, 1e-9);
  for (int i = 0; i < 4; ++i) {
    rig.step();
    EXPECT_EQ(gs(a, "unum"), "");
    EXPECT_EQ(gs(b, "team"), "");
  }
  // Sides stay bound to the names after everybody has left.
  rig.world.disconnect(a);
  rig.world.disconnect(b);
  int d = rig.join("Beta", 1);
  EXPECT_EQ(gs(d, "team"), "right");
}

TEST(PracticeWorld, InitIsRefusedForTakenNumbersFullTeamsAndBeforeTheRobotExists) {
  Rig rig;
  int first = rig.join("Alpha", 2);
  EXPECT_EQ(rig.agent(first).unum, 2);
  int dup = rig.join("Alpha", 2);
  EXPECT_EQ(rig.agent(dup).side, SIDE_NONE);
  int automatic = rig.join("Alpha", 0);  // 0: lowest free number
  EXPECT_EQ(rig.agent(automatic).unum, 1);
  EXPECT_EQ(rig.agent(automatic).side, SIDE_LEFT);

  // init in the same frame as scene finds no robot and is lost.
  int early = rig.world.connect();
  rig.send(early, "(scene rsg/agent/nao/nao_hetero.rsg 1)(init (unum 5)(teamname Alpha))");
  rig.step();
  rig.step();
  EXPECT_TRUE(rig.agent(early).hasRobot);
  EXPECT_EQ(rig.agent(early).side, SIDE_NONE);

  // A team holds at most 11 robots (types mixed to satisfy the type rules).
  Rig full;
  for (int n = 1; n <= 11; ++n) EXPECT_EQ(full.agent(full.join("T", n, n % 4)).side, SIDE_LEFT) << n;
  EXPECT_EQ(full.agent(full.join("T", 12, 3)).side, SIDE_NONE);
  EXPECT_EQ(full.agent(full.join("T", 0, 2)).side, SIDE_NONE);
}

TEST(PracticeWorld, RobotTypeRulesOfHeterogeneousTeams) {
  struct Case {
    const char* name;
    std::vector<int> accepted;  // types of the team so far
    int next;
    bool ok;
  };
  const std::vector<Case> cases = {
      {"seventh of a type", {0, 0, 0, 0, 0, 0}, 0, true},
      {"eighth of a type", {0, 0, 0, 0, 0, 0, 0}, 0, false},
      {"two types above nine", {0, 0, 0, 0, 0, 1, 1, 1, 1}, 1, false},
      {"third type after nine of two", {0, 0, 0, 0, 0, 1, 1, 1, 1}, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    int unum = 1;
    for (int t : c.accepted) ASSERT_EQ(rig.agent(rig.join("T", unum++, t)).side, SIDE_LEFT);
    int last = rig.join("T", unum, c.next);
    EXPECT_EQ(rig.agent(last).side != SIDE_NONE, c.ok);
    if (!c.ok) {
      // The refused robot keeps its number reserved.
      EXPECT_EQ(rig.agent(rig.join("T", unum, 4)).side, SIDE_NONE);
      EXPECT_EQ(rig.agent(rig.join("T", unum + 1, 4)).side, SIDE_LEFT);
    }
  }
}

TEST(PracticeWorld, BeamFollowsPlayModeSideFrameAndClamping) {
  struct Case {
    const char* mode;
    int side;
    const char* beam;
    bool taken;
    double x, y, heading;  // global, expected when taken
  };
  const std::vector<Case> cases = {
      {"BeforeKickOff", SIDE_LEFT, "-3 1 30", true, -3, 1, 30},
      {"BeforeKickOff", SIDE_RIGHT, "-3 1 30", true, 3, -1, -150},
      {"Goal_Left", SIDE_LEFT, "5 12 0", true, 0, 10, 0},
      {"Goal_Right", SIDE_RIGHT, "-20 -12 90", true, 15, 10, -90},
      {"BeforeKickOff", SIDE_LEFT, "-0.1 2 0", true, -2.5, 2, 0},  // arms in the other half: moved back
      {"PlayOn", SIDE_LEFT, "-3 1 30", false, 0, 0, 0},
      {"KickOff_Left", SIDE_RIGHT, "-3 1 30", false, 0, 0, 0},
      {"BeforeKickOff", SIDE_LEFT, "-3 1", false, 0, 0, 0},
      {"BeforeKickOff", SIDE_LEFT, "-3 nan 0", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.beam);
    Rig rig;
    rig.join("Alpha", 1);
    int id = rig.join(c.side == SIDE_LEFT ? "Alpha" : "Beta", 2);
    rig.monitor(std::string("(playMode ") + c.mode + ")");
    const Vec3 before = rig.agent(id).pos;
    rig.send(id, std::string("(beam ") + c.beam + ")");
    rig.step();
    const Agent& a = rig.agent(id);
    if (!c.taken) {
      EXPECT_NEAR(a.pos.x, before.x, 1e-9);
      EXPECT_NEAR(a.pos.y, before.y, 1e-9);
      continue;
    }
    EXPECT_NEAR(a.pos.x, c.x, 1e-9);
    EXPECT_NEAR(a.pos.y, c.y, 1e-9);
    EXPECT_NEAR(a.pos.z, robotType(0).standingHeight, 1e-9);
    EXPECT_NEAR(normDeg(rad2deg(a.yaw) + 90 - c.heading), 0, 1e-9);
  }
}

TEST(PracticeWorld, JointSpeedsIntegrateWithinSpeedAndRangeLimits) {
  struct Case {
    int type;
    const char* command;
    int steps;
    const char* joint;
    double degrees;
  };
  const double perStep = 0.02 * 180 / kPi;  // degrees per step at 1 rad/s
  const std::vector<Case> cases = {
      {0, "(he1 1.0)", 1, "hj1", perStep},
      {0, "(he1 1.0)", 10, "hj1", 10 * perStep},  // the speed stays until changed
      {0, "(he1 100)", 3, "hj1", 3 * 6.139545 * perStep},
      {0, "(he1 100)", 40, "hj1", 120},
      {0, "(rae2 -10)", 30, "raj2", -95},
      {0, "(lae2 -10)", 30, "laj2", -1},
      {0, "(rle4 -10)", 30, "rlj4", -130},
      {2, "(rle5 100)", 1, "rlj5", 8.80667 * perStep},
      {2, "(lle6 -100)", 1, "llj6", -3.47234 * perStep},
      {0, "(lle6 -100)", 1, "llj6", -6.1395 * perStep},
      {4, "(lle7 1)", 2, "llj7", 2 * perStep},
      {0, "(lle7 1)(he2 -1)", 2, "hj2", -2 * perStep},  // no toe joint on type 0: ignored
      {0, "(he2 1)(he2 -1)", 1, "hj2", -perStep},        // the last one wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + std::string(" x") + std::to_string(c.steps));
    Rig rig;
    int id = rig.join("Alpha", 1, c.type, "-3 0 0");
    rig.send(id, c.command);
    std::string m;
    for (int i = 0; i < c.steps; ++i) m = rig.step(id);
    EXPECT_NEAR(jointAngle(m, c.joint), c.degrees, 0.006);
  }
}

TEST(PracticeWorld, VisionGeometryMatchesThePoses) {
  Rig rig;
  int id = rig.join("Probe", 1, 0, "-3 0 0");
  Vision v = vision(nextVision(rig, id));
  ASSERT_TRUE(v.present);
  const Vec3 camera(-3, 0, 0.54);
  auto expectAt = [&](const std::string& name, const Vec3& where) {
    ASSERT_TRUE(v.objects.count(name)) << name;
    const Vec3 d = where - camera;
    EXPECT_NEAR(v.objects[name].d, d.length(), 0.006) << name;
    EXPECT_NEAR(v.objects[name].h, rad2deg(std::atan2(d.y, d.x)), 0.006) << name;
    EXPECT_NEAR(v.objects[name].v, rad2deg(std::atan2(d.z, std::hypot(d.x, d.y))), 0.006) << name;
  };
  expectAt("B", {0, 0, 0.042});  // straight ahead: H 0
  expectAt("G1R", {15, 1.05, 0.8});  // to the left: H > 0
  expectAt("G2R", {15, -1.05, 0.8});
  expectAt("F1R", {15, 10, 0});
  EXPECT_GT(v.objects["G1R"].h, 0);
  EXPECT_FALSE(v.objects.count("G1L"));  // behind
  // The robot sees its own lower arms, as in the captures.
  const auto& self = v.players["Probe 1"];
  ASSERT_EQ(self.size(), 2u);
  EXPECT_NEAR(self.at("rlowerarm").d, 0.19, 0.006);
  EXPECT_NEAR(self.at("rlowerarm").h, -34.99, 0.006);
  EXPECT_NEAR(self.at("rlowerarm").v, -22.56, 0.006);
  EXPECT_NEAR(self.at("llowerarm").h, 34.99, 0.006);
  // Clipped lines end on the border of the view.
  ASSERT_FALSE(v.lines.empty());
  int onBorder = 0;
  for (const auto& [p, q] : v.lines)
    for (const Polar& e : {p, q}) {
      EXPECT_LE(std::fabs(e.h), 60.0);
      EXPECT_LE(std::fabs(e.v), 60.0);
      onBorder += std::fabs(e.h) > 59.99 || std::fabs(e.v) > 59.99;
    }
  EXPECT_GT(onBorder, 0);
  // The halfway line, 3 m ahead, runs across the whole view.
  bool halfway = false;
  for (const auto& [p, q] : v.lines)
    halfway = halfway || (std::fabs(p.h + q.h) < 0.01 && std::fabs(std::fabs(p.h) - 60) < 0.01 &&
                          std::fabs(p.d - 6.0 / std::cos(deg2rad(p.v))) < 0.05);
  EXPECT_TRUE(halfway);

  // Turning the neck left by 30 degrees moves everything 30 degrees to the right.
  rig.send(id, "(he1 6.139545)");
  while (jointAngle(rig.step(id), "hj1") < 30 - 7.04) {
  }
  rig.send(id, "(he1 " + std::to_string(deg2rad(30 - jointAngle(rig.latest[id], "hj1")) / 0.02) + ")");
  rig.step(id);
  rig.send(id, "(he1 0)");
  Vision turned = vision(nextVision(rig, id));
  ASSERT_NEAR(jointAngle(rig.latest[id], "hj1"), 30, 0.006);
  EXPECT_NEAR(turned.objects["B"].h, -30, 0.01);
  EXPECT_NEAR(turned.objects["B"].d, v.objects["B"].d, 0.006);
}

TEST(PracticeWorld, RobotsSeeOtherTeamsWithGlobalNamesFromTheirOwnSide) {
  Rig rig;
  int a = rig.join("Alpha", 1, 0, "-3 0 0");
  int b = rig.join("Beta", 7, 0, "-3 0 0");  // right team: global (3, 0), facing -x
  int refused = rig.join("Gamma", 1, 0);
  rig.monitor("(agent (unum 1)(team Left)(move -1 0 0.385 -90))");  // global (-1, 0), facing +x
  (void)refused;
  Vision va = vision(nextVision(rig, a));
  Vision vb = vision(nextVision(rig, b));
  ASSERT_TRUE(va.present && vb.present);
  // B faces -x: the left goal is ahead, G1L (global +y) on its right.
  EXPECT_LT(vb.objects["G1L"].h, 0);
  EXPECT_GT(vb.objects["G2L"].h, 0);
  EXPECT_FALSE(vb.objects.count("G1R"));
  // A sees B's head 4 m ahead at eye level, and nothing of the refused robot.
  ASSERT_TRUE(va.players.count("Beta 7"));
  EXPECT_NEAR(va.players["Beta 7"].at("head").d, 4.0, 0.006);
  EXPECT_NEAR(va.players["Beta 7"].at("head").h, 0, 0.006);
  EXPECT_NEAR(va.players["Beta 7"].at("head").v, 0, 0.006);
  EXPECT_EQ(va.players.size(), 2u);  // itself and B
  ASSERT_TRUE(vb.players.count("Alpha 1"));
  EXPECT_NEAR(vb.players["Alpha 1"].at("head").d, 4.0, 0.006);
}

TEST(PracticeWorld, NoiseFollowsTheRealFigures) {
  WorldOptions o;
  o.noise = true;
  Rig rig(o);
  int id = rig.join("Probe", 1, 0, "-3 0 0");
  const Agent& a = rig.agent(id);
  EXPECT_LE(std::fabs(a.pos.x + 3), 0.05);
  EXPECT_LE(std::fabs(a.pos.y), 0.05);
  EXPECT_LE(std::fabs(normDeg(rad2deg(a.yaw) + 90)), 10.0);
  bool differs = false;
  for (int i = 0; i < 5; ++i) {
    Vision v = vision(nextVision(rig, id));
    const Vec3 cam = a.parts[P_HEAD].p;
    const Vec3 d = Vec3(15, 1.05, 0.8) - cam;
    const double ideal = rad2deg(std::atan2(d.y, d.x)) - (rad2deg(a.yaw) + 90);
    ASSERT_TRUE(v.objects.count("G1R"));
    EXPECT_NEAR(v.objects["G1R"].h, ideal, 0.8);  // 0.148 sigma plus the calibration offset
    EXPECT_NEAR(v.objects["G1R"].d, d.length(), 0.1);
    differs = differs || std::fabs(v.objects["G1R"].h - ideal) > 0.005;
  }
  EXPECT_TRUE(differs);
}

TEST(PracticeWorld, SayIsHeardWithTheRealLengthCharacterAndLabelRules) {
  struct Case {
    const char* say;
    const char* heard;  // nullptr: dropped
  };
  const std::vector<Case> cases = {
      {"abcdefghijklmnopqrst", "abcdefghijklmnopqrst"},
      {"abcdefghijklmnopqrstu", nullptr},
      {"B1~opp.msg*0123456;:", "B1~opp.msg*0123456;:"},
      {"a\\(b", nullptr},
      {"\"a b\"", nullptr},
      {"\"\"", nullptr},
      {"caf\xc3\xa9", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.say);
    Rig rig;
    int a = rig.join("ProbeA", 1, 0, "-3 0 0");
    rig.send(a, std::string("(say ") + c.say + ")");
    std::string m = rig.step(a);
    if (c.heard)
      EXPECT_NE(m.find(std::string("(hear ProbeA 0.00 self ") + c.heard + ")"), std::string::npos) << m;
    else
      EXPECT_EQ(m.find("(hear"), std::string::npos) << m;
  }
}

TEST(PracticeWorld, HearingCarriesTeamAndDirectionInTheHearersFrame) {
  Rig rig;
  int a1 = rig.join("ProbeA", 1, 0, "-3 0 0");
  int a2 = rig.join("ProbeA", 2, 4, "-5 3 90");
  int b1 = rig.join("ProbeB", 1, 1, "-4 -2 0");  // global (4, 2)
  rig.send(b1, "(say B1~opp.msg*0123456;:)");
  rig.step();
  // Both hear each other at the same bearing (the frames are turned by 180 degrees);
  // the capture's 15.82 is this 15.95 with the beam noise of its run.
  EXPECT_NE(rig.latest[a1].find("(hear ProbeB 0.00 15.95 B1~opp.msg*0123456;:)"), std::string::npos);
  EXPECT_NE(rig.latest[b1].find("(hear ProbeB 0.00 self B1~opp.msg*0123456;:)"), std::string::npos);
  rig.send(a1, "(say hi)");
  rig.step();
  EXPECT_NE(rig.latest[b1].find("(hear ProbeA 0.00 15.95 hi)"), std::string::npos) << rig.latest[b1];
  EXPECT_NE(rig.latest[a2].find("(hear ProbeA 0.00 -56.31 hi)"), std::string::npos) << rig.latest[a2];
  // Own message, team-mate, opponent: in that order, right after GS.
  rig.send(a1, "(say one)");
  rig.send(a2, "(say two)");
  rig.send(b1, "(say three)");
  rig.step();
  const std::string& m = rig.latest[a1];
  EXPECT_NE(m.find("(pm BeforeKickOff))(hear ProbeA 0.00 self one)(hear ProbeA 0.00 123.69 two)"
                   "(hear ProbeB 0.00 15.95 three)(GYR"),
            std::string::npos)
      << m;
}

TEST(PracticeWorld, EachHearerTakesOneTeamMateMessageEveryTwoCycles) {
  Rig rig;
  int a = rig.join("A", 1, 0, "-3 0 0");
  int b = rig.join("A", 2, 0, "-5 0 0");
  int c = rig.join("A", 3, 1, "-7 0 0");
  std::string heard;
  for (int cycle = 0; cycle < 4; ++cycle) {
    rig.send(b, "(say b" + std::to_string(cycle) + ")");
    rig.send(c, "(say c" + std::to_string(cycle) + ")");
    std::string m = rig.step(a);
    for (const SNode& n : readSexps(m))
      if (n.head() == "hear") heard += n.items.back().atom + " ";
  }
  EXPECT_EQ(heard, "b0 b2 ");
}

TEST(PracticeWorld, ATeamlessSpeakerIsHeardTwiceWithLabelsAsOnTheRealServer) {
  Rig rig;
  int a = rig.join("ProbeA", 1, 0, "-3 0 0");
  rig.join("ProbeB", 1, 0, "-3 0 0");
  int x = rig.join("Third", 1);
  int y = rig.join("Fourth", 1);  // refused too; the last robot in the list
  rig.send(x, "(say msg)");
  rig.step();
  EXPECT_NE(rig.latest[x].find("(hear  0.00 self msg)(hear  0.00 0.00 msg)"), std::string::npos) << rig.latest[x];
  EXPECT_NE(rig.latest[a].find("(hear ProbeA 0.00 "), std::string::npos) << rig.latest[a];
  EXPECT_NE(rig.latest[a].find(")(hear  0.00 "), std::string::npos) << rig.latest[a];
  (void)y;
}

TEST(PracticeWorld, GameTimeAndPlayModesFollowTheReferee) {
  Rig rig;
  int id = rig.join("A", 1, 0, "-3 0 0");
  for (int i = 0; i < 5; ++i) rig.step();
  EXPECT_EQ(rig.world.gameTime(), 0.0);  // frozen before the kick-off
  rig.monitor("(kickOff None)");
  std::string m = rig.step(id);
  EXPECT_EQ(field(perceptor(readSexps(m), "GS"), "pm"), "KickOff_Left");
  EXPECT_EQ(field(perceptor(readSexps(m), "GS"), "t"), "0.02");
  for (int i = 0; i < 15 * 50; ++i) rig.step();  // nobody touches the ball: dropped after 15 s
  EXPECT_EQ(rig.world.playMode(), PM_PLAY_ON);

  // A ball completely behind the goal line, between the posts, is a goal.
  rig.monitor("(ball (pos 14.9 0.5 0.042)(vel 3 0 0))");
  for (int i = 0; i < 10 && rig.world.playMode() == PM_PLAY_ON; ++i) rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_GOAL_LEFT);
  EXPECT_EQ(rig.world.score(SIDE_LEFT), 1);
  for (int i = 0; i < 3 * 50; ++i) rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_KICK_OFF_RIGHT);
  EXPECT_NEAR(rig.world.ballPos().x, 0, 1e-9);

  rig.monitor("(playMode PlayOn)(ball (pos -14.9 -0.5 0.042)(vel -3 0 0))");
  for (int i = 0; i < 10; ++i) rig.step();
  EXPECT_EQ(rig.world.score(SIDE_RIGHT), 1);
  EXPECT_EQ(rig.world.playMode(), PM_GOAL_RIGHT);

  // Past a post: no goal, but a goal kick.
  rig.monitor("(playMode PlayOn)(ball (pos 14.9 1.2 0.042)(vel 3 0 0))");
  for (int i = 0; i < 10; ++i) rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_GOAL_KICK_RIGHT);
  EXPECT_EQ(rig.world.score(SIDE_LEFT), 1);

  // Half time at 300 s, game over at 600 s.
  rig.monitor("(time 299.99)");
  rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_BEFORE_KICK_OFF);
  EXPECT_EQ(rig.world.gameTime(), 300.0);
  rig.monitor("(kickOff None)");
  rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_KICK_OFF_RIGHT);
  rig.monitor("(time 599.99)");
  rig.step();
  rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_GAME_OVER);
  EXPECT_EQ(rig.world.gameTime(), 600.0);
}

TEST(PracticeWorld, AKickOffEndsWhenARobotTouchesTheBallWhichThenRollsAndStops) {
  Rig rig;
  int id = rig.join("A", 1, 0, "-0.35 0 0");
  rig.step();
  EXPECT_NEAR(rig.agent(id).pos.x, -0.35, 1e-9);  // not pushed back: nothing crosses the line
  rig.monitor("(kickOff Left)");
  rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_KICK_OFF_LEFT);
  // Swing the right leg forward into a ball just ahead of the right foot.
  rig.monitor("(ball (pos -0.2 -0.055 0.042))");
  rig.send(id, "(rle3 6)");
  for (int i = 0; i < 15 && rig.world.playMode() == PM_KICK_OFF_LEFT; ++i) rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_PLAY_ON);
  rig.send(id, "(rle3 0)");
  rig.step();
  const double x1 = rig.world.ballPos().x;
  EXPECT_GT(x1, -0.2);
  double last = x1;
  int stillFor = 0;
  for (int i = 0; i < 1500 && stillFor < 5; ++i) {
    rig.step();
    stillFor = rig.world.ballPos().x == last ? stillFor + 1 : 0;
    EXPECT_GE(rig.world.ballPos().x, last);
    last = rig.world.ballPos().x;
  }
  EXPECT_EQ(stillFor, 5);
  EXPECT_GT(last, x1 + 0.05);
}

TEST(PracticeWorld, KickoffAfterStartsTheGameOnceEnoughPlayersJoined) {
  WorldOptions o;
  o.kickoffAfter = 2;
  Rig rig(o);
  rig.join("A", 1, 0, "-3 0 0");
  rig.step();
  EXPECT_EQ(rig.world.playMode(), PM_BEFORE_KICK_OFF);
  rig.join("B", 1, 0, "-3 0 0");
  EXPECT_EQ(rig.world.playMode(), PM_KICK_OFF_LEFT);
}

TEST(PracticeWorld, MonitorCommandsChangeTheGameAsOnTheRealServer) {
  Rig rig;
  int a = rig.join("ProbeA", 1, 0, "-3 0 0");
  int b = rig.join("ProbeB", 1, 0, "-3 0 0");
  auto pm = [&] { return std::string(playModeName(rig.world.playMode())); };

  rig.monitor("(playMode PlayOn)");
  EXPECT_EQ(pm(), "PlayOn");
  rig.monitor("(playMode NoSuchMode)");
  EXPECT_EQ(pm(), "PlayOn");
  rig.monitor("(playMode corner_kick_left)(kickOff Right)");  // several per frame
  EXPECT_EQ(pm(), "KickOff_Right");
  rig.monitor("(score (left 2)(right 1))(time 100)");
  std::string m = rig.step(a);
  EXPECT_EQ(field(perceptor(readSexps(m), "GS"), "sl"), "2");
  EXPECT_EQ(field(perceptor(readSexps(m), "GS"), "sr"), "1");
  EXPECT_EQ(field(perceptor(readSexps(m), "GS"), "t"), "100.02");

  // pos keeps the heading; a robot put in the air stays there until a joint moves.
  rig.monitor("(agent (unum 1)(team Left)(pos -1 0 0.5))");
  rig.step();
  EXPECT_NEAR(rig.agent(a).parts[P_HEAD].p.z, 0.655, 1e-9);
  EXPECT_NEAR(rig.agent(a).pos.x, -1, 1e-9);
  EXPECT_NEAR(normDeg(rad2deg(rig.agent(a).yaw) + 90), 0, 1e-9);
  EXPECT_EQ(rig.latest[a].find("(FRP"), std::string::npos);
  rig.send(a, "(he1 0.1)");
  rig.step();
  EXPECT_NEAR(rig.agent(a).pos.z, 0.385, 1e-9);
  EXPECT_NE(rig.latest[a].find("(FRP (n lf)"), std::string::npos);
  // move turns the robot: DEG 0 faces global +y, so 90 faces -x.
  rig.monitor("(agent (unum 1)(team Right)(move 2 3 0.385 90))");
  rig.step();
  EXPECT_NEAR(rig.agent(b).pos.x, 2, 1e-9);
  EXPECT_NEAR(rig.agent(b).pos.y, 3, 1e-9);
  EXPECT_NEAR(std::fabs(normDeg(rad2deg(rig.agent(b).yaw) + 90)), 180, 1e-9);
  rig.monitor("(agent (unum 9)(team Right)(pos 0 0 0.4))(agent (unum 1)(team Nobody)(pos 0 0 0.4))");

  rig.monitor("(playMode PlayOn)(ball (pos 1 2 0.042)(vel 0 0 0))");
  rig.step();
  EXPECT_NEAR(rig.world.ballPos().x, 1, 1e-9);
  EXPECT_NEAR(rig.world.ballPos().y, 2, 1e-9);
  rig.monitor("(ball (vel 1 0 0))");
  rig.step();
  EXPECT_GT(rig.world.ballPos().x, 1.01);
  rig.monitor("(playMode BeforeKickOff)(ball (pos 5 5 0.042))");
  rig.step();
  EXPECT_NEAR(rig.world.ballPos().x, 0, 1e-9);  // held at the centre before the kick-off

  // Our own command: the whole state.
  auto state = readSexps(rig.monitor("(state)"));
  ASSERT_EQ(state.size(), 1u);
  EXPECT_EQ(state[0].head(), "state");
  EXPECT_EQ(field(&state[0], "pm"), "BeforeKickOff");
  EXPECT_EQ(field(&state[0], "sl"), "2");
  int players = 0;
  for (const SNode& p : state[0].items) {
    if (p.head() != "player") continue;
    ++players;
    const SNode* pos = p.find("pos");
    ASSERT_NE(pos, nullptr);
    if (field(&p, "team") == "Right") {
      EXPECT_EQ(field(&p, "name"), "ProbeB");
      EXPECT_EQ(pos->items[1].atom, "2.0000");
      EXPECT_EQ(field(&p, "heading"), "180.0000");
      EXPECT_EQ(p.find("joints")->items.size(), 23u);
    }
  }
  EXPECT_EQ(players, 2);
}

TEST(PracticeWorld, HostileCommandsNeverBreakTheWorld) {
  std::mt19937 rng(1234);
  const std::vector<std::string> words = {"scene", "init", "beam", "say", "syn", "he1", "lle7", "unum", "teamname",
                                          "agent", "ball", "pos", "vel", "move", "team", "Left", "Right", "playMode",
                                          "kickOff", "score", "time", "state", "nan", "inf", "-1e308", "1e999",
                                          "0", "3", "11", "12", "-3", "(", ")", "\"", "'", ";", "\\", "rsg/x 9"};
  Rig rig;
  std::vector<int> ids;
  for (int i = 0; i < 4; ++i) ids.push_back(rig.join(i % 2 ? "A" : "B", 0, i, "-3 0 0"));
  ids.push_back(rig.world.connect());
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int n = static_cast<int>(rng() % 12);
    for (int k = 0; k < n; ++k) {
      if (rng() % 5 == 0) {
        text += static_cast<char>(rng() % 256);
      } else {
        text += words[rng() % words.size()];
        text += rng() % 2 ? " " : "";
      }
    }
    rig.send(ids[rng() % ids.size()], text);
    rig.monitor(text);
    if (round % 10 == 0) rig.step();
  }
  rig.step();
  for (int id : ids) EXPECT_NE(rig.world.agent(id), nullptr);
}

}  // namespace
}  // namespace practice::test
