#ifndef STRATEGY_BEHAVECARRYBALL_H
#define STRATEGY_BEHAVECARRYBALL_H

#include "geometry/Vector.h"

// One dribble step toward a target: get behind the ball, then walk through
// it. Built for a single call.
class BehaveCarryBall {
public:
    BehaveCarryBall() {}
    void executeBehavior(Vector target, bool flag);
};

#endif
