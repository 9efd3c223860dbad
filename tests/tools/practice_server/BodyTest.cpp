// Kinematic bodies driven in-process: standing, stepping, turning, falling,
// getting up, kicking, and robots pushed apart.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "Support.h"

namespace practice::test {
namespace {

// Joint moves of one phase: each joint turns by the given degrees in `cycles` cycles.
struct Phase {
  int cycles;
  std::map<std::string, double> degrees;
};

std::string speeds(const Phase& p, bool stop) {
  std::string cmd;
  for (const auto& [joint, deg] : p.degrees)
    cmd += "(" + joint + " " + (stop ? std::string("0") : std::to_string(deg2rad(deg) / (p.cycles * 0.02))) + ")";
  return cmd;
}

void run(Rig& rig, int id, const std::vector<Phase>& phases) {
  for (const Phase& p : phases) {
    rig.send(id, speeds(p, false));
    for (int i = 0; i < p.cycles; ++i) rig.step();
    rig.send(id, speeds(p, true));
  }
}

// Forward along the heading the robot was beamed to (global +x).
double forward(const Vec3& v) { return v.x; }

Vec3 gs(const std::string& msg, const char* perceptorName, const char* key) {
  const std::vector<SNode> nodes = readSexps(msg);
  const SNode* n = perceptor(nodes, perceptorName);
  const SNode* v = n ? n->find(key) : nullptr;
  if (!v || v->items.size() < 4) return Vec3(1e9, 1e9, 1e9);
  return {std::stod(v->items[1].atom), std::stod(v->items[2].atom), std::stod(v->items[3].atom)};
}

TEST(PracticeBody, MassesAndCentreOfMassFollowTheRobotDescription) {
  struct Case {
    int type;
    Vec3 com;  // in the torso frame at the zero pose
  };
  const std::vector<Case> cases = {
      {0, {0, 0.0163, -0.0788}}, {1, {0, 0.0200, -0.0880}}, {2, {0, 0.0163, -0.0788}},
      {3, {0, 0.0220, -0.0928}}, {4, {0, 0.0155, -0.0789}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    double mass = 0;
    for (const PartSpec& p : robotType(c.type).parts)
      if (p.present) mass += p.mass;
    EXPECT_NEAR(mass, 4.6071, 1e-9);
    Body b;
    b.type = c.type;
    b.angle.assign(robotType(c.type).joints.size(), 0.0);
    placeBody(b, {0, 0, 1}, 0, false);
    EXPECT_NEAR(b.com.x, c.com.x, 1e-4);
    EXPECT_NEAR(b.com.y, c.com.y, 1e-4);
    EXPECT_NEAR(b.com.z - 1, c.com.z, 1e-4);
  }
}

TEST(PracticeBody, AStandingRobotFeelsGravityAndItsWeightOnBothFeet) {
  Rig rig;
  int id = rig.join("A", 1, 0, "-3 0 0");
  const std::string m = rig.step(id);
  EXPECT_EQ(gs(m, "ACC", "a").z, 9.81);
  EXPECT_EQ(gs(m, "GYR", "rt").length(), 0);
  const double total = gs(m, "FRP", "f").z;  // the right foot comes first
  EXPECT_NEAR(total, 4.6071 * 9.81 / 2, 0.02);
}

// A step forward: the weight over the left foot, the right foot lifted, swung
// ahead while the torso moves over the left foot, and put down; then the same
// with the other leg. Each straight leg swings by `swing` degrees from upright.
std::vector<Phase> stepPattern(double swing) {
  const double lift = 20, sway = 15, b = swing;
  return {
      {10, {{"rle2", -sway}, {"rle6", sway}, {"lle2", -sway}, {"lle6", sway}}},
      {10, {{"rle3", lift}, {"rle4", -2 * lift}, {"rle5", lift}}},
      {10, {{"rle3", b}, {"rle5", -b}, {"lle3", -b}, {"lle5", b}}},
      {10, {{"rle3", -lift}, {"rle4", 2 * lift}, {"rle5", -lift}}},
      {20, {{"rle2", 2 * sway}, {"rle6", -2 * sway}, {"lle2", 2 * sway}, {"lle6", -2 * sway}}},
      {10, {{"lle3", lift}, {"lle4", -2 * lift}, {"lle5", lift}}},
      {20, {{"lle3", 2 * b}, {"lle5", -2 * b}, {"rle3", -2 * b}, {"rle5", 2 * b}}},
      {10, {{"lle3", -lift}, {"lle4", 2 * lift}, {"lle5", -lift}}},
  };
}

TEST(PracticeBody, AStepPatternMovesTheTorsoForwardByTheKinematicStepLength) {
  struct Case {
    int type;
    double leg;  // hip pitch axis to ankle pitch axis, straight leg
  };
  const std::vector<Case> cases = {{0, 0.22}, {1, 0.25664}, {3, 0.275736848}, {4, 0.22}};
  const double swing = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    Rig rig;
    int id = rig.join("A", 1, c.type, "-3 0 0");
    const Agent& a = rig.agent(id);
    const Vec3 torso0 = a.pos, right0 = a.parts[P_RFOOT].p, left0 = a.parts[P_LFOOT].p;
    const double step = 2 * c.leg * std::sin(deg2rad(swing));  // between the feet when both are down
    std::vector<Phase> pattern = stepPattern(swing);
    run(rig, id, {pattern.begin(), pattern.begin() + 4});
    EXPECT_NEAR(forward(a.pos - torso0), step / 2, 0.003);
    EXPECT_NEAR(forward(a.parts[P_RFOOT].p - right0), step, 0.003);
    EXPECT_NEAR((a.parts[P_LFOOT].p - left0).length(), 0, 1e-9);  // the planted foot stays put
    const Vec3 torso1 = a.pos;
    run(rig, id, {pattern.begin() + 4, pattern.end()});
    EXPECT_EQ(a.lying, LIE_NONE);
    // The leg swung forward ends 2 mm above the ground (its ankle sits 5 mm behind
    // its hip), so the torso first drifts back a little over the lifting leg
    // until that foot touches: hence 5 mm.
    EXPECT_NEAR(forward(a.pos - torso1), step, 0.005);
    EXPECT_NEAR(forward(a.parts[P_LFOOT].p - left0), 2 * step, 0.005);
    EXPECT_NEAR(forward(a.parts[P_RFOOT].p - right0), step, 0.005);
    EXPECT_NEAR(a.pos.z, robotType(c.type).standingHeight - c.leg * (1 - std::cos(deg2rad(swing)) * std::cos(deg2rad(15))),
                0.003);
  }
}

TEST(PracticeBody, TurningTheHipYawPitchOfThePlantedLegTurnsTheRobot) {
  struct Case {
    double degrees;  // of the right hip yaw-pitch while the right foot is lifted
    bool right;      // turns to the right
  };
  for (const Case& c : std::vector<Case>{{-40, true}, {-20, true}}) {
    SCOPED_TRACE(c.degrees);
    Rig rig;
    int id = rig.join("A", 1, 0, "-3 0 0");
    const Agent& a = rig.agent(id);
    const double lift = 20, sway = 15;
    run(rig, id,
        {
            {10, {{"rle2", -sway}, {"rle6", sway}, {"lle2", -sway}, {"lle6", sway}}},
            {10, {{"rle3", lift}, {"rle4", -2 * lift}, {"rle5", lift}}},
            {10, {{"rle1", c.degrees}, {"rle3", c.degrees * 0.7071}}},  // the hip pitch takes out its tilt
            {10, {{"rle3", -lift}, {"rle4", 2 * lift}, {"rle5", -lift}}},
            {20, {{"rle2", 2 * sway}, {"rle6", -2 * sway}, {"lle2", 2 * sway}, {"lle6", -2 * sway}}},
            {10, {{"lle3", lift}, {"lle4", -2 * lift}, {"lle5", lift}}},
            {10, {{"rle1", -c.degrees}, {"rle3", -c.degrees * 0.7071}}},
            {10, {{"lle3", -lift}, {"lle4", 2 * lift}, {"lle5", -lift}}},
        });
    const Orientation o = torsoOrientation(a);
    EXPECT_EQ(a.lying, LIE_NONE);
    EXPECT_LT(o.yaw, c.degrees / 4) << o.yaw;
    EXPECT_GT(o.yaw, c.degrees) << o.yaw;
    EXPECT_LT(std::fabs(o.pitch) + std::fabs(o.roll), 5) << o.pitch << " " << o.roll;
  }
}

TEST(PracticeBody, ACentreOfMassOutsideTheFeetFallsThatWayAndTheSensorsShowIt) {
  struct Case {
    const char* name;
    Phase posture;
    int lying;
    Vec3 acc;
    double pitch;
  };
  const std::vector<Case> cases = {
      {"ahead of the toes", {10, {{"rle5", 40}, {"lle5", 40}}}, LIE_FRONT, {0, -9.81, 0}, -90},
      {"behind the heels", {10, {{"rle5", -40}, {"lle5", -40}}}, LIE_BACK, {0, 9.81, 0}, 90},
      {"left of the left foot", {10, {{"rle6", 25}, {"lle6", 25}}}, LIE_LEFT, {9.81, 0, 0}, 0},
      {"torso bent too far", {20, {{"rle3", 90}, {"lle3", 90}, {"rle5", -30}, {"lle5", -30}}}, LIE_FRONT, {0, -9.81, 0}, -90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    int id = rig.join("A", 1, 0, "-3 0 0");
    const Agent& a = rig.agent(id);
    run(rig, id, {c.posture});
    EXPECT_EQ(a.lying, LIE_NONE);  // not yet: it takes more than 0.4 s
    double fastestRoll = 0;
    for (int i = 0; i < 45; ++i) {
      const Vec3 gyr = gs(rig.step(id), "GYR", "rt");
      fastestRoll = std::max(fastestRoll, gyr.length());
    }
    EXPECT_EQ(a.lying, c.lying);
    EXPECT_GT(fastestRoll, 90);  // the rest of the way to the ground in 0.3 s
    const std::string m = rig.step(id);
    EXPECT_EQ(gs(m, "GYR", "rt").length(), 0);
    const Vec3 acc = gs(m, "ACC", "a");
    EXPECT_NEAR(acc.x, c.acc.x, 0.011);
    EXPECT_NEAR(acc.y, c.acc.y, 0.011);
    EXPECT_NEAR(acc.z, c.acc.z, 0.011);
    EXPECT_EQ(m.find("(FRP"), std::string::npos);
    EXPECT_LT(a.parts[P_HEAD].p.z, 0.2);  // the camera lies low too
    // The state says so.
    auto state = readSexps(rig.monitor("(state)"));
    const SNode* player = state.at(0).find("player");
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(field(player, "lying"), c.lying == LIE_FRONT ? "front" : c.lying == LIE_BACK ? "back" : "left");
    EXPECT_NEAR(std::stod(field(player->find("torso"), "pitch")), c.pitch, 0.01);
    const SNode* foot = player->find("lfoot");
    ASSERT_NE(foot, nullptr);
    EXPECT_NEAR(std::stod(foot->items.at(1).atom), a.parts[P_LFOOT].p.x, 1e-4);
  }
}

TEST(PracticeBody, TheGetUpPostureRaisesALyingRobotAndStillnessDoesNot) {
  struct Case {
    const char* name;
    Phase fall;
    Phase arms;  // a hand pushing the ground
    Phase legs;  // folded under the hips, the feet flat under the torso
  };
  const std::vector<Case> cases = {
      {"from the front", {10, {{"rle5", 40}, {"lle5", 40}}}, {1, {}},
       {25, {{"rle3", 90}, {"lle3", 90}, {"rle4", -120}, {"lle4", -120}}}},
      {"from the back", {10, {{"rle5", -40}, {"lle5", -40}}}, {25, {{"rae1", -120}, {"lae1", -120}}},
       {25, {{"rle3", 90}, {"lle3", 90}, {"rle4", -120}, {"lle4", -120}, {"rle5", 70}, {"lle5", 70}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    int id = rig.join("A", 1, 0, "-3 0 0");
    const Agent& a = rig.agent(id);
    run(rig, id, {c.fall});
    for (int i = 0; i < 60; ++i) rig.step();
    ASSERT_NE(a.lying, LIE_NONE);
    for (int i = 0; i < 250; ++i) rig.step();  // keeping still: stays down
    EXPECT_NE(a.lying, LIE_NONE);
    run(rig, id, {c.arms});
    // Fold the legs; from the first cycle they are folded, 0.2 s until it rises.
    rig.send(id, speeds(c.legs, false));
    int folded = -1, risen = -1;
    for (int i = 0; i < 100 && risen < 0; ++i) {
      if (i == c.legs.cycles) rig.send(id, speeds(c.legs, true));
      const std::string m = rig.step(id);
      bool legsFolded = true;
      for (const char* leg : {"rlj", "llj"}) {
        legsFolded = legsFolded && jointAngle(m, std::string(leg) + "3") >= 45 &&
                     jointAngle(m, std::string(leg) + "4") <= -90;
      }
      if (legsFolded && folded < 0) folded = i;
      if (a.lying == LIE_NONE) risen = i;
    }
    ASSERT_GE(folded, 0);
    EXPECT_EQ(risen - folded, 9);
    EXPECT_GT(a.pos.z, 0.15);
    EXPECT_NE(rig.step(id).find("(FRP"), std::string::npos);
  }
}

TEST(PracticeBody, AFootSwungIntoTheBallSendsItOffInTheFootsDirection) {
  for (double heading : {0.0, 30.0, -60.0}) {
    SCOPED_TRACE(heading);
    Rig rig;
    int id = rig.join("A", 1, 0, "-3 0 " + std::to_string(heading));
    rig.monitor("(playMode PlayOn)");
    rig.step();
    const Pose& foot = rig.agent(id).parts[P_RFOOT];
    const Vec3 ball = foot.apply({0, 0.08 + 0.05, 0.032});
    rig.monitor("(ball (pos " + std::to_string(ball.x) + " " + std::to_string(ball.y) + " 0.042))");
    rig.send(id, "(rle3 6)");
    for (int i = 0; i < 6; ++i) rig.step();
    rig.send(id, "(rle3 0)");
    const Vec3 v = rig.world.ballVel();
    EXPECT_GT(std::hypot(v.x, v.y), 1.0);
    EXPECT_NEAR(normDeg(rad2deg(std::atan2(v.y, v.x)) - heading), 0, 2);
  }
}

TEST(PracticeBody, RobotsThatOverlapArePushedApart) {
  Rig rig;
  int a = rig.join("A", 1, 0, "-3 0 0");
  int b = rig.join("B", 1, 0, "-3 0 0");
  rig.monitor("(playMode PlayOn)(agent (unum 1)(team Left)(move 1 1 0.385 0))(agent (unum 1)(team Right)(move 1.05 1 0.385 0))");
  rig.step();
  const Vec3 d = rig.agent(b).pos - rig.agent(a).pos;
  EXPECT_NEAR(std::hypot(d.x, d.y), 0.2, 1e-9);
  EXPECT_NEAR(rig.agent(a).pos.x + rig.agent(b).pos.x, 2.05, 1e-9);  // each by half
}

}  // namespace
}  // namespace practice::test
