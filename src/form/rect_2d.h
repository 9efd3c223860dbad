#ifndef RCSC_FORM_RECT_2D_H
#define RCSC_FORM_RECT_2D_H

#include "form/line_2d.h"
#include "form/ray_2d.h"
#include "form/segment_2d.h"
#include "form/size_2d.h"
#include "form/vector_2d.h"

namespace rcsc {

// Axis-aligned rectangle; "top" is the edge with the smaller y.
class Rect2D {
private:
    Vector2D M_top_left;
    Size2D M_size;

public:
    Rect2D(const Vector2D& top_left, const Size2D& size)
        : M_top_left(top_left), M_size(size)
    {
    }

    // Any two opposite corners give the same rectangle.
    Rect2D(const Vector2D& top_left, const Vector2D& bottom_right);

    double left() const { return M_top_left.x; }
    double right() const { return M_top_left.x + M_size.length(); }
    double top() const { return M_top_left.y; }
    double bottom() const { return M_top_left.y + M_size.width(); }

    const Size2D& size() const { return M_size; }
    const Vector2D& topLeft() const { return M_top_left; }
    Vector2D center() const { return Vector2D((left() + right()) * 0.5, (top() + bottom()) * 0.5); }
    Vector2D topRight() const { return Vector2D(right(), top()); }
    Vector2D bottomLeft() const { return Vector2D(left(), bottom()); }
    Vector2D bottomRight() const { return Vector2D(right(), bottom()); }

    Line2D leftEdge() const { return Line2D(topLeft(), bottomLeft()); }
    Line2D rightEdge() const { return Line2D(topRight(), bottomRight()); }
    Line2D topEdge() const { return Line2D(topLeft(), topRight()); }
    Line2D bottomEdge() const { return Line2D(bottomLeft(), bottomRight()); }

    // Number of crossing points (0 to 2); a corner may be reported twice.
    int intersection(const Line2D& line, Vector2D* sol1, Vector2D* sol2) const;
    int intersection(const Ray2D& ray, Vector2D* sol1, Vector2D* sol2) const;
    int intersection(const Segment2D& segment, Vector2D* sol1, Vector2D* sol2) const;
};

}  // namespace rcsc

#endif
