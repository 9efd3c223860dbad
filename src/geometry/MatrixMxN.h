#ifndef GEOMETRY_MATRIXMXN_H
#define GEOMETRY_MATRIXMXN_H

#include <iosfwd>

// Float matrix of dx rows by dy columns on the heap; copies are deep.
// Sizes are not checked: callers keep operands compatible.
class MatrixMxN {
public:
    int dx;
    int dy;
    float** pData;

    void AllocArrays();

    MatrixMxN(int sizeX, int sizeY);
    MatrixMxN(const MatrixMxN& other);
    ~MatrixMxN();

    MatrixMxN& operator=(const MatrixMxN& other);

    MatrixMxN operator+(const MatrixMxN& other) const;
    MatrixMxN operator-(const MatrixMxN& other) const;
    MatrixMxN& operator+=(const MatrixMxN& other);
    MatrixMxN& operator-=(const MatrixMxN& other);
    MatrixMxN& operator*=(const MatrixMxN& other);

    float& Get(int x, int y);
    const float& Get(int x, int y) const;

    static MatrixMxN Zeros(int x, int y);
    static MatrixMxN Ones(int x, int y);
    static MatrixMxN Identity(int x);
    static MatrixMxN Transpose(const MatrixMxN& m);

private:
    void FreeArrays();
};

MatrixMxN operator*(const MatrixMxN& m1, const MatrixMxN& m2);
MatrixMxN operator*(float c, const MatrixMxN& m);
MatrixMxN operator*(const MatrixMxN& m, float c);
std::ostream& operator<<(std::ostream& os, const MatrixMxN& m);

#endif
