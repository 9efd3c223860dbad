#include "form/vector_2d.h"

#include <cmath>

namespace rcsc {

// Constant-initialised: valid before any other start-up code runs.
const Vector2D Vector2D::INVALIDATED(Vector2D::ERROR_VALUE, Vector2D::ERROR_VALUE);

double Vector2D::r() const { return std::sqrt(r2()); }

double Vector2D::dist(const Vector2D& p) const { return std::sqrt(dist2(p)); }

std::ostream& Vector2D::print(std::ostream& os) const
{
    os << "(" << x << ", " << y << ")";
    return os;
}

}  // namespace rcsc
