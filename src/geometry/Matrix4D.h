#ifndef GEOMETRY_MATRIX4D_H
#define GEOMETRY_MATRIX4D_H

#include <iosfwd>

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"

// 4x4 homogeneous transform, row-major: element (i, j) is content[i * 4 + j],
// translation in elements 3, 7 and 11. Rotation angles in degrees.
class Matrix4D {
public:
    static constexpr unsigned M_ROWS = 4;
    static constexpr unsigned M_COLS = 4;
    static constexpr unsigned M_LENGTH = 16;

    float content[M_LENGTH];

    Matrix4D();
    explicit Matrix4D(const float* a);
    Matrix4D(const Matrix4D& other) = default;
    explicit Matrix4D(const Vector3f& v);
    Matrix4D& operator=(const Matrix4D& other) = default;

    void set(unsigned i, float value);
    // Row i, column j; out-of-range indices end the process.
    void set(unsigned i, unsigned j, float value);
    float get(unsigned i, unsigned j) const;
    float get(unsigned i) const;
    float& operator[](unsigned pos);
    const float& operator[](unsigned pos) const;

    Matrix4D operator+(const Matrix4D& other) const;
    Matrix4D operator-(const Matrix4D& other) const;
    Matrix4D& operator+=(const Matrix4D& other);
    Matrix4D& operator-=(const Matrix4D& other);
    Matrix4D operator*(const Matrix4D& other) const;
    // Transforms the point (x, y, z, 1); the bottom row is ignored.
    Vector3f operator*(const Vector3f& vec) const;
    bool operator==(const Matrix4D& other) const;

    Vector3f toVector3f() const;
    Matrix4D transpose() const;

    static Matrix4D rotationX(AngleDeg angle);
    static Matrix4D rotationY(AngleDeg angle);
    static Matrix4D rotationZ(AngleDeg angle);
    // Rotation about axis (not normalised) by angle degrees.
    static Matrix4D rotation(const Vector3f& axis, AngleDeg angle);
    static Matrix4D translation(float x, float y, float z);
    static Matrix4D translation(const Vector3f& v);

    void print() const;
};

std::ostream& operator<<(std::ostream& os, const Matrix4D& m);

#endif
