#include "world/AgentState.h"

#include <cmath>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"

AgentState::AgentState()
    : mRising(false), mFallen(false), mAgentState(AS_STANDING),
      mod(&Singleton<AgentModel>::getInstance())
{
}

AgentState::AgentState(const AgentState& /*other*/) : AgentState() {}

AgentState& AgentState::operator=(const AgentState& /*other*/) { return *this; }

states AgentState::getAgentState() const { return static_cast<states>(mAgentState); }

void AgentState::setAgentState(states state) { mAgentState = state; }

bool AgentState::isRising() const { return mRising; }

bool AgentState::isFallen() const { return mFallen; }

void AgentState::calculateFall() { checkFallen(); }

void AgentState::checkFallen()
{
    mFallen = false;
    mod = &Singleton<AgentModel>::getInstance();

    Accelerometer acc = mod->getAccelerometer();
    double ax = acc.getX(-1);
    double ay = acc.getY(-1);
    double az = acc.getZ(-1);

    bool tilted = std::fabs(ax) > az || std::fabs(ay) > az;
    if (!tilted || !(az < 5.0))
        return;

    if (ay < -6.5 && az < 3.0) {
        mAgentState = AS_FALLEN_FRONT;
        mFallen = true;
    } else if (ay > 7.5 && az < 3.0) {
        mAgentState = AS_FALLEN_BACK;
        mFallen = true;
    } else if (std::fabs(ax) > 6.5) {
        mAgentState = AS_FALLEN_SIDE;
        mFallen = true;
    }
}
