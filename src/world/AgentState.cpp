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

    // Judged on the mean of the recent readings: while a robot bounces after
    // landing, single readings near free fall or jolts would clear the fall
    // or give the wrong side.
    Accelerometer acc = mod->getAccelerometer();
    const int n = acc.getSize();
    if (n == 0)
        return;
    double ax = 0, ay = 0, az = 0;
    for (int i = 0; i < n; ++i) {
        ax += acc.getX(i) / n;
        ay += acc.getY(i) / n;
        az += acc.getZ(i) / n;
    }

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
