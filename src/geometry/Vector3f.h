#ifndef GEOMETRY_VECTOR3F_H
#define GEOMETRY_VECTOR3F_H

#include <iosfwd>
#include <string>

#include "geometry/Vector.h"

// Spatial float vector. As a polar reading: x is the distance, y the
// horizontal angle and z the vertical angle, both in degrees.
class Vector3f {
public:
    float x;
    float y;
    float z;

    Vector3f();
    Vector3f(float vx, float vy, float vz);
    Vector3f(const Vector3f& other);
    Vector3f(const Vector& v);
    ~Vector3f() {}

    Vector3f& operator=(const Vector3f& other) = default;

    float getX() const;
    float getY() const;
    float getZ() const;
    void setX(float vx);
    void setY(float vy);
    void setZ(float vz);
    void setCoordinates(float vx, float vy, float vz);
    void setCoordinates(const Vector3f& v);
    void set2dCoordinates(float vx, float vy);

    Vector3f operator+(const Vector3f& other) const;
    Vector3f operator-(const Vector3f& other) const;
    Vector3f operator-() const;
    Vector3f operator*(const Vector3f& other) const;
    Vector3f operator/(const Vector3f& other) const;
    Vector3f operator*(float d) const;
    Vector3f operator/(float d) const;
    Vector3f operator+=(const Vector3f& other);
    bool operator==(const Vector3f& other) const;

    float innerProduct(const Vector3f& other) const;
    Vector3f crossProduct(const Vector3f& other) const;
    float length() const;
    Vector3f normalize(float len = 1) const;
    float dist(const Vector3f& other) const;
    // Distance of this point to the line through the two points.
    float distToLine(const Vector3f& other1, const Vector3f& other2) const;

    // (r, theta, phi) in degrees to (x, y, z).
    Vector3f toCartesian() const;
    // (x, y, z) to (r, theta, phi) in degrees.
    Vector3f toPolar() const;
    Vector to2d() const;

    static Vector3f determineMidpoint(const Vector3f& a, const Vector3f& b);

    std::string toString() const;
};

std::ostream& operator<<(std::ostream& os, const Vector3f& v);

#endif
