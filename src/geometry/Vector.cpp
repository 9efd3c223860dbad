#include "geometry/Vector.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

namespace {

// Beyond this magnitude the normalising loops would take too long (or never
// end for infinities); such angles are first reduced with fmod.
const double kLoopLimit = 36000.0;

}  // namespace

AngleDeg Rad2Deg(AngleRad x)
{
    float scaled = 180.0f * x;
    return static_cast<float>(scaled / M_PI);
}

AngleRad Deg2Rad(AngleDeg x)
{
    return static_cast<float>(x * M_PI / 180.0);
}

float Cos(AngleDeg x) { return std::cos(Deg2Rad(x)); }
float Sin(AngleDeg x) { return std::sin(Deg2Rad(x)); }
float Tan(AngleDeg x) { return std::tan(Deg2Rad(x)); }

AngleDeg ATan(float x) { return Rad2Deg(std::atan(x)); }

AngleDeg ATan2(float y, float x)
{
    if (std::fabs(y) < 1e-10 && std::fabs(x) < 1e-10)
        return 0;
    return Rad2Deg(std::atan2(y, x));
}

AngleDeg ACos(float x)
{
    if (x >= 1)
        return 0;
    if (x <= -1)
        return 180;
    return Rad2Deg(std::acos(x));
}

AngleDeg ASin(float x)
{
    if (x >= 1)
        return 90;
    if (x <= -1)
        return -90;
    return Rad2Deg(std::asin(x));
}

double normalizeAngle(double angle)
{
    if (!(std::fabs(angle) < kLoopLimit))
        angle = std::fmod(angle, 360.0);
    while (angle > 180.0)
        angle -= 360.0;
    while (angle < -180.0)
        angle += 360.0;
    return angle;
}

AngleDeg GetNormalizeAngleDeg(AngleDeg angle)
{
    if (!(std::fabs(angle) < kLoopLimit))
        angle = std::fmod(angle, 360.0f);
    while (angle >= 180)
        angle -= 360;
    while (angle < -180)
        angle += 360;
    return angle;
}

AngleRad GetNormalizeAngleRad(AngleRad angle)
{
    if (!(std::fabs(angle) < kLoopLimit))
        angle = static_cast<float>(std::fmod(static_cast<double>(angle), 2 * M_PI));
    while (static_cast<double>(angle) >= M_PI)
        angle = static_cast<float>(angle - 2 * M_PI);
    while (static_cast<double>(angle) < -M_PI)
        angle = static_cast<float>(angle + 2 * M_PI);
    return angle;
}

bool isAngInInterval(AngleDeg ang, AngleDeg angMin, AngleDeg angMax)
{
    if (ang + 360 < 360)
        ang += 360;
    if (angMin + 360 < 360)
        angMin += 360;
    if (angMax + 360 < 360)
        angMax += 360;

    if (angMin < angMax)
        return angMin < ang && ang < angMax;
    return ang <= angMax || ang >= angMin;
}

AngleDeg getBisectorTwoAngles(AngleDeg angMin, AngleDeg angMax)
{
    return GetNormalizeAngleDeg(ATan2((Sin(angMin) + Sin(angMax)) / 2,
                                      (Cos(angMin) + Cos(angMax)) / 2));
}

// ---------------------------------------------------------------------------

Vector::Vector(float vx, float vy, CoordSystemT cs)
{
    setVector(vx, vy, cs);
}

void Vector::setVector(float a, float b, CoordSystemT cs)
{
    if (cs == CARTESIAN) {
        x = a;
        y = b;
    } else {
        *this = getVectorFromPolar(a, b);
    }
}

Vector Vector::getVectorFromPolar(float dMag, AngleDeg ang)
{
    Vector v;
    v.x = dMag * Cos(ang);
    v.y = dMag * Sin(ang);
    return v;
}

bool Vector::setX(float dX) { x = dX; return true; }
bool Vector::setY(float dY) { y = dY; return true; }
float Vector::getX() const { return x; }
float Vector::getY() const { return y; }

Vector Vector::operator-() const { return Vector(-x, -y); }
Vector Vector::operator+(const Vector& p) const { return Vector(x + p.x, y + p.y); }
Vector Vector::operator-(const Vector& p) const { return Vector(x - p.x, y - p.y); }
Vector Vector::operator*(const Vector& p) const { return Vector(x * p.x, y * p.y); }
Vector Vector::operator/(const Vector& p) const { return Vector(x / p.x, y / p.y); }
Vector Vector::operator+(float d) const { return Vector(x + d, y + d); }
Vector Vector::operator-(float d) const { return Vector(x - d, y - d); }
Vector Vector::operator*(float d) const { return Vector(x * d, y * d); }
Vector Vector::operator/(float d) const { return Vector(x / d, y / d); }

Vector& Vector::operator=(float d)
{
    x = d;
    y = d;
    return *this;
}

void Vector::operator+=(const Vector& p) { x += p.x; y += p.y; }
void Vector::operator-=(const Vector& p) { x -= p.x; y -= p.y; }
void Vector::operator*=(const Vector& p) { x *= p.x; y *= p.y; }
void Vector::operator/=(const Vector& p) { x /= p.x; y /= p.y; }
void Vector::operator+=(float d) { x += d; y += d; }
void Vector::operator-=(float d) { x -= d; y -= d; }
void Vector::operator*=(float d) { x *= d; y *= d; }
void Vector::operator/=(float d) { x /= d; y /= d; }

bool Vector::operator==(const Vector& p) const { return x == p.x && y == p.y; }
bool Vector::operator!=(const Vector& p) const { return !(*this == p); }
bool Vector::operator==(float d) const { return x == d && y == d; }
bool Vector::operator!=(float d) const { return !(*this == d); }

float Vector::getDistanceTo(const Vector& p) const { return (*this - p).length(); }

float Vector::length() const { return std::sqrt(x * x + y * y); }

AngleDeg Vector::getDirection() const { return ATan2(y, x); }

Vector Vector::setLength(float d)
{
    float len = length();
    if (len > 1e-10)
        *this *= d / len;
    return *this;
}

Vector Vector::normalize() { return setLength(1); }

Vector Vector::rotate(AngleDeg angle)
{
    float len = length();
    AngleDeg dir = getDirection();
    setVector(len, dir + angle, POLAR);
    return *this;
}

Vector Vector::globalToRelative(const Vector& origin, AngleDeg ang)
{
    *this -= origin;
    rotate(-ang);
    return *this;
}

Vector Vector::relativeToGlobal(const Vector& origin, AngleDeg ang)
{
    rotate(ang);
    *this += origin;
    return *this;
}

Vector Vector::getVectorOnLineFraction(const Vector& p, float dFrac) const
{
    return p * dFrac + *this * (1 - dFrac);
}

float Vector::innerProduct(const Vector& other) const { return x * other.x + y * other.y; }

bool Vector::isInFrontOf(const Vector& p) const { return x > p.x; }
bool Vector::isInFrontOf(float d) const { return x > d; }
bool Vector::isBehindOf(const Vector& p) const { return x < p.x; }
bool Vector::isBehindOf(float d) const { return x < d; }
bool Vector::isLeftOf(const Vector& p) const { return y < p.y; }
bool Vector::isLeftOf(float d) const { return y < d; }
bool Vector::isRightOf(const Vector& p) const { return y > p.y; }
bool Vector::isRightOf(float d) const { return y > d; }

bool Vector::isBetweenX(const Vector& p1, const Vector& p2) const
{
    return isInFrontOf(p1) && isBehindOf(p2);
}

bool Vector::isBetweenX(float d1, float d2) const
{
    return isInFrontOf(d1) && isBehindOf(d2);
}

bool Vector::isBetweenY(const Vector& p1, const Vector& p2) const
{
    return isRightOf(p1) && isLeftOf(p2);
}

bool Vector::isBetweenY(float d1, float d2) const
{
    return isRightOf(d1) && isLeftOf(d2);
}

bool Vector::objectWithin(const Vector& object) const
{
    double dx = static_cast<double>(object.x) - x;
    double dy = static_cast<double>(object.y) - y;
    return dx < 0.5 && -dx < 0.5 && dy < 0.5 && -dy < 0.5;
}

void Vector::show(CoordSystemT cs) const
{
    if (cs == CARTESIAN)
        std::cout << *this << std::endl;
    else
        std::cout << "( r: " << length() << ", phi: " << getDirection() << "  )";
}

std::string Vector::str(CoordSystemT cs) const
{
    char buf[128];
    if (cs == CARTESIAN)
        std::snprintf(buf, sizeof buf, "( %f, %f )", x, y);
    else
        std::snprintf(buf, sizeof buf, "( r: %f, phi: %f )", length(), getDirection());
    return buf;
}

std::string Vector::toString() const
{
    std::ostringstream os;
    os << "(" << x << "," << y << ")";
    return os.str();
}

std::ostream& operator<<(std::ostream& os, const Vector& v)
{
    return os << v.x << " " << v.y;
}
