#ifndef WORLD_LOCALIZERGEOMETRY_H
#define WORLD_LOCALIZERGEOMETRY_H

#include "geometry/Vector3f.h"

class LandMark;

// Landmark searches and axis constructions shared by the localizers and the
// world state's older routines. Camera coordinates: x forward, y left, z up.
// The field frame is the stored landmark frame mirrored in y.
namespace locgeom {

// Height of the ball's centre and the assumed head height of a standing robot.
constexpr double BALL_HEIGHT = 0.042;
constexpr double HEAD_HEIGHT = 0.52;

// The camera-frame point of a landmark's polar reading.
Vector3f cart(const LandMark* lm);
// A landmark's stored position with y negated.
Vector3f mirrored(const LandMark* lm);
bool isFinite(const Vector3f& v);
Vector3f flipY(const Vector3f& v);

// x line: equal stored y and z, different x (one side line);
// y line: equal stored x and z, different y (one end).
enum LineKind { X_LINE, Y_LINE };

struct LandmarkLine {
    LandMark* first = nullptr;
    LandMark* second = nullptr;
    // A further seen landmark: the last one without a partner before the
    // pair, else the first seen after the pair's first member.
    LandMark* third = nullptr;

    bool found() const { return first != nullptr && second != nullptr; }
    // x line: the member with the smaller stored x; y line: the larger y.
    LandMark* reference(LineKind kind) const;
    // Unit field axis seen from the head: increasing x, or decreasing
    // stored y (the field frame's y).
    Vector3f axis(LineKind kind) const;
};

// Searches the eight landmarks in index order; only seen ones count.
LandmarkLine findLine(LandMark* const landmarks[8], LineKind kind);

// First pair of seen landmarks with equal stored x, in index order.
bool findSameEndPair(LandMark* const landmarks[8], LandMark*& first, LandMark*& second);

// Axes from a line and a point of known height (camera coordinates): the
// plane through both, tilted back to the vertical.
void axesFromLineAndPoint(const LandmarkLine& line, LineKind kind, const Vector3f& point,
                          double height, Vector3f& xx, Vector3f& yy, Vector3f& zz);

// Axes from two landmarks of one end and a point of known height. ref is
// the member farther from the long axis; frontEnd tells which end they are
// at (the point lies on the field side of it). simplified takes the offsets
// without the height corrections and the triangle fallback.
// fieldRows, when given, receives the rows of the field-side frame.
void axesFromTwoLandmarks(const LandMark* ref, const LandMark* other, bool frontEnd,
                          const Vector3f& point, double height, bool simplified, Vector3f& xx,
                          Vector3f& yy, Vector3f& zz, Vector3f* fieldRows = nullptr);

} // namespace locgeom

#endif
