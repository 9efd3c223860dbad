#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/HomogMatrix.h"
#include "geometry/RotationMatrix.h"
#include "physics/InverseKinematics.h"
#include "physics/LegPose.h"

namespace {

TEST(LegPoseTest, SignsOfTheRobotsJointsPerLeg) {
    Vector3f pos(0.02f, 0.01f, -0.3f);
    Vector3f ori(0.05f, -0.04f, 0.1f);
    RotationMatrix rot = GetRotationMatrixY(ori.x) * GetRotationMatrixX(ori.y) * GetRotationMatrixZ(ori.z);
    // (leg, sign of each of the six angles)
    struct Case {
        int foot;
        int sign[6];
    } cases[] = {{1, {1, -1, -1, -1, -1, -1}}, {0, {1, 1, -1, -1, -1, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.foot);
        std::vector<float> raw;
        InverseKinematics::calcLegJoints(HomogMatrix(rot, pos), raw, c.foot != 0);
        std::vector<float> got = LegPose::joints(c.foot, pos, ori);
        ASSERT_EQ(got.size(), 6u);
        for (int i = 0; i < 6; i++) {
            EXPECT_FLOAT_EQ(got[i], c.sign[i] * raw[i]) << i;
        }
    }
    for (float a : LegPose::joints(1, Vector3f(NAN, 0, INFINITY), Vector3f(NAN, 0, 0))) {
        EXPECT_TRUE(std::isfinite(a));
    }
}

TEST(LegPoseTest, SpeedLaw) {
    struct Case {
        double current, setpoint, step, limit, expected;
    } cases[] = {
        {10, 10, 0.02, 16.1395447, 0},
        {0, 10, 0.02, 16.1395447, 2.5},
        {0, 100, 0.02, 16.1395447, 16.1395447},
        {0, -100, 0.02, 16.1395447, -16.1395447},
        {0, 10, 0, 16.1395447, 2.5},
        {0, 10, NAN, 16.1395447, 2.5},
        {0, 10, 0.02, 1, 1},
        {0, NAN, 0.02, 16.1395447, 0},
        {0, INFINITY, 0.02, 3, 3},
        {0, 10, 0.02, NAN, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setpoint);
        EXPECT_NEAR(LegPose::speed(c.current, c.setpoint, c.step, c.limit), c.expected, 1e-6);
    }
}

}  // namespace
