#ifndef WORLD_BALLESTIMATOR_H
#define WORLD_BALLESTIMATOR_H

#include <deque>

#include "geometry/Vector3f.h"

// Ball motion under exponential decay of its ground velocity,
// v(t) = u * exp(ballExpK * t), estimated from the last few observations.
// References: "3", "4" and "5" are the newest samples more than 0.15, 0.21
// and 0.27 s older than the newest one (index 0 marks one as absent);
// "away" is the last sample taken while a player was near the ball.
class BallEstimator {
public:
    int indRefTime;
    int indRefTime3;
    int indRefTime4;
    int indRefTime5;
    Vector3f refPos;
    Vector3f refPos3;
    Vector3f refPos4;
    Vector3f refPos5;
    Vector3f refPosAway;
    float refTime;
    float refTime3;
    float refTime4;
    float refTime5;
    float refTimeAway;
    float ballExpK;
    // At most HISTORY samples, newest first.
    std::deque<Vector3f> ballPosQueue;
    std::deque<float> ballPosTimeQueue;

    static constexpr unsigned HISTORY = 6;

    BallEstimator();

    // Takes the world state's newest unfiltered ball position, when the ball
    // is seen and the agent localised itself in this cycle.
    void update();

    // Planar velocity relTime seconds after the newest sample.
    Vector3f estimatedVel(float relTime) const;
    Vector3f estimatedVel4(float relTime) const;
    Vector3f estimatedVel5(float relTime) const;
    Vector3f estimatedVelAway(float relTime) const;
    // Position relTime seconds after the newest sample.
    Vector3f estimatedPos(float relTime) const;
    Vector3f estimatedPos4(float relTime) const;
    Vector3f estimatedPos5(float relTime) const;
    // Seconds to roll travelDistance metres: 0 for no distance, 100000 when
    // the ball stops first.
    float estimatedTime(float travelDistance) const;
    float estimatedTime4(float travelDistance) const;
    float estimatedTime5(float travelDistance) const;
    // Rest position of the ball.
    Vector3f estimatedFinalPos() const;
    Vector3f estimatedFinalPos4() const;
    Vector3f estimatedFinalPos5() const;
    // Rest position from the away velocity, from the world state's ball.
    Vector3f estimatedFinalPosAway() const;

    float getRefTime5() const;
    float getRefTime4() const;

private:
    Vector3f velocityFrom(bool present, const Vector3f& pos, float time, float relTime) const;
    Vector3f positionWith(const Vector3f& vel, float relTime) const;
    float timeWith(const Vector3f& vel, float travelDistance) const;
    Vector3f restFrom(const Vector3f& origin, const Vector3f& vel) const;
};

#endif
