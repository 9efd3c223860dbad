#include "geometry/MatrixMxN.h"

#include <ostream>

void MatrixMxN::AllocArrays()
{
    pData = new float*[dx];
    for (int i = 0; i < dx; ++i)
        pData[i] = new float[dy];
}

void MatrixMxN::FreeArrays()
{
    for (int i = 0; i < dx; ++i)
        delete[] pData[i];
    delete[] pData;
    pData = nullptr;
}

MatrixMxN::MatrixMxN(int sizeX, int sizeY) : dx(sizeX), dy(sizeY), pData(nullptr)
{
    AllocArrays();
    for (int i = 0; i < dx; ++i)
        for (int j = 0; j < dy; ++j)
            pData[i][j] = 0;
}

MatrixMxN::MatrixMxN(const MatrixMxN& other) : dx(other.dx), dy(other.dy), pData(nullptr)
{
    AllocArrays();
    for (int i = 0; i < dx; ++i)
        for (int j = 0; j < dy; ++j)
            pData[i][j] = other.pData[i][j];
}

MatrixMxN::~MatrixMxN() { FreeArrays(); }

MatrixMxN& MatrixMxN::operator=(const MatrixMxN& other)
{
    if (this == &other)
        return *this;
    if (dx != other.dx || dy != other.dy) {
        FreeArrays();
        dx = other.dx;
        dy = other.dy;
        AllocArrays();
    }
    for (int i = 0; i < dx; ++i)
        for (int j = 0; j < dy; ++j)
            pData[i][j] = other.pData[i][j];
    return *this;
}

MatrixMxN MatrixMxN::operator+(const MatrixMxN& other) const
{
    MatrixMxN r(*this);
    r += other;
    return r;
}

MatrixMxN MatrixMxN::operator-(const MatrixMxN& other) const
{
    MatrixMxN r(*this);
    r -= other;
    return r;
}

MatrixMxN& MatrixMxN::operator+=(const MatrixMxN& other)
{
    for (int i = 0; i < dx; ++i)
        for (int j = 0; j < dy; ++j)
            pData[i][j] += other.pData[i][j];
    return *this;
}

MatrixMxN& MatrixMxN::operator-=(const MatrixMxN& other)
{
    for (int i = 0; i < dx; ++i)
        for (int j = 0; j < dy; ++j)
            pData[i][j] -= other.pData[i][j];
    return *this;
}

MatrixMxN& MatrixMxN::operator*=(const MatrixMxN& other)
{
    *this = *this * other;
    return *this;
}

float& MatrixMxN::Get(int x, int y) { return pData[x][y]; }
const float& MatrixMxN::Get(int x, int y) const { return pData[x][y]; }

MatrixMxN MatrixMxN::Zeros(int x, int y) { return MatrixMxN(x, y); }

MatrixMxN MatrixMxN::Ones(int x, int y)
{
    MatrixMxN m(x, y);
    for (int i = 0; i < x; ++i)
        for (int j = 0; j < y; ++j)
            m.pData[i][j] = 1;
    return m;
}

MatrixMxN MatrixMxN::Identity(int x)
{
    MatrixMxN m(x, x);
    for (int i = 0; i < x; ++i)
        m.pData[i][i] = 1;
    return m;
}

MatrixMxN MatrixMxN::Transpose(const MatrixMxN& m)
{
    MatrixMxN t(m.dy, m.dx);
    for (int i = 0; i < t.dx; ++i)
        for (int j = 0; j < t.dy; ++j)
            t.pData[i][j] = m.pData[j][i];
    return t;
}

MatrixMxN operator*(const MatrixMxN& m1, const MatrixMxN& m2)
{
    MatrixMxN r(m1.dx, m2.dy);
    for (int i = 0; i < m1.dx; ++i)
        for (int j = 0; j < m2.dy; ++j)
            for (int k = 0; k < m1.dy; ++k)
                r.pData[i][j] += m1.pData[i][k] * m2.pData[k][j];
    return r;
}

MatrixMxN operator*(float c, const MatrixMxN& m)
{
    MatrixMxN r(m);
    for (int i = 0; i < r.dx; ++i)
        for (int j = 0; j < r.dy; ++j)
            r.pData[i][j] *= c;
    return r;
}

MatrixMxN operator*(const MatrixMxN& m, float c) { return c * m; }

std::ostream& operator<<(std::ostream& os, const MatrixMxN& m)
{
    for (int i = 0; i < m.dx; ++i) {
        for (int j = 0; j < m.dy; ++j)
            os << m.pData[i][j] << "\t";
        os << "\n";
    }
    return os;
}
