#include <cmath>
#include <sstream>

#include "geometry/RotationMatrix.h"
#include "physics/AgentModel.h"
#include "physics/LegPose.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "utils/RobovizLogger.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

const double kCycle = 0.02;
const int kPreview = 50;
const double kStepTolerance = 0.005;
const float kLastStepShare = 0.95f;
const float kComHeight = 0.19f;
const float kLeadX = 0.08f;
const float kLeadY = 0.07f;

}  // namespace

bool OmniWalkPrevCtrl::IsEndOfStep() {
    if (currPlanner->GetNumberOfSteps() < 3) {
        return false;
    }
    double d = currPlanner->GetCurrent().duration;
    // At the boundary, or already past it.
    return static_cast<double>(currTime) > d - kStepTolerance;
}

void OmniWalkPrevCtrl::EndOfStep() {
    currPlanner->Remove();
    Replan();
}

void OmniWalkPrevCtrl::Replan() {
    printQueue();
    Vector c = GetPosition();
    Vector3f p(c.x, c.y, 0);
    Vector3f left = GetLFoot() - p;
    Vector3f right = GetRFoot() - p;
    Footstep* l = currPlanner->GetPreviousLeft(2);
    Footstep* r = currPlanner->GetPreviousRight(2);
    float leftYaw = l ? l->orientation.second : 0;
    float rightYaw = r ? r->orientation.second : 0;
    int s = GetPrevSupport();
    if (s != Footstep::LEFT && s != Footstep::RIGHT) {
        // The latest single-support foot of the queue.
        s = Footstep::RIGHT;
        std::vector<Footstep>& q = currPlanner->footsteps;
        for (int i = static_cast<int>(q.size() < 3 ? q.size() : 3) - 1; i >= 0; i--) {
            if (q[i].foot == Footstep::LEFT || q[i].foot == Footstep::RIGHT) {
                s = q[i].foot;
                break;
            }
        }
    }
    for (MatrixMxN* m : {&currCOM.mX, &currCOM.mY}) {
        MatrixMxN& next = m == &currCOM.mX ? nextCOM.mX : nextCOM.mY;
        m->Get(0, 0) = 0;
        m->Get(1, 0) = next.Get(1, 0);
        m->Get(2, 0) = next.Get(2, 0);
    }
    nextCOM.mX = currCOM.mX;
    nextCOM.mY = currCOM.mY;
    currPlanner->SetFinished(false);
    currPlanner->Clear();
    float period = currPlanner->GetPeriod();
    seed(s, left, right, 0, period, s == Footstep::LEFT ? leftYaw : rightYaw);
    printQueue();
    currPlanner->Update();
    printQueue();
    currTime = 0;
}

void OmniWalkPrevCtrl::execute() {
    measureFeet();
    if (currPlanner->GetNumberOfSteps() >= 3 && IsEndOfStep()) {
        EndOfStep();
    }
    if (currPlanner->GetNumberOfSteps() < 3) {
        // Nothing under way: hold the last pose.
        currPlanner->SetFinished(true);
        UpdatePose();
        return;
    }
    Footstep footstep = currPlanner->GetCurrent();
    bool last = currPlanner->GetCurrent() == currPlanner->GetLast();
    ComputeCOM(currTime, false);

    Vector3f L, R, Lori, Rori;
    if (last && footstep.foot == Footstep::RIGHT) {
        L = currPlanner->GetLastSwing(currTime);
        R = footstep.position;
        Lori = GetOrientation(Footstep::LEFT, footstep, false);
        Rori = GetOrientation(Footstep::RIGHT, footstep, true);
    } else if (last && footstep.foot == Footstep::LEFT) {
        R = currPlanner->GetLastSwing(currTime);
        L = footstep.position;
        Rori = GetOrientation(Footstep::RIGHT, footstep, false);
        Lori = GetOrientation(Footstep::LEFT, footstep, true);
    } else if (footstep.foot == Footstep::RIGHT) {
        R = footstep.position;
        L = currPlanner->GetSwingPosition(currTime);
        Rori = GetOrientation(Footstep::RIGHT, footstep, true);
        Lori = GetOrientation(Footstep::LEFT, footstep, false);
    } else if (footstep.foot == Footstep::LEFT) {
        L = footstep.position;
        R = currPlanner->GetSwingPosition(currTime);
        Lori = GetOrientation(Footstep::LEFT, footstep, true);
        Rori = GetOrientation(Footstep::RIGHT, footstep, false);
    } else {
        L = GetLFoot();
        R = GetRFoot();
    }
    Vector3f c(currCOM.mX.Get(0, 0), currCOM.mY.Get(0, 0), kComHeight);
    ComputePose(L - c, Lori, R - c, Rori);
    UpdatePose();
    currTime = static_cast<float>(currTime + kCycle);
    if (last && currTime >= kLastStepShare * footstep.duration) {
        currPlanner->SetFinished(true);
    }
}

void OmniWalkPrevCtrl::ComputeCOM(float t, bool initCond) {
    int i0 = initCond ? 0 : 2;
    currCOM.mX = nextCOM.mX;
    currCOM.mY = nextCOM.mY;
    Vector3f r = currPlanner->GetZMP(t, i0);
    float sx = 0, sy = 0;
    float k = 0;
    for (int j = 0; j < kPreview; j++, k += 1) {
        float future = static_cast<float>(t + (k + 1) * kCycle);
        Vector3f z = currPlanner->GetZMP(future, i0);
        sx += mGp.Get(0, j) * z.x;
        sy += mGp.Get(0, j) * z.y;
    }
    struct Axis {
        MatrixMxN& curr;
        MatrixMxN& next;
        float ref;
        float sum;
        float& accum;
        float& u;
    } axes[2] = {{currCOM.mX, nextCOM.mX, r.x, sx, prevAccumErrorX, prevUx},
                 {currCOM.mY, nextCOM.mY, r.y, sy, prevAccumErrorY, prevUy}};
    for (Axis& a : axes) {
        float x[3] = {a.curr.Get(0, 0), a.curr.Get(1, 0), a.curr.Get(2, 0)};
        float zmp = mC.Get(0, 0) * x[0] + mC.Get(0, 1) * x[1] + mC.Get(0, 2) * x[2];
        a.accum += a.ref - zmp;
        float feedback = mKp.Get(0, 1) * x[0] + mKp.Get(0, 2) * x[1] + mKp.Get(0, 3) * x[2];
        a.u = a.accum * mKp.Get(0, 0) - feedback - a.sum;
        if (!std::isfinite(a.u) || !std::isfinite(a.accum)) {
            // A diverged controller starts again from rest.
            a.u = 0;
            a.accum = 0;
        }
        for (int row = 0; row < 3; row++) {
            float v = mA.Get(row, 0) * x[0] + mA.Get(row, 1) * x[1] + mA.Get(row, 2) * x[2] + mB.Get(row, 0) * a.u;
            a.next.Get(row, 0) = std::isfinite(v) ? v : 0;
        }
    }
}

Vector3f OmniWalkPrevCtrl::GetOrientation(int currFoot, Footstep footstep, bool isSupport) {
    float best = pWAKPlanner->getBestOrientation(footstep);
    int other = currFoot == Footstep::LEFT ? Footstep::RIGHT : Footstep::LEFT;
    float from = model->getOrientationFK(currFoot == Footstep::LEFT ? 1 : 0).z;
    float to = isSupport ? -model->getOrientationFK(other == Footstep::LEFT ? 1 : 0).z : best / 2;
    float d = currPlanner->GetNumberOfSteps() >= 3 ? currPlanner->GetCurrent().duration : 0;
    float yaw = d > 0 ? LinearInterpolation(from, to, currTime, d) : to;
    return Vector3f(0, 0, std::isfinite(yaw) ? yaw : 0);
}

float OmniWalkPrevCtrl::LinearInterpolation(float a, float b, float t, float tTotal) {
    return a + (b - a) * t / tTotal;
}

void OmniWalkPrevCtrl::ComputePose(Vector3f targLPos, Vector3f targLOri, Vector3f targRPos, Vector3f targROri) {
    std::vector<float> left = LegInvKin(1, targLPos, targLOri);
    std::vector<float> right = LegInvKin(0, targRPos, targROri);
    for (int i = 0; i < 6; i++) {
        pose[2 + 2 * i] = left[i];
        pose[3 + 2 * i] = right[i];
    }
}

std::vector<float> OmniWalkPrevCtrl::LegInvKin(int foot, Vector3f targPos, Vector3f targOri) {
    return LegPose::joints(foot, targPos, targOri);
}

void OmniWalkPrevCtrl::UpdatePose() {
    static const int first[14] = {2, 4, 6, 8, 10, 12, 3, 5, 7, 9, 11, 13, 14, 16};
    for (int j : first) {
        Joint* joint = model->getJoint(j);
        float current = joint ? joint->getAngle() : pose[j];
        actions->MoveJointTo(j, PredictEffector(j, current, pose[j]));
    }
    std::ostringstream text;
    text << "DegY: " << pose[14] << " EffY: " << lastError[14] << " DegX: " << pose[16] << " EffX: " << lastError[16];
    RobovizLogger& draw = RobovizLogger::Instance();
    if (world->me) {
        draw.drawAnnotation(text.str(), world->me->position, draw.blue, "Left Arm");
    }
    for (int j : {15, 17}) {
        Joint* joint = model->getJoint(j);
        float current = joint ? joint->getAngle() : pose[j];
        actions->MoveJointTo(j, PredictEffector(j, current, pose[j]));
    }
    actions->Send();
}

float OmniWalkPrevCtrl::PredictEffector(int joint, float current, float setpoint) {
    if (joint < 0 || joint >= Types::NJOINTS) {
        return 0;
    }
    if (lastError[joint] == -1000) {
        lastError[joint] = 0;
    }
    if (lastAngle[joint] == -1000) {
        lastAngle[joint] = current;
    }
    float speed = static_cast<float>(LegPose::speed(current, setpoint, world->timeStep));
    lastError[joint] = speed;
    lastAngle[joint] = current;
    return speed;
}

void OmniWalkPrevCtrl::ComputeFeetRel2Pelvis(Vector3f& pelvis, Vector3f& lFPos, Vector3f& rFPos, Vector3f& lFOri,
                                             Vector3f& rFOri) {
    Vector3f at[4];
    int ids[4] = {Types::ijLlj1, Types::ijRlj1, Types::ijLlj6, Types::ijRlj6};
    for (int i = 0; i < 4; i++) {
        Joint* j = model->getJoint(ids[i]);
        if (j) {
            at[i] = j->getPosition();
            at[i].x += kLeadX * j->velocity.x;
            at[i].y += kLeadY * j->velocity.y;
        }
    }
    pelvis = Vector3f::determineMidpoint(at[0], at[1]);
    lFPos = at[2] - pelvis;
    rFPos = at[3] - pelvis;
    pelvis.y = -pelvis.y;
    lFPos.y = -lFPos.y;
    rFPos.y = -rFPos.y;
    float orientation = world->me ? world->me->orientation : 0;
    for (Vector3f* p : {&lFPos, &rFPos}) {
        Vector planar = p->to2d();
        planar.rotate(orientation);
        *p = Vector3f(planar.x, planar.y, p->z);
    }
    lFOri = rFOri = Vector3f(0, 0, 0);
    float front = (world->me ? -world->me->vertInclinFront : 0) * 3.14159265f / 180;
    float side = (world->me ? -world->me->vertInclinSide : 0) * 3.14159265f / 180;
    RotationMatrix tilt = GetRotationMatrixY(front) * GetRotationMatrixX(side);
    lFPos = tilt * lFPos;
    rFPos = tilt * rFPos;
    lFOri = rFOri = Vector3f(front, side, 0);
}
