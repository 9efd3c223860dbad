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
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandMark* first = nullptr;
    LandMark* second = nullptr;
    if (!findSameEndPair(ws.landmarks, first, second))
        return false;
    if (!ws.ball->seen)
        return false;
    // The reference is the member farther from the long axis.
    bool secondFarther = std::fabs(second->position.y) > std::fabs(first->position.y);
    LandMark* ref = secondFarther ? second : first;
    LandMark* other = secondFarther ? first : second;
    refLm1 = ref;
    refLm2 = other;
    axesFromTwoLandmarks(ref, other, first->position.x > 0, ws.ball->relPosition, BALL_HEIGHT,
                         false, xx, yy, zz);
    return true;
}
