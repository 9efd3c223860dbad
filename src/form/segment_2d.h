#ifndef RCSC_FORM_SEGMENT_2D_H
#define RCSC_FORM_SEGMENT_2D_H

#include "form/line_2d.h"
#include "form/vector_2d.h"

namespace rcsc {

// Line segment between two end points.
class Segment2D {
private:
    Vector2D M_a;
    Vector2D M_b;

public:
    Segment2D(const Vector2D& a, const Vector2D& b)
        : M_a(a), M_b(b)
    {
    }

    const Vector2D& a() const { return M_a; }
    const Vector2D& b() const { return M_b; }
    Line2D line() const { return Line2D(M_a, M_b); }
    double length() const { return M_a.dist(M_b); }

    // Tolerant bounding-box test.
    bool contains(const Vector2D& p) const;

    Vector2D intersection(const Line2D& l) const;
    Vector2D intersection(const Segment2D& other) const;

    // For a point known to lie on the line of this segment.
    bool checkIntersectsOnLine(const Vector2D& p) const;

    bool existIntersectionExceptEndpoint(const Segment2D& other) const;
    bool existIntersection(const Segment2D& other) const;

    bool onSegment(const Vector2D& p) const;
    Vector2D nearestPoint(const Vector2D& p) const;

    double dist(const Vector2D& p) const;
    double dist(const Segment2D& seg) const;
    double farthestDist(const Vector2D& p) const;
};

}  // namespace rcsc

#endif
