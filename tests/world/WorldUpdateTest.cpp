#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "logger/LogCapture.h"
#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/SyntheticView.h"
#include "world/WorldState.h"

namespace {

void loadBody()
{
    AgentModel& model = Singleton<AgentModel>::getInstance();
    if (model.getNumberOfJoints() == 0)
        model.initialize(std::string(QV_DATA_DIR) + "/nao.xml");
}

// A world on the left side in which nobody is seen: positions stay where
// the test puts them.
std::unique_ptr<WorldState> quietWorld()
{
    loadBody();
    std::unique_ptr<WorldState> ws(new WorldState());
    ws->setSide("left");
    for (auto& entry : ws->ostrevanda)
        entry.second->position = Vector3f(35, 0, 0);
    for (auto& entry : ws->opponentTeam)
        entry.second->position = Vector3f(-35, 0, 0);
    ws->ballPos = Vector(0, 0);
    return ws;
}

TEST(WorldUpdate, BeforeTheSideIsKnownEverythingStaysFinite)
{
    loadBody();
    WorldState ws;
    ws.update();
    ws.update();
    EXPECT_EQ(ws.cycle, 2u);
    for (float v : {ws.theirGoalDist, ws.theirGoalGlobalDir, ws.myGoalGlobalDir, ws.ballDistance,
                    ws.ballGlobalDir, ws.ballRelDir, ws.ballRelDirLFoot, ws.ballRelDirCFoot,
                    ws.pressure, ws.closeTeamDist, ws.closeOppDist, ws.fastestTeamTime,
                    ws.fastestTeamTime2, ws.ball->position.x, ws.ball->finalPos.x,
                    ws.maxVelocityOpp, ws.maxVelocityAlly})
        EXPECT_TRUE(std::isfinite(v)) << v;
}

TEST(WorldUpdate, NearestToTheBallPrefersTheLowerNumberAndKeepsTheDefaultsBeyondRange)
{
    std::unique_ptr<WorldState> ws = quietWorld();
    ws->update();
    EXPECT_EQ(ws->closeTeam, 2);
    EXPECT_FLOAT_EQ(ws->closeTeamDist, 20);
    EXPECT_EQ(ws->closeTeam2, 3);
    EXPECT_FLOAT_EQ(ws->closeTeamDist2, 30);
    EXPECT_EQ(ws->closeOpp, 2);
    EXPECT_FLOAT_EQ(ws->closeOppDist, 20);

    ws->ostrevanda[6]->position = Vector3f(0, 2, 0);
    ws->ostrevanda[3]->position = Vector3f(2, 0, 0);
    ws->ostrevanda[9]->position = Vector3f(0, -4, 0);
    ws->opponentTeam[5]->position = Vector3f(-1, 0, 0);
    ws->update();
    EXPECT_EQ(ws->closeTeam, 3);
    EXPECT_FLOAT_EQ(ws->closeTeamDist, 2);
    EXPECT_EQ(ws->closeTeam2, 6);
    EXPECT_FLOAT_EQ(ws->closeTeamDist2, 2);
    EXPECT_EQ(ws->closeOpp, 5);
    EXPECT_FLOAT_EQ(ws->closeOppDist, 1);
    EXPECT_EQ(ws->closeOpp2, 2);
    EXPECT_FLOAT_EQ(ws->closeOppDist2, 20);
}

TEST(WorldUpdate, PressureFollowsTheNearestDistances)
{
    struct Case {
        float mate;      // nearest team-mate's distance to the ball
        float opponent;  // nearest opponent's
        float before;
        float after;
    };
    const Case cases[] = {
        {3.0f, 0.4f, 0, 1.0f},       // every test fails: 10
        {0.5f, 3.1f, 0, 0},          // 0
        {1.0f, 1.5f, 0, 0.3f},       // 3
        {1.0f, 0.9f, 2, 2.4f},       // 6: 0.6 + 1.8
        {3.0f, 0.4f, 4.9f, 5.0f},    // capped
    };
    for (const Case& c : cases) {
        std::unique_ptr<WorldState> ws = quietWorld();
        ws->ostrevanda[4]->position = Vector3f(c.mate, 0, 0);
        ws->opponentTeam[8]->position = Vector3f(-c.opponent, 0, 0);
        ws->pressure = c.before;
        ws->update();
        EXPECT_NEAR(ws->pressure, c.after, 1e-5) << c.mate << " " << c.opponent;
    }
}

TEST(WorldUpdate, BallSideCues)
{
    struct Case {
        Vector ball;
        float orientation;
        bool left;
        bool right;
    };
    const Case cases[] = {
        {Vector(0, -1), 0, true, false},   // -90
        {Vector(0, -1), 5, false, false},  // -95 exactly
        {Vector(0, -1), -4, true, false},  // -86
        {Vector(0, 1), 0, false, true},    // 90
        {Vector(1, 0), 0, false, false},   // ahead
    };
    for (const Case& c : cases) {
        std::unique_ptr<WorldState> ws = quietWorld();
        ws->me->position = Vector3f(0, 0, 0.5f);
        ws->me->orientation = c.orientation;
        ws->ballPos = c.ball;
        ws->update();
        EXPECT_EQ(ws->cBallOnMyLeft, c.left) << ws->ballRelDir;
        EXPECT_EQ(ws->cBallOnMyRight, c.right) << ws->ballRelDir;
        EXPECT_EQ(ws->cBallOnMySide, c.left || c.right) << ws->ballRelDir;
        EXPECT_EQ(ws->cFacingBall, c.ball.x > 0) << ws->ballRelDir;
    }
}

TEST(WorldUpdate, UnseenObjectsKeepTheirPlaceWhileConfidenceDecays)
{
    std::unique_ptr<WorldState> ws = quietWorld();
    Player* opp = ws->opponentTeam[4];
    opp->position = Vector3f(1, 2, 0);
    opp->head.position = Vector3f(1, 2, 0.5f);
    opp->head.conf = 0.8f;
    opp->lFoot.conf = 0.6f;
    ws->ball->conf = 0.9f;
    for (int i = 0; i < 10; ++i)
        ws->update();
    EXPECT_EQ(opp->position, Vector3f(1, 2, 0));
    EXPECT_NEAR(opp->conf, 0.8 * std::pow(0.95, 10), 1e-5);
    EXPECT_NEAR(ws->ball->conf, 0.9 * std::pow(0.95, 10), 1e-5);
    // A part far from its player is pulled onto it.
    EXPECT_EQ(opp->rFoot.position, Vector3f(1, 2, 0));
}

// Messages of a camera standing upright at chosen places, seen through the
// parser: localisation, the ball and its smoothing.
class SeenWorldTest : public ::testing::Test {
protected:
    WorldState& ws = Singleton<WorldState>::getInstance();
    std::unique_ptr<MessageParser> parser;
    double clock = 100;

    void SetUp() override
    {
        loadBody();
        parser.reset(new MessageParser());
        ws.setTeam("Probe");
        ws.setUnum(1);
        ws.setSide("left");
    }

    void see(const synthetic::Pose& cam, const synthetic::Point* ball)
    {
        clock += 0.02;
        parser->parseMessage(synthetic::message(clock, cam, true, ball));
        ASSERT_EQ(ws.me->positionUpdateCycle, ws.cycle) << "not localised";
    }

    void blind()
    {
        clock += 0.02;
        char text[64];
        std::snprintf(text, sizeof text, "(time (now %.2f))(HJ (n hj1) (ax 0.00))", clock);
        parser->parseMessage(text);
    }
};

TEST_F(SeenWorldTest, BallIsCarriedAlongHalfOfAShortMoveButNotAlongABeam)
{
    const synthetic::Point ball = {0, 0, 0.042};
    see({-3, 0, 0.55, 0}, &ball);
    see({-3, 0, 0.55, 0}, &ball);
    EXPECT_NEAR(ws.ball->position.x, 0, 0.03);
    EXPECT_NEAR(ws.ball->position.y, 0, 0.03);

    // One metre forward: the ball lands half a metre beyond its sighting.
    see({-2, 0, 0.55, 0}, &ball);
    EXPECT_NEAR(ws.ballUnfilteredPos.x, 0, 0.03);
    EXPECT_NEAR(ws.ball->position.x, 0.5, 0.03);
    EXPECT_NEAR(ws.ball->position.y, 0, 0.03);
    EXPECT_NEAR(ws.ballPos.x, 0.5, 0.03);

    // A jump of 2.5 m: the sighting is taken as it is.
    see({-2, 2.5, 0.55, 0}, &ball);
    EXPECT_NEAR(ws.ball->position.x, 0, 0.03);
    EXPECT_NEAR(ws.ball->position.y, 0, 0.03);
}

TEST_F(SeenWorldTest, FirstLocalisationTakesTheBallAsSeen)
{
    // A new shirt number gives a new record of myself, never localised.
    ws.setUnum(5);
    ASSERT_TRUE(ws.me->prevPosition.empty());
    const synthetic::Point ball = {1, 0, 0.042};
    see({-1, 0, 0.55, 0}, &ball);
    EXPECT_NEAR(ws.ball->position.x, 1, 0.03);
    EXPECT_NEAR(ws.ball->position.y, 0, 0.03);
}

TEST_F(SeenWorldTest, ConfidenceDecaysWhileNothingIsSeen)
{
    const synthetic::Point ball = {1, 0.5, 0.042};
    see({-3, 0, 0.55, 0}, &ball);
    EXPECT_FLOAT_EQ(ws.me->conf, 1);
    EXPECT_FLOAT_EQ(ws.ball->conf, 1);
    Vector3f seenAt = ws.ball->position;
    for (int i = 0; i < 10; ++i)
        blind();
    EXPECT_NEAR(ws.ball->conf, std::pow(0.95, 10), 1e-5);
    EXPECT_NEAR(ws.me->conf, std::pow(0.95, 10), 1e-5);
    EXPECT_EQ(ws.ball->position, seenAt);
}

TEST_F(SeenWorldTest, ShirtThreeTracesIntoTheLineBufferOnlyWithDebugLogging)
{
    // Shirt 3 traces its choice of the fastest carrier every localised cycle.
    struct Row {
        bool active;
        log_level_t level;
        int cycles;
        bool traced;
    } rows[] = {
        {false, log_DEBUG, 3000, false},
        {true, log_INFO, 300, false},
        {true, log_DEBUG, 1100, true},
    };
    ws.setUnum(3);
    const synthetic::Point ball = {1, 0.5, 0.042};
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.active << " " << r.level);
        LogParameters::instance().active(r.active);
        LogParameters::instance().level(r.level);
        LogFixture::drainBuffer();
        ::testing::internal::CaptureStdout();
        for (int i = 0; i < r.cycles; ++i)
            see({-3, 0, 0.55, 0}, &ball);
        const std::string printed = ::testing::internal::GetCapturedStdout();
        const std::string held = LogFixture::drainBuffer();
        EXPECT_EQ(printed.find("FASTC update") != std::string::npos, r.traced);
        if (!r.traced) {
            EXPECT_EQ(held, "");
        }
        // Printed once full: never more than one batch is held.
        size_t entries = 0;
        for (size_t at = held.find("FASTC update"); at != std::string::npos;
             at = held.find("FASTC update", at + 1))
            ++entries;
        EXPECT_LT(entries, 1024u);
    }
    LogParameters::instance().active(false);
    LogParameters::instance().level(log_TRACE);
}

} // namespace
