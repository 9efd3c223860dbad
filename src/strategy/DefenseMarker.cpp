#include "strategy/DefenseMarker.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/Strategy.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

Vector planar(const Player* p) { return Vector(p->position.x, p->position.y); }

// Seconds after the opponent's kick-off in which supports and side keepers
// keep to the side lines.
const float KICKOFF_WINDOW = 30;

}  // namespace

DefenseMarker::DefenseMarker(WorldState* ws, AgentActions* actions)
    : StrategicBehavior(ws, actions), marcador(0), playerWithBall(nullptr), setOPPKickoff(false),
      lastOPPKickoff(-300)
{
}

Vector DefenseMarker::strategicPos() const
{
    return strategy == nullptr ? ws->myPos : strategy->GetStrategicPos(ws->unum);
}

bool DefenseMarker::covers(Vector ally, Vector opp) const { return ws->allyWithinTriangle(ally, opp); }

void DefenseMarker::calculateClosestOpponentToBall()
{
    bOmniMidLevelSkill->sortTheirPlayersBasedonDistancetoBall();
    playerWithBall = bOmniMidLevelSkill->theirPlayer.empty() ? nullptr : bOmniMidLevelSkill->theirPlayer.front();
}

int DefenseMarker::numOfAlliesInTod(Player* p)
{
    int n = 0;
    for (Player* a : bOmniMidLevelSkill->ourPlayer)
        if (a->unum != ws->unum && covers(planar(a), planar(p)))
            n++;
    return n;
}

float DefenseMarker::calculateClosestAllyToPointWithinTod(Vector point)
{
    bOmniMidLevelSkill->sortourPlayersBasedonDistancetoBall(false);
    float best = 100;
    for (Player* a : bOmniMidLevelSkill->ourPlayer) {
        const float d = planar(a).getDistanceTo(point);
        if (a->unum != ws->unum && d < best && covers(planar(a), point))
            best = d;
    }
    return best;
}

void DefenseMarker::calculateRisk(Player* p)
{
    bOmniMidLevelSkill->sortTheirPlayersBasedonDistancetoBall();
    const Player* oppCloseBall =
        bOmniMidLevelSkill->theirPlayer.empty() ? nullptr : bOmniMidLevelSkill->theirPlayer.front();
    const Vector at = planar(p);
    const float distBallOpp = at.getDistanceTo(ws->ballPos);
    const float distClosestAlly = calculateClosestAllyToPointWithinTod(at);
    const float distGoal = at.getDistanceTo(ws->myGoalPos);
    // The own ranking is the one the closest-ally search just made.
    const int alliesInsideTod = numOfAlliesInTod(p);

    float risk = 0;
    risk += distGoal < fastKickThreashold ? 4 : distGoal < superKickThreashold ? 3 : distGoal < longKickThreashold ? 2 : 1;
    risk += distClosestAlly > superKickThreashold ? 3
            : distClosestAlly > fastKickThreashold ? 2
            : distClosestAlly > carryBallThreshold ? 1
                                                   : 0;
    risk += alliesInsideTod == 0 ? 3 : alliesInsideTod == 1 ? 2 : alliesInsideTod == 2 ? 1 : 0;
    if (distBallOpp < carryBallThreshold || (oppCloseBall != nullptr && p->unum == oppCloseBall->unum))
        risk = 0;
    p->risk = risk;
}

void DefenseMarker::calculateAvailability(Player* p)
{
    calculateClosestOpponentToBall();
    const Role role = p->getRole();
    float availability;
    if (role.isExecutingGoalie() || !(role.isDefensive() || role.isBackKeeper())) {
        availability = -1;
    } else if (playerWithBall == nullptr) {
        availability = 2;
    } else {
        const Vector b = planar(playerWithBall);
        const float distOppMe = planar(p).getDistanceTo(b);
        const float distOppGoal = b.getDistanceTo(ws->myGoalPos);
        const int alliesInTod = numOfAlliesInTod(playerWithBall);
        const Vector s = strategy == nullptr ? planar(p) : strategy->GetStrategicPos(p->unum);
        if (p->position.x < b.x)
            availability = 2;
        else if (covers(s, b) && alliesInTod < numberOfAlliesThreshold)
            availability = distOppMe - (distOppGoal + safety) / 2;
        else
            availability = (distOppMe - distTreashold) / distFactor;
    }
    p->availability = availability;
}

bool DefenseMarker::sidelineRuleApplies() const
{
    const Role role = ws->me->getRole();
    if (setOPPKickoff && role.isSupport())
        return true;
    return ws->game->gameTime - lastOPPKickoff < KICKOFF_WINDOW &&
           (role.isSupport() || (role.isKeeper() && !role.isCenterKeeper()));
}

Player* DefenseMarker::sidelineTarget()
{
    const Vector me = ws->myPos;
    // On the centre line there is no side to keep to.
    if (me.y == 0)
        return nullptr;
    const float s = me.y > 0 ? 1.0f : -1.0f;
    float best = 20;
    Player* result = nullptr;
    for (Player* o : bOmniMidLevelSkill->theirPlayer) {
        const Vector at = planar(o);
        const float d = at.getDistanceTo(Vector(at.x, 10 * s));
        if (o->risk >= 2 && at.x > me.x && at.y * s > 0 && d < best) {
            best = d;
            result = o;
        }
    }
    return result;
}

Player* DefenseMarker::mainTarget()
{
    calculateAvailability(ws->me);
    const float mine = ws->me->availability;
    if (!(mine > 0) || playerWithBall == nullptr)
        return nullptr;
    const Vector b = planar(playerWithBall);
    const Vector s = strategicPos();
    std::vector<Player*> allies = bOmniMidLevelSkill->ourPlayer;
    const std::vector<Player*> opponents = bOmniMidLevelSkill->theirPlayer;
    for (Player* o : opponents) {
        if (o->risk < 2 || (o->risk <= 4 && mine < 1))
            continue;
        const Vector at = planar(o);
        std::stable_sort(allies.begin(), allies.end(), [&at](const Player* a, const Player* c) {
            return planar(a).getDistanceTo(at) < planar(c).getDistanceTo(at);
        });
        for (Player* a : allies) {
            if (a->unum != ws->unum) {
                if (o->risk <= 4 && a->availability >= 1)
                    continue;
                break;
            }
            bool take = !covers(s, b) || std::fabs(b.x - ws->myGoalPos.x) > 15 || covers(at, b);
            if (take && ws->game->playmode == QUORVEL_GOAL_KICK && !(at.getDistanceTo(ws->ballPos) > 2))
                take = false;
            if (take)
                return o;
            break;
        }
    }
    return nullptr;
}

Player* DefenseMarker::chooseTarget()
{
    bOmniMidLevelSkill->sortourPlayersBasedonDistancetoBall(false);
    const std::vector<Player*> allies = bOmniMidLevelSkill->ourPlayer;
    bOmniMidLevelSkill->sortTheirPlayersBasedonDistancetoBall();
    const std::vector<Player*> opponents = bOmniMidLevelSkill->theirPlayer;
    for (Player* o : opponents)
        calculateRisk(o);
    for (Player* a : allies)
        calculateAvailability(a);
    // The rankings as chooseTarget saw them.
    bOmniMidLevelSkill->ourPlayer = allies;
    bOmniMidLevelSkill->theirPlayer = opponents;

    if (ws->game->playmode == OPPONENT_KICKOFF)
        setOPPKickoff = true;
    if (ws->game->getPreviousMode() == OPPONENT_KICKOFF && setOPPKickoff) {
        lastOPPKickoff = ws->game->gameTime;
        setOPPKickoff = false;
    }
    if (sidelineRuleApplies())
        return sidelineTarget();
    return mainTarget();
}

bool DefenseMarker::isActiveMarkerAvailable(Player* fastestOpp)
{
    marcador = 0;
    Player* opp = fastestOpp == nullptr ? nullptr : ws->getOpponentPlayer(fastestOpp->unum);
    if (opp == nullptr)
        return false;
    const Vector o = planar(opp);
    const Vector me = ws->myPos;
    const float d = me.getDistanceTo(o);

    bOmniMidLevelSkill->sortourPlayersBasedonDistancetoBall(false);
    int marcadorAux = 0;
    for (Player* a : bOmniMidLevelSkill->ourPlayer) {
        if (a->isStanding() && (covers(planar(a), o) || ws->allyWithinGoalieTriangle(planar(a), o))) {
            marcadorAux = a->unum;
            break;
        }
    }
    if (marcadorAux >= 1 && ws->game->playmode == PLAY_ON) {
        const Player* other = ws->getOstrevandaPlayer(marcadorAux);
        if ((covers(me, o) || ws->allyWithinGoalieTriangle(me, o)) && other != nullptr &&
            planar(other).getDistanceTo(o) > d)
            marcador = ws->unum;
    } else if (marcadorAux == ws->unum) {
        marcador = ws->unum;
    }
    return marcador == ws->unum && ws->unum != 1 && ws->ballPos.getDistanceTo(o) < 2;
}

bool DefenseMarker::isPassiveMarkerAvailable(Player* targ)
{
    if (targ == nullptr)
        return false;
    const float g = ws->myGoalPos.x, L = ws->fieldLenght;
    const Role role = ws->me->getRole();
    const Vector ball = ws->ballPos;
    const Vector t = planar(targ);
    float lo = g, hi;
    if (ball.x < g + L / 2) {
        hi = role.isDefensiveBack() ? g + L / 4 : g + L / 2;
    } else if (role.isBackKeeper()) {
        lo = g + L / 2;
        hi = g + 0.75f * L;
    } else if (role.isDefensiveFront()) {
        hi = g + L / 2;
    } else if (role.isSupport() || role.isFrontKeeper()) {
        hi = ws->theirGoalPos.x;
    } else {
        hi = g + L / 4;
    }
    if (std::fabs(ball.x - g) < 4 && std::fabs(t.y - ball.y) < 5)
        return false;
    if (t.x < lo || t.x > hi)
        return false;
    const Vector s = strategicPos();
    if (ws->isInsideGoalArea(s) || ws->isInsideTheirGoalArea(s))
        return false;
    if (ws->unum == 5 && ws->gTime - ws->getLastQuorvelKickoff() < 25)
        return false;
    const int pm = ws->game->playmode;
    return t.getDistanceTo(ws->myPos) < 9 && pm != QUORVEL_KICKOFF && pm != OPPONENT_KICKOFF;
}

bool DefenseMarker::continueMarking(Player* target, bool active)
{
    bOmniMidLevelSkill->sortTheirPlayersBasedonDistancetoBall();
    const Player* first = bOmniMidLevelSkill->theirPlayer.empty() ? nullptr : bOmniMidLevelSkill->theirPlayer.front();
    const Vector s = strategicPos();
    bool answer = target != nullptr;
    if (answer) {
        const Vector t = planar(target);
        bOmniMidLevelSkill->sortourPlayersBasedonDistancetoBall(false);
        const Player* nearest = nullptr;
        for (Player* a : bOmniMidLevelSkill->ourPlayer)
            if (a->isStanding()) {
                nearest = a;
                break;
            }
        const bool ourBall = nearest != nullptr &&
                             planar(nearest).getDistanceTo(ws->ballPos) < t.getDistanceTo(ws->ballPos) + 2;
        const Vector me = ws->myPos;
        const bool inZone = covers(s, t) || covers(me, t) || ws->allyWithinGoalieTriangle(s, t) ||
                            ws->allyWithinGoalieTriangle(me, t);
        const bool outMarkingZone = !inZone && ws->game->playmode != OPPONENT_KICKOFF;
        if (active) {
            if (first == nullptr || target->unum != first->unum || outMarkingZone || ourBall)
                answer = false;
        } else {
            calculateRisk(target);
            if (target->risk < 2 || ourBall || (outMarkingZone && target->risk < 6))
                answer = false;
        }
    }
    if (!answer)
        ws->defState->resetDefensiveMarker();
    return answer;
}

bool DefenseMarker::sideKeeperWindow(Player* target) const
{
    const Role role = ws->me->getRole();
    return ws->game->gameTime - lastOPPKickoff < KICKOFF_WINDOW && role.isKeeper() && !role.isCenterKeeper() &&
           planar(target).getDistanceTo(ws->myGoalPos) > 6;
}

DefenseMarker::Move DefenseMarker::markingMove(Player* target, bool active)
{
    const Vector me = ws->myPos;
    const Vector ball = ws->ballPos;
    const Vector finalPos(ws->ball->finalPos.x, ws->ball->finalPos.y);
    if (target == nullptr)
        return {strategicPos(), (finalPos - me).getDirection()};

    const Vector t = planar(target);
    const Vector goal = ws->myGoalPos;
    const float toBall = t.getDistanceTo(ball);
    const float raioDist = toBall > 15 ? -0.15f : toBall > 10 ? -0.1f : -0.05f;
    const float m = std::fabs(raioDist) * t.getDistanceTo(goal);
    Vector p(t.x - m, t.y >= 0 ? t.y - m : t.y + m);
    const int pm = ws->game->playmode;
    if (pm == QUORVEL_KICKOFF || pm == OPPONENT_KICKOFF)
        p.x = strategicPos().x - 0.5f;
    float facing = t.getDistanceTo(goal) < 5 ? (ball - t).getDirection() : (t - goal).getDirection();

    if (sideKeeperWindow(target)) {
        p.x = t.x - 3.5f;
        return {p, facing};
    }
    if (active) {
        // Where the line from the target through the ball meets our goal line.
        bool towardGoal = false;
        if (std::fabs(ball.x - t.x) > 1e-6f) {
            const float slope = (ball.y - t.y) / (ball.x - t.x);
            const float qy = t.y + slope * (goal.x - t.x);
            if (std::fabs(qy) < 8 && ball.x - goal.x > 6) {
                towardGoal = true;
                p = Vector(ball.x - 1, t.y + slope * (ball.x - 1 - t.x));
            }
        }
        if (!towardGoal) {
            const Vector3f& v = ws->ball->speed;
            p = Vector(v.x, v.y).length() > 0.3f ? finalPos : ball;
        }
        facing = (p - me).getDirection();
        return {p, facing};
    }
    const Vector stored = ws->defState->markingPoint;
    if (stored != Vector(0, 0) && stored.getDistanceTo(p) < 1)
        p = stored;
    return {p, facing};
}

void DefenseMarker::walk(Vector point, float facing)
{
    if (agentActions != nullptr)
        agentActions->goToStrategicPoint(point, facing, true, true, true, Circle(ws->ballPos, 0.1f));
}

void DefenseMarker::executeBehavior(Player* target, bool active)
{
    const Move m = markingMove(target, active);
    if (target != nullptr && !sideKeeperWindow(target)) {
        DefensiveMarkerState& record = *ws->defState;
        if (active) {
            record.activeMarker = true;
        } else {
            record.passiveMarker = true;
            record.markingPoint = m.point;
        }
        record.target = target;
    }
    walk(m.point, m.facing);
}

void DefenseMarker::executeBehavior(Vector oppPos)
{
    if (agentActions != nullptr)
        agentActions->goToStrategicPoint(oppPos, (oppPos - ws->myPos).getDirection(), true, true, true,
                                         Circle(oppPos, 0.5f));
}
