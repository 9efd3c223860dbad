#ifndef WORLD_BALLMOVEMENTPREDICTION_H
#define WORLD_BALLMOVEMENTPREDICTION_H

#include "geometry/Vector.h"

// Planar ball motion stepped in 0.02-s cycles with a drag of 1.05 per second.
// The given acceleration acts on the first cycle's velocity only.
class BallMovementPrediction {
public:
    static Vector positionInNCycles(Vector currentPosition, Vector currentVelocity,
                                    Vector currentAcceleration, unsigned int nCycles);
    // First cycle i (1 to 50) whose starting position lies within error of
    // desiredPosition; 51 when none does.
    static unsigned long nCyclesToPosition(Vector currentPosition, Vector currentVelocity,
                                           Vector currentAcceleration, Vector desiredPosition,
                                           float error);
};

#endif
