#ifndef STRATEGY_BEHAVEGOALIESUBSTITUTE_H
#define STRATEGY_BEHAVEGOALIESUBSTITUTE_H

#include "strategy/BehaveFormation.h"
#include "strategy/StrategicBehavior.h"

// The defender nearest our goal stands in for the goalie while the goalie is
// out of its goal or busy with the ball.
class BehaveGoalieSubstitute : private StrategicBehavior {
public:
    // The goalie's allowed distance from the centre of its goal (m).
    static constexpr float GOA_MIN_DIST = 3.5f;

    BehaveFormation formation;

    BehaveGoalieSubstitute(WorldState* ws, AgentActions* actions)
        : StrategicBehavior(ws, actions), formation(ws, actions)
    {
    }

    // May mark me with the alternative role GOS.
    bool isAvailable() override;
    // Walks to the goalie's strategic position.
    void executeBehavior() override;
};

#endif
