// The omnidirectional kick driven against the practice world in-process:
// perceptions through the agent's parser, the commands back to the world.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/ServerCapture.h"
#include "skills/OmniDirectionalKick.h"
#include "tools/practice_server/Support.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

TEST(KickRun, TheKickSendsABallAtTheRightFootForward) {
    Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.setTeam("Lefts");
    ws.setUnum(3);
    Singleton<JointControl>::getInstance() = JointControl();
    MessageParser parser;
    ServerCapture link;
    practice::test::Rig rig;
    const int id = rig.join("Lefts", 3, 0, "-4 0 0");
    rig.monitor("(playMode PlayOn)");
    for (int i = 0; i < 10; i++) {
        parser.parseMessage(rig.step(id));
    }
    rig.monitor("(ball (pos -3.84 -0.055 0.042)(vel 0 0 0))");
    parser.parseMessage(rig.step(id));
    const practice::Vec3 before = rig.world.ballPos();
    OmniDirectionalKick kick;
    kick.init();
    int cycles = 0;
    while (!kick.finished() && cycles < 250) {
        parser.parseMessage(rig.step(id));
        kick.execute();
        for (const std::string& sent : link.messages()) {
            rig.send(id, sent);
        }
        ++cycles;
    }
    EXPECT_TRUE(kick.finished());
    for (int i = 0; i < 50; i++) {
        parser.parseMessage(rig.step(id));
    }
    const practice::Vec3 after = rig.world.ballPos();
    EXPECT_GT(after.x - before.x, 0.2);
    EXPECT_LT(std::fabs(after.y - before.y), after.x - before.x);
}

}  // namespace
