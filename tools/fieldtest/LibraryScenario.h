// kickToTarget and dynamicKickToTarget the way the decision layer calls it every cycle: after the
// library's fall supervision, with the gaze looking round as the agent's does.
#pragma once

#include <functional>
#include <memory>

#include "Scenario.h"

namespace fieldtest {

// The ball put 1 m ahead; kickToTarget towards a point 10 m beyond it.
std::function<std::unique_ptr<Scenario>(double)> kickToTargetScenario();
// The ball put 1 m ahead; dynamicKickToTarget (the omnidirectional kick) towards
// a point 10 m beyond it.
std::function<std::unique_ptr<Scenario>(double)> dynamicKickScenario();

}  // namespace fieldtest
