#include "world/LocalizerXXYY.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerXXYY::LocalizerXXYY() { name = "LocXY"; }

float LocalizerXXYY::confidence() { return 0.6f; }

bool LocalizerXXYY::determineRefXXYYZZ()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandmarkLine xLine = findLine(ws.landmarks, X_LINE);
    if (xLine.found())
        xx = xLine.axis(X_LINE);
    LandmarkLine yLine = findLine(ws.landmarks, Y_LINE);
    if (yLine.found())
        yy = yLine.axis(Y_LINE);
    if (!xLine.found() || !yLine.found())
        return false;
    zz = yy.crossProduct(xx);
    refLm1 = yLine.first;
    refLm2 = yLine.second;
    return true;
}
