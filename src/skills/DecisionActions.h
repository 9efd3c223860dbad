#ifndef SKILLS_DECISIONACTIONS_H
#define SKILLS_DECISIONACTIONS_H

#include "geometry/Geometry.h"
#include "geometry/Vector.h"

// What the decision tree asks of the action library: its tests and the walk
// and kick commands it gives itself. The agent holds the library through
// this, so that a test can put a fake in its place.
class DecisionActions {
public:
    virtual ~DecisionActions() {}

    // True while the library keeps control of the body.
    virtual bool doGetup() = 0;
    virtual void serverPass() = 0;
    virtual bool continueLongKick() = 0;
    virtual bool shouldDirectKick() = 0;
    virtual bool shouldLongKick() = 0;
    virtual bool shouldClearBall() = 0;

    virtual void kickToTarget(Vector kickTarget) = 0;
    virtual void dynamicKickToTarget(Vector kickTarget, bool setplay) = 0;
    virtual void moveBalltoTarg(Vector target, float curve, bool avoidTeamMate, bool avoidTheirPlayer,
                                float distBehindBall) = 0;
    virtual void gotoPointDesperate(Vector target) = 0;
    virtual void backDesperate(Vector target) = 0;
    virtual void goToStrategicPoint(Vector Point, float dir, bool avoidBall, bool avoidTeamMate,
                                    bool avoidTheirPlayer, Circle obstacle) = 0;
};

#endif
