#ifndef PLANNING_FREEWALKPLANNER_H
#define PLANNING_FREEWALKPLANNER_H

#include "planning/FootstepPlanner.h"

// Straight-ahead steps of fixed length and duration, alternating the feet,
// planned over a time horizon; it never finishes.
class FreeWalkPlanner : public FootstepPlanner {
public:
    explicit FreeWalkPlanner(OmniWalkPrevCtrl* pWlk);
    ~FreeWalkPlanner() override {}

    // Appends steps until the plan from the current footstep on lasts more
    // than the horizon. Ends on any queue: one that names no foot to step
    // next gets nothing.
    void Update() override;
    Vector3f GetZMP(float t, int initial) override;
    bool Finished() override;
    Vector3f GetLastSwing(float t) override;
    Vector3f GetSwingPosition(float t) override;
    float GetPeriod() override;

    float LinearInterpolation(float a, float b, float t, float tTotal);
};

#endif
