#ifndef RCSC_FORM_REGION_2D_H
#define RCSC_FORM_REGION_2D_H

#include "form/vector_2d.h"

namespace rcsc {

// Abstract planar region.
class Region2D {
public:
    virtual ~Region2D() = default;
    virtual double area() const = 0;
    virtual bool contains(const Vector2D& p) const = 0;

protected:
    Region2D() = default;
    Region2D(const Region2D&) = default;
    Region2D& operator=(const Region2D&) = default;
};

}  // namespace rcsc

#endif
