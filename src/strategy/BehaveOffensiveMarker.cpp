#include "strategy/BehaveOffensiveMarker.h"

#include <cmath>

#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/RobovizLogger.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

Vector planar(const Player* p) { return Vector(p->position.x, p->position.y); }

}  // namespace

BehaveOffensiveMarker::BehaveOffensiveMarker(WorldState* ws, AgentActions* actions)
    : StrategicBehavior(ws, actions), MIN_RADIO(1.5f), MAX_RADIO(5), MAX_CICLO(1000),
      MAX_CICLOS_OPONENTE_FORA_DO_RAIO(150), facing(0), interceptation(0, 0), target(0, 0), opponentPlayer(nullptr),
      previousTime(0), ciclos_opponentOutOfRange(0)
{
}

void BehaveOffensiveMarker::clearVariables()
{
    opponentPlayer = nullptr;
    previousTime = 0;
    ciclos_opponentOutOfRange = 0;
}

bool BehaveOffensiveMarker::isVariablesEmpty(Unum_Player* variable)
{
    if (!variable->empty())
        return false;
    clearVariables();
    return true;
}

bool BehaveOffensiveMarker::clearToCarryBall()
{
    // Without an elected active player nobody carries.
    const Player* active = ws->getOstrevandaPlayer(ws->getCurrentActivePlayer());
    const Player* opp = ws->getOpponentPlayer(ws->closeOpp);
    if (active == nullptr || opp == nullptr)
        return false;
    const float distAllyToBall = planar(active).getDistanceTo(ws->ballPos);
    const float distOppToBall = planar(opp).getDistanceTo(ws->ballPos);
    const WorldState::WithBall holder = ws->playerWithBall();
    return (holder == WorldState::ALLY || holder == WorldState::NOBODY) && distOppToBall > distAllyToBall &&
           distAllyToBall < 2.5f && distOppToBall > 1;
}

bool BehaveOffensiveMarker::fillAllysVector(Unum_Player* allys)
{
    const Vector ball = ws->ballPos;
    for (int u = 1; u <= WorldState::MAX_UNUM; u++) {
        const Player* p = ws->getOstrevandaPlayer(u);
        if (p == nullptr)
            continue;
        const Role role = p->getRole();
        const float behindBall = role.isKeeper() ? 3 : 0;
        const Vector at = planar(p);
        if (at.x > ball.x - behindBall && !role.isAttacker() && (role.isKeeper() || (role.isSupport() && ball.x > 3)) &&
            at.getDistanceTo(ball) < MAX_RADIO && (u == ws->unum || p->isStanding()))
            (*allys)[u] = at;
    }
    return !isVariablesEmpty(allys);
}

bool BehaveOffensiveMarker::fillOpponentsVector(Unum_Player* opponents)
{
    const Vector ball = ws->ballPos;
    bOmniMidLevelSkill->sortTheirPlayersBasedonDistancetoBall();
    int visited = 0;
    for (const Player* o : bOmniMidLevelSkill->theirPlayer) {
        if (++visited > WorldState::MAX_UNUM)
            break;
        const Vector at = planar(o);
        const float d = at.getDistanceTo(ball);
        if (!(MIN_RADIO < d && d < MAX_RADIO))
            continue;
        // One ahead of the ball must be twice as far from it.
        if (at.x > ball.x && !(((at + ball) / 2).getDistanceTo(ball) > MIN_RADIO))
            continue;
        (*opponents)[o->unum] = at;
    }
    return !isVariablesEmpty(opponents);
}

BehaveOffensiveMarker::Ally_Opponent BehaveOffensiveMarker::analyseAllyForOpponent(Unum_Player* allys,
                                                                                   Unum_Player* opponents)
{
    Ally_Opponent pairs;
    for (const auto& ally : *allys) {
        int best = 100, chosen = 0;
        for (const auto& opp : *opponents) {
            const int d = static_cast<int>(ally.second.getDistanceTo(opp.second));
            if (d < best) {
                best = d;
                chosen = opp.first;
            }
        }
        if (chosen != 0) {
            pairs[ally.first] = chosen;
            opponents->erase(chosen);
        }
    }
    return pairs;
}

bool BehaveOffensiveMarker::isAvailable(int /*role*/) { return isAvailable(); }

bool BehaveOffensiveMarker::isAvailable()
{
    const int pm = ws->game->playmode;
    const Vector ball = ws->ballPos;
    const bool applies = (pm == PLAY_ON || pm == PASS_QUORVEL) &&
                         (ws->playerWithBall() == WorldState::ALLY || clearToCarryBall()) && !ws->me->wasBeamed() &&
                         std::fabs(ws->myGoalPos.x - ball.x) >= 4 && ws->myPos.x >= ball.x - 3;
    if (!applies) {
        clearVariables();
        return false;
    }
    if (opponentPlayer != nullptr && MAX_CICLO > ws->cTime - previousTime) {
        opponentPlayer = ws->getOpponentPlayer(opponentPlayer->unum);
        previousTime = static_cast<int>(ws->cTime);
        return opponentPlayer != nullptr;
    }
    Unum_Player allys, opponents;
    if (!fillAllysVector(&allys) || !fillOpponentsVector(&opponents))
        return false;
    const Ally_Opponent pairs = analyseAllyForOpponent(&allys, &opponents);
    const auto mine = pairs.find(ws->unum);
    if (mine == pairs.end()) {
        clearVariables();
        return false;
    }
    opponentPlayer = ws->getOpponentPlayer(mine->second);
    previousTime = static_cast<int>(ws->cTime);
    return opponentPlayer != nullptr;
}

void BehaveOffensiveMarker::executeBehavior()
{
    if (opponentPlayer == nullptr)
        return;
    const Vector ball = ws->ballPos;
    const Vector t = target == Vector(0, 0) ? ball : target;
    const Vector o = planar(opponentPlayer);
    const Vector m = (t + o) / 2;
    const float alfa = std::fabs((ws->theirGoalPos - t).getDirection() - (m - t).getDirection());

    if (ball.getDistanceTo(o) >= MAX_RADIO)
        ciclos_opponentOutOfRange++;
    if (ciclos_opponentOutOfRange > MAX_CICLOS_OPONENTE_FORA_DO_RAIO || ws->me->wasBeamed())
        clearVariables();

    interceptation = alfa > 20 && ws->myPos.x > 0 ? m : (m + o) / 2;
    facing = (o - t).getDirection() + (o.getDistanceTo(t) < 2 ? 90 : 45);

    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawLine(ws->myPos, interceptation, draw.cyan, "InterceptationLine");
    draw.drawLine(ws->myPos, o, draw.cyan, "OffensiveOpponentLine");
    draw.drawCircle(interceptation, 0.3f, draw.cyan, "InterceptationCircle");
    draw.drawCircle(o, 0.3f, draw.cyan, "OffensiveOpponentCircle");
    if (agentActions != nullptr)
        agentActions->goToStrategicPoint(interceptation, facing, true, true, true, Circle(ball, 0.1f));
}

Player* BehaveOffensiveMarker::opponentToOffensiveMarker()
{
    Player* nearest = nullptr;
    float best = 100;
    for (int u = 1; u <= WorldState::MAX_UNUM; u++) {
        Player* o = ws->getOpponentPlayer(u);
        if (o == nullptr)
            continue;
        const float d = planar(o).getDistanceTo(ws->myPos);
        if (d < best) {
            best = d;
            nearest = o;
        }
    }
    return nearest == nullptr ? ws->me : nearest;
}
