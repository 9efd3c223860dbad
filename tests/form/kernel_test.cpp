#include "form/angle_deg.h"
#include "form/line_2d.h"
#include "form/ray_2d.h"
#include "form/rect_2d.h"
#include "form/segment_2d.h"
#include "form/size_2d.h"
#include "form/triangle_2d.h"
#include "form/vector_2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using rcsc::AngleDeg;
using rcsc::Line2D;
using rcsc::Ray2D;
using rcsc::Rect2D;
using rcsc::Segment2D;
using rcsc::Size2D;
using rcsc::Triangle2D;
using rcsc::Vector2D;

namespace {

constexpr double kTol = 1e-9;

Triangle2D tri(const Vector2D& a, const Vector2D& b, const Vector2D& c)
{
    return Triangle2D(Segment2D(a, b), c);
}

#define EXPECT_VEC_NEAR(expected, actual)           \
    do {                                            \
        const Vector2D e_ = (expected);             \
        const Vector2D a_ = (actual);               \
        EXPECT_NEAR(e_.x, a_.x, kTol) << a_;        \
        EXPECT_NEAR(e_.y, a_.y, kTol) << a_;        \
    } while (0)

}  // namespace

TEST(AngleDegTest, NormalisesIntoClosedRange)
{
    const struct {
        double in;
        double out;
    } cases[] = {
        {540.0, 180.0}, {-190.0, 170.0}, {180.0, 180.0}, {-180.0, -180.0}, {725.0, 5.0},
        {-725.0, -5.0}, {360.0, 0.0},    {-360.0, 0.0},  {190.0, -170.0}, {-540.0, -180.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(c.out, AngleDeg(c.in).degree()) << c.in;
    }

    AngleDeg a(170.0);
    a += 20.0;
    EXPECT_DOUBLE_EQ(-170.0, a.degree());
    a -= AngleDeg(20.0);
    EXPECT_DOUBLE_EQ(170.0, a.degree());
    EXPECT_DOUBLE_EQ(-20.0, (AngleDeg(170.0) - AngleDeg(-170.0)).degree());
    EXPECT_DOUBLE_EQ(20.0, AngleDeg(-20.0).abs());
}

TEST(AngleDegTest, LeftOfWithinAndBisect)
{
    EXPECT_TRUE(AngleDeg(10.0).isLeftOf(AngleDeg(20.0)));
    EXPECT_FALSE(AngleDeg(20.0).isLeftOf(AngleDeg(10.0)));
    EXPECT_TRUE(AngleDeg(170.0).isLeftOf(AngleDeg(-170.0)));  // across the 180 seam
    EXPECT_FALSE(AngleDeg(10.0).isLeftOf(AngleDeg(10.0)));
    EXPECT_TRUE(AngleDeg(10.0).isLeftEqualOf(AngleDeg(10.0)));

    EXPECT_TRUE(AngleDeg(0.0).isWithin(AngleDeg(-10.0), AngleDeg(10.0)));
    EXPECT_FALSE(AngleDeg(20.0).isWithin(AngleDeg(-10.0), AngleDeg(10.0)));
    EXPECT_TRUE(AngleDeg(180.0).isWithin(AngleDeg(170.0), AngleDeg(-170.0)));
    EXPECT_FALSE(AngleDeg(0.0).isWithin(AngleDeg(170.0), AngleDeg(-170.0)));

    EXPECT_DOUBLE_EQ(15.0, AngleDeg::bisect(AngleDeg(10.0), AngleDeg(20.0)).degree());
    EXPECT_DOUBLE_EQ(180.0, AngleDeg::bisect(AngleDeg(170.0), AngleDeg(-170.0)).degree());
    // Right of left: the bisector of the larger side.
    EXPECT_DOUBLE_EQ(-165.0, AngleDeg::bisect(AngleDeg(20.0), AngleDeg(10.0)).degree());
}

TEST(AngleDegTest, SinCosBounds)
{
    double mn = 0.0;
    double mx = 0.0;
    AngleDeg(0.0).sinMinMax(100.0, &mn, &mx);
    EXPECT_DOUBLE_EQ(-1.0, mn);
    EXPECT_DOUBLE_EQ(1.0, mx);

    AngleDeg(30.0).sinMinMax(10.0, &mn, &mx);
    EXPECT_NEAR(std::sin(20.0 * AngleDeg::DEG2RAD), mn, kTol);
    EXPECT_NEAR(std::sin(40.0 * AngleDeg::DEG2RAD), mx, kTol);

    AngleDeg(170.0).sinMinMax(200.0, &mn, &mx);  // error out of range
    EXPECT_DOUBLE_EQ(-1.0, mn);
    EXPECT_DOUBLE_EQ(1.0, mx);

    AngleDeg(0.0).cosMinMax(10.0, &mn, &mx);
    EXPECT_NEAR(std::cos(10.0 * AngleDeg::DEG2RAD), mn, kTol);
    EXPECT_DOUBLE_EQ(1.0, mx);

    AngleDeg(175.0).cosMinMax(10.0, &mn, &mx);
    EXPECT_DOUBLE_EQ(-1.0, mn);
    EXPECT_NEAR(std::cos(165.0 * AngleDeg::DEG2RAD), mx, kTol);
}

TEST(Vector2DTest, DirectionValidityAndPrinting)
{
    EXPECT_DOUBLE_EQ(0.0, AngleDeg::atan2_deg(0.0, 0.0));
    EXPECT_DOUBLE_EQ(0.0, Vector2D(0.0, 0.0).th().degree());
    EXPECT_DOUBLE_EQ(-90.0, Vector2D(0.0, -2.0).th().degree());
    EXPECT_DOUBLE_EQ(135.0, Vector2D(-1.0, 1.0).th().degree());

    EXPECT_FALSE(Vector2D::INVALIDATED.valid());
    EXPECT_FALSE(Vector2D(0.0, Vector2D::ERROR_VALUE).valid());
    EXPECT_TRUE(Vector2D(1e300, -1e300).valid());

    Vector2D v(3.0, -4.0);
    v /= 0.0;
    EXPECT_EQ(Vector2D(3.0, -4.0), v);
    EXPECT_EQ(Vector2D(1.5, -2.0), v / 2.0);
    EXPECT_DOUBLE_EQ(5.0, v.r());
    EXPECT_DOUBLE_EQ(25.0, v.dist2(Vector2D(0.0, 0.0)));
    EXPECT_DOUBLE_EQ(-10.0, Vector2D(1.0, 2.0).outerProduct(Vector2D(3.0, -4.0)));
    EXPECT_DOUBLE_EQ(-5.0, Vector2D(1.0, 2.0).innerProduct(Vector2D(3.0, -4.0)));

    std::ostringstream os;
    os << Vector2D(1.5, -2.0);
    EXPECT_EQ("(1.5, -2)", os.str());
}

TEST(Rect2DTest, AnyTwoOppositeCornersGiveTheSameRectangle)
{
    const Vector2D corners[][2] = {
        {{5.0, 5.0}, {1.0, 2.0}}, {{1.0, 2.0}, {5.0, 5.0}}, {{1.0, 5.0}, {5.0, 2.0}}, {{5.0, 2.0}, {1.0, 5.0}},
    };
    for (const auto& c : corners) {
        const Rect2D r(c[0], c[1]);
        EXPECT_EQ(Vector2D(1.0, 2.0), r.topLeft());
        EXPECT_DOUBLE_EQ(4.0, r.size().length());
        EXPECT_DOUBLE_EQ(3.0, r.size().width());
        EXPECT_EQ(Vector2D(3.0, 3.5), r.center());
        EXPECT_EQ(Vector2D(5.0, 5.0), r.bottomRight());
    }
    const Size2D s(-2.0, -3.0);
    EXPECT_DOUBLE_EQ(2.0, s.length());
    EXPECT_DOUBLE_EQ(3.0, s.width());
}

TEST(Rect2DTest, IntersectionsWithLineRayAndSegment)
{
    const Rect2D r(Vector2D(0.0, 0.0), Size2D(4.0, 2.0));
    Vector2D s1;
    Vector2D s2;

    ASSERT_EQ(2, r.intersection(Line2D(Vector2D(-1.0, 1.0), Vector2D(5.0, 1.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(0.0, 1.0), s1);
    EXPECT_VEC_NEAR(Vector2D(4.0, 1.0), s2);

    // Through a corner: the corner is reported by both edges that meet there.
    ASSERT_EQ(2, r.intersection(Line2D(Vector2D(-1.0, 1.0), Vector2D(1.0, -1.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(0.0, 0.0), s1);
    EXPECT_VEC_NEAR(Vector2D(0.0, 0.0), s2);

    EXPECT_EQ(0, r.intersection(Line2D(Vector2D(0.0, 3.0), Vector2D(1.0, 3.0)), &s1, &s2));

    // A ray from inside leaves through one edge; the point behind it is dropped.
    ASSERT_EQ(1, r.intersection(Ray2D(Vector2D(1.0, 1.0), AngleDeg(0.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(4.0, 1.0), s1);
    ASSERT_EQ(1, r.intersection(Ray2D(Vector2D(1.0, 1.0), AngleDeg(180.0)), &s1, nullptr));
    EXPECT_VEC_NEAR(Vector2D(0.0, 1.0), s1);
    EXPECT_EQ(0, r.intersection(Ray2D(Vector2D(5.0, 1.0), AngleDeg(0.0)), &s1, &s2));

    EXPECT_EQ(0, r.intersection(Segment2D(Vector2D(1.0, 1.0), Vector2D(3.0, 1.0)), &s1, &s2));
    ASSERT_EQ(1, r.intersection(Segment2D(Vector2D(3.0, 1.0), Vector2D(6.0, 1.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(4.0, 1.0), s1);
}

TEST(Line2DTest, IntersectionParallelAndPerpendicular)
{
    EXPECT_FALSE(Line2D(Vector2D(0.0, 0.0), Vector2D(1.0, 1.0))
                     .intersection(Line2D(Vector2D(0.0, 1.0), Vector2D(1.0, 2.0)))
                     .valid());
    EXPECT_VEC_NEAR(Vector2D(1.0, 1.0),
                    Line2D::intersection(Line2D(Vector2D(0.0, 0.0), AngleDeg(45.0)),
                                         Line2D(Vector2D(0.0, 2.0), Vector2D(2.0, 0.0))));

    const Line2D l(Vector2D(1.0, 1.0), AngleDeg(90.0));  // x = 1
    EXPECT_NEAR(0.0, l.a() * 1.0 + l.b() * 7.0 + l.c(), kTol);
    const Line2D perp = l.perpendicular(Vector2D(3.0, 2.0));
    EXPECT_VEC_NEAR(Vector2D(1.0, 2.0), perp.intersection(l));

    const Line2D bis = Line2D::perpendicular_bisector(Vector2D(0.0, 0.0), Vector2D(2.0, 2.0));
    EXPECT_NEAR(0.0, bis.a() * 2.0 + bis.b() * 0.0 + bis.c(), kTol);
    EXPECT_NEAR(0.0, bis.a() * 0.0 + bis.b() * 2.0 + bis.c(), kTol);
}

TEST(Line2DTest, BisectorOfCoincidentPointsIsReported)
{
    testing::internal::CaptureStderr();
    const Line2D bis = Line2D::perpendicular_bisector(Vector2D(1.0, 2.0), Vector2D(1.0, 2.0));
    EXPECT_EQ("Line2D::perpendicular_bisector. ***ERROR*** input points have same coordinate "
              "values (1, 2)(1, 2)\n",
              testing::internal::GetCapturedStderr());
    EXPECT_DOUBLE_EQ(0.0, bis.a());
    EXPECT_DOUBLE_EQ(0.0, bis.b());
}

TEST(Ray2DTest, DirectionAndIntersections)
{
    const Ray2D ray(Vector2D(0.0, 0.0), AngleDeg(0.0));
    EXPECT_TRUE(ray.inRightDir(Vector2D(10.0, 1.0), 10.0));
    EXPECT_FALSE(ray.inRightDir(Vector2D(-10.0, 0.0), 10.0));

    EXPECT_VEC_NEAR(Vector2D(2.0, 0.0), ray.intersection(Line2D(Vector2D(2.0, -1.0), Vector2D(2.0, 1.0))));
    EXPECT_FALSE(ray.intersection(Line2D(Vector2D(-2.0, -1.0), Vector2D(-2.0, 1.0))).valid());
    EXPECT_FALSE(ray.intersection(Line2D(Vector2D(0.0, 1.0), Vector2D(1.0, 1.0))).valid());

    EXPECT_VEC_NEAR(Vector2D(3.0, 0.0), ray.intersection(Ray2D(Vector2D(3.0, -3.0), AngleDeg(90.0))));
    EXPECT_FALSE(ray.intersection(Ray2D(Vector2D(3.0, -3.0), AngleDeg(-90.0))).valid());
}

TEST(Segment2DTest, ExistIntersectionCases)
{
    const Segment2D base(Vector2D(0.0, 0.0), Vector2D(4.0, 0.0));
    const struct {
        Segment2D other;
        bool expected;
        const char* what;
    } cases[] = {
        {Segment2D(Vector2D(2.0, -1.0), Vector2D(2.0, 1.0)), true, "proper crossing"},
        {Segment2D(Vector2D(4.0, 0.0), Vector2D(5.0, 3.0)), true, "shared end point"},
        {Segment2D(Vector2D(2.0, 0.0), Vector2D(2.0, 3.0)), true, "end point on the segment"},
        {Segment2D(Vector2D(3.0, 0.0), Vector2D(6.0, 0.0)), true, "collinear overlap"},
        {Segment2D(Vector2D(5.0, 0.0), Vector2D(6.0, 0.0)), false, "collinear apart"},
        {Segment2D(Vector2D(0.0, 1.0), Vector2D(4.0, 1.0)), false, "parallel"},
        {Segment2D(Vector2D(5.0, -1.0), Vector2D(5.0, 1.0)), false, "beyond the end"},
        {Segment2D(Vector2D(1.0, 0.0), Vector2D(1.0, 0.0)), true, "single point on it"},
        {Segment2D(Vector2D(1.0, 1.0), Vector2D(1.0, 1.0)), false, "single point off it"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, base.existIntersection(c.other)) << c.what;
        EXPECT_EQ(c.expected, c.other.existIntersection(base)) << c.what << " (swapped)";
    }
    EXPECT_TRUE(base.existIntersectionExceptEndpoint(cases[0].other));
    EXPECT_FALSE(base.existIntersectionExceptEndpoint(cases[1].other));

    const Segment2D p(Vector2D(1.0, 1.0), Vector2D(1.0, 1.0));
    EXPECT_TRUE(p.existIntersection(Segment2D(Vector2D(1.0, 1.0), Vector2D(1.0, 1.0))));
}

TEST(Segment2DTest, DistancesAndNearestPoint)
{
    const Segment2D s(Vector2D(0.0, 0.0), Vector2D(4.0, 0.0));
    EXPECT_DOUBLE_EQ(4.0, s.length());
    EXPECT_DOUBLE_EQ(2.0, s.dist(Vector2D(1.0, 2.0)));
    EXPECT_DOUBLE_EQ(5.0, s.dist(Vector2D(-3.0, 4.0)));
    EXPECT_DOUBLE_EQ(5.0, s.dist(Vector2D(7.0, -4.0)));
    EXPECT_DOUBLE_EQ(5.0, Segment2D(Vector2D(0.0, 0.0), Vector2D(0.0, 0.0)).dist(Vector2D(3.0, 4.0)));
    EXPECT_DOUBLE_EQ(0.0, s.dist(Segment2D(Vector2D(2.0, -1.0), Vector2D(2.0, 1.0))));
    EXPECT_DOUBLE_EQ(1.0, s.dist(Segment2D(Vector2D(5.0, 0.0), Vector2D(5.0, 3.0))));
    EXPECT_DOUBLE_EQ(5.0, s.farthestDist(Vector2D(4.0, 3.0)));

    EXPECT_EQ(Vector2D(0.0, 0.0), s.nearestPoint(Vector2D(-2.0, 1.0)));
    EXPECT_EQ(Vector2D(4.0, 0.0), s.nearestPoint(Vector2D(9.0, 1.0)));
    EXPECT_EQ(Vector2D(3.0, 0.0), s.nearestPoint(Vector2D(3.0, -2.0)));

    EXPECT_TRUE(s.onSegment(Vector2D(1.0, 0.0)));
    EXPECT_FALSE(s.onSegment(Vector2D(5.0, 0.0)));
    EXPECT_FALSE(s.onSegment(Vector2D(1.0, 0.5)));

    EXPECT_VEC_NEAR(Vector2D(2.0, 0.0), s.intersection(Line2D(Vector2D(2.0, 5.0), AngleDeg(90.0))));
    EXPECT_FALSE(s.intersection(Line2D(Vector2D(6.0, 5.0), AngleDeg(90.0))).valid());
    EXPECT_FALSE(s.intersection(Segment2D(Vector2D(2.0, 1.0), Vector2D(2.0, 5.0))).valid());
}

TEST(Triangle2DTest, CentresAreaAndContainment)
{
    EXPECT_VEC_NEAR(Vector2D(1.0, 1.0),
                    Triangle2D::circumcenter(Vector2D(0.0, 0.0), Vector2D(2.0, 0.0), Vector2D(0.0, 2.0)));
    EXPECT_FALSE(Triangle2D::circumcenter(Vector2D(0.0, 0.0), Vector2D(1.0, 1.0), Vector2D(3.0, 3.0)).valid());

    // Right angle at the origin: orthocentre there; legs 3 and 4 give an inradius of 1.
    const Vector2D a(0.0, 0.0);
    const Vector2D b(4.0, 0.0);
    const Vector2D c(0.0, 3.0);
    EXPECT_VEC_NEAR(a, Triangle2D::orthocenter(a, b, c));
    EXPECT_VEC_NEAR(Vector2D(1.0, 1.0), Triangle2D::incenter(a, b, c));
    EXPECT_VEC_NEAR(Vector2D(1.0, 1.0), Triangle2D::incenter(a, c, b));

    EXPECT_DOUBLE_EQ(6.0, tri(a, b, c).area());
    EXPECT_DOUBLE_EQ(6.0, tri(a, c, b).area());
    EXPECT_DOUBLE_EQ(12.0, tri(a, b, c).signedArea2());
    EXPECT_DOUBLE_EQ(-12.0, tri(a, c, b).signedArea2());

    for (const Triangle2D& t : {tri(a, b, c), tri(a, c, b)}) {
        EXPECT_TRUE(t.contains(Vector2D(1.0, 1.0)));
        EXPECT_TRUE(t.contains(Vector2D(2.0, 0.0)));  // on an edge
        EXPECT_TRUE(t.contains(b));                   // at a corner
        EXPECT_FALSE(t.contains(Vector2D(3.0, 3.0)));
        EXPECT_FALSE(t.contains(Vector2D(-0.1, 1.0)));
    }
}

TEST(Triangle2DTest, IntersectionsThroughEdgesAndCorners)
{
    const Triangle2D t = tri(Vector2D(0.0, 0.0), Vector2D(4.0, 0.0), Vector2D(0.0, 4.0));
    Vector2D s1;
    Vector2D s2;

    ASSERT_EQ(2, t.intersection(Line2D(Vector2D(-1.0, 1.0), Vector2D(5.0, 1.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(3.0, 1.0), s1);
    EXPECT_VEC_NEAR(Vector2D(0.0, 1.0), s2);

    // Through a corner only.
    ASSERT_EQ(1, t.intersection(Line2D(Vector2D(4.0, 0.0), Vector2D(5.0, 1.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(4.0, 0.0), s1);

    EXPECT_EQ(0, t.intersection(Line2D(Vector2D(0.0, 5.0), Vector2D(5.0, 5.0)), &s1, &s2));

    ASSERT_EQ(1, t.intersection(Ray2D(Vector2D(1.0, 1.0), AngleDeg(0.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(3.0, 1.0), s1);
    ASSERT_EQ(1, t.intersection(Segment2D(Vector2D(-1.0, 1.0), Vector2D(1.0, 1.0)), &s1, &s2));
    EXPECT_VEC_NEAR(Vector2D(0.0, 1.0), s1);
}
