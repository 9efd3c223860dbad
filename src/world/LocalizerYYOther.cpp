#include "world/LocalizerYYOther.h"

#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

LocalizerYYOther::LocalizerYYOther() { name = "LocYO"; }

float LocalizerYYOther::confidence() { return (position.z > -1 && position.z < 2) ? 0.45f : 0.1f; }

bool LocalizerYYOther::determineRefXXYYZZ()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    LandmarkLine yLine = findLine(ws.landmarks, Y_LINE);
    if (!yLine.found())
        return false;
    yy = yLine.axis(Y_LINE);
    LandMark* ref = yLine.reference(Y_LINE);
    LandMark* other = yLine.third;
    if (other == nullptr || other->position.x != ref->position.x)
        return false;

    // The other landmark stands above or below the line: the vertical plane
    // through both gives the x axis.
    Vector3f v = cart(other) - cart(ref);
    xx = ref->position.z > other->position.z ? yy.crossProduct(v) : v.crossProduct(yy);
    xx = xx.normalize();
    refLm1 = yLine.first;
    refLm2 = yLine.second;
    zz = yy.crossProduct(xx);
    return true;
}
