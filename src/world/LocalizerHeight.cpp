#include "world/LocalizerHeight.h"

#include <cmath>

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerHeight::LocalizerHeight() { name = "LocMe"; }

float LocalizerHeight::confidence() { return 0.5f; }

bool LocalizerHeight::determineRefXXYYZZ()
{
    return axesFromEndPair(Vector3f(0, 0, 0), HEAD_HEIGHT);
}
