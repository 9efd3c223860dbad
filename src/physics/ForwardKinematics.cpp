#include "physics/ForwardKinematics.h"

#include <cmath>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kHalfPi = 1.57079632679;
const double kQuarterPi = 0.785398163395;
const double kHipOffset = 0.055;
const double kThigh = 0.12;
const double kShank = 0.1;
const double kFootHeight = 0.04;

void setIdentity(MatrixMxN& m) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m.Get(i, j) = i == j ? 1.0f : 0.0f;
        }
    }
}

double jointRad(AgentModel* model, int id) {
    Joint* joint = model->getJoint(id);
    return joint ? joint->getAngle() * kPi / 180.0 : 0.0;
}

}  // namespace

ForwardKinematics::ForwardKinematics() : mModel(&Singleton<AgentModel>::getInstance()) {
    for (int i = FR_BASE_T; i <= FR_END_T; ++i) {
        mLlegTransf.push_back(MatrixMxN(4, 4));
        mRlegTransf.push_back(MatrixMxN(4, 4));
    }
    makeTranslation(mLlegTransf[FR_BASE_T], 0, kHipOffset, 0);
    makeTranslation(mRlegTransf[FR_BASE_T], 0, -kHipOffset, 0);

    MatrixMxN rot(4, 4);
    MatrixMxN transl(4, 4);
    makeRotationZYX(rot, 3.14159265, -kHalfPi, 0);
    makeTranslation(transl, 0, 0, -kFootHeight);
    mLlegTransf[FR_END_T] = rot * transl;
    mRlegTransf[FR_END_T] = rot * transl;
}

ForwardKinematics::~ForwardKinematics() {}

void ForwardKinematics::prepareForwardKin(int foot) {
    if (foot == 0) {
        prepareForwardKinRight();
    } else if (foot == 1) {
        prepareForwardKinLeft();
    } else {
        prepareForwardKinLeft();
        prepareForwardKinRight();
    }
}

void ForwardKinematics::prepareForwardKinLeft() {
    computeChain(mLlegTransf, true, mLFootPos, mLFootOrient);
    mModel->setLFootPosition(mLFootPos);
    mModel->setLFootOrientation(mLFootOrient);
}

void ForwardKinematics::prepareForwardKinRight() {
    computeChain(mRlegTransf, false, mRFootPos, mRFootOrient);
    mModel->setRFootPosition(mRFootPos);
    mModel->setRFootOrientation(mRFootOrient);
}

void ForwardKinematics::computeChain(std::vector<MatrixMxN>& chain, bool left, Vector3f& pos,
                                     Vector3f& orient) {
    int first = left ? Types::ijLlj1 : Types::ijRlj1;
    // The chain turns the pitch joints (hip pitch, knee, ankle pitch) the
    // leg solver's way, the robot's joints turn the other way.
    static const double sign[6] = {1, 1, -1, -1, -1, 1};
    double q[6];
    for (int i = 0; i < 6; ++i) {
        q[i] = sign[i] * jointRad(mModel, first + 2 * i);
    }
    makeDHTransformation(chain[HIP_YAW_PITCH], 0, left ? -2.356194490185 : -kQuarterPi, 0, q[0] - kHalfPi);
    makeDHTransformation(chain[HIP_ROLL], 0, -kHalfPi, 0, left ? q[1] + kQuarterPi : q[1] - kQuarterPi);
    makeDHTransformation(chain[HIP_PITCH], 0, kHalfPi, 0, q[2]);
    makeDHTransformation(chain[KNEE_PITCH], -kThigh, 0, 0, q[3]);
    makeDHTransformation(chain[ANKLE_PITCH], -kShank, 0, 0, q[4]);
    makeDHTransformation(chain[ANKLE_ROLL], 0, -kHalfPi, 0, q[5]);

    MatrixMxN m = chain[FR_BASE_T];
    for (int i = HIP_YAW_PITCH; i <= FR_END_T; ++i) {
        m = m * chain[i];
    }
    pos = Vector3f(m.Get(0, 3), m.Get(1, 3), m.Get(2, 3));
    double m21 = m.Get(2, 1);
    double m22 = m.Get(2, 2);
    orient = Vector3f(static_cast<float>(std::atan2(m21, m22)),
                      static_cast<float>(std::atan2(-static_cast<double>(m.Get(2, 0)), std::sqrt(m21 * m21 + m22 * m22))),
                      static_cast<float>(std::atan2(static_cast<double>(m.Get(1, 0)), static_cast<double>(m.Get(0, 0)))));
}

void ForwardKinematics::makeDHTransformation(MatrixMxN& Transf, double a, double alpha, double d, double theta) {
    setIdentity(Transf);
    double ct = std::cos(theta);
    double st = std::sin(theta);
    double ca = std::cos(alpha);
    double sa = std::sin(alpha);
    Transf.Get(0, 0) = static_cast<float>(ct);
    Transf.Get(0, 1) = static_cast<float>(-st);
    Transf.Get(0, 2) = 0;
    Transf.Get(0, 3) = static_cast<float>(a);
    Transf.Get(1, 0) = static_cast<float>(st * ca);
    Transf.Get(1, 1) = static_cast<float>(ct * ca);
    Transf.Get(1, 2) = static_cast<float>(-sa);
    Transf.Get(1, 3) = static_cast<float>(-sa * d);
    Transf.Get(2, 0) = static_cast<float>(st * sa);
    Transf.Get(2, 1) = static_cast<float>(ct * sa);
    Transf.Get(2, 2) = static_cast<float>(ca);
    Transf.Get(2, 3) = static_cast<float>(ca * d);
}

void ForwardKinematics::makeTranslation(MatrixMxN& Transl, double x, double y, double z) {
    setIdentity(Transl);
    Transl.Get(0, 3) = static_cast<float>(x);
    Transl.Get(1, 3) = static_cast<float>(y);
    Transl.Get(2, 3) = static_cast<float>(z);
}

void ForwardKinematics::makeRotationX(MatrixMxN& m, double theta) {
    setIdentity(m);
    double c = std::cos(theta);
    double s = std::sin(theta);
    m.Get(1, 1) = static_cast<float>(c);
    m.Get(1, 2) = static_cast<float>(-s);
    m.Get(2, 1) = static_cast<float>(s);
    m.Get(2, 2) = static_cast<float>(c);
}

void ForwardKinematics::makeRotationY(MatrixMxN& m, double theta) {
    setIdentity(m);
    double c = std::cos(theta);
    double s = std::sin(theta);
    m.Get(0, 0) = static_cast<float>(c);
    m.Get(0, 2) = static_cast<float>(s);
    m.Get(2, 0) = static_cast<float>(-s);
    m.Get(2, 2) = static_cast<float>(c);
}

void ForwardKinematics::makeRotationZ(MatrixMxN& m, double theta) {
    setIdentity(m);
    double c = std::cos(theta);
    double s = std::sin(theta);
    m.Get(0, 0) = static_cast<float>(c);
    m.Get(0, 1) = static_cast<float>(-s);
    m.Get(1, 0) = static_cast<float>(s);
    m.Get(1, 1) = static_cast<float>(c);
}

void ForwardKinematics::makeRotationZYX(MatrixMxN& Rot, double zAngle, double yAngle, double xAngle) {
    MatrixMxN rz(4, 4);
    MatrixMxN ry(4, 4);
    MatrixMxN rx(4, 4);
    makeRotationZ(rz, zAngle);
    makeRotationY(ry, yAngle);
    makeRotationX(rx, xAngle);
    Rot = rz * ry * rx;
}

std::string ForwardKinematics::toString(const MatrixMxN&) {
    return " \n\n";
}
