// Scenarios of the action library's own motions: the keyframe super kicks
// with the ball at the kicking foot, the goalie's dives, and walking to a
// point with goToTarget.
#pragma once

#include <functional>
#include <memory>

#include "Scenario.h"

namespace fieldtest {

// The robot type's right (or left) super kick, the ball put ahead of the foot
// that the kick swings (type 1's left super kick is a right-foot kick).
std::function<std::unique_ptr<Scenario>(double)> superKickScenario(bool left);
// The super kicks put the ball this many metres further out, to the kicking
// foot's outer side, than their usual place.
void setSuperKickSide(double metres);
// The super kick with the ball where the walk-and-kick approach leaves it,
// each seed above 1 a little elsewhere.
std::function<std::unique_ptr<Scenario>(double)> superKickApproachScenario(bool left);
// The goalie's dive to the left or the right, then lying still; the run
// reports which side the robot ends on.
std::function<std::unique_ptr<Scenario>(double)> diveScenario(bool left);
// goToTarget to the point `command` metres straight ahead of the start.
std::function<std::unique_ptr<Scenario>(double)> gotoScenario();

}  // namespace fieldtest
