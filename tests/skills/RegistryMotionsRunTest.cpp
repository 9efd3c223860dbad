// The registry's keyframe motions played by the agent's behaviour code against
// the practice world, driven in-process: perceptions go through the agent's
// parser, the commands back to the world.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/ServerCapture.h"
#include "physics/Types.h"
#include "skills/SlotBehavior.h"
#include "tools/practice_server/Support.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

const char* const kMotions[] = {
    "movs/prepkick/RotateLeft.xml", "movs/prepkick/RotateRight.xml",
    "movs/prepkick/FrontWalkF.xml", "movs/prepkick/FrontWalk.xml",
    "movs/prepkick/FrontWalkS.xml", "movs/kick/ThreeMeterKickRight.xml",
    "movs/prepkick/SideRight.xml",  "movs/prepkick/SideLeft.xml",
    "movs/prepkick/BackWalk.xml",
};

class RegistryMotionsRun : public ::testing::TestWithParam<const char*> {};

TEST_P(RegistryMotionsRun, PlaysToItsEndAndStandsCrouched)
{
    Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.setTeam("Lefts");
    ws.setUnum(3);
    Singleton<JointControl>::getInstance() = JointControl();
    MessageParser parser;
    ServerCapture link;
    practice::test::Rig rig;
    const int id = rig.join("Lefts", 3, 0, "-4 0 0");
    auto cycle = [&] {
        parser.parseMessage(rig.step(id));
    };
    cycle();
    const double standing = rig.agent(id).pos.z;

    SlotBehavior motion;
    motion.parse(GetParam(), true);
    motion.init();
    AgentModel& model = Singleton<AgentModel>::getInstance();
    int cycles = 0;
    float deepestKnee = 0;
    while (!motion.finished() && cycles < 200) {
        cycle();
        for (int knee : {Types::ijLlj4, Types::ijRlj4})
            deepestKnee = std::min(deepestKnee, model.getJoint(knee)->getAngle());
        motion.execute();
        for (const std::string& sent : link.messages()) {
            // Every joint command is a finite number within the speed limit.
            for (const practice::SNode& cmd : practice::readSexps(sent)) {
                if (cmd.items.size() == 2 && cmd.head() != "syn") {
                    double rate = std::stod(cmd.items[1].atom);
                    ASSERT_TRUE(std::isfinite(rate)) << sent;
                }
            }
            rig.send(id, sent);
        }
        ++cycles;
    }
    EXPECT_TRUE(motion.finished());
    // Every motion lifts a foot.
    EXPECT_LT(deepestKnee, -65);
    // Half a second to settle.
    for (int i = 0; i < 25; ++i) {
        cycle();
        motion.execute();
        for (const std::string& sent : link.messages())
            rig.send(id, sent);
    }
    // The last slot's crouch: knees bent 50 degrees, legs level.
    for (int knee : {Types::ijLlj4, Types::ijRlj4})
        EXPECT_NEAR(model.getJoint(knee)->getAngle(), -50, 3) << knee;
    for (int roll : {Types::ijLlj2, Types::ijRlj2, Types::ijLlj1, Types::ijRlj1})
        EXPECT_NEAR(model.getJoint(roll)->getAngle(), 0, 3) << roll;
    EXPECT_LT(rig.agent(id).pos.z, standing - 0.01);
}

INSTANTIATE_TEST_SUITE_P(PracticeWorld, RegistryMotionsRun, ::testing::ValuesIn(kMotions));

} // namespace
