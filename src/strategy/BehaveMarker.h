#ifndef STRATEGY_BEHAVEMARKER_H
#define STRATEGY_BEHAVEMARKER_H

#include "strategy/StrategicBehavior.h"

// A marker that never applies and does nothing.
class BehaveMarker : public StrategicBehavior {
public:
    BehaveMarker(WorldState* ws, AgentActions* actions) : StrategicBehavior(ws, actions) {}
    bool isAvailable() override { return false; }
    void executeBehavior() override {}
};

#endif
