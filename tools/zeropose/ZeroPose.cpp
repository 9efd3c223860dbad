#include "ZeroPose.h"

#include <cmath>
#include <iomanip>
#include <sstream>
#include <vector>

#include "geometry/HomogMatrix.h"
#include "physics/InverseKinematics.h"
#include "physics/LegJointSigns.h"
#include "physics/Types.h"
#include "skills/OmniWalkZMP.h"

namespace {

// Distance between the feet at the walk's start (m).
const float FOOT_SEPARATION = 0.11f;
// The walk's posture is reached within this time (s).
const float DELTA = 0.5f;

std::vector<float> leg(float y, float height, bool left)
{
    std::vector<float> joints;
    InverseKinematics::calcLegJoints(HomogMatrix(RotationMatrix(), Vector3f(0, y, -height)), joints, left);
    joints.resize(6, 0.0f);
    legSolverToJoints(joints, left);
    return joints;
}

// One decimal, no negative zero.
float tidy(float a)
{
    float r = std::round(a * 10) / 10;
    return r == 0 ? 0 : r;
}

} // namespace

std::string zeroWalkPositionFile(const std::string& paramsFile, std::string& error)
{
    OptParams params;
    if (!OmniWalkZMP::readParams(paramsFile, params, error))
        return std::string();
    float h = static_cast<float>(params.heightCoM);
    std::vector<float> left = leg(FOOT_SEPARATION / 2, h, true);
    std::vector<float> right = leg(-FOOT_SEPARATION / 2, h, false);
    float pose[Types::NJOINTS] = {};
    for (int i = 0; i < 6; ++i) {
        pose[Types::ijLlj1 + 2 * i] = left[i];
        pose[Types::ijRlj1 + 2 * i] = right[i];
    }
    // The arms as the walk swings them for these legs.
    pose[Types::ijLaj1] = pose[Types::ijRlj3] - 20;
    pose[Types::ijRaj1] = pose[Types::ijLlj3] - 20;
    pose[Types::ijLaj3] = -80;
    pose[Types::ijRaj3] = 80;
    pose[Types::ijLaj4] = -(pose[Types::ijRlj3] - 10);
    pose[Types::ijRaj4] = pose[Types::ijLlj3] - 10;
    std::ostringstream out;
    out << "<?xml version=\"1.0\"?>\n"
        << "<!-- Written by tools/zeropose from skills/p0: do not edit. -->\n"
        << "<behavior name=\"ZeroWalkPosition\" type=\"SlotBehavior\">\n"
        << "  <slot name=\"stance\" delta=\"" << DELTA << "\">\n";
    for (int id = Types::ijLlj1; id <= Types::ijRaj4; ++id) {
        if (id == Types::ijLaj2 || id == Types::ijRaj2)
            continue;
        out << "    <move id=\"" << id << "\" angle=\"" << tidy(pose[id]) << "\"/>\n";
    }
    out << "  </slot>\n</behavior>\n";
    return out.str();
}
