#include "world/LocalizerXXHeight.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerXXHeight::LocalizerXXHeight() { name = "LocXMe"; }

float LocalizerXXHeight::confidence() { return 0.4f; }

bool LocalizerXXHeight::determineRefXXYYZZ()
{
    return axesFromLine(true, Vector3f(0, 0, 0), HEAD_HEIGHT);
}
