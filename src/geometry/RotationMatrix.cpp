#include "geometry/RotationMatrix.h"

#include <cmath>
#include <iomanip>
#include <ostream>

namespace {

Vector3f column(const RotationMatrix& m, int j)
{
    switch (j) {
    case 0: return Vector3f(m.l0.x, m.l1.x, m.l2.x);
    case 1: return Vector3f(m.l0.y, m.l1.y, m.l2.y);
    default: return Vector3f(m.l0.z, m.l1.z, m.l2.z);
    }
}

}  // namespace

RotationMatrix::RotationMatrix() : l0(1, 0, 0), l1(0, 1, 0), l2(0, 0, 1) {}

RotationMatrix::RotationMatrix(const Vector3f& lin0, const Vector3f& lin1, const Vector3f& lin2)
    : l0(lin0), l1(lin1), l2(lin2)
{
}

RotationMatrix RotationMatrix::operator*(const RotationMatrix& other) const
{
    Vector3f c0 = column(other, 0), c1 = column(other, 1), c2 = column(other, 2);
    return RotationMatrix(Vector3f(l0.innerProduct(c0), l0.innerProduct(c1), l0.innerProduct(c2)),
                          Vector3f(l1.innerProduct(c0), l1.innerProduct(c1), l1.innerProduct(c2)),
                          Vector3f(l2.innerProduct(c0), l2.innerProduct(c1), l2.innerProduct(c2)));
}

Vector3f RotationMatrix::operator*(const Vector3f& v) const
{
    return Vector3f(l0.innerProduct(v), l1.innerProduct(v), l2.innerProduct(v));
}

RotationMatrix RotationMatrix::getInverse() const
{
    return RotationMatrix(column(*this, 0), column(*this, 1), column(*this, 2));
}

RotationMatrix& RotationMatrix::rotateX(float angle)
{
    const RotationMatrix old(*this);
    float c = std::cos(angle), s = std::sin(angle);
    Vector3f* rows[3] = {&l0, &l1, &l2};
    const Vector3f* oldRows[3] = {&old.l0, &old.l1, &old.l2};
    for (int i = 0; i < 3; ++i) {
        rows[i]->y = c * oldRows[i]->y + s * oldRows[i]->z;
        rows[i]->z = c * oldRows[i]->z - s * oldRows[i]->y;
    }
    return *this;
}

RotationMatrix& RotationMatrix::rotateY(float angle)
{
    const RotationMatrix old(*this);
    float c = std::cos(angle), s = std::sin(angle);
    Vector3f* rows[3] = {&l0, &l1, &l2};
    const Vector3f* oldRows[3] = {&old.l0, &old.l1, &old.l2};
    for (int i = 0; i < 3; ++i) {
        rows[i]->x = c * oldRows[i]->x - s * oldRows[i]->z;
        rows[i]->z = c * oldRows[i]->z + s * oldRows[i]->x;
    }
    return *this;
}

RotationMatrix& RotationMatrix::rotateZ(float angle)
{
    const RotationMatrix old(*this);
    float c = std::cos(angle), s = std::sin(angle);
    Vector3f* rows[3] = {&l0, &l1, &l2};
    const Vector3f* oldRows[3] = {&old.l0, &old.l1, &old.l2};
    for (int i = 0; i < 3; ++i) {
        rows[i]->x = c * oldRows[i]->x + s * oldRows[i]->y;
        rows[i]->y = c * oldRows[i]->y - s * oldRows[i]->x;
    }
    return *this;
}

RotationMatrix GetRotationMatrixX(const float& angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    return RotationMatrix(Vector3f(1, 0, 0), Vector3f(0, c, -s), Vector3f(0, s, c));
}

RotationMatrix GetRotationMatrixY(const float& angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    return RotationMatrix(Vector3f(c, 0, s), Vector3f(0, 1, 0), Vector3f(-s, 0, c));
}

RotationMatrix GetRotationMatrixZ(const float& angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    return RotationMatrix(Vector3f(c, -s, 0), Vector3f(s, c, 0), Vector3f(0, 0, 1));
}

std::ostream& operator<<(std::ostream& os, const RotationMatrix& m)
{
    os << std::fixed << std::setprecision(3);
    const Vector3f* rows[3] = {&m.l0, &m.l1, &m.l2};
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            os << "\n";
        os << rows[i]->x << ", " << rows[i]->y << ", " << rows[i]->z;
    }
    return os;
}
