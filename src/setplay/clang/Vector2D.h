#ifndef RCSS_GEOM_VECTOR2D_H
#define RCSS_GEOM_VECTOR2D_H

namespace rcss {
namespace geom {

class Vector2D {
public:
    enum index { X = 0, Y = 1, DIM = 2 };
    Vector2D(double x = 0.0, double y = 0.0) : M_data{x, y} {}
    double getX() const { return M_data[X]; }
    double getY() const { return M_data[Y]; }
    double M_data[DIM];
};

Vector2D operator-(const Vector2D& a, const Vector2D& b);

// Signed angle in radians from direction a to direction b, in [-pi, pi].
double angle(const Vector2D& a, const Vector2D& b);

}  // namespace geom
}  // namespace rcss

#endif
