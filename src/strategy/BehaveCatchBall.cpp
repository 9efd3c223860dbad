#include "strategy/BehaveCatchBall.h"
#include "world/TwoBest.h"

#include <cmath>
#include <vector>

#include "geometry/Vector.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

Vector planar(Player* p) { return p == nullptr ? Vector(0, 0) : Vector(p->position.x, p->position.y); }

bool isPlayOnMode(int pm) { return pm == PLAY_ON || pm == PASS_QUORVEL || pm == PASS_OPPONENT; }

}  // namespace

BehaveCatchBall::BehaveCatchBall(WorldState* ws, AgentActions* actions)
    : StrategicBehavior(ws, actions), closeCand(0), closeCand2(0), active(false), actState(), lastPlayMode(-1)
{
    actState.reset();
}

bool BehaveCatchBall::isActiveAvailable()
{
    const int winner = ws->getCurrentActivePlayer();
    if (winner != 0) {
        ws->cor = 1;
        return ws->unum == winner;
    }
    ws->cor = 2;
    return ws->unum == ws->closeTeam;
}

bool BehaveCatchBall::isActiveAvailable(int unum, int fastestOpponent)
{
    Player* mate = ws->getOstrevandaPlayer(unum);
    const Vector team = planar(mate);
    const Vector opp = planar(ws->getOpponentPlayer(fastestOpponent));
    const Vector ball = ws->ballPos;
    const Vector goalCentre(ws->myGoalPos.x, ws->myGoalPos.y);
    const float diffDistToBallTeamOpp = team.getDistanceTo(ball) - opp.getDistanceTo(ball);
    const bool goalie = unum == 1 || (mate != nullptr && mate->getRole().isGoalie());
    const int pm = ws->game->playmode;
    const int carrier = ws->getFastestCarrier(), carrier2 = ws->getFastestCarrier2();
    const int blocker = ws->getFastestBlocker(), blocker2 = ws->getFastestBlocker2();
    const bool ballInArea = ws->isInsideGoalArea(ball);

    // 1, 2: the goalie stays home unless the ball comes to it.
    if (goalie && ball.getDistanceTo(goalCentre) > 5)
        return false;
    if (goalie && ws->isInsideGoalArea(team) && ws->isStanding(unum, false) && unum == carrier && ballInArea &&
        opp.getDistanceTo(ball) >= 5)
        return true;
    // 3, 4: our set pieces.
    if (pm == QUORVEL_CORNER_KICK)
        return unum == blocker || (blocker == 0 && unum == ws->closeTeam);
    if (pm == QUORVEL_KICKIN || pm == QUORVEL_FREE_KICK)
        return unum == blocker || (blocker == 0 && unum == carrier) ||
               (blocker == 0 && carrier == 0 && unum == ws->closeTeam);
    // 5: the ball in our goal area.
    if (ballInArea) {
        Player* keeper = ws->getOstrevandaPlayer(1);
        if (pm == QUORVEL_GOAL_KICK && ws->isStanding(1, false) && ws->isInsideGoalArea(planar(keeper)))
            return goalie;
        if (unum == carrier)
            return true;
        if (carrier == 0 && unum == blocker)
            return true;
        if (carrier == 0 && blocker == 0 && unum == ws->closeTeam)
            return true;
    }
    const bool isClose = unum == ws->closeTeam || unum == ws->closeTeam2;
    // 6: we have the ball.
    if (ws->playerWithBall() == WorldState::ALLY) {
        if (isClose && unum == carrier)
            return true;
        if ((unum == carrier || unum == carrier2) && diffDistToBallTeamOpp <= 2)
            return true;
        float diffCarrier = 0, diffCarrier2 = 0;
        bool shouldCloseTeamBeActive = true;
        if (carrier != 0) {
            diffCarrier = planar(ws->getOstrevandaPlayer(carrier)).getDistanceTo(ball) - opp.getDistanceTo(ball);
            if (diffCarrier <= 2)
                shouldCloseTeamBeActive = false;
        }
        if (carrier2 != 0) {
            diffCarrier2 = planar(ws->getOstrevandaPlayer(carrier2)).getDistanceTo(ball) - opp.getDistanceTo(ball);
            if (diffCarrier2 <= 2)
                shouldCloseTeamBeActive = false;
        }
        if (shouldCloseTeamBeActive && unum == ws->closeTeam)
            return true;
        if (carrier != 0 && unum == ws->closeTeam && diffCarrier >= -1)
            return true;
        if (carrier2 != 0 && unum == ws->closeTeam && diffCarrier2 >= -1)
            return true;
        return false;
    }
    // 7: they have the ball, or nobody.
    if (isClose && unum == blocker)
        return true;
    if (ball.x < 3.4f && (unum == blocker || unum == blocker2))
        return true;
    if (blocker != 0) {
        if (unum == blocker)
            return true;
        const float diffDistTeamBlockerToBall =
            planar(ws->getOstrevandaPlayer(blocker)).getDistanceTo(ball) - team.getDistanceTo(ball);
        if (diffDistTeamBlockerToBall > 1)
            return unum == ws->closeTeam;
        return unum == blocker2 && unum == carrier;
    }
    return unum == ws->closeTeam;
}

int BehaveCatchBall::selectActiveCandidate(int fastestOpponent)
{
    const int pm = ws->game->playmode;
    if (lastPlayMode == -1)
        lastPlayMode = pm;
    if (ws->getIsSetplayActive())
        return ws->leadPlayer;

    const Vector ball = ws->ballPos;
    std::vector<int> candidates;
    for (int u = 1; u <= WorldState::MAX_UNUM; u++)
        if (isActiveAvailable(u, fastestOpponent))
            candidates.push_back(u);

    if (!candidates.empty()) {
        closeCand = closeCand2 = 0;
        float best = 100, second = 120;
        for (int u : candidates) {
            offerToTwoBest(u, planar(ws->getOstrevandaPlayer(u)).getDistanceTo(ball), closeCand,
                           best, closeCand2, second);
        }
        if (!isPlayOnMode(pm) || closeCand2 == 0)
            return closeCand;
        const int c1 = closeCand, c2 = closeCand2;
        const int carrier = ws->getFastestCarrier();
        const int blocker = ws->getFastestBlocker(), blocker2 = ws->getFastestBlocker2();
        const bool c1Front = planar(ws->getOstrevandaPlayer(c1)).x > ball.x;
        const bool c2Behind = planar(ws->getOstrevandaPlayer(c2)).x < ball.x;
        if ((c2 == carrier || (c1Front && c2Behind)) && (c2 == blocker || c2 == blocker2))
            return c2;
        if (c2 == blocker && c1 != carrier)
            return c2;
        if (c1 != blocker && c2 == blocker2 && c1 != carrier)
            return c2;
        return c1;
    }

    // Nobody eligible: the nearer of the two nearest, or the one that faces
    // the ball better.
    const int t1 = ws->closeTeam, t2 = ws->closeTeam2;
    Player* p1 = ws->getOstrevandaPlayer(t1);
    Player* p2 = ws->getOstrevandaPlayer(t2);
    if (p1 == nullptr || p2 == nullptr)
        return t1;
    const float d1 = planar(p1).getDistanceTo(ball), d2 = planar(p2).getDistanceTo(ball);
    auto facing = [&ball](Player* p) {
        return GetNormalizeAngleDeg(std::fabs(GetNormalizeAngleDeg(p->orientation) -
                                              GetNormalizeAngleDeg((ball - planar(p)).getDirection())));
    };
    const float a1 = facing(p1), a2 = facing(p2);
    const int bestTeamOri = a2 >= a1 ? t1 : t2;
    if (std::fabs(d1 - d2) < 1)
        return bestTeamOri;
    if (std::fabs(a1 - a2) > 60)
        return bestTeamOri;
    return t1;
}

bool BehaveCatchBall::shouldStayActive()
{
    const int pm = ws->game->playmode;
    const bool passMode = [](int m) { return m == PASS_QUORVEL || m == PASS_OPPONENT; }(lastPlayMode) ||
                          pm == PASS_QUORVEL || pm == PASS_OPPONENT;
    bool stay = true;
    if (lastPlayMode != pm && !passMode) {
        stay = false;
    } else if (isPlayOnMode(lastPlayMode)) {
        const int me = ws->unum;
        const bool lost = (actState.closeT && me != ws->closeTeam) || (actState.closeT2 && me != ws->closeTeam2) ||
                          (actState.fastestC && me != ws->getFastestCarrier()) ||
                          (actState.fastestC2 && me != ws->getFastestCarrier2()) ||
                          (actState.fastestB && me != ws->getFastestBlocker()) ||
                          (actState.fastestB2 && me != ws->getFastestBlocker2());
        stay = !lost && ws->isStanding(me, false);
    }
    if (!stay) {
        switchActive();
        actState.reset();
    }
    return stay;
}
