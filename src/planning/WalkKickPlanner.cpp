#include "planning/WalkKickPlanner.h"

#include <cmath>

#include "physics/AgentModel.h"
#include "world/WorldState.h"

namespace {

const float kPi = 3.14159265358979f;
// Heuristic value of a step that must not be taken.
const float kPenalty = 90000;
// Per-step yaw limit (rad).
const float kMaxTurn = 0.26f;
const float kSwingHeight = 0.06f;

WalkKickPlanner::SKickParams row(float dist, float ang, float pose, float last, float period, float maxStep) {
    WalkKickPlanner::SKickParams p;
    p.distBall2Support = dist;
    p.angBall2Support = ang;
    p.angPose2Kick = pose;
    p.lastStepDur = last;
    p.period = period;
    p.maxStep = maxStep;
    return p;
}

// Support-foot offset (xx, yy) from the ball as a distance and an angle.
float offsetLength(float xx, float yy) {
    return std::sqrt(xx * xx + yy * yy);
}

float offsetAngle(float xx, float yy) {
    return kPi - std::atan2(yy, xx);
}

}  // namespace

WalkKickPlanner::WalkKickPlanner(OmniWalkPrevCtrl* pWlk)
    : FootstepPlanner(pWlk), currKick(SUPER_KICK), kickFoot(0), suppAtKick(1), signal(1), firstPlan(false) {
    // The keyframe super and goal kicks start from a stance with the ball
    // about 0.15 m ahead of the feet, in front of the kicking one: the support
    // foot 0.15 m behind the ball and one stance width (0.11 m) beside it, the
    // kicking foot set down beside it, 0.04 m further back so that its toe
    // clears the ball on the way.
    superKickParams = row(offsetLength(-0.15f, 0.11f), offsetAngle(-0.15f, 0.11f), 0, 0.7f, 0.4f, 0.16f);
    superKickParams.kickFootBehind = 0.19f;
    superKickParams.kickFootLands = true;
    clearballParams = row(0.17f, Deg2Rad(45), 0, 0.7f, 0.4f, 0.16f);
    superKickOffParams =
        row(1.225f * offsetLength(-0.13f, 0.18f), offsetAngle(-0.13f, 0.18f), Deg2Rad(35), 0.4f, 0.3f, 0.14f);
    superKickOffRightParams = row(0.18f, offsetAngle(-0.13f, 0.12f), 0, 0.7f, 0.4f, 0.17f);
    superKickOffLeftParams = row(0.18f, offsetAngle(-0.13f, 0.12f), 0, 0.7f, 0.4f, 0.17f);
    sevenMKickParams = row(offsetLength(-0.18f, 0.12f), offsetAngle(-0.18f, 0.12f), 0, 0.38f, 0.3f, 0.15f);
    goalKickParams = superKickParams;
    kungfuKickParams = row(0, 0, 0, 0.5f, 0.4f, 0.15f);
    // The angle is the offset's angle read as degrees.
    dynamicKickParams = row(0.19f, Deg2Rad(offsetAngle(-0.22f, -0.12f)), 0, 0.4f, 0.36f, 0.18f);

    static const float candidates[10][2] = {{0.11f, 0.12f}, {0.09f, 0.14f}, {0, 0.20f},     {0.14f, 0.12f},
                                            {-0.04f, 0.10f}, {0.08f, 0.14f}, {0, 0.16f},     {0, 0.11f},
                                            {0, 0.08f},      {-0.07f, 0.14f}};
    for (const auto& c : candidates) {
        mSet.push_back(Footstep(Vector3f(c[0], c[1], 0), std::make_pair(0.0f, 0.0f), 0, Footstep::DOUBLE));
    }
    previousStep[0] = mSet.back();
    previousStep[1] = mSet.back();
}

void WalkKickPlanner::SetKick(eKick k) {
    const SKickParams* rows[9] = {&superKickParams,        &clearballParams,  &superKickOffParams,
                                  &superKickOffRightParams, &superKickOffLeftParams, &sevenMKickParams,
                                  &goalKickParams,          &kungfuKickParams, &dynamicKickParams};
    int i = static_cast<int>(k);
    if (i >= 0 && i <= 8) {
        currKickParams = *rows[i];
        currKick = i;
    }
}

void WalkKickPlanner::SetSide(float m) {
    currKickParams.side = m;
}

void WalkKickPlanner::SetTarget(float x, float y) {
    m_target = Vector(x, y);
}

void WalkKickPlanner::SetInitBallPos(Vector ball) {
    m_initBallPos = ball;
}

void WalkKickPlanner::SetFirstPlan(bool fp) {
    firstPlan = fp;
}

void WalkKickPlanner::SetKickFoot(int foot) {
    kickFoot = foot;
}

void WalkKickPlanner::isLastStep(bool last) {
    lastStep = last;
}

bool WalkKickPlanner::Finished() {
    return isFinished;
}

float WalkKickPlanner::GetPeriod() {
    return currKickParams.period;
}

int WalkKickPlanner::GetBestFoot2Kick() {
    kickFoot = 0;
    return 0;
}

int WalkKickPlanner::GetBestFoot2Kick7mKick() {
    return 0;
}

int WalkKickPlanner::getKickFoot() const {
    return kickFoot;
}

bool WalkKickPlanner::Aborted() {
    Vector ball = world->ballPos;
    Vector me = world->me ? world->me->position.to2d() : Vector();
    return ball.getDistanceTo(m_initBallPos) > 1 || me.getDistanceTo(ball) > 1;
}

Vector WalkKickPlanner::kickFootFinalStep() const {
    Vector toTarget = vTargetRel - vBallRel;
    return Vector(-currKickParams.kickFootBehind, sideShift()).relativeToGlobal(vBallRel, toTarget.getDirection());
}

float WalkKickPlanner::sideShift() const {
    // The planning frame has +y to the left; the support foot stands left
    // of the ball when the right foot kicks.
    return kickFoot == 0 ? currKickParams.side : -currKickParams.side;
}

void WalkKickPlanner::ComputeRelativePosition() {
    Joint* lHip = model->getJoint(Types::ijLlj1);
    Joint* rHip = model->getJoint(Types::ijRlj1);
    if (lHip && rHip) {
        vPelvis = Vector3f::determineMidpoint(lHip->getPosition(), rHip->getPosition()).to2d();
    }
    float orientation = world->me ? world->me->orientation : 0;
    vTargetRel = m_target - vPelvis;
    vBallRel = world->ballPos - vPelvis;
    vTargetRel.y = -vTargetRel.y;
    vBallRel.y = -vBallRel.y;
    vTargetRel.rotate(orientation);
    vBallRel.rotate(orientation);

    Vector3f l = model->getLFootPositionFK();
    Vector3f r = model->getRFootPositionFK();
    vLFootRel = Vector(l.x, l.y);
    vRFootRel = Vector(r.x, r.y);

    lastSupport = GetLast();
    if (lastSupport.foot == Footstep::LEFT) {
        signal = -1;
        nextFoot.foot = Footstep::RIGHT;
        nextFoot.position = Vector3f(vRFootRel.x, vRFootRel.y, 0);
        lastSupport.position = Vector3f(vLFootRel.x, vLFootRel.y, 0);
    } else {
        nextFoot.foot = Footstep::LEFT;
        nextFoot.position = Vector3f(vLFootRel.x, vLFootRel.y, 0);
        lastSupport.position = Vector3f(vRFootRel.x, vRFootRel.y, 0);
        signal = 1;
    }

    int best = GetBestFoot2Kick();
    suppAtKick = best == 0 ? 1 : 0;

    Vector away = -(vTargetRel - vBallRel);
    away.setLength(currKickParams.distBall2Support);
    float turn = Rad2Deg(currKickParams.angBall2Support);
    away.rotate(best == 1 ? turn : -turn);
    vSuppAtKickRel = away + vBallRel + Vector(0, sideShift()).rotate((vTargetRel - vBallRel).getDirection());

    vKickFootFinalStep = kickFootFinalStep();
}

void WalkKickPlanner::Update() {
    if (lastStep) {
        return;
    }
    ComputeRelativePosition();

    Footstep nextStep = mSet.back();
    if (footsteps.size() >= 2) {
        nextStep = footsteps[1];
    }
    Vector from = lastSupport.position.to2d();
    float dist = nextFoot.foot == suppAtKick ? from.getDistanceTo(vSuppAtKickRel) : from.getDistanceTo(vKickFootFinalStep);

    if (!firstPlan && nextFoot.foot == suppAtKick && dist < currKickParams.maxStep) {
        nextStep.position = Vector3f(vSuppAtKickRel.x, vSuppAtKickRel.y, 0);
        nextStep.duration = currKickParams.lastStepDur;
        nextStep.foot = nextFoot.foot;
        nextStep.orientation.first = 0;
        nextStep.orientation.second = getBestOrientation(nextStep) + signal * currKickParams.angPose2Kick;
        if (nextStep.position.y / signal < 0) {
            // On the wrong side of the frame for this foot.
            nextStep.position.y = signal * 0.02f;
        } else {
            lastStep = true;
        }
        Add(nextStep);
    } else {
        lastStep = false;
        float best = kPenalty;
        for (const Footstep& candidate : mSet) {
            Footstep step = candidate;
            step.position = Vector3f(lastSupport.position.x + candidate.position.x,
                                     lastSupport.position.y + candidate.position.y * signal, 0);
            step.orientation.first = 0;
            step.foot = nextFoot.foot;
            step.orientation.second = getBestOrientation(step);
            float h = calcHeuristicValue(step);
            if (h < best) {
                best = h;
                nextStep = step;
            }
        }
        Add(nextStep);
    }
    setPreviousStep(nextStep);
    firstPlan = false;
}

float WalkKickPlanner::calcHeuristicValue(Footstep step) {
    if (checkForPenalties(step)) {
        return kPenalty;
    }
    Vector goal = step.foot == kickFoot ? vKickFootFinalStep : vSuppAtKickRel;
    float angleTerm = 0;
    return step.position.dist(Vector3f(goal.x, goal.y, 0)) + angleTerm;
}

bool WalkKickPlanner::checkForPenalties(Footstep step) {
    float d = step.position.to2d().getDistanceTo(vBallRel);
    if (model->getRobotType() == 4) {
        return d < 0.22f;
    }
    return d < 0.19f;
}

float WalkKickPlanner::getBestOrientation(Footstep footstep) {
    if (firstPlan) {
        return 0;
    }
    float footRelOri = model->getOrientationFK(footstep.foot == Footstep::RIGHT ? 1 : 0).z;
    Vector ball = world->ballPos;
    float correctOri = (m_target - ball).getDirection() * kPi / 180;
    float myOri = (world->me ? world->me->orientation : 0) * kPi / 180 + footRelOri;
    float erro = myOri - correctOri;
    if (!std::isfinite(erro) || erro / signal < 0) {
        return 0;
    }
    if (std::fabs(erro) < kMaxTurn) {
        return erro;
    }
    return signal * kMaxTurn;
}

void WalkKickPlanner::setPreviousStep(Footstep step) {
    previousStep[0] = previousStep[1];
    previousStep[1] = step;
}

Footstep WalkKickPlanner::getPreviousStep(int id) {
    return previousStep[id == 0 ? 0 : 1];
}

bool WalkKickPlanner::isReachable(Vector step, Vector otherFoot) {
    float orientation = world->me ? world->me->orientation : 0;
    step.relativeToGlobal(vPelvis, orientation);
    otherFoot.relativeToGlobal(vPelvis, orientation);
    step.globalToRelative(otherFoot, orientation);
    float xdist = 0.14f - std::fabs(step.x);
    float ydistMin = std::fabs(step.y) - 0.06f;
    return !(xdist * ydistMin < 0);
}

float WalkKickPlanner::LinearInterpolation(float a, float b, float t, float tTotal) {
    return a + (b - a) * t / tTotal;
}

Vector3f WalkKickPlanner::GetZMP(float t, int initial) {
    int i = GetFootstepPosT(t, initial);
    if (i < 0 || i >= GetNumberOfSteps()) {
        return Vector3f(0, 0, 0);
    }
    return footsteps[i].position;
}

Vector3f WalkKickPlanner::GetSwingPosition(float t) {
    return swingArc(t, kSwingHeight);
}

Vector3f WalkKickPlanner::GetLastSwing(float t) {
    vKickFootFinalStep = kickFootFinalStep();
    if (footsteps.size() < 3) {
        return Vector3f(0, 0, 0);
    }
    Vector3f position = footsteps[1].position;
    float d = footsteps[2].duration;
    float r = d / 3;
    float T = 0.95f * d - r;
    if (t >= r && T > 0) {
        float s = std::fmin(1.0f, (t - r) / T);
        position.x = LinearInterpolation(position.x, vKickFootFinalStep.x, s, 1);
        position.y = LinearInterpolation(position.y, vKickFootFinalStep.y, s, 1);
        // Landing: up and down again on a parabola; else rising to the end.
        position.z = currKickParams.kickFootLands ? 4 * kSwingHeight * s * (1 - s) : kSwingHeight * s;
    }
    return position;
}
