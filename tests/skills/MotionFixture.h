#ifndef TESTS_SKILLS_MOTIONFIXTURE_H
#define TESTS_SKILLS_MOTIONFIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/ServerCapture.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

// The type-0 body with every joint at 0, a fresh servo, an empty command batch,
// the server link captured and both clocks at the start of a cycle.
class MotionTest : public ::testing::Test {
protected:
    void SetUp() override {
        model().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        Singleton<JointControl>::getInstance() = JointControl();
        Singleton<Actions>::getInstance().ss.str("");
        setCycle(0);
    }

    static AgentModel& model() { return Singleton<AgentModel>::getInstance(); }
    static JointControl& servo() { return Singleton<JointControl>::getInstance(); }
    static WorldState& world() { return Singleton<WorldState>::getInstance(); }

    // The clock of the k-th cycle as the server writes it (two decimals),
    // read back as a float; game time runs alongside.
    static float serverTime(int k) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", 31.46 + 0.02 * k);
        return std::stof(text);
    }
    static void setCycle(int k) {
        world().cTime = serverTime(k);
        world().gTime = serverTime(k) - 30;
    }

    static std::string fixture(const std::string& name) {
        return std::string(QV_TEST_DIR) + "/skills/movs/" + name;
    }
    // A motion file in the temporary folder.
    static std::string writeFile(const std::string& name, const std::string& text) {
        std::string path = ::testing::TempDir() + name;
        std::ofstream(path) << text;
        return path;
    }

    // The "(effector value)" command of one joint in a batch, or "".
    static std::string command(const std::string& msg, const std::string& effector) {
        size_t pos = msg.find("(" + effector + " ");
        if (pos == std::string::npos) {
            return "";
        }
        return msg.substr(pos, msg.find(')', pos) - pos + 1);
    }
    // True when every value in the batch reads as a finite number.
    static bool allFinite(const std::string& msg) {
        return msg.find("nan") == std::string::npos && msg.find("inf") == std::string::npos;
    }

    ServerCapture server;
};

#endif
