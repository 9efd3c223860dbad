#ifndef STRATEGY_BEHAVEFORMATION_H
#define STRATEGY_BEHAVEFORMATION_H

#include "geometry/Geometry.h"
#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

// Walk to the own strategic position facing the ball.
class BehaveFormation : public StrategicBehavior {
public:
    BehaveFormation(WorldState* ws, AgentActions* actions) : StrategicBehavior(ws, actions) {}

    bool isAvailable() override { return true; }
    void executeBehavior() override;

    // A player with a slot role other than its own takes the strategic
    // position of the first team-mate holding its role.
    static void takeRolePosition(WorldState* ws, Strategy* strategy);
    // Direction (deg) from me to where the ball will rest.
    static float facingDirection(WorldState* ws);
    // The ball as a 1 m obstacle.
    static Circle ballObstacle(WorldState* ws);
};

#endif
