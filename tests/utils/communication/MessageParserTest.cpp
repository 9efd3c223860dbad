#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/communication/AgentComm.h"
#include "utils/communication/MessageParser.h"
#include "utils/communication/SimpleAgentMessage.h"
#include "world/WorldState.h"

namespace {

const char* const TEAM = "Probe";

class MessageParserTest : public ::testing::Test {
protected:
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentModel& model = Singleton<AgentModel>::getInstance();
    AgentComm& comm = Singleton<AgentComm>::getInstance();
    MessageParser parser;

    void SetUp() override
    {
        if (model.getNumberOfJoints() == 0)
            model.initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        ws.setTeam(TEAM);
        ws.setUnum(1);
        ws.setSide("left");
    }

    float joint(int id) const { return model.getJoint(id)->angle; }

    // A team message from shirt number sender voting for vote.
    std::string teamMessage(int sender, int vote)
    {
        SimpleAgentMessage msg(0);
        msg.setSelfId(sender - 1);
        msg.setSelfPosition(Vector3f(-3, 2, 1));
        msg.setSelfOrientation(90);
        msg.setBallPosition(Vector3f(0, 0, 0));
        msg.setBallConfidence(3);
        msg.setActiveCandidate(vote);
        return comm.encodeSimpleMessage(msg);
    }
};

TEST_F(MessageParserTest, AppliesTimeGameStateAndBodySensors)
{
    parser.parseMessage(
        "(time (now 12.34))(GS (unum 1) (team left) (sl 2) (sr 1) (t 5.50) (pm PlayOn))"
        "(GYR (n torso) (rt 1.5 -2 3))(ACC (n torso) (a 0.1 0.2 9.81))"
        "(HJ (n hj1) (ax 10))(HJ (n hj2) (ax -4.5))(HJ (n hj1) (ax 20))(HJ (n nosuch) (ax 30))"
        "(FRP (n lf) (c 0.01 0.02 0.03) (f 1 2 22.5))(FRP (n rf1) (c 0 0 -0.01) (f 0 0 6))"
        "(FRP (n xx) (c 1 1 1) (f 1 1 1))");

    EXPECT_FLOAT_EQ(ws.game->clockTime, 12.34f);
    EXPECT_FLOAT_EQ(ws.cTime, 12.34f);
    EXPECT_FLOAT_EQ(ws.gTime, 5.5f);
    EXPECT_EQ(ws.game->side, 1);
    EXPECT_EQ(ws.game->ostrevandaGoals, 2);
    EXPECT_EQ(ws.game->opponentGoals, 1);
    EXPECT_EQ(ws.game->playmode, PLAY_ON);

    GyroRate gyro = model.getGyroRate();
    EXPECT_DOUBLE_EQ(gyro.getX(-1), 1.5);
    EXPECT_DOUBLE_EQ(gyro.getY(-1), -2);
    EXPECT_DOUBLE_EQ(gyro.getZ(-1), 3);
    Accelerometer acc = model.getAccelerometer();
    EXPECT_NEAR(acc.getZ(-1), 9.81, 1e-6);

    // The second reading of a joint wins; an unknown name changes nothing.
    EXPECT_FLOAT_EQ(joint(Types::ijHj1), 20);
    EXPECT_FLOAT_EQ(joint(Types::ijHj2), -4.5f);

    EXPECT_EQ(model.getFootForce(Types::pLeft), Vector3f(1, 2, 22.5f));
    EXPECT_EQ(model.getFootContact(Types::pLeft), Vector3f(0.01f, 0.02f, 0.03f));
    EXPECT_EQ(model.getFootForce(Types::pRightToe), Vector3f(0, 0, 6));
    EXPECT_TRUE(model.getFootTouch(Types::pLeft));
    EXPECT_FALSE(model.getFootTouch(Types::pRight));
    EXPECT_FALSE(model.getFootTouch(Types::pLeftToe));
    EXPECT_TRUE(model.getFootTouch(Types::pRightToe));

    // A message without foot pressure: no foot touches.
    parser.parseMessage("(time (now 12.36))(HJ (n hj1) (ax 0))");
    for (int part = Types::pLeft; part <= Types::pRightToe; ++part)
        EXPECT_FALSE(model.getFootTouch(static_cast<Types::FRPParts>(part))) << part;
}

TEST_F(MessageParserTest, GoalsFollowTheSide)
{
    parser.parseMessage("(time (now 1.00))(GS (team right) (sl 2) (sr 1) (t 0.00))");
    EXPECT_EQ(ws.game->side, 2);
    EXPECT_EQ(ws.game->ostrevandaGoals, 1);
    EXPECT_EQ(ws.game->opponentGoals, 2);
}

TEST_F(MessageParserTest, FootContactTimeIsThisMessagesClock)
{
    parser.parseMessage("(time (now 41.98))(HJ (n hj1) (ax 0))");
    parser.parseMessage("(time (now 42.00))(FRP (n lf) (c 0 0 0) (f 0 0 20))");
    EXPECT_FLOAT_EQ(model.getFootLastStrike(Types::pLeft), 42.0f);
}

TEST_F(MessageParserTest, AppliesEverySeenObject)
{
    parser.parseMessage(
        "(time (now 7.50))(See (G1L (pol 10 20 1)) (G2R (pol 11 -5 2)) (F1L (pol 12 30 -1)) "
        "(F2R (pol 13 -30 -2)) (B (pol 2 10 -20)) "
        "(P (team Probe) (id 4) (head (pol 3 5 1)) (lfoot (pol 3.1 6 -5))) "
        "(P (team Rival) (id 7) (rfoot (pol 4 -10 -5)) (llowerarm (pol 4.1 -9 -3))) "
        "(L (pol 1 2 3) (pol 4 5 6)) (mypos 1 2 0.5) (ballpos 3 4 0.04) (myorien 10))");

    EXPECT_FLOAT_EQ(ws.lastVisionCTime, 7.5f);
    EXPECT_TRUE(ws.goals[2]->seen);  // G1L
    EXPECT_EQ(ws.goals[2]->relPosition, Vector3f(10, 20, 1));
    EXPECT_TRUE(ws.goals[1]->seen);  // G2R
    EXPECT_FALSE(ws.goals[0]->seen);
    EXPECT_TRUE(ws.flags[2]->seen);  // F1L
    EXPECT_EQ(ws.flags[1]->relPosition, Vector3f(13, -30, -2));
    EXPECT_TRUE(ws.ball->seen);
    EXPECT_EQ(ws.ball->relPosition, Vector3f(2, 10, -20).toCartesian());

    Player* mate = ws.ostrevanda[4];
    EXPECT_TRUE(mate->head.seen);
    EXPECT_TRUE(mate->lFoot.seen);
    EXPECT_FALSE(mate->rFoot.seen);
    EXPECT_EQ(mate->head.relPosition, Vector3f(3, 5, 1).toCartesian());
    Player* opp = ws.opponentTeam[7];
    EXPECT_TRUE(opp->rFoot.seen);
    EXPECT_TRUE(opp->lLowerArm.seen);
    EXPECT_EQ(ws.opponentName, "Rival");

    EXPECT_EQ(ws.myPosFromMessage, Vector3f(1, 2, 0.5f));
    EXPECT_EQ(ws.ballPosFromMessage, Vector3f(3, 4, 0.04f));

    // A player without a team label is an opponent of an empty name.
    parser.parseMessage("(time (now 7.52))(See (P (id 3) (head (pol 2 0 0))))");
    EXPECT_EQ(ws.opponentName, "");
    EXPECT_TRUE(ws.opponentTeam[3]->head.seen);
}

TEST_F(MessageParserTest, VisionOfLinesOnlyGivesTheVisionTime)
{
    parser.parseMessage("(time (now 3.00))(See (B (pol 2 0 -10)) (F1R (pol 9 1 1)))");
    parser.parseMessage("(time (now 3.06))(See (L (pol 1 2 3) (pol 4 5 6)))");
    EXPECT_FLOAT_EQ(ws.lastVisionCTime, 3.06f);
    EXPECT_FALSE(ws.ball->seen);
    for (LandMark* lm : ws.landmarks)
        EXPECT_FALSE(lm->seen) << lm->name;
}

TEST_F(MessageParserTest, UnknownHeadIsReportedAndTheRestApplied)
{
    testing::internal::CaptureStderr();
    parser.parseMessage("(time (now 3.00))(Foo (x 1))(HJ (n hj2) (ax 7))");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("EVAL: Unknown = Foo\n"), std::string::npos) << err;
    EXPECT_FLOAT_EQ(joint(Types::ijHj2), 7);
}

// Whether a heard message reached the decoder shows in the vote of its
// sender, shirt number 5.
struct HearCase {
    const char* name;
    std::vector<std::string> hears;  // "MSG" stands for a valid team message
    bool decoded;
    bool spoke;
};

TEST_F(MessageParserTest, OnlyOurOwnTeamsMessagesAreDecoded)
{
    const HearCase cases[] = {
        {"team-mate", {"(hear Probe 0.00 -56.45 MSG)"}, true, false},
        {"own echo", {"(hear Probe 0.00 self MSG)"}, false, true},
        {"opponent", {"(hear Rival 0.00 15.82 MSG)"}, false, false},
        {"two opponents", {"(hear Rival 0.00 15.82 MSG)", "(hear Rival 0.00 12.00 MSG)"}, false,
         false},
        {"opponent, then team-mate",
         {"(hear Rival 0.00 15.82 MSG)", "(hear Probe 0.00 -56.45 MSG)"}, true, false},
        {"label our name starts", {"(hear ProbeA 0.00 1.00 MSG)"}, false, false},
        {"empty label", {"(hear  0.00 1.00 MSG)"}, false, false},
        {"three values", {"(hear Probe 0.00 MSG)"}, false, false},
        {"message is a list", {"(hear Probe 0.00 1.00 (MSG))"}, false, false},
    };
    const std::string heard = teamMessage(5, 7);
    ASSERT_EQ(heard.size(), 20u);
    for (const HearCase& c : cases) {
        ws.resetActiveElection();
        std::string msg = "(time (now 2.00))(GS (t 1.00) (pm PlayOn))";
        for (std::string h : c.hears) {
            std::string::size_type at = h.find("MSG");
            h.replace(at, 3, heard);
            msg += h;
        }
        msg += "(HJ (n hj2) (ax 3))";
        parser.parseMessage(msg);
        EXPECT_EQ(ws.activeVoters[5], c.decoded) << c.name;
        EXPECT_EQ(parser.ispoke, c.spoke) << c.name;
        EXPECT_FLOAT_EQ(joint(Types::ijHj2), 3) << c.name;
        EXPECT_EQ(comm.getSimpleMessage(), nullptr) << c.name;
    }
}

TEST_F(MessageParserTest, BallotClosesBeforeTheHeardVoteMerges)
{
    ws.resetActiveElection();
    ws.lastActiveWinner = 0;
    for (int voter = 1; voter <= 11; ++voter)
        if (voter != 5)
            ws.updateActiveElection(7, voter);

    // The eleventh vote arrives in this message: the update ran before it.
    parser.parseMessage("(time (now 2.00))(hear Probe 0.00 -56.45 " + teamMessage(5, 7) + ")");
    EXPECT_EQ(ws.countVoters(), 11);
    EXPECT_EQ(ws.getCurrentActivePlayer(), 0);

    parser.parseMessage("(time (now 2.02))(HJ (n hj1) (ax 0))");
    EXPECT_EQ(ws.getCurrentActivePlayer(), 7);
}

// Each case breaks one perceptor; the joint reading after it must still be
// applied and the broken perceptor must leave no trace.
struct MalformedCase {
    const char* name;
    const char* perceptor;
    std::function<void(WorldState&, AgentModel&)> before;
    std::function<void(WorldState&, AgentModel&)> check;
};

TEST_F(MessageParserTest, MalformedPerceptorsAreSkipped)
{
    auto nothing = [](WorldState&, AgentModel&) {};
    auto ballUnseen = [](WorldState& w, AgentModel&) { EXPECT_FALSE(w.ball->seen); };
    auto hj2Is = [](float v) {
        return [v](WorldState&, AgentModel& m) { EXPECT_FLOAT_EQ(m.getJoint(Types::ijHj2)->angle, v); };
    };
    auto setHj2 = [](WorldState&, AgentModel& m) { m.setHingeJointAngle(Types::ijHj2, 33); };
    auto clockIs = [](float v) {
        return [v](WorldState& w, AgentModel&) { EXPECT_FLOAT_EQ(w.game->clockTime, v); };
    };
    auto gameTimeKept = [](WorldState& w, AgentModel&) { EXPECT_FLOAT_EQ(w.game->gameTime, 77); };
    auto setGameTime = [](WorldState& w, AgentModel&) { w.setGameTime(77); };
    auto setGyro = [](WorldState&, AgentModel& m) { m.setGyroRate(Vector3f(9, 9, 9)); };
    auto gyroKept = [](WorldState&, AgentModel& m) {
        EXPECT_DOUBLE_EQ(m.getGyroRate().getX(-1), 9);
    };

    const MalformedCase cases[] = {
        {"pol with two numbers", "(See (B (pol 1 2)))", nothing, ballUnseen},
        {"pol without numbers", "(See (B (pol)))", nothing, ballUnseen},
        {"ball without pol", "(See (B))", nothing, ballUnseen},
        {"pol holding a list", "(See (B (pol 1 (2) 3)))", nothing, ballUnseen},
        {"flag and post with short pol", "(See (F1L (pol 1 2)) (G1R (pol 1)))", nothing,
         [](WorldState& w, AgentModel&) {
             EXPECT_FALSE(w.flags[2]->seen);
             EXPECT_FALSE(w.goals[0]->seen);
         }},
        {"player part with short pol", "(See (P (team Probe) (id 2) (head (pol 1 2))))", nothing,
         [](WorldState& w, AgentModel&) { EXPECT_FALSE(w.ostrevanda[2]->head.seen); }},
        {"player team without value", "(See (P (team) (id 2) (head (pol 1 2 3))))", nothing,
         [](WorldState& w, AgentModel&) { EXPECT_FALSE(w.ostrevanda[2]->head.seen); }},
        {"player part without pol", "(See (P (team Probe) (id 2) (head)))", nothing,
         [](WorldState& w, AgentModel&) { EXPECT_FALSE(w.ostrevanda[2]->seen); }},
        {"mypos with two values", "(See (mypos 1 2))",
         [](WorldState& w, AgentModel&) { w.setMyPosFromMessage(9, 9, 9); },
         [](WorldState& w, AgentModel&) { EXPECT_EQ(w.myPosFromMessage, Vector3f(9, 9, 9)); }},
        {"hear with two values", "(hear Probe 0.00)", nothing, nothing},
        {"empty hear", "(hear)", nothing, nothing},
        {"game time without value", "(GS (t) (pm PlayOn))", setGameTime, gameTimeKept},
        {"play mode without value", "(GS (t 9) (pm))", setGameTime, gameTimeKept},
        {"empty game state", "(GS)", setGameTime, gameTimeKept},
        {"joint angle without value", "(HJ (n hj2) (ax))", setHj2, hj2Is(33)},
        {"joint name without value", "(HJ (n) (ax 3))", setHj2, hj2Is(33)},
        {"joint name a list", "(HJ (n (hj2)) (ax 3))", setHj2, hj2Is(33)},
        {"angle not a number", "(HJ (n hj2) (ax nan))", setHj2, hj2Is(0)},
        {"angle out of range", "(HJ (n hj2) (ax 1e999))", setHj2, hj2Is(0)},
        {"empty gyroscope", "(GYR)", setGyro, gyroKept},
        {"gyroscope with two values", "(GYR (n torso) (rt 1 2))", setGyro, gyroKept},
        {"foot force with two values", "(FRP (n lf) (c 0 0 0) (f 1 2))", nothing,
         [](WorldState&, AgentModel& m) { EXPECT_FALSE(m.getFootTouch(Types::pLeft)); }},
        {"time without value", "(time (now))", nothing, clockIs(5)},
        {"empty list", "()", nothing, nothing},
        {"list headed by a list", "((HJ (n hj2) (ax 5)))", setHj2, hj2Is(33)},
        {"empty vision", "(See )", nothing, ballUnseen},
    };

    for (const MalformedCase& c : cases) {
        model.setHingeJointAngle(Types::ijHj1, 0);
        parser.parseMessage("(time (now 4.98))(FRP (n rf) (c 0 0 0) (f 0 0 1))");
        c.before(ws, model);
        parser.parseMessage(std::string("(time (now 5.00))") + c.perceptor +
                            "(HJ (n hj1) (ax 12.5))");
        EXPECT_FLOAT_EQ(joint(Types::ijHj1), 12.5f) << c.name;
        SCOPED_TRACE(c.name);
        c.check(ws, model);
    }
}

TEST_F(MessageParserTest, MessagesUpToTheLinksLimitAreParsedWhole)
{
    const std::string line = " (L (pol 11.11 -22.22 -3.33) (pol 44.44 55.55 -6.66))";
    for (size_t size : {size_t(30000), size_t(65531)}) {
        std::string tail = " (B (pol 2 0 -10)))(HJ (n hj2) (ax 4.5))";
        std::string msg = "(time (now 8.00))(See";
        while (msg.size() + line.size() + tail.size() <= size)
            msg += line;
        msg += tail;
        msg.append(size - msg.size(), ' ');
        ASSERT_EQ(msg.size(), size);
        model.setHingeJointAngle(Types::ijHj2, 0);
        parser.parseMessage(msg);
        EXPECT_TRUE(ws.ball->seen) << size;
        EXPECT_FLOAT_EQ(joint(Types::ijHj2), 4.5f) << size;
    }
}

TEST_F(MessageParserTest, IncompleteOrEmptyMessagesChangeNothing)
{
    parser.parseMessage("(time (now 1.00))(See (B (pol 2 0 -10)))");
    unsigned cycle = ws.cycle;
    for (const char* text : {"(time (now 2.00))(HJ (n hj1", "", "   ", "(time (now 2.00)"}) {
        parser.parseMessage(text);
        EXPECT_TRUE(ws.ball->seen) << text;
        EXPECT_FLOAT_EQ(ws.game->clockTime, 1.0f) << text;
        EXPECT_EQ(ws.cycle, cycle) << text;
    }
}

} // namespace
