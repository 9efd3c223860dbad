#include "world/LocalizerXXBall.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerXXBall::LocalizerXXBall() { name = "LocXB"; }

float LocalizerXXBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 1.1f : 0.3f; }

bool LocalizerXXBall::determineRefXXYYZZ()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandmarkLine line = findLine(ws.landmarks, X_LINE);
    if (!line.found())
        return false;
    if (!ws.ball->seen)
        return false;
    refLm1 = line.first;
    refLm2 = line.second;
    axesFromLineAndPoint(line, X_LINE, ws.ball->relPosition, BALL_HEIGHT, xx, yy, zz);
    return true;
}
