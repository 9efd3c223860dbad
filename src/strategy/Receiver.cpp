#include "strategy/Receiver.h"

#include <cmath>

#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float KICKOFF_RUN_TIME = 25.0f;
const int KICKOFF_RECEIVER = 11;
const float SECTOR_BALL_DIST = 3.0f;
const float OBSTACLE_DIST = 1.0f;
const float NOBODY_DIST = 30.0f;
const float TARGET_CLEARANCE = 1.0f;

bool finite(Vector v) { return std::isfinite(v.x) && std::isfinite(v.y); }

} // namespace

Receiver::Receiver()
    : StrategicBehavior(&Singleton<WorldState>::getInstance(), nullptr),
      activePass(false),
      withBall(false),
      kind(ACTIVE),
      deadline(0),
      teamWithBall(WorldState::NOBODY)
{
}

bool Receiver::isAvailable(int k)
{
    kind = k;
    if (k == ACTIVE)
        return isActiveAvaliable();
    if (k == PASSIVE)
        return isPassiveAvaliable();
    return false;
}

bool Receiver::kickOffRun() const
{
    return ws->gTime - ws->getLastQuorvelKickoff() < KICKOFF_RUN_TIME &&
           ws->unum == KICKOFF_RECEIVER;
}

bool Receiver::isActiveAvaliable()
{
    if (kickOffRun())
        return true;
    teamWithBall = ws->playerWithBall();
    int mode = ws->game->playmode;
    if (mode == QUORVEL_KICKOFF || mode == OPPONENT_KICKOFF || mode == QUORVEL_CORNER_KICK ||
        mode == QUORVEL_KICKIN)
        return false;
    if (teamWithBall == WorldState::OPP || ws->commPassPlayer != ws->unum) {
        deadline = 0;
        return false;
    }
    bool senderHolds = teamWithBall == WorldState::ALLY && ws->playWB == ws->passerId + 1;
    if (deadline < 1) {
        if (!senderHolds)
            return false;
        deadline = PASS_CYCLES;
        return true;
    }
    if (teamWithBall == WorldState::ALLY && !senderHolds) {
        deadline = 0;
        return false;
    }
    --deadline;
    return true;
}

bool Receiver::isPassiveAvaliable()
{
    if (ws->game->playmode != QUORVEL_FREE_KICK || !isWithinSector())
        return false;
    definingRecvPoints();
    return imClosest();
}

bool Receiver::isWithinSector()
{
    return std::fabs(ws->myPos.x) > std::fabs(ws->ballPos.x) ||
           ws->myPos.getDistanceTo(ws->ballPos) < SECTOR_BALL_DIST;
}

void Receiver::definingRecvPoints()
{
    points.clear();
    std::vector<Vector> zone = passMethods.getBallZone();
    passMethods.calculaTamanhoTrajetoria();
    float spacing = passMethods.getSpacingAngle(0.9f);
    Vector ball = ws->ballPos;
    for (Vector dir : PassMethods::fanDirections(zone, spacing)) {
        ReceivingPoint rp;
        Vector p = ball + dir * passMethods.alcanceChute;
        rp.setOutField(passMethods.isOfftheField(p));
        rp.setBlocked(passMethods.isBlockedPoint(p));
        rp.setDirection(dir);
        rp.setPoint(p);
        std::vector<int> obstacles = getObstacles(p);
        rp.setAllyObstacles(obstacles[0]);
        rp.setOppObstacles(obstacles[1]);
        points.push_back(rp);
    }
}

std::vector<int> Receiver::getObstacles(Vector p)
{
    int allies = 0, opps = 0;
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        Player* mate = ws->getOstrevandaPlayer(n);
        if (mate != nullptr && mate != ws->me && mate->isStanding() &&
            mate->position.to2d().getDistanceTo(p) <= OBSTACLE_DIST)
            ++allies;
        Player* opp = ws->getOpponentPlayer(n);
        if (opp != nullptr && opp->isStanding() &&
            opp->position.to2d().getDistanceTo(p) <= OBSTACLE_DIST)
            ++opps;
    }
    return {allies, opps};
}

int Receiver::allyClosestPoint(int i)
{
    ReceivingPoint& rp = points.at(i);
    int best = 0;
    float bestDist = NOBODY_DIST;
    for (const auto& entry : ws->ostrevanda) {
        Player* pl = entry.second;
        if (pl == nullptr || !WorldState::isShirtNumber(entry.first))
            continue;
        if (pl != ws->me && !pl->isStanding())
            continue;
        float d = pl->position.to2d().getDistanceTo(rp.getPoint());
        if (d < bestDist) {
            bestDist = d;
            best = entry.first;
        }
    }
    rp.setPlayerClosest(best);
    rp.dist = bestDist;
    return best;
}

bool Receiver::imClosest()
{
    for (size_t i = 0; i < points.size(); ++i) {
        if (points[i].getOutField())
            continue;
        if (allyClosestPoint((int)i) == ws->unum && ws->unum != 0) {
            closestPoint = points[i];
            return true;
        }
    }
    return false;
}

bool Receiver::loadPassFormation()
{
    int mode = ws->game->playmode;
    if (mode == QUORVEL_KICKOFF || mode == OPPONENT_KICKOFF || mode == QUORVEL_CORNER_KICK)
        return false;
    teamWithBall = ws->playerWithBall();
    if (teamWithBall == WorldState::ALLY || mode == QUORVEL_FREE_KICK) {
        withBall = activePass = true;
        return true;
    }
    return false;
}

void Receiver::walkTo(Vector target)
{
    // A point from a heard message may be anything.
    if (!finite(target))
        return;
    Vector me = ws->myPos;
    actions()->goToStrategicPoint(
        target, (target - me).getDirection(), true, true, true, Circle(target, TARGET_CLEARANCE));
}

void Receiver::executeBehavior()
{
    if (kind == ACTIVE) {
        if (kickOffRun())
            walkTo(Vector(ws->theirGoalPos.x - 12.0f, ws->theirGoalPos.y + 6.3f));
        else
            walkTo(ws->commPassPosition);
    } else if (kind == PASSIVE && ws->game->playmode != PLAY_ON) {
        walkTo(closestPoint.getPoint());
    }
}
