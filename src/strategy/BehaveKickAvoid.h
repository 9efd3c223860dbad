#ifndef STRATEGY_BEHAVEKICKAVOID_H
#define STRATEGY_BEHAVEKICKAVOID_H

#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

class AgentActions;
class WorldState;

// With the ball at my feet and an opponent closing in: kick it away at once
// with the kick while walking, beyond the ball and outward.
class BehaveKickAvoid : public StrategicBehavior {
public:
    BehaveKickAvoid();

    // Whether to kick now; on true it also sets the kick target.
    bool isAvailable() override;
    void executeBehavior() override;

    Vector getTargetKick() const { return targetKick; }

private:
    Vector targetKick;
};

#endif
