#include "geometry/HomogMatrix.h"
#include "geometry/MatrixMxN.h"
#include "geometry/RotationMatrix.h"

#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

namespace {

const float kPi = 3.14159265f;

void expectVec(const Vector3f& v, float x, float y, float z, float tol = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

void expectRotNear(const RotationMatrix& a, const RotationMatrix& b, float tol = 1e-5f)
{
    expectVec(a.l0, b.l0.x, b.l0.y, b.l0.z, tol);
    expectVec(a.l1, b.l1.x, b.l1.y, b.l1.z, tol);
    expectVec(a.l2, b.l2.x, b.l2.y, b.l2.z, tol);
}

void expectHomogNear(const HomogMatrix& a, const HomogMatrix& b, float tol = 1e-5f)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.elem[i][j], b.elem[i][j], tol) << i << "," << j;
}

MatrixMxN fromRows(int rows, int cols, std::initializer_list<float> values)
{
    MatrixMxN m(rows, cols);
    int k = 0;
    for (float v : values) {
        m.Get(k / cols, k % cols) = v;
        ++k;
    }
    return m;
}

void expectMatrix(const MatrixMxN& m, int rows, int cols, std::initializer_list<float> values)
{
    ASSERT_EQ(m.dx, rows);
    ASSERT_EQ(m.dy, cols);
    int k = 0;
    for (float v : values) {
        EXPECT_FLOAT_EQ(m.Get(k / cols, k % cols), v) << k / cols << "," << k % cols;
        ++k;
    }
}

// ------------------------------------------------------------------- MatrixMxN

TEST(MatrixMxNTest, FactoriesAndAccess)
{
    expectMatrix(MatrixMxN(2, 3), 2, 3, {0, 0, 0, 0, 0, 0});
    expectMatrix(MatrixMxN::Zeros(1, 2), 1, 2, {0, 0});
    expectMatrix(MatrixMxN::Ones(2, 2), 2, 2, {1, 1, 1, 1});
    expectMatrix(MatrixMxN::Identity(3), 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});

    MatrixMxN m(2, 2);
    m.Get(1, 0) = 4;
    EXPECT_EQ(m.pData[1][0], 4);
}

TEST(MatrixMxNTest, Products)
{
    MatrixMxN a = fromRows(2, 3, {1, 2, 3, 4, 5, 6});
    MatrixMxN b = fromRows(3, 2, {7, 8, 9, 10, 11, 12});
    expectMatrix(a * b, 2, 2, {58, 64, 139, 154});

    MatrixMxN col = fromRows(3, 1, {1, -2, 3});
    expectMatrix(MatrixMxN::Identity(3) * col, 3, 1, {1, -2, 3});

    expectMatrix(2.0f * a, 2, 3, {2, 4, 6, 8, 10, 12});
    expectMatrix(a * 0.5f, 2, 3, {0.5f, 1, 1.5f, 2, 2.5f, 3});

    MatrixMxN c = a;
    c *= b;  // 2 by 2 afterwards
    expectMatrix(c, 2, 2, {58, 64, 139, 154});
}

TEST(MatrixMxNTest, ElementWise)
{
    MatrixMxN a = fromRows(2, 2, {1, 2, 3, 4});
    MatrixMxN b = fromRows(2, 2, {10, 20, 30, 40});
    expectMatrix(a + b, 2, 2, {11, 22, 33, 44});
    expectMatrix(b - a, 2, 2, {9, 18, 27, 36});
    expectMatrix(a, 2, 2, {1, 2, 3, 4});  // operands unchanged

    MatrixMxN c = a;
    MatrixMxN& ref = (c += b);
    EXPECT_EQ(&ref, &c);
    expectMatrix(c, 2, 2, {11, 22, 33, 44});
    c -= b;
    expectMatrix(c, 2, 2, {1, 2, 3, 4});
}

TEST(MatrixMxNTest, Transpose)
{
    MatrixMxN t = MatrixMxN::Transpose(fromRows(2, 3, {1, 2, 3, 4, 5, 6}));
    expectMatrix(t, 3, 2, {1, 4, 2, 5, 3, 6});
}

TEST(MatrixMxNTest, CopiesAreDeep)
{
    MatrixMxN a = fromRows(2, 2, {1, 2, 3, 4});
    MatrixMxN copy(a);
    copy.Get(0, 0) = 100;
    EXPECT_EQ(a.Get(0, 0), 1);
    EXPECT_NE(copy.pData, a.pData);

    MatrixMxN assigned(2, 2);
    assigned = a;
    assigned.Get(1, 1) = -1;
    EXPECT_EQ(a.Get(1, 1), 4);
}

TEST(MatrixMxNTest, AssignmentResizes)
{
    MatrixMxN big = MatrixMxN::Ones(3, 3);
    big = fromRows(2, 2, {1, 2, 3, 4});
    expectMatrix(big, 2, 2, {1, 2, 3, 4});

    MatrixMxN small = MatrixMxN::Ones(1, 1);
    small = MatrixMxN::Identity(4);
    expectMatrix(small, 4, 4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});

    MatrixMxN self = fromRows(1, 2, {5, 6});
    float** storage = self.pData;
    MatrixMxN& alias = self;
    self = alias;
    EXPECT_EQ(self.pData, storage);
    expectMatrix(self, 1, 2, {5, 6});
}

TEST(MatrixMxNTest, Printing)
{
    std::ostringstream os;
    os << fromRows(2, 2, {1, 2.5f, -3, 4});
    EXPECT_EQ(os.str(), "1\t2.5\t\n-3\t4\t\n");
}

// ------------------------------------------------------------------- RotationMatrix

TEST(RotationMatrixTest, ElementaryRotationsInRadians)
{
    const struct { RotationMatrix r; Vector3f in, out; } cases[] = {
        {GetRotationMatrixZ(kPi / 2), {1, 0, 0}, {0, 1, 0}},
        {GetRotationMatrixX(kPi / 2), {0, 1, 0}, {0, 0, 1}},
        {GetRotationMatrixY(kPi / 2), {0, 0, 1}, {1, 0, 0}},
        {GetRotationMatrixY(-kPi / 2), {1, 0, 0}, {0, 0, 1}},
        {RotationMatrix(), {1, 2, 3}, {1, 2, 3}},
        {RotationMatrix({1, 2, 3}, {0, 1, 0}, {0, 0, 2}), {1, 1, 1}, {6, 1, 2}},
    };
    for (const auto& c : cases) {
        Vector3f v = c.r * c.in;
        expectVec(v, c.out.x, c.out.y, c.out.z);
    }
}

TEST(RotationMatrixTest, ProductOrder)
{
    // Rz then Rx applied to a vector: Rz(90) * Rx(90) * y = Rz(90) * z = z.
    RotationMatrix r = GetRotationMatrixZ(kPi / 2) * GetRotationMatrixX(kPi / 2);
    expectVec(r * Vector3f(0, 1, 0), 0, 0, 1);
    RotationMatrix q = GetRotationMatrixX(kPi / 2) * GetRotationMatrixZ(kPi / 2);
    expectVec(q * Vector3f(0, 1, 0), -1, 0, 0);
}

TEST(RotationMatrixTest, InPlaceRotationsRightMultiply)
{
    const float angles[] = {0.3f, -1.2f, kPi / 2, 3.0f};
    RotationMatrix base = GetRotationMatrixZ(0.7f) * GetRotationMatrixX(-0.4f);
    for (float a : angles) {
        expectRotNear(RotationMatrix().rotateX(a), GetRotationMatrixX(a));
        expectRotNear(RotationMatrix().rotateY(a), GetRotationMatrixY(a));
        expectRotNear(RotationMatrix().rotateZ(a), GetRotationMatrixZ(a));

        expectRotNear(RotationMatrix(base).rotateX(a), base * GetRotationMatrixX(a));
        expectRotNear(RotationMatrix(base).rotateY(a), base * GetRotationMatrixY(a));
        expectRotNear(RotationMatrix(base).rotateZ(a), base * GetRotationMatrixZ(a));

        RotationMatrix back(base);
        back.rotateX(a).rotateX(-a);
        expectRotNear(back, base);
    }
}

TEST(RotationMatrixTest, InverseIsTheTranspose)
{
    RotationMatrix m({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    RotationMatrix t = m.getInverse();
    expectVec(t.l0, 1, 4, 7);
    expectVec(t.l1, 2, 5, 8);
    expectVec(t.l2, 3, 6, 9);

    RotationMatrix r = GetRotationMatrixX(0.5f) * GetRotationMatrixY(-1.1f) * GetRotationMatrixZ(2.3f);
    expectRotNear(r * r.getInverse(), RotationMatrix());
    expectRotNear(r.getInverse() * r, RotationMatrix());
}

TEST(RotationMatrixTest, PrintingLeavesFixedNotationOn)
{
    std::ostringstream os;
    os << RotationMatrix();
    EXPECT_EQ(os.str(), "1.000, 0.000, 0.000\n0.000, 1.000, 0.000\n0.000, 0.000, 1.000");
    os.str("");
    os << 0.5f;
    EXPECT_EQ(os.str(), "0.500");
}

// ------------------------------------------------------------------- HomogMatrix

TEST(HomogMatrixTest, Construction)
{
    expectHomogNear(HomogMatrix(), HomogMatrix(RotationMatrix(), Vector3f()));

    RotationMatrix r = GetRotationMatrixZ(kPi / 2);
    HomogMatrix h(r, Vector3f(1, 2, 3));
    expectVec(h.getTranslation(), 1, 2, 3);
    expectRotNear(h.getRotation(), r);
    EXPECT_EQ(h.elem[3][0], 0);
    EXPECT_EQ(h.elem[3][3], 1);
    EXPECT_EQ(h.elem[1][0], r.l1.x);

    HomogMatrix t(Vector3f(4, 5, 6));
    expectRotNear(t.getRotation(), RotationMatrix());
    expectVec(t.getTranslation(), 4, 5, 6);

    HomogMatrix ro(r);
    expectRotNear(ro.getRotation(), r);
    expectVec(ro.getTranslation(), 0, 0, 0);

    h.setRotation(RotationMatrix());
    h.setTranslation(Vector3f(-1, 0, 0));
    expectHomogNear(h, HomogMatrix(Vector3f(-1, 0, 0)));
}

TEST(HomogMatrixTest, TranslateInTheOuterFrame)
{
    HomogMatrix h(GetRotationMatrixZ(kPi / 2), Vector3f(1, 2, 3));
    h.translate(1, 0, 0);
    expectVec(h.getTranslation(), 2, 2, 3);
    h.translate(Vector3f(0, -2, 1));
    expectVec(h.getTranslation(), 2, 0, 4);
    expectRotNear(h.getRotation(), GetRotationMatrixZ(kPi / 2));
}

TEST(HomogMatrixTest, Product)
{
    HomogMatrix rot(GetRotationMatrixZ(kPi / 2));
    HomogMatrix move(Vector3f(1, 0, 0));
    expectVec((rot * move).getTranslation(), 0, 1, 0);  // the move is rotated
    expectVec((move * rot).getTranslation(), 1, 0, 0);
}

TEST(HomogMatrixTest, RigidInverse)
{
    const struct { RotationMatrix r; Vector3f t; } cases[] = {
        {RotationMatrix(), {1, 2, 3}},
        {GetRotationMatrixZ(kPi / 2), {1, 0, 0}},
        {GetRotationMatrixX(0.4f) * GetRotationMatrixY(-1.3f), {-0.05f, 0.055f, -0.3f}},
    };
    for (const auto& c : cases) {
        HomogMatrix h(c.r, c.t);
        HomogMatrix inv = h.getInverse();
        expectHomogNear(inv * h, HomogMatrix());
        expectHomogNear(h * inv, HomogMatrix());
        Vector3f expected = -(c.r.getInverse() * c.t);
        expectVec(inv.getTranslation(), expected.x, expected.y, expected.z);
    }
    // Rotation by 90 degrees about z and a move of (1, 0, 0): the inverse
    // moves by R^T (-1, 0, 0) = (0, 1, 0).
    expectVec(HomogMatrix(GetRotationMatrixZ(kPi / 2), Vector3f(1, 0, 0)).getInverse().getTranslation(),
              0, 1, 0);
}

TEST(HomogMatrixTest, Printing)
{
    std::ostringstream os;
    os << HomogMatrix(Vector3f(1, 2, 3));
    EXPECT_EQ(os.str(),
              "1.000, 0.000, 0.000, 1.000\n0.000, 1.000, 0.000, 2.000\n"
              "0.000, 0.000, 1.000, 3.000\n0.000, 0.000, 0.000, 1.000");
}

}  // namespace
