#ifndef PLANNING_FOOTSTEP_H
#define PLANNING_FOOTSTEP_H

#include <utility>

#include "geometry/Vector3f.h"

// One planned foot placement of the footstep walk, in the walk's frame (m,
// x ahead, y left). foot names the foot placed, which then supports the
// body: 0 right, 1 left, 4 both (a double-support phase whose position is
// the pelvis point between the feet).
class Footstep {
public:
    static constexpr int RIGHT = 0;
    static constexpr int LEFT = 1;
    static constexpr int DOUBLE = 4;

    Vector3f position;
    // second: the placed foot's yaw in radians; first: unused, 0.
    std::pair<float, float> orientation;
    float duration;
    // Share of duration spent in double support.
    float dblSuppPerc;
    int foot;

    Footstep();
    Footstep(Vector3f pos, std::pair<float, float> ori, float dur, int footsupp);
    Footstep(const Footstep& other) = default;
    Footstep& operator=(const Footstep& other) = default;
    virtual ~Footstep() {}

    void Set(Vector3f pos, std::pair<float, float> ori, float dur, int footsupp);

    // Identity, not equal fields: the walk asks whether an entry is the
    // last one of its queue.
    bool operator==(const Footstep& other) const { return this == &other; }
    bool operator!=(const Footstep& other) const { return this != &other; }

    // End of the first and start of the second double-support phase (s).
    float GetDblSupportT1() const;
    float GetDblSupportT2() const;
    // 4 in either double-support phase, else foot.
    int GetSupportFoot(float t) const;
    // 2 before, 3 during and 4 after the single-support phase.
    int GetSupportPhase(float t) const;
};

#endif
