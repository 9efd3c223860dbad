#include "world/BallMovementPrediction.h"

namespace {

const float CYCLE = 0.02f;
const float DRAG = 1.05f;

// One cycle: position and velocity advance with the previous values.
void step(Vector& p, Vector& v, Vector& a)
{
    Vector nextA = v * -DRAG;
    Vector nextV = v + a * CYCLE;
    p = p + v * CYCLE;
    v = nextV;
    a = nextA;
}

} // namespace

Vector BallMovementPrediction::positionInNCycles(Vector currentPosition, Vector currentVelocity,
                                                 Vector currentAcceleration,
                                                 unsigned int nCycles)
{
    Vector p = currentPosition, v = currentVelocity, a = currentAcceleration;
    for (unsigned int i = 0; i < nCycles; ++i)
        step(p, v, a);
    return p;
}

unsigned long BallMovementPrediction::nCyclesToPosition(Vector currentPosition,
                                                        Vector currentVelocity,
                                                        Vector currentAcceleration,
                                                        Vector desiredPosition, float error)
{
    Vector p = currentPosition, v = currentVelocity, a = currentAcceleration;
    for (unsigned long i = 1; i <= 50; ++i) {
        if (p.getDistanceTo(desiredPosition) <= error)
            return i;
        step(p, v, a);
    }
    return 51;
}
