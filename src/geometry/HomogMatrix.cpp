#include "geometry/HomogMatrix.h"

#include <iomanip>
#include <ostream>

HomogMatrix::HomogMatrix()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            elem[i][j] = i == j ? 1.0f : 0.0f;
}

HomogMatrix::HomogMatrix(const RotationMatrix& rot, const Vector3f& trans) : HomogMatrix()
{
    setRotation(rot);
    setTranslation(trans);
}

HomogMatrix::HomogMatrix(const Vector3f& trans) : HomogMatrix() { setTranslation(trans); }

HomogMatrix::HomogMatrix(const RotationMatrix& rot) : HomogMatrix() { setRotation(rot); }

RotationMatrix HomogMatrix::getRotation() const
{
    return RotationMatrix(Vector3f(elem[0][0], elem[0][1], elem[0][2]),
                          Vector3f(elem[1][0], elem[1][1], elem[1][2]),
                          Vector3f(elem[2][0], elem[2][1], elem[2][2]));
}

Vector3f HomogMatrix::getTranslation() const
{
    return Vector3f(elem[0][3], elem[1][3], elem[2][3]);
}

void HomogMatrix::setRotation(const RotationMatrix& rot)
{
    const Vector3f* rows[3] = {&rot.l0, &rot.l1, &rot.l2};
    for (int i = 0; i < 3; ++i) {
        elem[i][0] = rows[i]->x;
        elem[i][1] = rows[i]->y;
        elem[i][2] = rows[i]->z;
    }
}

void HomogMatrix::setTranslation(const Vector3f& trans)
{
    elem[0][3] = trans.x;
    elem[1][3] = trans.y;
    elem[2][3] = trans.z;
}

void HomogMatrix::translate(float x, float y, float z)
{
    elem[0][3] += x;
    elem[1][3] += y;
    elem[2][3] += z;
}

void HomogMatrix::translate(const Vector3f& trans) { translate(trans.x, trans.y, trans.z); }

HomogMatrix HomogMatrix::operator*(const HomogMatrix& other) const
{
    HomogMatrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += elem[i][k] * other.elem[k][j];
            r.elem[i][j] = sum;
        }
    }
    return r;
}

HomogMatrix HomogMatrix::getInverse() const
{
    HomogMatrix inv;
    RotationMatrix rt = getRotation().getInverse();
    inv.setRotation(rt);
    inv.setTranslation(rt * -getTranslation());
    return inv;
}

std::ostream& operator<<(std::ostream& os, const HomogMatrix& m)
{
    os << std::fixed << std::setprecision(3);
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            os << "\n";
        os << m.elem[i][0] << ", " << m.elem[i][1] << ", " << m.elem[i][2] << ", " << m.elem[i][3];
    }
    return os;
}
