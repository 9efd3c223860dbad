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
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandMark* first = nullptr;
    LandMark* second = nullptr;
    if (!findSameEndPair(ws.landmarks, first, second))
        return false;

    // The reference is the member farther from the long axis.
    bool secondFarther = std::fabs(second->position.y) > std::fabs(first->position.y);
    LandMark* ref = secondFarther ? second : first;
    LandMark* other = secondFarther ? first : second;
    refLm1 = ref;
    refLm2 = other;
    axesFromTwoLandmarks(ref, other, first->position.x > 0, Vector3f(0, 0, 0), HEAD_HEIGHT, false,
                         xx, yy, zz);
    return true;
}
