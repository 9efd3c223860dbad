#include "form/triangle_2d.h"

#include "form/crossings.h"

#include <cmath>

namespace rcsc {

using detail::RAY_DIR_THR;
using detail::writeSolutions;

namespace {

constexpr double SAME_POINT_EPS = 1.0e-5;

}  // namespace

double Triangle2D::signedArea2() const
{
    return (M_a.x - M_c.x) * (M_b.y - M_c.y) - (M_a.y - M_c.y) * (M_b.x - M_c.x);
}

double Triangle2D::area() const
{
    return std::fabs((M_b - M_a).outerProduct(M_c - M_a)) * 0.5;
}

bool Triangle2D::contains(const Vector2D& p) const
{
    const Vector2D ra = M_a - p;
    const Vector2D rb = M_b - p;
    const Vector2D rc = M_c - p;
    const double ab = ra.outerProduct(rb);
    const double bc = rb.outerProduct(rc);
    const double ca = rc.outerProduct(ra);
    return (ab >= 0.0 && bc >= 0.0 && ca >= 0.0) || (ab <= 0.0 && bc <= 0.0 && ca <= 0.0);
}

Vector2D Triangle2D::circumcenter(const Vector2D& a, const Vector2D& b, const Vector2D& c)
{
    return Line2D::perpendicular_bisector(a, b).intersection(Line2D::perpendicular_bisector(b, c));
}

Vector2D Triangle2D::incenter(const Vector2D& a, const Vector2D& b, const Vector2D& c)
{
    const Line2D line_a(a, AngleDeg::bisect((b - a).th(), (c - a).th()));
    const Line2D line_b(b, AngleDeg::bisect((a - b).th(), (c - b).th()));
    return line_a.intersection(line_b);
}

Vector2D Triangle2D::orthocenter(const Vector2D& a, const Vector2D& b, const Vector2D& c)
{
    return Line2D(b, c).perpendicular(a).intersection(Line2D(c, a).perpendicular(b));
}

int Triangle2D::intersection(const Line2D& line, Vector2D* sol1, Vector2D* sol2) const
{
    const Segment2D edges[3] = {Segment2D(M_a, M_b), Segment2D(M_b, M_c), Segment2D(M_c, M_a)};
    Vector2D found[2];
    int n = 0;
    for (const Segment2D& edge : edges) {
        if (n >= 2) {
            break;
        }
        const Vector2D p = edge.intersection(line);
        if (p.valid()) {
            found[n++] = p;
        }
    }
    // A line through a corner meets two edges at the same point.
    if (n == 2 && std::fabs(found[0].x - found[1].x) < SAME_POINT_EPS
        && std::fabs(found[0].y - found[1].y) < SAME_POINT_EPS) {
        n = 1;
    }
    writeSolutions(n, found, sol1, sol2);
    return n;
}

int Triangle2D::intersection(const Ray2D& ray, Vector2D* sol1, Vector2D* sol2) const
{
    Vector2D found[2];
    int n = intersection(ray.line(), &found[0], &found[1]);
    return detail::keepCrossings(
        n, found, [&](const Vector2D& p) { return ray.inRightDir(p, RAY_DIR_THR); }, sol1, sol2);
}

int Triangle2D::intersection(const Segment2D& segment, Vector2D* sol1, Vector2D* sol2) const
{
    Vector2D found[2];
    int n = intersection(segment.line(), &found[0], &found[1]);
    return detail::keepCrossings(
        n, found, [&](const Vector2D& p) { return segment.contains(p); }, sol1, sol2);
}

}  // namespace rcsc
