#ifndef PHYSICS_LEGPOSE_H
#define PHYSICS_LEGPOSE_H

#include <vector>

#include "geometry/Vector3f.h"

// What the foot-pose engines share: the leg angles for a foot pose in the
// robot's joint signs, and the proportional joint-speed law.
class LegPose {
public:
    // Largest speed command of the foot-pose engines.
    static constexpr double MAX_SPEED = 16.1395447;

    // Six angles in degrees (hip yaw-pitch, hip roll, hip pitch, knee, ankle
    // pitch, ankle roll) that put the foot of the leg (1 left, other right)
    // at pos in the leg base frame, turned by ori = (pitch, roll, yaw) in
    // radians, applied as Ry(pitch) Rx(roll) Rz(yaw), in the joint signs of
    // legSolverToJoints. Always six finite numbers.
    static std::vector<float> joints(int foot, const Vector3f& pos, const Vector3f& ori);

    // (setpoint - current) / (200 * timeStep) limited to +-limit; a time
    // step that is not a positive number counts as 0.02 s, a limit that is
    // not a number as MAX_SPEED, and a command that cannot be computed is 0.
    static double speed(double current, double setpoint, double timeStep, double limit = MAX_SPEED);
};

#endif
