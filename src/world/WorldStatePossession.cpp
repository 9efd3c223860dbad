// Ball possession, carrier and blocker choice and interception.

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "geometry/Geometry.h"
#include "logger/LoggerBuffer.h"
#include "physics/AgentModel.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/Logger.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

typedef std::pair<int, float> Cand;

// Angle tolerance in degrees by distance in metres.
const std::map<float, float> ANGLE_LIMIT = {{2, 80}, {5, 70}, {10, 60}, {20, 40}, {25, 20}};

float angleLimit(float distance)
{
    for (const auto& entry : ANGLE_LIMIT)
        if (entry.first >= distance)
            return entry.second;
    return 20;
}

float absAngleDiff(float a, float b) { return std::fabs(normalizeAngle(a - b)); }

Vector planar(const Player* p) { return p->position.to2d(); }

const float FAR = std::numeric_limits<float>::infinity();

} // namespace

bool WorldState::isOpponentShot(float* timeToGoal)
{
    float L = conditions->fieldLength;
    float tx = ball->position.x > -getBackLeftGoal().x + 1 ? 0.2f : 0;
    Vector shift(tx, 0);
    Line goalLine(getBackLeftGoal().to2d() + shift, getBackRightGoal().to2d() + shift);

    if (!(ball->finalPos.dist(ball->position) > 0.1f))
        return false;

    Vector from = ball->position.to2d();
    Vector to = ball->finalPos.to2d();
    Line ballLine(from, to);
    Vector p = ballLine.getIntersection(goalLine);
    if (!(std::fabs(p.y) < 1.2f * conditions->goalsWidth) || !ballLine.isInBetween(p, from, to))
        return false;

    float d = p.getDistanceTo(from) - std::fabs(me->position.x + L / 2 - tx);
    if (timeToGoal != nullptr)
        *timeToGoal = ballEstimator.estimatedTime(d);
    return true;
}

int WorldState::getShortestFallShotInterception(float* intercDist)
{
    float dist = 100000;
    int side = -1;
    if (intercDist != nullptr)
        *intercDist = dist;
    if (!(ball->finalPos.dist(ball->position) > 0.1f))
        return side;

    Vector end;
    float ref5 = ballEstimator.getRefTime5();
    float ref4 = ballEstimator.getRefTime4();
    if (ref5 > 0 && shotDuration + 0.01f > cTime - ref5)
        end = ballEstimator.estimatedFinalPos5().to2d();
    else if (ref4 > 0 && shotDuration + 0.01f > cTime - ref4)
        end = ballEstimator.estimatedFinalPos4().to2d();
    else
        end = ball->finalPos.to2d();

    Vector m = me->position.to2d();
    float o = me->orientation;
    Line ballLine(ball->position.to2d(), end);

    Vector front = ballLine.getIntersection(Line(m, o));
    float frontDist = front.getDistanceTo(m);
    dist = frontDist;
    side = std::fabs((front - m).getDirection() - o) < 20 ? 0 : 1;

    Vector lateral = ballLine.getIntersection(Line(m, o + 90));
    float lateralDist = lateral.getDistanceTo(m);
    if (lateralDist < frontDist) {
        side = absAngleDiff((lateral - m).getDirection(), o + 90) < 20 ? 3 : 2;
        dist = lateralDist;
    }
    if (lateralDist < 0.15f)
        side = 4;
    if (intercDist != nullptr)
        *intercDist = dist;
    return side;
}

bool WorldState::cmp(std::pair<int, float>& a, std::pair<int, float>& b)
{
    return a.second < b.second;
}

void WorldState::updateFastestCarrier()
{
    bool tracing = (unum == 3 || unum == 7 || unum == 10) && LoggerBuffer::tracing();
    std::ostringstream trace;
    if (tracing)
        trace << gTime << "================== FASTC update ===================" << "\n";

    bool ballInArea = isInsideGoalArea(ballPos);
    bool areaFull = !canTeammateEnterOurGoalArea();
    std::map<int, Vector> alignedCand;
    std::map<int, Vector> unalignedCand;
    // Angle errors and limits by shirt number, for the trace.
    std::map<int, std::pair<float, float>> errors;

    for (int u = 1; u <= MAX_UNUM; ++u) {
        Player* pl = getOstrevandaPlayer(u);
        if (pl == nullptr)
            continue;
        Vector p = planar(pl);
        if (ballInArea && areaFull && !isInsideGoalArea(p))
            continue;

        float o = normalizeAngle(pl->orientation);
        float aGoal = normalizeAngle((theirGoalPos - p).getDirection());
        float aBall = normalizeAngle((ballPos - p).getDirection());
        float eGoal = absAngleDiff(o, aGoal);
        float eBall = absAngleDiff(o, aBall);
        float ballLimit = angleLimit(p.getDistanceTo(ballPos));
        float goalLimit = angleLimit(p.getDistanceTo(theirGoalPos));
        errors[u] = std::make_pair(eBall, eGoal);

        if (tracing)
            trace << "FASTC init cand " << gTime << " unum: " << u << " angBall: " << aBall
                  << " angToBall: " << eBall << " AngTheirGoal: " << aGoal
                  << " angToGoal: " << eGoal << " playerOri: " << o
                  << " distToBall: " << p.getDistanceTo(ballPos) << " BallLimit " << ballLimit
                  << " TheirGoalLimit " << goalLimit << "\n";

        if (ballPos.x + 0.1f > p.x && ballLimit > eBall) {
            if (goalLimit > eGoal)
                alignedCand[u] = p;
            else
                unalignedCand[u] = p;
        }
    }
    if (tracing) {
        trace << "FASTC end cand" << "\n";
        LoggerBuffer::getInstance().trace(trace.str());
        trace.str("");
    }

    auto ordered = [this](const std::map<int, Vector>& cands) {
        std::vector<Cand> list;
        for (const auto& entry : cands)
            list.push_back(Cand(entry.first, entry.second.getDistanceTo(ballPos)));
        std::stable_sort(list.begin(), list.end(),
                         [](Cand a, Cand b) { return WorldState::cmp(a, b); });
        return list;
    };
    std::vector<Cand> orderedAlignedCand = ordered(alignedCand);
    std::vector<Cand> orderedUnalignedCand = ordered(unalignedCand);

    auto traceChoice = [&](const char* tag, const char* oriTag, const Cand& c) {
        if (!tracing)
            return;
        Player* pl = getOstrevandaPlayer(c.first);
        trace << tag << gTime << " " << c.first << " angToBall: " << errors[c.first].first
              << " angToGoal: " << errors[c.first].second << " distToBall: " << c.second << "\n";
        trace << oriTag << normalizeAngle(pl->orientation)
              << " me->Orientation: " << normalizeAngle(me->orientation) << "\n";
    };

    fastestCarrier = fastestCarrier2 = 0;
    bool first = true;
    for (size_t i = 0; i < orderedAlignedCand.size(); ++i) {
        Cand a = orderedAlignedCand[i];
        if (!isStanding(a.first, false))
            continue;
        if (first) {
            fastestCarrier = a.first;
            traceChoice("FASTC ", "FASTC it->Orientation: ", a);
        } else {
            if (fastestCarrier2 != 0)
                a = orderedAlignedCand[i - 1];
            fastestCarrier2 = a.first;
            traceChoice("FASTC2 ", "FASTC2 it->Orientation: ", a);
        }

        for (const Cand& u : orderedUnalignedCand) {
            if (!isStanding(u.first, false))
                continue;
            if (!first && u.first == fastestCarrier)
                continue;
            float margin = (u.second <= 1 && a.second > closeOppDist) ? -0.5f : -2;
            if (u.second - a.second < margin) {
                if (first) {
                    fastestCarrier2 = fastestCarrier;
                    fastestCarrier = u.first;
                    traceChoice("FASTC change ", "FASTC_Change it->Orientation: ", u);
                } else {
                    fastestCarrier2 = u.first;
                    traceChoice("FASTC2 change ", "FASTC2_Change it->Orientation: ", u);
                }
            }
            break;
        }

        if (!first)
            break;
        first = false;
    }
    if (tracing)
        LoggerBuffer::getInstance().trace(trace.str());
}

void WorldState::updateFastestBlocker()
{
    fastestBlocker = fastestBlocker2 = 0;
    float delta1 = closeOppDist - closeTeamDist;
    float delta2 = closeOppDist - closeTeamDist2;

    bool ballInArea = isInsideGoalArea(ballPos);
    bool restricted = ballInArea && !canTeammateEnterOurGoalArea();
    auto inArea = [this](int number) {
        Player* p = getOstrevandaPlayer(number);
        return p != nullptr && isInsideGoalArea(planar(p));
    };
    bool requirement = restricted ? inArea(closeTeam) : true;

    if (delta1 > 3 && requirement) {
        fastestBlocker = closeTeam;
        if (delta2 > 3 && (!ballInArea || inArea(closeTeam2)))
            fastestBlocker2 = closeTeam2;
        return;
    }

    omniMidLevelSkill ranking;
    ranking.sortourPlayersBasedonDistancetoBall(true);
    for (Player* p : ranking.ourPlayer) {
        if (fastestBlocker != 0 && fastestBlocker2 != 0)
            break;
        if (restricted && !isInsideGoalArea(planar(p)))
            continue;
        if (!isStanding(p->unum, false))
            continue;
        if (canGoToBallFreeOfFouls(p)) {
            if (fastestBlocker == 0)
                fastestBlocker = p->unum;
            else
                fastestBlocker2 = p->unum;
        }
    }
}

bool WorldState::canGoToBallFreeOfFouls(Player* p)
{
    if (p == nullptr)
        return false;
    Vector from = p->unum == me->unum ? me->position.to2d() : planar(p);
    AngleDeg dir = (ballPos - from).getDirection();
    float d = from.getDistanceTo(ballPos);
    auto blocks = [&](Vector point) {
        Vector rel = point.globalToRelative(from, dir);
        return rel.x > 0 && rel.x < d && std::fabs(rel.y) < 0.3f;
    };

    // Any blocker will do: the opponents in any order.
    for (const auto& entry : opponentTeam) {
        Player* opp = entry.second;
        Vector oppPos = planar(opp);
        Vector point = oppPos.getDistanceTo(from) < 1 ? p->closestBodyPartPosition(opp) : oppPos;
        if (point == Vector(0, 0))
            point = oppPos;
        if (blocks(point))
            return false;
    }
    for (int n = 1; n <= MAX_UNUM; ++n) {
        if (n == p->unum)
            continue;
        Player* mate = getOstrevandaPlayer(n);
        if (mate != nullptr && blocks(planar(mate)))
            return false;
    }
    return true;
}

float WorldState::timeToIntersect(Vector plPos, Vector ballPosition, Vector ballVel)
{
    float t = 0;
    Vector b = ballPosition;
    while (t < 20) {
        b += ballVel * 0.2f;
        if (0.8f * t + 0.2f > b.getDistanceTo(plPos))
            return t;
        t += 0.2f;
    }
    return 20;
}

bool WorldState::isVisionCycle() { return me->positionUpdateCycle == cycle; }

WorldState::WithBall WorldState::playerWithBall()
{
    Vector b = ball->position.to2d();
    Player* mate = getOstrevandaPlayer(closeTeam);
    Player* opp = getOpponentPlayer(closeOpp);
    float dA = mate != nullptr ? planar(mate).getDistanceTo(b) : FAR;
    float dO = opp != nullptr ? planar(opp).getDistanceTo(b) : FAR;

    if ((dA < 2 && dO < 2) || (dA > 2 && dO > 2))
        return NOBODY;
    if (dO > dA) {
        if (dA < 1) {
            playWB = closeTeam;
            lastTeamWithBall = ALLY;
            return ALLY;
        }
        return NOBODY;
    }
    if (dO < 1) {
        playWB = closeOpp;
        lastTeamWithBall = OPP;
        return OPP;
    }
    return NOBODY;
}

bool WorldState::canExecuteKick(int number)
{
    int pm = game->playmode;
    if (pm == QUORVEL_KICKOFF || pm == QUORVEL_KICKIN || pm == QUORVEL_CORNER_KICK ||
        pm == QUORVEL_GOAL_KICK)
        return true;
    if (playerWithBall() != ALLY || playWB != number)
        return false;

    // The safe distance: 1.5 m times the opponents' speed factor 1.
    const float safeDistanceToSK = 1.5f * 1;
    if (closeOppDist > safeDistanceToSK)
        return true;
    Player* opp = getOpponentPlayer(closeOpp);
    if (opp == nullptr)
        return false;
    Vector rel = planar(opp).globalToRelative(me->position.to2d(), me->orientation);
    return std::fabs(rel.getDirection()) > 105;
}

WorldState::WithBall WorldState::allyWithBall()
{
    int before = lastTeamWithBall;
    WithBall now = playerWithBall();
    return now == NOBODY ? static_cast<WithBall>(before) : now;
}

bool WorldState::isStanding(int number, bool opponent)
{
    if (opponent) {
        Player* p = getOpponentPlayer(number);
        return p != nullptr && p->isStanding();
    }
    if (number == me->unum) {
        AgentState* posture = Singleton<AgentActions>::getInstance().aState;
        return !posture->isFallen() && !posture->isRising();
    }
    Player* p = getOstrevandaPlayer(number);
    return p != nullptr && p->isStanding();
}

bool WorldState::coveringGoal()
{
    if (closeOppDist > 3 || ballDistance > 2)
        return false;
    Player* opp = getOpponentPlayer(closeOpp);
    if (opp == nullptr)
        return false;

    // My low body points, all in the field frame.
    AgentModel& body = Singleton<AgentModel>::getInstance();
    std::vector<Vector3f> points;
    for (int id : {Types::ilLFoot, Types::ilRFoot}) {
        BodyPart* part = body.getBodyPart(id);
        if (part != nullptr)
            points.push_back(part->getPosition());
    }
    for (int id : {Types::ilLLowerArm, Types::ilRLowerArm}) {
        BodyPart* part = body.getBodyPart(id);
        if (part != nullptr)
            points.push_back(body.getAbsPositionOfBodyPoint(part, Vector3f(0.1f, 0, 0)));
    }
    if (BodyPart* head = body.getBodyPart(Types::ilHead))
        points.push_back(head->getPosition());
    if (points.empty())
        return false;

    float lowest = points.front().z;
    for (const Vector3f& p : points)
        lowest = std::min(lowest, p.z);

    Vector b = ball->position.to2d();
    Line shot(b, planar(opp));
    bool any = false;
    Vector minEnd, maxEnd;
    float minDist = 0, maxDist = 0;
    for (const Vector3f& p3 : points) {
        if (!(p3.z < lowest + 0.2f))
            continue;
        Vector p = p3.to2d();
        float signedDist = shot.getDistanceWithPoint(p) * shot.getSidePoint(p);
        if (!any) {
            any = true;
            minEnd = maxEnd = p;
            minDist = maxDist = signedDist;
        } else if (signedDist < minDist) {
            minDist = signedDist;
            minEnd = p;
        } else if (signedDist > maxDist) {
            maxDist = signedDist;
            maxEnd = p;
        }
    }
    if (!any || minEnd == maxEnd)
        return false;

    Line cover(minEnd, maxEnd);
    Vector leftPost = getBackLeftGoal().to2d();
    Vector rightPost = getBackRightGoal().to2d();
    Line goalLine(leftPost, rightPost);
    for (Vector target : {planar(opp), opp->lFoot.position.to2d(), opp->rFoot.position.to2d()}) {
        Line line(b, target);
        Vector onCover = line.getIntersection(cover);
        Vector onGoal = line.getIntersection(goalLine);
        if (cover.isInBetween(onCover, minEnd, maxEnd) &&
            goalLine.isInBetween(onGoal, leftPost, rightPost))
            return true;
    }
    return false;
}

void WorldState::setBallPosFromMessage(float x, float y, float z)
{
    ballPosFromMessage = Vector3f(x, y, z);
    Singleton<Logger>::getInstance().LogDrawCircle(40, x, -y, 0.15f, "Green");
}

void WorldState::setTrueBallPos(float x, float y, float z)
{
    game->trueBallPos = Vector3f(x, y, z);
}
