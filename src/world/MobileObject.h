#ifndef WORLD_MOBILEOBJECT_H
#define WORLD_MOBILEOBJECT_H

#include <deque>

#include "geometry/Vector3f.h"
#include "world/WorldObject.h"

// An object that moves: keeps its previous positions and a least-squares
// smoothed track from which its planar velocity is derived.
class MobileObject : public WorldObject {
public:
    // Number of previous positions kept.
    static constexpr unsigned PREV_POSITIONS = 25;
    // Track length from which a velocity is derived.
    static constexpr unsigned TRACK_LENGTH = 75;

    Vector3f speed;
    float conf;
    unsigned int positionUpdateCycle;
    Vector3f prevRelPosition;
    // Newest at the front.
    std::deque<Vector3f> prevPosition;
    // Oldest at the front.
    std::deque<Vector3f> filtered;
    Vector3f velXY;
    float velocity;
    float errQuad;

    MobileObject();
    MobileObject(const MobileObject& other) = default;
    MobileObject& operator=(const MobileObject& other) = default;
    ~MobileObject() override {}

    // p is the position about to be replaced (the current one).
    void updatePrevPosition(Vector3f p);
    // The same without the velocity: only the previous positions are kept.
    void rememberPosition(Vector3f p);
    void calcVelocityWithMinQuad();
    // Least-squares line y = a + b * x: a in x, b in y of the result.
    Vector3f minQuad(double* x, double* y, int n);

    float getVelocity() const;
    Vector3f getVelXY() const;
    // Position extrapolated t seconds ahead.
    Vector3f estimedPos(float t) const;
};

#endif
