// Clearing targets, free space at the ball, going for the ball and blocking.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

float WorldState::angleMeTo(Vector p)
{
    Vector m = me->position.to2d();
    return std::fabs(normalizeAngle((p - m).getDirection()) - normalizeAngle(me->orientation));
}

bool WorldState::isInFrontOfMe(Vector t)
{
    return t.globalToRelative(me->position.to2d(), me->orientation).x > 0;
}

bool WorldState::isClearerTarget(Vector t)
{
    if (game->playmode != PLAY_ON && game->playmode != PASS_QUORVEL)
        return false;
    if (ballPos.x > 14 || (ballPos.x <= -12 && std::fabs(ballPos.y) < 8))
        return true;
    if (std::fabs(t.x - me->position.x) < 10 || angleMeTo(t) < 60)
        return false;
    Circle nearBall(ballPos, 3);
    for (const auto& entry : opponentTeam)
        if (nearBall.isInside(entry.second->position.to2d()))
            return true;
    return false;
}

bool WorldState::isTargetOutofField(Vector t)
{
    float ay = std::fabs(t.y);
    if (ay > 8)
        return true;
    if (ay < 4 && t.x < -11)
        return true;
    if (t.x < -13)
        return true;
    if (ay > penaltyWidth / 2 && t.x > 13)
        return true;
    if (ay > goalWidth / 2 && t.x > 15)
        return true;
    if (t.x > 15 + goalDepth)
        return true;
    float by = std::fabs(ballPos.y);
    return ballPos.x <= -13 && goalWidth / 2 + 0.5f < by && by < 8 && ay <= by;
}

int WorldState::numberOfTargetsOutOfField(std::vector<Vector> targ)
{
    int count = 0;
    for (const Vector& t : targ)
        if (isTargetOutofField(t))
            ++count;
    return count;
}

std::vector<Vector> WorldState::generateTargetCandidates(float radius, float ang)
{
    std::vector<Vector> candidates;
    Vector m = me->position.to2d();
    AngleDeg toBall = normalizeAngle((ballPos - m).getDirection());
    for (int i = static_cast<int>(ang); i <= ang + 120; i += 20) {
        Vector c(radius * Cos(i), radius * Sin(i));
        candidates.push_back(c.relativeToGlobal(m, toBall));
    }
    return candidates;
}

Vector WorldState::findClearTarget(Vector t)
{
    float halfGoal = goalWidth / 2;
    if (ballPos.x > 14) {
        if (std::fabs(ballPos.y) > penaltyWidth / 2)
            return Vector(t.x - 1, t.y);
        if (std::fabs(ballPos.y) > halfGoal - 0.168f)
            return Vector(t.x - 0.5f, t.y);
        return t;
    }

    if (ballPos.x < -12 && std::fabs(ballPos.y) < halfGoal + 0.5f && ballPos.x <= myPos.x + 0.2f) {
        bool ballLeft = ballPos.isLeftOf(myPos);
        bool free = true;
        for (const auto& entry : opponentTeam) {
            Vector o = entry.second->position.to2d();
            bool sameSide = ballLeft ? o.isLeftOf(myPos) : o.isRightOf(myPos);
            if (o.x < -12 && sameSide) {
                free = false;
                break;
            }
        }
        if (!free)
            return t;
        return ballLeft ? Vector(-12, -8) : Vector(-12, 8);
    }

    Vector m = me->position.to2d();
    // With nobody ahead the radius starts at its upper bound.
    float radius = 100;
    omniMidLevelSkill planner;
    planner.sortTheirPlayersBasedonDistancetoBall();
    for (Player* opp : planner.theirPlayer) {
        Vector o = opp->position.to2d();
        if (angleMeTo(o) < 60) {
            radius = o.getDistanceTo(m) + 1;
            break;
        }
    }
    if (ballPos.x < -12)
        radius = std::min(std::max(radius, 5.0f), 8.0f);
    else
        radius = std::min(std::max(radius, 3.0f), 6.0f);

    float start = -60;
    std::vector<Vector> candidates = generateTargetCandidates(radius, start);
    AngleDeg toBall = normalizeAngle((ballPos - m).getDirection());
    Vector tRel = t;
    tRel.globalToRelative(m, toBall);
    while (numberOfTargetsOutOfField(candidates) > 4 && -180 < start && start < 60) {
        start += tRel.y < 0 ? -20 : 20;
        candidates = generateTargetCandidates(radius, start);
    }

    std::vector<Vector> usable;
    for (const Vector& c : candidates)
        if (!isTargetOutofField(c))
            usable.push_back(c);

    if (usable.empty()) {
        float by = std::fabs(ballPos.y);
        if (ballPos.x <= -13 && halfGoal + 0.5f < by && by < 8)
            return ballPos.y > 0 ? Vector(-7.5f, 10) : Vector(-7.5f, -10);
        return t;
    }

    float ballAngle = angleMeTo(ballPos);
    auto key = [&](const Vector& c) { return std::fabs(angleMeTo(c) - ballAngle); };
    for (size_t i = 0; i < usable.size(); ++i)
        for (size_t j = i + 1; j < usable.size(); ++j)
            if (key(usable[j]) < key(usable[i]))
                std::swap(usable[i], usable[j]);

    Vector best = t;
    size_t fewest = 100;
    for (const Vector& c : usable) {
        Vector via = planner.findaPath(c, (c - m).getDirection(), 0.5f);
        planner.discoverObstacle(via, false, false, true, Circle(myGoalPos, 2), true);
        if (planner.cobstaclesVec.empty())
            return c;
        if (planner.cobstaclesVec.size() < fewest) {
            fewest = planner.cobstaclesVec.size();
            best = c;
        }
    }
    return best;
}

namespace {

// Whether p lies in the cone ahead of (or behind) the frame at origin
// heading dir, within 45 degrees of that direction.
bool inCone(Vector p, const Vector& origin, AngleDeg dir, bool ahead)
{
    Vector rel = p.globalToRelative(origin, dir);
    float a = std::fabs(rel.getDirection());
    return ahead ? rel.x > 0 && a < 45 : rel.x < 0 && a > 135;
}

} // namespace

// Whether no opponent inside the circle of oppRadius around ballPos stands in
// my cone ahead (front) or behind; also the least opponent distance to the
// ball object.
static bool opponentsClear(WorldState& ws, float oppRadius, bool front, float& oppMinDistToBall)
{
    Vector m = ws.me->position.to2d();
    Vector ballObj = ws.ball->position.to2d();
    bool clear = true;
    oppMinDistToBall = 30;
    Circle oppCircle(ws.ballPos, oppRadius);
    for (const auto& entry : ws.opponentTeam) {
        Vector o = entry.second->position.to2d();
        if (oppCircle.isInside(o) && inCone(o, m, ws.me->orientation, front))
            clear = false;
        oppMinDistToBall = std::min(oppMinDistToBall, o.getDistanceTo(ballObj));
    }
    return clear;
}

bool WorldState::isClearFront(float oppRadius, float& oppMinDistToBall, float teamRadius)
{
    if (teamRadius < 0)
        teamRadius = oppRadius;
    Vector m = me->position.to2d();
    bool clear = opponentsClear(*this, oppRadius, true, oppMinDistToBall);
    if (oppMinDistToBall < m.getDistanceTo(ballPos) - 0.5f)
        return true;

    Circle teamCircle(ballPos, teamRadius);
    for (const auto& entry : ostrevanda) {
        Player* p = entry.second;
        if (p == me)
            continue;
        Vector q = p->position.to2d();
        if (teamCircle.isInside(q) && inCone(q, m, me->orientation, true))
            clear = false;
    }
    return clear;
}

bool WorldState::isClearBack(float oppRadius, float& oppMinDistToBall)
{
    bool clear = opponentsClear(*this, oppRadius, false, oppMinDistToBall);
    if (oppMinDistToBall < me->position.to2d().getDistanceTo(ballPos) - 0.5f)
        return true;
    return clear;
}

bool WorldState::shouldGoDirect()
{
    Vector m = me->position.to2d();
    Vector b = ball->position.to2d();
    float g = goalWidth;
    Line meBall(m, b);
    Line ourGoalLine(myGoalPos, Vector(myGoalPos.x, myGoalPos.y + g / 2));
    Line theirGoalLine(theirGoalPos, Vector(theirGoalPos.x, theirGoalPos.y + g / 2));
    Vector io = meBall.getIntersection(ourGoalLine);
    Vector it = meBall.getIntersection(theirGoalLine);
    float a = angleMeTo(b);
    bool ballInFront = ball->position.x > me->position.x + 0.1f;
    float d = 0;

    if (m.getDistanceTo(theirGoalPos) < 3 && ballInFront && std::fabs(it.y) < g / 2 - 0.336f &&
        isInFrontOfMe(it))
        return true;

    bool clearFront = isClearFront(1, d, -1);

    float by = std::fabs(b.y);
    bool ballOnFlank = b.x <= -13 && g / 2 + 0.5f < by && by < 8;
    bool sameSide = (b.isLeftOf(myGoalPos) && b.isLeftOf(myPos)) ||
                    (b.isRightOf(myGoalPos) && b.isRightOf(myPos));
    if (ballOnFlank && sameSide)
        return clearFront && a <= 60;

    if (m.getDistanceTo(myGoalPos) < 4) {
        bool clearDefense = ballInFront ? clearFront || std::fabs(io.y) > 3.5f
                                        : clearFront && std::fabs(io.y) > 3.5f;
        if (!clearDefense)
            return false;
        RobovizLogger& draw = RobovizLogger::Instance();
        if (closeOppDist > 3) {
            if (ballInFront && std::fabs(it.y) < 3.5f && a <= 60) {
                draw.drawCircle(m, 0.4f, draw.red, "DefBallInFront");
                return true;
            }
            return false;
        }
        if (a <= 60) {
            draw.drawCircle(m, 0.4f, draw.blue, "DefBallBehind");
            return true;
        }
        return false;
    }

    if (a > 60)
        return false;

    if (ballInFront) {
        float toBall = m.getDistanceTo(b);
        if (-15 <= b.x && b.x <= 7 && d < toBall - 0.5f)
            return true;
        if (-15 <= b.x && b.x < 7 && (by < 8 || std::fabs(it.y) < 10))
            return true;
        if (7 < b.x && b.x < 10 && std::fabs(it.y) < 10 && isInFrontOfMe(it))
            return true;
        if (b.x >= 10) {
            if (d < toBall - 1)
                return true;
            if (std::fabs(it.y) < penaltyWidth / 2 && isInFrontOfMe(it) && b.x < 12)
                return true;
            if (std::fabs(it.y) < g / 2 - 0.336f && isInFrontOfMe(it) && b.x <= 14)
                return true;
        }
    }

    clearFront = isClearFront(3, d, 2);
    if (!(!ballInFront && (std::fabs(io.y) > 4 || b.x > -10) && clearFront))
        return false;

    if (std::fabs(io.y) >= 10 && by > 8)
        return false;
    if (by > g / 2 && b.x > 14)
        return false;

    if (b.x >= 0 && isClearBack(3, d))
        return false;
    if (-7.5f <= b.x && b.x < 0 && isClearBack(2, d))
        return false;
    if (b.x < 0 && isClearBack(1, d))
        return false;

    if (b.getDistanceTo(it) > 4)
        Singleton<AgentActions>::getInstance().serverPass();
    return game->playmode != PASS_QUORVEL;
}

bool WorldState::shouldAvoidOpp(Player* opp)
{
    if (opp == nullptr)
        return false;
    Vector m = me->position.to2d();
    Vector f = ball->finalPos.to2d();
    Vector o = opp->position.to2d();
    if (m.getDistanceTo(f) > m.getDistanceTo(o) &&
        std::fabs((f - m).getDirection() - (o - m).getDirection()) < 60 && !f.isBetweenX(m, o))
        return true;
    return !opp->isStanding();
}

int WorldState::closestAllyTo(Vector t, float ang, bool behindBall)
{
    float best = 100;
    int answer = 0;
    for (const auto& entry : ostrevanda) {
        Player* p = entry.second;
        Vector pos = p->position.to2d();
        bool eligible = p->unum == me->unum ? !Singleton<AgentActions>::getInstance().doGetup()
                                            : p->isStanding();
        if (!eligible)
            continue;
        float d = pos.getDistanceTo(t);
        if (!(d < best))
            continue;
        if (ang != -1) {
            Vector rel = t;
            rel.globalToRelative(pos, p->orientation);
            if (!(std::fabs(rel.getDirection()) < ang))
                continue;
        }
        if (behindBall && pos.isBetweenX(theirGoalPos, ballPos))
            continue;
        answer = entry.first;
        best = d;
    }
    return answer;
}

bool WorldState::shouldPassBlock()
{
    if (getCurrentPassBlocker() != me->unum)
        return false;
    if (me->getRole().isGoalie())
        return false;
    if (playerWithBall() == ALLY)
        return false;
    if (game->playmode == PASS_QUORVEL)
        return false;
    if (!(ball->position.x > -3.5f))
        return false;
    int activePlayer = getCurrentActivePlayer();
    Player* active = getOstrevandaPlayer(activePlayer);
    if (active == nullptr || activePlayer == 0)
        return false;
    return active->position.to2d().getDistanceTo(ball->position.to2d()) > 1;
}
