#ifndef TESTS_SKILLS_OMNIWALKZMPFIXTURE_H
#define TESTS_SKILLS_OMNIWALKZMPFIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/ServerCapture.h"
#include "skills/OmniWalkZMP.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

// A walk on the type-0 body standing upright, with the clock at 10 s. The
// walk reads its files from the working directory, the data folder.
class OmniWalkZMPTest : public ::testing::Test {
protected:
    void SetUp() override {
        model().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        for (int j = 0; j < Types::NJOINTS; j++) {
            model().setHingeJointAngle(j, 0);
        }
        world().cTime = 10;
        world().timeStep = 0.02f;
        world().me->vertInclinFront = 0;
        world().me->vertInclinSide = 0;
        Singleton<Actions>::getInstance().ss.str("");
        walk.reset(new OmniWalkZMP());
        // The cases below are worked out for these parameters, not for what
        // tuning has put in the data folder's file.
        walk->params = tableParams();
    }

    static OptParams tableParams() {
        OptParams p;
        p.minDx = -0.02;
        p.minDy = -0.02;
        p.thetaInc = 12;
        p.thetaRel = 21;
        p.maxThetaB = 0.2;
        p.thetaBMult = -50;
        p.heightCoM = 0.19;
        p.swingHeight = 0.05;
        p.legSeparation = 0.11;
        p.period = 0.2;
        p.dXmult = 0.25;
        p.dYmult = -0.2;
        p.thetaMult = -1;
        p.steps = 6;
        p.fComp = 0;
        p.bComp = 20;
        return p;
    }

    static AgentModel& model() { return Singleton<AgentModel>::getInstance(); }
    static WorldState& world() { return Singleton<WorldState>::getInstance(); }

    // Runs cycles of 0.02 s, the first at the current clock.
    void run(int cycles, double vX = 0, double vY = 0, double vTheta = 0) {
        for (int i = 0; i < cycles; i++) {
            walk->setOptParameter(vX, vY, vTheta, true);
            walk->execute();
            world().cTime += 0.02f;
        }
    }

    ServerCapture server;
    std::unique_ptr<OmniWalkZMP> walk;
};

#endif
