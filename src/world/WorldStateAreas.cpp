// Field areas, cover triangles, shooting directions and kick-off flags.

#include <cctype>
#include <cmath>
#include <locale>

#include "geometry/Geometry.h"
#include "world/WorldState.h"

bool WorldState::isInsideGoalArea(Vector object)
{
    float L = fieldLenght, W = goalWidth;
    float halfY = (W + penaltyWidth) / 2;
    if (-L / 2 <= object.x && object.x <= -L / 2 + penaltyLength && -halfY <= object.y &&
        object.y <= halfY)
        return true;
    return myGoalPos.x - goalDepth <= object.x && object.x <= myGoalPos.x &&
           std::fabs(object.y) <= W / 2;
}

bool WorldState::isInsideTheirGoalArea(Vector object)
{
    float L = fieldLenght;
    float halfY = (goalWidth + penaltyWidth) / 2;
    return L / 2 - penaltyLength <= object.x && object.x <= L / 2 && -halfY <= object.y &&
           object.y <= halfY;
}

bool WorldState::canTeammateEnterOurGoalArea()
{
    int inside = 0;
    for (int n = 1; n <= MAX_UNUM; ++n) {
        Player* p = getOstrevandaPlayer(n);
        if (p != nullptr && isInsideGoalArea(p->position.to2d()))
            ++inside;
    }
    return inside < 3;
}

bool WorldState::isBallOnMySide() { return ball->position.x < 0; }

bool WorldState::isPlayerInInGoalArea(int teamCode, int number)
{
    if (!isBallOnMySide())
        return false;
    Player* p = getPlayer(teamCode, number);
    return p != nullptr && isInsideGoalArea(p->position.to2d());
}

int WorldState::quantAllysInGoalArea()
{
    int count = 0;
    for (int n = 1; n <= MAX_UNUM; ++n)
        if (isPlayerInInGoalArea(0, n))
            ++count;
    return count;
}

namespace {

// The far corners of a cover triangle, chosen by the opponent's y.
void coverLimits(const Vector& opp, const Vector& leftPost, const Vector& rightPost,
                 const Vector& leftCorner, const Vector& rightCorner, Vector& leftLimit,
                 Vector& rightLimit)
{
    Vector widenedLeft(leftPost.x, leftPost.y - 2);
    Vector widenedRight(rightPost.x, rightPost.y + 2);
    if (opp.y > widenedRight.y) {
        rightLimit = rightCorner;
        leftLimit = widenedLeft;
    } else if (opp.y < widenedLeft.y) {
        rightLimit = widenedRight;
        leftLimit = leftCorner;
    } else {
        rightLimit = widenedRight;
        leftLimit = widenedLeft;
    }
}

} // namespace

bool WorldState::allyWithinTriangle(Vector ally, Vector opp)
{
    Vector left, right;
    coverLimits(opp, getBackLeftGoal().to2d(), getBackRightGoal().to2d(), Vector(-15, -10),
                Vector(-15, 10), left, right);
    return Geometry::PointInTriangle(ally, opp, right, left);
}

bool WorldState::allyWithinGoalieTriangle(Vector ally, Vector opp)
{
    Vector left, right;
    coverLimits(opp, getBackLeftGoal().to2d(), getBackRightGoal().to2d(), Vector(opp.x, -10),
                Vector(opp.x, 10), left, right);
    return Geometry::PointInTriangle(ally, myGoalPos, right, left);
}

bool WorldState::withinTheTrajectory(Vector pointA, Vector pointB, Vector pointC)
{
    Vector u = pointB - pointA;
    float k = u.innerProduct(pointC - pointA);
    float len2 = u.innerProduct(u);
    if (k < 0 || k > len2)
        return false;
    // A and B coincide: C is on the trajectory only at that point.
    Vector o = len2 > 0 ? pointA + u * (k / len2) : pointA;
    return o.getDistanceTo(pointC) <= 0.3f;
}

bool WorldState::goodOrientation(Vector InitPos, Vector BallPos, bool self)
{
    float a = normalizeAngle((BallPos - InitPos).getDirection());
    if (self && cFacingBall)
        a = me->orientation;

    float bx = BallPos.x, by = BallPos.y;
    float lo, hi;
    if (bx < -9) {
        if (by < -5) {
            lo = 0; hi = 35;
        } else if (by < -1.5f) {
            lo = -65; hi = 20;
        } else if (by < 0.3f) {
            lo = -70; hi = 50;
        } else if (by < 1.5f) {
            lo = -50; hi = 70;
        } else if (by < 5) {
            lo = 20; hi = 65;
        } else {
            lo = -35; hi = 0;
        }
    } else if (bx < 4) {
        if (by < -5) {
            lo = 0; hi = 45;
        } else if (by < 5) {
            lo = -50; hi = 50;
        } else {
            lo = -45; hi = 0;
        }
    } else if (bx > 4 && bx < 11) {
        if (by < -5) {
            lo = 30; hi = 80;
        } else if (by < -1.3f) {
            lo = 20; hi = 60;
        } else if (by < 1.3f) {
            lo = -30; hi = 30;
        } else if (by < 5) {
            lo = -60; hi = -20;
        } else {
            lo = -80; hi = -30;
        }
    } else {
        return false;
    }
    return lo < a && a < hi;
}

bool WorldState::shouldTurn(Vector target)
{
    int pm = game->playmode;
    if (pm != QUORVEL_CORNER_KICK && pm != QUORVEL_GOAL_KICK && pm != QUORVEL_KICKIN &&
        pm != QUORVEL_FREE_KICK)
        return false;
    Vector m = me->position.to2d();
    float toTarget = normalizeAngle((target - m).getDirection());
    float turn = normalizeAngle(toTarget - me->orientation);
    return std::fabs(turn) > 35 && ball->position.to2d().getDistanceTo(m) > 2;
}

bool WorldState::isOppKickOff()
{
    if (game->playmode == OPPONENT_KICKOFF)
        oppKickOff = true;
    else
        oppKickOff = game->playmode == PLAY_ON && oppKickOff &&
                     gTime - getLastOponentKickoff() < 25;
    return oppKickOff;
}

bool WorldState::isKVDKickOff()
{
    std::string name = opponentName;
    std::locale loc;
    for (char& c : name)
        c = std::tolower(c, loc);
    if (name.find("ostrevanda") != std::string::npos) {
        if (game->playmode == OPPONENT_KICKOFF)
            kvdKickOffFlag = true;
        else
            kvdKickOffFlag = game->playmode == PLAY_ON && kvdKickOffFlag &&
                             gTime - getLastOponentKickoff() < 25;
    }
    return kvdKickOffFlag;
}

void WorldState::setLastQuorvelKickoff(float t) { lastQuorvelKickoff = t; }

float WorldState::getLastQuorvelKickoff() const { return lastQuorvelKickoff; }

void WorldState::setLastOponentKickoff(float t) { lastoppkickoff = t; }

float WorldState::getLastOponentKickoff() const { return lastoppkickoff; }

void WorldState::setPlayerRoles(std::vector<std::pair<int, Role>> roles) { vPlayersRoles = roles; }

std::vector<std::pair<int, Role>> WorldState::getPlayersRoles() const { return vPlayersRoles; }
