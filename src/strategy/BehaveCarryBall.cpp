#include "strategy/BehaveCarryBall.h"

#include <cmath>

#include "skills/AgentActions.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Within this of the ball and behind it toward the target: push through.
const float CARRY_DIST = 0.3f;
const float ALIGNED_DEG = 20;

} // namespace

void BehaveCarryBall::executeBehavior(Vector target, bool)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentActions& actions = Singleton<AgentActions>::getInstance();
    Vector ball = ws.ballPos;
    float toTarget = (target - ball).getDirection();
    float toBall = (ball - ws.myPos).getDirection();
    bool behind = std::fabs(GetNormalizeAngleDeg(toBall - toTarget)) < ALIGNED_DEG;
    if (ws.myPos.getDistanceTo(ball) < CARRY_DIST && behind)
        actions.gotoPointDesperate(target);
    else
        actions.moveBalltoTarg(target, 1.0f, true, false, 0.2f);
}
