#include <cmath>
#include <optional>

#include "geometry/Geometry.h"
#include "planning/PotentialFields.h"
#include "skills/AgentActions.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/OmniWalkZMP.h"
#include "skills/SlotBehavior.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Turn-rate limit of a walk command (deg).
const double MAX_TURN = 75;
// A creep forward at the target.
const double CREEP = 0.03;

double finiteOr0(double v) { return std::isfinite(v) ? v : 0; }

// The point p of a frame at origin turned by ang, in field coordinates.
Vector fromFrame(Vector origin, float ang, Vector p) { return origin + p.rotate(ang); }

} // namespace

void AgentActions::ZMPWalkOmniCall(double vX, double vY, double vTheta, double, double, double)
{
    if (aState->isFallen() && prevBehavior != bStop) {
        currBehavior = bStop;
        currBehavior->init();
        return;
    }
    if (aState->isFallen() && getupPauseOver()) {
        Getup();
        return;
    }
    if (currBehavior != bOmniWalkZmp && (currBehavior->finished() || currBehavior == bOmniWalkPrevCtrl)) {
        currBehavior = bOmniWalkZmp;
        currBehavior->init();
    }
    // Only finite commands reach the walk.
    vX = finiteOr0(vX);
    vY = finiteOr0(vY);
    vTheta = finiteOr0(vTheta);
    if (vTheta > MAX_TURN)
        vTheta = MAX_TURN;
    if (vTheta < -MAX_TURN)
        vTheta = -MAX_TURN;
    // The commands come in the world model's field frame, which is the team
    // frame mirrored in y; the walk steps and turns in the body's own sense.
    if (currBehavior == bOmniWalkZmp)
        bOmniWalkZmp->setOptParameter(vX, -vY, -vTheta, presureWalk);
    aState->mRising = false;
    aState->setAgentState(AS_WALKING);
}

void AgentActions::goToStrategicPoint(Vector Point, float dir, bool avoidBall, bool avoidTeamMate,
                                      bool avoidTheirPlayer, Circle obstacle)
{
    presureWalk = false;
    goToTarget(Point, dir, 1.0f, 0, true, 0, 0, avoidBall, avoidTeamMate, avoidTheirPlayer, obstacle, false, false);
}

void AgentActions::goToTarget(Vector finalTarget, float dir, float curve, float speedatTarg, bool relface,
                              float relFaceOri, float globalFaceOri, bool avoidBall, bool avoidTeamMate,
                              bool avoidTheirPlayer, Circle obstacle, bool, bool setplay)
{
    PotentialFields fields;
    Vector area = fields.checkArea(finalTarget);
    Vector tempTarg = bOmniMidLevelSkill->pathPlanningtotarget(area, dir, curve, avoidBall, avoidTeamMate,
                                                                avoidTheirPlayer, obstacle);
    Vector target = fields.checkIntersectionGoalPost(area);

    // Keep clear of the side lines of the goal on team-mate 1's side.
    std::map<int, Player*> team = ws->getOstrevandaTeam();
    float s = team.count(1) && team[1] && team[1]->position.x < 0 ? -1.0f : 1.0f;
    Vector me = ws->me->position.to2d();
    if (PotentialFields::checkIntersection(me, tempTarg, Vector(14.9f * s, 1.05f), Vector(15.75f * s, 1.05f))) {
        tempTarg = Vector(14.5f * s, 1.05f);
        if (s * me.x > 15 && std::fabs(me.y) < 1.05f)
            tempTarg = Vector(me.x - 0.4f * s, me.y);
    }
    if (PotentialFields::checkIntersection(me, tempTarg, Vector(14.9f * s, -1.05f), Vector(15.75f * s, -1.05f)))
        tempTarg = Vector(14.5f * s, -1.05f);

    if (!(ws->myPos.getDistanceTo(target) > 0.3f)) {
        if (relface) {
            globalFaceOri = GetNormalizeAngleDeg(dir + relFaceOri);
            relface = false;
        }
        if (setplay)
            serverPass();
    }
    moveToTarget(target, tempTarg, speedatTarg, relface, relFaceOri, globalFaceOri);
}

void AgentActions::moveToTarget(Vector finalTarget, Vector nextTempTarget, float speedatTarg, bool relface,
                                float relFaceOri, float globalFaceOri)
{
    float angleMult = ws->game->playmode == QUORVEL_KICKOFF ? 1 : 7;
    Vector me = ws->me->position.to2d();
    float myOri = ws->me->orientation;
    float dist = me.getDistanceTo(finalTarget);
    float walkOri = ws->getRelDir(nextTempTarget);
    double angle = relface ? GetNormalizeAngleDeg(
                                 GetNormalizeAngleDeg((nextTempTarget - me).getDirection() - myOri) - relFaceOri)
                           : GetNormalizeAngleDeg(globalFaceOri - myOri);
    PotentialFields fields;
    float k = fields.reductionVelAtt(dist, speedatTarg);
    if ((dist > 3.5f || ws->ball->position.to2d().getDistanceTo(me) < 0.5f) && std::fabs(angle) > 90)
        k = 0.2f;
    if (fields.checkProx())
        k = 0;
    float aux = GetNormalizeAngleDeg((finalTarget - me).getDirection() - myOri);
    if (withinArrival(finalTarget) && aux < 5) {
        creepArrived(0);
        return;
    }
    walkToward(walkOri, k, angleMult * angle);
}

bool AgentActions::withinArrival(Vector target) const
{
    Vector me = ws->me->position.to2d();
    return std::fabs(target.x - me.x) < 0.075f && std::fabs(target.y - me.y) < 0.075f;
}

void AgentActions::creepArrived(double turn, double sideways, std::optional<double> forward)
{
    shouldDynamickKick = true;
    lastDynamickKick = ws->gTime;
    // The walk steps period * dXmult times the command's x ahead and
    // -period * dYmult times its y to its left.
    const OptParams& p = bOmniWalkZmp->params;
    auto command = [](double metres, double perUnit) { return metres != 0 && perUnit != 0 ? metres / perUnit : 0; };
    ZMPWalkOmniCall(forward ? command(*forward, p.period * p.dXmult) : CREEP, command(sideways, p.period * p.dYmult),
                    turn);
}

void AgentActions::walkToward(float walkOri, float k, double turn)
{
    float c = std::fabs(std::cos(walkOri * M_PI / 180)), sn = std::fabs(std::sin(walkOri * M_PI / 180));
    Vector velocity = Geometry::thetaToSpeed(c, -0.5f * c, 0.6f * sn, -0.6f * sn, walkOri);
    ZMPWalkOmniCall(velocity.x * k, -velocity.y * k, turn);
    if (shouldDynamickKick && ws->gTime - lastDynamickKick > 2)
        shouldDynamickKick = false;
}

void AgentActions::goToShootPoint(Vector kickTarget, float dis, bool avoidTeamMate, bool avoidTheirPlayer,
                                  float speedatTarg, bool dynamic, bool setplay)
{
    Vector ball = ws->ball->position.to2d();
    float orientation = (kickTarget - ball).getDirection();
    float distBall2Target = ball.getDistanceTo(kickTarget);
    Vector target = fromFrame(ball, orientation, Vector(-dis, 0));
    bool avoidBall = false;
    if (!dynamic) {
        float tol = distBall2Target > 5.5f ? 10 : 5;
        if (ws->unum == 1)
            tol = 30;
        else if (ws->pressure > 5)
            tol = 30;
        else if (ws->pressure > 4)
            tol = 20;
        else if (ws->pressure > 3)
            tol = 15;
        else if (ws->pressure > 2)
            tol = 10;
        avoidBall = std::fabs(GetNormalizeAngleDeg(orientation - ws->me->orientation)) >= tol;
    }
    if (setplay)
        serverPass();
    goToTarget(target, orientation, dynamic ? 0.0f : 1.0f, speedatTarg, true, 0, 0, avoidBall, avoidTeamMate,
               avoidTheirPlayer, Circle(Vector(15, 0), 0), dynamic, dynamic ? setplay : false);
}

void AgentActions::moveBalltoTarg(Vector target, float curve, bool avoidTeamMate, bool avoidTheirPlayer,
                                  float distBehindBall)
{
    presureWalk = false;
    Vector ball = ws->ballEstimator.estimatedFinalPosAway().to2d();
    float dir = (target - ball).getDirection();
    Vector me = ws->me->position.to2d();
    float dist = me.getDistanceTo(ball);
    Vector targPos = fromFrame(ball, dir, Vector(-distBehindBall, 0));
    if (distBehindBall > 0.1f) {
        targPos.x = std::max(-15.5f, std::min(15.5f, targPos.x));
        targPos.y = std::max(-10.5f, std::min(10.5f, targPos.y));
    }
    if (dist > 1)
        curve = 1.0f;
    Vector mine = me;
    bool avoidBall = mine.globalToRelative(ball, dir).x > 0;
    float relFaceOri = 0;
    if (ws->ball->position.to2d().getDistanceTo(me) < 0.5f)
        relFaceOri = std::fabs(ws->getRelDir(targPos)) <= 100 ? 0 : -180;
    goToTarget(targPos, dir, curve, 1.0f, true, relFaceOri, 0, avoidBall, avoidTeamMate, avoidTheirPlayer,
               Circle(Vector(15, 0), 0), false, false);
}

void AgentActions::gotoPointDesperate(Vector target)
{
    Vector me = ws->me->position.to2d();
    float myOri = ws->me->orientation;
    float angle = GetNormalizeAngleDeg((target - me).getDirection() - myOri);
    Vector velocity = target - me;
    if (velocity.length() > 0)
        velocity = velocity.normalize();
    velocity.rotate(-myOri);
    ZMPWalkOmniCall(velocity.x * 0.6, -velocity.y * 0.6, 8 * angle);
}

void AgentActions::backDesperate(Vector target)
{
    Vector me = ws->me->position.to2d();
    float myOri = ws->me->orientation;
    float aux = GetNormalizeAngleDeg((target - me).getDirection() - myOri);
    float angle = GetNormalizeAngleDeg(180 - aux);
    if (target.getDistanceTo(me) >= 0.125f) {
        Vector velocity = (target - me).normalize();
        velocity.rotate(-myOri);
        ZMPWalkOmniCall(velocity.x * 0.5, -velocity.y * 0.5, -8 * angle);
    } else {
        Vector ball = ws->ball->position.to2d();
        ZMPWalkOmniCall(CREEP, 0, 8 * GetNormalizeAngleDeg((ball - me).getDirection() - myOri));
    }
}

void AgentActions::executeStopWalk(double, int opp)
{
    Player* p = ws->getOpponentPlayer(opp);
    if (!p)
        return;
    Vector point = (p->position.to2d() + Vector(-5, 0)) / 2;
    if (point.y > -1)
        point.y = -1;
    Vector me = ws->me->position.to2d();
    if (std::fabs(point.x - me.x) < 0.3f && std::fabs(point.y - me.y) < 0.3f)
        ZMPWalkOmniCall(CREEP, 0, 0);
    else
        gotoPointDesperate(point);
}
