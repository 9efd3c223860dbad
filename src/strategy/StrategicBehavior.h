#ifndef STRATEGY_STRATEGICBEHAVIOR_H
#define STRATEGY_STRATEGICBEHAVIOR_H

#include <memory>
#include <string>

class AgentActions;
class Strategy;
class WorldState;
class omniMidLevelSkill;

// Interface of the tactical behaviours: the decision layer asks whether one
// applies now and then has it act for one cycle.
class StrategicBehavior {
public:
    // Codes of the tactical behaviours; the decision layer stores the one it
    // runs in WorldState::currentBehavior.
    enum Behaviors {
        NoBehavior = 0,
        GetUp = 1,
        PenaltyKick = 2,
        PenaltyGoalie = 3,
        Setplay = 4,
        CarryBall = 5,
        CatchBall = 6,
        Kicker = 7,
        KickAvoid = 8,
        Formation = 9,
        GoalieSubstitute = 10,
        ActiveMarker = 11,
        PassiveMarker = 12,
        OffensiveMarker = 13,
        PasserBall = 14,
        ReceiverBall = 15,
        PassBlocker = 16,
        GoalKickMarking = 17
    };

    WorldState* ws;
    Strategy* strategy;
    AgentActions* agentActions;
    // The behaviour's own path planner and player rankings; shared by copies.
    omniMidLevelSkill* bOmniMidLevelSkill;

    // The world state's strategy is the agent's one.
    StrategicBehavior(WorldState* ws, AgentActions* actions);
    virtual ~StrategicBehavior() {}
    virtual bool isAvailable() = 0;
    virtual void executeBehavior() = 0;

    static std::string toString(int behavior);

protected:
    // The given actions, else the agent's one; the action library loads its
    // motions when first asked for.
    AgentActions* actions();

private:
    std::shared_ptr<omniMidLevelSkill> planner;
};

#endif
