// The practice world driven in-process, with one robot's perceptions fed
// through the agent's parser and world update as the agent does: the pose the
// agent works out for itself, the ball and a seen opponent must match the
// world's own state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "Support.h"
#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace practice::test {
namespace {

struct Case {
  const char* name;
  int side;             // of the robot under test
  int type;             // its robot type
  double x, y, deg;     // its beam, team frame
  double pan, tilt;     // head angles it turns to, degrees
  double oppX, oppY;    // the opponent's place, in the robot's team frame
  double ballX, ballY;  // the ball's place, in the robot's team frame
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const char* const kBodies[kRobotTypes] = {"nao.xml", "nao1.xml", "nao2.xml", "nao3.xml", "nao4.xml"};
const int kSelfUnum = 4, kOppUnum = 9;

double sideSign(int side) { return side == SIDE_RIGHT ? -1.0 : 1.0; }
Vec3 teamToGlobal(int side, double x, double y, double z) { return {sideSign(side) * x, sideSign(side) * y, z}; }
// The agent's field frame is its team frame mirrored in y.
Vec3 globalToField(int side, const Vec3& g) { return {sideSign(side) * g.x, -sideSign(side) * g.y, g.z}; }
double fieldHeading(int side, const Vec3& globalDir) {
  const Vec3 f = globalToField(side, globalDir);
  return rad2deg(std::atan2(f.y, f.x));
}
double planar(const Vector3f& got, const Vec3& want) { return std::hypot(got.x - want.x, got.y - want.y); }
double vertical(const Vector3f& got, const Vec3& want) { return std::fabs(got.z - want.z); }
std::string num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9f", v);
  return buf;
}

// The process's one world state, as a fresh agent would have it.
WorldState& freshAgentWorld(const std::string& team) {
  WorldState& ws = Singleton<WorldState>::getInstance();
  ws.setTeam(team);
  ws.setUnum(kSelfUnum);
  ws.resetSeenFlags();
  Player* me = ws.me;
  me->position = me->speed = Vector3f(0, 0, 0);
  me->prevPosition.clear();
  me->filtered.clear();
  me->conf = 0;
  return ws;
}

class AgentCrossCheck : public ::testing::TestWithParam<Case> {};

TEST_P(AgentCrossCheck, LocalisedPoseBallAndOpponentMatchTheWorld) {
  const Case& c = GetParam();
  Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/" + kBodies[c.type]);
  const std::string teams[2] = {"Lefts", "Rights"};
  WorldState& ws = freshAgentWorld(teams[c.side - 1]);
  MessageParser parser;

  Rig rig;
  // The left team's robot connects first, so its name is the first one seen.
  const int left = rig.world.connect(), right = rig.world.connect();
  const int self = c.side == SIDE_LEFT ? left : right, opp = self == left ? right : left;
  const int oppSide = c.side == SIDE_LEFT ? SIDE_RIGHT : SIDE_LEFT;
  auto cycle = [&] {
    const std::string msg = rig.step(self);
    parser.parseMessage(msg);
    return msg.find("(See") != std::string::npos;
  };
  rig.send(self, "(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(c.type) + ")");
  rig.send(opp, "(scene rsg/agent/nao/nao_hetero.rsg 0)");
  cycle();
  rig.send(self, "(init (unum " + std::to_string(kSelfUnum) + ")(teamname " + teams[c.side - 1] + "))");
  rig.send(opp, "(init (unum " + std::to_string(kOppUnum) + ")(teamname " + teams[oppSide - 1] + "))");
  cycle();
  ASSERT_EQ(ws.game->side, c.side);
  rig.send(self, "(beam " + num(c.x) + " " + num(c.y) + " " + num(c.deg) + ")");
  rig.send(opp, "(beam -5 0 0)");
  cycle();

  // Play on, so that the ball stays where it is put; the opponent in view.
  rig.monitor("(playMode PlayOn)");
  const Vec3 ball = teamToGlobal(c.side, c.ballX, c.ballY, 0.042);
  rig.monitor("(ball (pos " + num(ball.x) + " " + num(ball.y) + " " + num(ball.z) + "))");
  const Vec3 oppAt = teamToGlobal(c.side, c.oppX, c.oppY, 0.3);
  rig.monitor("(agent (unum " + std::to_string(kOppUnum) + ")(team " + (oppSide == SIDE_LEFT ? "Left" : "Right") +
              ")(move " + num(oppAt.x) + " " + num(oppAt.y) + " 0.3 0))");

  // Turn the head in kTurn cycles, then hold it.
  const int kTurn = 15, kCycles = 30;
  rig.send(self, "(he1 " + num(deg2rad(c.pan) / (kTurn * 0.02)) + ")(he2 " +
                     num(deg2rad(c.tilt) / (kTurn * 0.02)) + ")");
  // Largest errors: planar and vertical position of the camera, ball and
  // opponent's head; torso heading and camera heading; the pose against the
  // beam, as in the replay of the real server's messages.
  double beamErr = 0, beamTurn = 0, posErr = 0, heightErr = 0, headingErr = 0, gazeErr = 0;
  double ballErr = 0, ballHeightErr = 0, oppErr = 0;
  int localised = 0;
  for (int i = 1; i <= kCycles; ++i) {
    if (i == kTurn + 1) rig.send(self, "(he1 0)(he2 0)");
    if (!cycle()) continue;
    SCOPED_TRACE("cycle " + std::to_string(i));
    // While the head turns, too few landmarks may be in view; once it holds, all are seen.
    const bool held = i > kTurn;
    if (!ws.isVisionCycle()) {
      EXPECT_FALSE(held) << "not localised";
      continue;
    }
    ++localised;
    const Agent& a = rig.agent(self);
    const Pose& cam = a.parts[P_HEAD];
    const Vec3 camAt = globalToField(c.side, cam.p);
    posErr = std::max(posErr, planar(ws.me->position, camAt));
    beamErr = std::max(beamErr, planar(ws.me->position, Vec3(c.x, -c.y, 0)));
    beamTurn = std::max(beamTurn, std::fabs(normDeg(ws.me->orientation + c.deg)));
    heightErr = std::max(heightErr, vertical(ws.me->position, camAt));
    headingErr = std::max(headingErr, std::fabs(normDeg(ws.me->orientation -
                                                        fieldHeading(c.side, a.parts[P_TORSO].R.column(1)))));
    gazeErr = std::max(gazeErr, std::fabs(normDeg(ws.me->headAbsXYDir - fieldHeading(c.side, cam.R.column(1)))));
    if (ws.ball->seen) {
      const Vec3 ballAt = globalToField(c.side, rig.world.ballPos());
      ballErr = std::max(ballErr, planar(ws.ball->position, ballAt));
      ballHeightErr = std::max(ballHeightErr, vertical(ws.ball->position, ballAt));
    } else {
      EXPECT_FALSE(held) << "ball not seen";
    }
    const Player* o = ws.getOpponentPlayer(kOppUnum);
    if (o != nullptr && o->head.seen)
      oppErr = std::max(oppErr, planar(o->position, globalToField(c.side, rig.agent(opp).parts[P_HEAD].p)));
    else
      EXPECT_FALSE(held) << "opponent not seen";
  }
  // The head reached the asked angles.
  EXPECT_NEAR(jointAngle(rig.latest[self], "hj1"), c.pan, 0.006);
  EXPECT_NEAR(jointAngle(rig.latest[self], "hj2"), c.tilt, 0.006);
  EXPECT_GE(localised, (kCycles - kTurn) / 3);
  std::printf("%-26s camera %.4f m (height %.4f m), torso heading %.3f deg, gaze %.3f deg, "
              "ball %.4f m (height %.4f m), opponent %.4f m; from the beam %.4f m, %.3f deg\n",
              c.name, posErr, heightErr, headingErr, gazeErr, ballErr, ballHeightErr, oppErr, beamErr, beamTurn);
  EXPECT_LT(beamErr, 0.01);
  EXPECT_LT(beamTurn, 0.1);
  EXPECT_LT(posErr, 0.01);
  EXPECT_LT(headingErr, 0.1);
  EXPECT_LT(gazeErr, 0.1);
  EXPECT_LT(ballErr, 0.01);
  EXPECT_LT(oppErr, 0.02);
  // From a pair of landmarks the agent takes its camera to be 0.52 m high,
  // whatever the robot type; the taller types stand up to 0.08 m higher.
  EXPECT_LT(heightErr, 0.08);
  EXPECT_LT(ballHeightErr, 0.08);
}

INSTANTIATE_TEST_SUITE_P(
    Poses, AgentCrossCheck,
    ::testing::Values(
        Case{"LeftFacingGoal", SIDE_LEFT, 0, -3, 0, 0, 0, 0, 3, 1, 1.5, -1},
        Case{"LeftTurnedHeadLeftDown", SIDE_LEFT, 0, -6, 3, -30, 35, -15, 2, -2, -2, 1},
        Case{"LeftFacingOwnGoal", SIDE_LEFT, 4, -8, -4, 170, 20, 10, -12, -1, -10, -3},
        Case{"RightTurnedHeadRightUp", SIDE_RIGHT, 0, -4, -2, 20, -40, 10, 1, -3, -1, -4},
        Case{"RightSidewaysHeadFarRight", SIDE_RIGHT, 1, -10, 5, 60, -60, -25, 3, 4, -5, 2}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace practice::test
