#ifndef GEOMETRY_HOMOGMATRIX_H
#define GEOMETRY_HOMOGMATRIX_H

#include <iosfwd>

#include "geometry/RotationMatrix.h"
#include "geometry/Vector3f.h"

// 4x4 rigid transform: rotation in the upper-left 3x3 block, translation in
// column 3, bottom row (0, 0, 0, 1).
class HomogMatrix {
public:
    float elem[4][4];

    HomogMatrix();
    HomogMatrix(const RotationMatrix& rot, const Vector3f& trans);
    explicit HomogMatrix(const Vector3f& trans);
    explicit HomogMatrix(const RotationMatrix& rot);

    RotationMatrix getRotation() const;
    Vector3f getTranslation() const;
    void setRotation(const RotationMatrix& rot);
    void setTranslation(const Vector3f& trans);
    // Moves the translation in the outer frame; the rotation is unchanged.
    void translate(float x, float y, float z);
    void translate(const Vector3f& trans);

    HomogMatrix operator*(const HomogMatrix& other) const;
    // Rigid inverse: rotation R^T, translation R^T * (-t).
    HomogMatrix getInverse() const;
};

std::ostream& operator<<(std::ostream& os, const HomogMatrix& m);

#endif
