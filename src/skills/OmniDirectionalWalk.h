#ifndef SKILLS_OMNIDIRECTIONALWALK_H
#define SKILLS_OMNIDIRECTIONALWALK_H

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"
#include "skills/Behavior.h"

// Omnidirectional gait in closed form from one phase variable, the trunk
// phase: from the commanded motion (sideways, forward, turning) and a few
// shape parameters each leg gets its six joint angles, handed to the joint
// servo as position targets.
class OmniDirectionalWalk : public Behavior {
public:
    enum LegSide { lsLeft = -1, lsRight = 1 };

    // When set the arms are left alone.
    bool gyro = false;
    // x sideways, y forward, z turning (gait amplitudes).
    Vector3f aRobot;
    // Trunk-phase increment per executed cycle, radians; set by setOdwParameters.
    float step = 0;
    float trunkPhaseInit = 0;
    float trunkPhase = 0;
    float vShort = 3;
    float oShort = -0.05f;
    float vLoad = 3;
    float vSwing = 2;
    float oSwing = -0.15f;
    float nuMin = 0.775f;
    int countSteps = 0;
    int initWaitSteps = 0;

    OmniDirectionalWalk();
    ~OmniDirectionalWalk() override {}

    void setOdwParameters(Vector3f aRobot, float step, bool gyro);
    void setVShort(float v) { vShort = v; }
    void setOShort(float v) { oShort = v; }
    void setVLoad(float v) { vLoad = v; }
    void setVSwing(float v) { vSwing = v; }
    void setOSwing(float v) { oSwing = v; }
    void setNuMin(float v) { nuMin = v; }

    void init() override;
    void execute() override;
    // One full gait cycle since init.
    bool finished() override;

    // Leg yaw, hip roll, hip pitch, knee, ankle pitch, ankle roll (degrees)
    // of one leg at the current trunk phase.
    void getLegCurrentAngles(LegSide ls, float* leg);
};

// Length of v.
float norm(Vector v);
// Magnitude of v.
float norm(float v);
// (x cos a + y sin a, -x sin a + y cos a), a in radians.
Vector rotate(Vector v, float a);
// (x cos a - y sin a, x sin a + y cos a), a in radians.
Vector invrotate(Vector v, float a);

#endif
