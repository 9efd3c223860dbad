// The kick scenarios: the ball is put ahead of the robot when the run starts,
// the robot kicks it (after walking up to it with the walk-and-kick engine,
// for the approach), and the run ends with where the ball went.
#pragma once

#include <functional>
#include <memory>

#include "Scenario.h"

namespace fieldtest {

std::function<std::unique_ptr<Scenario>(double)> kickScenario(bool approach);

}  // namespace fieldtest
