#include "form/segment_2d.h"

#include <algorithm>
#include <cmath>

namespace rcsc {

namespace {

constexpr double CONTAINS_EPS = 1.0e-5;

// Twice the signed area of (a, b, c); positive when counter-clockwise.
double signedArea2(const Vector2D& a, const Vector2D& b, const Vector2D& c)
{
    return (a.x - c.x) * (b.y - c.y) - (a.y - c.y) * (b.x - c.x);
}

}  // namespace

bool Segment2D::contains(const Vector2D& p) const
{
    return (p.x - M_a.x) * (p.x - M_b.x) <= CONTAINS_EPS
        && (p.y - M_a.y) * (p.y - M_b.y) <= CONTAINS_EPS;
}

Vector2D Segment2D::intersection(const Line2D& l) const
{
    const Vector2D tmp = line().intersection(l);
    if (!tmp.valid() || !contains(tmp)) {
        return Vector2D::INVALIDATED;
    }
    return tmp;
}

Vector2D Segment2D::intersection(const Segment2D& other) const
{
    const Vector2D tmp = line().intersection(other.line());
    if (!tmp.valid() || !contains(tmp) || !other.contains(tmp)) {
        return Vector2D::INVALIDATED;
    }
    return tmp;
}

bool Segment2D::checkIntersectsOnLine(const Vector2D& p) const
{
    if (M_a.x != M_b.x) {
        return (M_a.x <= p.x && p.x <= M_b.x) || (M_b.x <= p.x && p.x <= M_a.x);
    }
    return (M_a.y <= p.y && p.y <= M_b.y) || (M_b.y <= p.y && p.y <= M_a.y);
}

bool Segment2D::existIntersectionExceptEndpoint(const Segment2D& other) const
{
    return signedArea2(M_a, M_b, other.a()) * signedArea2(M_a, M_b, other.b()) < 0.0
        && signedArea2(other.a(), other.b(), M_a) * signedArea2(other.a(), other.b(), M_b) < 0.0;
}

bool Segment2D::existIntersection(const Segment2D& other) const
{
    const double a0 = signedArea2(M_a, M_b, other.a());
    const double a1 = signedArea2(M_a, M_b, other.b());
    const double b0 = signedArea2(other.a(), other.b(), M_a);
    const double b1 = signedArea2(other.a(), other.b(), M_b);

    if (a0 * a1 < 0.0 && b0 * b1 < 0.0) {
        return true;
    }

    if (M_a == M_b) {
        if (other.a() == other.b()) {
            return M_a == other.a();
        }
        return b0 == 0.0 && other.checkIntersectsOnLine(M_a);
    }
    if (other.a() == other.b()) {
        return a0 == 0.0 && checkIntersectsOnLine(other.a());
    }

    if ((a0 == 0.0 && checkIntersectsOnLine(other.a()))
        || (a1 == 0.0 && checkIntersectsOnLine(other.b()))
        || (b0 == 0.0 && other.checkIntersectsOnLine(M_a))
        || (b1 == 0.0 && other.checkIntersectsOnLine(M_b))) {
        return true;
    }
    return false;
}

bool Segment2D::onSegment(const Vector2D& p) const
{
    return signedArea2(M_a, M_b, p) == 0.0 && checkIntersectsOnLine(p);
}

Vector2D Segment2D::nearestPoint(const Vector2D& p) const
{
    const Vector2D vec = M_b - M_a;
    const double len2 = vec.r2();
    if (len2 == 0.0) {
        return M_a;
    }
    const double t = vec.innerProduct(p - M_a);
    if (t <= 0.0) {
        return M_a;
    }
    if (t >= len2) {
        return M_b;
    }
    return M_a + vec * (t / len2);
}

double Segment2D::dist(const Vector2D& p) const
{
    const double len = length();
    if (len == 0.0) {
        return (p - M_a).r();
    }
    const Vector2D vec = M_b - M_a;
    const double prod = vec.innerProduct(p - M_a);
    if (0.0 <= prod && prod <= len * len) {
        return std::fabs(signedArea2(M_a, M_b, p)) / len;
    }
    return std::min((p - M_b).r(), (p - M_a).r());
}

double Segment2D::dist(const Segment2D& seg) const
{
    if (existIntersection(seg)) {
        return 0.0;
    }
    return std::min(std::min(dist(seg.a()), dist(seg.b())),
                    std::min(seg.dist(M_a), seg.dist(M_b)));
}

double Segment2D::farthestDist(const Vector2D& p) const
{
    return std::max((M_b - p).r(), (M_a - p).r());
}

}  // namespace rcsc
