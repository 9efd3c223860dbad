#include "geometry/Vector3f.h"

#include <cmath>
#include <ostream>
#include <sstream>

Vector3f::Vector3f() : x(0), y(0), z(0) {}
Vector3f::Vector3f(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}
Vector3f::Vector3f(const Vector3f& other) : x(other.x), y(other.y), z(other.z) {}
Vector3f::Vector3f(const Vector& v) : x(v.x), y(v.y), z(0) {}

float Vector3f::getX() const { return x; }
float Vector3f::getY() const { return y; }
float Vector3f::getZ() const { return z; }
void Vector3f::setX(float vx) { x = vx; }
void Vector3f::setY(float vy) { y = vy; }
void Vector3f::setZ(float vz) { z = vz; }

void Vector3f::setCoordinates(float vx, float vy, float vz)
{
    x = vx;
    y = vy;
    z = vz;
}

void Vector3f::setCoordinates(const Vector3f& v) { setCoordinates(v.x, v.y, v.z); }

void Vector3f::set2dCoordinates(float vx, float vy)
{
    x = vx;
    y = vy;
}

Vector3f Vector3f::operator+(const Vector3f& o) const { return Vector3f(x + o.x, y + o.y, z + o.z); }
Vector3f Vector3f::operator-(const Vector3f& o) const { return Vector3f(x - o.x, y - o.y, z - o.z); }
Vector3f Vector3f::operator-() const { return Vector3f() - *this; }
Vector3f Vector3f::operator*(const Vector3f& o) const { return Vector3f(x * o.x, y * o.y, z * o.z); }
Vector3f Vector3f::operator/(const Vector3f& o) const { return Vector3f(x / o.x, y / o.y, z / o.z); }
Vector3f Vector3f::operator*(float d) const { return Vector3f(x * d, y * d, z * d); }
Vector3f Vector3f::operator/(float d) const { return Vector3f(x / d, y / d, z / d); }

Vector3f Vector3f::operator+=(const Vector3f& o)
{
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

bool Vector3f::operator==(const Vector3f& o) const
{
    return x == o.x && y == o.y && z == o.z;
}

float Vector3f::innerProduct(const Vector3f& o) const { return x * o.x + y * o.y + z * o.z; }

Vector3f Vector3f::crossProduct(const Vector3f& o) const
{
    return Vector3f(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}

float Vector3f::length() const { return std::sqrt(x * x + y * y + z * z); }

Vector3f Vector3f::normalize(float len) const { return *this * (len / length()); }

float Vector3f::dist(const Vector3f& o) const { return (*this - o).length(); }

float Vector3f::distToLine(const Vector3f& other1, const Vector3f& other2) const
{
    Vector3f cross = (*this - other1).crossProduct(*this - other2);
    return cross.length() / (other2 - other1).length();
}

Vector3f Vector3f::toCartesian() const
{
    float r = x;
    AngleDeg theta = y;
    AngleDeg phi = z;
    return Vector3f(r * Cos(phi) * Cos(theta), r * Cos(phi) * Sin(theta), r * Sin(phi));
}

Vector3f Vector3f::toPolar() const
{
    return Vector3f(length(), ATan2(y, x), ATan2(z, std::sqrt(x * x + y * y)));
}

Vector Vector3f::to2d() const { return Vector(x, y, CARTESIAN); }

Vector3f Vector3f::determineMidpoint(const Vector3f& a, const Vector3f& b)
{
    return a + (b - a) / 2;
}

std::string Vector3f::toString() const
{
    std::ostringstream os;
    os << *this;
    return os.str();
}

std::ostream& operator<<(std::ostream& os, const Vector3f& v)
{
    return os << v.x << " " << v.y << " " << v.z;
}
