#ifndef RCSC_FORM_TRIANGLE_2D_H
#define RCSC_FORM_TRIANGLE_2D_H

#include "form/line_2d.h"
#include "form/ray_2d.h"
#include "form/region_2d.h"
#include "form/segment_2d.h"
#include "form/vector_2d.h"

namespace rcsc {

class Triangle2D : public Region2D {
private:
    Vector2D M_a;
    Vector2D M_b;
    Vector2D M_c;

public:
    Triangle2D(const Segment2D& seg, const Vector2D& c)
        : M_a(seg.a()), M_b(seg.b()), M_c(c)
    {
    }

    ~Triangle2D() override = default;
    Triangle2D(const Triangle2D&) = default;
    Triangle2D& operator=(const Triangle2D&) = default;

    const Vector2D& a() const { return M_a; }
    const Vector2D& b() const { return M_b; }
    const Vector2D& c() const { return M_c; }

    // Twice the signed area; positive when a, b, c run counter-clockwise.
    double signedArea2() const;
    double area() const override;
    // The border counts as inside.
    bool contains(const Vector2D& p) const override;

    // INVALIDATED for collinear corners.
    static Vector2D circumcenter(const Vector2D& a, const Vector2D& b, const Vector2D& c);
    static Vector2D incenter(const Vector2D& a, const Vector2D& b, const Vector2D& c);
    static Vector2D orthocenter(const Vector2D& a, const Vector2D& b, const Vector2D& c);

    int intersection(const Line2D& line, Vector2D* sol1, Vector2D* sol2) const;
    int intersection(const Ray2D& ray, Vector2D* sol1, Vector2D* sol2) const;
    int intersection(const Segment2D& segment, Vector2D* sol1, Vector2D* sol2) const;
};

}  // namespace rcsc

#endif
