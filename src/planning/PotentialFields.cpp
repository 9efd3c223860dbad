#include "planning/PotentialFields.h"

#include <cmath>

#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/WorldState.h"

PotentialFields::PotentialFields() : ws(&Singleton<WorldState>::getInstance()) {}

Vector PotentialFields::checkArea(Vector target)
{
    bool crowded = ws->quantAllysInGoalArea() > 2 || ws->game->playmode == OPPONENT_GOAL_KICK;
    if (!crowded || !ws->isInsideGoalArea(target))
        return target;
    // Out in front of the goal area, keeping y.
    target.x = -ws->fieldLenght / 2 + ws->penaltyLength + 0.2f;
    return target;
}

Vector PotentialFields::checkIntersectionGoalPost(Vector target)
{
    std::map<int, Player*> team = ws->getOstrevandaTeam();
    float s = team.count(1) && team[1] && team[1]->position.x < 0 ? -1.0f : 1.0f;
    Vector me = ws->myPos;
    if (checkIntersection(me, target, Vector(15 * s, -1.05f), Vector(15 * s, 1.05f)))
        target.x = 15.2f * s - 0.1f * s;
    return target;
}

bool PotentialFields::checkIntersection(Vector a, Vector b, Vector c, Vector d)
{
    const float eps = 1e-6f;
    float rx = b.x - a.x, ry = b.y - a.y, sx = d.x - c.x, sy = d.y - c.y;
    float den = rx * sy - ry * sx;
    if (std::fabs(den) < 1e-12f)
        return false;
    float t = ((c.x - a.x) * sy - (c.y - a.y) * sx) / den;
    float u = ((c.x - a.x) * ry - (c.y - a.y) * rx) / den;
    return t >= -eps && t <= 1 + eps && u >= -eps && u <= 1 + eps;
}

bool PotentialFields::checkProx()
{
    int pm = ws->game->playmode;
    bool theirs = pm == OPPONENT_KICKOFF || pm == OPPONENT_KICKIN || pm == OPPONENT_CORNER_KICK ||
                  pm == OPPONENT_FREE_KICK;
    return theirs && ws->myPos.getDistanceTo(ws->ballPos) < 3;
}

float PotentialFields::reductionVelAtt(float dist, float speedatTarg)
{
    if (ws->isKick && dist < 0.6f)
        return 0.5f;
    if (dist > 0.15f) {
        bool attackerNearBall = ws->me->getRole().isAttacker() && ws->myPos.getDistanceTo(ws->ballPos) < 2;
        return attackerNearBall ? 0.8f : 1.0f;
    }
    if (dist < 0.15f)
        return speedatTarg;
    return std::max(dist / 0.5f, speedatTarg);
}
