#ifndef SKILLS_WALKTO_H
#define SKILLS_WALKTO_H

#include "geometry/Geometry.h"
#include "skills/Behavior.h"

class CPGBehavior;

// Walks towards a point (by default the ball) by steering the pattern walk
// of "movs/test/Walk.xml": each cycle it hands the walk an amplitude and a
// steering angle through the walk's named variables and lets it execute,
// restarting it after every gait cycle. Near the target it brakes along a
// sigmoid. Steered by its own variables "PosX", "PosY", "BrakeDistance",
// "DivFactor", "StartSpeed" and "TargetSpeed".
class WalkTo : public Behavior {
public:
    enum SteerMaster { sm_Target = 0, sm_Ray = 1 };

    // The pattern walk, owned; null when the file holds no pattern walk.
    CPGBehavior* walk;
    // Gait cycles completed since init.
    int curStep;
    // Grows while the agent stays within the braking distance.
    float brake_fact;
    SteerMaster steerMaster;
    Ray ray;

    WalkTo();
    ~WalkTo() override;
    WalkTo(const WalkTo&) = delete;
    WalkTo& operator=(const WalkTo&) = delete;

    void init() override;
    void execute() override;
    bool finished() override;
    // Walks along r (from one metre back) until the next init.
    void setRay(Ray r);
};

#endif
