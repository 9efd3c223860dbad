#include "geometry/Matrix4D.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

// Index checks stay active in every build type.
void require(bool ok, const char* text)
{
    if (!ok) {
        std::fprintf(stderr, "Matrix4D: Assertion `%s' failed.\n", text);
        std::abort();
    }
}

}  // namespace

Matrix4D::Matrix4D()
{
    for (unsigned i = 0; i < M_LENGTH; ++i)
        content[i] = 0;
    content[0] = content[5] = content[10] = content[15] = 1;
}

Matrix4D::Matrix4D(const float* a)
{
    for (unsigned i = 0; i < M_LENGTH; ++i)
        content[i] = a[i];
}

Matrix4D::Matrix4D(const Vector3f& v) : Matrix4D()
{
    content[3] = v.x;
    content[7] = v.y;
    content[11] = v.z;
}

void Matrix4D::set(unsigned i, float value) { content[i] = value; }

void Matrix4D::set(unsigned i, unsigned j, float value)
{
    require(i < M_ROWS && j < M_COLS, "i < M_ROWS && j < M_COLS");
    content[i * M_COLS + j] = value;
}

float Matrix4D::get(unsigned i, unsigned j) const
{
    require(i < M_ROWS && j < M_COLS, "i < M_ROWS && j < M_COLS");
    return content[i * M_COLS + j];
}

float Matrix4D::get(unsigned i) const
{
    require(i < M_LENGTH, "i < M_LENGTH");
    return content[i];
}

float& Matrix4D::operator[](unsigned pos) { return content[pos]; }
const float& Matrix4D::operator[](unsigned pos) const { return content[pos]; }

Matrix4D Matrix4D::operator+(const Matrix4D& other) const
{
    Matrix4D r(*this);
    r += other;
    return r;
}

Matrix4D Matrix4D::operator-(const Matrix4D& other) const
{
    Matrix4D r(*this);
    r -= other;
    return r;
}

Matrix4D& Matrix4D::operator+=(const Matrix4D& other)
{
    for (unsigned i = 0; i < M_LENGTH; ++i)
        content[i] += other.content[i];
    return *this;
}

Matrix4D& Matrix4D::operator-=(const Matrix4D& other)
{
    for (unsigned i = 0; i < M_LENGTH; ++i)
        content[i] -= other.content[i];
    return *this;
}

Matrix4D Matrix4D::operator*(const Matrix4D& other) const
{
    // Row by row: each element still sums its four products from 0 in the
    // order k = 0..3, so the result is the same as element by element.
    Matrix4D r;
    const float* b = other.content;
    for (unsigned i = 0; i < M_ROWS; ++i) {
        const float* a = content + i * M_COLS;
        float row[M_COLS] = {0, 0, 0, 0};
        for (unsigned k = 0; k < M_COLS; ++k)
            for (unsigned j = 0; j < M_COLS; ++j)
                row[j] += a[k] * b[k * M_COLS + j];
        for (unsigned j = 0; j < M_COLS; ++j)
            r.content[i * M_COLS + j] = row[j];
    }
    return r;
}

Vector3f Matrix4D::operator*(const Vector3f& v) const
{
    const float* c = content;
    return Vector3f(c[0] * v.x + c[1] * v.y + c[2] * v.z + c[3],
                    c[4] * v.x + c[5] * v.y + c[6] * v.z + c[7],
                    c[8] * v.x + c[9] * v.y + c[10] * v.z + c[11]);
}

bool Matrix4D::operator==(const Matrix4D& other) const
{
    for (unsigned i = 0; i < M_LENGTH; ++i)
        if (content[i] != other.content[i])
            return false;
    return true;
}

Vector3f Matrix4D::toVector3f() const
{
    return Vector3f(get(0, 3), get(1, 3), get(2, 3));
}

Matrix4D Matrix4D::transpose() const
{
    Matrix4D r;
    for (unsigned i = 0; i < M_ROWS; ++i)
        for (unsigned j = 0; j < M_COLS; ++j)
            r.content[j * M_COLS + i] = content[i * M_COLS + j];
    return r;
}

Matrix4D Matrix4D::rotationX(AngleDeg angle)
{
    float c = Cos(angle), s = Sin(angle);
    const float a[M_LENGTH] = {1, 0, 0, 0,
                               0, c, -s, 0,
                               0, s, c, 0,
                               0, 0, 0, 1};
    return Matrix4D(a);
}

Matrix4D Matrix4D::rotationY(AngleDeg angle)
{
    float c = Cos(angle), s = Sin(angle);
    const float a[M_LENGTH] = {c, 0, s, 0,
                               0, 1, 0, 0,
                               -s, 0, c, 0,
                               0, 0, 0, 1};
    return Matrix4D(a);
}

Matrix4D Matrix4D::rotationZ(AngleDeg angle)
{
    float c = Cos(angle), s = Sin(angle);
    const float a[M_LENGTH] = {c, -s, 0, 0,
                               s, c, 0, 0,
                               0, 0, 1, 0,
                               0, 0, 0, 1};
    return Matrix4D(a);
}

Matrix4D Matrix4D::rotation(const Vector3f& axis, AngleDeg angle)
{
    float c = Cos(angle), s = Sin(angle), t = 1 - c;
    float x = axis.x, y = axis.y, z = axis.z;
    const float a[M_LENGTH] = {t * x * x + c, t * x * y - s * z, t * x * z + s * y, 0,
                               t * x * y + s * z, t * y * y + c, t * y * z - s * x, 0,
                               t * x * z - s * y, t * y * z + s * x, t * z * z + c, 0,
                               0, 0, 0, 1};
    return Matrix4D(a);
}

Matrix4D Matrix4D::translation(float x, float y, float z)
{
    return Matrix4D(Vector3f(x, y, z));
}

Matrix4D Matrix4D::translation(const Vector3f& v) { return Matrix4D(v); }

void Matrix4D::print() const { std::cout << *this; }

std::ostream& operator<<(std::ostream& os, const Matrix4D& m)
{
    for (unsigned i = 0; i < Matrix4D::M_ROWS; ++i) {
        for (unsigned j = 0; j < Matrix4D::M_COLS; ++j)
            os << m.content[i * Matrix4D::M_COLS + j] << "\t";
        os << "\n";
    }
    return os;
}
