#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"

#include <algorithm>
#include <cmath>

#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Extra margin round the first obstacle within which others are merged.
const float MERGE_MARGIN = 0.13f;
const float BALL_RADIUS = 0.042f;

Vector planarBall() { return Singleton<WorldState>::getInstance().ball->position.to2d(); }

Vector planarMe() { return Singleton<WorldState>::getInstance().me->position.to2d(); }

// p in the frame at origin heading dir.
Vector toFrame(Vector p, const Vector& origin, AngleDeg dir)
{
    return p.globalToRelative(origin, dir);
}

Vector fromFrame(Vector p, const Vector& origin, AngleDeg dir)
{
    return p.relativeToGlobal(origin, dir);
}

Vector feetMiddle(const Player* p)
{
    return (p->lFoot.position.to2d() + p->rFoot.position.to2d()) / 2;
}

bool isParallelMarker(const Vector& p) { return p.x == 1000000 && p.y == 1000000; }

// The shorter of the ways from me via a or via b to target; ties go to a.
Vector shorterWay(const Vector& me, const Vector& a, const Vector& b, const Vector& target)
{
    float viaA = me.getDistanceTo(a) + a.getDistanceTo(target);
    float viaB = me.getDistanceTo(b) + b.getDistanceTo(target);
    return viaA > viaB ? b : a;
}

} // namespace

bool PointerCompareRelBall::operator()(const Player* a, const Player* b) const
{
    Vector ball = planarBall();
    float da = ball.getDistanceTo(a->position.to2d());
    float db = ball.getDistanceTo(b->position.to2d());
    return da < db;
}

bool PointerCompare::operator()(const Player* a, const Player* b) const
{
    Vector me = planarMe();
    float da = me.getDistanceTo(a->position.to2d());
    float db = me.getDistanceTo(b->position.to2d());
    return da < db;
}

bool PointerCompare2::operator()(const Circle& a, const Circle& b) const
{
    Vector me = planarMe();
    float da = me.getDistanceTo(a.getCenter());
    float db = me.getDistanceTo(b.getCenter());
    return da < db;
}

omniMidLevelSkill::omniMidLevelSkill()
    : cObstacle(Vector(0, 0), 0), walkTarget(0, 0), obstacleInfluenceDist(7),
      obstacleProximityDist(0.25f), vavoidBall(false), vavoidTeamMate(false),
      vavoidOpponnent(false), obstacleOrientationAvoidance(0), myPosition(0, 0),
      ballPosition(0, 0), ws(&Singleton<WorldState>::getInstance()),
      cManualObstacle(Vector(0, 0), 0)
{
}

Vector omniMidLevelSkill::me() const { return ws->me->position.to2d(); }

Vector omniMidLevelSkill::ballNow() const { return ws->ball->position.to2d(); }

// ----------------------------------------------------------------- rankings

void omniMidLevelSkill::sortourPlayersBasedonDistancetoBall(bool /*includeMe*/)
{
    myPosition = me();
    ourPlayer.clear();
    for (const auto& entry : ws->ostrevanda)
        ourPlayer.push_back(entry.second);
    std::stable_sort(ourPlayer.begin(), ourPlayer.end(), PointerCompareRelBall());
}

void omniMidLevelSkill::sortourPlayersBasedonDistancetoMe()
{
    myPosition = me();
    ourPlayer.clear();
    for (const auto& entry : ws->ostrevanda)
        if (entry.second->unum != ws->me->unum)
            ourPlayer.push_back(entry.second);
    std::stable_sort(ourPlayer.begin(), ourPlayer.end(), PointerCompare());
}

void omniMidLevelSkill::sortTheirPlayersBasedonDistancetoBall()
{
    theirPlayer.clear();
    for (const auto& entry : ws->opponentTeam)
        theirPlayer.push_back(entry.second);
    std::stable_sort(theirPlayer.begin(), theirPlayer.end(), PointerCompareRelBall());
}

void omniMidLevelSkill::sortTheirPlayersBasedonDistancetoMe()
{
    theirPlayer.clear();
    for (const auto& entry : ws->opponentTeam)
        theirPlayer.push_back(entry.second);
    std::stable_sort(theirPlayer.begin(), theirPlayer.end(), PointerCompare());
}

Player* omniMidLevelSkill::fastestOpponentRelBall()
{
    sortTheirPlayersBasedonDistancetoBall();
    return theirPlayer.empty() ? nullptr : theirPlayer.front();
}

Player* omniMidLevelSkill::fastestOpponentRelMe()
{
    sortTheirPlayersBasedonDistancetoMe();
    return theirPlayer.empty() ? nullptr : theirPlayer.front();
}

// ----------------------------------------------------------------- planning

Vector omniMidLevelSkill::pathPlanningtotarget(Vector target, AngleDeg orientation, float curve,
                                               bool avoidBall, bool avoidTeamMate,
                                               bool avoidOpponnetPlayer, Circle manualObstacle)
{
    myPosition = me();
    ballPosition = ballNow();
    vavoidBall = avoidBall;
    vavoidTeamMate = avoidTeamMate;
    vavoidOpponnent = avoidOpponnetPlayer;
    cManualObstacle = manualObstacle;
    Vector via = findaPath(target, orientation, curve);
    return correctPath(via, avoidBall, avoidTeamMate, avoidOpponnetPlayer, manualObstacle);
}

Vector omniMidLevelSkill::findaPath(Vector target, AngleDeg orientation, float curve)
{
    Vector m = me();
    // A heading across the line from me to the target never meets the
    // bisector (no point of the heading line is equidistant): go straight.
    // So also when I stand on the target.
    Vector toTarget = target - m;
    Vector heading1(Cos(orientation), Sin(orientation));
    if (std::fabs(heading1.innerProduct(toTarget)) <= 1e-6f * toTarget.length())
        return target;

    Vector mid = (m + target) / 2;
    Line bisector = Line(m, target).getPerpendicular(mid);
    Line heading(target, orientation);
    Vector x = heading.getIntersection(bisector);
    if (isParallelMarker(x))
        return target;

    Vector rel = toFrame(x, target, orientation);
    if (rel.x >= 0)
        rel.x = -rel.x;
    rel.x *= 1 - curve;
    return fromFrame(rel, target, orientation);
}

Vector omniMidLevelSkill::correctPath(Vector plannedPath, bool avoidBall, bool avoidTeamMate,
                                      bool avoidOpponnetPlayer, Circle manualObstacle)
{
    discoverObstacle(plannedPath, avoidBall, avoidTeamMate, avoidOpponnetPlayer, manualObstacle,
                     false);
    return avoidObstacle(plannedPath);
}

Circle omniMidLevelSkill::playerObstacle(const Player* p) const
{
    if (p->isStanding())
        return Circle(p->position.to2d(), 0.4f);
    return Circle((p->head.position.to2d() + feetMiddle(p)) / 2, 0.5f);
}

void omniMidLevelSkill::discoverObstacle(Vector plannedPath, bool avoidBall, bool avoidTeamMate,
                                         bool avoidOpponnetPlayer, Circle manualObstacle,
                                         bool allPlayers)
{
    cobstaclesVec.clear();
    ballPosition = ws->ballPos;

    std::vector<Circle> fixed = {Circle(Vector(-15, 1.05f), 0.2f), Circle(Vector(-15, -1.05f), 0.2f),
                                 Circle(Vector(15, 1.05f), 0.2f), Circle(Vector(15, -1.05f), 0.2f)};
    if (avoidBall)
        fixed.push_back(Circle(ballPosition, 0.05f));
    if (manualObstacle.getRadius() > 0)
        fixed.push_back(manualObstacle);
    for (const Circle& c : fixed)
        if (intersecsWithObstacle(plannedPath, c.getCenter(), c.getRadius()))
            cobstaclesVec.push_back(c);

    // Players ranked nearest first: only the first in the way, unless all.
    auto addPlayersInTheWay = [&](const std::vector<Player*>& players) {
        for (const Player* p : players) {
            Circle c = playerObstacle(p);
            if (intersecsWithObstacle(plannedPath, c.getCenter(), c.getRadius())) {
                cobstaclesVec.push_back(c);
                if (!allPlayers)
                    break;
            }
        }
    };
    if (avoidTeamMate) {
        sortourPlayersBasedonDistancetoMe();
        addPlayersInTheWay(ourPlayer);
    }
    if (avoidOpponnetPlayer) {
        sortTheirPlayersBasedonDistancetoMe();
        addPlayersInTheWay(theirPlayer);
    }

    std::stable_sort(cobstaclesVec.begin(), cobstaclesVec.end(), PointerCompare2());
    if (!cobstaclesVec.empty() && !avoidBall)
        findConnectedObstacles();
}

Circle omniMidLevelSkill::findConnectedObstacles()
{
    if (cobstaclesVec.empty())
        return Circle(Vector(0, 0), 0);

    const float margin = obstacleProximityDist + MERGE_MARGIN;
    const Circle& first = cobstaclesVec.front();
    Circle e(first.getCenter(), first.getRadius() + margin);

    std::vector<Circle> candidates;
    if (cManualObstacle.getRadius() > 0)
        candidates.push_back(cManualObstacle);
    if (vavoidBall)
        candidates.push_back(Circle(ballPosition, margin + BALL_RADIUS));
    auto addPlayers = [&](const std::vector<Player*>& players) {
        for (const Player* p : players) {
            if (p->isStanding()) {
                float feet = p->lFoot.position.to2d().getDistanceTo(p->rFoot.position.to2d());
                candidates.push_back(Circle(p->position.to2d(), feet / 2 + margin));
            } else {
                Vector head = p->head.position.to2d();
                Vector feet = feetMiddle(p);
                candidates.push_back(
                    Circle((head + feet) / 2, head.getDistanceTo(feet) / 2 + margin));
            }
        }
    };
    if (vavoidTeamMate)
        addPlayers(ourPlayer);
    if (vavoidOpponnent)
        addPlayers(theirPlayer);

    Vector centre = e.getCenter();
    float minX = centre.x, maxX = centre.x, minY = centre.y, maxY = centre.y;
    float largest = e.getRadius();
    for (const Circle& c : candidates) {
        if (!(e.getIntersectionArea(c) > 0))
            continue;
        minX = std::min(minX, c.getCenter().x);
        maxX = std::max(maxX, c.getCenter().x);
        minY = std::min(minY, c.getCenter().y);
        maxY = std::max(maxY, c.getCenter().y);
        largest = std::max(largest, c.getRadius());
    }

    Vector boxCentre((minX + maxX) / 2, (minY + maxY) / 2);
    float halfDiagonal = Vector(maxX - minX, maxY - minY).length() / 2;
    Circle merged(boxCentre, halfDiagonal + largest - margin);
    cobstaclesVec.front() = merged;
    return merged;
}

Vector omniMidLevelSkill::avoidObstacle(Vector plannedPath)
{
    ballPosition = ballNow();
    myPosition = me();
    obstacleOrientationAvoidance = (plannedPath - myPosition).getDirection();
    walkTarget = plannedPath;
    if (cobstaclesVec.empty())
        return plannedPath;

    cObstacle = cobstaclesVec.front();
    Vector centre = cObstacle.getCenter();
    float r = cObstacle.getRadius();
    Circle p(centre, r + obstacleProximityDist);
    AngleDeg dir = obstacleOrientationAvoidance;

    // Near our goal, standing inside the obstacle: step sideways out of it.
    if (centre.x > ws->myGoalPos.x + 0.3f && std::fabs(centre.y - ws->myGoalPos.y) <= 1.7f &&
        p.isInside(myPosition)) {
        Vector rel = toFrame(myPosition, centre, dir);
        rel.y = rel.y < 0 ? -p.getRadius() : p.getRadius();
        walkTarget = fromFrame(rel, centre, dir);
        return walkTarget;
    }

    float side = r + obstacleProximityDist + 0.35f;
    Vector left = fromFrame(Vector(0, side), centre, dir);
    Vector right = fromFrame(Vector(0, -side), centre, dir);
    walkTarget = shorterWay(myPosition, left, right, plannedPath);
    return walkTarget;
}

bool omniMidLevelSkill::intersecsWithObstacle(Vector target, Vector obstaclePos, float obstacleR)
{
    float r = obstacleR > 0 ? obstacleR + obstacleProximityDist : 0;
    Vector m = me();
    AngleDeg dir = (target - m).getDirection();

    if (toFrame(obstaclePos, m, dir).x < 0)
        return false;

    Circle circle(obstaclePos, r);
    Vector closest = getClosestPointonObstacle(circle);
    bool inside = !(m.getDistanceTo(obstaclePos) >= r);
    if (m.getDistanceTo(closest) > obstacleInfluenceDist && !inside)
        return false;

    if (toFrame(obstaclePos, target, dir).x > r)
        return false;

    Vector s1, s2;
    return Line(m, target).getCircleIntersectionPoints(circle, &s1, &s2) > 0;
}

Vector omniMidLevelSkill::getClosestPointonObstacle(Circle obstacle)
{
    AngleDeg dir = (obstacle.getCenter() - myPosition).getDirection();
    return fromFrame(Vector(-obstacle.getRadius(), 0), obstacle.getCenter(), dir);
}

Vector omniMidLevelSkill::getClosestPointonObstacleRelBall(Circle obstacle)
{
    AngleDeg dir = (obstacle.getCenter() - ballNow()).getDirection();
    return fromFrame(Vector(-obstacle.getRadius(), 0), obstacle.getCenter(), dir);
}

int omniMidLevelSkill::avoidBall(Vector tempTarg, float avoidanceR)
{
    Vector m = me();
    Vector ball = ballNow();
    AngleDeg dir = (tempTarg - m).getDirection();
    if (toFrame(ball, tempTarg, dir).x > avoidanceR)
        return 0;
    Vector s1, s2;
    return Line(m, tempTarg).getCircleIntersectionPoints(Circle(ball, avoidanceR), &s1, &s2);
}

bool omniMidLevelSkill::isBehindBall(float orientation)
{
    return toFrame(me(), ws->ball->finalPos.to2d(), orientation).x < -0.05f;
}

bool omniMidLevelSkill::amiBehindBall(float walkDir)
{
    return toFrame(ws->ball->finalPos.to2d(), me(), walkDir).x > -0.05f;
}

Vector omniMidLevelSkill::pathCorrection(Vector target, Vector obstaclePos, float obstacleR)
{
    Circle k(obstaclePos, obstacleR + 0.2f);
    Vector m = me();
    AngleDeg dir = (target - m).getDirection();

    if (obstaclePos.getDistanceTo(m) > 3 || toFrame(obstaclePos, m, dir).x < 0 ||
        toFrame(obstaclePos, target, dir).x > k.getRadius())
        return target;

    if (k.isInside(m)) {
        Vector rel = toFrame(m, obstaclePos, dir);
        rel.y = (rel.y < 0 ? -10 : 10) * k.getRadius();
        return fromFrame(rel, obstaclePos, dir);
    }
    if (intersecsWithObstacle(target, obstaclePos, k.getRadius())) {
        float side = k.getRadius() + 0.2f;
        Vector left = fromFrame(Vector(0, side), obstaclePos, dir);
        Vector right = fromFrame(Vector(0, -side), obstaclePos, dir);
        return shorterWay(m, left, right, target);
    }
    return target;
}

Vector omniMidLevelSkill::gototarget(Vector target, AngleDeg orientation, float curve,
                                     Vector obstaclePos, float obstacleR)
{
    if (target.getDistanceTo(me()) > 1)
        curve = 1;
    Vector via = findaPath(target, orientation, curve);
    if (obstacleR > 0)
        via = pathCorrection(via, obstaclePos, obstacleR);
    return via;
}

Vector omniMidLevelSkill::gobehindBall(float disFromBall, float orientation)
{
    Vector rest = ws->ball->finalPos.to2d();
    Vector target = fromFrame(Vector(-disFromBall, 0), rest, orientation);
    Vector m = me();
    float curve = target.getDistanceTo(m) > 1.5f ? 1 : 0.8f;
    Vector via = findaPath(target, orientation, curve);

    if (!isBehindBall(orientation) && avoidBall(via, 0.2f) > 1) {
        AngleDeg dir = (via - m).getDirection();
        via = fromFrame(Vector(0, 0.5f), rest, dir);
        if (Circle(ballNow(), 0.3f).isInside(m)) {
            Vector rel = toFrame(m, rest, dir);
            rel.y = rel.y < 0 ? -3 : 3;
            via = fromFrame(rel, rest, dir);
        }
    }
    return via;
}

std::vector<Vector> omniMidLevelSkill::ourGoalCrossings(Vector plannedPath) const
{
    std::vector<Vector> crossings;
    Vector m = me();
    Vector goal = ws->myGoalPos;
    if (!(m.x < goal.x + 0.25f))
        return crossings;

    float halfWidth = ws->goalWidth / 2;
    float backX = goal.x - ws->goalDepth;
    Line path(m, plannedPath);
    Line back(Vector(backX, 0), Vector(backX, 1));
    Line side1(Vector(0, goal.y - halfWidth), Vector(1, goal.y - halfWidth));
    Line side2(Vector(0, goal.y + halfWidth), Vector(1, goal.y + halfWidth));

    Vector x = path.getIntersection(back);
    if (std::fabs(x.y - goal.y) <= halfWidth && x.x <= goal.x + 0.25f)
        crossings.push_back(x);
    for (const Line* side : {&side1, &side2}) {
        x = path.getIntersection(*side);
        if (std::fabs(x.y - goal.y) <= 1.5f && x.x <= goal.x + 0.25f)
            crossings.push_back(x);
    }
    return crossings;
}

void omniMidLevelSkill::discoverObstacleInOurGoal(Vector plannedPath)
{
    for (const Vector& x : ourGoalCrossings(plannedPath))
        if (intersecsWithObstacle(plannedPath, x, 1))
            cobstaclesVec.push_back(Circle(x, 1));
}

bool omniMidLevelSkill::testPlannedPath(Vector plannedPath)
{
    for (const Vector& x : ourGoalCrossings(plannedPath))
        if (intersecsWithObstacle(plannedPath, x, 1))
            return true;
    return false;
}

void omniMidLevelSkill::gotoBall() {}
