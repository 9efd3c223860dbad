#include "world/Localizer2FlBall.h"

#include <cmath>

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

Localizer2FlBall::Localizer2FlBall() { name = "Loc2FlB"; }

float Localizer2FlBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 1.0f : 0.2f; }

bool Localizer2FlBall::determineRefXXYYZZ()
{
    return Singleton<WorldState>::getInstance().ball->seen &&
           axesFromEndPair(Singleton<WorldState>::getInstance().ball->relPosition, BALL_HEIGHT);
}
