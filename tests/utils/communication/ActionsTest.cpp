#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/ServerCapture.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"

namespace {

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        actions().ss.str("");
    }

    static Actions& actions() { return Singleton<Actions>::getInstance(); }

    ServerCapture server;
};

TEST_F(ActionsTest, ImmediateCommands) {
    struct Case {
        const char* what;
        void (*send)();
        const char* text;
    } cases[] = {
        {"beam", [] { actions().Beam(-3, 0, 0); }, "(beam -3 -0 0)(syn)"},
        {"beam negates y", [] { actions().Beam(-1.5f, 2.25f, -90); }, "(beam -1.5 -2.25 -90)(syn)"},
        {"beam vector", [] { actions().Beam(Vector3f(1, -2, 45)); }, "(beam 1 2 45)(syn)"},
        {"init", [] { actions().InitAgent("Quorvel", 7); }, "(init (unum 7)(teamname Quorvel))(syn)\n"},
        {"move ball", [] { actions().MoveBall(Vector3f(1, 2, 0.042f)); }, "(catch 1 -2 0.042)(syn)\n"},
    };
    for (const Case& c : cases) {
        c.send();
        std::vector<std::string> sent = server.messages();
        ASSERT_EQ(sent.size(), 1u) << c.what;
        EXPECT_EQ(sent[0], c.text) << c.what;
        EXPECT_EQ(actions().ss.str(), "") << c.what;
    }
}

TEST_F(ActionsTest, BatchedCommandsGoOutWithSend) {
    actions().MoveJointTo(2, 0.123456789f);
    actions().MoveJointTo(21, 100);
    actions().Say("abc+-Z");
    actions().Pass();
    actions().BeamIn(-3, 0, 0);
    actions().BeamIn(Vector3f(1, 2, 3));
    actions().Catch(1, 2, 3);
    actions().Catch(Vector3f(-1, -2, 1e-7f));
    EXPECT_TRUE(server.messages().empty());
    actions().Send();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0],
              "(lle1 0.123457)(rae4 100)(say abc+-Z)(pass)(beam -3 -0 0)(beam 1 -2 3)(catch 1 2 3)"
              "(catch -1 -2 1e-07)(syn)\n");
    EXPECT_EQ(actions().ss.str(), "");
}

TEST_F(ActionsTest, EmptyBatchSendsOnlySyn) {
    actions().Send();
    actions().Send();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], "(syn)\n");
    EXPECT_EQ(sent[1], "(syn)\n");
}

TEST_F(ActionsTest, ImmediateBeamOvertakesThePendingBatch) {
    actions().MoveJointTo(0, -1.5f);
    actions().Beam(-2, 1, 90);
    actions().Send();
    std::vector<std::string> sent = server.messages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], "(beam -2 -1 90)(syn)");
    EXPECT_EQ(sent[1], "(he1 -1.5)(syn)\n");
}

TEST_F(ActionsTest, JointIdWithoutJointAppendsNothing) {
    for (int id : {-1, 22, 1000}) {
        actions().MoveJointTo(id, 1);
    }
    EXPECT_EQ(actions().ss.str(), "");
    actions().MoveJointTo(1, -0.0f);
    EXPECT_EQ(actions().ss.str(), "(he2 -0)");
}

}  // namespace
