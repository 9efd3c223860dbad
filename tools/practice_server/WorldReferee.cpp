// The ball and the automatic referee: rolling, the goals, touches, kick-offs,
// the ball going out, set pieces, the drop ball, goals and the halves.
//
// Rules as the practice server applies them (figures in Rules.h):
// - Ball over a side line: kick-in for the team that did not touch it last, at
//   its last in-field x and y = +-9.958. Over a goal line outside the goal: a
//   goal kick 1 m in front of the goal when the attackers touched it last, else
//   a corner kick for the attackers at x = +-14.958, y = +-5.483 on the ball's
//   side. A ball that nobody touched since the referee or a monitor command last
//   placed it counts as last touched by the team attacking the half it left from.
// - Set pieces (kick-in, corner, goal kick, free kicks): nothing happens for 1 s;
//   then players of the kicking team nearer than 0.5 m to the spot are pushed to
//   0.5 m once, the ball is held at the spot, and every cycle opponents whose
//   torso is within 2 m of it are moved 2.5 m from it along x, towards their own
//   goal (the other way when that would leave the field); for a goal kick they
//   are moved out of the penalty area instead, 0.4 m in front of it. The first
//   touch after the pause gives play on; a goal kick is play on once the touched
//   ball has left the penalty area. Not taken within 15 s: drop ball.
// - Kick-off: players in their opponents' half (any part of the body) are moved to
//   x = -2.5 in their team frame every cycle, except kicking-team players whose
//   torso is inside the centre circle; opponents with the torso inside the centre
//   circle are moved too. The first touch gives play on; none within 15 s: drop ball.
// - Drop ball: the ball is put inside the side and goal lines and out of the
//   penalty areas (to the area's front corner on its side), players whose torso is
//   within 2 m of it are moved 2.5 m from it along x towards their own goal, play on.
// - Halves of 300 s: then before kick-off, the second half kicked off by the right
//   team; game over at 600 s.
#include <algorithm>
#include <cmath>

#include "Rules.h"
#include "World.h"

namespace practice {
namespace {

struct Box {
  Vec3 centre, half;
  bool net;  // the back and the roof of a goal catch the ball
};

// The side walls ("posts"), back walls and roofs of both goals.
const std::vector<Box>& goalBoxes() {
  static const std::vector<Box> boxes = [] {
    std::vector<Box> b;
    for (double g : {-1.0, 1.0}) {
      b.push_back({{g * 15.3, 1.07, 0.4}, {0.3, 0.02, 0.4}, false});
      b.push_back({{g * 15.3, -1.07, 0.4}, {0.3, 0.02, 0.4}, false});
      b.push_back({{g * 15.58, 0, 0.4}, {0.02, 1.09, 0.4}, true});
      b.push_back({{g * 15.3, 0, 0.82}, {0.3, 1.09, 0.02}, true});
    }
    return b;
  }();
  return boxes;
}

constexpr double kBounce = 0.8;          // the ball's bounce, above 0.8 m/s
constexpr double kMaxKickSpeed = 12;
constexpr double kBallDecay = 0.98;      // rolling: horizontal speed kept per cycle
constexpr double kMaxBallTravel = 0.02;  // per sub-step, so that the ball cannot pass through a wall

int otherSide(int side) { return side == SIDE_LEFT ? SIDE_RIGHT : SIDE_LEFT; }

double planarDistance(const Vec3& a, const Vec3& b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

void World::moveBall() {
  const double travel = std::hypot(std::hypot(ballVel_.x, ballVel_.y), ballVel_.z) * kStep;
  const int subSteps = std::max(1, static_cast<int>(std::ceil(travel / kMaxBallTravel)));
  const double dt = kStep / subSteps;
  for (int s = 0; s < subSteps; ++s) {
    ballPos_ = ballPos_ + ballVel_ * dt;
    for (const Box& box : goalBoxes()) {
      const Vec3 local = ballPos_ - box.centre;
      const Vec3 closest(std::clamp(local.x, -box.half.x, box.half.x), std::clamp(local.y, -box.half.y, box.half.y),
                         std::clamp(local.z, -box.half.z, box.half.z));
      Vec3 away = local - closest;
      double dist = away.length();
      if (dist >= kBallRadius) continue;
      Vec3 n;
      if (dist > 1e-9) {
        n = away * (1.0 / dist);
      } else {  // centre inside the box: out along the shallowest side
        const Vec3 depth(box.half.x - std::fabs(local.x), box.half.y - std::fabs(local.y), box.half.z - std::fabs(local.z));
        if (depth.x <= depth.y && depth.x <= depth.z) n = Vec3(local.x < 0 ? -1 : 1, 0, 0);
        else if (depth.y <= depth.z) n = Vec3(0, local.y < 0 ? -1 : 1, 0);
        else n = Vec3(0, 0, local.z < 0 ? -1 : 1);
        dist = -(n.x ? depth.x : n.y ? depth.y : depth.z);
      }
      ballPos_ = ballPos_ + n * (kBallRadius - dist);
      const double vn = ballVel_.dot(n);
      if (box.net) {
        ballVel_ = Vec3();
      } else if (vn < 0) {
        ballVel_ = ballVel_ - n * (vn * (-vn > 0.8 ? 1 + kBounce : 1.0));
      }
    }
  }
  if (ballPos_.z > kBallRadius) ballVel_.z -= 9.81 * kStep;
  if (ballPos_.z <= kBallRadius) {
    ballPos_.z = kBallRadius;
    ballVel_.z = ballVel_.z < -0.8 ? -kBounce * ballVel_.z : 0.0;
  }
  ballVel_.x *= kBallDecay;
  ballVel_.y *= kBallDecay;
  if (std::hypot(ballVel_.x, ballVel_.y) < 0.01) ballVel_.x = ballVel_.y = 0;
}

bool World::ballTouched() {
  bool touched = false;
  for (auto& [id, a] : agents_) {
    if (!a.hasRobot || a.side == SIDE_NONE) continue;
    const RobotType& rt = robotType(a.type);
    for (int p = 0; p < P_COUNT; ++p) {
      const PartSpec& ps = rt.parts[static_cast<size_t>(p)];
      if (!ps.present || ps.size.x <= 0) continue;
      const Pose& pose = a.parts[static_cast<size_t>(p)];
      Vec3 local = pose.toLocal(ballPos_);
      Vec3 clamped(std::clamp(local.x, -ps.size.x / 2, ps.size.x / 2), std::clamp(local.y, -ps.size.y / 2, ps.size.y / 2),
                   std::clamp(local.z, -ps.size.z / 2, ps.size.z / 2));
      Vec3 closest = pose.apply(clamped);
      Vec3 away = ballPos_ - closest;
      if (away.length() >= kBallRadius) continue;
      touched = true;
      lastTouchSide_ = a.side;
      Vec3 n = away.length() > 1e-9 ? away.normalized() : (ballPos_ - pose.p).normalized();
      ballPos_ = closest + n * kBallRadius;
      if (ballPos_.z < kBallRadius) ballPos_.z = kBallRadius;
      // A part moving into the ball sends it off along the contact normal, with the
      // ball's bounce: it leaves at the part's speed plus 0.8 times the closing speed.
      if (!a.teleported && a.prevParts.size() == a.parts.size()) {
        Vec3 partVel = (closest - a.prevParts[static_cast<size_t>(p)].apply(clamped)) * (1.0 / kStep);
        double vn = (partVel - ballVel_).dot(n);
        if (vn > 0) ballVel_ = ballVel_ + n * std::min((1 + kBounce) * vn, kMaxKickSpeed);
      }
    }
  }
  return touched;
}

// How far the robot reaches into its opponents' half (team frame x of its foremost corner).
double World::reachIntoOpponentHalf(const Agent& a) const {
  const RobotType& rt = robotType(a.type);
  const double sign = teamSign(a.side);
  double front = -1e9;
  for (int p = 0; p < P_COUNT; ++p) {
    const PartSpec& ps = rt.parts[static_cast<size_t>(p)];
    if (!ps.present || ps.size.x <= 0) continue;
    for (int c = 0; c < 8; ++c) {
      Vec3 corner((c & 1 ? 0.5 : -0.5) * ps.size.x, (c & 2 ? 0.5 : -0.5) * ps.size.y, (c & 4 ? 0.5 : -0.5) * ps.size.z);
      front = std::max(front, sign * a.parts[static_cast<size_t>(p)].apply(corner).x);
    }
  }
  return front;
}

void World::moveAgentTo(Agent& a, double x, double y) { moveBody(a, {x - a.pos.x, y - a.pos.y, 0}); }

void World::setPlayMode(int pm) {
  playMode_ = pm;
  modeStart_ = gameTime_;
  // A set piece set by a monitor command is taken where the ball was last in the field.
  spot_ = lastInField_;
  setPieceReady_ = setPieceTaken_ = false;
}

void World::awardSetPiece(int pm, const Vec3& spot) {
  setPlayMode(pm);
  spot_ = spot;
  ballPos_ = spot;
  ballVel_ = Vec3();
  lastTouchSide_ = SIDE_NONE;
}

void World::placeBall(const Vec3& pos) {
  ballPos_ = pos;
  lastTouchSide_ = SIDE_NONE;
}

void World::dropBall() {
  Vec3 b = ballPos_;
  if (std::fabs(b.x) > kPenaltyX && std::fabs(b.y) < kPenaltyHalfWidth) {
    b.x = std::copysign(kPenaltyX, b.x);
    b.y = b.y < 0 ? -kPenaltyHalfWidth : kPenaltyHalfWidth;
  }
  b.x = std::clamp(b.x, -kCornerX, kCornerX);
  b.y = std::clamp(b.y, -kKickInY, kKickInY);
  b.z = kBallRadius;
  placeBall(b);
  ballVel_ = Vec3();
  for (auto& [id, a] : agents_)
    if (a.hasRobot && a.side != SIDE_NONE && planarDistance(a.pos, b) < kFreeKickDistance)
      moveAgentTo(a, b.x - kFreeKickMove * teamSign(a.side), a.pos.y);
  setPlayMode(PM_PLAY_ON);
}

void World::kickOffRules() {
  const int kicking = kickingSide(playMode_);
  for (auto& [id, a] : agents_) {
    if (!a.hasRobot || a.side == SIDE_NONE) continue;
    const bool inCircle = std::hypot(a.pos.x, a.pos.y) < kFreeKickDistance;
    const bool move = a.side == kicking ? reachIntoOpponentHalf(a) > 0 && !inCircle
                                        : reachIntoOpponentHalf(a) > 0 || inCircle;
    if (move) moveAgentTo(a, -kFreeKickMove * teamSign(a.side), a.pos.y);
  }
}

void World::setPieceRules(double inMode) {
  if (inMode < kSetPiecePause - 1e-6) return;  // the pause: nothing happens
  const int kicking = kickingSide(playMode_);
  const bool goalKick = playMode_ == PM_GOAL_KICK_LEFT || playMode_ == PM_GOAL_KICK_RIGHT;
  if (!setPieceReady_) {
    setPieceReady_ = true;
    for (auto& [id, a] : agents_) {
      if (!a.hasRobot || a.side != kicking) continue;
      const Vec3 d(a.pos.x - spot_.x, a.pos.y - spot_.y, 0);
      const double dist = d.length();
      if (dist >= kKickRepel) continue;
      const Vec3 dir = dist > 1e-9 ? d * (1.0 / dist) : Vec3(-teamSign(a.side), 0, 0);
      moveAgentTo(a, spot_.x + dir.x * kKickRepel, spot_.y + dir.y * kKickRepel);
    }
  }
  if (!setPieceTaken_) {
    if (touchedThisStep_) {
      if (!goalKick) {
        setPlayMode(PM_PLAY_ON);
        return;
      }
      setPieceTaken_ = true;
    } else if (inMode >= kDropBallTime - 1e-6) {
      dropBall();
      return;
    } else {
      ballPos_ = spot_;
      ballVel_ = Vec3();
    }
  }
  const double own = -teamSign(kicking);  // x sign of the kicking team's goal
  auto inPenaltyArea = [&](const Vec3& p) { return own * p.x > kPenaltyX && std::fabs(p.y) < kPenaltyHalfWidth; };
  if (goalKick && setPieceTaken_ && !inPenaltyArea(ballPos_)) {
    setPlayMode(PM_PLAY_ON);
    return;
  }
  for (auto& [id, a] : agents_) {
    if (!a.hasRobot || a.side == SIDE_NONE || a.side == kicking) continue;
    if (goalKick) {
      if (inPenaltyArea(a.pos)) moveAgentTo(a, own * (kPenaltyX - 0.4), a.pos.y);
    } else if (planarDistance(a.pos, spot_) < kFreeKickDistance) {
      double x = spot_.x - kFreeKickMove * teamSign(a.side);
      if (std::fabs(x) > 15) x = spot_.x + kFreeKickMove * teamSign(a.side);
      moveAgentTo(a, x, a.pos.y);
    }
  }
}

void World::ballOut() {
  const bool overGoalLine = std::fabs(ballPos_.x) >= kBallOutX;
  const bool overSideLine = std::fabs(ballPos_.y) >= kBallOutY;
  if (!overGoalLine && !overSideLine) {
    lastInField_ = ballPos_;
    return;
  }
  int toucher = lastTouchSide_;
  if (toucher == SIDE_NONE) toucher = lastInField_.x >= 0 ? SIDE_LEFT : SIDE_RIGHT;
  const double ySign = ballPos_.y < 0 ? -1.0 : 1.0;
  if (overGoalLine) {
    const double g = ballPos_.x < 0 ? -1.0 : 1.0;  // the goal line crossed
    const int defender = g > 0 ? SIDE_RIGHT : SIDE_LEFT;
    if (toucher != defender)
      awardSetPiece(defender == SIDE_LEFT ? PM_GOAL_KICK_LEFT : PM_GOAL_KICK_RIGHT, {g * kGoalKickX, 0, kBallRadius});
    else
      awardSetPiece(defender == SIDE_LEFT ? PM_CORNER_KICK_RIGHT : PM_CORNER_KICK_LEFT,
                    {g * kCornerX, ySign * kCornerY, kBallRadius});
  } else {
    const int taker = otherSide(toucher);
    awardSetPiece(taker == SIDE_LEFT ? PM_KICK_IN_LEFT : PM_KICK_IN_RIGHT,
                  {std::clamp(lastInField_.x, -kCornerX, kCornerX), ySign * kKickInY, kBallRadius});
  }
}

void World::referee() {
  // Halves.
  if (half_ == 1 && gameTime_ >= kHalfTime - 1e-9 && playMode_ != PM_BEFORE_KICK_OFF) {
    gameTime_ = kHalfTime;
    half_ = 2;
    setPlayMode(PM_BEFORE_KICK_OFF);
  } else if (half_ == 2 && gameTime_ >= 2 * kHalfTime - 1e-9 && playMode_ != PM_GAME_OVER) {
    gameTime_ = 2 * kHalfTime;
    setPlayMode(PM_GAME_OVER);
  }

  const double inMode = gameTime_ - modeStart_;
  switch (playMode_) {
    case PM_BEFORE_KICK_OFF: {
      bool anyRobot = false;
      for (auto& [id, a] : agents_) {
        anyRobot = anyRobot || a.hasRobot;
        if (a.hasRobot && a.side != SIDE_NONE && reachIntoOpponentHalf(a) > 0)
          moveAgentTo(a, -kFreeKickMove * teamSign(a.side), a.pos.y);
      }
      if (anyRobot) {
        placeBall(Vec3(0, 0, kBallRadius));
        ballVel_ = Vec3();
      }
      if (options_.kickoffAfter > 0 && kickoffFiredHalf_ != half_ && joinedPlayers() >= options_.kickoffAfter) {
        kickoffFiredHalf_ = half_;
        setPlayMode(half_ == 1 ? PM_KICK_OFF_LEFT : PM_KICK_OFF_RIGHT);
      }
      return;
    }
    case PM_KICK_OFF_LEFT:
    case PM_KICK_OFF_RIGHT:
      if (touchedThisStep_) {
        setPlayMode(PM_PLAY_ON);
      } else if (inMode >= kDropBallTime - 1e-6) {
        dropBall();
      } else {
        kickOffRules();
      }
      break;
    case PM_GOAL_LEFT:
    case PM_GOAL_RIGHT:
      if (inMode >= kGoalPause - 1e-9) {
        placeBall(Vec3(0, 0, kBallRadius));
        ballVel_ = Vec3();
        setPlayMode(playMode_ == PM_GOAL_LEFT ? PM_KICK_OFF_RIGHT : PM_KICK_OFF_LEFT);
      }
      return;
    case PM_PASS_LEFT:
    case PM_PASS_RIGHT:
      if (touchedThisStep_ || inMode >= kPassDuration) setPlayMode(PM_PLAY_ON);
      break;
    case PM_GAME_OVER:
      return;
    default:
      if (isSetPiece(playMode_)) setPieceRules(inMode);
      break;
  }

  // A ball completely behind a goal line, between the posts and under the bar, is a goal.
  if (std::fabs(ballPos_.x) > kGoalLineX && std::fabs(ballPos_.y) < kGoalHalfWidth && ballPos_.z < kGoalHeight) {
    if (ballPos_.x > 0) {
      ++scoreLeft_;
      setPlayMode(PM_GOAL_LEFT);
    } else {
      ++scoreRight_;
      setPlayMode(PM_GOAL_RIGHT);
    }
    return;
  }
  ballOut();
}

}  // namespace practice
