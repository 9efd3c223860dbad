#ifndef RCSC_FORM_LINE_2D_H
#define RCSC_FORM_LINE_2D_H

#include "form/angle_deg.h"
#include "form/vector_2d.h"

#include <limits>

namespace rcsc {

// The line a*x + b*y + c = 0 (coefficients not normalised).
class Line2D {
public:
    static constexpr double EPSILON_ = 1.0e-5;
    static constexpr double ERROR_VALUE = std::numeric_limits<double>::max();

private:
    double M_a;
    double M_b;
    double M_c;

public:
    Line2D(const double a, const double b, const double c)
        : M_a(a), M_b(b), M_c(c)
    {
    }

    Line2D(const Vector2D& origin, const AngleDeg& linedir) { assign(origin, linedir); }
    Line2D(const Vector2D& p1, const Vector2D& p2) { assign(p1, p2); }

    const Line2D& assign(const Vector2D& origin, const AngleDeg& linedir);
    const Line2D& assign(const Vector2D& p1, const Vector2D& p2);

    double a() const { return M_a; }
    double b() const { return M_b; }
    double c() const { return M_c; }

    // Crossing point; INVALIDATED for parallel lines.
    Vector2D intersection(const Line2D& line) const { return intersection(*this, line); }
    static Vector2D intersection(const Line2D& line1, const Line2D& line2);

    static Line2D perpendicular_bisector(const Vector2D& p1, const Vector2D& p2);

    // The line through p at right angles to this one.
    Line2D perpendicular(const Vector2D& p) const;
};

}  // namespace rcsc

#endif
