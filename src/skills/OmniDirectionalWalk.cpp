#include "skills/OmniDirectionalWalk.h"

#include <cmath>

#include "physics/JointControl.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

namespace {

const float PI = 3.1415927f;
// Proportional gains of the leg and arm targets.
const float LEG_KP = 0.08726646f;
const float ARM_KP = 0.17453292f;
// Shoulder pitch of both arms while walking, degrees.
const float ARM_ANGLE = -75;

bool inPhaseWindow(float phi) { return -PI <= phi && phi < PI; }

} // namespace

float norm(Vector v) { return std::sqrt(v.x * v.x + v.y * v.y); }

float norm(float v) { return std::sqrt(v * v); }

Vector rotate(Vector v, float a)
{
    return Vector(v.x * std::cos(a) + v.y * std::sin(a), -v.x * std::sin(a) + v.y * std::cos(a));
}

Vector invrotate(Vector v, float a)
{
    return Vector(v.x * std::cos(a) - v.y * std::sin(a), v.x * std::sin(a) + v.y * std::cos(a));
}

OmniDirectionalWalk::OmniDirectionalWalk() : Behavior("OWalk"), aRobot(0, 0, 0) {}

void OmniDirectionalWalk::setOdwParameters(Vector3f a, float s, bool g)
{
    aRobot = a;
    step = s;
    gyro = g;
}

void OmniDirectionalWalk::init()
{
    Singleton<JointControl>::getInstance().resetPID();
    trunkPhaseInit = trunkPhase = -PI;
    countSteps = 0;
    initWaitSteps = 0;
}

bool OmniDirectionalWalk::finished() { return trunkPhase >= trunkPhaseInit + 2 * PI; }

void OmniDirectionalWalk::execute()
{
    float left[6], right[6];
    getLegCurrentAngles(lsLeft, left);
    getLegCurrentAngles(lsRight, right);
    JointControl& jc = Singleton<JointControl>::getInstance();
    for (int i = 0; i < 6; ++i) {
        jc.setJointTarget(Types::ijLlj1 + 2 * i, left[i], LEG_KP, -1, -1);
        jc.setJointTarget(Types::ijRlj1 + 2 * i, right[i], LEG_KP, -1, -1);
    }
    if (!gyro) {
        jc.setJointTarget(Types::ijLaj1, ARM_ANGLE, ARM_KP, -1, -1);
        jc.setJointTarget(Types::ijRaj1, ARM_ANGLE, ARM_KP, -1, -1);
    }
    jc.commit();
    if (countSteps >= initWaitSteps)
        trunkPhase += step;
    ++countSteps;
}

void OmniDirectionalWalk::getLegCurrentAngles(LegSide ls, float* leg)
{
    const float s = static_cast<float>(ls);
    const float r = aRobot.x, p = aRobot.y, y = aRobot.z;
    const float rp = norm(Vector(r, p));

    float phiLeg = GetNormalizeAngleRad(trunkPhase + s * PI / 2);

    float aShift = 0.12f + 0.08f * rp + 0.7f * norm(r);
    float thetaShift = aShift * std::sin(phiLeg - PI);
    float thetaLegShift = thetaShift;
    float thetaFootShift = -0.5f * thetaShift;

    float phiShort = vShort * (phiLeg + PI / 2 + oShort);
    float aShort = 0.2f + 2 * rp;
    float gammaShort = 0, thetaFootShort = 0;
    if (inPhaseWindow(phiShort)) {
        gammaShort = -0.5f * aShort * (std::cos(phiShort) + 1);
        thetaFootShort = 0.5f * p * (std::cos(phiShort) + 1);
    }

    float phiLoad = vLoad * GetNormalizeAngleRad(phiLeg + PI / 2 - PI / vShort + oShort) - PI;
    float aLoad = 0.025f + 0.5f * (1 - std::cos(norm(p)));
    float gammaLoad = 0;
    if (inPhaseWindow(phiLoad))
        gammaLoad = -0.5f * aLoad * (std::cos(phiLoad) + 1);

    float phiSwing = vSwing * (phiLeg + PI / 2 + oSwing);
    float b = -2 / (2 * PI * vSwing - PI);
    float thetaSwing;
    if (phiSwing >= PI / 2)
        thetaSwing = b * (phiSwing - PI / 2) + 1;
    else if (phiSwing < -PI / 2)
        thetaSwing = b * (phiSwing + PI / 2) - 1;
    else
        thetaSwing = std::sin(phiSwing);

    Vector3f thetaLegSwing(s * r * thetaSwing, p * thetaSwing, s * y * thetaSwing);
    Vector thetaFootSwing(0.25f * s * r * thetaSwing, 0.25f * p * thetaSwing);

    double footBalX = 0.5 * s * r * std::cos(static_cast<double>(phiLeg) + 0.35);
    double footBalY = 0.08 * p + 0.02 - 0.04 * p * std::cos(2.0 * phiLeg + 0.7);
    double legBalX = 0.1 * y + s * r + 0.01 + norm(r);

    Vector3f thetaLeg(thetaLegSwing.x + thetaLegShift + static_cast<float>(legBalX),
                      thetaLegSwing.y, thetaLegSwing.z);
    Vector thetaFoot(thetaFootSwing.x + thetaFootShift + static_cast<float>(footBalX),
                     thetaFootSwing.y + thetaFootShort + static_cast<float>(footBalY));

    // A leg never stretches beyond straight nor folds beyond flat.
    float eta = 1 + (1 - nuMin) * (gammaShort + gammaLoad);
    eta = eta > 1 ? 1 : (eta < -1 ? -1 : eta);
    float thetaKnee = -2 * std::acos(eta);
    Vector k(0, std::acos(eta));

    float thetaThigh = thetaLeg.z;
    Vector legXY(thetaLeg.x, thetaLeg.y);
    Vector thetaHip = legXY + rotate(k, thetaThigh);
    Vector thetaAnkle = k + invrotate(thetaFoot - legXY, thetaThigh);

    leg[0] = Rad2Deg(thetaThigh);
    leg[1] = Rad2Deg(-s * thetaHip.x);
    leg[2] = Rad2Deg(thetaHip.y);
    leg[3] = Rad2Deg(thetaKnee);
    leg[4] = Rad2Deg(thetaAnkle.y);
    leg[5] = Rad2Deg(-s * thetaAnkle.x);
}
