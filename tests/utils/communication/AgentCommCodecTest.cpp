#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logger/LogCapture.h"
#include "utils/Singleton.h"
#include "utils/communication/AgentComm.h"
#include "utils/communication/TeamMessageBits.h"
#include "world/WorldState.h"

namespace {

SimpleAgentMessage exampleSimple()
{
    SimpleAgentMessage msg(0);
    msg.setBallPosition(Vector3f(0, 0, 0));
    msg.setBallVelocity(Vector3f(0, 0, 0));
    msg.setBallConfidence(3);
    msg.setSelfId(4);
    msg.setSelfPosition(Vector3f(-3, 2, 0.5f));
    msg.setSelfOrientation(90);
    msg.setActiveCandidate(5);
    return msg;
}

} // namespace

TEST(AgentCommCodec, AlphabetAndDecodeTable)
{
    AgentComm comm;
    ASSERT_EQ(AgentComm::allowed.size(), 90u);
    EXPECT_EQ(comm.nAllowed, 90u);
    EXPECT_EQ(AgentComm::allowed.substr(0, 64),
              "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTVWXYZ[].");
    EXPECT_EQ(AgentComm::allowed.substr(64), ":-_+!\"#$%'*,/;<=>?@\\^`{|}~");
    EXPECT_EQ(comm.decodechar[static_cast<unsigned char>('E')], 40);
    EXPECT_EQ(comm.decodechar[static_cast<unsigned char>('~')], 89);
    EXPECT_EQ(comm.decodechar[static_cast<unsigned char>('U')], 0xFFFF);
    EXPECT_EQ(comm.decodechar[0xE9], 0xFFFF);
    EXPECT_EQ(comm.xPosOffset, 15);
    EXPECT_EQ(comm.yPosOffset, 10);
}

TEST(AgentCommCodec, EncodesTheKnownExamples)
{
    AgentComm comm;
    EXPECT_EQ(comm.encodeSimpleMessage(exampleSimple()), "E7xVuuQo95Ig00000000");

    RoleAgentMessage roles(2);
    roles.setSelfId(0);
    roles.setSelfPosition(Vector3f(-14, 0, 0.4f));
    roles.setSelfOrientation(0);
    for (int n = 1; n <= 11; ++n)
        roles.addPlayerRole(n, n == 1 ? 1 : 0);
    roles.setActiveCandidate(1);
    EXPECT_EQ(comm.encodeGoalieMessage(roles), "Ew27B8g0000000000000");

    SetplayAgentMessage setplay(3);
    setplay.setSetplayId(2);
    setplay.setSetplayMessage(1);
    setplay.setCurrentStep(0);
    setplay.setNextStep(1);
    setplay.setLeadPlayer(9);
    setplay.setPlayersParticipants({9, 10});
    setplay.setNumPlayers(2);
    setplay.setActiveCandidate(9);
    EXPECT_EQ(comm.encodeSetplayMessage(setplay), "EMx0paqA000000000000");
}

struct Scaled {
    float sent;
    float heard;
};

class PositionXTest : public ::testing::TestWithParam<Scaled> {};

// The encoder itself sends the low bits of whatever it is given.
TEST_P(PositionXTest, ReadsBackOnTheEighthMetreGrid)
{
    AgentComm comm;
    SimpleAgentMessage msg = exampleSimple();
    msg.setBallPosition(Vector3f(GetParam().sent, 0, 0));
    ASSERT_TRUE(comm.decode(comm.encodeSimpleMessage(msg)));
    EXPECT_FLOAT_EQ(comm.getSimpleMessage()->getBallPosition().x, GetParam().heard);
}

INSTANTIATE_TEST_SUITE_P(Ends, PositionXTest,
                         ::testing::Values(Scaled{-15, -15}, Scaled{16.875f, 16.875f},
                                           Scaled{17, -15}, Scaled{0.1f, 0}, Scaled{-0.1f, -0.125f}));

class OrientationTest : public ::testing::TestWithParam<Scaled> {};

TEST_P(OrientationTest, ReadsBackInTenDegreeSteps)
{
    AgentComm comm;
    SimpleAgentMessage msg = exampleSimple();
    msg.setSelfOrientation(GetParam().sent);
    ASSERT_TRUE(comm.decode(comm.encodeSimpleMessage(msg)));
    EXPECT_EQ(comm.getSimpleMessage()->getSelfOrientation(), GetParam().heard);
}

INSTANTIATE_TEST_SUITE_P(Ends, OrientationTest,
                         ::testing::Values(Scaled{-175, -180}, Scaled{175, 170}, Scaled{-180, -180},
                                           Scaled{0, 0}, Scaled{450, 450}));

TEST(AgentCommCodec, SimpleMessagesSurviveARoundTrip)
{
    struct Case {
        int type;
        Vector3f ball;
        Vector3f velocity;
        int ballConf;
        int sender;
        Vector3f self;
        std::vector<PlayerInfo> players;
        int vote;
        int passPlayer;
        Vector passTarget;
    };
    // The top of the y field is 127/6 - 10; 11.17 lands in that last step.
    const float yTop = 11.17f;
    PlayerInfo low;
    low.id = 0;
    low.team = 0;
    low.position = Vector3f(-15, -10, 0);
    low.confidence = 0;
    PlayerInfo high;
    high.id = 15;
    high.team = 1;
    high.position = Vector3f(16.875f, yTop, 1);
    high.confidence = 7;
    const Case cases[] = {
        {0, Vector3f(-15, -10, 0), Vector3f(-1.5f, -1.5f, 0), 0, 0, Vector3f(-15, -10, 0), {}, 1, -1,
         Vector(0, 0)},
        {0, Vector3f(16.875f, yTop, 0), Vector3f(4.8f, 4.8f, 0), 7, 15, Vector3f(16.875f, yTop, 1),
         {low, high}, 16, -1, Vector(0, 0)},
        {1, Vector3f(2.5f, -3, 0), Vector3f(0, 0, 0), 3, 10, Vector3f(0, 0, 1), {high}, 11, 11,
         Vector(13.5f, -9)},
        {1, Vector3f(0, 0, 0), Vector3f(0, 0, 0), 3, 10, Vector3f(0, 0, 0), {}, 2, 15,
         Vector(-13.5f, 9)},
    };
    AgentComm comm;
    for (const Case& c : cases) {
        SimpleAgentMessage msg(c.type);
        msg.setBallPosition(c.ball);
        msg.setBallVelocity(c.velocity);
        msg.setBallConfidence(c.ballConf);
        msg.setSelfId(c.sender);
        msg.setSelfPosition(c.self);
        msg.setSelfOrientation(-90);
        msg.setPlayersInfo(c.players);
        msg.setActiveCandidate(c.vote);
        msg.setPassPlayer(c.passPlayer);
        msg.setPassPosition(c.passTarget);

        std::string heard = comm.encodeSimpleMessage(msg);
        ASSERT_TRUE(comm.decode(heard)) << heard;
        EXPECT_EQ(comm.messageType, c.type);
        const SimpleAgentMessage* got = comm.getSimpleMessage();
        ASSERT_NE(got, nullptr);
        EXPECT_EQ(got->getMsgType(), c.type);
        EXPECT_NEAR(got->getBallPosition().x, c.ball.x, 0.01);
        EXPECT_NEAR(got->getBallPosition().y, c.ball.y, 0.01);
        EXPECT_NEAR(got->getBallVelocity().x, c.velocity.x, 1e-5);
        EXPECT_NEAR(got->getBallVelocity().y, c.velocity.y, 1e-5);
        EXPECT_EQ(got->getBallConfidence(), c.ballConf);
        EXPECT_EQ(got->getSelfId(), c.sender);
        EXPECT_NEAR(got->getSelfPosition().x, c.self.x, 0.01);
        EXPECT_NEAR(got->getSelfPosition().y, c.self.y, 0.01);
        EXPECT_EQ(got->getSelfPosition().z, c.self.z);
        EXPECT_EQ(got->getSelfOrientation(), -90);
        std::vector<PlayerInfo> players = got->getPlayersInfo();
        ASSERT_EQ(players.size(), c.players.size());
        for (std::size_t k = 0; k < players.size(); ++k) {
            EXPECT_EQ(players[k].id, c.players[k].id);
            EXPECT_EQ(players[k].team, c.players[k].team);
            EXPECT_EQ(players[k].confidence, c.players[k].confidence);
            EXPECT_NEAR(players[k].position.x, c.players[k].position.x, 0.01);
            EXPECT_NEAR(players[k].position.y, c.players[k].position.y, 0.01);
            EXPECT_EQ(players[k].position.z, c.players[k].position.z);
        }
        EXPECT_EQ(got->getActiveCandidate(), c.vote);
        if (c.type == 1) {
            EXPECT_EQ(got->getPassPlayer(), c.passPlayer);
            EXPECT_EQ(got->getPassPosition(), c.passTarget);
        } else {
            EXPECT_EQ(got->getPassPlayer(), -1);
        }
        comm.deletePointers();
    }
}

TEST(AgentCommCodec, SimpleMessageSendsNoMorePlayersThanItsTypeCarries)
{
    AgentComm comm;
    PlayerInfo p;
    p.id = 3;
    p.team = 1;
    SimpleAgentMessage msg = exampleSimple();
    msg.setPlayersInfo({p, p, p});
    ASSERT_TRUE(comm.decode(comm.encodeSimpleMessage(msg)));
    EXPECT_EQ(comm.getSimpleMessage()->getPlayersInfo().size(), 2u);
    msg.setMsgType(1);
    msg.setPassPlayer(7);
    ASSERT_TRUE(comm.decode(comm.encodeSimpleMessage(msg)));
    EXPECT_EQ(comm.getSimpleMessage()->getPlayersInfo().size(), 1u);
    EXPECT_EQ(comm.getSimpleMessage()->getPassPlayer(), 7);
}

TEST(AgentCommCodec, RoleMessagesSurviveARoundTrip)
{
    AgentComm comm;
    for (int sender : {0, 10, 15}) {
        RoleAgentMessage msg(2);
        msg.setSelfId(sender);
        msg.setSelfPosition(Vector3f(-15, 11.17f, 0));
        msg.setSelfOrientation(170);
        for (int n = 1; n <= 11; ++n)
            msg.addPlayerRole(n, (n + sender) % 16);
        msg.setActiveCandidate(sender + 1);

        ASSERT_TRUE(comm.decode(comm.encodeGoalieMessage(msg)));
        const RoleAgentMessage* got = comm.getRoleMessage();
        ASSERT_NE(got, nullptr);
        EXPECT_EQ(got->getSelfId(), sender);
        EXPECT_EQ(got->getSelfPosition().x, -15);
        EXPECT_NEAR(got->getSelfPosition().y, 127 / 6.0f - 10, 1e-5f);
        EXPECT_EQ(got->getSelfPosition().z, 0);
        EXPECT_EQ(got->getSelfOrientation(), 170);
        EXPECT_EQ(got->getRolesList(), msg.getRolesList());
        EXPECT_EQ(got->getActiveCandidate(), sender + 1);
    }
}

TEST(AgentCommCodec, SetplayMessagesSurviveARoundTrip)
{
    struct Case {
        int id;
        int kind;
        int current;
        int next;
        int lead;
        std::vector<int> participants;
        int vote;
        int heardLead;
    };
    const Case cases[] = {
        {-32, 0, 0, 14, 1, {}, 0, 1},
        {31, 15, 14, 0, 11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 15, 11},
        {-1, 4, -1, 3, 5, {5, 6}, 11, 11},
        {0, 2, 2, -1, 0, {15}, 3, 11},
        {5, 1, 1, 2, 12, {}, 3, 11},
    };
    AgentComm comm;
    for (const Case& c : cases) {
        SetplayAgentMessage msg(3);
        msg.setSetplayId(c.id);
        msg.setSetplayMessage(c.kind);
        msg.setCurrentStep(c.current);
        msg.setNextStep(c.next);
        msg.setLeadPlayer(c.lead);
        msg.setPlayersParticipants(c.participants);
        msg.setNumPlayers(static_cast<int>(c.participants.size()));
        msg.setActiveCandidate(c.vote);

        ASSERT_TRUE(comm.decode(comm.encodeSetplayMessage(msg)));
        const SetplayAgentMessage* got = comm.getSetplayMessage();
        ASSERT_NE(got, nullptr);
        EXPECT_EQ(got->getSetplayId(), c.id);
        EXPECT_EQ(got->getSetplayMessage(), c.kind);
        EXPECT_EQ(got->getCurrentStep(), c.current);
        EXPECT_EQ(got->getNextStep(), c.next);
        EXPECT_EQ(got->getLeadPlayer(), c.heardLead);
        EXPECT_EQ(got->getNumPlayers(), static_cast<int>(c.participants.size()));
        EXPECT_EQ(got->getPlayersParticipants(), c.participants);
        EXPECT_EQ(got->getActiveCandidate(), c.vote);
    }
}

TEST(AgentCommCodec, OnlyTwentyCharactersWithTheHeaderAreDecoded)
{
    AgentComm comm;
    const std::string good = "E7xVuuQo95Ig00000000";
    EXPECT_TRUE(comm.checkAuthentication(good));
    for (const std::string& bad :
         {good.substr(0, 19), good + "0", std::string("D") + good.substr(1),
          std::string("I") + good.substr(1), std::string("U") + good.substr(1), std::string()}) {
        EXPECT_FALSE(comm.checkAuthentication(bad)) << bad;
        EXPECT_FALSE(comm.decode(bad)) << bad;
    }
    EXPECT_EQ(comm.getSimpleMessage(), nullptr);

    // F, G and H pass the header test but carry types 4 to 15.
    for (int type : {4, 5, 9, 15}) {
        std::string heard = teamMessage({{10, 4}, {type, 4}});
        EXPECT_TRUE(comm.checkAuthentication(heard)) << heard;
        EXPECT_FALSE(comm.decode(heard)) << heard;
        EXPECT_EQ(comm.messageType, type);
    }
    EXPECT_EQ(comm.getSimpleMessage(), nullptr);
    EXPECT_EQ(comm.getRoleMessage(), nullptr);
    EXPECT_EQ(comm.getSetplayMessage(), nullptr);
}

// A count that the type does not allow would read past the 120 bits.
TEST(AgentCommCodec, CountsBeyondTheTypeMakeTheMessageInvalid)
{
    AgentComm comm;
    const std::vector<std::pair<int, int>> simpleHead = {
        {10, 4}, {0, 4}, {120, 8}, {60, 7}, {15, 6}, {15, 6}, {3, 3}, {4, 4}, {96, 8}, {72, 7},
        {1, 1}, {27, 6}};
    struct Case {
        int type;
        int count;
        bool valid;
    };
    for (const Case& c : {Case{0, 2, true}, Case{0, 3, false}, Case{1, 1, true}, Case{1, 2, false},
                          Case{1, 3, false}}) {
        std::vector<std::pair<int, int>> fields = simpleHead;
        fields[1].first = c.type;
        fields.push_back({c.count, 2});
        EXPECT_EQ(comm.decode(teamMessage(fields)), c.valid) << c.type << " " << c.count;
        EXPECT_EQ(comm.getSimpleMessage() != nullptr, c.valid);
        comm.deletePointers();
    }
    for (int count = 0; count <= 15; ++count) {
        std::vector<std::pair<int, int>> fields = {{10, 4}, {3, 4}, {2, 6}, {1, 4}, {0, 4},
                                                   {1, 4},  {9, 4}, {count, 4}};
        for (int j = 0; j < count; ++j)
            fields.push_back({15, 4});
        bool valid = count <= 11;
        EXPECT_EQ(comm.decode(teamMessage(fields)), valid) << count;
        EXPECT_EQ(comm.getSetplayMessage() != nullptr, valid);
        comm.deletePointers();
    }
}

TEST(AgentCommCodec, SetplayWithoutAStepIsLedByEleven)
{
    AgentComm comm;
    ASSERT_TRUE(comm.decode(teamMessage({{10, 4}, {3, 4}, {2, 6}, {1, 4}, {15, 4}, {1, 4}, {9, 4}})));
    EXPECT_EQ(comm.getSetplayMessage()->getCurrentStep(), -1);
    EXPECT_EQ(comm.getSetplayMessage()->getLeadPlayer(), 11);
}

TEST(AgentCommCodec, BitAccessStaysInsideTheBuffer)
{
    AgentComm comm;
    int start = 116;
    comm.insertVal(0x3F, start, 6);
    EXPECT_EQ(start, 116);
    for (int k = 116; k < 120; ++k)
        EXPECT_EQ(comm.msgBuffer[k], 0);
    start = 114;
    comm.insertVal(0x3F, start, 6);
    EXPECT_EQ(start, 120);

    start = 118;
    EXPECT_EQ(comm.getVal(start, 4), 0);
    EXPECT_EQ(start, 118);
    EXPECT_EQ(comm.getVal2C(start, 4), 0);
    EXPECT_EQ(start, 118);
    start = 116;
    EXPECT_EQ(comm.getVal(start, 4), 15);
    EXPECT_EQ(start, 120);
    start = -1;
    EXPECT_EQ(comm.getVal(start, 4), 0);
    EXPECT_EQ(start, -1);

    start = 114;
    EXPECT_EQ(comm.getVal2C(start, 6), -1);
    EXPECT_EQ(start, 120);
}

TEST(AgentCommCodec, ANewMessageOfTheSameKindReplacesTheOld)
{
    AgentComm comm;
    SimpleAgentMessage first = exampleSimple();
    SimpleAgentMessage second = exampleSimple();
    second.setSelfId(8);
    ASSERT_TRUE(comm.decode(comm.encodeSimpleMessage(first)));
    ASSERT_TRUE(comm.decode(comm.encodeSimpleMessage(second)));
    EXPECT_EQ(comm.getSimpleMessage()->getSelfId(), 8);
    comm.deletePointers();
    EXPECT_EQ(comm.getSimpleMessage(), nullptr);
    EXPECT_EQ(comm.getRoleMessage(), nullptr);
    EXPECT_EQ(comm.getSetplayMessage(), nullptr);
}

TEST(AgentCommCodec, CharactersOutsideTheFirstSixtyFourStillDecode)
{
    AgentComm comm;
    // '~' is index 89 and stands for 25 (type bits 01); a byte outside the
    // alphabet stands for 63 (type bits 11, then four one bits of the id).
    std::string heard = teamMessage({{10, 4}, {3, 4}, {2, 6}, {1, 4}, {0, 4}, {1, 4}, {9, 4}});
    std::string tilde = heard;
    tilde[1] = '~';
    ASSERT_TRUE(comm.decode(tilde));
    EXPECT_EQ(comm.messageType, 1);
    std::string foreign = heard;
    foreign[1] = static_cast<char>(0xC3);
    ASSERT_TRUE(comm.decode(foreign));
    EXPECT_EQ(comm.messageType, 3);
    EXPECT_EQ(comm.getSetplayMessage()->getSetplayId(), -2);
}

TEST_F(LogFixture, EncodingAndDecodingAreLoggedToTheLineBuffer)
{
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_DEBUG);
    Singleton<WorldState>::getInstance().gTime = 12.5f;
    AgentComm comm;
    std::string heard = comm.encodeSimpleMessage(exampleSimple());
    const std::string rule = "=====================================\n";
    EXPECT_EQ(drainBuffer(), "12.5===> Encoded Message <===== \n" + heard + "\nVoto enviado: 4\n" + rule);
    ASSERT_TRUE(comm.decode(heard));
    EXPECT_EQ(drainBuffer(),
              "12.5===> Decode Message <===== \n" + heard + "\nSender: 5 Ativo: 5\n" + rule);

    RoleAgentMessage roles(2);
    roles.setActiveCandidate(1);
    heard = comm.encodeGoalieMessage(roles);
    EXPECT_EQ(drainBuffer(),
              "12.5===> Encoded Goalie Message <===== \n" + heard + "\nVoto enviado: 0\n" + rule);
    ASSERT_TRUE(comm.decode(heard));
    EXPECT_EQ(drainBuffer(),
              "12.5===> Decode Goalie Message <===== \n" + heard + "\nSender: 1 Ativo: 1\n" + rule);

    comm.encodeSetplayMessage(SetplayAgentMessage(3));
    EXPECT_EQ(drainBuffer(), "");
}
