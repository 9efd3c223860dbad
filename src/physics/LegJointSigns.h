#ifndef PHYSICS_LEGJOINTSIGNS_H
#define PHYSICS_LEGJOINTSIGNS_H

#include <vector>

// The leg solver's six angles (hip yaw-pitch, hip roll, hip pitch, knee,
// ankle pitch, ankle roll) turned into the robot's joint angles: hip pitch,
// knee and ankle pitch turn the other way on both legs; on the left leg so
// do both rolls.
inline void legSolverToJoints(std::vector<float>& angles, bool left) {
    static const float sign[2][6] = {{1, 1, -1, -1, -1, 1}, {1, -1, -1, -1, -1, -1}};
    for (size_t i = 0; i < angles.size() && i < 6; i++) {
        angles[i] *= sign[left ? 1 : 0][i];
    }
}

#endif
