#include "form/ray_2d.h"

namespace rcsc {

namespace {
constexpr double INTERSECTION_DIR_THR = 10.0;
}

bool Ray2D::inRightDir(const Vector2D& p, const double thr) const
{
    return ((p - M_origin).th() - M_direction).abs() < thr;
}

Vector2D Ray2D::intersection(const Line2D& other) const
{
    const Vector2D tmp = line().intersection(other);
    if (!tmp.valid() || !inRightDir(tmp, INTERSECTION_DIR_THR)) {
        return Vector2D::INVALIDATED;
    }
    return tmp;
}

Vector2D Ray2D::intersection(const Ray2D& other) const
{
    const Vector2D tmp = line().intersection(other.line());
    if (!tmp.valid() || !inRightDir(tmp, INTERSECTION_DIR_THR)
        || !other.inRightDir(tmp, INTERSECTION_DIR_THR)) {
        return Vector2D::INVALIDATED;
    }
    return tmp;
}

}  // namespace rcsc
