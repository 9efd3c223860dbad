#include "physics/LegPose.h"

#include <cmath>

#include "geometry/HomogMatrix.h"
#include "geometry/RotationMatrix.h"
#include "physics/InverseKinematics.h"
#include "physics/LegJointSigns.h"

std::vector<float> LegPose::joints(int foot, const Vector3f& pos, const Vector3f& ori) {
    Vector3f o(std::isfinite(ori.x) ? ori.x : 0, std::isfinite(ori.y) ? ori.y : 0, std::isfinite(ori.z) ? ori.z : 0);
    Vector3f p(std::isfinite(pos.x) ? pos.x : 0, std::isfinite(pos.y) ? pos.y : 0, std::isfinite(pos.z) ? pos.z : 0);
    RotationMatrix rot = GetRotationMatrixY(o.x) * GetRotationMatrixX(o.y) * GetRotationMatrixZ(o.z);
    std::vector<float> angles;
    InverseKinematics::calcLegJoints(HomogMatrix(rot, p), angles, foot != 0);
    angles.resize(6, 0.0f);
    legSolverToJoints(angles, foot == 1);
    for (float& a : angles) {
        if (!std::isfinite(a)) {
            a = 0;
        }
    }
    return angles;
}

double LegPose::speed(double current, double setpoint, double timeStep, double limit) {
    if (!(timeStep > 0) || !std::isfinite(timeStep)) {
        timeStep = 0.02;
    }
    limit = std::isfinite(limit) ? std::fabs(limit) : MAX_SPEED;
    float gain = 1.0f / (200.0f * static_cast<float>(timeStep));
    double s = (setpoint - current) * gain;
    if (std::isnan(s)) {
        return 0;
    }
    if (s > limit) {
        return limit;
    }
    if (s < -limit) {
        return -limit;
    }
    return s;
}
