#include "world/LocalizerXXBall.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerXXBall::LocalizerXXBall() { name = "LocXB"; }

float LocalizerXXBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 1.1f : 0.3f; }

bool LocalizerXXBall::determineRefXXYYZZ()
{
    return Singleton<WorldState>::getInstance().ball->seen &&
           axesFromLine(true, Singleton<WorldState>::getInstance().ball->relPosition, BALL_HEIGHT);
}
