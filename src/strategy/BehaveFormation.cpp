#include "strategy/BehaveFormation.h"

#include "skills/AgentActions.h"
#include "strategy/Strategy.h"
#include "world/Ball.h"
#include "world/Player.h"
#include "world/WorldState.h"

void BehaveFormation::takeRolePosition(WorldState* ws, Strategy* strategy)
{
    const Role role = ws->me->getRole();
    const int alt = role.getIdAlternativeRole();
    if (alt == NO_ROLE || alt == ATT || alt == GOS)
        return;
    ws->setCurrentBehavior(NoBehavior);
    Player* holder = ws->getQuorvelPlayerByRole(role.getIdRole());
    if (holder != nullptr && WorldState::isShirtNumber(holder->unum) && WorldState::isShirtNumber(ws->unum))
        strategy->StDec.FM_StrategicPos[ws->unum] = strategy->StDec.FM_StrategicPos[holder->unum];
}

float BehaveFormation::facingDirection(WorldState* ws)
{
    const Vector rest(ws->ball->finalPos.x, ws->ball->finalPos.y);
    return (rest - ws->myPos).getDirection();
}

Circle BehaveFormation::ballObstacle(WorldState* ws)
{
    return Circle(Vector(ws->ball->position.x, ws->ball->position.y), 1.0f);
}

void BehaveFormation::executeBehavior()
{
    takeRolePosition(ws, strategy);
    agentActions->goToStrategicPoint(strategy->GetStrategicPos(ws->unum), facingDirection(ws), true, true, true,
                                     ballObstacle(ws));
}

