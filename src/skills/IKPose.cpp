#include "skills/IKPose.h"

#include <cmath>

#include "geometry/RotationMatrix.h"
#include "physics/AgentModel.h"
#include "physics/LegPose.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

const float kPi = 3.1415927f;
const int kSent[16] = {Types::ijLlj1, Types::ijLlj2, Types::ijLlj3, Types::ijLlj4, Types::ijLlj5, Types::ijLlj6,
                       Types::ijRlj1, Types::ijRlj2, Types::ijRlj3, Types::ijRlj4, Types::ijRlj5, Types::ijRlj6,
                       Types::ijLaj1, Types::ijLaj2, Types::ijRaj1, Types::ijRaj2};

}  // namespace

IKPose::IKPose()
    : Behavior("IKPose"),
      currTime(0),
      duration(0),
      world(&Singleton<WorldState>::getInstance()),
      model(&Singleton<AgentModel>::getInstance()),
      log(&LoggerMatlab::getInstance()),
      actions(&Singleton<Actions>::getInstance()),
      started(false) {
    for (int j = 0; j < Types::NJOINTS; j++) {
        pose[j] = 0;
        lastAngle[j] = 0;
        lastError[j] = 0;
    }
}

void IKPose::init() {}

void IKPose::init(Vector3f lFootPos, Vector3f rFootPos, float dur, Vector3f lFootOri, Vector3f rFootOri) {
    pose[Types::ijLaj1] = -90;
    pose[Types::ijRaj1] = -90;
    pose[Types::ijLaj2] = 15;
    pose[Types::ijRaj2] = -15;
    Joint* lHip = model->getJoint(Types::ijLlj1);
    Joint* rHip = model->getJoint(Types::ijRlj1);
    Joint* lAnkle = model->getJoint(Types::ijLlj6);
    Joint* rAnkle = model->getJoint(Types::ijRlj6);
    Vector3f mePos;
    if (lHip && rHip) {
        mePos = Vector3f::determineMidpoint(lHip->getPosition(), rHip->getPosition());
    }
    lFInitPos = (lAnkle ? lAnkle->getPosition() : mePos) - mePos;
    rFInitPos = (rAnkle ? rAnkle->getPosition() : mePos) - mePos;
    lFInitPos.y = -lFInitPos.y;
    rFInitPos.y = -rFInitPos.y;
    float orientation = world->me ? world->me->orientation : 0;
    for (Vector3f* p : {&lFInitPos, &rFInitPos}) {
        Vector planar = p->to2d();
        planar.rotate(Rad2Deg(Deg2Rad(orientation)));
        *p = Vector3f(planar.x, planar.y, p->z);
    }
    float front = world->me ? -world->me->vertInclinFront : 0;
    float side = world->me ? -world->me->vertInclinSide : 0;
    front = front * kPi / 180;
    side = side * kPi / 180;
    RotationMatrix tilt = GetRotationMatrixY(front) * GetRotationMatrixX(side);
    lFInitPos = tilt * lFInitPos;
    rFInitPos = tilt * rFInitPos;
    lFInitOri = Vector3f(front, side, 0);
    rFInitOri = lFInitOri;
    lFTargetPos = lFootPos;
    rFTargetPos = rFootPos;
    lFTargetOri = lFootOri;
    rFTargetOri = rFootOri;
    duration = dur;
    currTime = 0;
    started = true;
}

void IKPose::execute() {
    if (!started) {
        return;
    }
    if (currTime < duration) {
        Vector3f l = LinearInterpolation(lFInitPos, lFTargetPos, currTime, duration);
        Vector3f r = LinearInterpolation(rFInitPos, rFTargetPos, currTime, duration);
        Vector3f lo = LinearInterpolation(lFInitOri, lFTargetOri, currTime, duration);
        Vector3f ro = LinearInterpolation(rFInitOri, rFTargetOri, currTime, duration);
        ComputePose(l, lo, r, ro);
        UpdatePose();
        currTime = static_cast<float>(static_cast<double>(currTime) + 0.02);
    } else {
        UpdatePose();
    }
}

bool IKPose::finished() {
    return currTime >= duration;
}

void IKPose::ComputePose(Vector3f targLPos, Vector3f targLOri, Vector3f targRPos, Vector3f targROri) {
    std::vector<float> left = LegInvKin(1, targLPos, targLOri);
    std::vector<float> right = LegInvKin(0, targRPos, targROri);
    for (int i = 0; i < 6; i++) {
        pose[Types::ijLlj1 + 2 * i] = left[i];
        pose[Types::ijRlj1 + 2 * i] = right[i];
    }
}

std::vector<float> IKPose::LegInvKin(int foot, Vector3f targPos, Vector3f targOri) {
    return LegPose::joints(foot, targPos, targOri);
}

void IKPose::UpdatePose() {
    for (int j : kSent) {
        Joint* joint = model->getJoint(j);
        float current = joint ? joint->getAngle() : pose[j];
        actions->MoveJointTo(j, PredictEffector(j, current, pose[j]));
    }
    actions->Send();
}

float IKPose::PredictEffector(int joint, float current, float setpoint) {
    float speed = static_cast<float>(LegPose::speed(current, setpoint, world->timeStep));
    if (joint >= 0 && joint < Types::NJOINTS) {
        lastError[joint] = speed;
        lastAngle[joint] = current;
    }
    return speed;
}

Vector3f IKPose::LinearInterpolation(Vector3f a, Vector3f b, float t, float tTotal) {
    return Vector3f(LinearInterpolation(a.x, b.x, t, tTotal), LinearInterpolation(a.y, b.y, t, tTotal),
                    LinearInterpolation(a.z, b.z, t, tTotal));
}

float IKPose::LinearInterpolation(float a, float b, float t, float tTotal) {
    if (!(tTotal != 0) || !std::isfinite(tTotal)) {
        return a;
    }
    return a + (b - a) * t / tTotal;
}
