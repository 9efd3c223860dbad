#include "world/LocalizerYYBall.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerYYBall::LocalizerYYBall() { name = "LocYB"; }

float LocalizerYYBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 0.55f : 0.15f; }

bool LocalizerYYBall::determineRefXXYYZZ()
{
    return Singleton<WorldState>::getInstance().ball->seen &&
           axesFromLine(false, Singleton<WorldState>::getInstance().ball->relPosition, BALL_HEIGHT);
}
