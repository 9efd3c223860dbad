#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setplay/SetplayMessage.h"
#include "strategy/setplays/SetplayCondition.h"
#include "strategy/setplays/SetplayController.h"
#include "world/QueryWorld.h"

using ostrevanda::setplay::InitMessage;
using ostrevanda::setplay::SetplayMessage;
using ostrevanda::setplay::StepMessage;

namespace {

class SetplayControllerTest : public QueryWorld {
protected:
    void SetUp() override {
        QueryWorld::SetUp();
        ws.typeSetplayMsg = 0;
        ws.setplayId = -1;
        ws.setplayParticipants.clear();
        ws.currentSetplayStep = ws.nextSetplayStep = -1;
        ws.leadPlayer = -1;
        testing::internal::CaptureStderr();
        context.reset(new SetplayCondition());
        controller.reset(new SetplayController(context.get(), "/nonexistent/setplay.conf", "/nonexistent/cbr.conf"));
        testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        testing::internal::CaptureStderr();
        controller.reset();
        testing::internal::GetCapturedStderr();
        ws.typeSetplayMsg = 0;
        ws.leadPlayer = -1;
    }
    std::unique_ptr<SetplayCondition> context;
    std::unique_ptr<SetplayController> controller;
};

TEST_F(SetplayControllerTest, MessagesThroughTheWorldState) {
    // Nothing held: nothing to give the manager.
    EXPECT_FALSE(controller->heldMessage());

    struct Row {
        const char* text;
        bool init;
        int type, id, current, next;
        std::vector<int> participants;
    } rows[] = {
        {"S5 3 7", true, 1, 5, -1, -1, {3, 7}},
        {"S-2", true, 1, -2, -1, -1, {}},
        {"S12 1 2 3 4 5 6 7 8 9 10 11", true, 1, 12, -1, -1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"-1 1", false, 2, -1, -1, 1, {}},
        {"-1 -1", false, 2, -1, -1, -1, {}},
        {"0 14", false, 2, -1, 0, 14, {}},
    };
    for (const Row& r : rows) {
        ws.setplayId = -1;
        ws.currentSetplayStep = ws.nextSetplayStep = -1;
        if (r.init)
            controller->hold(InitMessage(0, r.text));
        else
            controller->hold(StepMessage(0, r.text));
        EXPECT_EQ(r.type, ws.typeSetplayMsg) << r.text;
        EXPECT_EQ(r.id, ws.setplayId) << r.text;
        EXPECT_EQ(r.current, ws.currentSetplayStep) << r.text;
        EXPECT_EQ(r.next, ws.nextSetplayStep) << r.text;
        if (r.init) {
            EXPECT_EQ(r.participants, ws.setplayParticipants) << r.text;
        }
        const std::unique_ptr<SetplayMessage> held = controller->heldMessage();
        ASSERT_TRUE(held);
        EXPECT_EQ(r.init, held->isInit()) << r.text;
        EXPECT_EQ(r.text, held->toString());
    }

    // Held values from a heard message rebuild the texts the library reads.
    ws.typeSetplayMsg = 1;
    ws.setplayId = 5;
    ws.setplayParticipants = {3, 7};
    std::unique_ptr<SetplayMessage> held = controller->heldMessage();
    ASSERT_TRUE(held);
    EXPECT_EQ("S5 3 7", held->toString());
    ws.typeSetplayMsg = 2;
    ws.currentSetplayStep = -1;
    ws.nextSetplayStep = 1;
    held = controller->heldMessage();
    ASSERT_TRUE(held);
    EXPECT_EQ("-1 1", held->toString());

    // Unreadable pieces are not numbers.
    controller->hold(InitMessage(0, "Sx 3 y 4"));
    EXPECT_EQ(0, ws.setplayId);
    EXPECT_EQ((std::vector<int>{3, 4}), ws.setplayParticipants);
    controller->hold(InitMessage(0, "S4 3  9 "));
    EXPECT_EQ((std::vector<int>{3, 9}), ws.setplayParticipants);
}

TEST_F(SetplayControllerTest, OpponentsNearTheBall) {
    setBall(Vector(0, 0));
    place(opp(1), Vector(3.5f, 0));   // on the circle: not counted
    place(opp(2), Vector(0, -3.4f));
    place(opp(3), Vector(-1, 1));
    EXPECT_EQ(2u, SetplayController::opponentsNearBall(ws));
}

TEST_F(SetplayControllerTest, NoSetplayMeansNoLeadPlayer) {
    ws.leadPlayer = 7;
    controller->updateSetplay();
    EXPECT_EQ(-1, ws.leadPlayer);
    EXPECT_TRUE(controller->getAtualTransitions().empty());
}

}  // namespace
