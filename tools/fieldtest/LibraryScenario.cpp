#include "LibraryScenario.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <random>
#include <utility>

#include "Truth.h"
#include "geometry/Geometry.h"
#include "geometry/Vector.h"
#include "physics/AgentModel.h"
#include "skills/AgentActions.h"
#include "skills/Behavior.h"
#include "skills/IKPose.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/OmniWalkZMP.h"
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
// Variation by seed: the ball up to this far to either side (m), the aim up
// to this much more (deg).
const double kVaryBeside = 0.25, kVaryAim = 30;
// Cycles of standing after the ball is put, so that the robot sees it there.
const int kLookCycles = 15;

// Runs one library operation a cycle, after the library's own fall
// supervision, turns the head as the agent's gaze does (the player finds
// itself by what it sees), then runs the motion the library chose.
class Library : public Scenario {
 public:
  Library() : actions_(Singleton<AgentActions>::getInstance()) {}

  void settle() override { playBehavior(actions_, actions_.bZeroWalk); }

  void step(double t) override {
    if (!ready()) {
      playBehavior(actions_, actions_.bZeroWalk);
      return;
    }
    now_ = t;
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
  double now_ = 0;  // seconds into the run
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
  // `aim`: the target's direction from the ball, degrees counter-clockwise of
  // straight ahead.
  explicit KickTo(double aim = 0) : aim_(aim) {}

  // Each seed but the first moves the ball up to kVaryBeside to either side
  // and turns the aim up to kVaryAim more, so that runs differ.
  void seed(unsigned s) override {
    if (s <= 1) return;
    std::mt19937 rng(s);
    std::uniform_real_distribution<double> share(-1.0, 1.0);
    beside_ = kVaryBeside * share(rng);
    aim_ += kVaryAim * share(rng);
  }

  void begin(Truth& truth, const BodyPose& start) override {
    truth_ = &truth;
    heading_ = start.heading;
    start_ = Vector(static_cast<float>(start.x), static_cast<float>(start.y));
    const double h = heading_ * M_PI / 180.0;
    ball_ = ahead(kBallAhead + along_) +
            Vector(static_cast<float>(-beside_ * std::sin(h)), static_cast<float>(beside_ * std::cos(h)));
    char text[128];
    std::snprintf(text, sizeof text, "(ball (pos %.3f %.3f 0.042)(vel 0 0 0))", ball_.x, ball_.y);
    truth.command(text);
  }

  void end(Truth& truth, Outcome& outcome) override {
    if (reportKicks_) std::fprintf(stderr, "run over: %d kick starts\n", kicks_);
    // The first kick's ball: where it lay when a second kick started.
    double x = firstKickX_, y = firstKickY_;
    if (!firstKickKnown_ && !truth.ball(x, y)) return;
    outcome.ballKnown = true;
    outcome.ballTravel = std::hypot(x - ball_.x, y - ball_.y);
    const double angle =
        outcome.ballTravel > 1e-3 ? std::atan2(y - ball_.y, x - ball_.x) * 180.0 / M_PI - heading_ - aim_ : 0;
    outcome.ballAngle = std::remainder(angle, 360.0);
  }

 protected:
  bool ready() override { return ++looked_ > kLookCycles; }
  void act() override {
    Behavior* before = actions_.currBehavior;
    actions_.kickToTarget(agentFrame(target()));
    if (before == actions_.bOmniWalkPrevCtrl && actions_.currBehavior == actions_.bIKPose) {
      std::fprintf(stderr, "approach again at %.2f s\n", now_);
    } else if (before == actions_.bOmniWalkPrevCtrl && actions_.currBehavior != before) {
      ++kicks_;
      if (kicks_ == 2 && truth_) firstKickKnown_ = truth_->ball(firstKickX_, firstKickY_);
      kick_ = actions_.currBehavior;
      reportKick("start");
    } else if (kick_ && actions_.currBehavior != kick_) {
      // The kick may pass through more than one motion before the walk
      // takes over again.
      if (actions_.currBehavior == actions_.bOmniWalkZmp || actions_.currBehavior == actions_.bOmniWalkPrevCtrl) {
        reportKick("end");
        kick_ = nullptr;
      } else {
        kick_ = actions_.currBehavior;
      }
    }
  }

  // The ball in the torso's frame, x ahead and y to the left: where the
  // server has it, with the torso (false when it shows no torso or ball),
  // and where the player sees it.
  bool serverBall(Vector& out, BodyPose& torso) const {
    WorldState& ws = Singleton<WorldState>::getInstance();
    double bx = 0, by = 0;
    if (!truth_ || !truth_->pose(ws.game->side, ws.unum, torso) || !truth_->ball(bx, by)) return false;
    out = Vector(static_cast<float>(bx), static_cast<float>(by))
              .globalToRelative(Vector(static_cast<float>(torso.x), static_cast<float>(torso.y)),
                                static_cast<float>(torso.heading));
    return true;
  }
  static Vector seenBall() {
    WorldState& ws = Singleton<WorldState>::getInstance();
    // The agent's field frame has +y to the robot's right.
    const Vector seen = ws.ball->position.to2d().globalToRelative(ws.me->position.to2d(), ws.me->orientation);
    return Vector(seen.x, -seen.y);
  }

  // Where the server has the ball when the keyframe kick starts or ends, with
  // the feet the agent measures, on stderr.
  void reportKick(const char* what) {
    Vector ball;
    BodyPose torso;
    if (!serverBall(ball, torso)) return;
    AgentModel& body = Singleton<AgentModel>::getInstance();
    const Vector3f l = body.getLFootPositionFK(), r = body.getRFootPositionFK();
    std::fprintf(stderr,
                 "kick %s at %.2f s: %s, ball %.3f ahead %.3f left of the torso; feet (hips frame) left %.3f %.3f right "
                 "%.3f %.3f; heading %.1f deg, aim %.1f deg\n",
                 what, now_, kick_->getName().c_str(), ball.x, ball.y, l.x, l.y, r.x, r.y,
                 std::remainder(torso.heading - heading_, 360.0), aim_);
    const Vector seen = seenBall();
    std::fprintf(stderr, "seen ball %.3f ahead %.3f left\n", seen.x, seen.y);
    const Vector model = modelBall();
    std::fprintf(stderr, "model ball %.3f ahead %.3f left\n", model.x, model.y);
  }
  // The ball relative to the torso as the player takes it from its body
  // model, x ahead and y to the left.
  static Vector modelBall() {
    const Vector at = Singleton<WorldState>::getInstance().ballFromTorso();
    return Vector(at.x, -at.y);
  }

  // kTargetBeyond past the ball in the aim's direction, team frame.
  Vector target() const {
    const double a = (heading_ + aim_) * M_PI / 180.0;
    return ball_ +
           Vector(static_cast<float>(kTargetBeyond * std::cos(a)), static_cast<float>(kTargetBeyond * std::sin(a)));
  }

  double aim_;
  double along_ = 0;   // the ball's offset beyond kBallAhead (m)
  double beside_ = 0;  // the ball's offset to the left of straight ahead (m)
  int kicks_ = 0;
  bool firstKickKnown_ = false;              // the server showed the ball when the second kick started
  double firstKickX_ = 0, firstKickY_ = 0;  // where
  Behavior* kick_ = nullptr;
  bool reportKicks_ = true;
  Vector ball_{0, 0};
  int looked_ = 0;
  Truth* truth_ = nullptr;
};

// dynamicKickToTarget: the ZMP walk up to the ball, then the omnidirectional
// kick from the step the left foot carried. Once the kick is over the robot
// walks on the spot. Each seed but 0 moves the ball up to kBallShift along and
// across the start heading, so that runs start differently.
class DynamicKickTo : public KickTo {
 public:
  DynamicKickTo() { reportKicks_ = false; }

  void seed(unsigned s) override {
    if (s == 0) return;
    std::mt19937 rng(s);
    std::uniform_real_distribution<double> shift(-kBallShift, kBallShift);
    along_ = shift(rng);
    beside_ = shift(rng);
  }

  // One line on standard error per run: when the kick started (-1: never),
  // where the player saw the ball then and where the server had it (m ahead
  // of and to the left of the torso), where the server had it when the
  // kick's settle ended, and how far the ball moved in the half second
  // before the kick started and during the settle (m).
  void end(Truth& truth, Outcome& outcome) override {
    KickTo::end(truth, outcome);
    std::fprintf(stderr,
                 "omni-kick started %.2f ball %.3f %.3f server %.3f %.3f settled %.3f %.3f moved %.3f %.3f\n",
                 kickAt_, ballAtKick_.x, ballAtKick_.y, serverBall_.x, serverBall_.y, settledBall_.x, settledBall_.y,
                 movedBefore_, movedSettling_);
    std::fprintf(stderr, "omni-kick model ball %.3f %.3f\n", modelAtKick_.x, modelAtKick_.y);
  }

 private:
  static constexpr double kBallShift = 0.1;

  // The ball is followed every cycle: act() does not run while the kick
  // holds the body.
  void step(double t) override {
    double bx = 0, by = 0;
    const bool known = truth_ && truth_->ball(bx, by);
    const Vector b(static_cast<float>(bx), static_cast<float>(by));
    const bool before = kicked_;
    Library::step(t);
    if (!known) return;
    if (!kicked_) track_.push_back(std::make_pair(t, b));
    while (!track_.empty() && track_.front().first < t - 0.5) track_.pop_front();
    if (kicked_ && !before && !track_.empty()) {
      kickBall_ = b;
      movedBefore_ = b.getDistanceTo(track_.front().second);
    }
    if (kicked_ && !settled_ && t >= kickAt_ + actions_.bOmniKick->settleTime) {
      settled_ = true;
      movedSettling_ = b.getDistanceTo(kickBall_);
      BodyPose torso;
      serverBall(settledBall_, torso);
    }
  }

  void act() override {
    if (kicked_ && actions_.currBehavior != actions_.bOmniKick) {
      actions_.ZMPWalkOmniCall(0, 0, 0);
      return;
    }
    actions_.dynamicKickToTarget(agentFrame(ahead(kBallAhead + kTargetBeyond)), false);
    if (actions_.currBehavior == actions_.bOmniKick && !kicked_) {
      kicked_ = true;
      kickAt_ = now_;
      ballAtKick_ = seenBall();
      modelAtKick_ = modelBall();
      BodyPose torso;
      serverBall(serverBall_, torso);
    }
  }

  bool kicked_ = false;
  double kickAt_ = -1;
  Vector ballAtKick_{0, 0};
  Vector modelAtKick_{0, 0};
  Vector serverBall_{0, 0};
  bool settled_ = false;
  Vector settledBall_{0, 0};
  Vector kickBall_{0, 0};
  std::deque<std::pair<double, Vector>> track_;
  double movedBefore_ = 0, movedSettling_ = 0;
};

}  // namespace

std::function<std::unique_ptr<Scenario>(double)> dynamicKickScenario() {
  return [](double) { return std::make_unique<DynamicKickTo>(); };
}

std::function<std::unique_ptr<Scenario>(double)> kickToTargetScenario() {
  return [](double aim) { return std::make_unique<KickTo>(aim); };
}

}  // namespace fieldtest
