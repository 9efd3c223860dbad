#ifndef PHYSICS_INVERSEKINEMATICS_H
#define PHYSICS_INVERSEKINEMATICS_H

#include <vector>

#include "geometry/HomogMatrix.h"

// Closed-form leg inverse kinematics.
class InverseKinematics {
public:
    static const float naoUpperLegPattern;
    static const float naoLowerLegPattern;
    static const float naoThighRelHip2_ZStandard;
    static const float naoAnkleRelShank_ZStandard;
    static const float legLength;

    // Fills joints with the six leg angles in degrees (hip yaw-pitch, hip
    // roll, hip pitch, knee, ankle pitch, ankle roll) that put the foot at
    // position, given in the leg base frame. Returns whether the pose is
    // reachable; an unreachable pose gives the nearest stretched or folded
    // solution. The angles are always finite.
    static bool calcLegJoints(const HomogMatrix& position, std::vector<float>& joints, bool left);
};

#endif
