#include "strategy/StrategicBehavior.h"

#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

StrategicBehavior::StrategicBehavior(WorldState* ws, AgentActions* actions)
    : ws(ws), strategy(ws->strategy), agentActions(actions), bOmniMidLevelSkill(nullptr),
      planner(std::make_shared<omniMidLevelSkill>())
{
    bOmniMidLevelSkill = planner.get();
}

AgentActions* StrategicBehavior::actions()
{
    if (agentActions == nullptr)
        agentActions = &Singleton<AgentActions>::getInstance();
    return agentActions;
}

std::string StrategicBehavior::toString(int behavior)
{
    static const char* const names[] = {"Setplayer",    "CarryBall",        "CatchBall",    "Kicker",
                                        "KickAvoid",    "Formation",        "GoalieSubstitute",
                                        "ActiveMarker", "PassiveMarker",    "OffensiveMarker",
                                        "PasserBall",   "ReceiverBall",     "PassBlocker",  "GoalKickMarking"};
    if (behavior < Setplay || behavior > GoalKickMarking)
        return "No Behavior";
    return names[behavior - Setplay];
}
