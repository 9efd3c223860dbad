#include "strategy/PassBlock.h"

#include <vector>

#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

// Points of the three ranks in the frame of the line of play.
const float SIDE_STEP = 0.3f;
const float BEYOND_BALL = 1.3f;
const float BEFORE_GOAL = 2.0f;
const int BLOCKERS = 3;

} // namespace

PassBlock::PassBlock(WorldState* ws, AgentActions* actions)
    : StrategicBehavior(ws, actions), activePass(false), blockOrder(0)
{
}

bool PassBlock::shouldBlockPass()
{
    const int pm = ws->game->playmode;
    if (pm != PASS_OPPONENT && pm != OPPONENT_GOAL_KICK)
        return false;
    if (!ws->me->position.to2d().isBetweenX(ws->myGoalPos, ws->ballPos))
        return false;
    const Role role = ws->me->getRole();
    return !role.isGoalie() && !role.isGoalieSubstitute();
}

bool PassBlock::isAvailable()
{
    if (!shouldBlockPass()) {
        activePass = false;
        return false;
    }
    if (activePass)
        return true;

    // Team-mates nearer the ball than me that also stand between my goal and
    // the ball go before me; I follow them.
    bOmniMidLevelSkill->sortourPlayersBasedonDistancetoBall(false);
    const int myNumber = ws->me->unum;
    const float myDist = ws->me->position.to2d().getDistanceTo(ws->ballPos);
    std::vector<int> order;
    bool meListed = false;
    for (const Player* m : bOmniMidLevelSkill->ourPlayer) {
        if (m == nullptr)
            continue;
        const Vector at = m->position.to2d();
        if (!meListed && at.getDistanceTo(ws->ballPos) > myDist) {
            order.push_back(myNumber);
            meListed = true;
        }
        if (at.isBetweenX(ws->myGoalPos, ws->ballPos)) {
            order.push_back(m->unum);
            meListed = meListed || m->unum == myNumber;
        }
    }
    for (int k = 0; k < static_cast<int>(order.size()) && k < BLOCKERS; k++) {
        if (order[static_cast<size_t>(k)] == myNumber) {
            blockOrder = k;
            activePass = true;
            return true;
        }
    }
    return false;
}

Vector PassBlock::blockingPoint(int order)
{
    const Vector ball = ws->ball->position.to2d();
    Vector rel(0, 0);
    Vector origin = ball;
    float angle = 0;
    const float side = order == 1 ? SIDE_STEP : (order == 2 ? -SIDE_STEP : 0);
    if (ws->game->playmode == PASS_OPPONENT) {
        Player* kicker = bOmniMidLevelSkill->fastestOpponentRelBall();
        const Vector from = kicker == nullptr ? ball : kicker->position.to2d();
        angle = (ball - from).getDirection();
        rel = Vector(BEYOND_BALL, side);
    } else if (ws->game->playmode == OPPONENT_GOAL_KICK) {
        origin = ws->theirGoalPos;
        angle = (ball - origin).getDirection();
        rel = Vector(BEFORE_GOAL, side);
    }
    return rel.relativeToGlobal(origin, angle);
}

void PassBlock::executeBehavior()
{
    const Vector target = blockingPoint(blockOrder);
    const Vector me = ws->me->position.to2d();
    if (me.getDistanceTo(target) < ON_POINT) {
        agentActions->ZMPWalkOmniCall(0.03, 0, 0);
        return;
    }
    agentActions->goToStrategicPoint(target, (target - me).getDirection(), true, true, true,
                                     Circle(ws->ball->position.to2d(), 1.1f));
}
