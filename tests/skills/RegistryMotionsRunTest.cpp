// The registry's keyframe motions played by the agent's behaviour code against
// the practice world, driven in-process: perceptions go through the agent's
// parser, the commands back to the world, whose body steps as its joints say.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
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

// What a motion does to the body: the signs of its forward and leftward
// displacement and of its turn (0: it stays put, or keeps its heading).
struct Motion {
    const char* file;
    int forward, left, turn;
};
void PrintTo(const Motion& m, std::ostream* os) { *os << m.file; }

const Motion kMotions[] = {
    {"movs/prepkick/RotateLeft.xml", 0, 0, 1},  {"movs/prepkick/RotateRight.xml", 0, 0, -1},
    {"movs/prepkick/FrontWalkF.xml", 1, 0, 0},  {"movs/prepkick/FrontWalk.xml", 1, 0, 0},
    {"movs/prepkick/FrontWalkS.xml", 1, 0, 0},  {"movs/kick/ThreeMeterKickRight.xml", 0, 0, 0},
    {"movs/prepkick/SideRight.xml", 0, -1, 0},  {"movs/prepkick/SideLeft.xml", 0, 1, 0},
    {"movs/prepkick/BackWalk.xml", -1, 0, 0},
};

// A displacement (metres or degrees) agrees with its expected sign.
void expectSign(double value, int sign, double moved, double still)
{
    if (sign > 0)
        EXPECT_GT(value, moved);
    else if (sign < 0)
        EXPECT_LT(value, -moved);
    else
        EXPECT_LT(std::fabs(value), still);
}

class RegistryMotionsRun : public ::testing::TestWithParam<Motion> {};

TEST_P(RegistryMotionsRun, PlaysToItsEndMovesAsNamedAndStandsCrouched)
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
    const practice::Vec3 from = rig.agent(id).pos;
    const double yaw0 = rig.agent(id).yaw;

    SlotBehavior motion;
    motion.parse(GetParam().file, true);
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
    // Beamed facing global +x: forward is +x, left is +y; the robot stays up.
    const practice::Agent& a = rig.agent(id);
    EXPECT_EQ(a.lying, practice::LIE_NONE);
    expectSign(a.pos.x - from.x, GetParam().forward, 0.01, 0.025);
    expectSign(a.pos.y - from.y, GetParam().left, 0.03, 0.025);
    expectSign((a.yaw - yaw0) * 180 / M_PI, GetParam().turn, 8, 2);
}

INSTANTIATE_TEST_SUITE_P(PracticeWorld, RegistryMotionsRun, ::testing::ValuesIn(kMotions));

} // namespace
