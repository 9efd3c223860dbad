#ifndef STRATEGY_DEFENSEMARKER_H
#define STRATEGY_DEFENSEMARKER_H

#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"

class Player;

// Marking by defenders, keepers and supports. Every opponent gets a risk and
// every own player an availability; the opponent nearest the ball is pressed
// (active marking), another dangerous one is shadowed from its goal side
// (passive marking). The marking in progress lives in the world state's
// marking record.
class DefenseMarker : public StrategicBehavior {
public:
    // Risk bands (m).
    static constexpr float carryBallThreshold = 2.75f;
    static constexpr float fastKickThreashold = 7;
    static constexpr float superKickThreashold = 15;
    static constexpr float longKickThreashold = 20;
    // Availability.
    static constexpr float safety = 5;
    static constexpr float distTreashold = 3;
    static constexpr float distFactor = 3;
    static constexpr int numberOfAlliesThreshold = 2;

    // Where a marking walks and which way it faces.
    struct Move {
        Vector point;
        float facing;
    };

    int marcador;
    Player* playerWithBall;
    bool setOPPKickoff;
    double lastOPPKickoff;

    DefenseMarker(WorldState* ws, AgentActions* actions);

    // The decision layer uses the operations below instead.
    bool isAvailable() override { return false; }
    void executeBehavior() override {}

    // The opponent I should mark passively; null when none.
    Player* chooseTarget();
    // Whether I press fastestOpp (the opponent nearest the ball) now.
    bool isActiveMarkerAvailable(Player* fastestOpp);
    bool isPassiveMarkerAvailable(Player* targ);
    // Whether the marking in progress goes on; resets the record when not.
    bool continueMarking(Player* target, bool active);
    // One cycle of marking target; a null target walks to my strategic position.
    void executeBehavior(Player* target, bool active);
    void executeBehavior(Vector oppPos);
    // Where executeBehavior(target, active) walks, reading the record but
    // not changing it.
    Move markingMove(Player* target, bool active);

    void calculateRisk(Player* p);
    void calculateAvailability(Player* p);
    void calculateClosestOpponentToBall();
    float calculateClosestAllyToPointWithinTod(Vector point);
    // Own players but me covering p, in the last own ranking.
    int numOfAlliesInTod(Player* p);

private:
    Vector strategicPos() const;
    bool covers(Vector ally, Vector opp) const;
    // The sideline rule of supports and side keepers after their kick-off.
    bool sidelineRuleApplies() const;
    Player* sidelineTarget();
    Player* mainTarget();
    bool sideKeeperWindow(Player* target) const;
    void walk(Vector point, float facing);
};

#endif
