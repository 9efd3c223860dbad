#include "MotionScenario.h"

#include <cmath>
#include <cstdio>
#include <random>

#include "Truth.h"
#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "skills/SlotBehavior.h"
#include "utils/Singleton.h"
#include "world/AgentState.h"
#include "world/WorldState.h"

namespace fieldtest {

namespace {

// The ball ahead of the right foot's toe (m from the torso centre at the
// start, in the walk-ready stance): about 0.16 m ahead of the support foot's
// sole point and 0.11 m to its side, where the super kicks are tuned for the
// approach to leave it.
const double kBallAhead = 0.15, kBallRight = 0.055;
// Where the walk-and-kick approach leaves the ball when the right super kick
// starts: further to the right than kBallRight (m), and how far it strays
// from there from run to run (m): nearer, further, to either side. A ball put
// much nearer would touch the toe of the stance the scenario starts from.
const double kApproachRight = 0.09, kApproachNearer = 0.01, kApproachFurther = 0.02, kApproachAcross = 0.035;
// Cycles of standing after the ball is put, so that the robot has seen it.
const int kLookCycles = 15;
// m the super kicks' ball lies further out than kBallRight (--ball-side).
double superKickSide = 0;
// The fall supervision's pause after a get-up (s).
const double kPause = 0.75;

// Runs one library motion after the walk-ready posture and holds the
// posture afterwards.
class LibraryMotion : public Scenario {
 public:
  LibraryMotion() : actions_(Singleton<AgentActions>::getInstance()) {}

  void settle() override { playBehavior(actions_, actions_.bZeroWalk); }

 protected:

  int type() const { return actions_.robotType(); }

  AgentActions& actions_;
};

class SuperKick : public LibraryMotion {
 public:
  // further: m the ball lies further ahead than kBallAhead; aside: m further
  // to the kicking foot's outside than kBallRight; spread: each seed above 1
  // moves it as the approach's ball strays.
  SuperKick(bool left, double further, double aside = 0, bool spread = false)
      : left_(left), ahead_(kBallAhead + further), aside_(aside), spread_(spread) {}

  void seed(unsigned s) override {
    if (!spread_ || s <= 1) return;
    std::mt19937 rng(s);
    ahead_ += std::uniform_real_distribution<double>(-kApproachNearer, kApproachFurther)(rng);
    aside_ += std::uniform_real_distribution<double>(-kApproachAcross, kApproachAcross)(rng);
  }

  void begin(Truth& truth, const BodyPose& start) override {
    heading_ = start.heading;
    const double h = heading_ * M_PI / 180.0;
    // By the motion's name, not left_: type 1 plays its right kick for both.
    const double side = kBallRight + aside_ + superKickSide;
    const double right = kick()->getName().find("Left") == std::string::npos ? side : -side;
    ballX_ = start.x + ahead_ * std::cos(h) + right * std::sin(h);
    ballY_ = start.y + ahead_ * std::sin(h) - right * std::cos(h);
    char text[128];
    std::snprintf(text, sizeof text, "(ball (pos %.3f %.3f 0.042)(vel 0 0 0))", ballX_, ballY_);
    truth.command(text);
    put_ = true;
  }

  void step(double) override {
    if (looked_ < kLookCycles) {
      ++looked_;
      playBehavior(actions_, actions_.bZeroWalk);
      return;
    }
    SlotBehavior* kick = this->kick();
    if (!kicked_) {
      playBehavior(actions_, kick);
      kicked_ = kick->finished();
      if (!kicked_) return;
    }
    playBehavior(actions_, actions_.bZeroWalk);
  }

  void end(Truth& truth, Outcome& outcome) override {
    double x = 0, y = 0;
    if (!put_ || !truth.ball(x, y)) return;
    outcome.ballKnown = true;
    outcome.ballTravel = std::hypot(x - ballX_, y - ballY_);
    double angle = outcome.ballTravel > 1e-3 ? std::atan2(y - ballY_, x - ballX_) * 180.0 / M_PI - heading_ : 0;
    outcome.ballAngle = std::remainder(angle, 360.0);
  }

  bool endsOnFall() const override { return false; }

 private:
  SlotBehavior* kick() const { return left_ ? actions_.bSKickLeft[type()] : actions_.bSKickRight[type()]; }

  bool left_;
  double ahead_, aside_;
  bool spread_;
  bool put_ = false, kicked_ = false;
  int looked_ = 0;
  double heading_ = 0, ballX_ = 0, ballY_ = 0;
};

class Dive : public LibraryMotion {
 public:
  explicit Dive(bool left) : left_(left) {}

  void begin(Truth& truth, const BodyPose&) override { truth_ = &truth; }

  void step(double) override { playBehavior(actions_, left_ ? actions_.bFallLeft : actions_.bFallRight); }

  void end(Truth& truth, Outcome& outcome) override {
    AgentState& state = *actions_.aState;
    state.calculateFall();
    WorldState& ws = Singleton<WorldState>::getInstance();
    BodyPose p;
    outcome.endKnown = true;
    outcome.lyingOn = 0;
    if (truth.pose(ws.game->side, ws.unum, p) && p.tiltKnown && p.tilt > 60)
      outcome.lyingOn = p.chestZ < 0 ? 1 : 2;
    outcome.agentLyingOn = !state.isFallen()                            ? 0
                           : state.getAgentState() == AS_FALLEN_FRONT ? 1
                           : state.getAgentState() == AS_FALLEN_BACK  ? 2
                                                                      : 3;
  }

  bool endsOnFall() const override { return false; }

 private:
  bool left_;
  Truth* truth_ = nullptr;
};

class GoTo : public LibraryMotion {
 public:
  explicit GoTo(double metres) : metres_(metres) {}

  void settle() override {
    actions_.ZMPWalkOmniCall(0, 0, 0);
    actions_.currBehavior->execute();
  }

  void begin(Truth&, const BodyPose& start) override {
    const double h = start.heading * M_PI / 180.0;
    targetX_ = start.x + metres_ * std::cos(h);
    targetY_ = start.y + metres_ * std::sin(h);
    heading_ = start.heading;
  }

  void step(double) override {
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentState& state = *actions_.aState;
    if (!state.isRising() && ws.cTime - ws.lastGetupFinishedTime >= kPause) state.calculateFall();
    actions_.checkGettingUp();
    if (!actions_.doGetup()) {
      // The agent's field frame is its team frame mirrored in y.
      const double sign = ws.game->side == 2 ? -1.0 : 1.0;
      const Vector target(static_cast<float>(sign * targetX_), static_cast<float>(-sign * targetY_));
      const float face = static_cast<float>(-std::remainder(heading_ + (sign < 0 ? 180.0 : 0.0), 360.0));
      actions_.goToTarget(target, face, 1.0f, 0, false, 0, face, false, false, false, Circle(), false, false);
    }
    actions_.currBehavior->execute();
  }

  void end(Truth& truth, Outcome& outcome) override {
    WorldState& ws = Singleton<WorldState>::getInstance();
    BodyPose p;
    if (!truth.pose(ws.game->side, ws.unum, p)) return;
    outcome.targetKnown = true;
    outcome.targetMiss = std::hypot(p.x - targetX_, p.y - targetY_);
  }

 private:
  double metres_;
  double targetX_ = 0, targetY_ = 0, heading_ = 0;
};

}  // namespace

std::function<std::unique_ptr<Scenario>(double)> superKickScenario(bool left) {
  return [left](double further) { return std::make_unique<SuperKick>(left, further); };
}

void setSuperKickSide(double metres) { superKickSide = metres; }

std::function<std::unique_ptr<Scenario>(double)> superKickApproachScenario(bool left) {
  return [left](double further) {
    return std::make_unique<SuperKick>(left, further, kApproachRight - kBallRight, true);
  };
}

std::function<std::unique_ptr<Scenario>(double)> diveScenario(bool left) {
  return [left](double) { return std::make_unique<Dive>(left); };
}

std::function<std::unique_ptr<Scenario>(double)> gotoScenario() {
  return [](double metres) { return std::make_unique<GoTo>(metres); };
}

}  // namespace fieldtest
