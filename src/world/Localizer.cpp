#include "world/Localizer.h"

#include <cmath>

#include "utils/Singleton.h"
#include "world/LandMark.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

Localizer::Localizer()
    : position(0, 0, 0), valid(false), errInSeenFlags(100000), lastUpdateCTime(-1),
      refLm1(nullptr), refLm2(nullptr), xx(0, 0, 0), yy(0, 0, 0), zz(0, 0, 0)
{
}

void Localizer::run()
{
    valid = false;
    if (!determineRefXXYYZZ())
        return;
    if (refLm1 == nullptr || refLm2 == nullptr)
        return;
    // Degenerate readings (a zero vector normalised, a zero length divided
    // by) give no pose: keep the last one.
    if (!locgeom::isFinite(xx) || !locgeom::isFinite(yy) || !locgeom::isFinite(zz))
        return;

    Matrix4D headToField;
    const Vector3f* axes[3] = {&xx, &yy, &zz};
    for (unsigned row = 0; row < 3; ++row) {
        headToField.set(row, 0, axes[row]->x);
        headToField.set(row, 1, axes[row]->y);
        headToField.set(row, 2, axes[row]->z);
    }
    Vector3f pos = (positionFrom(*refLm1, headToField) + positionFrom(*refLm2, headToField)) / 2;
    if (!locgeom::isFinite(pos))
        return;

    valid = true;
    locheadToFieldTransf = headToField;
    locfieldToHeadTransf = headToField.transpose();
    position = pos;
}

Vector3f Localizer::positionFrom(const LandMark& lm, const Matrix4D& transf)
{
    return locgeom::mirrored(&lm) - transf * locgeom::cart(&lm);
}

bool Localizer::isValid() const { return valid; }

Vector3f Localizer::estimatedPos() const { return position; }

Matrix4D Localizer::headToFieldTransf() const { return locheadToFieldTransf; }

Matrix4D Localizer::fieldToHeadTransf() const { return locfieldToHeadTransf; }

float Localizer::errorInSeenFlags(Vector3f pos)
{
    const WorldState& ws = Singleton<WorldState>::getInstance();
    float sum = 0;
    for (const LandMark* lm : ws.landmarks) {
        if (lm == nullptr || !lm->seen)
            continue;
        Vector3f e = pos + locheadToFieldTransf * locgeom::cart(lm) - locgeom::mirrored(lm);
        sum += e.innerProduct(e);
    }
    return sum;
}

float Localizer::errorDistInSeenFlags(Vector3f pos)
{
    const WorldState& ws = Singleton<WorldState>::getInstance();
    float sum = 0;
    for (const LandMark* lm : ws.landmarks) {
        if (lm == nullptr || !lm->seen)
            continue;
        float d = (locgeom::mirrored(lm) - pos).length() - locgeom::cart(lm).length();
        sum += d * d;
    }
    return sum;
}

bool Localizer::axesFromLine(bool alongX, const Vector3f& point, double height)
{
    locgeom::LineKind kind = alongX ? locgeom::X_LINE : locgeom::Y_LINE;
    locgeom::LandmarkLine line = locgeom::findLine(Singleton<WorldState>::getInstance().landmarks, kind);
    if (!line.found())
        return false;
    refLm1 = line.first;
    refLm2 = line.second;
    locgeom::axesFromLineAndPoint(line, kind, point, height, xx, yy, zz);
    return true;
}

bool Localizer::axesFromEndPair(const Vector3f& point, double height)
{
    LandMark* first = nullptr;
    LandMark* second = nullptr;
    if (!locgeom::findSameEndPair(Singleton<WorldState>::getInstance().landmarks, first, second))
        return false;
    bool secondFarther = std::fabs(second->position.y) > std::fabs(first->position.y);
    refLm1 = secondFarther ? second : first;
    refLm2 = secondFarther ? first : second;
    locgeom::axesFromTwoLandmarks(refLm1, refLm2, first->position.x > 0, point, height, false, xx, yy,
                                  zz);
    return true;
}
