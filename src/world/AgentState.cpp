#include "world/AgentState.h"

#include <cmath>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"

AgentState::AgentState()
    : mRising(false), mFallen(false), mAgentState(AS_STANDING),
      mod(&Singleton<AgentModel>::getInstance()), mTiltedChecks(0)
{
}

AgentState::AgentState(const AgentState& /*other*/) : AgentState() {}

AgentState& AgentState::operator=(const AgentState& /*other*/) { return *this; }

states AgentState::getAgentState() const { return static_cast<states>(mAgentState); }

void AgentState::setAgentState(states state) { mAgentState = state; }

bool AgentState::isRising() const { return mRising; }

bool AgentState::isFallen() const { return mFallen; }

void AgentState::calculateFall() { checkFallen(); }

namespace {

// Checks in a row with the mean reading tilted far over that make a fall even
// when no side rule matches (a robot resting on its knees and hands).
const int kTiltedChecks = 10;

// The up axis more than 45 degrees from vertical.
bool tilted(double ax, double ay, double az) { return std::fabs(ax) > az || std::fabs(ay) > az; }

// Tilted far over: the up axis more than about 60 degrees from vertical.
bool tiltedFar(double ax, double ay, double az) { return tilted(ax, ay, az) && az < 5.0; }

states sideOf(double ax, double ay)
{
    if (std::fabs(ax) > std::fabs(ay))
        return AS_FALLEN_SIDE;
    return ay < 0 ? AS_FALLEN_FRONT : AS_FALLEN_BACK;
}

// The side a reading says the robot lies on, or nothing.
bool fallOf(double ax, double ay, double az, states& side)
{
    if (!tiltedFar(ax, ay, az))
        return false;
    if (ay < -6.5 && az < 3.0)
        side = AS_FALLEN_FRONT;
    else if (ay > 7.5 && az < 3.0)
        side = AS_FALLEN_BACK;
    else if (std::fabs(ax) > 6.5)
        side = AS_FALLEN_SIDE;
    else
        return false;
    return true;
}

} // namespace

void AgentState::checkFallen()
{
    const bool wasFallen = mFallen;
    mFallen = false;
    mod = &Singleton<AgentModel>::getInstance();

    Accelerometer acc = mod->getAccelerometer();
    const int n = acc.getSize();
    if (n == 0)
        return;
    // A robot bouncing after it lands reads near free fall or a jolt now and
    // then: unless the newest reading is on the front or back, the mean of
    // the recent readings decides, so such a reading neither clears the fall
    // nor turns it onto the side. A fall lasts while the mean stays tilted
    // past 45 degrees: a robot on its knees that tries to walk bounces, and
    // its readings would clear the fall now and then.
    double ax = 0, ay = 0, az = 0;
    for (int i = 0; i < n; ++i) {
        ax += acc.getX(i) / n;
        ay += acc.getY(i) / n;
        az += acc.getZ(i) / n;
    }
    mTiltedChecks = tiltedFar(ax, ay, az) ? mTiltedChecks + 1 : 0;
    states newest = AS_STANDING;
    const bool fallen = fallOf(acc.getX(-1), acc.getY(-1), acc.getZ(-1), newest);
    if (fallen && newest != AS_FALLEN_SIDE) {
        mAgentState = newest;
        mFallen = true;
        return;
    }
    states mean = AS_STANDING;
    if (fallOf(ax, ay, az, mean)) {
        mAgentState = mean;
        mFallen = true;
    } else if (fallen) {
        mAgentState = newest;
        mFallen = true;
    } else if ((wasFallen && tilted(ax, ay, az)) || mTiltedChecks >= kTiltedChecks) {
        mAgentState = sideOf(ax, ay);
        mFallen = true;
    }
}
