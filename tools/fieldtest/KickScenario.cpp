#include "KickScenario.h"

#include <cmath>
#include <cstdio>

#include "Truth.h"
#include "geometry/Vector.h"
#include "physics/AgentModel.h"
#include "physics/LegPose.h"
#include "physics/Types.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "world/Vision.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"

namespace fieldtest {

namespace {

// The crouch the kick starts from and returns to: knees bent, soles level.
const double kStance[6] = {0, 0, 22, -44, 22, 0};
// The ball for the kick alone: ahead of the right foot's toe; for the
// approach: straight ahead, out of reach.
const double kKickAhead = 0.15, kKickRight = 0.055;
const double kApproachAhead = 0.40;
// Cycles of standing after the ball is put, so that the robot has seen it
// where it now lies before it moves.
const int kLookCycles = 15;

class Kick : public Scenario {
 public:
  explicit Kick(bool approach) : approach_(approach) {}

  void settle() override { stand(); }

  void begin(Truth& truth, const BodyPose& start) override {
    heading_ = start.heading;
    const double h = heading_ * M_PI / 180.0;
    const double ahead = approach_ ? kApproachAhead : kKickAhead;
    const double right = approach_ ? 0 : kKickRight;
    ballX_ = start.x + ahead * std::cos(h) + right * std::sin(h);
    ballY_ = start.y + ahead * std::sin(h) - right * std::cos(h);
    char text[128];
    std::snprintf(text, sizeof text, "(ball (pos %.3f %.3f 0.042)(vel 0 0 0))", ballX_, ballY_);
    truth.command(text);
    stage_ = Stage::Look;
    looked_ = 0;
  }

  void step(double) override {
    if (stage_ != Stage::Wait && stage_ != Stage::Look) {
      // From the approach on the head turns as the agent's gaze turns it.
      gaze_.decideLookingDirection2();
      gaze_.commitPanTilt();
    }
    switch (stage_) {
      case Stage::Wait:
      case Stage::Hold:
        stand();
        return;
      case Stage::Look:
        stand();
        if (++looked_ >= kLookCycles) {
          stage_ = approach_ ? Stage::Walk : Stage::Kick;
          starting_ = true;
        }
        return;
      case Stage::Walk:
        if (starting_) {
          const double h = heading_ * M_PI / 180.0;
          walk_.init();
          // The agent's field frame is the team frame (here the global one)
          // mirrored in y.
          walk_.SetTarget(Vector(static_cast<float>(ballX_ + 10 * std::cos(h)),
                                 static_cast<float>(-(ballY_ + 10 * std::sin(h)))));
          // This approach ends with the support foot 0.18 m behind the ball
          // and 0.12 m beside it: the ball lies ahead of the kicking foot once
          // that has landed, not under its toe.
          walk_.SetPlanner(OmniWalkPrevCtrl::WALK_AND_7MKICK);
          walk_.Start(0);
          starting_ = false;
        }
        walk_.execute();
        if (walk_.finished()) {
          stage_ = Stage::Kick;
          starting_ = true;
        } else if (walk_.Aborted()) {
          stage_ = Stage::Hold;
        }
        return;
      case Stage::Kick:
        if (starting_) {
          kick_.init();
          starting_ = false;
        }
        kick_.execute();
        if (kick_.finished()) {
          // The call that ends the kick sends nothing: stand instead.
          stage_ = Stage::Hold;
          stand();
        }
        return;
    }
  }

  void end(Truth& truth, Outcome& outcome) override {
    double x = 0, y = 0;
    if (stage_ == Stage::Wait || !truth.ball(x, y)) return;
    outcome.ballKnown = true;
    outcome.ballTravel = std::hypot(x - ballX_, y - ballY_);
    double angle = outcome.ballTravel > 1e-3 ? std::atan2(y - ballY_, x - ballX_) * 180.0 / M_PI - heading_ : 0;
    outcome.ballAngle = std::remainder(angle, 360.0);
  }

 private:
  enum class Stage { Wait, Look, Walk, Kick, Hold };

  void stand() {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    Actions& actions = Singleton<Actions>::getInstance();
    for (int leg = 0; leg < 2; ++leg)
      for (int k = 0; k < 6; ++k) {
        const int j = Types::ijLlj1 + leg + 2 * k;
        actions.MoveJointTo(j, static_cast<float>(LegPose::speed(model.getJoint(j)->getAngle(), kStance[k], 0.02)));
      }
    for (int j : {Types::ijLaj1, Types::ijRaj1})
      actions.MoveJointTo(j, static_cast<float>(LegPose::speed(model.getJoint(j)->getAngle(), -90, 0.02)));
    actions.Send();
  }

  bool approach_;
  Stage stage_ = Stage::Wait;
  bool starting_ = false;
  int looked_ = 0;
  double heading_ = 0, ballX_ = 0, ballY_ = 0;
  OmniWalkPrevCtrl walk_;
  Vision gaze_;
  OmniDirectionalKick kick_;
};

}  // namespace

std::function<std::unique_ptr<Scenario>(double)> kickScenario(bool approach) {
  return [approach](double) { return std::make_unique<Kick>(approach); };
}

}  // namespace fieldtest
