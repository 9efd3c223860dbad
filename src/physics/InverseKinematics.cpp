#include "physics/InverseKinematics.h"

#include <cmath>

#include "geometry/Vector3f.h"
#include "geometry/RotationMatrix.h"
#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

const float InverseKinematics::naoUpperLegPattern = 0.120104f;
const float InverseKinematics::naoLowerLegPattern = 0.1f;
const float InverseKinematics::naoThighRelHip2_ZStandard = 0.04f;
const float InverseKinematics::naoAnkleRelShank_ZStandard = 0.055f;
const float InverseKinematics::legLength = 0.11f;

namespace {

const float kPi = 3.1415927f;

float clampUnit(float v) {
    if (std::isnan(v)) {
        return -1;
    }
    return v < -1 ? -1 : (v > 1 ? 1 : v);
}

// |z| of one anchor of a joint; the standard value when the model has none.
float anchorDepth(int jointId, int index, float standard) {
    Joint* joint = Singleton<AgentModel>::getInstance().getJoint(jointId);
    if (!joint) {
        return standard;
    }
    return std::fabs(joint->getAnchor(index).second.z);
}

}  // namespace

bool InverseKinematics::calcLegJoints(const HomogMatrix& position, std::vector<float>& joints, bool left) {
    float upperLeg = anchorDepth(Types::ijLlj3, 1, naoThighRelHip2_ZStandard) - naoThighRelHip2_ZStandard +
                     naoUpperLegPattern;
    float lowerLeg = anchorDepth(Types::ijLlj5, 0, naoAnkleRelShank_ZStandard) - naoAnkleRelShank_ZStandard +
                     naoLowerLegPattern;

    float sign = left ? -1.0f : 1.0f;
    HomogMatrix target(position);
    target.translate(0, sign * legLength / 2, 0);

    float s = 0.5f * std::sqrt(2.0f);
    RotationMatrix rotX(Vector3f(1, 0, 0), Vector3f(0, s, -sign * s), Vector3f(0, sign * s, s));
    target.setTranslation(rotX * target.getTranslation());
    target.setRotation(rotX * target.getRotation());

    target = target.getInverse();
    Vector3f t = target.getTranslation();
    float length = t.length();

    float cosLowerLeg;
    float cosKnee;
    if (length > 0) {
        cosLowerLeg = (lowerLeg * lowerLeg + length * length - upperLeg * upperLeg) / (2 * lowerLeg * length);
        cosKnee = (upperLeg * upperLeg + lowerLeg * lowerLeg - length * length) / (2 * upperLeg * lowerLeg);
    } else {
        // Foot at the hip: fold the leg as far as it goes.
        cosLowerLeg = -1;
        cosKnee = 1;
    }

    bool reachable = length > 0;
    if (!(cosKnee >= -1 && cosKnee <= 1)) {
        reachable = false;
    }
    // Rounding may push either cosine just past +-1.
    cosKnee = clampUnit(cosKnee);
    cosLowerLeg = clampUnit(cosLowerLeg);

    float knee = kPi - std::acos(cosKnee);
    float anklePitch = -std::acos(cosLowerLeg) - std::atan2(t.x, Vector3f(0, t.y, t.z).length());
    float ankleRoll = sign * std::atan2(t.y, t.z);

    RotationMatrix hipFromFoot;
    hipFromFoot.rotateX(-sign * ankleRoll);
    hipFromFoot.rotateY(-anklePitch - knee);

    RotationMatrix hip = hipFromFoot.getInverse() * target.getRotation();
    float hipRoll = -sign * std::asin(clampUnit(-hip.l1.z)) - 0.7853982f;
    float hipPitch = -std::atan2(hip.l0.z, hip.l2.z);
    float hipYaw = -sign * std::atan2(hip.l1.x, hip.l1.y);

    joints.clear();
    joints.push_back(hipYaw * 180 / kPi);
    joints.push_back(hipRoll * 180 / kPi);
    joints.push_back(hipPitch * 180 / kPi);
    joints.push_back(knee * 180 / kPi);
    joints.push_back(anklePitch * 180 / kPi);
    joints.push_back(ankleRoll * 180 / kPi);
    return reachable;
}
