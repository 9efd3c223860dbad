#ifndef TESTS_PHYSICS_LEGKINEMATICSTEST_H
#define TESTS_PHYSICS_LEGKINEMATICSTEST_H

#include <vector>

#include "geometry/HomogMatrix.h"
#include "geometry/RotationMatrix.h"

// A grid of reachable ankle poses in the leg base frame: positions around
// a bent leg under each hip, turned by roll, pitch and yaw (radians).
inline std::vector<HomogMatrix> ankleGrid(bool left) {
    std::vector<HomogMatrix> grid;
    float hipY = left ? 0.055f : -0.055f;
    for (float x : {-0.04f, 0.0f, 0.05f}) {
        for (float y : {-0.03f, 0.0f, 0.03f}) {
            for (float z : {-0.16f, -0.19f}) {
                for (float roll : {-0.15f, 0.0f, 0.1f}) {
                    for (float pitch : {-0.2f, 0.0f, 0.25f}) {
                        for (float yaw : {-0.3f, 0.0f, 0.2f}) {
                            RotationMatrix r = GetRotationMatrixZ(yaw) *
                                               GetRotationMatrixY(pitch) *
                                               GetRotationMatrixX(roll);
                            grid.push_back(HomogMatrix(r, Vector3f(x, hipY + y, z)));
                        }
                    }
                }
            }
        }
    }
    return grid;
}

#endif
