// Scenarios of the action library's own motions: the keyframe super kick
// with the ball at the right foot, the goalie's dives, and walking to a point
// with goToTarget.
#pragma once

#include <functional>
#include <memory>

#include "Scenario.h"

namespace fieldtest {

// The super kick of the robot type, the ball put ahead of the right foot.
std::function<std::unique_ptr<Scenario>(double)> superKickScenario();
// The goalie's dive to the left or the right, then lying still; the run
// reports which side the robot ends on.
std::function<std::unique_ptr<Scenario>(double)> diveScenario(bool left);
// goToTarget to the point `command` metres straight ahead of the start.
std::function<std::unique_ptr<Scenario>(double)> gotoScenario();

}  // namespace fieldtest
