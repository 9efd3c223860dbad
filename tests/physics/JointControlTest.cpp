#include <gtest/gtest.h>

#include <string>

#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/ServerCapture.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"

namespace {

// A fresh servo on the type-0 body with every joint at 0.
class JointControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        model().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        Singleton<Actions>::getInstance().ss.str("");
        jc = JointControl();
    }

    static AgentModel& model() { return Singleton<AgentModel>::getInstance(); }

    // The joint commands of a sent batch, without "(syn)".
    static std::string body(const std::string& msg) {
        EXPECT_GE(msg.size(), 6u);
        EXPECT_EQ(msg.substr(msg.size() - 6), "(syn)\n");
        return msg.substr(0, msg.size() - 6);
    }

    // The "(effector rate)" command of one joint in a batch, or "".
    static std::string command(const std::string& msg, const std::string& effector) {
        size_t pos = msg.find("(" + effector + " ");
        if (pos == std::string::npos) {
            return "";
        }
        return msg.substr(pos, msg.find(')', pos) - pos + 1);
    }

    ServerCapture server;
    JointControl jc;
};

TEST_F(JointControlTest, CommitDrivesBodyJointsWithDefaultGains) {
    model().setHingeJointAngle(Types::ijLlj4, 10);
    jc.setJointTarget(Types::ijLlj4, 20);
    jc.commit();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 1u);
    std::string b = body(sent[0]);
    EXPECT_EQ(command(b, "lle4"), "(lle4 1)");
    EXPECT_EQ(command(b, "rle1"), "(rle1 0)");
    EXPECT_EQ(command(b, "he1"), "");
    EXPECT_EQ(command(b, "he2"), "");
    // Joints 2 to 21 in id order.
    EXPECT_EQ(b.find("(lle1 "), 0u);
    EXPECT_LT(b.find("(lle4 "), b.find("(rle4 "));
    EXPECT_LT(b.find("(rle6 "), b.find("(lae1 "));
    EXPECT_EQ(b.substr(b.size() - 8), "(rae4 0)");
    EXPECT_FLOAT_EQ(jc.lastRate[Types::ijLlj4], 1);
}

// The next commit predicts the angle 0.85 of the last rate ahead and runs the
// full PID step, derivative included.
TEST_F(JointControlTest, SecondCommitLooksAheadByTheLastRate) {
    model().setHingeJointAngle(Types::ijRlj3, 10);
    jc.setJointTarget(Types::ijRlj3, 20, 0.2f, 1, 0.01f);
    jc.commit();
    jc.commit();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 2u);
    // First: error 10, integral 0.2, no derivative: 0.2*10 + 1*0.2 = 2.2.
    EXPECT_EQ(command(sent[0], "rle3"), "(rle3 2.2)");
    // Second: predicted 10 + 0.85*2.2 = 11.87, error 8.13, integral 0.3626,
    // derivative (8.13 - 10) * 0.01 / 0.02 = -0.935.
    float expected = 0.2f * 8.13f + 0.3626f - 0.935f;
    std::string cmd = command(sent[1], "rle3");
    ASSERT_FALSE(cmd.empty());
    EXPECT_NEAR(std::stof(cmd.substr(6)), expected, 1e-4);
}

TEST_F(JointControlTest, SpeedLimits) {
    struct Case {
        float maxSpeed;
        const char* sent;
        float lastRate;
    } cases[] = {
        {100, "(lle2 100)", 6},  // output 150 clamped
        {-0.5f, "(lle2 75)", 6},  // scaled, not clamped
        {0, "(lle2 150)", 6},  // no limit
        {4, "(lle2 4)", 4},
    };
    for (const Case& c : cases) {
        JointControl servo;
        servo.setJointTarget(Types::ijLlj2, 30, 5);
        servo.setMaxSpeed(Types::ijLlj2, c.maxSpeed);
        servo.commit();
        EXPECT_EQ(command(server.messages().at(0), "lle2"), c.sent) << c.maxSpeed;
        EXPECT_EQ(servo.lastRate[Types::ijLlj2], c.lastRate) << c.maxSpeed;
    }
    // Negative outputs too.
    jc.setJointTarget(Types::ijLlj2, -30, 5);
    jc.commit();
    EXPECT_EQ(command(server.messages().at(0), "lle2"), "(lle2 -100)");
    EXPECT_EQ(jc.lastRate[Types::ijLlj2], -6);
}

TEST_F(JointControlTest, CommitHeadAppendsWithoutSending) {
    model().setHingeJointAngle(Types::ijHj1, 30);
    jc.lastRate[Types::ijHj1] = 5;
    jc.setJointTarget(Types::ijHj1, 130, 1);
    jc.setJointTarget(Types::ijHj2, 10);
    jc.commitHead();
    EXPECT_TRUE(server.messages().empty());
    // No look-ahead, head limit 10.
    EXPECT_EQ(Singleton<Actions>::getInstance().ss.str(), "(he1 10)(he2 1)");
    EXPECT_EQ(jc.lastRate[Types::ijHj1], 5);
    Singleton<Actions>::getInstance().Send();
    EXPECT_EQ(server.messages().at(0), "(he1 10)(he2 1)(syn)\n");
}

TEST_F(JointControlTest, FastExecuteIsProportional) {
    model().setHingeJointAngle(Types::ijLaj1, 90);
    jc.setJointTarget(Types::ijLaj1, 0);
    model().setHingeJointAngle(Types::ijRaj1, -18);
    jc.setJointTarget(Types::ijRaj1, 0);
    model().setHingeJointAngle(Types::ijHj1, -90);
    jc.fastExecute();
    std::string b = body(server.messages().at(0));
    EXPECT_EQ(command(b, "lae1"), "(lae1 -50.5)");  // -(90/180*100) - 0.5
    EXPECT_EQ(command(b, "rae1"), "(rae1 10.5)");
    EXPECT_EQ(command(b, "he1"), "(he1 10)");  // 50.5 limited by the head's 10
    EXPECT_EQ(command(b, "lle1"), "(lle1 0.5)");  // at the target
    EXPECT_EQ(b.find("(he1 "), 0u);
    EXPECT_EQ(jc.lastRate[Types::ijLaj1], 0);

    jc.setFastControlerParameters(50, 2);
    jc.fastExecute();
    EXPECT_EQ(command(server.messages().at(0), "lae1"), "(lae1 -27)");
}

TEST_F(JointControlTest, TargetsAndGains) {
    jc.setJointTarget(25, 10, 1, 1, 1);
    jc.setJointTarget(-1, 10);
    EXPECT_EQ(jc.targets.size(), 22u);
    EXPECT_EQ(jc.getKp(25), 1000);

    jc.setJointTarget(Types::ijRaj2, 12, 0.5f, -1, 0.25f);
    jc.setJointTarget(Types::ijRaj2, 13, -1, -1, -1);
    EXPECT_EQ(jc.getJointTarget(Types::ijRaj2), 13);
    EXPECT_EQ(jc.pids[Types::ijRaj2].x, 0.5f);
    EXPECT_EQ(jc.pids[Types::ijRaj2].y, 0);
    EXPECT_EQ(jc.pids[Types::ijRaj2].z, 0.25f);

    jc.setMaxSpeed(Types::ijRaj2, 3);
    jc.setKi(Types::ijHj2, 2);
    jc.resetPID();
    EXPECT_EQ(jc.getKp(Types::ijRaj2), 0.1f);
    EXPECT_EQ(jc.pids[Types::ijRaj2].z, 0);
    EXPECT_EQ(jc.pids[Types::ijHj2].y, 0);
    EXPECT_EQ(jc.max_speeds[Types::ijRaj2], 100);
    EXPECT_EQ(jc.max_speeds[Types::ijHj2], 10);
    EXPECT_EQ(jc.getJointTarget(Types::ijRaj2), 13);
}

}  // namespace
