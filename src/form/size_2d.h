#ifndef RCSC_FORM_SIZE_2D_H
#define RCSC_FORM_SIZE_2D_H

namespace rcsc {

// Extent along x (length) and along y (width); never negative.
class Size2D {
private:
    double M_length;
    double M_width;

public:
    Size2D(const double length, const double width)
        : M_length(length < 0.0 ? -length : length),
          M_width(width < 0.0 ? -width : width)
    {
    }

    double length() const { return M_length; }
    double width() const { return M_width; }
};

}  // namespace rcsc

#endif
