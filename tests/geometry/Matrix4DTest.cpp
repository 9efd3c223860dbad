#include "geometry/Matrix4D.h"

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

void expectMatrixNear(const Matrix4D& a, const Matrix4D& b, float tol = 1e-5f)
{
    for (unsigned i = 0; i < 16; ++i)
        EXPECT_NEAR(a.content[i], b.content[i], tol) << "element " << i;
}

TEST(Matrix4DTest, ConstructionAndAccess)
{
    Matrix4D id;
    for (unsigned i = 0; i < 4; ++i)
        for (unsigned j = 0; j < 4; ++j)
            EXPECT_EQ(id.get(i, j), i == j ? 1.0f : 0.0f);

    float a[16];
    for (int i = 0; i < 16; ++i)
        a[i] = static_cast<float>(i);
    Matrix4D m(a);
    EXPECT_EQ(m.get(1, 2), 6);  // row-major
    EXPECT_EQ(m.get(7), 7);
    EXPECT_EQ(m[11], 11);
    m[11] = -1;
    EXPECT_EQ(m.get(2, 3), -1);
    m.set(2, 3, 5);
    EXPECT_EQ(m[11], 5);
    m.set(0, 9);
    EXPECT_EQ(m.get(0, 0), 9);

    Matrix4D copy(m);
    EXPECT_TRUE(copy == m);
    Matrix4D assigned;
    assigned = m;
    EXPECT_TRUE(assigned == m);
    assigned[15] = 100;
    EXPECT_FALSE(assigned == m);

    Matrix4D t(Vector3f(1, 2, 3));
    expectVec(t.toVector3f(), 1, 2, 3);
    EXPECT_EQ(t.get(3, 3), 1);
    EXPECT_EQ(t.get(0, 0), 1);
}

TEST(Matrix4DDeathTest, OutOfRangeIndicesEndTheProcess)
{
    Matrix4D m;
    EXPECT_DEATH(m.get(4, 0), "i < M_ROWS && j < M_COLS");
    EXPECT_DEATH(m.set(0, 4, 1.0f), "i < M_ROWS && j < M_COLS");
    EXPECT_DEATH(m.get(16), "i < M_LENGTH");
}

TEST(Matrix4DTest, ElementWiseArithmetic)
{
    Matrix4D id;
    Matrix4D two = id + id;
    EXPECT_EQ(two.get(1, 1), 2);
    EXPECT_EQ(two.get(1, 0), 0);
    Matrix4D zero = id - id;
    EXPECT_TRUE(zero == Matrix4D(id) - id);
    for (unsigned i = 0; i < 16; ++i)
        EXPECT_EQ(zero[i], 0);
    Matrix4D m = id;
    m += two;
    EXPECT_EQ(m.get(2, 2), 3);
    m -= id;
    EXPECT_TRUE(m == two);
}

TEST(Matrix4DTest, ProductOfMatrices)
{
    // translation then translation adds up; order of rotation and translation matters
    Matrix4D t = Matrix4D::translation(1, 0, 0) * Matrix4D::translation(0, 2, 3);
    expectVec(t.toVector3f(), 1, 2, 3);

    Matrix4D rt = Matrix4D::rotationZ(90) * Matrix4D::translation(1, 0, 0);
    expectVec(rt.toVector3f(), 0, 1, 0);
    Matrix4D tr = Matrix4D::translation(1, 0, 0) * Matrix4D::rotationZ(90);
    expectVec(tr.toVector3f(), 1, 0, 0);

    float a[16] = {1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float b[16] = {1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Matrix4D ab = Matrix4D(a) * Matrix4D(b);
    EXPECT_EQ(ab.get(0, 0), 7);  // 1*1 + 2*3
    EXPECT_EQ(ab.get(0, 1), 2);
    EXPECT_EQ(ab.get(1, 0), 3);
}

TEST(Matrix4DTest, RotationsInDegrees)
{
    const struct { Matrix4D m; Vector3f in; Vector3f out; } cases[] = {
        {Matrix4D::rotationZ(90), {1, 0, 0}, {0, 1, 0}},
        {Matrix4D::rotationZ(-90), {1, 0, 0}, {0, -1, 0}},
        {Matrix4D::rotationX(90), {0, 1, 0}, {0, 0, 1}},
        {Matrix4D::rotationY(90), {0, 0, 1}, {1, 0, 0}},
        {Matrix4D::rotationY(90), {1, 0, 0}, {0, 0, -1}},
        {Matrix4D::rotationZ(180), {1, 2, 3}, {-1, -2, 3}},
        {Matrix4D::rotation(Vector3f(1, 0, 0), 90), {0, 1, 0}, {0, 0, 1}},
        {Matrix4D(), {4, 5, 6}, {4, 5, 6}},
        {Matrix4D::translation(1, 2, 3), {0, 0, 0}, {1, 2, 3}},
        {Matrix4D::translation(Vector3f(1, 2, 3)), {1, 1, 1}, {2, 3, 4}},
    };
    for (const auto& c : cases)
        expectVec(c.m * c.in, c.out.x, c.out.y, c.out.z);

    expectMatrixNear(Matrix4D::rotation(Vector3f(0, 0, 1), 90), Matrix4D::rotationZ(90));
    expectMatrixNear(Matrix4D::rotation(Vector3f(0, 1, 0), -30), Matrix4D::rotationY(-30));
    expectMatrixNear(Matrix4D::rotation(Vector3f(1, 0, 0), 135), Matrix4D::rotationX(135));
}

TEST(Matrix4DTest, RotationAboutDiagonalAxisCyclesTheAxes)
{
    float k = 1 / std::sqrt(3.0f);
    Matrix4D r = Matrix4D::rotation(Vector3f(k, k, k), 120);
    expectVec(r * Vector3f(1, 0, 0), 0, 1, 0);
    expectVec(r * Vector3f(0, 1, 0), 0, 0, 1);
}

TEST(Matrix4DTest, TransformAndItsInverse)
{
    // A rigid transform T = translation * rotation; its inverse is R^T * translation(-t).
    Matrix4D rot = Matrix4D::rotationZ(30) * Matrix4D::rotationX(-45);
    Matrix4D t = Matrix4D::translation(1, -2, 0.5f) * rot;
    Matrix4D inv = rot.transpose() * Matrix4D::translation(-1, 2, -0.5f);
    expectMatrixNear(inv * t, Matrix4D());
    const Vector3f points[] = {{0, 0, 0}, {1, 2, 3}, {-4, 0.5f, 7}};
    for (const auto& p : points)
        expectVec(inv * (t * p), p.x, p.y, p.z, 1e-5f);
}

TEST(Matrix4DTest, Transpose)
{
    Matrix4D tt = Matrix4D::translation(1, 2, 3).transpose();
    EXPECT_EQ(tt.get(3, 0), 1);
    EXPECT_EQ(tt.get(3, 1), 2);
    EXPECT_EQ(tt.get(3, 2), 3);
    EXPECT_EQ(tt.get(0, 3), 0);
}

TEST(Matrix4DTest, Printing)
{
    std::ostringstream os;
    os << Matrix4D::translation(1, 2, 3);
    EXPECT_EQ(os.str(), "1\t0\t0\t1\t\n0\t1\t0\t2\t\n0\t0\t1\t3\t\n0\t0\t0\t1\t\n");
    testing::internal::CaptureStdout();
    Matrix4D().print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1\t0\t0\t0\t\n0\t1\t0\t0\t\n0\t0\t1\t0\t\n0\t0\t0\t1\t\n");
}

}  // namespace
