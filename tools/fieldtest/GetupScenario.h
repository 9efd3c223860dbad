// The get-up scenarios: the robot is tipped onto its front or its back by a
// posture, and the action library's fall supervision takes over: the stop
// motion, the get-up of the robot type, then the walk stepping on the spot.
// The run measures how long after the stop motion's end the robot stands
// again, by its own fall test and by the server's account. The command (0 to
// 1) varies the tip by the run's seed; 0 tips every run alike.
#pragma once

#include <functional>
#include <memory>

#include "Scenario.h"

namespace fieldtest {

std::function<std::unique_ptr<Scenario>(double)> getupScenario(bool front);

}  // namespace fieldtest
