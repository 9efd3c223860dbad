#include "geometry/Vector.h"

#include <cmath>
#include <limits>
#include <sstream>

#include <gtest/gtest.h>

namespace {

const float kPi = 3.14159265f;

struct AngleCase {
    double in;
    double out;
};

TEST(AngleHelpers, ConversionsAndTrigonometryInDegrees)
{
    EXPECT_NEAR(Rad2Deg(kPi), 180.0f, 1e-4);
    EXPECT_NEAR(Rad2Deg(-kPi / 2), -90.0f, 1e-4);
    EXPECT_NEAR(Deg2Rad(90), kPi / 2, 1e-6);
    EXPECT_NEAR(Cos(60), 0.5f, 1e-6);
    EXPECT_NEAR(Sin(30), 0.5f, 1e-6);
    EXPECT_NEAR(Sin(-90), -1.0f, 1e-6);
    EXPECT_NEAR(Tan(45), 1.0f, 1e-6);
    EXPECT_NEAR(ATan(1), 45.0f, 1e-4);
    EXPECT_NEAR(ATan2(1, 1), 45.0f, 1e-4);
    EXPECT_NEAR(ATan2(1, 0), 90.0f, 1e-4);
    EXPECT_NEAR(ATan2(-1, -1), -135.0f, 1e-4);
}

TEST(AngleHelpers, ATan2IsZeroOnlyWhenBothComponentsAreTiny)
{
    EXPECT_EQ(ATan2(0, 0), 0.0f);
    EXPECT_EQ(ATan2(1e-11f, -1e-11f), 0.0f);
    EXPECT_NEAR(ATan2(1e-11f, -1), 180.0f, 1e-4);
    EXPECT_NEAR(ATan2(-1, 1e-11f), -90.0f, 1e-4);
}

TEST(AngleHelpers, ACosAndASinClampOutOfRangeArguments)
{
    const struct { float in; float acos; float asin; } cases[] = {
        {1.5f, 0, 90}, {1, 0, 90}, {-1, 180, -90}, {-2, 180, -90}, {0.5f, 60, 30}, {0, 90, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ACos(c.in), c.acos, 1e-4) << c.in;
        EXPECT_NEAR(ASin(c.in), c.asin, 1e-4) << c.in;
    }
}

TEST(AngleHelpers, GetNormalizeAngleDegIsHalfOpen)
{
    const AngleCase cases[] = {
        {180, -180}, {-180, -180}, {540, -180}, {179.5, 179.5}, {-181, 179}, {360, 0}, {725, 5}, {-725, -5},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(GetNormalizeAngleDeg(static_cast<float>(c.in)), static_cast<float>(c.out)) << c.in;
}

TEST(AngleHelpers, NormalizeAngleKeepsBothEnds)
{
    const AngleCase cases[] = {
        {180, 180}, {-180, -180}, {540, 180}, {-540, -180}, {181, -179}, {-181, 179}, {720, 0}, {0, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(normalizeAngle(c.in), c.out) << c.in;
}

TEST(AngleHelpers, GetNormalizeAngleRadIsHalfOpen)
{
    EXPECT_NEAR(GetNormalizeAngleRad(static_cast<float>(M_PI)), -kPi, 1e-6);
    EXPECT_NEAR(GetNormalizeAngleRad(-kPi / 2), -kPi / 2, 1e-6);
    EXPECT_NEAR(GetNormalizeAngleRad(3 * kPi / 2), -kPi / 2, 1e-5);
    EXPECT_NEAR(GetNormalizeAngleRad(-3 * kPi / 2), kPi / 2, 1e-5);
    EXPECT_NEAR(GetNormalizeAngleRad(4 * kPi + 1), 1.0f, 1e-5);
}

TEST(AngleHelpers, NormalisingHugeOrInfiniteAnglesTerminates)
{
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(std::isnan(GetNormalizeAngleDeg(inf)));
    EXPECT_TRUE(std::isnan(normalizeAngle(-std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(GetNormalizeAngleRad(inf)));
    EXPECT_TRUE(std::isnan(GetNormalizeAngleDeg(std::nanf(""))));

    // 1e8 = 277777 * 360 + 280 exactly.
    EXPECT_FLOAT_EQ(GetNormalizeAngleDeg(1e8f), -80.0f);
    EXPECT_DOUBLE_EQ(normalizeAngle(1e8), -80.0);
    float big = GetNormalizeAngleRad(1e20f);
    EXPECT_GE(big, -kPi);
    EXPECT_LT(big, kPi);
}

TEST(AngleHelpers, IsAngInInterval)
{
    const struct { float ang, lo, hi; bool in; } cases[] = {
        {15, 10, 20, true},
        {10, 10, 20, false},   // open ends when the arc does not wrap
        {20, 10, 20, false},
        {25, 10, 20, false},
        {350, 350, 10, true},  // closed ends on a wrapping arc
        {10, 350, 10, true},
        {0, 350, 10, true},
        {-10, 350, 10, true},  // -10 is taken as 350
        {180, 350, 10, false},
        {-5, -10, 10, true},   // -10 becomes 350: the arc wraps
        {90, 30, 30, true},    // equal bounds: the whole circle
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAngInInterval(c.ang, c.lo, c.hi), c.in) << c.ang << " in " << c.lo << ".." << c.hi;
}

TEST(AngleHelpers, BisectorOfTwoAngles)
{
    const struct { float a, b, mid; } cases[] = {
        {10, 50, 30}, {350, 10, 0}, {170, -170, -180}, {-90, 0, -45}, {0, 90, 45}, {120, -120, -180},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(getBisectorTwoAngles(c.a, c.b), c.mid, 1e-3) << c.a << ", " << c.b;
}

void expectVec(const Vector& v, float x, float y, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
}

TEST(VectorTest, ConstructionCartesianAndPolar)
{
    expectVec(Vector(), 0, 0);
    expectVec(Vector(3, 4), 3, 4);
    expectVec(Vector(2, 90, POLAR), 0, 2);
    expectVec(Vector(2, 180, POLAR), -2, 0);
    expectVec(Vector(-2, 90, POLAR), 0, -2);  // negative radius points the other way
    expectVec(Vector::getVectorFromPolar(std::sqrt(2.0f), 45), 1, 1);

    Vector v(1, 1);
    v.setVector(1, -90, POLAR);
    expectVec(v, 0, -1);
    EXPECT_TRUE(v.setX(5));
    EXPECT_TRUE(v.setY(6));
    EXPECT_EQ(v.getX(), 5);
    EXPECT_EQ(v.getY(), 6);
}

TEST(VectorTest, PolarAndCartesianRoundTrip)
{
    const Vector points[] = {{3, 4}, {-3, 4}, {-1, -7}, {0.25f, -0.5f}, {10, 0}, {0, -2}};
    for (const auto& p : points) {
        Vector back(p.length(), p.getDirection(), POLAR);
        expectVec(back, p.x, p.y, 1e-4f);
    }
}

TEST(VectorTest, Arithmetic)
{
    Vector a(1, 2), b(3, -4);
    expectVec(-a, -1, -2);
    expectVec(a + b, 4, -2);
    expectVec(a - b, -2, 6);
    expectVec(a * b, 3, -8);
    expectVec(b / a, 3, -2);
    expectVec(a + 1, 2, 3);
    expectVec(a - 1, 0, 1);
    expectVec(a * 2, 2, 4);
    expectVec(a / 2, 0.5f, 1);

    Vector c = a;
    c += b;  expectVec(c, 4, -2);
    c -= b;  expectVec(c, 1, 2);
    c *= b;  expectVec(c, 3, -8);
    c /= b;  expectVec(c, 1, 2);
    c += 1;  expectVec(c, 2, 3);
    c -= 1;  expectVec(c, 1, 2);
    c *= 3;  expectVec(c, 3, 6);
    c /= 3;  expectVec(c, 1, 2);
    c = 7;   expectVec(c, 7, 7);

    Vector z = a / 0.0f;
    EXPECT_TRUE(std::isinf(z.x));
}

TEST(VectorTest, Comparisons)
{
    EXPECT_TRUE(Vector(1, 2) == Vector(1, 2));
    EXPECT_FALSE(Vector(1, 2) == Vector(1, 2.0001f));
    EXPECT_TRUE(Vector(1, 2) != Vector(2, 1));
    EXPECT_TRUE(Vector(3, 3) == 3.0f);
    EXPECT_FALSE(Vector(3, 2) == 3.0f);
    EXPECT_TRUE(Vector(3, 2) != 3.0f);
}

TEST(VectorTest, LengthDirectionDistance)
{
    EXPECT_FLOAT_EQ(Vector(3, 4).length(), 5);
    EXPECT_FLOAT_EQ(Vector(1, 1).getDistanceTo(Vector(4, 5)), 5);
    EXPECT_EQ(Vector(0, 0).getDirection(), 0);
    EXPECT_NEAR(Vector(0, 2).getDirection(), 90, 1e-4);
    EXPECT_NEAR(Vector(-1, 0).getDirection(), 180, 1e-4);
    EXPECT_NEAR(Vector(1, -1).getDirection(), -45, 1e-4);
    EXPECT_FLOAT_EQ(Vector(1, 2).innerProduct(Vector(3, -4)), -5);
}

TEST(VectorTest, SetLengthAndNormalize)
{
    Vector v(3, 4);
    Vector r = v.setLength(10);
    expectVec(v, 6, 8);
    expectVec(r, 6, 8);

    Vector zero;
    expectVec(zero.setLength(10), 0, 0);
    expectVec(zero.normalize(), 0, 0);

    Vector w(0, -5);
    expectVec(w.normalize(), 0, -1);
    expectVec(w, 0, -1);
}

TEST(VectorTest, Rotate)
{
    Vector v(1, 0);
    expectVec(v.rotate(90), 0, 1);
    expectVec(v, 0, 1);
    expectVec(Vector(2, 2).rotate(-90), 2, -2);
    expectVec(Vector(1, 0).rotate(-180), -1, 0);
    expectVec(Vector(0, 0).rotate(45), 0, 0);
}

TEST(VectorTest, FrameChanges)
{
    // A body at (1, 1) heading 90 degrees: the point (1, 3) lies 2 ahead of it.
    Vector p(1, 3);
    expectVec(p.globalToRelative(Vector(1, 1), 90), 2, 0);
    // (2, 1) lies 1 to its right.
    expectVec(Vector(2, 1).globalToRelative(Vector(1, 1), 90), 0, -1);
    expectVec(Vector(0, 1).relativeToGlobal(Vector(5, 5), 180), 5, 4);
}

TEST(VectorTest, GlobalToRelativeRoundTrip)
{
    const struct { Vector p, o; float ang; } cases[] = {
        {{3, 4}, {1, 1}, 30},   {{-7, 2}, {2, -3}, -135}, {{0, 0}, {5, 5}, 180},
        {{1, 1}, {1, 1}, 45},   {{14, -9}, {-14, 9}, 359},
    };
    for (const auto& c : cases) {
        Vector v = c.p;
        v.globalToRelative(c.o, c.ang);
        v.relativeToGlobal(c.o, c.ang);
        expectVec(v, c.p.x, c.p.y, 1e-4f);
    }
}

TEST(VectorTest, FractionOfTheWay)
{
    expectVec(Vector(0, 0).getVectorOnLineFraction(Vector(4, 8), 0.25f), 1, 2);
    expectVec(Vector(2, 2).getVectorOnLineFraction(Vector(4, 8), 0), 2, 2);
    expectVec(Vector(2, 2).getVectorOnLineFraction(Vector(4, 8), 1), 4, 8);
}

TEST(VectorTest, RelativePositionTestsAreStrict)
{
    Vector p(1, 1);
    EXPECT_TRUE(p.isInFrontOf(Vector(0, 5)));
    EXPECT_FALSE(p.isInFrontOf(1.0f));
    EXPECT_TRUE(p.isBehindOf(2.0f));
    EXPECT_FALSE(p.isBehindOf(Vector(1, 0)));
    EXPECT_TRUE(Vector(0, 1).isLeftOf(Vector(0, 2)));  // left means smaller y
    EXPECT_FALSE(Vector(0, 1).isLeftOf(1.0f));
    EXPECT_TRUE(Vector(0, 3).isRightOf(2.0f));
    EXPECT_FALSE(Vector(0, 3).isRightOf(Vector(9, 3)));

    EXPECT_TRUE(p.isBetweenX(0.0f, 2.0f));
    EXPECT_FALSE(p.isBetweenX(2.0f, 0.0f));  // the lower bound must come first
    EXPECT_FALSE(p.isBetweenX(1.0f, 2.0f));
    EXPECT_TRUE(p.isBetweenX(Vector(0, 9), Vector(2, -9)));
    EXPECT_TRUE(p.isBetweenY(0.0f, 2.0f));
    EXPECT_FALSE(p.isBetweenY(2.0f, 0.0f));
    EXPECT_TRUE(p.isBetweenY(Vector(9, 0), Vector(-9, 2)));
    EXPECT_FALSE(p.isBetweenY(Vector(9, 1), Vector(-9, 2)));
}

TEST(VectorTest, ObjectWithin)
{
    Vector p(1, 1);
    EXPECT_TRUE(p.objectWithin(Vector(1.4f, 0.6f)));
    EXPECT_FALSE(p.objectWithin(Vector(1.5f, 1)));
    EXPECT_FALSE(p.objectWithin(Vector(1, 0.5f)));
    EXPECT_FALSE(p.objectWithin(Vector(0.4f, 1)));
}

TEST(VectorTest, TextForms)
{
    Vector v(1.5f, -2);
    std::ostringstream os;
    os << v;
    EXPECT_EQ(os.str(), "1.5 -2");
    EXPECT_EQ(v.toString(), "(1.5,-2)");
    EXPECT_EQ(v.str(CARTESIAN), "( 1.500000, -2.000000 )");
    EXPECT_EQ(Vector(0, 2).str(POLAR), "( r: 2.000000, phi: 90.000000 )");

    testing::internal::CaptureStdout();
    v.show(CARTESIAN);
    Vector(3, 0).show(POLAR);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1.5 -2\n( r: 3, phi: 0  )");
}

}  // namespace
