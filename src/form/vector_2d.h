#ifndef RCSC_FORM_VECTOR_2D_H
#define RCSC_FORM_VECTOR_2D_H

#include "form/angle_deg.h"

#include <limits>
#include <ostream>

namespace rcsc {

// Planar vector of doubles.
class Vector2D {
public:
    static constexpr double ERROR_VALUE = std::numeric_limits<double>::max();
    // Marks "no result".
    static const Vector2D INVALIDATED;

    double x;
    double y;

    constexpr Vector2D()
        : x(0.0), y(0.0)
    {
    }

    constexpr Vector2D(const double xx, const double yy)
        : x(xx), y(yy)
    {
    }

    const Vector2D& assign(const double xx, const double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }

    bool valid() const { return x != ERROR_VALUE && y != ERROR_VALUE; }

    double r2() const { return x * x + y * y; }
    double r() const;
    AngleDeg th() const { return AngleDeg(AngleDeg::atan2_deg(y, x)); }

    double dist2(const Vector2D& p) const
    {
        const double dx = x - p.x;
        const double dy = y - p.y;
        return dx * dx + dy * dy;
    }
    double dist(const Vector2D& p) const;

    double innerProduct(const Vector2D& v) const { return x * v.x + y * v.y; }
    double outerProduct(const Vector2D& v) const { return x * v.y - y * v.x; }

    const Vector2D& operator+=(const Vector2D& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    const Vector2D& operator-=(const Vector2D& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    const Vector2D& operator*=(const double s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    // Division by exactly 0 leaves the vector unchanged.
    const Vector2D& operator/=(const double s)
    {
        if (s != 0.0) {
            x /= s;
            y /= s;
        }
        return *this;
    }

    bool operator==(const Vector2D& v) const { return x == v.x && y == v.y; }

    std::ostream& print(std::ostream& os) const;
};

inline Vector2D operator+(const Vector2D& lhs, const Vector2D& rhs) { return Vector2D(lhs) += rhs; }
inline Vector2D operator-(const Vector2D& lhs, const Vector2D& rhs) { return Vector2D(lhs) -= rhs; }
inline Vector2D operator*(const Vector2D& lhs, const double s) { return Vector2D(lhs) *= s; }
inline Vector2D operator/(const Vector2D& lhs, const double s) { return Vector2D(lhs) /= s; }

inline std::ostream& operator<<(std::ostream& os, const Vector2D& v) { return v.print(os); }

}  // namespace rcsc

#endif
