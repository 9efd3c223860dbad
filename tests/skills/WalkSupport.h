#ifndef TESTS_SKILLS_WALKSUPPORT_H
#define TESTS_SKILLS_WALKSUPPORT_H

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/ServerCapture.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

// The type-0 body with every joint at 0, the clock at 10 s in 0.02 s steps,
// and the server link captured.
class WalkTest : public ::testing::Test {
protected:
    WorldState& ws = Singleton<WorldState>::getInstance();
    ServerCapture server;

    void SetUp() override
    {
        model().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        for (int id = 0; id < 22; ++id)
            model().setHingeJointAngle(id, 0);
        Singleton<Actions>::getInstance().ss.str("");
        Singleton<JointControl>::getInstance() = JointControl();
        ws.cTime = 10;
        ws.gTime = 10;
        ws.timeStep = 0.02f;
        ws.opt = optparameters();
        ws.me->vertInclinFront = 10;
    }

    static AgentModel& model() { return Singleton<AgentModel>::getInstance(); }

    void tick() { ws.cTime += 0.02f; }

    // The joint commands of one sent message by effector name, in order.
    static std::vector<std::pair<std::string, std::string>> commands(const std::string& msg)
    {
        std::vector<std::pair<std::string, std::string>> out;
        std::string::size_type at = 0;
        while ((at = msg.find('(', at)) != std::string::npos) {
            std::string::size_type end = msg.find(')', at);
            std::istringstream item(msg.substr(at + 1, end - at - 1));
            std::string name, value;
            item >> name >> value;
            if (!value.empty())
                out.emplace_back(name, value);
            at = end;
        }
        return out;
    }

    // The command sent to one effector in a message, NaN when absent.
    static double command(const std::string& msg, const std::string& effector)
    {
        for (const auto& c : commands(msg))
            if (c.first == effector)
                return std::stod(c.second);
        return NAN;
    }

    // Every number of every sent message is finite.
    static void expectFinite(const std::vector<std::string>& sent)
    {
        for (const std::string& msg : sent)
            for (const auto& c : commands(msg)) {
                SCOPED_TRACE(c.first);
                EXPECT_TRUE(std::isfinite(std::stod(c.second))) << c.second;
            }
    }
};

#endif
