#ifndef WORLD_LOCALIZER_H
#define WORLD_LOCALIZER_H

#include <string>

#include "geometry/Matrix4D.h"
#include "geometry/Vector3f.h"

class LandMark;

// A self-localisation strategy: finds the field axes as seen from the head
// and from them the head's pose on the field. Positions are in the world
// state's field frame, the stored landmark frame mirrored in y.
class Localizer {
public:
    Vector3f position;
    Matrix4D locfieldToHeadTransf;
    Matrix4D locheadToFieldTransf;
    bool valid;
    float errInSeenFlags;
    float lastUpdateCTime;
    std::string name;
    LandMark* refLm1;
    LandMark* refLm2;
    Vector3f xx;
    Vector3f yy;
    Vector3f zz;

    Localizer();

    virtual float confidence() = 0;
    // Sets xx, yy, zz and the reference landmarks from this message's
    // observations; false when they do not allow it.
    virtual bool determineRefXXYYZZ() = 0;

    // One localisation attempt.
    void run();
    bool isValid() const;
    Vector3f estimatedPos() const;
    Matrix4D headToFieldTransf() const;
    Matrix4D fieldToHeadTransf() const;

    // Fit of a head position to this message's seen landmarks: the summed
    // squared position error, and the summed squared distance error.
    float errorInSeenFlags(Vector3f pos);
    float errorDistInSeenFlags(Vector3f pos);

protected:
    ~Localizer() {}

    // Axes from this message's seen landmark line (along x, else along y) and
    // a camera-frame point of known height; false without such a line.
    bool axesFromLine(bool alongX, const Vector3f& point, double height);
    // Axes from the two seen landmarks of one end and a camera-frame point of
    // known height; the reference is the one farther from the long axis.
    bool axesFromEndPair(const Vector3f& point, double height);

private:
    // Head position from one reference landmark: its mirrored field position
    // minus the camera reading turned into the field frame by transf.
    static Vector3f positionFrom(const LandMark& lm, const Matrix4D& transf);
};

#endif
