#include "planning/PotentialFields.h"

#include <cmath>
#include <map>

#include "strategy/Role.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

bool inGoalAreaZone(Vector p) { return (p.x < -13 || p.x > 13) && p.y >= -3 && p.y <= 3; }

// The zone of our goal area (negative x) or of theirs.
bool inGoalAreaZone(Vector p, bool ours) { return inGoalAreaZone(p) && (ours ? p.x < 0 : p.x > 0); }

}  // namespace

PotentialFields::PotentialFields() : ws(&Singleton<WorldState>::getInstance()) {}

Vector PotentialFields::checkArea(Vector area)
{
    if (ws->quantAllysInGoalArea() > 2) {
        if (!inGoalAreaZone(area))
            return checkLine(area);
        if (inGoalAreaZone(ws->myPos))
            return area;
        return checkLine(calcNewPosition(area, true));
    }
    if (inGoalAreaZone(area) && ws->game->playmode == OPPONENT_GOAL_KICK)
        return calcNewPosition(area, false);
    return area;
}

Vector PotentialFields::calcNewPosition(Vector area, bool flag)
{
    // Only a target in the zone in front of x0 moves; one at the other end
    // of the field stays where it is.
    if (!inGoalAreaZone(area, flag))
        return area;
    const Vector v = area - ws->myPos;
    const float x0 = flag ? -12.0f : 12.0f;
    // Straight ahead or behind in x there is no slope to follow: keep y.
    float c = 0;
    if (v.x != 0) {
        c = std::tan(v.y / v.x) * (x0 - area.x);
        if (!std::isfinite(c))
            c = 0;
    }
    // A target on the line y = 0 stays on it.
    const float s = area.y > 0 ? 1.0f : (area.y < 0 ? -1.0f : 0.0f);
    return Vector(x0, s * std::fabs(area.y - c));
}

Vector PotentialFields::checkLine(Vector finalPos)
{
    const Vector me = ws->myPos;
    Vector a(0, 0), b(0, 0);
    if (me.x != 0 && me.y != 0) {
        const float sx = me.x < 0 ? -1.0f : 1.0f;
        const float sy = me.y < 0 ? -1.0f : 1.0f;
        a = Vector(15 * sx, 3 * sy);
        b = Vector(12.7f * sx, 3 * sy);
    }
    if (!checkIntersection(me, finalPos, a, b))
        return finalPos;
    if (finalPos.x < -13)
        return Vector(-12.5f, finalPos.y);
    if (finalPos.x > 13)
        return Vector(12.5f, finalPos.y);
    if (me.x < -13.5f || me.x > 13.5f)
        return Vector(finalPos.x, me.y <= -3 ? -3.5f : 3.5f);
    return finalPos;
}

Vector PotentialFields::checkIntersectionGoalPost(Vector finalPos)
{
    const auto goalie = ws->ostrevanda.find(1);
    const bool ours = goalie != ws->ostrevanda.end() && goalie->second != nullptr && goalie->second->position.x < 0;
    const float s = ours ? -1.0f : 1.0f;
    if (checkIntersection(ws->myPos, finalPos, Vector(15.2f * s, -1.05f), Vector(15.2f * s, 1.05f)))
        return Vector(15.1f * s, finalPos.y);
    return finalPos;
}

Vector PotentialFields::checkIntersectionGoalSide(Vector finalPos)
{
    const Vector me = ws->myPos;
    const float half = ws->goalWidth / 2;
    if (std::fabs(me.x) < 14 && std::fabs(me.y) > half)
        return finalPos;
    const float s = me.x < 0 ? -1.0f : 1.0f;
    const float g = ws->theirGoalPos.y;
    // My way crosses the horizontal line y = ly at this x.
    for (float ly : {g + half, g - half}) {
        if (finalPos.y == me.y)
            continue;
        const float x = me.x + (ly - me.y) * (finalPos.x - me.x) / (finalPos.y - me.y);
        if (std::fabs(x) > 14.75f && std::fabs(x) < 16)
            return Vector(14 * s, ly);
    }
    return finalPos;
}

float PotentialFields::Det2(float x1, float x2, float y1, float y2) { return x1 * y2 - y1 * x2; }

bool PotentialFields::checkIntersection(Vector myPos, Vector finalPos, Vector iniLine, Vector finalLine)
{
    const float tol = 1e-6f;
    const Vector p1 = myPos, p2 = finalPos, p3 = iniLine, p4 = finalLine;
    const float a = Det2(p1.x - p2.x, p1.y - p2.y, p3.x - p4.x, p3.y - p4.y);
    if (std::fabs(a) < 1.1920929e-7f)
        return false;
    const float d1 = Det2(p1.x, p1.y, p2.x, p2.y);
    const float d2 = Det2(p3.x, p3.y, p4.x, p4.y);
    const float x = Det2(d1, p1.x - p2.x, d2, p3.x - p4.x) / a;
    const float y = Det2(d1, p1.y - p2.y, d2, p3.y - p4.y) / a;
    auto within = [tol](float v, float e1, float e2) {
        return v >= std::min(e1, e2) - tol && v <= std::max(e1, e2) + tol;
    };
    return within(x, p1.x, p2.x) && within(x, p3.x, p4.x) && within(y, p1.y, p2.y) && within(y, p3.y, p4.y);
}

bool PotentialFields::checkProx()
{
    const int pm = ws->game->playmode;
    const bool theirs = pm == OPPONENT_KICKOFF || pm == OPPONENT_KICKIN || pm == OPPONENT_CORNER_KICK ||
                        pm == OPPONENT_FREE_KICK;
    return theirs && ws->myPos.getDistanceTo(ws->ballPos) < 3;
}

float PotentialFields::reductionVelAtt(float dist, float speedatTarg)
{
    float c = 1.0f;
    if (ws->myPos.getDistanceTo(ws->ballPos) < 2 && ws->me != nullptr && ws->me->getRole().isAttacker())
        c = 0.8f;
    if (dist <= 0.15f)
        c = speedatTarg;
    if (ws->isKick && dist < 0.6f)
        c = 0.5f;
    return c;
}

Vector PotentialFields::calculatePotentialFields(Vector sourcePos, Vector destPos)
{
    const Vector toDest = destPos - sourcePos;
    const float e = toDest.length();
    if (e < 5)
        return destPos;
    Vector repulsion(0, 0);
    int counted = 0;
    for (const auto& o : ws->opponentTeam) {
        if (counted++ >= 11)
            break;
        Player* p = o.second;
        if (p == nullptr || !p->isStanding())
            continue;
        const Vector away = p->position.to2d() - sourcePos;
        const float d = away.length();
        if (d <= 0)
            continue;
        repulsion = repulsion + away * (std::pow(1.0f / d, 1.1f) / d);
    }
    const float m = std::max(std::pow(1.0f / e, 0.8f) * 1.0f, 1.0f);
    const Vector t = toDest * (m / e) - repulsion * 1.0f;
    const float dir = (t.x == 0 && t.y == 0) ? static_cast<float>(M_PI / 2) : std::atan2(t.y, t.x);
    return Vector(sourcePos.x + 3 * std::cos(dir), sourcePos.y + 3 * std::sin(dir));
}
