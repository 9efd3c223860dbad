#ifndef WORLD_BALL_H
#define WORLD_BALL_H

#include <queue>

#include "geometry/Vector3f.h"
#include "world/MobileObject.h"

// The ball, with four-sample windows of its positions, velocities and
// accelerations.
class Ball : public MobileObject {
public:
    // Samples in each window.
    static constexpr unsigned WINDOW = 4;

    Vector3f filteredPos;
    Vector3f filteredVel;
    Vector3f filteredAcc;
    Vector3f finalPos;
    std::queue<Vector3f> filteredPosVec;
    std::queue<Vector3f> filteredVelVec;
    std::queue<Vector3f> filteredAccVec;

    Ball();
    ~Ball() override {}

    // A new absolute position: updates the windows and their means.
    void setPosition(Vector3f absPos);
    // Whether the line through the oldest and newest samples crosses our
    // goal line within 1.25 m of the centre line.
    bool isInOurGoalDirection() const;
};

#endif
