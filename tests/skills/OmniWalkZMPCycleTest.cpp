#include <cmath>
#include <string>
#include <vector>

#include "skills/OmniWalkZMPFixture.h"

namespace {

const double kMaxSpeed = 16.1395447;

// (effector, speed) pairs of one sent batch.
std::vector<std::pair<std::string, double>> commands(const std::string& msg) {
    std::vector<std::pair<std::string, double>> out;
    size_t pos = 0;
    while ((pos = msg.find('(', pos)) != std::string::npos) {
        size_t space = msg.find(' ', pos);
        size_t close = msg.find(')', pos);
        if (space != std::string::npos && space < close) {
            out.push_back({msg.substr(pos + 1, space - pos - 1), std::stod(msg.substr(space + 1, close - space - 1))});
        }
        pos = close;
    }
    return out;
}

class PreviewControl : public OmniWalkZMPTest {
protected:
    // Gains and matrices that leave the state to A alone.
    void zeroGains() {
        for (double& g : walk->Gi) {
            g = 0;
        }
        for (double& k : walk->Kp) {
            k = 0;
        }
    }
};

TEST_F(PreviewControl, FirstGainIsMinusTheErrorGain) {
    EXPECT_NE(walk->Kp[0], 0);
    EXPECT_DOUBLE_EQ(walk->Gi[0], -walk->Kp[0]);
}

TEST_F(PreviewControl, WithZeroGainsTheStateEvolvesByAAlone) {
    zeroGains();
    walk->stepTime = 0.2;
    std::vector<ZMP> ref(100 + 1000);
    for (ZMP& z : ref) {
        z.Position = Vector(0.1f, -0.2f);
    }
    CoM init;
    init.PositionX = Vector3f(0.01f, 0.2f, 1.0f);
    init.PositionY = Vector3f(-0.01f, 0.1f, -2.0f);
    CoM* out = walk->zmpPreviewController(ref.data(), 100, init);
    double x[3] = {0.01f, 0.2f, 1.0f};
    double err = 0;
    for (int k = 0; k < 100; k++) {
        err += 0.1f - (walk->C[0] * x[0] + walk->C[1] * x[1] + walk->C[2] * x[2]);
        double n[3];
        for (int i = 0; i < 3; i++) {
            n[i] = walk->A[i][0] * x[0] + walk->A[i][1] * x[1] + walk->A[i][2] * x[2];
        }
        std::copy(n, n + 3, x);
    }
    // A step of 0.2 s has the samples 0 to 100.
    EXPECT_FLOAT_EQ(out[0].PositionX.x, 0.01f);
    EXPECT_NEAR(out[100].PositionX.x, x[0], 1e-6);
    EXPECT_NEAR(out[100].PositionX.y, x[1], 1e-6);
    EXPECT_NEAR(out[100].PositionX.z, x[2], 1e-6);
    EXPECT_EQ(out[101].PositionX.x, 0);
    EXPECT_NEAR(walk->dp, err, 1e-6);

    // The error carries over into the next step.
    double first = walk->dp;
    CoM* again = walk->zmpPreviewController(ref.data(), 100, init);
    EXPECT_NEAR(walk->dp, 2 * first, 1e-6);
    delete[] out;
    delete[] again;
}

TEST_F(PreviewControl, PreviewSumsOnlyTheSamplesLeft) {
    zeroGains();
    for (double& g : walk->Gi) {
        g = 1;
    }
    for (int i = 0; i < 3; i++) {
        walk->C[i] = 0;
        walk->B[i][0] = i == 0 ? 1 : 0;
        for (int j = 0; j < 3; j++) {
            walk->A[i][j] = 0;
        }
    }
    // Ten samples of 1: u = -(number of samples from k on).
    walk->stepTime = 0.02;
    std::vector<ZMP> ref(10 + 1000);
    for (int i = 0; i < 10; i++) {
        ref[i].Position = Vector(1, 0);
    }
    CoM* out = walk->zmpPreviewController(ref.data(), 10, CoM());
    for (int k = 0; k < 10; k++) {
        EXPECT_FLOAT_EQ(out[k + 1].PositionX.x, -(10 - k)) << k;
    }
    delete[] out;
}

// The walk's own controller, run step by step as the walk runs it, tracks a
// jump of the ZMP reference.
TEST_F(PreviewControl, TracksAStepOfTheReference) {
    const int total = 4000;
    std::vector<ZMP> ref(total + 1000);
    for (int i = 0; i < total; i++) {
        ref[i].Position = Vector(i >= 1000 ? 0.05f : 0, i >= 1000 ? -0.03f : 0);
    }
    walk->stepTime = 0.2;
    CoM state;
    double worst = 0;
    for (int start = 0; start + 100 <= 3000; start += 100) {
        CoM* out = walk->zmpPreviewController(&ref[start], total - start, state);
        for (int k = 0; k < 100; k++) {
            const Vector3f& x = out[k].PositionX;
            double zmp = walk->C[0] * x.x + walk->C[1] * x.y + walk->C[2] * x.z;
            if (start + k >= 1500) {
                worst = std::max(worst, std::fabs(zmp - 0.05));
            }
        }
        state = out[100];
        delete[] out;
    }
    EXPECT_LT(worst, 0.001);
    EXPECT_NEAR(state.PositionX.x, 0.05, 0.001);
    EXPECT_NEAR(state.PositionY.x, -0.03, 0.001);
}

class WalkCycle : public OmniWalkZMPTest {};

TEST_F(WalkCycle, AStepOfTwoTenthsEndsInTheCycleTwoTenthsLater) {
    std::vector<int> ends;
    for (int i = 0; i <= 30; i++) {
        walk->setOptParameter(0, 0, 0, true);
        walk->execute();
        if (walk->isStepFinished) {
            ends.push_back(i);
        }
        world().cTime += 0.02f;
    }
    // Started at 10.00: ends at 10.20, 10.40, 10.60.
    EXPECT_EQ(ends, (std::vector<int>{10, 20, 30}));
    EXPECT_NEAR(walk->initTime, 10.6, 1e-4);
}

TEST_F(WalkCycle, FirstCycleStandsInDoubleSupportWithoutTilt) {
    world().me->vertInclinFront = 10;
    world().me->vertInclinSide = 5;
    walk->setOptParameter(0, 0, 0, true);
    walk->execute();
    EXPECT_TRUE(walk->planedLeftFoot[0].support);
    EXPECT_TRUE(walk->planedRightFoot[0].support);
    // The height is measured from the left foot, the support point.
    double h = std::sqrt(walk->legExtention * walk->legExtention - 0.055 * 0.055);
    std::vector<float> left = walk->legInvKin(1, Vector3f(0, 0.055f, -h), Vector3f(0, 0, 0));
    std::vector<float> right = walk->legInvKin(0, Vector3f(0, -0.055f, -h), Vector3f(0, 0, 0));
    for (int i = 0; i < 6; i++) {
        if (i != 2) {  // the hip pitch of the left leg is compensated
            EXPECT_NEAR(walk->pose[Types::ijLlj1 + 2 * i], left[i], 1e-3) << i;
        }
        EXPECT_NEAR(walk->pose[Types::ijRlj1 + 2 * i], right[i], 1e-3) << i;
    }
    EXPECT_NEAR(walk->pose[Types::ijLlj1], 0, 1e-3);
}

TEST_F(WalkCycle, AfterChangeTheFirstStepLastsEightTenthsInPlace) {
    walk->change(Vector3f(0, 0, 0), Vector3f(0, 0, 0), Vector(0.01f, 0.05f), Vector(0.01f, -0.06f), 1);
    std::vector<int> ends;
    for (int i = 0; i <= 40; i++) {
        walk->execute();
        if (walk->isStepFinished) {
            ends.push_back(i);
        }
        world().cTime += 0.02f;
    }
    EXPECT_EQ(ends, (std::vector<int>{40}));
    // The first step kept the handed-over feet: the left foot supported.
    EXPECT_TRUE(walk->transitionLeftFoot.support);
    EXPECT_FALSE(walk->transitionRightFoot.support);
    EXPECT_NEAR(walk->transitionRightFoot.Position.x, 0.01, 1e-6);
    EXPECT_NEAR(walk->transitionRightFoot.Position.y, -0.06, 1e-6);
    EXPECT_EQ(walk->GetPrevSupport(), 0);
}

TEST_F(WalkCycle, YawProfilesFollowTheSupportFootAndTurn) {
    struct Row {
        int prevSupp;  // 1: left supports
        double theta;
        float support0, supportD, swing0, swingD;
    } rows[] = {
        {1, 10, 0, 10, 0, -10},
        {0, 10, -10, 0, 10, 0},
        {1, -10, 10, 0, -10, 0},
        {0, -10, 0, -10, 0, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.prevSupp) + " " + std::to_string(r.theta));
        walk->change(Vector3f(0, 0, 0), Vector3f(0, 0, 0), Vector(0, 0.055f), Vector(0, -0.055f), r.prevSupp);
        walk->thetaStep = r.theta;
        walk->execute();
        float D = walk->bzqdRotateSupport.getDuration();
        EXPECT_FLOAT_EQ(D, 0.8f);
        EXPECT_FLOAT_EQ(walk->bzqdRotateSupport.getLinearPosition(0).x, r.support0);
        EXPECT_FLOAT_EQ(walk->bzqdRotateSupport.getLinearPosition(D).x, r.supportD);
        EXPECT_FLOAT_EQ(walk->bzqdRotateSwing.getLinearPosition(0).x, r.swing0);
        EXPECT_FLOAT_EQ(walk->bzqdRotateSwing.getLinearPosition(D).x, r.swingD);
    }
}

TEST_F(WalkCycle, SwingFootIsHalfRaisedAtTheMiddleOfTheStep) {
    run(40, 1, 0, 0);  // into steady forward steps
    while (std::fabs(world().cTime - walk->initTime - 0.1) > 0.001) {
        run(1, 1, 0, 0);
    }
    walk->setOptParameter(1, 0, 0, true);
    walk->execute();
    bool leftSwings = !walk->planedLeftFoot[0].support;
    const Foot& from = leftSwings ? walk->previousLeftFoot : walk->previousRightFoot;
    const Foot& to = leftSwings ? walk->planedLeftFoot[0] : walk->planedRightFoot[0];
    EXPECT_GT(to.Position.x - from.Position.x, 0.05);
    Vector3f mid = walk->bzqdSwing.getQuadraticPosition(0.1f);
    EXPECT_NEAR(mid.x, (from.Position.x + to.Position.x) / 2, 1e-5);
    EXPECT_NEAR(mid.y, (from.Position.y + to.Position.y) / 2, 1e-5);
    EXPECT_NEAR(mid.z, walk->swingHeight / 2, 1e-5);
}

TEST_F(WalkCycle, EveryCycleSendsTwentyCommandsInOrder) {
    const char* order[] = {"lle1", "lle2", "lle3", "lle4", "lle5", "lle6", "rle1", "rle2", "rle3", "rle4",
                           "rle5", "rle6", "lae1", "lae2", "lae3", "lae4", "rae1", "rae2", "rae3", "rae4"};
    run(3, 1, 0, 10);
    // Neither foot supporting: no new targets, the batch still goes out.
    walk->planedLeftFoot[0].support = walk->planedRightFoot[0].support = false;
    walk->execute();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 4u);
    for (const std::string& msg : sent) {
        std::vector<std::pair<std::string, double>> cmds = commands(msg);
        ASSERT_EQ(cmds.size(), 20u);
        for (int i = 0; i < 20; i++) {
            EXPECT_EQ(cmds[i].first, order[i]);
            EXPECT_TRUE(std::isfinite(cmds[i].second));
        }
        EXPECT_EQ(msg.substr(msg.size() - 6), "(syn)\n");
    }
}

TEST_F(WalkCycle, SpeedIsAQuarterPerDegreeClampedAndAlwaysANumber) {
    struct Row {
        float timeStep;
        double current, setpoint, speed;
    } rows[] = {
        {0.02f, 0, 4, 1},
        {0.02f, 0, 80, kMaxSpeed},
        {0.02f, 30, -50, -kMaxSpeed},
        {0.01f, 0, 4, 2},
        {0, 0, 4, 1},  // a zero time step counts as 0.02
        {0.02f, 0, NAN, 0},
        {0.02f, 0, INFINITY, kMaxSpeed},
    };
    for (const Row& r : rows) {
        world().timeStep = r.timeStep;
        double speed = walk->predictEffector(Types::ijRlj4, r.current, r.setpoint);
        EXPECT_NEAR(speed, r.speed, 1e-6) << r.timeStep << " " << r.setpoint;
        EXPECT_FLOAT_EQ(walk->lastError[Types::ijRlj4], static_cast<float>(r.speed));
        EXPECT_FLOAT_EQ(walk->lastAngle[Types::ijRlj4], static_cast<float>(r.current));
    }
}

TEST_F(WalkCycle, HipPitchOfTheLastSupportLegFollowsTheForwardTilt) {
    struct Row {
        float front;
        int fComp, bComp;
        float change;
    } rows[] = {
        {25, 0, 3, -22}, {-4, 2, 0, 6}, {10, 2, 3, 0}, {20, 2, 3, 0}, {0, 2, 3, 0},
    };
    Vector3f l(0.01f, 0.055f, -0.18f), r(-0.01f, -0.055f, -0.18f), o(0, 0, 0);
    for (int prevSupp = 0; prevSupp < 2; prevSupp++) {
        walk->transitionLeftFoot.support = prevSupp == 0;
        walk->transitionRightFoot.support = prevSupp == 1;
        int hip = prevSupp == 0 ? Types::ijLlj3 : Types::ijRlj3;
        int other = prevSupp == 0 ? Types::ijRlj3 : Types::ijLlj3;
        world().me->vertInclinFront = 0;
        walk->computePose(l, r, o, o);
        float plain = walk->pose[hip];
        float plainOther = walk->pose[other];
        for (const Row& row : rows) {
            world().me->vertInclinFront = row.front;
            walk->fComp = row.fComp;
            walk->bComp = row.bComp;
            walk->computePose(l, r, o, o);
            EXPECT_NEAR(walk->pose[hip] - plain, row.change, 1e-4) << row.front;
            EXPECT_FLOAT_EQ(walk->pose[other], plainOther);
        }
    }
}

TEST_F(WalkCycle, ArmsSwingWithTheOppositeHip) {
    walk->pose[Types::ijLlj3] = 30;
    walk->pose[Types::ijRlj3] = 10;
    walk->updateArms();
    EXPECT_FLOAT_EQ(walk->pose[Types::ijLaj1], -10);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijRaj1], 10);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijLaj3], -80);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijRaj3], 80);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijLaj4], 0);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijRaj4], 20);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijLaj2], 0);
    EXPECT_FLOAT_EQ(walk->pose[Types::ijRaj2], 0);
}

TEST_F(WalkCycle, ComOutOfReachStandsAtHeightZeroNotNaN) {
    run(1);
    walk->legExtention = 0.01;
    Vector3f c = walk->getCoM(0.1);
    EXPECT_EQ(c.z, 0);
    walk->execute();
    for (const auto& cmd : commands(server.messages().back())) {
        EXPECT_TRUE(std::isfinite(cmd.second)) << cmd.first;
    }
}

TEST_F(WalkCycle, WalkingForwardMovesThePlanForward) {
    run(100, 1, 0, 0);
    Vector3f c = walk->getCoM(0);
    EXPECT_GT(c.x, 0.3);
    EXPECT_NEAR(c.y, 0, 0.06);
    EXPECT_GT(walk->stepSizeX, 0);
}

class WalkRecords : public OmniWalkZMPTest {};

TEST_F(WalkRecords, StartInitialised) {
    Foot f;
    EXPECT_FALSE(f.support);
    EXPECT_FALSE(f.Right);
    EXPECT_EQ(f.time, 0);
    EXPECT_EQ(f.theta, 0);
    EXPECT_EQ(f.Position, Vector(0, 0));
    ZMP z;
    EXPECT_EQ(z.time, 0);
    CoM c;
    EXPECT_EQ(c.time, 0);
    EXPECT_EQ(c.PositionX.x, 0);
    EXPECT_FALSE(walk->transitionLeftFoot.support);
    EXPECT_EQ(walk->transitionRightFoot.time, 0);
    EXPECT_EQ(walk->GetPrevSupport(), 0);
    EXPECT_EQ(walk->pose[Types::ijLaj2], 0);
    EXPECT_EQ(walk->pose[Types::ijRaj2], 0);
}

TEST_F(WalkRecords, ChangeHandsTheSupportToOneFootAndKeepsTheCommandLimits) {
    struct Row {
        int prevSupp;
        bool leftSupports;
    } rows[] = {{1, true}, {0, false}, {2, false}, {-1, false}};
    for (const Row& r : rows) {
        walk->steps = 9;
        walk->minDx = -0.07;
        walk->thetaBMult = -10;
        walk->change(Vector3f(0.01f, 0.2f, 0.5f), Vector3f(-0.02f, 0.1f, 0), Vector(0, 0.05f), Vector(0.02f, -0.05f),
                     r.prevSupp);
        EXPECT_EQ(walk->inicialLeftLeg.support, r.leftSupports) << r.prevSupp;
        EXPECT_EQ(walk->inicialRightLeg.support, !r.leftSupports) << r.prevSupp;
        EXPECT_EQ(walk->steps, 9);
        EXPECT_EQ(walk->minDx, -0.07);
        EXPECT_EQ(walk->thetaBMult, -10);
        EXPECT_FLOAT_EQ(walk->initCom.PositionX.y, 0.2f);
        EXPECT_FLOAT_EQ(walk->initCom.PositionY.x, -0.02f);
        EXPECT_DOUBLE_EQ(walk->stepTime, 0.8);
        EXPECT_TRUE(walk->initWalk);
    }
    walk->init();
    EXPECT_EQ(walk->steps, 6);
    EXPECT_EQ(walk->minDx, -0.02);
    EXPECT_EQ(walk->thetaBMult, -50);
}

TEST_F(WalkRecords, TransitionFeetAreCentredAndNameTheLastSupport) {
    run(35, 1, 0, 0);
    Vector3f l = walk->GetLFoot();
    Vector3f r = walk->GetRFoot();
    EXPECT_NEAR(l.x + r.x, 0, 1e-6);
    EXPECT_NEAR(l.y + r.y, 0, 1e-6);
    EXPECT_EQ(l.z, 0);
    EXPECT_GT(l.y, 0);
    EXPECT_EQ(walk->GetPrevSupport(), walk->transitionLeftFoot.support ? 0 : 1);
    EXPECT_NE(walk->transitionLeftFoot.support, walk->transitionRightFoot.support);
    walk->transitionLeftFoot.support = walk->transitionRightFoot.support = false;
    EXPECT_EQ(walk->GetPrevSupport(), 0);
    // The getters report the planned COM sample of the latest cycle.
    EXPECT_EQ(walk->GetVelocity(), Vector(walk->transitionCom.PositionX.y, walk->transitionCom.PositionY.y));
    EXPECT_EQ(walk->GetAceleration(), Vector(walk->transitionCom.PositionX.z, walk->transitionCom.PositionY.z));
    EXPECT_EQ(walk->GetPosition(), Vector(walk->transitionCom.PositionX.x, walk->transitionCom.PositionY.x));
}

}  // namespace

namespace {

TEST_F(WalkCycle, TargetsStayInsideTheJointStops) {
    struct Row {
        const char* what;
        int joint;
        float angle, target;
        double speed;
    } rows[] = {
        {"knee beyond its stop", Types::ijLlj4, 0, 50, 0.125},        // to 0.5
        {"hip yaw beyond its stop", Types::ijRlj1, -89.5f, -200, 0},  // to -89.5
        {"within range", Types::ijRlj3, 10, 20, 2.5},
        {"not a number", Types::ijLlj5, 10, NAN, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        model().setHingeJointAngle(r.joint, r.angle);
        walk->pose[r.joint] = r.target;
        walk->updatePose();
        std::string effector = model().getJoint(r.joint)->getEffector();
        for (const auto& cmd : commands(server.messages().back())) {
            if (cmd.first == effector) {
                EXPECT_NEAR(cmd.second, r.speed, 1e-5);
            }
        }
    }
}

// Every robot type, at the top commands, with its own parameter file.
TEST_F(WalkCycle, EveryRobotTypeWalksEveryWayWithBentKnees) {
    struct Command {
        double vX, vY, vTheta;
        double dx, dy;  // sign of the planned COM's travel
    } commandsTable[] = {
        {1, 0, 0, 1, 0}, {-0.5, 0, 0, -1, 0}, {0, 0.6, 0, 0, -1}, {0, -0.6, 0, 0, 1}, {0, 0, 75, 0, 0}, {0, 0, -75, 0, 0},
    };
    for (int type = 0; type < 5; type++) {
        model().initialize(std::string(QV_DATA_DIR) + "/" + (type == 0 ? "nao.xml" : "nao" + std::to_string(type) + ".xml"));
        OmniWalkZMP w;
        for (const Command& c : commandsTable) {
            SCOPED_TRACE("type " + std::to_string(type) + " command " + std::to_string(c.vX) + " " +
                         std::to_string(c.vY) + " " + std::to_string(c.vTheta));
            w.init();
            float maxYaw = 0;
            for (int i = 0; i < 150; i++) {
                w.setOptParameter(c.vX, c.vY, c.vTheta, true);
                w.execute();
                server.messages();  // keep the link from filling up
                world().cTime += 0.02f;
                for (int leg = 0; leg < 2; leg++) {
                    EXPECT_LT(w.pose[Types::ijLlj4 + leg], -10);
                    EXPECT_GT(w.pose[Types::ijLlj4 + leg], -130);
                    maxYaw = std::max(maxYaw, std::fabs(w.pose[Types::ijLlj1 + leg]));
                }
            }
            Vector3f com = w.getCoM(world().cTime - w.initTime);
            EXPECT_GT(com.z, 0);
            if (c.dx != 0) {
                EXPECT_GT(com.x * c.dx, 0.3);
            }
            if (c.dy != 0) {
                EXPECT_GT(com.y * c.dy, 0.3);
            }
            if (c.vTheta != 0) {
                EXPECT_GT(maxYaw, 5);
            }
        }
    }
}

}  // namespace
