#ifndef WORLD_BALLESTIMATOR_H
#define WORLD_BALLESTIMATOR_H

#include <deque>

#include "geometry/Vector3f.h"

// Ball motion under exponential decay of its ground velocity,
// v(t) = u * exp(ballExpK * t). Until the velocity references are estimated
// the ball is taken as lying still at its newest observed position.
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
    std::deque<Vector3f> ballPosQueue;
    std::deque<float> ballPosTimeQueue;

    BallEstimator();

    // Takes the world state's newest unfiltered ball position.
    void update();

    // Planar velocity relTime seconds after the newest sample.
    Vector3f estimatedVel(float relTime) const;
    Vector3f estimatedVel4(float relTime) const;
    Vector3f estimatedVel5(float relTime) const;
    Vector3f estimatedVelAway(float relTime) const;
    // Rest position of the ball.
    Vector3f estimatedFinalPosAway() const;
    Vector3f estimatedFinalPos4() const;
    Vector3f estimatedFinalPos5() const;
    // Seconds to roll travelDistance metres; 100000 when the ball stops first.
    float estimatedTime(float travelDistance) const;

    float getRefTime5() const;
    float getRefTime4() const;

private:
    Vector3f restFrom(const Vector3f& vel) const;
};

#endif
