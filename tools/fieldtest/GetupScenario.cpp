#include "GetupScenario.h"

#include <cmath>
#include <random>

#include "Truth.h"
#include "physics/JointControl.h"
#include "physics/Types.h"
#include "skills/AgentActions.h"
#include "skills/SlotBehavior.h"
#include "utils/Singleton.h"
#include "world/AgentState.h"
#include "world/WorldState.h"

namespace fieldtest {

namespace {

// Standing, by the server: the torso's up axis within this of vertical.
const double kUpright = 30;
// Standing must last this long to count (s).
const double kHoldUp = 1.0;
// The fall supervision's own pause after a get-up (s).
const double kPause = 0.75;

class Getup : public Scenario {
 public:
  Getup(bool front, double vary)
      : front_(front), vary_(std::fmin(1.0, std::fabs(vary))), actions_(Singleton<AgentActions>::getInstance()) {}

  void settle() override { playBehavior(actions_, actions_.bZeroWalk); }

  // With a variation (the command, 0 to 1), each seed tips the robot a
  // little differently: more or less lean, some sideways roll, the arms
  // elsewhere, so that it lands in another posture.
  void seed(unsigned s) override {
    std::mt19937 rng(s);
    std::uniform_real_distribution<double> share(-vary_, vary_);
    lean_ = share(rng);
    side_ = share(rng);
    arms_ = share(rng);
  }

  void begin(Truth& truth, const BodyPose&) override {
    truth_ = &truth;
    stage_ = Stage::Tip;
  }

  void step(double t) override {
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentState& state = *actions_.aState;
    // The agent's own fall test, resting while it rises and just after.
    if (!state.isRising() && ws.cTime - ws.lastGetupFinishedTime >= kPause) state.calculateFall();
    if (stage_ == Stage::Tip) {
      tip();
      if (state.isFallen()) {
        stage_ = Stage::Down;
      } else {
        return;
      }
    }
    const bool wasRising = state.isRising();
    actions_.checkGettingUp();
    if (!actions_.doGetup()) actions_.ZMPWalkOmniCall(0, 0, 0);
    // The get-up starts when the stop motion has ended.
    if (!wasRising && state.isRising() && stopEnd_ < 0) stopEnd_ = t;
    actions_.currBehavior->execute();

    BodyPose p;
    bool serverUp = truth_ && truth_->pose(ws.game->side, ws.unum, p) && !p.lying && (!p.tiltKnown || p.tilt < kUpright);
    // Standing from the get-up motion's end on, through the agent's pause
    // (its fall flag is stale then, so the fall test is asked of a fresh
    // state and the agent's own is left as it is).
    AgentState probe;
    probe.calculateFall();
    bool up = stopEnd_ >= 0 && !state.isRising() && !probe.isFallen() && serverUp;
    if (up && upSince_ < 0) upSince_ = t;
    if (!up && upSince_ >= 0 && t - upSince_ < kHoldUp) upSince_ = -1;
    if (upSince_ >= 0 && t - upSince_ >= kHoldUp && standAt_ < 0) standAt_ = upSince_;
  }

  void end(Truth&, Outcome& outcome) override {
    outcome.getupKnown = stopEnd_ >= 0;
    outcome.getupSeconds = standAt_ >= 0 ? standAt_ - stopEnd_ : -1;
  }

  // The trial goes on after the fall: the fall is the test.
  bool endsOnFall() const override { return false; }

 private:
  enum class Stage { Tip, Down };


  // Straight legs with the hips and ankles turned so that the torso leans
  // far ahead of (or behind) the feet.
  void tip() {
    JointControl& jc = Singleton<JointControl>::getInstance();
    for (int leg = 0; leg < 2; ++leg) {
      jc.setJointTarget(Types::ijLlj2 + leg, 8 * side_);
      jc.setJointTarget(Types::ijLlj3 + leg, front_ ? 70 + 15 * lean_ : -25 + 10 * std::fabs(lean_));
      jc.setJointTarget(Types::ijLlj4 + leg, 0);
      jc.setJointTarget(Types::ijLlj5 + leg, front_ ? 30 + 10 * lean_ : -45 + 10 * std::fabs(lean_));
      jc.setJointTarget(Types::ijLlj6 + leg, -8 * side_);
    }
    for (int arm = 0; arm < 2; ++arm) jc.setJointTarget(Types::ijLaj1 + arm, (front_ ? 90 : -90) + 30 * arms_);
    jc.commit();
  }

  bool front_;
  double vary_;
  AgentActions& actions_;
  Truth* truth_ = nullptr;
  Stage stage_ = Stage::Tip;
  double stopEnd_ = -1, upSince_ = -1, standAt_ = -1;
  double lean_ = 0, side_ = 0, arms_ = 0;  // the tip's variation, each -1 to 1
};

}  // namespace

std::function<std::unique_ptr<Scenario>(double)> getupScenario(bool front) {
  return [front](double vary) { return std::make_unique<Getup>(front, vary); };
}

}  // namespace fieldtest
