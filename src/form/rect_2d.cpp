#include "form/rect_2d.h"

#include "form/crossings.h"

namespace rcsc {

using detail::RAY_DIR_THR;
using detail::writeSolutions;

Rect2D::Rect2D(const Vector2D& top_left, const Vector2D& bottom_right)
    : M_top_left(top_left),
      M_size(bottom_right.x - top_left.x, bottom_right.y - top_left.y)
{
    if (bottom_right.x - top_left.x < 0.0) {
        M_top_left.x = bottom_right.x;
    }
    if (bottom_right.y - top_left.y < 0.0) {
        M_top_left.y = bottom_right.y;
    }
}

int Rect2D::intersection(const Line2D& line, Vector2D* sol1, Vector2D* sol2) const
{
    Vector2D found[2];
    int n = 0;

    const double l = left();
    const double r = right();
    const double t = top();
    const double b = bottom();

    const Line2D vertical[2] = {leftEdge(), rightEdge()};
    for (const Line2D& edge : vertical) {
        if (n >= 2) {
            break;
        }
        const Vector2D p = edge.intersection(line);
        if (p.valid() && t <= p.y && p.y <= b) {
            found[n++] = p;
        }
    }
    const Line2D horizontal[2] = {topEdge(), bottomEdge()};
    for (const Line2D& edge : horizontal) {
        if (n >= 2) {
            break;
        }
        const Vector2D p = edge.intersection(line);
        if (p.valid() && l <= p.x && p.x <= r) {
            found[n++] = p;
        }
    }

    writeSolutions(n, found, sol1, sol2);
    return n;
}

int Rect2D::intersection(const Ray2D& ray, Vector2D* sol1, Vector2D* sol2) const
{
    Vector2D found[2];
    int n = intersection(ray.line(), &found[0], &found[1]);
    return detail::keepCrossings(
        n, found, [&](const Vector2D& p) { return ray.inRightDir(p, RAY_DIR_THR); }, sol1, sol2);
}

int Rect2D::intersection(const Segment2D& segment, Vector2D* sol1, Vector2D* sol2) const
{
    Vector2D found[2];
    int n = intersection(segment.line(), &found[0], &found[1]);
    return detail::keepCrossings(
        n, found, [&](const Vector2D& p) { return segment.contains(p); }, sol1, sol2);
}

}  // namespace rcsc
