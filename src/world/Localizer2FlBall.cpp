#include "world/Localizer2FlBall.h"

Localizer2FlBall::Localizer2FlBall() { name = "Loc2FlB"; }

float Localizer2FlBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 1.0f : 0.2f; }

bool Localizer2FlBall::determineRefXXYYZZ() { return false; }
