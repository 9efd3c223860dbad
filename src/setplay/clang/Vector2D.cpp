#include "setplay/clang/Vector2D.h"

#include <cmath>

namespace rcss {
namespace geom {

Vector2D operator-(const Vector2D& a, const Vector2D& b) {
    return Vector2D(a.M_data[Vector2D::X] - b.M_data[Vector2D::X], a.M_data[Vector2D::Y] - b.M_data[Vector2D::Y]);
}

double angle(const Vector2D& a, const Vector2D& b) {
    const double pi = 3.141592653589793;
    const double twoPi = 6.283185307179586;
    double d = std::atan2(b.getY(), b.getX()) - std::atan2(a.getY(), a.getX());
    for (;;) {
        while (d < -pi) d += twoPi;
        if (d > pi) {
            d -= twoPi;
            continue;
        }
        return d;
    }
}

}  // namespace geom
}  // namespace rcss
