#include "geometry/Vector3f.h"

#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

namespace {

void expectVec(const Vector3f& v, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

TEST(Vector3fTest, ConstructionAndSetters)
{
    expectVec(Vector3f(), 0, 0, 0);
    expectVec(Vector3f(Vector(1, 2)), 1, 2, 0);

    Vector3f v(1, 2, 3);
    v.set2dCoordinates(7, 8);
    expectVec(v, 7, 8, 3);
    v.setCoordinates(4, 5, 6);
    expectVec(v, 4, 5, 6);
    v.setX(-1);
    v.setY(-2);
    v.setZ(-3);
    EXPECT_EQ(v.getX(), -1);
    EXPECT_EQ(v.getY(), -2);
    EXPECT_EQ(v.getZ(), -3);
    v.setCoordinates(Vector3f(9, 9, 9));
    expectVec(v, 9, 9, 9);

    Vector flat = Vector3f(1, 2, 3).to2d();
    EXPECT_EQ(flat.x, 1);
    EXPECT_EQ(flat.y, 2);
}

TEST(Vector3fTest, Arithmetic)
{
    Vector3f a(1, 2, 3), b(4, -2, 0.5f);
    expectVec(a + b, 5, 0, 3.5f);
    expectVec(a - b, -3, 4, 2.5f);
    expectVec(-a, -1, -2, -3);
    expectVec(a * b, 4, -4, 1.5f);
    expectVec(a / b, 0.25f, -1, 6);
    expectVec(a * 2, 2, 4, 6);
    expectVec(a / 2, 0.5f, 1, 1.5f);

    Vector3f c = a;
    Vector3f r = (c += b);
    expectVec(c, 5, 0, 3.5f);
    expectVec(r, 5, 0, 3.5f);

    EXPECT_TRUE(a == Vector3f(1, 2, 3));
    EXPECT_FALSE(a == Vector3f(1, 2, 3.0001f));
    expectVec(Vector3f::determineMidpoint(Vector3f(0, 0, 0), Vector3f(2, -4, 6)), 1, -2, 3);
}

TEST(Vector3fTest, ProductsLengthsDistances)
{
    EXPECT_FLOAT_EQ(Vector3f(1, 2, 3).innerProduct(Vector3f(4, -5, 6)), 12);
    expectVec(Vector3f(1, 0, 0).crossProduct(Vector3f(0, 1, 0)), 0, 0, 1);
    expectVec(Vector3f(0, 1, 0).crossProduct(Vector3f(1, 0, 0)), 0, 0, -1);
    EXPECT_FLOAT_EQ(Vector3f(2, 3, 6).length(), 7);
    EXPECT_FLOAT_EQ(Vector3f(1, 1, 1).dist(Vector3f(3, 4, 7)), 7);

    Vector3f v(0, 3, 4);
    expectVec(v.normalize(), 0, 0.6f, 0.8f);
    expectVec(v.normalize(10), 0, 6, 8);
    expectVec(v, 0, 3, 4);  // unchanged

    EXPECT_FLOAT_EQ(Vector3f(0, 1, 0).distToLine(Vector3f(0, 0, 0), Vector3f(1, 0, 0)), 1);
    EXPECT_FLOAT_EQ(Vector3f(5, 3, 4).distToLine(Vector3f(-2, 0, 0), Vector3f(7, 0, 0)), 5);
    EXPECT_NEAR(Vector3f(2, 2, 0).distToLine(Vector3f(0, 0, 0), Vector3f(1, 1, 0)), 0, 1e-6);
}

TEST(Vector3fTest, PolarToCartesian)
{
    const struct { Vector3f polar; Vector3f cart; } cases[] = {
        {{10, 0, 0}, {10, 0, 0}},
        {{10, 90, 0}, {0, 10, 0}},
        {{10, 0, 90}, {0, 0, 10}},
        {{2, 180, 0}, {-2, 0, 0}},
        {{2, -90, 0}, {0, -2, 0}},
        {{2, 45, 45}, {1, 1, std::sqrt(2.0f)}},
    };
    for (const auto& c : cases) {
        Vector3f r = c.polar.toCartesian();
        expectVec(r, c.cart.x, c.cart.y, c.cart.z, 1e-5f);
    }
}

TEST(Vector3fTest, CartesianToPolar)
{
    expectVec(Vector3f(0, 0, 0).toPolar(), 0, 0, 0);
    expectVec(Vector3f(0, 5, 0).toPolar(), 5, 90, 0, 1e-4f);
    expectVec(Vector3f(-3, 0, 4).toPolar(), 5, 180, ATan2(4, 3), 1e-4f);
    expectVec(Vector3f(1, 1, -std::sqrt(2.0f)).toPolar(), 2, 45, -45, 1e-4f);
}

TEST(Vector3fTest, PolarRoundTrip)
{
    const Vector3f points[] = {{1, 2, 3}, {-4, 0.5f, -1}, {0.1f, -0.2f, 0.05f}, {-7, -7, 2}};
    for (const auto& p : points) {
        Vector3f back = p.toPolar().toCartesian();
        expectVec(back, p.x, p.y, p.z, 1e-4f);
    }
}

TEST(Vector3fTest, TextForms)
{
    std::ostringstream os;
    os << Vector3f(1.5f, -2, 0);
    EXPECT_EQ(os.str(), "1.5 -2 0");
    EXPECT_EQ(Vector3f(1, 2.25f, -3).toString(), "1 2.25 -3");
}

}  // namespace
