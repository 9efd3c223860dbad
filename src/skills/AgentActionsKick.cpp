#include <algorithm>
#include <cmath>

#include "geometry/Geometry.h"
#include "physics/AgentModel.h"
#include "skills/AgentActions.h"
#include "skills/IKPose.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/OmniWalkZMP.h"
#include "skills/SlotBehavior.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/BehaveCarryBall.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

// Beyond this from their goal the kicks ask for the pass mode (m).
const float FAR_FROM_GOAL = 15;
// Half the width of the approach's stance (m).
const float STANCE_HALF_WIDTH = 0.055f;

// An error in degrees, taking the far side of the circle into account.
float wrapped(float e)
{
    e = std::fabs(e);
    return e > 300 ? std::fabs(e - 360) : e;
}

Vector fromFrame(Vector origin, float ang, Vector p) { return origin + p.rotate(ang); }

// Lowers both feet into the stance the walk-and-kick approach starts from,
// over `seconds`.
void startApproachStance(IKPose* pose, float seconds)
{
    pose->init(Vector3f(0, STANCE_HALF_WIDTH, -0.2f), Vector3f(0, -STANCE_HALF_WIDTH, -0.2f), seconds,
               Vector3f(0, 0, 0), Vector3f(0, 0, 0));
}

// Whether a keyframe motion has played its last full-speed ("KICK") slot.
bool swingOver(const SlotBehavior& kick)
{
    int last = -1;
    for (int i = 0; i < static_cast<int>(kick.slots.size()); ++i)
        if (kick.slots[i].slotname == "KICK")
            last = i;
    return last >= 0 && kick.currSlot > last;
}

// The support foot stays where it stands; the kicking foot (0 right, 1 left)
// goes down `behind` the hips, one stance width beside it, over `seconds`.
void startCatchStep(IKPose* pose, int kickFoot, float behind, float seconds)
{
    // init measures where both feet stand; the targets follow from that.
    startApproachStance(pose, seconds);
    const float width = 2 * STANCE_HALF_WIDTH;
    if (kickFoot == 0) {
        const Vector3f support = pose->lFInitPos;
        pose->lFTargetPos = support;
        pose->rFTargetPos = Vector3f(-behind, support.y - width, support.z);
    } else {
        const Vector3f support = pose->rFInitPos;
        pose->rFTargetPos = support;
        pose->lFTargetPos = Vector3f(-behind, support.y + width, support.z);
    }
}

// Where the line from a through b meets the vertical line x = goalX.
Vector goalLineCrossing(Vector a, Vector b, float goalX)
{
    Line through = Line::LineFromTwoPoints(a, b);
    Line goalLine = Line::LineFromTwoPoints(Vector(goalX, 0), Vector(goalX, 1));
    return through.getIntersection(goalLine);
}

} // namespace

bool AgentActions::ballFarFromTheirGoal() const
{
    return ws->ball->position.to2d().getDistanceTo(ws->theirGoalPos) > FAR_FROM_GOAL;
}

void AgentActions::serverPass()
{
    Vector ball = ws->ball->position.to2d();
    Circle onBall(ball, 1), near(ball, 2);
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        Player* p = ws->getOpponentPlayer(n);
        if (!p)
            continue;
        Vector at = p->position.to2d();
        if (onBall.isInside(at))
            return;
        if (near.isInside(at))
            Singleton<Actions>::getInstance().Pass();
    }
}

Vector AgentActions::aimedTarget(Vector kickTarget, int type) const
{
    float turn = type >= 0 && type < ROBOT_TYPES ? kickChain[type].kickDeviation : 0;
    if (turn == 0)
        return kickTarget;
    // The field frame has +y to the robot's right: turning the body
    // clockwise is a positive angle here.
    Vector me = ws->me->position.to2d();
    return me + (kickTarget - me).rotate(turn);
}

SlotBehavior* AgentActions::keyframeKick(int playMode, int kickFoot, int type) const
{
    if (type < 0 || type >= ROBOT_TYPES)
        type = 0;
    if (playMode == QUORVEL_FREE_KICK || playMode == QUORVEL_CORNER_KICK)
        return bSKickRight[type];
    if (playMode == QUORVEL_GOAL_KICK)
        return kickFoot != 0 ? bGoalKickLeft[type] : bGoalKickRight[type];
    return kickFoot != 0 ? bSKickLeft[type] : bSKickRight[type];
}

bool AgentActions::ballWhereKeyframeKickReaches() const
{
    // +y to the robot's right.
    Vector at = ws->ballFromTorso();
    const KickChain& k = chain();
    return at.x >= k.keyframeKickAheadMin && at.x <= k.keyframeKickAheadMax && at.y >= k.keyframeKickRightMin &&
           at.y <= k.keyframeKickRightMax;
}

void AgentActions::kickToTarget(Vector kickTarget)
{
    presureWalk = true;
    ws->isKick = true;
    if (doGetup())
        return;
    int pm = ws->game->playmode;
    if (pm == QUORVEL_CORNER_KICK)
        kickTarget = ws->theirGoalPos + Vector(-1.5f, -0.2f);
    if (ballFarFromTheirGoal())
        serverPass();
    kickTarget = aimedTarget(kickTarget, robotType());

    Vector ball = ws->ball->position.to2d();
    Vector me = ws->me->position.to2d();
    float finalorientation = (kickTarget - ball).getDirection();
    const float minBall = 0.1f, maxBall = 0.2f, shootDist = 0.2f;

    if (ws->gTime > 0 && currBehavior != bOmniWalkPrevCtrl) {
        float d = me.getDistanceTo(ball);
        // Errors across the half turn (a heading of 179 against a kick
        // direction of -179) count as the small angles they are.
        bool canKick = d > minBall && d < maxBall && wrapped(ws->me->orientation - finalorientation) < 5 &&
                       wrapped((ws->ballPos - ws->myPos).getDirection() - finalorientation) < 15;
        if (canKick && ballFarFromTheirGoal())
            serverPass();
        if (canKick && bOmniWalkZmp->isStepFinished && currBehavior == bOmniWalkZmp) {
            startApproachStance(bIKPose, chain().kickEntryS);
            currBehavior = bIKPose;
            return;
        }
        if (currBehavior == bIKPose && bIKPose->finished()) {
            ws->trajectoryDecided = false;
            bOmniWalkPrevCtrl->init();
            bOmniWalkPrevCtrl->SetTarget(kickTarget);
            bOmniWalkPrevCtrl->SetLFoot(bOmniWalkZmp->GetLFoot());
            bOmniWalkPrevCtrl->SetRFoot(bOmniWalkZmp->GetRFoot());
            bOmniWalkPrevCtrl->SetPrevSupport(bOmniWalkZmp->GetPrevSupport());
            bOmniWalkPrevCtrl->SetPosition(Vector(0, 0));
            bOmniWalkPrevCtrl->SetVelocity(bOmniWalkZmp->GetVelocity());
            bOmniWalkPrevCtrl->SetAceleration(bOmniWalkZmp->GetAceleration());
            bOmniWalkPrevCtrl->SetPrevAccumError(bOmniWalkZmp->GetPrevAccumError());
            bOmniWalkPrevCtrl->SetPlanner(pm == QUORVEL_GOAL_KICK ? OmniWalkPrevCtrl::WALK_AND_GOALKICK
                                                                  : OmniWalkPrevCtrl::WALK_AND_SUPERKICK);
            bOmniWalkPrevCtrl->pWAKPlanner->SetSide(chain().keyframeApproachSide);
            bOmniWalkPrevCtrl->Start(0);
            currBehavior = bOmniWalkPrevCtrl;
            return;
        }
        // The walk stops within 0.075 m of the shoot point and then only
        // creeps, which can park me just outside the window; at our set
        // pieces the ball lies still and I would stay parked until the
        // referee drops it. There I aim as far beyond the window's middle as
        // I stand off it, so that the walk goes on correcting.
        const Vector shootPoint = fromFrame(ball, finalorientation, Vector(-shootDist, 0));
        const Vector centre = fromFrame(ball, finalorientation, Vector(-(minBall + maxBall) / 2, 0));
        if (isOurDeadBall(pm) && !canKick && std::fabs(shootPoint.x - me.x) < 0.075f &&
            std::fabs(shootPoint.y - me.y) < 0.075f) {
            goToTarget(centre + (centre - me), finalorientation, 1.0f, 0.2f, true, 0, 0, false, true, false,
                       Circle(Vector(15, 0), 0), false, false);
            return;
        }
        goToShootPoint(kickTarget, shootDist, true, false, 0.2f, false, false);
        return;
    }
    if (currBehavior == bOmniWalkPrevCtrl && bOmniWalkPrevCtrl->finished()) {
        if (!ballWhereKeyframeKickReaches()) {
            // Back into the stance the approach starts from, then approach again.
            startApproachStance(bIKPose, chain().kickRestanceS);
            currBehavior = bIKPose;
            return;
        }
        SlotBehavior* kick = keyframeKick(pm, bOmniWalkPrevCtrl->getKickFoot(), robotType());
        chainKick = chain().kickCatchStep ? kick : nullptr;
        currBehavior = kick;
        if (ws->ball->position.x < 0)
            serverPass();
        aState->mRising = false;
        aState->setAgentState(AS_KICKING);
        kick->init();
        return;
    }
    if (ballFarFromTheirGoal())
        serverPass();
    goToShootPoint(kickTarget, shootDist, true, false, 0.2f, false, false);
}

bool AgentActions::catchAfterKick()
{
    if (!chainKick)
        return false;
    if (currBehavior != chainKick || aState->getAgentState() != AS_KICKING) {
        chainKick = nullptr;
        return false;
    }
    if (!swingOver(*chainKick))
        return false;
    // By the motion, not the foot asked for: type 1 kicks with its right foot
    // either way.
    const int kickFoot = chainKick->getName().find("Left") == std::string::npos ? 0 : 1;
    chainKick = nullptr;
    startCatchStep(bIKPose, kickFoot, chain().kickCatchBehind, chain().kickCatchS);
    currBehavior = bIKPose;
    return true;
}

void AgentActions::startOmniKick()
{
    bOmniKick->setKickFoot(0);
    currBehavior = bOmniKick;
    currBehavior->init();
}

void AgentActions::creepIntoOmniWindow(double turn)
{
    const KickChain& k = chain();
    // Judged where the kick could start next, as the body sways from foot to
    // foot: half the way to the window's middle a step, +y to the right.
    if (bOmniWalkZmp->isStepFinished && bOmniWalkZmp->GetPrevSupport() == k.omniKickAfterStepOn) {
        const Vector ball = ws->ballFromTorso();
        const double middle = (k.omniKickRightMin + k.omniKickRightMax) / 2;
        // After a step to the left the window's left edge lies 5 mm short of
        // its middle: the kick falls from a ball at the left edge.
        const double rightMin = omniSideways < 0 ? std::max<double>(k.omniKickRightMin, middle - 0.005)
                                                 : k.omniKickRightMin;
        const bool within = ball.y >= rightMin && ball.y <= k.omniKickRightMax;
        omniSideways = within ? 0 : (ball.y - middle) / 2;
        // Ahead: back from a ball short of the window (creeping on pushes it
        // away), still within it, on toward one beyond it at the creep's
        // pace only (a longer step's foot bumps the ball).
        if (ball.x > k.omniKickAhead)
            omniForward.reset();
        else
            omniForward = ball.length() > k.omniKickNear ? 0 : (ball.x - (k.omniKickNear + k.omniKickAhead) / 2) / 2;
    }
    creepArrived(turn, omniSideways, omniForward);
}

bool AgentActions::omniKickLastSteps(Vector shoot, Vector ball, float finalorientation)
{
    Vector me = ws->me->position.to2d();
    float dist = me.getDistanceTo(shoot);
    float behind = (ball - me).rotate(-finalorientation).x;
    const KickChain& k = chain();
    const bool last = dist < k.omniLastFrom && behind > 0 &&
                      wrapped(ws->me->orientation - finalorientation) < k.omniLastTurn;
    const bool arrived = last && withinArrival(shoot);
    // The creep's steps hold only while it creeps.
    if (!arrived) {
        omniSideways = 0;
        omniForward.reset();
    }
    if (!last)
        return false;
    double turn = 7 * GetNormalizeAngleDeg(finalorientation - ws->me->orientation);
    if (arrived)
        creepIntoOmniWindow(turn);
    else
        walkToward(ws->getRelDir(shoot), k.omniLastSpeed * dist / k.omniLastFrom, turn);
    return true;
}

void AgentActions::dynamicKickToTarget(Vector kickTarget, bool)
{
    if (doGetup())
        return;
    int pm = ws->game->playmode;
    Vector ball = ws->ball->position.to2d();
    if (currBehavior != bOmniKick && pm != QUORVEL_CORNER_KICK && kickTarget.getDistanceTo(ball) < 2) {
        BehaveCarryBall carry;
        carry.executeBehavior(kickTarget, false);
        return;
    }
    if (ballFarFromTheirGoal())
        serverPass();
    if (pm == QUORVEL_CORNER_KICK)
        kickTarget = ws->theirGoalPos + Vector(-1.5f, -0.2f);
    float finalorientation = (kickTarget - ball).getDirection();
    ws->isKick = true;
    if (ws->gTime > 0 && currBehavior != bOmniKick) {
        // The ball from the torso by the newest sighting, +y to the right:
        // the field positions of both are a few cm off while walking.
        Vector rel = ws->ballFromTorso();
        float d = rel.length();
        // The kick does not steer: the body faces the aim before it starts.
        const KickChain& k = chain();
        bool canKick = d > k.omniKickNear && d < k.omniKickReach && rel.x <= k.omniKickAhead &&
                       rel.y >= k.omniKickRightMin && rel.y <= k.omniKickRightMax &&
                       wrapped(ws->me->orientation - finalorientation) < k.omniKickTurn &&
                       wrapped((ws->ballPos - ws->myPos).getDirection() - finalorientation) < 45;
        // Straight after a creep step back or to the left the body still moves
        // away from the ball and the kick falls: the creep judges once more.
        const bool creptAway = omniSideways < 0 || (omniForward && *omniForward < 0);
        if (canKick && shouldDynamickKick && !creptAway && bOmniWalkZmp->isStepFinished &&
            bOmniWalkZmp->GetPrevSupport() == k.omniKickAfterStepOn) {
            if (pm != QUORVEL_KICKOFF && ball.getDistanceTo(ws->theirGoalPos) > 5)
                serverPass();
            startOmniKick();
        } else {
            // The field frame has +y to the robot's right: the torso goes
            // to the left of the ball's line.
            Vector shoot = fromFrame(ball, finalorientation, Vector(-k.omniKickBehind, -k.omniKickSide));
            if (!omniKickLastSteps(shoot, ball, finalorientation))
                goToTarget(shoot, finalorientation, 0.0f, 0.7f, true, 0, 0, false, true, false,
                           Circle(Vector(15, 0), 0), true, true);
        }
    }
    if (currBehavior == bOmniKick && bOmniKick->finished()) {
        bOmniKick->handBack(*bOmniWalkZmp);
        currBehavior = bOmniWalkZmp;
    }
}

void AgentActions::directKick(Vector kickTarget)
{
    Vector ball = ws->ball->position.to2d();
    Vector me = ws->me->position.to2d();
    float finalorientation = (kickTarget - ball).getDirection();
    ws->isKick = true;
    bool aligned = wrapped(ws->me->orientation - finalorientation) < 45 &&
                   wrapped((ws->ballPos - ws->myPos).getDirection() - finalorientation) < 45;
    if (me.getDistanceTo(ball) <= 0.19f && aligned && bOmniWalkZmp->isStepFinished && currBehavior != bOmniKick &&
        bOmniWalkZmp->GetPrevSupport() == 0)
        startOmniKick();
    else
        gotoPointDesperate(kickTarget);
}

bool AgentActions::isClearToDirectKick(float distance)
{
    int maxplayers = 1 + static_cast<int>(std::floor(distance / 2));
    Vector me = ws->me->position.to2d();
    Vector cross = goalLineCrossing(me, ws->ballPos, ws->theirGoalPos.x);
    Rect corridor(Vector(cross.x, cross.y + 0.5f), Vector(me.x, me.y - 0.5f));
    int count = 0;
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        Player* p = ws->getOpponentPlayer(n);
        if (p && corridor.isInside(p->position.to2d()))
            ++count;
    }
    return count >= 1 && count <= maxplayers && ws->ballPos.getDistanceTo(cross) > 1;
}

bool AgentActions::shouldDirectKick()
{
    Vector me = ws->me->position.to2d();
    Vector ball = ws->ball->position.to2d();
    float myDist = me.getDistanceTo(ws->theirGoalPos);
    if (!(myDist < 4) || !(ball.getDistanceTo(ws->theirGoalPos) < myDist))
        return false;
    Vector cross = goalLineCrossing(me, ball, ws->theirGoalPos.x);
    return std::fabs(cross.y) < ws->goalWidth / 2 && isClearToDirectKick(4);
}

bool AgentActions::shouldLongKick()
{
    bool t4 = robotType() == 4;
    float maxdist = t4 ? 17 : 15, mindist = t4 ? 9 : 7;
    Vector me = ws->me->position.to2d();
    Vector ball = ws->ball->position.to2d();
    float myDist = me.getDistanceTo(ws->theirGoalPos);
    if (!(myDist < maxdist && myDist > mindist) || !(ball.getDistanceTo(ws->theirGoalPos) < myDist))
        return false;
    if (!isClearToLongKick())
        return false;
    Vector cross = goalLineCrossing(me, ball, ws->theirGoalPos.x);
    if (!(std::fabs(cross.y) < ws->penaltyWidth / 2))
        return false;
    return !(ws->game->playmode == QUORVEL_KICKIN && ws->ballPos.x >= 4);
}

bool AgentActions::isClearToLongKick()
{
    if (ws->game->playmode == PASS_QUORVEL)
        return true;
    Vector ball = ws->ball->position.to2d();
    Circle near(ball, 2);
    float margin = robotType() == 4 ? 0 : 1;
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        Player* p = ws->getOpponentPlayer(n);
        if (!p || !near.isInside(p->position.to2d()))
            continue;
        if (!(p->position.x < ball.x - margin))
            return false;
    }
    return true;
}

bool AgentActions::shouldClearBall()
{
    Player* opp = bOmniMidLevelSkill->fastestOpponentRelBall();
    Vector ball = ws->ball->position.to2d();
    float limit = ball.x > -10 && ball.x < -2 ? 3 : 4;
    if (ws->game->playmode == PASS_QUORVEL)
        limit = 0;
    float oppDist = opp ? opp->position.to2d().getDistanceTo(ball) : 1e9f;
    return oppDist > limit && ball.x < -2 && ws->playerWithBall() == WorldState::ALLY && ws->playWB == ws->unum;
}

bool AgentActions::continueLongKick()
{
    if (!ws->longKickState)
        return false;
    Vector ball = ws->ball->position.to2d();
    float myDist = ws->me->position.to2d().getDistanceTo(ball);
    Player* opp = bOmniMidLevelSkill->fastestOpponentRelBall();
    float limit = ws->game->playmode == PASS_QUORVEL ? 0.8f : 0.5f;
    bool keep = !aState->isFallen() && !aState->isRising() &&
                !(opp && myDist > opp->position.to2d().getDistanceTo(ball)) && !(myDist > limit);
    ws->longKickState = keep;
    return keep;
}

bool AgentActions::goToAuxPoint(Vector kickTarget)
{
    ws->isKick = true;
    Vector ball = ws->ball->position.to2d();
    Vector me = ws->me->position.to2d();
    float desiredOrientation = (kickTarget - ball).getDirection();
    auto near = [&me](Vector p) { return std::fabs(me.x - p.x) < 0.125f && std::fabs(me.y - p.y) < 0.125f; };
    if (kickState == 0) {
        Vector aim = fromFrame(ball, desiredOrientation, Vector(-1, -0.3f));
        if (near(aim)) {
            kickState = 1;
            return true;
        }
        gotoPointDesperate(aim);
        return false;
    }
    if (kickState == 1) {
        Vector aim = fromFrame(ball, desiredOrientation, Vector(-1, 0));
        float heading = (ws->ball->finalPos.to2d() - me).getDirection();
        goToStrategicPoint(aim, heading, false, true, true, Circle(Vector(15, 0), 0));
        if (near(aim)) {
            kickState = 2;
            return true;
        }
        return false;
    }
    if (kickState == 2) {
        bool aligned = wrapped(ws->me->orientation - desiredOrientation) < 25 &&
                       wrapped((ws->ballPos - ws->myPos).getDirection() - desiredOrientation) < 25;
        if (me.getDistanceTo(ball) <= 0.19f && aligned && bOmniWalkZmp->isStepFinished &&
            currBehavior != bOmniKick && bOmniWalkZmp->GetPrevSupport() == 0)
            startOmniKick();
        else
            goToShootPoint(kickTarget, 0.155f, true, true, 0.7f, true, true);
        return true;
    }
    return false;
}
