#include "world/Localizer.h"

#include "world/LandMark.h"

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
    valid = true;

    const Vector3f* axes[3] = {&xx, &yy, &zz};
    for (unsigned row = 0; row < 3; ++row) {
        locheadToFieldTransf.set(row, 0, axes[row]->x);
        locheadToFieldTransf.set(row, 1, axes[row]->y);
        locheadToFieldTransf.set(row, 2, axes[row]->z);
    }
    locfieldToHeadTransf = locheadToFieldTransf.transpose();

    position = (positionFrom(*refLm1) + positionFrom(*refLm2)) / 2;
}

Vector3f Localizer::positionFrom(const LandMark& lm) const
{
    Vector3f field(lm.position.x, -lm.position.y, lm.position.z);
    return field - locheadToFieldTransf * lm.relPosition.toCartesian();
}

bool Localizer::isValid() const { return valid; }

Vector3f Localizer::estimatedPos() const { return position; }

Matrix4D Localizer::headToFieldTransf() const { return locheadToFieldTransf; }

Matrix4D Localizer::fieldToHeadTransf() const { return locfieldToHeadTransf; }
