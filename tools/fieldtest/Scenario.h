// Scenarios: what the player does during a run. Each one is a row of the
// table in Scenario.cpp; later motions (kicks, get-ups) add rows there.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BodyPose.h"
#include "Measure.h"

class AgentActions;
class SlotBehavior;

namespace fieldtest {

class Truth;

// Plays `b` from its start when it is not the current behaviour, then on.
void playBehavior(AgentActions& actions, SlotBehavior* b);

class Scenario {
 public:
  virtual ~Scenario() = default;
  // Every cycle before the run starts: bring the body to the starting posture.
  virtual void settle() = 0;
  // Every cycle of the run, `t` seconds after its start.
  virtual void step(double t) = 0;
  // Before the run, with the run's seed: scenarios that vary their start draw from it.
  virtual void seed(unsigned) {}
  // When the run starts, with the torso where the server shows it.
  virtual void begin(Truth&, const BodyPose&) {}
  // When the run ends: what the scenario measures besides the torso.
  virtual void end(Truth&, Outcome&) {}
  // Whether a fall ends the run.
  virtual bool endsOnFall() const { return true; }
};

struct ScenarioInfo {
  std::string name;
  std::string summary;
  Axis axis;
  double defaultCommand;  // used when no --command is given
  std::string commandUnit;
  double beamX, beamY, beamDeg;  // default start, team frame
  std::function<std::unique_ptr<Scenario>(double command)> make;
};

const std::vector<ScenarioInfo>& scenarios();
const ScenarioInfo* findScenario(const std::string& name);

}  // namespace fieldtest
