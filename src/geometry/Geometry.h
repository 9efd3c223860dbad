#ifndef GEOMETRY_GEOMETRY_H
#define GEOMETRY_GEOMETRY_H

#include <iosfwd>

#include "geometry/Vector.h"

class Circle;
class Ray;

// The line m_a * y + m_b * x + m_c = 0. Lines built from points have m_a = 0
// (vertical) or m_a = 1.
class Line {
public:
    float m_a;
    float m_b;
    float m_c;

    Line(float dA, float dB, float dC);
    Line(const Vector& pos1, const Vector& pos2);
    // Through vec in direction angle (degrees).
    Line(const Vector& vec, AngleDeg angle);
    explicit Line(const Ray& r);

    static Line LineFromTwoPoints(const Vector& pt1, const Vector& pt2);
    static Line LineFromRay(const Ray& r);
    void setLineFromTwoPoints(const Vector& pos1, const Vector& pos2);

    float getACoefficient() const;
    float getBCoefficient() const;
    float getCCoefficient() const;

    float getYGivenX(float x) const;
    float getXGivenY(float y) const;

    // Parallel lines meet at (1000000, 1000000).
    Vector getIntersection(const Line& line) const;
    bool RayIntersection(const Ray& r, Vector* pInt) const;
    int getCircleIntersectionPoints(const Circle& circle, Vector* posSolution1,
                                    Vector* posSolution2) const;

    Line getTangentLine(const Vector& pos) const;
    Line getPerpendicular(const Vector& pos) const;
    Vector getPointOnLineClosestTo(const Vector& pos) const;
    Vector ProjectPoint(const Vector& pt) const;
    float getDistanceWithPoint(const Vector& pos) const;
    int getSidePoint(const Vector& pos) const;
    bool isInBetween(const Vector& pos, const Vector& point1, const Vector& point2) const;

    void show(std::ostream& os) const;
};

std::ostream& operator<<(std::ostream& os, const Line& l);

class Circle {
public:
    Vector m_posCenter;
    float m_dRadius;

    Circle();
    Circle(const Vector& pos, float dR);

    bool setCircle(const Vector& pos, float dR);
    // A radius at or below 0 is stored as 0 and answered with false.
    bool setRadius(float dR);
    bool setCenter(const Vector& pos);
    float getRadius() const;
    Vector getCenter() const;
    float getCircumference() const;
    float getArea() const;

    // Strict: a point on the circle is outside.
    bool isInside(const Vector& pos) const;
    int getIntersectionPoints(const Circle& c, Vector* p1, Vector* p2) const;
    float getIntersectionArea(const Circle& c) const;

    void show(std::ostream& os) const;
};

// Half-line from origin along a unit direction.
class Ray {
public:
    Vector origin;
    Vector direction;

    Ray();
    Ray(const Vector& orig, const Vector& dir);

    Vector getOrigin() const;
    Vector getDir() const;

    // Within 10 degrees of the ray's direction, seen from the origin.
    bool InRightDir(const Vector& pt) const;
    // Clockwise of the ray.
    bool InRightSide(const Vector& pt) const;
    Vector GetClosestPoint(const Vector& pt) const;
    float dist(const Vector& pt) const;
    int CircleIntersect(float rad, const Vector& center, Vector* psol1, Vector* psol2) const;
    bool OnRay(const Vector& pt) const;
};

// Axis-aligned rectangle: m_posLeftTop = (max x, min y),
// m_posRightBottom = (min x, max y).
class Rect {
public:
    Vector m_posLeftTop;
    Vector m_posRightBottom;

    Rect(const Vector& pos, const Vector& pos2);

    void setRectanglePoints(const Vector& pos1, const Vector& pos2);
    // Strictly inside.
    bool isInside(const Vector& pos) const;
    bool setPosLeftTop(const Vector& pos);
    bool setPosRightBottom(const Vector& pos);
    Vector getPosLeftTop() const;
    Vector getPosRightBottom() const;

    void show(std::ostream& os) const;
};

class Geometry {
public:
    // Roots of a*x^2 + b*x + c = 0; returns their number.
    static int abcFormula(float a, float b, float c, float* s1, float* s2);
    static float sign(const Vector& p1, const Vector& p2, const Vector& p3);
    // Points on an edge or a corner count as inside.
    static bool PointInTriangle(const Vector& pt, const Vector& v1, const Vector& v2,
                                const Vector& v3);
    static float cross(const Vector& A, const Vector& B, const Vector& C);
    static float segmentPointDist(const Vector& endPointA, const Vector& endPointB,
                                  const Vector& point);
    static int whatregion(AngleDeg theta);
    // Where the ray from the origin in direction Theta leaves the velocity box.
    static Vector thetaToSpeed(float maxVx, float minVx, float maxVy, float minVy,
                               AngleDeg Theta);

    static float getLengthGeomSeries(float dFirst, float dRatio, float dSum);
    static float getSumGeomSeries(float dFirst, float dRatio, float dLength);
    static float getSumInfGeomSeries(float dFirst, float dRatio);
    static float getFirstGeomSeries(float dSum, float dRatio, float dLength);
    static float getFirstInfGeomSeries(float dSum, float dRatio);
};

class Point2D {
public:
    double x;
    double y;

    Point2D(double px = 0, double py = 0);
    double getX() const;
    double getY() const;
};

// Running least-squares fit of y = a + b * x.
class LinearRegression {
public:
    long n;
    double sumX;
    double sumY;
    double sumXsquared;
    double sumYsquared;
    double sumXY;
    double a;
    double b;
    double coefD;
    double coefC;
    double stdError;

    LinearRegression(const double* x, const double* y, long size);
    LinearRegression(const Point2D* p, long size);

    void addPoint(const Point2D& p);
    void addXY(double x, double y);
    bool haveData() const;
    void Calculate();
    double getA() const;
    double getB() const;

private:
    void sum(double x, double y);
};

std::ostream& operator<<(std::ostream& os, const LinearRegression& lr);

#endif
