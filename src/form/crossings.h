#ifndef RCSC_GEOM_CROSSINGS_H
#define RCSC_GEOM_CROSSINGS_H

#include "form/vector_2d.h"

namespace rcsc {
namespace detail {

// Angle tolerance (degrees) of a ray's direction test.
constexpr double RAY_DIR_THR = 1.0;

// Writes the first n found points out, each where a place is given.
inline void writeSolutions(const int n, const Vector2D* found, Vector2D* sol1, Vector2D* sol2)
{
    if (n >= 1 && sol1) {
        *sol1 = found[0];
    }
    if (n == 2 && sol2) {
        *sol2 = found[1];
    }
}

// Of the n crossings of a shape with a line, keeps those that `keep` accepts
// (the ones on a ray or segment of that line), in order, and writes them out.
template <class Keep>
int keepCrossings(int n, Vector2D found[2], Keep keep, Vector2D* sol1, Vector2D* sol2)
{
    if (n == 2 && !keep(found[1])) {
        n = 1;
    }
    if (n > 0 && !keep(found[0])) {
        found[0] = found[1];
        --n;
    }
    writeSolutions(n, found, sol1, sol2);
    return n;
}

}  // namespace detail
}  // namespace rcsc

#endif
