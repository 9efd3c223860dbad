#include "world/LocalizerXXBall.h"

LocalizerXXBall::LocalizerXXBall() { name = "LocXB"; }

float LocalizerXXBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 1.1f : 0.3f; }

bool LocalizerXXBall::determineRefXXYYZZ() { return false; }
