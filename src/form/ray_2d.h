#ifndef RCSC_FORM_RAY_2D_H
#define RCSC_FORM_RAY_2D_H

#include "form/angle_deg.h"
#include "form/line_2d.h"
#include "form/vector_2d.h"

namespace rcsc {

// Half-line from an origin in a direction.
class Ray2D {
private:
    Vector2D M_origin;
    AngleDeg M_direction;

public:
    Ray2D(const Vector2D& origin, const AngleDeg& direction)
        : M_origin(origin), M_direction(direction)
    {
    }

    const Vector2D& origin() const { return M_origin; }
    const AngleDeg& dir() const { return M_direction; }
    Line2D line() const { return Line2D(M_origin, M_direction); }

    // True when p lies within thr degrees (strictly) of the ray's direction.
    bool inRightDir(const Vector2D& p, const double thr) const;

    Vector2D intersection(const Line2D& other) const;
    Vector2D intersection(const Ray2D& other) const;
};

}  // namespace rcsc

#endif
