#include "world/LocalizerXXHeight.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerXXHeight::LocalizerXXHeight() { name = "LocXMe"; }

float LocalizerXXHeight::confidence() { return 0.4f; }

bool LocalizerXXHeight::determineRefXXYYZZ()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandmarkLine line = findLine(ws.landmarks, X_LINE);
    if (!line.found())
        return false;

    refLm1 = line.first;
    refLm2 = line.second;
    axesFromLineAndPoint(line, X_LINE, Vector3f(0, 0, 0), HEAD_HEIGHT, xx, yy, zz);
    return true;
}
