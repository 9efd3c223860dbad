#include "LibraryScenario.h"

#include <cmath>
#include <cstdio>
#include <random>

#include "Truth.h"
#include "geometry/Geometry.h"
#include "geometry/Vector.h"
#include "skills/AgentActions.h"
#include "skills/Behavior.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/SlotBehavior.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/Vision.h"
#include "world/WorldState.h"

namespace fieldtest {

namespace {

// Where the ball is put for the kick, ahead of the start, and how far beyond
// it the kick is aimed (m).
const double kBallAhead = 1.0, kTargetBeyond = 10.0;
// Cycles of standing after the ball is put, so that the robot sees it there.
const int kLookCycles = 15;

// Runs one library operation a cycle, after the library's own fall
// supervision, turns the head as the agent's gaze does (the player finds
// itself by what it sees), then runs the motion the library chose.
class Library : public Scenario {
 public:
  Library() : actions_(Singleton<AgentActions>::getInstance()) {}

  void settle() override { playBehavior(actions_, actions_.bZeroWalk); }

  void step(double) override {
    if (!ready()) {
      playBehavior(actions_, actions_.bZeroWalk);
      return;
    }
    actions_.checkGettingUp();
    if (!actions_.doGetup()) act();
    gaze_.decideLookingDirection2();
    gaze_.commitPanTilt();
    actions_.currBehavior->execute();
  }

 protected:
  AgentActions& actions_;
  Vision gaze_;
  double heading_ = 0;
  Vector start_{0, 0};

  virtual bool ready() { return true; }
  virtual void act() = 0;

  // The point d metres straight ahead of the start, in the team frame.
  Vector ahead(double d) const {
    const double h = heading_ * M_PI / 180.0;
    return Vector(static_cast<float>(start_.x + d * std::cos(h)), static_cast<float>(start_.y + d * std::sin(h)));
  }
  // A team-frame point in the agent's own field frame: y mirrored.
  static Vector agentFrame(Vector p) {
    const float sign = Singleton<WorldState>::getInstance().game->side == 2 ? -1.0f : 1.0f;
    return Vector(sign * p.x, -sign * p.y);
  }

 private:
};

class KickTo : public Library {
 public:
  void begin(Truth& truth, const BodyPose& start) override {
    heading_ = start.heading;
    start_ = Vector(static_cast<float>(start.x), static_cast<float>(start.y));
    ball_ = ahead(kBallAhead);
    char text[128];
    std::snprintf(text, sizeof text, "(ball (pos %.3f %.3f 0.042)(vel 0 0 0))", ball_.x, ball_.y);
    truth.command(text);
  }

  void end(Truth& truth, Outcome& outcome) override {
    double x = 0, y = 0;
    if (!truth.ball(x, y)) return;
    outcome.ballKnown = true;
    outcome.ballTravel = std::hypot(x - ball_.x, y - ball_.y);
    const double angle =
        outcome.ballTravel > 1e-3 ? std::atan2(y - ball_.y, x - ball_.x) * 180.0 / M_PI - heading_ : 0;
    outcome.ballAngle = std::remainder(angle, 360.0);
  }

 protected:
  bool ready() override { return ++looked_ > kLookCycles; }
  void act() override { actions_.kickToTarget(agentFrame(ahead(kBallAhead + kTargetBeyond))); }

  Vector ball_{0, 0};
  int looked_ = 0;
};

// dynamicKickToTarget: the ZMP walk up to the ball, then the omnidirectional
// kick from the step the left foot carried. Once the kick is over the robot
// walks on the spot. Each seed but 0 moves the ball up to kBallShift along and
// across the start heading, so that runs start differently.
class DynamicKickTo : public KickTo {
 public:
  void seed(unsigned s) override {
    if (s == 0) return;
    std::mt19937 rng(s);
    std::uniform_real_distribution<double> shift(-kBallShift, kBallShift);
    along_ = shift(rng);
    across_ = shift(rng);
  }

  void begin(Truth& truth, const BodyPose& start) override {
    heading_ = start.heading;
    start_ = Vector(static_cast<float>(start.x), static_cast<float>(start.y));
    const double h = heading_ * M_PI / 180.0;
    ball_ = ahead(kBallAhead + along_);
    ball_.x -= static_cast<float>(across_ * std::sin(h));
    ball_.y += static_cast<float>(across_ * std::cos(h));
    char text[128];
    std::snprintf(text, sizeof text, "(ball (pos %.3f %.3f 0.042)(vel 0 0 0))", ball_.x, ball_.y);
    truth.command(text);
  }

  void step(double t) override {
    now_ = t;
    KickTo::step(t);
  }

  // One line on standard error per run: when the kick started (-1: never).
  void end(Truth& truth, Outcome& outcome) override {
    KickTo::end(truth, outcome);
    std::fprintf(stderr, "omni-kick started %.2f ball %.3f %.3f\n", kickAt_, ballAtKick_.x, ballAtKick_.y);
  }

 private:
  static constexpr double kBallShift = 0.1;
  double along_ = 0, across_ = 0;

  void act() override {
    if (kicked_ && actions_.currBehavior != actions_.bOmniKick) {
      actions_.ZMPWalkOmniCall(0, 0, 0);
      return;
    }
    actions_.dynamicKickToTarget(agentFrame(ahead(kBallAhead + kTargetBeyond)), false);
    if (actions_.currBehavior == actions_.bOmniKick && !kicked_) {
      kicked_ = true;
      kickAt_ = now_;
      // Where the player sees the ball: ahead and to the left of its torso.
      WorldState& ws = Singleton<WorldState>::getInstance();
      ballAtKick_ = (ws.ball->position.to2d() - ws.me->position.to2d()).rotate(-ws.me->orientation);
    }
  }

  bool kicked_ = false;
  double now_ = 0, kickAt_ = -1;
  Vector ballAtKick_{0, 0};
};

}  // namespace

std::function<std::unique_ptr<Scenario>(double)> dynamicKickScenario() {
  return [](double) { return std::make_unique<DynamicKickTo>(); };
}

std::function<std::unique_ptr<Scenario>(double)> kickToTargetScenario() {
  return [](double) { return std::make_unique<KickTo>(); };
}

}  // namespace fieldtest
