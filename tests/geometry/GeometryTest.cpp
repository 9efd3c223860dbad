#include "geometry/Geometry.h"

#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

namespace {

const float kPi = 3.14159265f;

void expectVec(const Vector& v, float x, float y, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
}

std::string text(const Line& l)
{
    std::ostringstream os;
    os << l;
    return os.str();
}

// ------------------------------------------------------------------- Line

TEST(LineTest, BuiltFromTwoPoints)
{
    const struct { Vector p1, p2; float a, b, c; } cases[] = {
        {{1, 0}, {1, 5}, 0, 1, -1},   // vertical: x = 1
        {{0, 0}, {2, 2}, 1, -1, 0},   // y = x
        {{0, 1}, {1, 3}, 1, -2, -1},  // y = 2x + 1
        {{-1, 4}, {3, 4}, 1, 0, -4},  // y = 4
    };
    for (const auto& c : cases) {
        Line l(c.p1, c.p2);
        EXPECT_FLOAT_EQ(l.getACoefficient(), c.a);
        EXPECT_FLOAT_EQ(l.getBCoefficient(), c.b);
        EXPECT_FLOAT_EQ(l.getCCoefficient(), c.c);
        Line same = Line::LineFromTwoPoints(c.p1, c.p2);
        EXPECT_EQ(same.m_b, l.m_b);
        Line set(0, 0, 0);
        set.setLineFromTwoPoints(c.p1, c.p2);
        EXPECT_EQ(set.m_c, l.m_c);
    }
}

TEST(LineTest, BuiltFromPointAndAngleOrRay)
{
    Line diag(Vector(1, 1), 45.0f);
    EXPECT_NEAR(diag.getYGivenX(3), 3, 1e-4);

    Line horizontal(Ray(Vector(0, 1), Vector(5, 0)));
    EXPECT_FLOAT_EQ(horizontal.getYGivenX(7), 1);
    Line fromRay = Line::LineFromRay(Ray(Vector(2, 0), Vector(0, 3)));
    EXPECT_EQ(fromRay.m_a, 0);  // vertical x = 2
    EXPECT_FLOAT_EQ(-fromRay.m_c / fromRay.m_b, 2);
}

TEST(LineTest, CoordinateGivenTheOther)
{
    Line l(Vector(0, 1), Vector(1, 3));  // y = 2x + 1
    EXPECT_FLOAT_EQ(l.getYGivenX(2), 5);
    EXPECT_FLOAT_EQ(l.getXGivenY(-1), -1);

    testing::internal::CaptureStderr();
    EXPECT_EQ(Line(Vector(1, 0), Vector(1, 5)).getYGivenX(3), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "(Line::getYGivenX) Cannot calculate Y coordinate: x = 1\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(Line(Vector(0, 4), Vector(3, 4)).getXGivenY(4), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "(Line::getXGivenY) Cannot calculate X coordinate\n");
}

TEST(LineTest, Intersections)
{
    Line diag(Vector(0, 0), Vector(2, 2));
    Line vertical(Vector(1, -5), Vector(1, 5));
    const struct { Line l1, l2; float x, y; } cases[] = {
        {diag, Line(Vector(0, 1), Vector(1, 2)), 1000000, 1000000},  // parallel
        {vertical, Line(Vector(4, 0), Vector(4, 1)), 1000000, 1000000},  // two verticals
        {Line(Vector(0, 3), Vector(1, 3)), Line(Vector(0, 5), Vector(1, 5)), 1000000, 1000000},
        {diag, vertical, 1, 1},
        {vertical, diag, 1, 1},
        {diag, Line(Vector(0, 2), Vector(2, 0)), 1, 1},
        {Line(Vector(0, 1), Vector(1, 3)), Line(Vector(0, 4), Vector(1, 4)), 1.5f, 4},
    };
    for (const auto& c : cases)
        expectVec(c.l1.getIntersection(c.l2), c.x, c.y);
}

TEST(LineTest, ProjectionDistanceAndSide)
{
    Line diag(Vector(0, 0), Vector(2, 2));
    expectVec(diag.getPointOnLineClosestTo(Vector(0, 2)), 1, 1);
    expectVec(diag.ProjectPoint(Vector(4, 0)), 2, 2);
    EXPECT_FLOAT_EQ(diag.getDistanceWithPoint(Vector(0, 2)), std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(Line(Vector(1, 0), Vector(1, 5)).getDistanceWithPoint(Vector(-2, 7)), 3);

    EXPECT_EQ(diag.getSidePoint(Vector(0, 2)), 1);
    EXPECT_EQ(diag.getSidePoint(Vector(2, 0)), -1);
    EXPECT_EQ(diag.getSidePoint(Vector(3, 3)), 0);

    // The perpendicular through (0, 2) is y = -x + 2.
    Line perp = diag.getPerpendicular(Vector(0, 2));
    EXPECT_FLOAT_EQ(perp.getYGivenX(5), -3);
    Line tangent = diag.getTangentLine(Vector(0, 2));
    EXPECT_EQ(tangent.m_a, perp.m_a);
    EXPECT_EQ(tangent.m_b, perp.m_b);
    EXPECT_EQ(tangent.m_c, perp.m_c);
}

TEST(LineTest, IsInBetweenHasClosedEnds)
{
    Line diag(Vector(0, 0), Vector(2, 2));
    EXPECT_TRUE(diag.isInBetween(Vector(0, 2), Vector(0, 0), Vector(2, 2)));
    EXPECT_TRUE(diag.isInBetween(Vector(1, 3), Vector(0, 0), Vector(2, 2)));  // projects onto (2, 2)
    EXPECT_FALSE(diag.isInBetween(Vector(3, 4), Vector(0, 0), Vector(2, 2)));
    EXPECT_FALSE(diag.isInBetween(Vector(-1, -2), Vector(0, 0), Vector(2, 2)));
}

TEST(LineTest, RayIntersection)
{
    Line vertical(Vector(3, 0), Vector(3, 1));
    Vector p;
    EXPECT_TRUE(vertical.RayIntersection(Ray(Vector(0, 0), Vector(1, 0)), &p));
    expectVec(p, 3, 0);
    EXPECT_FALSE(vertical.RayIntersection(Ray(Vector(5, 1), Vector(1, 0)), &p));
    expectVec(p, 3, 1);
}

TEST(LineTest, CircleIntersectionPoints)
{
    Circle unit(Vector(0, 0), 1);
    const struct { Line l; int n; Vector s1, s2; } cases[] = {
        {Line(Vector(-1, 0), Vector(1, 0)), 2, {1, 0}, {-1, 0}},
        {Line(Vector(-1, 1), Vector(1, 1)), 1, {0, 1}, {-9, -9}},      // tangent
        {Line(Vector(-1, 2), Vector(1, 2)), 0, {0, 2}, {0, 2}},        // misses: roots taken as 0
        {Line(Vector(0.6f, 0), Vector(0.6f, 1)), 2, {0.6f, 0.8f}, {0.6f, -0.8f}},
        {Line(Vector(1, 0), Vector(1, 1)), 1, {1, 0}, {1, 0}},          // vertical tangent
        {Line(Vector(3, 0), Vector(3, 1)), 0, {3, 0}, {3, 0}},
    };
    for (const auto& c : cases) {
        Vector s1(-9, -9), s2(-9, -9);
        EXPECT_EQ(c.l.getCircleIntersectionPoints(unit, &s1, &s2), c.n) << c.l;
        expectVec(s1, c.s1.x, c.s1.y, 1e-4f);
        if (c.n != 1 || c.s2.x != -9)
            expectVec(s2, c.s2.x, c.s2.y, 1e-4f);
    }
}

TEST(LineTest, Printing)
{
    EXPECT_EQ(text(Line(Vector(1, 0), Vector(1, 5))), "x = 1");
    EXPECT_EQ(text(Line(Vector(0, 1), Vector(1, 3))), "y = 2x + 1");
    EXPECT_EQ(text(Line(1, 0.5f, 2)), "y = -0.5x - 2");
    EXPECT_EQ(text(Line(Vector(0, 0), Vector(2, 2))), "y = 1x ");
    EXPECT_EQ(text(Line(Vector(-1, 4), Vector(3, 4))), "y = + 4");
}

// ------------------------------------------------------------------- Circle

TEST(CircleTest, ConstructionAndRadius)
{
    Circle def;
    expectVec(def.getCenter(), -1000, -1000);
    EXPECT_EQ(def.getRadius(), 0);

    Circle c(Vector(1, 2), 2);
    EXPECT_FALSE(c.setRadius(-1));
    EXPECT_EQ(c.getRadius(), 0);
    EXPECT_FALSE(c.setRadius(0));
    EXPECT_TRUE(c.setRadius(2));
    EXPECT_TRUE(c.setCenter(Vector(3, 3)));
    expectVec(c.getCenter(), 3, 3);
    EXPECT_FALSE(c.setCircle(Vector(0, 0), -5));
    EXPECT_EQ(c.getRadius(), 0);
    EXPECT_FALSE(Circle(Vector(0, 0), -3).getRadius() < 0);

    Circle two(Vector(0, 0), 2);
    EXPECT_NEAR(two.getCircumference(), 4 * kPi, 1e-5);
    EXPECT_NEAR(two.getArea(), 4 * kPi, 1e-5);
}

TEST(CircleTest, InsideIsStrict)
{
    Circle c(Vector(1, 1), 1);
    EXPECT_TRUE(c.isInside(Vector(1.5f, 1.5f)));
    EXPECT_FALSE(c.isInside(Vector(2, 1)));
    EXPECT_FALSE(c.isInside(Vector(3, 3)));
}

TEST(CircleTest, IntersectionPointsOfTwoCircles)
{
    Vector p1, p2;
    Circle a(Vector(0, 0), 1);
    EXPECT_EQ(a.getIntersectionPoints(Circle(Vector(2, 0), 1), &p1, &p2), 1);
    expectVec(p1, 1, 0);
    expectVec(p2, 1, 0);
    EXPECT_EQ(a.getIntersectionPoints(Circle(Vector(3, 0), 1), &p1, &p2), 0);
    EXPECT_EQ(a.getIntersectionPoints(Circle(Vector(1, 0), 1), &p1, &p2), 2);
    expectVec(p1, 0.5f, std::sqrt(3.0f) / 2);
    expectVec(p2, 0.5f, -std::sqrt(3.0f) / 2);
    EXPECT_EQ(a.getIntersectionPoints(Circle(Vector(0, 0.5f), 3), &p1, &p2), 0);
}

TEST(CircleTest, IntersectionArea)
{
    const float sqrt3 = std::sqrt(3.0f);
    const struct { Circle a, b; float area; } cases[] = {
        {Circle(Vector(0, 0), 1), Circle(Vector(3, 0), 1), 0},
        {Circle(Vector(0, 0), 1), Circle(Vector(2, 0), 1), 0},            // touching
        {Circle(Vector(0, 0), 3), Circle(Vector(1, 0), 1), kPi},          // inside
        {Circle(Vector(1, 0), 1), Circle(Vector(0, 0), 3), kPi},
        {Circle(Vector(0, 0), 1), Circle(Vector(1, 0), 1), 2 * kPi / 3 - sqrt3 / 2},
        // chord through the small circle's centre: half the small disc plus a
        // 90-degree segment of the large one
        {Circle(Vector(0, 0), std::sqrt(2.0f)), Circle(Vector(1, 0), 1), kPi - 1},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.a.getIntersectionArea(c.b), c.area, 1e-3) << c.a.m_dRadius << " " << c.b.m_dRadius;
    }
}

TEST(CircleTest, IntersectionAreaWhenACentreLiesInTheOverlap)
{
    // Large circle r^2 = 1.5 at the origin, unit circle with its centre inside
    // the large one; the chord is x = sqrt(3)/2, half-chord sqrt(3)/2.
    // Large disc: 90-degree segment, 1.5 * pi/4 - 3/4.
    // Unit disc: the larger segment with half-angle 120 degrees, 2pi/3 + sqrt(3)/4.
    const float sqrt3 = std::sqrt(3.0f);
    Circle large(Vector(0, 0), std::sqrt(1.5f));
    Circle small(Vector(sqrt3 / 2 - 0.5f, 0), 1);
    float expected = 3 * kPi / 8 - 0.75f + 2 * kPi / 3 + sqrt3 / 4;
    EXPECT_NEAR(large.getIntersectionArea(small), expected, 1e-4);
    EXPECT_NEAR(small.getIntersectionArea(large), expected, 1e-4);
}

TEST(CircleTest, IntersectionAreaGrowsWhileTheCircleMovesInward)
{
    Circle large(Vector(0, 0), 3);
    float previous = 0;
    for (float x = 3.9f; x > 2.05f; x -= 0.1f) {
        float area = large.getIntersectionArea(Circle(Vector(x, 0), 1));
        EXPECT_GT(area, previous) << x;
        EXPECT_LE(area, kPi + 1e-4f) << x;
        previous = area;
    }
}

TEST(CircleTest, Printing)
{
    std::ostringstream os;
    Circle(Vector(1, -2), 3).show(os);
    EXPECT_EQ(os.str(), "c:1 -2, r:3");
}

// ------------------------------------------------------------------- Ray

TEST(RayTest, Construction)
{
    Ray def;
    expectVec(def.getOrigin(), 0, 0);
    expectVec(def.getDir(), 1, 0);
    expectVec(Ray(Vector(1, 1), Vector(0, 0)).getDir(), 1, 0);
    expectVec(Ray(Vector(1, 1), Vector(3, 4)).getDir(), 0.6f, 0.8f);
    expectVec(Ray(Vector(1, 1), Vector(0, -1e-9f)).getDir(), 0, -1);
}

TEST(RayTest, DirectionAndSideTests)
{
    Ray r(Vector(0, 0), Vector(1, 0));
    EXPECT_TRUE(r.InRightDir(Vector(10, 1)));    // about 5.7 degrees off
    EXPECT_FALSE(r.InRightDir(Vector(10, 2)));   // about 11.3 degrees off
    EXPECT_FALSE(r.InRightDir(Vector(-1, 0)));
    EXPECT_TRUE(r.InRightSide(Vector(1, -1)));
    EXPECT_FALSE(r.InRightSide(Vector(1, 1)));

    Ray back(Vector(0, 0), Vector(-1, 0));
    EXPECT_TRUE(back.InRightDir(Vector(-5, 0.1f)));
    EXPECT_TRUE(back.InRightDir(Vector(-5, -0.1f)));
}

TEST(RayTest, ClosestPointAndDistance)
{
    Ray r(Vector(0, 0), Vector(1, 0));
    expectVec(r.GetClosestPoint(Vector(3, 2)), 3, 0);
    expectVec(r.GetClosestPoint(Vector(-3, 2)), 0, 0);

    Ray up(Vector(0, 1), Vector(1, 0));
    testing::internal::CaptureStdout();
    EXPECT_FLOAT_EQ(up.dist(Vector(3, 3)), 2);
    EXPECT_FLOAT_EQ(up.dist(Vector(-3, 5)), 5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "closest 3 1dist 2\nclosest 0 1dist 5\n");
}

TEST(RayTest, CircleIntersect)
{
    Ray r(Vector(0, 0), Vector(1, 0));
    Vector s1(-9, -9), s2(-9, -9);
    EXPECT_EQ(r.CircleIntersect(1, Vector(3, 0), &s1, &s2), 2);
    expectVec(s1, 2, 0);
    expectVec(s2, 4, 0);

    s1 = Vector(-9, -9);
    s2 = Vector(-9, -9);
    EXPECT_EQ(r.CircleIntersect(2, Vector(0, 0), &s1, &s2), 1);  // origin inside
    expectVec(s1, 2, 0);
    expectVec(s2, -9, -9);

    EXPECT_EQ(r.CircleIntersect(1, Vector(-3, 0), &s1, &s2), 0);  // behind
    EXPECT_EQ(r.CircleIntersect(1, Vector(3, 5), &s1, &s2), 0);   // missed
}

TEST(RayTest, OnRay)
{
    Ray r(Vector(1, 1), Vector(1, 1));
    EXPECT_TRUE(r.OnRay(Vector(4, 4)));
    EXPECT_TRUE(r.OnRay(Vector(1, 1)));
    EXPECT_FALSE(r.OnRay(Vector(4, 4.1f)));
    EXPECT_FALSE(r.OnRay(Vector(0, 0)));  // behind the origin
    Ray x(Vector(0, 0), Vector(2, 0));
    EXPECT_TRUE(x.OnRay(Vector(100, 0)));
    EXPECT_FALSE(x.OnRay(Vector(100, 0.001f)));
}

// ------------------------------------------------------------------- Rect

TEST(RectTest, CornersAndStrictInside)
{
    Rect r(Vector(0, 0), Vector(2, 3));
    expectVec(r.getPosLeftTop(), 2, 0);
    expectVec(r.getPosRightBottom(), 0, 3);
    Rect same(Vector(2, 0), Vector(0, 3));
    expectVec(same.m_posLeftTop, 2, 0);
    expectVec(same.m_posRightBottom, 0, 3);

    const struct { Vector p; bool in; } cases[] = {
        {{1, 1}, true}, {{0, 1}, false}, {{2, 1}, false}, {{1, 0}, false},
        {{1, 3}, false}, {{1.99f, 2.99f}, true}, {{-1, 1}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(r.isInside(c.p), c.in) << c.p;

    r.setRectanglePoints(Vector(5, 5), Vector(-5, -5));
    EXPECT_TRUE(r.isInside(Vector(0, 0)));
    EXPECT_TRUE(r.setPosLeftTop(Vector(-1, 9)));  // stored as given
    EXPECT_TRUE(r.setPosRightBottom(Vector(1, -9)));
    expectVec(r.getPosLeftTop(), -1, 9);
    expectVec(r.getPosRightBottom(), 1, -9);

    std::ostringstream os;
    Rect(Vector(0, 0), Vector(2, 3)).show(os);
    EXPECT_EQ(os.str(), "rect(2 0 0 3)");
}

// ------------------------------------------------------------------- Geometry

TEST(GeometryTest, AbcFormula)
{
    float s1 = -9, s2 = -9;
    EXPECT_EQ(Geometry::abcFormula(1, -3, 2, &s1, &s2), 2);
    EXPECT_FLOAT_EQ(s1, 2);
    EXPECT_FLOAT_EQ(s2, 1);
    s1 = s2 = -9;
    EXPECT_EQ(Geometry::abcFormula(1, -2, 1, &s1, &s2), 1);
    EXPECT_FLOAT_EQ(s1, 1);
    EXPECT_EQ(s2, -9);
    s1 = -9;
    EXPECT_EQ(Geometry::abcFormula(1, 0, 1, &s1, &s2), 0);
    EXPECT_EQ(s1, -9);
}

TEST(GeometryTest, PointInTriangle)
{
    Vector v1(0, 0), v2(4, 0), v3(0, 4);
    const struct { Vector p; bool in; } cases[] = {
        {{1, 1}, true}, {{0, 0}, true}, {{4, 0}, true}, {{2, 0}, true}, {{2, 2}, true},
        {{3, 3}, false}, {{-1, 1}, false}, {{1, -0.01f}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Geometry::PointInTriangle(c.p, v1, v2, v3), c.in) << c.p;
        EXPECT_EQ(Geometry::PointInTriangle(c.p, v3, v2, v1), c.in) << c.p;  // either winding
    }
    // A flat triangle holds every point of its line, and nothing else.
    EXPECT_TRUE(Geometry::PointInTriangle(Vector(5, 0), Vector(0, 0), Vector(1, 0), Vector(2, 0)));
    EXPECT_FALSE(Geometry::PointInTriangle(Vector(5, 1), Vector(0, 0), Vector(1, 0), Vector(2, 0)));
}

TEST(GeometryTest, CrossAndSign)
{
    EXPECT_FLOAT_EQ(Geometry::cross(Vector(0, 0), Vector(1, 0), Vector(0, 1)), 1);
    EXPECT_FLOAT_EQ(Geometry::cross(Vector(0, 0), Vector(0, 1), Vector(1, 0)), -1);
    EXPECT_FLOAT_EQ(Geometry::cross(Vector(1, 1), Vector(3, 1), Vector(2, 4)), 6);
    EXPECT_FLOAT_EQ(Geometry::sign(Vector(0, 1), Vector(1, 0), Vector(0, 0)), -1);
}

TEST(GeometryTest, SegmentPointDistance)
{
    const struct { Vector a, b, p; float d; } cases[] = {
        {{0, 0}, {2, 0}, {1, 1}, 1},
        {{0, 0}, {2, 0}, {5, 4}, 5},    // beyond B
        {{0, 0}, {2, 0}, {-3, 4}, 5},   // beyond A
        {{0, 0}, {2, 0}, {1, 0}, 0},
        {{0, 0}, {2, 2}, {0, 2}, std::sqrt(2.0f)},
        {{1, 1}, {1, 1}, {4, 5}, 5},    // both ends equal
        {{1, 1}, {1, 1}, {1, 1}, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Geometry::segmentPointDist(c.a, c.b, c.p), c.d, 1e-5) << c.a << " " << c.b << " " << c.p;
}

TEST(GeometryTest, WhatRegion)
{
    const struct { float theta; int region; } cases[] = {
        {0, 1}, {45, 1}, {90, 1}, {90.5f, 2}, {180, 2}, {-0.5f, 3}, {-90, 3},
        {-91, 4}, {-179.5f, 4}, {-180, 1}, {181, 1}, {-181, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Geometry::whatregion(c.theta), c.region) << c.theta;
}

TEST(GeometryTest, ThetaToSpeedFindsTheBorderOfTheBox)
{
    // Box: x in [-0.5, 1], y in [-0.4, 0.4].
    const struct { float theta; float vx, vy; } cases[] = {
        {0, 1, 0},
        {45, 0.4f, 0.4f},
        {90, 0, 0.4f},
        {135, -0.4f, 0.4f},
        {180, -0.5f, 0},
        {-180, -0.5f, 0},
        {-45, 0.4f, -0.4f},
        {-90, 0, -0.4f},
        {-135, -0.4f, -0.4f},
        {360, 1, 0},
    };
    for (const auto& c : cases) {
        Vector v = Geometry::thetaToSpeed(1, -0.5f, 0.4f, -0.4f, c.theta);
        EXPECT_NEAR(v.x, c.vx, 1e-5) << c.theta;
        EXPECT_NEAR(v.y, c.vy, 1e-5) << c.theta;
    }
    // Shallow angles hit the front or back side.
    Vector v = Geometry::thetaToSpeed(1, -0.5f, 0.4f, -0.4f, 170);
    EXPECT_FLOAT_EQ(v.x, -0.5f);
    EXPECT_NEAR(v.y, 0.5f * std::tan(10 * kPi / 180), 1e-5);
}

TEST(GeometryTest, GeometricSeries)
{
    EXPECT_FLOAT_EQ(Geometry::getSumGeomSeries(1, 2, 3), 7);        // 1 + 2 + 4
    EXPECT_FLOAT_EQ(Geometry::getLengthGeomSeries(1, 2, 7), 3);
    EXPECT_FLOAT_EQ(Geometry::getLengthGeomSeries(1, 0.5f, 3), -1);  // sum out of reach
    EXPECT_FLOAT_EQ(Geometry::getFirstGeomSeries(7, 2, 3), 1);
    EXPECT_FLOAT_EQ(Geometry::getSumInfGeomSeries(1, 0.5f), 2);
    EXPECT_FLOAT_EQ(Geometry::getFirstInfGeomSeries(2, 0.5f), 1);

    testing::internal::CaptureStderr();
    Geometry::getLengthGeomSeries(1, -2, 7);
    EXPECT_FLOAT_EQ(Geometry::getSumInfGeomSeries(1, 2), -1);
    EXPECT_FLOAT_EQ(Geometry::getFirstInfGeomSeries(2, 3), -4);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "(Geometry:getLengthGeomSeries): negative ratio\n"
              "(Geometry:CalcLengthGeomSeries): series does not converge\n"
              "(Geometry:getFirstInfGeomSeries):series does not converge\n");
}

// ------------------------------------------------------------------- LinearRegression

TEST(LinearRegressionTest, Fits)
{
    const double x2[] = {0, 1}, y2[] = {5, 7};
    LinearRegression two(x2, y2, 2);
    EXPECT_FALSE(two.haveData());
    EXPECT_EQ(two.getA(), 0);
    EXPECT_EQ(two.getB(), 0);

    const double x[] = {0, 1, 2}, y[] = {1, 3, 5};
    LinearRegression line(x, y, 3);
    EXPECT_TRUE(line.haveData());
    EXPECT_NEAR(line.getA(), 1, 1e-12);
    EXPECT_NEAR(line.getB(), 2, 1e-12);
    EXPECT_NEAR(line.coefD, 1, 1e-12);

    const double xs[] = {2, 2, 2}, ys[] = {1, 2, 3};
    LinearRegression vertical(xs, ys, 3);
    EXPECT_EQ(vertical.getA(), 0);
    EXPECT_EQ(vertical.getB(), 0);
    EXPECT_EQ(vertical.stdError, 0);

    // y = 1.3 + 0.8 x by the normal equations.
    const Point2D pts[] = {{0, 1}, {1, 3}, {2, 2}, {3, 4}};
    LinearRegression noisy(pts, 4);
    EXPECT_EQ(noisy.n, 4);
    EXPECT_NEAR(noisy.getA(), 1.3, 1e-12);
    EXPECT_NEAR(noisy.getB(), 0.8, 1e-12);

    LinearRegression empty(x, y, 0);
    EXPECT_EQ(empty.n, 0);
    empty.addPoint(Point2D(0, 1));
    empty.addXY(1, 3);
    empty.addXY(2, 5);
    EXPECT_NEAR(empty.getB(), 2, 1e-12);
}

TEST(LinearRegressionTest, Printing)
{
    const double x[] = {0, 1, 2}, y[] = {1, 3, 5};
    std::ostringstream os;
    os << LinearRegression(x, y, 3);
    EXPECT_EQ(os.str(), "f(x) = 1 + ( 2 * x )");
    std::ostringstream none;
    none << LinearRegression(x, y, 2);
    EXPECT_EQ(none.str(), "");
}

}  // namespace
