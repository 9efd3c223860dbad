#include "strategy/BehaveGoalieSubstitute.h"

#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/BehaveCatchBall.h"
#include "strategy/Strategy.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

bool BehaveGoalieSubstitute::isAvailable()
{
    Player* nearestOpp = bOmniMidLevelSkill->fastestOpponentRelBall();
    const int fastestOpp = nearestOpp == nullptr ? 0 : nearestOpp->unum;
    Player* keeper = ws->getPlayer(WorldState::OSTREVANDA_TEAM, 1);
    const Vector goalie = keeper == nullptr ? Vector(0, 0) : Vector(keeper->position.x, keeper->position.y);
    const Vector3f c = ws->getBackCenterGoal();
    const Vector goalCentre(c.x, c.y);
    const float goalieOut = goalie.getDistanceTo(goalCentre);

    Role role = ws->me->getRole();
    if (role.isAttacker())
        return false;
    if (!role.isDefensive() || ws->unum == 1)
        return false;
    if (ws->game->playmode == QUORVEL_GOAL_KICK)
        return goalieOut > GOA_MIN_DIST;

    Vector best(0, 0);
    int chosen = 0;
    for (int u = 2; u <= WorldState::MAX_UNUM; u++) {
        Player* p = ws->getOstrevandaPlayer(u);
        if (p == nullptr || !p->getRole().isDefensive())
            continue;
        const Vector at(p->position.x, p->position.y);
        if (at.getDistanceTo(goalCentre) < best.getDistanceTo(goalCentre)) {
            best = at;
            chosen = u;
        }
    }
    if (chosen != ws->unum)
        return false;
    BehaveCatchBall catchBall(ws, agentActions);
    if (catchBall.isActiveAvailable(1, fastestOpp) || goalieOut > GOA_MIN_DIST) {
        role.setIdAlternativeRole(GOS);
        ws->me->setRole(role);
        return true;
    }
    return false;
}

void BehaveGoalieSubstitute::executeBehavior()
{
    strategy->StDec.FM_StrategicPos[ws->unum] = strategy->StDec.FM_StrategicPos[1];
    agentActions->goToStrategicPoint(strategy->GetStrategicPos(ws->unum), BehaveFormation::facingDirection(ws),
                                     true, true, true, BehaveFormation::ballObstacle(ws));
}
