#ifndef STRATEGY_RECEIVER_H
#define STRATEGY_RECEIVER_H

#include <vector>

#include "geometry/Vector.h"
#include "strategy/PassMethods.h"
#include "strategy/ReceivingPoint.h"
#include "strategy/StrategicBehavior.h"

class WorldState;

// A team-mate expecting a pass: the active receiver named by a pass message
// walks to the announced point while the pass is in force; in our free kick
// every passive receiver places points in front of the ball and the one
// nearest a point walks there.
class Receiver : public StrategicBehavior {
public:
    enum type { ACTIVE = 0, PASSIVE = 1 };
    // Cycles a pass stays in force.
    static constexpr int PASS_CYCLES = 160;

    Receiver();

    bool isAvailable() override { return false; }
    // Stores the kind asked for; any kind but ACTIVE and PASSIVE is false.
    bool isAvailable(int kind);
    void executeBehavior() override;

    bool isActiveAvaliable();
    bool isPassiveAvaliable();
    bool loadPassFormation();
    int getDeadline() const { return deadline; }
    void definingRecvPoints();
    int allyClosestPoint(int i);
    bool imClosest();
    // [team-mates, opponents] standing within 1 m of p, me not counted.
    std::vector<int> getObstacles(Vector p);
    bool isWithinSector();
    std::vector<ReceivingPoint> getRecvPoints() const { return points; }
    ReceivingPoint getClosestPoint() const { return closestPoint; }

    bool activePass;
    bool withBall;

private:
    // Shirt 11 runs forward for a while after our kick-off.
    bool kickOffRun() const;
    void walkTo(Vector target);

    int kind;
    int deadline;
    int teamWithBall;
    std::vector<ReceivingPoint> points;
    ReceivingPoint closestPoint;
    PassMethods passMethods;
};

#endif
