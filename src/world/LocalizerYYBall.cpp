#include "world/LocalizerYYBall.h"

LocalizerYYBall::LocalizerYYBall() { name = "LocYB"; }

float LocalizerYYBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 0.55f : 0.15f; }

bool LocalizerYYBall::determineRefXXYYZZ() { return false; }
