#include "Scenario.h"

#include "GetupScenario.h"
#include "KickScenario.h"
#include "LibraryScenario.h"
#include "MotionScenario.h"

#include "physics/JointControl.h"
#include "physics/Types.h"
#include "skills/AgentActions.h"
#include "skills/SlotBehavior.h"
#include "skills/OmniWalkZMP.h"

namespace fieldtest {

namespace {

// Holds every joint at 0 degrees: upright, legs straight, arms forward.
class Stand : public Scenario {
 public:
  Stand() {
    for (int i = 0; i < Types::NJOINTS; ++i) control_.setJointTarget(i, 0);
  }
  void settle() override { control_.fastExecute(); }
  void step(double) override { control_.fastExecute(); }

 private:
  JointControl control_;
};

// The walk the agent plays with, driven by one fixed command: stepping on the
// spot while settling, then (vX, vY, vTheta) times the scenario's command.
class Walk : public Scenario {
 public:
  Walk(double vX, double vY, double vTheta) : vX_(vX), vY_(vY), vTheta_(vTheta) { walk_.init(); }
  void settle() override { run(0, 0, 0); }
  void step(double) override { run(vX_, vY_, vTheta_); }

 private:
  void run(double vX, double vY, double vTheta) {
    walk_.setOptParameter(vX, vY, vTheta, true);
    walk_.execute();
  }

  OmniWalkZMP walk_;
  double vX_, vY_, vTheta_;
};

// A walk scenario: the command scales the unit direction (vX, vY, vTheta).
std::function<std::unique_ptr<Scenario>(double)> walk(double vX, double vY, double vTheta) {
  return [=](double command) { return std::make_unique<Walk>(vX * command, vY * command, vTheta * command); };
}

}  // namespace

void playBehavior(AgentActions& actions, SlotBehavior* b) {
  if (actions.currBehavior != b) {
    actions.currBehavior = b;
    b->init();
  }
  b->execute();
}

const std::vector<ScenarioInfo>& scenarios() {
  static const std::vector<ScenarioInfo> table = {
      {"stand", "hold the zero posture (all joints at 0)", Axis::None, 0, "", -5, -4, 0,
       [](double) { return std::make_unique<Stand>(); }},
      // Walk commands: forward 1 is the walk's top command, backward and sideways
      // tops are 0.5 and 0.6 of it; a positive vY steps to the right.
      {"forward", "walk forward at the command", Axis::Forward, 1.0, "vX", -13, -4, 0, walk(1, 0, 0)},
      {"backward", "walk backward at the command", Axis::Backward, 0.5, "-vX", -1, -4, 0, walk(-1, 0, 0)},
      {"left", "walk sideways to the left", Axis::Left, 0.6, "-vY", -7, -8, 0, walk(0, -1, 0)},
      {"right", "walk sideways to the right", Axis::Right, 0.6, "vY", -7, 8, 0, walk(0, 1, 0)},
      {"turn-left", "turn on the spot counter-clockwise", Axis::TurnLeft, 40, "deg", -7, -4, 0, walk(0, 0, 1)},
      {"turn-right", "turn on the spot clockwise", Axis::TurnRight, 40, "deg", -7, -4, 0, walk(0, 0, -1)},
      // Kicks: the ball is put ahead when the run starts; 10 of 10 kicks should
      // send it 2 m within 20 degrees of straight ahead without a fall.
      {"kick", "the kick, the ball put at the right foot", Axis::None, 0, "", -5, 0, 0, kickScenario(false)},
      {"walk-kick", "walk up to a ball 0.4 m ahead, then kick", Axis::None, 0, "", -5, 0, 0, kickScenario(true)},
      // Get-ups: tipped onto the front or the back, the robot should stand
      // again within 3 s of the stop motion's end, 20 of 20 times.
      {"getup-front", "tip onto the front, then the library's get-up", Axis::None, 0, "tip variation", -5, 0, 0,
       getupScenario(true)},
      {"getup-back", "tip onto the back, then the library's get-up", Axis::None, 0, "tip variation", -5, 0, 0,
       getupScenario(false)},
      // The library's keyframe motions: the super kick should send the ball
      // 8 m within 15 degrees without a fall; the left dive should end on the
      // front, the right dive on the back.
      {"superkick", "the robot type's right super kick, the ball put at the kicking foot, the command further ahead",
       Axis::None, 0, "m", -5, 0, 0, superKickScenario(false)},
      {"superkick-left",
       "the robot type's left super kick, the ball put at the kicking foot, the command further ahead", Axis::None, 0,
       "m", -5, 0, 0, superKickScenario(true)},
      {"superkick-approach",
       "the right super kick, the ball where the walk-and-kick approach leaves it (further right), seeds above 1 "
       "move it 1 cm nearer to 2 cm further and up to 3.5 cm to either side, the command further ahead",
       Axis::None, 0, "m", -5, 0, 0, superKickApproachScenario(false)},
      {"superkick-left-approach", "the left super kick, the ball placed as for superkick-approach, mirrored",
       Axis::None, 0, "m", -5, 0, 0, superKickApproachScenario(true)},
      {"dive-left", "the goalie's dive to the left", Axis::None, 0, "", -5, 0, 0, diveScenario(true)},
      {"dive-right", "the goalie's dive to the right", Axis::None, 0, "", -5, 0, 0, diveScenario(false)},
      {"goto", "goToTarget to a point straight ahead", Axis::Forward, 5, "m", -8, 0, 0, gotoScenario()},
      // kickToTarget as the decision layer calls it, with the agent's gaze.
      {"kick-to-target",
       "kickToTarget: the ball put 1 m ahead, aimed 10 m beyond it, the command (deg) counter-clockwise of "
       "straight ahead; the ball's travel and angle are the first kick's (until a second kick starts), its angle "
       "off that aim; seeds above 1 put the ball up to 0.25 m aside and "
       "turn the aim up to 30 deg more",
       Axis::None, 0, "deg", -5, 0, 0,
       kickToTargetScenario()},
      {"omni-kick", "dynamicKickToTarget: the ball put 1 m ahead, the omnidirectional kick aimed 10 m beyond",
       Axis::None, 0, "", -5, 0, 0, dynamicKickScenario()},
  };
  return table;
}

const ScenarioInfo* findScenario(const std::string& name) {
  for (const ScenarioInfo& s : scenarios())
    if (s.name == name) return &s;
  return nullptr;
}

}  // namespace fieldtest
