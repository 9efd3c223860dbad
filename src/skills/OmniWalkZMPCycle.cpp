#include <algorithm>
#include <cmath>
#include <sstream>

#include "geometry/HomogMatrix.h"
#include "geometry/RotationMatrix.h"
#include "logger/LoggerZek.h"
#include "physics/AgentModel.h"
#include "physics/LegJointSigns.h"
#include "skills/OmniWalkZMP.h"
#include "utils/LoggerMatlab.h"
#include "utils/RobovizLogger.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

const double kStepEndTolerance = 0.00005;
const double kMaxJointSpeed = 16.1395447;
const float kDegToRad = 3.14159265358979f / 180;
// Targets stay this far inside the joint's range: the server ignores a
// command to a joint that stands at or beyond one of its stops.
const float kStopMargin = 0.5f;

// Tilts a foot vector by pitch p in the x-z plane, then by roll r in the
// y-z plane (degrees).
Vector3f tilt(const Vector3f& v, float p, float r) {
    float cp = std::cos(p * kDegToRad), sp = std::sin(p * kDegToRad);
    float x = cp * v.x + sp * v.z;
    float z = -sp * v.x + cp * v.z;
    float cr = std::cos(r * kDegToRad), sr = std::sin(r * kDegToRad);
    return Vector3f(x, cr * v.y - sr * z, sr * v.y + cr * z);
}

Vector3f onGround(const Vector& p) {
    return Vector3f(p.x, p.y, 0);
}

}  // namespace

void OmniWalkZMP::execute() {
    double t = world->cTime - initTime;
    isStepFinished = false;
    bool stepEnds = t > stepTime - kStepEndTolerance;
    if (stepEnds) {
        transitionLeftFoot = inicialLeftLeg;
        transitionRightFoot = inicialRightLeg;
        transitionError = Vector(static_cast<float>(dp), static_cast<float>(dpY));
        isStepFinished = true;
    }
    if (stepEnds || initWalk) {
        initWalk = false;
        initTime = world->cTime;
        previousLeftFoot = planedLeftFoot[0];
        previousRightFoot = planedRightFoot[0];
        inicialLeftLeg = planedLeftFoot[1];
        inicialRightLeg = planedRightFoot[1];
        footGenerator2(stepSizeX, stepSizeY, 0, steps, stepTime, inicialLeftLeg, inicialRightLeg);
        int size = 0;
        ZMP* reference = zmpGenerator2(steps, deltaT, 0, size);
        lastTheta = thetaStep;
        int n = static_cast<int>(stepTime / deltaT + 1e-6);
        n = std::max(0, std::min(n, std::min(COM_SAMPLES - 1, size + 999)));
        CoM* com = zmpPreviewController(reference, size, initCom);
        for (int i = 0; i <= n; i++) {
            planedCoM[i].PositionX = com[i].PositionX;
            planedCoM[i].PositionY = com[i].PositionY;
        }
        plannedSamples = n;
        initCom = planedCoM[n];
        delete[] reference;
        delete[] com;
    }

    t = world->cTime - initTime;
    Vector3f c = getCoM(t);
    float p = -(world->me->vertInclinFront / 2) - 3.5f;
    float r = -world->me->vertInclinSide / 2;
    float D = static_cast<float>(stepTime);
    float ft = static_cast<float>(t);
    // The turn of the step as it was planned.
    float theta = static_cast<float>(lastTheta);
    const Foot& left = planedLeftFoot[0];
    const Foot& right = planedRightFoot[0];

    if (left.support && right.support) {
        computePose(onGround(left.Position) - c, onGround(right.Position) - c, Vector3f(0, 0, 0),
                    Vector3f(0, 0, 0));
    } else if (left.support || right.support) {
        bool leftSupports = left.support;
        const Foot& from = leftSupports ? previousRightFoot : previousLeftFoot;
        const Foot& to = leftSupports ? right : left;
        const Foot& support = leftSupports ? left : right;
        // Yaw profiles: the first pair when the step turns one way, the
        // second when it turns the other.
        bool firstPair = leftSupports ? theta < 0 : theta >= 0;
        if (firstPair) {
            bzqdRotateSupport.setLinear(Vector3f(-theta, 0, 0), Vector3f(0, 0, 0), D);
            bzqdRotateSwing.setLinear(Vector3f(theta, 0, 0), Vector3f(0, 0, 0), D);
        } else {
            bzqdRotateSupport.setLinear(Vector3f(0, 0, 0), Vector3f(theta, 0, 0), D);
            bzqdRotateSwing.setLinear(Vector3f(0, 0, 0), Vector3f(-theta, 0, 0), D);
        }
        Vector3f s = onGround(from.Position);
        Vector3f g = onGround(to.Position);
        Vector3f m((s.x + g.x) / 2, (s.y + g.y) / 2, static_cast<float>(swingHeight));
        bzqdSwing.setQuadratic(s, m, g, D);
        Vector3f swing = tilt(bzqdSwing.getQuadraticPosition(ft) - c, p, r);
        Vector3f stance = tilt(onGround(support.Position) - c, p, r);
        Vector3f swingOri(p, r, bzqdRotateSwing.getLinearPosition(ft).x);
        Vector3f supportOri(p, r, bzqdRotateSupport.getLinearPosition(ft).x);
        if (leftSupports) {
            computePose(stance, swing, swingOri, supportOri);
        } else {
            computePose(swing, stance, supportOri, swingOri);
        }
    }
    updatePose();
}

Vector3f OmniWalkZMP::getCoM(double time) {
    int i = static_cast<int>(time / deltaT);
    i = std::max(0, std::min(i, plannedSamples));
    const Foot& support = planedLeftFoot[0].support ? planedLeftFoot[0] : planedRightFoot[0];
    const CoM& sample = planedCoM[i];
    float dx = sample.PositionX.x - support.Position.x;
    float dy = sample.PositionY.x - support.Position.y;
    double d2 = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
    // A COM beyond the leg's reach stands at hip height 0, never at NaN.
    double height = std::sqrt(std::max(0.0, legExtention * legExtention - d2));
    if (!std::isfinite(height)) {
        height = 0;
    }
    transitionCom = sample;
    logm->log("comIter", static_cast<float>(i));
    logm->log("comHeight", static_cast<float>(height));
    return Vector3f(sample.PositionX.x, sample.PositionY.x, static_cast<float>(height));
}

void OmniWalkZMP::computePose(Vector3f lFootPos, Vector3f rFootPos, Vector3f orientationRithFoot,
                              Vector3f orientationLeftFoot) {
    std::vector<float> left = legInvKin(1, lFootPos, orientationLeftFoot);
    std::vector<float> right = legInvKin(0, rFootPos, orientationRithFoot);
    for (int i = 0; i < 6; i++) {
        pose[Types::ijLlj1 + 2 * i] = left[i];
        pose[Types::ijRlj1 + 2 * i] = right[i];
    }
    int hip = GetPrevSupport() == 0 ? Types::ijLlj3 : Types::ijRlj3;
    float f = world->me->vertInclinFront;
    if (f < 0) {
        pose[hip] += fComp - f;
    } else if (f > 20) {
        pose[hip] -= f - bComp;
    }
    updateArms();
}

std::vector<float> OmniWalkZMP::legInvKin(int foot, Vector3f targetPos, Vector3f targetOri) {
    RotationMatrix rot = GetRotationMatrixY(targetOri.x * kDegToRad) * GetRotationMatrixX(targetOri.y * kDegToRad) *
                         GetRotationMatrixZ(targetOri.z * kDegToRad);
    std::vector<float> joints;
    InverseKinematics::calcLegJoints(HomogMatrix(rot, targetPos), joints, foot != 0);
    joints.resize(6, 0.0f);
    legSolverToJoints(joints, foot != 0);
    return joints;
}

void OmniWalkZMP::updateArms() {
    LOG(log_TRACE) << "here before";
    LOG(log_TRACE) << "here update";
    pose[Types::ijLaj1] = pose[Types::ijRlj3] - 20;
    pose[Types::ijRaj1] = pose[Types::ijLlj3] - 20;
    pose[Types::ijLaj3] = -80;
    pose[Types::ijRaj3] = 80;
    pose[Types::ijLaj4] = -(pose[Types::ijRlj3] - 10);
    pose[Types::ijRaj4] = pose[Types::ijLlj3] - 10;
    std::ostringstream text;
    text << "LaJ1: " << pose[Types::ijLaj1] << " LaJ3: " << pose[Types::ijLaj3] << " LaJ4: " << pose[Types::ijLaj4]
         << "\n";
    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawAnnotation(text.str(), world->me->position, draw.blue, "Left Arm");
}

void OmniWalkZMP::updatePose() {
    static const int order[20] = {Types::ijLlj1, Types::ijLlj2, Types::ijLlj3, Types::ijLlj4, Types::ijLlj5,
                                  Types::ijLlj6, Types::ijRlj1, Types::ijRlj2, Types::ijRlj3, Types::ijRlj4,
                                  Types::ijRlj5, Types::ijRlj6, Types::ijLaj1, Types::ijLaj2, Types::ijLaj3,
                                  Types::ijLaj4, Types::ijRaj1, Types::ijRaj2, Types::ijRaj3, Types::ijRaj4};
    for (int j : order) {
        Joint* joint = model->getJoint(j);
        double current = joint ? joint->getAngle() : pose[j];
        double target = std::isfinite(pose[j]) ? pose[j] : current;
        if (joint && joint->getMax() - joint->getMin() > 2 * kStopMargin) {
            target = std::max<double>(joint->getMin() + kStopMargin, std::min<double>(joint->getMax() - kStopMargin, target));
        }
        actions->MoveJointTo(j, static_cast<float>(predictEffector(j, current, target)));
    }
    actions->Send();
}

double OmniWalkZMP::predictEffector(int joint, double current, double setpoint) {
    // A missing or zero time step would make the gain infinite.
    double step = world->timeStep;
    if (!(step > 0) || !std::isfinite(step)) {
        step = 0.02;
    }
    double speed = (setpoint - current) / (200 * step);
    if (!std::isfinite(speed)) {
        speed = std::isnan(speed) ? 0 : (speed > 0 ? kMaxJointSpeed : -kMaxJointSpeed);
    }
    speed = std::max(-kMaxJointSpeed, std::min(kMaxJointSpeed, speed));
    if (joint >= 0 && joint < Types::NJOINTS) {
        lastError[joint] = static_cast<float>(speed);
        lastAngle[joint] = static_cast<float>(current);
    }
    return speed;
}
