#include "world/LocalizerYYBall.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerYYBall::LocalizerYYBall() { name = "LocYB"; }

float LocalizerYYBall::confidence() { return (position.z >= 0 && static_cast<double>(position.z) < 0.6) ? 0.55f : 0.15f; }

bool LocalizerYYBall::determineRefXXYYZZ()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandmarkLine line = findLine(ws.landmarks, Y_LINE);
    if (!line.found())
        return false;
    if (!ws.ball->seen)
        return false;
    refLm1 = line.first;
    refLm2 = line.second;
    axesFromLineAndPoint(line, Y_LINE, ws.ball->relPosition, BALL_HEIGHT, xx, yy, zz);
    return true;
}
