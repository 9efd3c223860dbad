#ifndef STRATEGY_PASSBLOCK_H
#define STRATEGY_PASSBLOCK_H

#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

// Up to three field players stand in the way of an opponent's set-piece pass:
// behind the ball on the kicker's line at their pass, in front of their goal
// on the line to the ball at their goal kick.
class PassBlock : public StrategicBehavior {
public:
    // Blocking points nearer than this are reached: mark time there (m).
    static constexpr float ON_POINT = 0.2f;

    // I have taken a blocking place and keep it while the entry test holds.
    bool activePass;
    // My rank among the blockers, 0 to 2; it selects the point.
    int blockOrder;

    PassBlock(WorldState* ws, AgentActions* actions);

    // Their pass or goal kick, I stand between my goal and the ball in x,
    // and I am neither goalie nor its substitute.
    bool shouldBlockPass();
    // The entry test and my rank among the blockers.
    bool isAvailable() override;
    // Walks to the blocking point, or marks time on it.
    void executeBehavior() override;

    // The point of rank `order` for the play mode (the ball itself outside
    // the two blocking modes).
    Vector blockingPoint(int order);
};

#endif
