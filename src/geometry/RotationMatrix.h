#ifndef GEOMETRY_ROTATIONMATRIX_H
#define GEOMETRY_ROTATIONMATRIX_H

#include <iosfwd>

#include "geometry/Vector3f.h"

// 3x3 matrix held as three rows; angles in radians.
class RotationMatrix {
public:
    Vector3f l0;
    Vector3f l1;
    Vector3f l2;

    RotationMatrix();
    RotationMatrix(const Vector3f& lin0, const Vector3f& lin1, const Vector3f& lin2);
    RotationMatrix(const RotationMatrix& other) = default;
    RotationMatrix& operator=(const RotationMatrix& other) = default;

    RotationMatrix operator*(const RotationMatrix& other) const;
    Vector3f operator*(const Vector3f& vector) const;
    // The transpose: the inverse of a rotation.
    RotationMatrix getInverse() const;

    // In place: this = this x R(angle), a rotation in the current body frame.
    RotationMatrix& rotateX(float angle);
    RotationMatrix& rotateY(float angle);
    RotationMatrix& rotateZ(float angle);
};

RotationMatrix GetRotationMatrixX(const float& angle);
RotationMatrix GetRotationMatrixY(const float& angle);
RotationMatrix GetRotationMatrixZ(const float& angle);

std::ostream& operator<<(std::ostream& os, const RotationMatrix& m);

#endif
