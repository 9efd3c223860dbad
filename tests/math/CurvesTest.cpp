#include "math/Bezier.h"
#include "math/Function.h"
#include "math/Math.h"
#include "math/Sine.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

const float kPi = 3.14159265f;

void expectVec(const Vector3f& v, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

TEST(BezierTest, LinearCurveClampsTime)
{
    Bezier b(Vector3f(0, 0, 0), Vector3f(1, 2, 3), 2);
    EXPECT_EQ(b.getType(), "Linear");
    expectVec(b.p2, 0, 0, 0);
    expectVec(b.p3, 0, 0, 0);
    const struct { float t; Vector3f p; } cases[] = {
        {1, {0.5f, 1, 1.5f}}, {-1, {0, 0, 0}}, {0, {0, 0, 0}}, {2, {1, 2, 3}}, {5, {1, 2, 3}},
        {0.5f, {0.25f, 0.5f, 0.75f}},
    };
    for (const auto& c : cases)
        expectVec(b.getLinearPosition(c.t), c.p.x, c.p.y, c.p.z);
}

TEST(BezierTest, QuadraticCurve)
{
    Bezier b(Vector3f(0, 0, 0), Vector3f(1, 0, 1), Vector3f(2, 0, 0), 1);
    EXPECT_EQ(b.getType(), "Quadratic");
    expectVec(b.p3, 0, 0, 0);
    expectVec(b.getQuadraticPosition(0.5f), 1, 0, 0.5f);  // half the middle point's height
    expectVec(b.getQuadraticPosition(-3), 0, 0, 0);
    expectVec(b.getQuadraticPosition(1), 2, 0, 0);
    expectVec(b.getQuadraticPosition(7), 2, 0, 0);
    expectVec(b.getQuadraticPosition(0.25f), 0.5f, 0, 0.375f);
}

TEST(BezierTest, CubicCurve)
{
    Bezier b(Vector3f(0, 0, 0), Vector3f(0, 1, 0), Vector3f(1, 1, 0), Vector3f(1, 0, 0.3f), 4);
    EXPECT_EQ(b.getType(), "Cubic");
    Vector3f end = b.getCubicPosition(4);
    EXPECT_EQ(end.x, 1.0f);
    EXPECT_EQ(end.y, 0.0f);
    EXPECT_EQ(end.z, 0.3f);
    expectVec(b.getCubicPosition(2), 0.5f, 0.75f, 0.0375f);
    expectVec(b.getCubicPosition(-1), 0, 0, 0);
    expectVec(b.getCubicPosition(100), 1, 0, 0.3f);
}

TEST(BezierTest, SettersKeepHigherPointsAndSwitchType)
{
    Bezier b;
    EXPECT_EQ(b.getType(), "");
    expectVec(b.p0, 0, 0, 0);
    expectVec(b.p3, 0, 0, 0);

    b.setCubic(Vector3f(1, 1, 1), Vector3f(2, 2, 2), Vector3f(3, 3, 3), Vector3f(4, 4, 4), 1);
    EXPECT_EQ(b.getType(), "Cubic");
    b.setLinear(Vector3f(0, 0, 0), Vector3f(10, 0, 0), 5);
    EXPECT_EQ(b.getType(), "Linear");
    EXPECT_EQ(b.getDuration(), 5);
    expectVec(b.p2, 3, 3, 3);
    expectVec(b.p3, 4, 4, 4);
    expectVec(b.getLinearPosition(1), 2, 0, 0);

    b.setQuadratic(Vector3f(0, 0, 0), Vector3f(0, 0, 2), Vector3f(0, 0, 0), 2);
    EXPECT_EQ(b.getType(), "Quadratic");
    expectVec(b.p3, 4, 4, 4);
    expectVec(b.getQuadraticPosition(1), 0, 0, 1);

    b.setDuration(4);
    EXPECT_EQ(b.getDuration(), 4);
    expectVec(b.getQuadraticPosition(2), 0, 0, 1);
}

TEST(SineTest, Values)
{
    Sine s(2, 1, 0, 5);
    const struct { float in, amp, out; } cases[] = {
        {0, 1, 5}, {0.25f, 1, 7}, {0.5f, 1, 5}, {0.75f, 1, 3}, {1.25f, 1, 7},
        {0.25f, 0.5f, 6}, {0.25f, 0, 5}, {-0.25f, 1, 3},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(s(c.in, c.amp), c.out, 1e-5) << c.in << " " << c.amp;

    Sine shifted(2, 1, kPi / 2, 5);  // phase in radians
    EXPECT_NEAR(shifted(0, 1), 7, 1e-5);

    Sine slow(1, 4, 0, 0);  // period in the unit of the input
    EXPECT_NEAR(slow(1, 1), 1, 1e-5);
}

TEST(SineTest, ZeroPeriodGivesTheOffset)
{
    Sine s(2, 0, 1, 5);
    const float inputs[] = {0, 0.25f, -3, 1e6f};
    for (float in : inputs)
        EXPECT_EQ(s(in, 1), 5);
}

TEST(SineTest, UsedAndDeletedThroughTheInterface)
{
    Function<float, float>* f = new Sine(3, 2, 0, -1);
    EXPECT_NEAR((*f)(0.5f, 1), 2, 1e-5);
    EXPECT_NEAR((*f)(1.5f, 2), -7, 1e-5);
    delete f;
}

TEST(SineTest, Arithmetic)
{
    Sine half = Sine(2, 4, 1, 6) / 2;
    EXPECT_EQ(half.amplitude, 1);
    EXPECT_EQ(half.period, 2);
    EXPECT_EQ(half.phase, 0.5f);
    EXPECT_EQ(half.offset, 3);

    Sine sum = Sine(1, 2, 3, 4) + Sine(10, 20, 30, 40);
    EXPECT_EQ(sum.amplitude, 11);
    EXPECT_EQ(sum.period, 22);
    EXPECT_EQ(sum.phase, 33);
    EXPECT_EQ(sum.offset, 44);

    Sine copy(sum);
    EXPECT_EQ(copy.offset, 44);
}

TEST(MathTest, Sigmoid)
{
    EXPECT_DOUBLE_EQ(Math::sigmoid(0.5, 0, 10, 8), 5);
    EXPECT_NEAR(Math::sigmoid(0, 0, 10, 20), 0, 1e-3);
    EXPECT_NEAR(Math::sigmoid(1, 0, 10, 20), 10, 1e-3);
    EXPECT_NEAR(Math::sigmoid(0, 10, 2, 20), 10, 1e-3);
    EXPECT_DOUBLE_EQ(Math::sigmoid(0.5, 10, 2, 3), 6);
    // A gentler slope stays further from the ends.
    EXPECT_GT(Math::sigmoid(0, 0, 10, 2), Math::sigmoid(0, 0, 10, 20));
}

}  // namespace
