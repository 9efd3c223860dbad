#include <gtest/gtest.h>

#include "utils/communication/RoleAgentMessage.h"
#include "utils/communication/SetplayAgentMessage.h"
#include "utils/communication/SimpleAgentMessage.h"
#include "world/WorldState.h"

namespace {

// I am number 4 at (-5, 0), well localised; the ball is known with
// confidence 0.65 at (0, 0).
class MergeTest : public ::testing::Test {
protected:
    WorldState ws;

    void SetUp() override
    {
        ws.setUnum(4);
        ws.me->position = Vector3f(-5, 0, 0.5f);
        ws.me->conf = 1;
        ws.me->orientation = 30;
        ws.ball->position = Vector3f(0, 0, 0);
        ws.ball->conf = 0.65f;
    }

    static SimpleAgentMessage simple(int sender, Vector3f ball, int ballCode)
    {
        SimpleAgentMessage msg(0);
        msg.setSelfId(sender - 1);
        msg.setSelfPosition(Vector3f(3, 3, 1));
        msg.setSelfOrientation(90);
        msg.setBallPosition(ball);
        msg.setBallConfidence(ballCode);
        msg.setActiveCandidate(sender);
        return msg;
    }

    static PlayerInfo info(int unum, int team, Vector3f position, int code)
    {
        PlayerInfo p;
        p.id = unum - 1;
        p.team = team;
        p.position = position;
        p.confidence = code;
        return p;
    }
};

} // namespace

TEST_F(MergeTest, NullMessagesAreIgnored)
{
    ws.updateWithSimpleMsg(nullptr);
    ws.updateWithRoleMsg(nullptr);
    ws.updateWithSetplayMsg(nullptr);
    EXPECT_EQ(ws.countVoters(), 0);
}

TEST_F(MergeTest, BallNearMeIsNotMovedEvenByAConfidentMessage)
{
    ws.ball->position = Vector3f(-4, 0, 0);
    // 0.5 m from my camera.
    SimpleAgentMessage msg = simple(2, Vector3f(-5.4f, 0, 0.2f), 7);
    ws.updateWithSimpleMsg(&msg);
    EXPECT_EQ(ws.ball->position, Vector3f(-4, 0, 0));
    EXPECT_FLOAT_EQ(ws.ball->conf, 0.65f);
}

TEST_F(MergeTest, UnsureBallTakesTheReportWithConfidenceSixTenths)
{
    ws.ball->conf = 0.2f;
    SimpleAgentMessage msg = simple(2, Vector3f(6, -2, 0), 0);
    ws.updateWithSimpleMsg(&msg);
    EXPECT_EQ(ws.ball->position, Vector3f(6, -2, 0));
    EXPECT_FLOAT_EQ(ws.ball->conf, 0.6f);
    EXPECT_TRUE(ws.ball->prevPosition.empty());
}

TEST_F(MergeTest, MoreConfidentFarBallReplacesOurs)
{
    SimpleAgentMessage msg = simple(2, Vector3f(6, -2, 0), 7);
    ws.updateWithSimpleMsg(&msg);
    EXPECT_EQ(ws.ball->position, Vector3f(6, -2, 0));
    EXPECT_FLOAT_EQ(ws.ball->conf, 1.0f);
    EXPECT_EQ(ws.ballPos, Vector(6, -2));
    ASSERT_FALSE(ws.ball->prevPosition.empty());
    EXPECT_EQ(ws.ball->prevPosition.front(), Vector3f(0, 0, 0));
    // Identity head transform: relative = ball - me.
    EXPECT_EQ(ws.ball->relPosition, Vector3f(11, -2, -0.5f));
}

TEST_F(MergeTest, SenderMovesWithItsBodyOnlyWhenWeKnowItLess)
{
    Player* mate = ws.ostrevanda[2];
    mate->position = Vector3f(1, 1, 0.5f);
    mate->head.position = Vector3f(1, 1, 0.75f);
    mate->lFoot.position = Vector3f(1, 1.25f, 0);
    mate->conf = 0.5f;
    SimpleAgentMessage msg = simple(2, Vector3f(0, 0, 0), 0);
    ws.updateWithSimpleMsg(&msg);
    EXPECT_EQ(mate->position, Vector3f(3, 3, 1));
    EXPECT_EQ(mate->head.position, Vector3f(3, 3, 1.25f));
    EXPECT_EQ(mate->lFoot.position, Vector3f(3, 3.25f, 0.5f));
    EXPECT_FLOAT_EQ(mate->conf, 0.8f);
    EXPECT_FLOAT_EQ(mate->rLowerArm.conf, 0.8f);
    EXPECT_FLOAT_EQ(mate->orientation, 90);

    Player* seen = ws.ostrevanda[3];
    seen->position = Vector3f(-1, -1, 0.4f);
    seen->conf = 0.9f;
    msg = simple(3, Vector3f(0, 0, 0), 0);
    ws.updateWithSimpleMsg(&msg);
    EXPECT_EQ(seen->position, Vector3f(-1, -1, 0.4f));
    EXPECT_FLOAT_EQ(seen->conf, 0.9f);
    EXPECT_FLOAT_EQ(seen->orientation, 90);
}

TEST_F(MergeTest, ReportedPlayerMovesOnlyWithMoreConfidence)
{
    Player* opp7 = ws.opponentTeam[7];
    opp7->conf = 0.85f;
    Player* opp8 = ws.opponentTeam[8];
    opp8->conf = 0.95f;
    SimpleAgentMessage msg = simple(2, Vector3f(0, 0, 0), 0);
    msg.addPlayerInfo(info(7, 1, Vector3f(8, 2, 0), 6));
    msg.addPlayerInfo(info(8, 1, Vector3f(9, 3, 0), 6));
    ws.updateWithSimpleMsg(&msg);
    EXPECT_EQ(opp7->position, Vector3f(8, 2, 0));
    EXPECT_FLOAT_EQ(opp7->conf, 0.9f);
    EXPECT_EQ(opp8->position, Vector3f(5, -5, 0));
}

TEST_F(MergeTest, SimpleMessageVotesInTheSendersName)
{
    SimpleAgentMessage msg = simple(7, Vector3f(0, 0, 0), 0);
    msg.setActiveCandidate(10);
    ws.updateWithSimpleMsg(&msg);
    EXPECT_TRUE(ws.activeVoters[7]);
    EXPECT_EQ(ws.activeElection[9].second, 1);
}

TEST_F(MergeTest, PassAnnouncementLastsFiftySimpleMessages)
{
    SimpleAgentMessage pass = simple(6, Vector3f(0, 0, 0), 0);
    pass.setMsgType(1);
    pass.setPassPlayer(9);
    pass.setPassPosition(Vector(10, 4));
    ws.updateWithSimpleMsg(&pass);
    EXPECT_EQ(ws.commPassPlayer, 9);
    EXPECT_EQ(ws.commPassPosition, Vector(10, 4));
    EXPECT_EQ(ws.passerId, 5);

    SimpleAgentMessage plain = simple(2, Vector3f(0, 0, 0), 0);
    for (int k = 0; k < 50; ++k)
        ws.updateWithSimpleMsg(&plain);
    EXPECT_EQ(ws.commPassPlayer, 9);
    ws.updateWithSimpleMsg(&plain);
    EXPECT_EQ(ws.commPassPlayer, 0);
}

// Forged or garbled numbers: nothing outside 1 to 11 is looked up or counted,
// and nobody speaks for me.
TEST_F(MergeTest, HostileNumbersChangeNothingTheyShouldNot)
{
    for (int sender : {12, 16}) {
        SimpleAgentMessage msg = simple(sender, Vector3f(0, 0, 0), 0);
        msg.setMsgType(1);
        msg.setPassPlayer(3);
        msg.addPlayerInfo(info(16, 0, Vector3f(9, 9, 0), 7));
        msg.addPlayerInfo(info(13, 1, Vector3f(9, 9, 0), 7));
        ws.updateWithSimpleMsg(&msg);
    }
    EXPECT_EQ(ws.countVoters(), 0);
    EXPECT_EQ(ws.commPassPlayer, 0);
    EXPECT_EQ(ws.ostrevanda.size(), 11u);
    EXPECT_EQ(ws.opponentTeam.size(), 11u);

    SimpleAgentMessage pass = simple(2, Vector3f(0, 0, 0), 0);
    pass.setMsgType(1);
    pass.setPassPlayer(14);
    ws.updateWithSimpleMsg(&pass);
    EXPECT_EQ(ws.commPassPlayer, 0);

    ws.me->conf = 0.3f;
    SimpleAgentMessage spoof = simple(4, Vector3f(0, 0, 0), 0);
    spoof.addPlayerInfo(info(4, 0, Vector3f(9, 9, 0), 7));
    ws.updateWithSimpleMsg(&spoof);
    RoleAgentMessage roles(2);
    roles.setSelfId(3);
    roles.setSelfPosition(Vector3f(9, 9, 0));
    roles.setSelfOrientation(-90);
    ws.updateWithRoleMsg(&roles);
    EXPECT_EQ(ws.me->position, Vector3f(-5, 0, 0.5f));
    EXPECT_FLOAT_EQ(ws.me->orientation, 30);
    EXPECT_FALSE(ws.activeVoters[4]);
}

TEST_F(MergeTest, RoleMessageSetsRolesAndVotes)
{
    RoleAgentMessage msg(2);
    msg.setSelfId(0);
    msg.setActiveCandidate(8);
    for (int n = 1; n <= 11; ++n)
        msg.addPlayerRole(n, n == 1 ? GOA : (n == 4 ? ATT : (n == 6 ? 14 : NO_ROLE)));
    ws.ostrevanda[6]->setRole(Role(6, DFL));
    ws.updateWithRoleMsg(&msg);

    EXPECT_EQ(ws.me->getRole().getIdRole(), ATT);
    EXPECT_EQ(ws.me->getRole().unum, 4);
    EXPECT_EQ(ws.ostrevanda[1]->getRole().getIdRole(), GOA);
    // No role sent: unchanged; a code that is no role: ignored.
    EXPECT_EQ(ws.ostrevanda[6]->getRole().getIdRole(), DFL);
    EXPECT_TRUE(ws.activeVoters[1]);
    EXPECT_EQ(ws.activeElection[7].second, 1);
}

TEST_F(MergeTest, WhileMarkingPassivelyRolesArriveAsAlternatives)
{
    ws.setCurrentBehavior(12);
    ws.ostrevanda[5]->setRole(Role(5, KEL));
    ws.ostrevanda[7]->setRole(Role(7, SUL));
    RoleAgentMessage msg(2);
    msg.setSelfId(0);
    msg.addPlayerRole(5, KEL);
    msg.addPlayerRole(7, ATT);
    ws.updateWithRoleMsg(&msg);

    EXPECT_EQ(ws.ostrevanda[5]->getRole().getIdRole(), KEL);
    EXPECT_EQ(ws.ostrevanda[5]->getRole().getIdAlternativeRole(), 0);
    EXPECT_EQ(ws.ostrevanda[7]->getRole().getIdRole(), SUL);
    EXPECT_EQ(ws.ostrevanda[7]->getRole().getIdAlternativeRole(), ATT);
}

TEST_F(MergeTest, SetplayMessageIsStoredAndVotesForItsLeader)
{
    SetplayAgentMessage msg(3);
    msg.setSetplayId(2);
    msg.setSetplayMessage(SimpleAgentMessage::STEP_MSG);
    msg.setCurrentStep(1);
    msg.setNextStep(2);
    msg.setLeadPlayer(9);
    msg.setPlayersParticipants({9, 0, 10, 15});
    msg.setNumPlayers(4);
    msg.setActiveCandidate(10);

    testing::internal::CaptureStderr();
    ws.updateWithSetplayMsg(&msg);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "LEADPLAYER AFTER UPDATE: 9\n");

    EXPECT_EQ(ws.setplayId, 2);
    EXPECT_EQ(ws.typeSetplayMsg, 2);
    EXPECT_EQ(ws.currentSetplayStep, 1);
    EXPECT_EQ(ws.nextSetplayStep, 2);
    EXPECT_EQ(ws.leadPlayer, 9);
    EXPECT_EQ(ws.setplayParticipants, (std::vector<int>{9, 10}));
    EXPECT_TRUE(ws.activeVoters[9]);
    EXPECT_EQ(ws.activeElection[9].second, 1);
}

TEST(WorldRecords, PlayerMovesWithItsBodyParts)
{
    WorldState ws;
    MobileObject obj;
    obj.position = Vector3f(2, 3, 0);
    Vector3f offset(1, 0, 0);
    ws.updatePlayerGlobalPositionAux(obj, offset, 0.5f);
    EXPECT_EQ(obj.position, Vector3f(3, 3, 0));
    EXPECT_FLOAT_EQ(obj.conf, 0.5f);

    ws.updatePlayerGlobalPosition(nullptr, Vector3f(1, 1, 1), 1);
}

TEST(WorldRecords, MarkerResetForgetsTheTarget)
{
    WorldState ws;
    DefensiveMarkerState& d = *ws.defState;
    d.passiveMarker = true;
    d.activeMarker = true;
    d.target = ws.opponentTeam[3];
    d.markingPoint = Vector(1, 2);
    EXPECT_TRUE(d.isActiveMarker());
    EXPECT_TRUE(d.isDefensiveMarker());
    EXPECT_EQ(d.getTarget(), ws.opponentTeam[3]);
    d.resetDefensiveMarker();
    EXPECT_FALSE(d.isDefensiveMarker());
    EXPECT_FALSE(d.isActiveMarker());
    EXPECT_EQ(d.getTarget(), nullptr);
    EXPECT_EQ(d.markingPoint, Vector(0, 0));
}
