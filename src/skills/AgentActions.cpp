#include "skills/AgentActions.h"

#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

// Seconds a fallen agent waits after a get-up before the next one.
const float GETUP_PAUSE = 0.75f;

} // namespace

AgentActions::AgentActions() : aState(&Singleton<AgentState>::getInstance()), stopChosen(false) {}

bool AgentActions::doGetup()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    states posture = aState->getAgentState();

    // A rising or kicking behaviour has finished (none runs yet).
    bool rising = posture == AS_RISING_FRONT || posture == AS_RISING_BACK ||
                  posture == AS_RISING_SIDE;
    if (rising || posture == AS_KICKING) {
        aState->setAgentState(AS_WALKING);
        if (rising)
            aState->mRising = false;
    }

    if (aState->isFallen() && !stopChosen) {
        aState->setAgentState(AS_STOP);
        stopChosen = true;
        return true;
    }

    if (aState->isFallen() && ws.cTime - ws.lastGetupFinishedTime >= GETUP_PAUSE) {
        startGetup();
        return true;
    }
    return false;
}

void AgentActions::startGetup()
{
    stopChosen = false;
    aState->mRising = true;
    switch (aState->getAgentState()) {
    case AS_FALLEN_FRONT:
        aState->setAgentState(AS_RISING_FRONT);
        break;
    case AS_FALLEN_BACK:
        aState->setAgentState(AS_RISING_BACK);
        break;
    case AS_FALLEN_SIDE:
        aState->setAgentState(AS_RISING_SIDE);
        break;
    default:
        break;
    }
}

void AgentActions::serverPass()
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    Vector ball = ws.ball->position.to2d();
    for (const auto& entry : ws.opponentTeam) {
        float d = entry.second->position.to2d().getDistanceTo(ball);
        if (d < 1)
            return;
        if (d < 2)
            Singleton<Actions>::getInstance().Pass();
    }
}
