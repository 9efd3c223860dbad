#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "KVDAgentH.h"
#include "logger/LoggerBuffer.h"
#include "skills/AgentActions.h"
#include "skills/DecisionActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/BehaveFormation.h"
#include "strategy/Strategy.h"
#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "world/AgentState.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

Vector planar(const Player* p) { return p == nullptr ? Vector(0, 0) : Vector(p->position.x, p->position.y); }

// Summed distances of the field players to the places their roles have in
// this cycle's formation (`places`: role code and place of every slot), the
// running sum truncated to whole metres after every addition. A field player
// whose role has no place makes the sum unbounded.
int scramSum(WorldState* ws, const std::vector<Role>& roles, const std::vector<Role>& places)
{
    int sum = 0;
    for (const Role& r : roles) {
        if (r.unum < 2)
            continue;
        bool placed = false;
        for (const Role& slot : places) {
            if (slot.idRole != r.idRole || r.idRole == NO_ROLE)
                continue;
            const float d = planar(ws->getOstrevandaPlayer(r.unum)).getDistanceTo(slot.targetFormation);
            if (std::isfinite(d) && d < 1e6f)
                sum = static_cast<int>(sum + d);
            placed = true;
            break;
        }
        if (!placed)
            return std::numeric_limits<int>::max() / 2;
    }
    return sum;
}

}  // namespace

void KVDAgentH::FillInWSforStrategy()
{
    StrategicWS& w = strategy->StWS;
    w.GameTime = ws->gTime;
    w.Result = ws->game->ostrevandaGoals - ws->game->opponentGoals;
    w.BallPos = ws->ballPos;
    w.BallOwner = 0;
    w.BallIntPos = ws->ball->finalPos.to2d();
    w.BallAdjPos = w.BallIntPos;
    w.MyNumber = static_cast<int>(unum);
    w.MyDir = ws->me->orientation;
    for (int t = 1; t <= strategy->ST_NUM_PLAYERS && t <= Strategy::MAX_PLAYERS; t++) {
        const Player* mate = ws->getOstrevandaPlayer(t);
        const Player* opp = ws->getOpponentPlayer(t);
        w.TeamPos[t] = planar(mate);
        w.OppPos[t] = planar(opp);
        w.TeamConf[t] = mate == nullptr ? 0 : mate->conf;
        w.OppConf[t] = opp == nullptr ? 0 : opp->conf;
    }
    w.Situation = situation.generateSituation();
}

void KVDAgentH::calculateScram()
{
    const std::vector<Role> antigoRole = strategy->getAgentsRole();

    Strategy::PlayerList list;
    for (int u = 2; u <= WorldState::MAX_UNUM; u++) {
        const Vector p = planar(ws->getOstrevandaPlayer(u));
        list.push_back(std::make_pair(u, std::make_pair(static_cast<double>(p.x), static_cast<double>(p.y))));
    }
    strategy->configurePlayersWithFormation(list);
    // Both assignments are measured against this cycle's places: the old
    // targets moved with the ball since they were chosen.
    const std::vector<Role> places = strategy->formation;
    const int sumBefore = scramSum(ws, antigoRole, places);
    strategy->runScram(list);
    strategy->updateRolesFromFormation();

    const std::vector<Role> result = strategy->getAgentsRole();
    bool mudou = false;
    for (size_t i = 0; i < result.size(); i++) {
        Player* p = ws->getOstrevandaPlayer(result[i].unum);
        if (p != nullptr)
            p->setRole(result[i]);
        if (i < antigoRole.size() && antigoRole[i].getIdRole() != result[i].getIdRole())
            mudou = true;
    }
    const int sumNew = scramSum(ws, result, places);
    // A new assignment that saves less than 5 m is not worth the switch: the
    // old one stays, in the world model and in the strategy's table alike,
    // so that the next cycle weighs the same switch again.
    if (mudou && sumBefore - sumNew < 5) {
        for (const Role& r : antigoRole) {
            Player* p = ws->getOstrevandaPlayer(r.unum);
            if (p != nullptr)
                p->setRole(r);
            strategy->updateAgentsRole(r);
            for (const Role& slot : places)
                if (r.unum >= 2 && slot.idRole == r.idRole)
                    strategy->StDec.FM_StrategicPos[r.unum] = slot.targetFormation;
        }
    }
    Player* keeper = ws->getOstrevandaPlayer(1);
    if (keeper != nullptr)
        keeper->setRole(Role(GOA));
}

void KVDAgentH::strategyPosition()
{
    FillInWSforStrategy();
    strategy->CallStrategy();

    if (ws->me->getRole().isGoalie() || unum == 1) {
        calculateScram();
    } else {
        for (int u = 1; u <= WorldState::MAX_UNUM; u++) {
            Player* p = ws->getOstrevandaPlayer(u);
            Role r = p == nullptr ? Role() : p->getRole();
            // A formation without a role list gives no role.
            if (r.getIdRole() == NO_ROLE)
                r.setIdRole(strategy->getFormationRole(strategy->GetFormation(), u));
            r.unum = u;
            strategy->updateAgentsRole(r);
        }
        if (ws->game->playmode != OTHER_PLAYMODE)
            strategy->updatePosition();
    }
    Role mine = ws->me->getRole();

    // The active-player vote, favouring the current active player.
    Player* nearestOpp = bOmniMidLevelSkill.fastestOpponentRelBall();
    int candidate = catchBall.selectActiveCandidate(nearestOpp == nullptr ? 0 : nearestOpp->unum);
    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawCircle(planar(ws->getOstrevandaPlayer(candidate)), 0.5f, draw.yellow, "Candidate");
    const int currentActive = ws->getCurrentActivePlayer();
    if (currentActive != 0 && currentActive != candidate && ws->isStanding(currentActive, false)) {
        const float maxDist = 0.5f;
        const float distCandToBall = planar(ws->getOstrevandaPlayer(candidate)).getDistanceTo(ws->ballPos);
        const float distCurrentActiveToBall =
            planar(ws->getOstrevandaPlayer(currentActive)).getDistanceTo(ws->ballPos);
        const int blocker = ws->getFastestBlocker(), blocker2 = ws->getFastestBlocker2();
        const int carrier = ws->getFastestCarrier(), carrier2 = ws->getFastestCarrier2();
        const bool ours = ws->playerWithBall() == WorldState::ALLY;
        float isClearOppMinDist = 0;
        bool keep = false;
        if (!ours && (blocker == currentActive ||
                      (blocker2 == currentActive && (blocker != candidate || carrier == currentActive))))
            keep = true;
        else if (ours && (carrier == currentActive || (carrier2 == currentActive && carrier != candidate)) &&
                 ws->isClearFront(2, isClearOppMinDist, -1))
            keep = true;
        else if (distCurrentActiveToBall - distCandToBall < maxDist && blocker != candidate && blocker2 != candidate)
            keep = true;
        if (keep)
            candidate = currentActive;
    }
    ws->setActiveCandidate(candidate);

    // The pass blocker: the standing player nearest the ball after the active one.
    ws->setBlockerFound(false);
    bOmniMidLevelSkill.sortourPlayersBasedonDistancetoBall(true);
    for (Player* p : bOmniMidLevelSkill.ourPlayer) {
        if (p == nullptr || p->unum == ws->getCurrentActivePlayer())
            continue;
        const bool self = p->unum == static_cast<int>(unum);
        if ((self && !aState->isFallen() && !aState->isRising()) || (!self && p->isStanding())) {
            ws->setCurrentPassBlocker(p->unum);
            ws->setBlockerFound(true);
            break;
        }
    }

    mine.setIdAlternativeRole(catchBall.isActiveAvailable() ? ATT : NO_ROLE);
    ws->me->setRole(mine);
}

KVDAgentH::FormationMove KVDAgentH::formationMove()
{
    const Vector me = ws->myPos;
    const Vector ball = ws->ball->position.to2d();
    if (ws->game->playmode == OPPONENT_GOAL_KICK) {
        const Vector p1(12.9f, ball.y);
        const float yTreshold = me.y < 0 ? -0.4f : 0.4f;
        const Vector p2(12.9f, ball.y + yTreshold);
        float best = 30.0f;
        int nearest = 0, second = 0;
        for (int i = 1; i <= strategy->ST_NUM_PLAYERS && i <= WorldState::MAX_UNUM; i++) {
            const float d = planar(ws->getOstrevandaPlayer(i)).getDistanceTo(p1);
            if (d < best) {
                second = nearest;
                nearest = i;
                best = d;
            }
        }
        if (nearest == static_cast<int>(unum))
            return {false, p1};
        if (second == static_cast<int>(unum))
            return {false, p2};
        return {false, strategy->GetStrategicPos(static_cast<int>(unum))};
    }
    const Vector s = strategy->GetStrategicPos(static_cast<int>(unum));
    const bool ahead = s.isBetweenX(ws->myGoalPos.x, ball.x) && me.x > s.x && ball.x > me.x;
    if (!ahead)
        return {false, s};
    if (ws->me->getRole().isGoalie() || ws->game->playmode == QUORVEL_GOAL_KICK)
        return {true, s};
    if (ws->isInsideGoalArea(me) || ws->isInsideGoalArea(s) || ws->isInsideTheirGoalArea(me) ||
        ws->isInsideTheirGoalArea(s))
        return {false, s};
    return {true, s};
}

void KVDAgentH::executeBehaveFormation()
{
    BehaveFormation::takeRolePosition(ws, strategy);
    const FormationMove m = formationMove();
    if (m.backUp)
        actions->backDesperate(m.target);
    else
        actions->goToStrategicPoint(m.target, BehaveFormation::facingDirection(ws), true, true, true,
                                    BehaveFormation::ballObstacle(ws));
}
