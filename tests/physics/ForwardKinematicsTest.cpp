#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "physics/ForwardKinematics.h"
#include "physics/AgentModel.h"
#include "physics/InverseKinematics.h"
#include "physics/LegJointSigns.h"
#include "physics/LegKinematicsTest.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

namespace {

AgentModel& load(const std::string& file) {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(std::string(QV_DATA_DIR) + "/" + file);
    return model;
}

void expectNear(const Vector3f& a, const Vector3f& b, float tol, const std::string& what) {
    EXPECT_NEAR(a.x, b.x, tol) << what;
    EXPECT_NEAR(a.y, b.y, tol) << what;
    EXPECT_NEAR(a.z, b.z, tol) << what;
}

RotationMatrix fromOrientation(const Vector3f& o) {
    return GetRotationMatrixZ(o.z) * GetRotationMatrixY(o.y) *
           GetRotationMatrixX(o.x);
}

TEST(ForwardKinematicsTest, StraightLegsStandUnderTheHips) {
    AgentModel& model = load("nao.xml");
    ForwardKinematics fk;
    fk.prepareForwardKin(4);
    expectNear(fk.mLFootPos, Vector3f(0, 0.055f, -0.26f), 1e-6f, "left");
    expectNear(fk.mRFootPos, Vector3f(0, -0.055f, -0.26f), 1e-6f, "right");
    expectNear(fk.mLFootOrient, Vector3f(), 1e-6f, "left orientation");
    expectNear(fk.mRFootOrient, Vector3f(), 1e-6f, "right orientation");
    expectNear(model.getLFootPositionFK(), fk.mLFootPos, 0, "stored left");
    expectNear(model.getRFootOrientationFK(), fk.mRFootOrient, 0, "stored right");
}

TEST(ForwardKinematicsTest, OneFootLeavesTheOtherAlone) {
    AgentModel& model = load("nao.xml");
    model.setLFootPosition(Vector3f(9, 9, 9));
    model.setRFootPosition(Vector3f(9, 9, 9));
    ForwardKinematics fk;
    fk.prepareForwardKin(0);
    expectNear(model.getLFootPositionFK(), Vector3f(9, 9, 9), 0, "left kept");
    expectNear(model.getRFootPositionFK(), Vector3f(0, -0.055f, -0.26f), 1e-6f, "right computed");
    fk.prepareForwardKin(1);
    expectNear(model.getLFootPositionFK(), Vector3f(0, 0.055f, -0.26f), 1e-6f, "left computed");
}

// The chain follows the joint angles of the body model: a bent knee and a
// rolled hip move the foot, and the foot's pose matches the ankle solver's
// once its angles are turned into the robot's joint signs.
TEST(ForwardKinematicsTest, RoundTripWithTheLegSolver) {
    AgentModel& model = load("nao.xml");
    for (bool left : {true, false}) {
        int first = left ? Types::ijLlj1 : Types::ijRlj1;
        for (const HomogMatrix& target : ankleGrid(left)) {
            std::vector<float> joints;
            ASSERT_TRUE(InverseKinematics::calcLegJoints(target, joints, left));
            legSolverToJoints(joints, left);
            for (int k = 0; k < 6; ++k) {
                model.setHingeJointAngle(first + 2 * k, joints[k]);
            }
            ForwardKinematics fk;
            fk.prepareForwardKin(left ? 1 : 0);
            Vector3f pos = left ? model.getLFootPositionFK() : model.getRFootPositionFK();
            RotationMatrix r = fromOrientation(left ? model.getLFootOrientationFK() : model.getRFootOrientationFK());
            // The chain ends 0.04 below the ankle; its thigh is 0.12 long, the
            // solver's 0.120104.
            Vector3f ankle = pos + r * Vector3f(0, 0, 0.04f);
            EXPECT_LT(ankle.dist(target.getTranslation()), 3e-4f) << "left " << left;
            RotationMatrix want = target.getRotation();
            EXPECT_NEAR(r.l0.innerProduct(want.l0) + r.l1.innerProduct(want.l1) + r.l2.innerProduct(want.l2), 3,
                        1e-4f);
        }
    }
}

TEST(ForwardKinematicsTest, MatrixBuilders) {
    MatrixMxN m(4, 4);
    ForwardKinematics::makeDHTransformation(m, 0.5, 1.57079632679, 0.25, 0);
    // Rotated 90 degrees about x, moved by a along x and d along the new z.
    EXPECT_NEAR(m.Get(0, 3), 0.5f, 1e-6f);
    EXPECT_NEAR(m.Get(1, 3), -0.25f, 1e-6f);
    EXPECT_NEAR(m.Get(2, 3), 0, 1e-6f);
    EXPECT_NEAR(m.Get(2, 1), 1, 1e-6f);
    EXPECT_NEAR(m.Get(3, 3), 1, 0);

    ForwardKinematics::makeRotationZYX(m, 1.57079632679, 0, 0);
    EXPECT_NEAR(m.Get(1, 0), 1, 1e-6f);
    EXPECT_NEAR(m.Get(0, 1), -1, 1e-6f);
    ForwardKinematics::makeTranslation(m, 1, 2, 3);
    EXPECT_EQ(m.Get(0, 0), 1);
    EXPECT_EQ(m.Get(1, 0), 0);
    EXPECT_EQ(m.Get(2, 3), 3);
    EXPECT_EQ(ForwardKinematics::toString(m), " \n\n");
}

}  // namespace
