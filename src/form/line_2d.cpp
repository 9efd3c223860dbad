#include "form/line_2d.h"

#include <cmath>
#include <iostream>

namespace rcsc {

const Line2D& Line2D::assign(const Vector2D& origin, const AngleDeg& linedir)
{
    M_a = -linedir.sin();
    M_b = linedir.cos();
    M_c = -M_a * origin.x - M_b * origin.y;
    return *this;
}

const Line2D& Line2D::assign(const Vector2D& p1, const Vector2D& p2)
{
    M_a = -(p2.y - p1.y);
    M_b = p2.x - p1.x;
    M_c = (p2.y - p1.y) * p1.x - (p2.x - p1.x) * p1.y;
    return *this;
}

Vector2D Line2D::intersection(const Line2D& line1, const Line2D& line2)
{
    const double tmp = line1.a() * line2.b() - line1.b() * line2.a();
    if (std::fabs(tmp) < EPSILON_) {
        return Vector2D::INVALIDATED;
    }
    return Vector2D((line1.b() * line2.c() - line2.b() * line1.c()) / tmp,
                    (line2.a() * line1.c() - line1.a() * line2.c()) / tmp);
}

Line2D Line2D::perpendicular_bisector(const Vector2D& p1, const Vector2D& p2)
{
    if (std::fabs(p2.x - p1.x) < EPSILON_ && std::fabs(p2.y - p1.y) < EPSILON_) {
        std::cerr << "Line2D::perpendicular_bisector."
                  << " ***ERROR*** input points have same coordinate values " << p1 << p2
                  << std::endl;
    }
    const double tmp = (p2.x * p2.x - p1.x * p1.x + p2.y * p2.y - p1.y * p1.y) * -0.5;
    return Line2D(p2.x - p1.x, p2.y - p1.y, tmp);
}

Line2D Line2D::perpendicular(const Vector2D& p) const
{
    return Line2D(M_b, -M_a, M_a * p.y - M_b * p.x);
}

}  // namespace rcsc
