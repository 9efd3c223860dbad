#ifndef GEOMETRY_VECTOR_H
#define GEOMETRY_VECTOR_H

#include <iosfwd>
#include <string>

// Angles in degrees, counter-clockwise positive.
typedef float AngleDeg;
// Angles in radians.
typedef float AngleRad;

// How a pair of numbers is read: (x, y) or (radius, angle in degrees).
enum CoordSystemT { CARTESIAN = 0, POLAR = 1 };

AngleDeg Rad2Deg(AngleRad x);
AngleRad Deg2Rad(AngleDeg x);
float Cos(AngleDeg x);
float Sin(AngleDeg x);
float Tan(AngleDeg x);
AngleDeg ATan(float x);
// ATan2(y, x); 0 when both components are below 1e-10 in magnitude.
AngleDeg ATan2(float y, float x);
AngleDeg ACos(float x);
AngleDeg ASin(float x);

// Into [-180, 180], both ends kept.
double normalizeAngle(double angle);
// Into [-180, 180): 180 becomes -180.
AngleDeg GetNormalizeAngleDeg(AngleDeg angle);
// Into [-pi, pi).
AngleRad GetNormalizeAngleRad(AngleRad angle);

// Whether ang lies on the arc from angMin counter-clockwise to angMax.
bool isAngInInterval(AngleDeg ang, AngleDeg angMin, AngleDeg angMax);
// Direction of the mean of the two unit vectors.
AngleDeg getBisectorTwoAngles(AngleDeg angMin, AngleDeg angMax);

// Planar float vector. Left means the smaller y, front the larger x.
class Vector {
public:
    float x;
    float y;

    Vector(float vx = 0, float vy = 0, CoordSystemT cs = CARTESIAN);

    void setVector(float a, float b, CoordSystemT cs = CARTESIAN);
    static Vector getVectorFromPolar(float dMag, AngleDeg ang);

    bool setX(float dX);
    bool setY(float dY);
    float getX() const;
    float getY() const;

    Vector operator-() const;
    Vector operator+(const Vector& p) const;
    Vector operator-(const Vector& p) const;
    Vector operator*(const Vector& p) const;
    Vector operator/(const Vector& p) const;
    Vector operator+(float d) const;
    Vector operator-(float d) const;
    Vector operator*(float d) const;
    Vector operator/(float d) const;

    Vector& operator=(float d);

    void operator+=(const Vector& p);
    void operator-=(const Vector& p);
    void operator*=(const Vector& p);
    void operator/=(const Vector& p);
    void operator+=(float d);
    void operator-=(float d);
    void operator*=(float d);
    void operator/=(float d);

    bool operator==(const Vector& p) const;
    bool operator!=(const Vector& p) const;
    bool operator==(float d) const;
    bool operator!=(float d) const;

    float getDistanceTo(const Vector& p) const;
    float length() const;
    AngleDeg getDirection() const;
    Vector setLength(float d);
    Vector normalize();
    Vector rotate(AngleDeg angle);
    Vector globalToRelative(const Vector& origin, AngleDeg ang);
    Vector relativeToGlobal(const Vector& origin, AngleDeg ang);
    Vector getVectorOnLineFraction(const Vector& p, float dFrac) const;
    float innerProduct(const Vector& other) const;

    bool isInFrontOf(const Vector& p) const;
    bool isInFrontOf(float d) const;
    bool isBehindOf(const Vector& p) const;
    bool isBehindOf(float d) const;
    bool isLeftOf(const Vector& p) const;
    bool isLeftOf(float d) const;
    bool isRightOf(const Vector& p) const;
    bool isRightOf(float d) const;
    bool isBetweenX(const Vector& p1, const Vector& p2) const;
    bool isBetweenX(float d1, float d2) const;
    bool isBetweenY(const Vector& p1, const Vector& p2) const;
    bool isBetweenY(float d1, float d2) const;

    // Less than 0.5 apart in x and in y.
    bool objectWithin(const Vector& object) const;

    void show(CoordSystemT cs = CARTESIAN) const;
    std::string str(CoordSystemT cs = CARTESIAN) const;
    std::string toString() const;
};

std::ostream& operator<<(std::ostream& os, const Vector& v);

#endif
