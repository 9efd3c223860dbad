#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/InverseKinematics.h"
#include "physics/LegKinematicsTest.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

namespace {

const char* const kFiles[5] = {"nao.xml", "nao1.xml", "nao2.xml", "nao3.xml", "nao4.xml"};

AgentModel& load(const std::string& file) {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(std::string(QV_DATA_DIR) + "/" + file);
    model.setRelativeToAbsolute(nullptr);
    return model;
}

HomogMatrix straightBelow(bool left, float depth) {
    return HomogMatrix(RotationMatrix(), Vector3f(0, left ? 0.055f : -0.055f, -depth));
}

// Hip-to-knee plus knee-to-ankle of each robot type.
TEST(InverseKinematicsTest, LegLengthsComeFromTheDescription) {
    const float legLength[5] = {0.120104121f + 0.1f, 0.138410341f + 0.11832f, 0.120104121f + 0.1f,
                                0.147952934f + 0.127868424f, 0.120104121f + 0.1f};
    for (int type = 0; type < 5; ++type) {
        load(kFiles[type]);
        for (bool left : {true, false}) {
            std::vector<float> joints;
            EXPECT_TRUE(InverseKinematics::calcLegJoints(straightBelow(left, legLength[type] - 2e-4f), joints, left))
                << kFiles[type];
            EXPECT_GT(joints[3], 1) << kFiles[type];
            EXPECT_LT(joints[3], 10) << kFiles[type];
            EXPECT_FALSE(InverseKinematics::calcLegJoints(straightBelow(left, legLength[type] + 2e-4f), joints, left))
                << kFiles[type];
            EXPECT_EQ(joints[3], 0) << kFiles[type];
        }
    }
}

TEST(InverseKinematicsTest, UnreachableTargetsGiveFiniteClampedAngles) {
    load("nao.xml");
    struct Case {
        const char* what;
        HomogMatrix target;
    } cases[] = {
        {"far below", straightBelow(true, 0.5f)},
        {"far ahead", HomogMatrix(RotationMatrix(), Vector3f(1, 0.055f, -0.1f))},
        {"at the hip", straightBelow(true, 0)},
        {"just below the hip", straightBelow(true, 1e-7f)},
    };
    for (const Case& c : cases) {
        std::vector<float> joints(9, 7.0f);
        EXPECT_FALSE(InverseKinematics::calcLegJoints(c.target, joints, true)) << c.what;
        ASSERT_EQ(joints.size(), 6u) << c.what;
        for (float a : joints) {
            EXPECT_TRUE(std::isfinite(a)) << c.what;
        }
    }
    std::vector<float> joints;
    InverseKinematics::calcLegJoints(straightBelow(false, 0), joints, false);
    EXPECT_NEAR(joints[3], 180, 1e-3);  // folded
}

// Targets on the edge of the reach and turned far, where rounding can push
// an acos or asin argument just past 1, still give finite angles.
TEST(InverseKinematicsTest, EdgeOfReachNeverGivesNaN) {
    load("nao.xml");
    const float reach = 0.220104f;
    int count = 0;
    for (bool left : {true, false}) {
        for (int i = 0; i < 400; ++i) {
            float a = 0.0157f * i;
            Vector3f dir(0.3f * std::sin(a), 0.2f * std::cos(3 * a), -1);
            Vector3f pos = dir.normalize(reach * (1 + (i % 5 - 2) * 1e-7f));
            pos.y += left ? 0.055f : -0.055f;
            RotationMatrix r = GetRotationMatrixX(1.5707964f * std::sin(7 * a)) *
                               GetRotationMatrixY(3.1415927f * std::cos(5 * a));
            std::vector<float> joints;
            InverseKinematics::calcLegJoints(HomogMatrix(r, pos), joints, left);
            for (float j : joints) {
                EXPECT_TRUE(std::isfinite(j)) << i;
                ++count;
            }
        }
    }
    EXPECT_EQ(count, 4800);
}

// Solving a pose, then turning the joints the way the walks do (pitch joints
// negated, and the left leg's roll joints as well) and walking the body
// model's chain, puts the ankle and the foot back at the pose: for every
// robot type.
TEST(InverseKinematicsTest, RoundTripThroughTheBodyModel) {
    for (int type = 0; type < 5; ++type) {
        AgentModel& model = load(kFiles[type]);
        for (bool left : {true, false}) {
            int first = left ? Types::ijLlj1 : Types::ijRlj1;
            for (const HomogMatrix& target : ankleGrid(left)) {
                std::vector<float> joints;
                ASSERT_TRUE(InverseKinematics::calcLegJoints(target, joints, left)) << kFiles[type];
                for (int k = 0; k < 6; ++k) {
                    bool negate = (k >= 2 && k <= 4) || (left && (k == 1 || k == 5));
                    model.setHingeJointAngle(first + 2 * k, negate ? -joints[k] : joints[k]);
                }
                model.update();
                Vector3f hip = model.getJoint(first)->relPosition;
                Vector3f ankle = model.getJoint(first + 8)->relPosition;
                Vector3f want = target.getTranslation() - Vector3f(0, left ? 0.055f : -0.055f, 0);
                // The server's knee sits 5 mm ahead of the hip-ankle line.
                EXPECT_LT((ankle - hip).dist(want), 0.007f) << kFiles[type] << " left " << left;
                Matrix4D foot = model.getBodyPart(left ? Types::ilLFoot : Types::ilRFoot)->transform;
                RotationMatrix r = target.getRotation();
                const Vector3f* rows[3] = {&r.l0, &r.l1, &r.l2};
                for (int i = 0; i < 3; ++i) {
                    EXPECT_NEAR(foot.get(i, 0), rows[i]->x, 1e-3f) << kFiles[type];
                    EXPECT_NEAR(foot.get(i, 1), rows[i]->y, 1e-3f) << kFiles[type];
                    EXPECT_NEAR(foot.get(i, 2), rows[i]->z, 1e-3f) << kFiles[type];
                }
            }
        }
    }
}

}  // namespace
