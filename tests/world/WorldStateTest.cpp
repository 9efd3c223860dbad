#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"
#include "world/highlevel/HighLevelWorldState.h"

namespace {

std::unique_ptr<WorldState> worldOnSide(const std::string& side)
{
    std::unique_ptr<WorldState> ws(new WorldState());
    ws->setSide(side);
    return ws;
}

void expectTeamIsOneToEleven(const std::map<int, Player*>& players)
{
    ASSERT_EQ(players.size(), 11u);
    int n = 1;
    for (const auto& entry : players) {
        EXPECT_EQ(entry.first, n);
        ASSERT_NE(entry.second, nullptr);
        EXPECT_EQ(entry.second->unum, n);
        ++n;
    }
}

} // namespace

TEST(WorldStateConstruction, HoldsBothTeamsLandmarksAndConstants)
{
    WorldState ws;
    ASSERT_EQ(ws.ostrevanda.size(), 12u);
    EXPECT_EQ(ws.ostrevanda[0], ws.me);
    EXPECT_EQ(ws.me->unum, 0);
    EXPECT_EQ(ws.unum, 0);
    EXPECT_EQ(ws.team, "Ostrevanda");
    expectTeamIsOneToEleven(ws.opponentTeam);
    for (const auto& entry : ws.opponentTeam)
        EXPECT_EQ(entry.second->position, Vector3f(5, -5, 0));

    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ws.flags[k]->id, k + 1);
        EXPECT_EQ(ws.goals[k]->id, k + 1);
        EXPECT_EQ(ws.landmarks[k], ws.flags[k]);
        EXPECT_EQ(ws.landmarks[k + 4], ws.goals[k]);
    }

    ASSERT_EQ(ws.activeElection.size(), 11u);
    EXPECT_EQ(ws.activeElection[10], std::make_pair(11, 0));
    EXPECT_EQ(ws.activeVoters.size(), 12u);

    ASSERT_EQ(ws.localizers.size(), 7u);
    EXPECT_EQ(ws.localizers[0], &ws.locXXBall);
    EXPECT_EQ(ws.localizers[1], &ws.loc2FlBall);
    EXPECT_EQ(ws.localizers[6], &ws.locXXHeight);
    for (Localizer* loc : ws.localizers)
        EXPECT_FALSE(loc->isValid());

    EXPECT_EQ(ws.closeTeam, 2);
    EXPECT_EQ(ws.closeOpp2, 3);
    EXPECT_EQ(ws.closeTeamDist, 20.0f);
    EXPECT_EQ(ws.closeOppDist2, 30.0f);
    EXPECT_EQ(ws.teamWithBall, 3);
    EXPECT_EQ(ws.lastTeamWithBall, 1);
    EXPECT_EQ(ws.commPassPosition, Vector(11.5f, 0));
    EXPECT_EQ(ws.fieldLenght, 30.0f);
    EXPECT_FLOAT_EQ(ws.penaltyWidth, 3.9f);
    EXPECT_EQ(ws.maxPlayersInsideOwnArea, 3);
    EXPECT_FLOAT_EQ(ws.CPGTime, -0.1f);
    EXPECT_EQ(ws.setplayId, -1);
    EXPECT_EQ(ws.leadPlayer, -1);
    EXPECT_EQ(ws.strategy, nullptr);
    ASSERT_NE(ws.defState, nullptr);
    EXPECT_EQ(ws.defState->target, nullptr);
    EXPECT_EQ(ws.game->side, 0);
    EXPECT_EQ(ws.game->playmode, BEFORE_KICKOFF);
}

TEST(WorldStateConstruction, FilesASummaryRecordPerPlayer)
{
    WorldState ws;
    HighLevelWorldState& summary = Singleton<HighLevelWorldState>::getInstance();
    for (auto* team : {&summary.ostrevandaTeam, &summary.opponentTeam}) {
        ASSERT_EQ(team->size(), 11u);
        for (int n = 1; n <= 11; ++n) {
            ASSERT_EQ(team->count(n), 1u);
            EXPECT_EQ((*team)[n]->id, n);
            EXPECT_EQ((*team)[n]->confidence, -1.0f);
        }
    }
}

TEST(WorldStateConstruction, StrategyIsHeldNotOwned)
{
    Strategy strategy;
    {
        WorldState ws;
        ws.setStrategy(&strategy);
        EXPECT_EQ(ws.strategy, &strategy);
        EXPECT_EQ(ws.strategy->ST_NUM_PLAYERS, 11);
    }
    EXPECT_EQ(strategy.GetStrategicPos(3), Vector(0, 0));
}

TEST(WorldStateUnum, ReplacesThePlaceholderAndKeepsTheTeam)
{
    WorldState ws;
    ws.setUnum(7);
    EXPECT_EQ(ws.unum, 7);
    EXPECT_EQ(ws.me->unum, 7);
    EXPECT_EQ(ws.ostrevanda[7], ws.me);
    expectTeamIsOneToEleven(ws.ostrevanda);
}

TEST(WorldStateUnum, ConfirmingTheSameNumberKeepsMeAndItsHistory)
{
    WorldState ws;
    ws.setUnum(7);
    Player* me = ws.me;
    me->updatePrevPosition(Vector3f(1, 2, 0));
    me->position = Vector3f(3, 4, 0);
    ws.setUnum(7);
    EXPECT_EQ(ws.me, me);
    EXPECT_EQ(ws.ostrevanda[7], me);
    EXPECT_EQ(me->position, Vector3f(3, 4, 0));
    ASSERT_EQ(me->prevPosition.size(), 1u);
    expectTeamIsOneToEleven(ws.ostrevanda);
}

TEST(WorldStateUnum, ANewNumberGivesTheOldOneBack)
{
    WorldState ws;
    ws.setUnum(5);
    ws.setUnum(9);
    EXPECT_EQ(ws.me->unum, 9);
    EXPECT_EQ(ws.ostrevanda[9], ws.me);
    EXPECT_NE(ws.ostrevanda[5], ws.me);
    expectTeamIsOneToEleven(ws.ostrevanda);
}

TEST(WorldStateUnum, NumbersOutsideTheTeamAreIgnored)
{
    WorldState ws;
    ws.setUnum(4);
    ws.setUnum(12);
    ws.setUnum(-1);
    ws.setUnum(0);
    EXPECT_EQ(ws.unum, 4);
    EXPECT_EQ(ws.me->unum, 4);
    expectTeamIsOneToEleven(ws.ostrevanda);
}

TEST(WorldStateSide, PlacesLandmarksBySide)
{
    struct Expect {
        int key;
        const char* name;
        Vector3f pos;
    };
    struct Case {
        const char* side;
        int gameSide;
        int frontLeft, frontRight, backLeft, backRight;
        Expect flags[4];
        Expect goals[4];
    };
    const Case cases[] = {
        {"left", 1, 1, 0, 3, 2,
         {{0, "F1R", Vector3f(15, 10, 0)}, {1, "F2R", Vector3f(15, -10, 0)},
          {2, "F1L", Vector3f(-15, 10, 0)}, {3, "F2L", Vector3f(-15, -10, 0)}},
         {{0, "G1R", Vector3f(15, 1.05f, 0.8f)}, {1, "G2R", Vector3f(15, -1.05f, 0.8f)},
          {2, "G1L", Vector3f(-15, 1.05f, 0.8f)}, {3, "G2L", Vector3f(-15, -1.05f, 0.8f)}}},
        {"right", 2, 2, 3, 0, 1,
         {{0, "F1R", Vector3f(-15, -10, 0)}, {1, "F2R", Vector3f(-15, 10, 0)},
          {2, "F1L", Vector3f(15, -10, 0)}, {3, "F2L", Vector3f(15, 10, 0)}},
         {{0, "G1R", Vector3f(-15, -1.05f, 0.8f)}, {1, "G2R", Vector3f(-15, 1.05f, 0.8f)},
          {2, "G1L", Vector3f(15, -1.05f, 0.8f)}, {3, "G2L", Vector3f(15, 1.05f, 0.8f)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.side);
        std::unique_ptr<WorldState> ws = worldOnSide(c.side);
        EXPECT_EQ(ws->game->side, c.gameSide);
        EXPECT_EQ(ws->front_left, c.frontLeft);
        EXPECT_EQ(ws->front_right, c.frontRight);
        EXPECT_EQ(ws->back_left, c.backLeft);
        EXPECT_EQ(ws->back_right, c.backRight);
        for (const Expect& e : c.flags) {
            EXPECT_EQ(ws->flags[e.key]->name, e.name);
            EXPECT_FLOAT_EQ(ws->flags[e.key]->position.x, e.pos.x) << e.name;
            EXPECT_FLOAT_EQ(ws->flags[e.key]->position.y, e.pos.y) << e.name;
            EXPECT_FLOAT_EQ(ws->flags[e.key]->position.z, e.pos.z) << e.name;
        }
        for (const Expect& e : c.goals) {
            EXPECT_EQ(ws->goals[e.key]->name, e.name);
            EXPECT_FLOAT_EQ(ws->goals[e.key]->position.x, e.pos.x) << e.name;
            EXPECT_FLOAT_EQ(ws->goals[e.key]->position.y, e.pos.y) << e.name;
            EXPECT_FLOAT_EQ(ws->goals[e.key]->position.z, e.pos.z) << e.name;
        }
        EXPECT_EQ(ws->theirGoalPos, Vector(15, 0));
        EXPECT_EQ(ws->myGoalPos, Vector(-15, 0));
    }
}

TEST(WorldStateSide, RightSideNamesFrontAndBack)
{
    std::unique_ptr<WorldState> ws = worldOnSide("right");
    LandMark* frontLeftGoal = ws->goals[ws->front_left];
    EXPECT_EQ(frontLeftGoal->name, "G1L");
    EXPECT_FLOAT_EQ(frontLeftGoal->position.x, 15);
    EXPECT_FLOAT_EQ(frontLeftGoal->position.y, -1.05f);
    EXPECT_FLOAT_EQ(frontLeftGoal->position.z, 0.8f);
    LandMark* backLeftFlag = ws->flags[ws->back_left];
    EXPECT_EQ(backLeftFlag->name, "F1R");
    EXPECT_FLOAT_EQ(backLeftFlag->position.x, -15);
    EXPECT_FLOAT_EQ(backLeftFlag->position.y, -10);
}

TEST(WorldStateSide, ZeroGeometryLeavesLandmarksInPlace)
{
    WorldState ws;
    ws.conditions->goalsWidth = 0;
    ws.setSide("left");
    EXPECT_EQ(ws.game->side, 1);
    EXPECT_EQ(ws.front_left, 1);
    for (LandMark* lm : ws.landmarks)
        EXPECT_EQ(lm->position, Vector3f(0, 0, 0));
    EXPECT_EQ(ws.myGoalPos, Vector(0, 0));
}

// Every server text, mapped once for each side with a fresh world.
TEST(WorldStatePlaymode, TableForBothSides)
{
    struct Case {
        const char* text;
        int onLeft;
        int onRight;
    };
    const Case cases[] = {
        {"BeforeKickOff", 0, 0},
        {"KickOff_Left", 1, 2},          {"KickOff_Right", 2, 1},
        {"KickIn_Left", 3, 4},           {"KickIn_Right", 4, 3},
        {"corner_kick_left", 5, 6},      {"corner_kick_right", 6, 5},
        {"free_kick_left", 7, 8},        {"free_kick_right", 8, 7},
        {"goal_kick_left", 9, 10},       {"goal_kick_right", 10, 9},
        {"Goal_Left", 11, 12},           {"Goal_Right", 12, 11},
        {"PlayOn", 13, 13},
        {"pass_left", 14, 15},           {"pass_right", 15, 14},
        {"GameOver", 16, 16},            {"offside_left", 16, 16},
        {"direct_free_kick_left", 16, 16}, {"kickin_left", 16, 16},
        {"", 16, 16},
    };
    for (const Case& c : cases) {
        for (const char* side : {"left", "right"}) {
            std::unique_ptr<WorldState> ws = worldOnSide(side);
            ws->setPlaymode(c.text);
            int expected = std::string(side) == "left" ? c.onLeft : c.onRight;
            EXPECT_EQ(ws->game->playmode, expected) << c.text << " on " << side;
        }
    }
}

TEST(WorldStatePlaymode, PreviousModeKeptOnlyForSomeModes)
{
    struct Case {
        const char* text;
        bool keeps;
    };
    const Case cases[] = {
        {"KickOff_Left", true},   {"KickIn_Right", true},    {"corner_kick_left", true},
        {"goal_kick_right", true}, {"pass_left", true},      {"free_kick_left", false},
        {"Goal_Left", false},     {"BeforeKickOff", false},  {"PlayOn", false},
        {"GameOver", false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<WorldState> ws = worldOnSide("left");
        ws->game->playmode = PLAY_ON;
        ws->game->setPreviousMode(-5);
        ws->setPlaymode(c.text);
        EXPECT_EQ(ws->game->getPreviousMode(), c.keeps ? PLAY_ON : -5) << c.text;
    }
}

TEST(WorldStatePlaymode, GoalsAreCounted)
{
    std::unique_ptr<WorldState> right = worldOnSide("right");
    right->setPlaymode("Goal_Right");
    EXPECT_EQ(right->game->playmode, QUORVEL_GOAL);
    EXPECT_EQ(right->game->ostrevandaGoals, 1);
    EXPECT_EQ(right->game->opponentGoals, 0);

    std::unique_ptr<WorldState> left = worldOnSide("left");
    left->setPlaymode("Goal_Right");
    left->setPlaymode("Goal_Right");
    EXPECT_EQ(left->game->playmode, OPPONENT_GOAL);
    EXPECT_EQ(left->game->ostrevandaGoals, 0);
    EXPECT_EQ(left->game->opponentGoals, 2);
}

TEST(WorldStatePlaymode, PlayOnMarksLastPlayon)
{
    std::unique_ptr<WorldState> ws = worldOnSide("left");
    EXPECT_FALSE(ws->game->getLastPlayon());
    ws->setPlaymode("PlayOn");
    EXPECT_EQ(ws->game->playmode, PLAY_ON);
    EXPECT_TRUE(ws->game->getLastPlayon());
}

TEST(WorldStatePlaymode, ThreeSecondHoldAfterOurSetPlay)
{
    for (const char* setPlay : {"KickIn_Left", "corner_kick_left", "free_kick_left"}) {
        SCOPED_TRACE(setPlay);
        std::unique_ptr<WorldState> ws = worldOnSide("left");
        ws->gTime = 10;
        ws->setPlaymode(setPlay);
        int held = ws->game->playmode;
        EXPECT_TRUE(ws->wasSetPlay);

        ws->gTime = 11;
        ws->setPlaymode("PlayOn");
        EXPECT_EQ(ws->game->playmode, held);
        EXPECT_TRUE(ws->keepFormation);
        EXPECT_FALSE(ws->wasSetPlay);
        EXPECT_EQ(ws->timer, 11.0f);

        // Every text within 3 s is ignored.
        for (float t : {11.5f, 12.9f, 13.99f}) {
            ws->gTime = t;
            ws->setPlaymode("Goal_Right");
            EXPECT_EQ(ws->game->playmode, held) << t;
            EXPECT_EQ(ws->game->opponentGoals, 0);
        }
        // The first one at 3 s is ignored too and ends the hold.
        ws->gTime = 14;
        ws->setPlaymode("KickOff_Right");
        EXPECT_EQ(ws->game->playmode, held);
        EXPECT_FALSE(ws->keepFormation);
        // The next is mapped.
        ws->setPlaymode("PlayOn");
        EXPECT_EQ(ws->game->playmode, PLAY_ON);
    }
}

TEST(WorldStatePlaymode, NoHoldAfterOtherSetPieces)
{
    for (const char* mode : {"goal_kick_left", "KickOff_Left", "KickIn_Right", "corner_kick_right",
                             "free_kick_right"}) {
        std::unique_ptr<WorldState> ws = worldOnSide("left");
        ws->setPlaymode(mode);
        ws->setPlaymode("PlayOn");
        EXPECT_EQ(ws->game->playmode, PLAY_ON) << mode;
        EXPECT_FALSE(ws->keepFormation) << mode;
    }
}

TEST(WorldStatePlaymode, BeforeKickOffAfterPlayStartsTheNextHalf)
{
    std::unique_ptr<WorldState> ws = worldOnSide("left");
    ws->setPlaymode("BeforeKickOff");
    EXPECT_EQ(ws->game->half, 0);
    ws->setPlaymode("PlayOn");
    ws->setPlaymode("BeforeKickOff");
    EXPECT_EQ(ws->game->playmode, BEFORE_KICKOFF);
    EXPECT_EQ(ws->game->half, 1);
}

TEST(WorldStateSetters, TimesNamesAndFlags)
{
    WorldState ws;
    ws.setGameTime(12.5f);
    ws.setClockTime(100.25f);
    ws.setLastVisionCTime(100.2f);
    ws.setTeam("Blue");
    ws.setOpponentName("Red");
    ws.setIsSetplayActive(true);
    EXPECT_EQ(ws.game->gameTime, 12.5f);
    EXPECT_EQ(ws.game->clockTime, 100.25f);
    EXPECT_EQ(ws.lastVisionCTime, 100.2f);
    EXPECT_EQ(ws.team, "Blue");
    EXPECT_EQ(ws.opponentName, "Red");
    EXPECT_TRUE(ws.getIsSetplayActive());
}

TEST(WorldStateSetters, BallReading)
{
    WorldState ws;
    ws.ball->position = Vector3f(2, 1, 0);
    ws.setBallRelativePosition(2, 90, 0);
    EXPECT_TRUE(ws.ball->seen);
    EXPECT_NEAR(ws.ball->relPosition.x, 0, 1e-5);
    EXPECT_NEAR(ws.ball->relPosition.y, 2, 1e-5);
    EXPECT_EQ(ws.ball->filteredPosVec.back(), Vector3f(2, 1, 0));
    ws.setBallRelativePosition(1, 0, 0);
    EXPECT_NEAR(ws.ball->prevRelPosition.y, 2, 1e-5);
    EXPECT_NEAR(ws.ball->relPosition.x, 1, 1e-5);
}

TEST(WorldStateSetters, LandmarkReadingsStayPolar)
{
    WorldState ws;
    ws.setFlagRelativePosition("F2L", 5, 30, -2);
    ws.setGoalRelativePosition("G1R", 7, -10, 3);
    ws.setFlagRelativePosition("F3L", 1, 1, 1);
    ws.setGoalRelativePosition("F1R", 1, 1, 1);
    EXPECT_TRUE(ws.flags[3]->seen);
    EXPECT_EQ(ws.flags[3]->relPosition, Vector3f(5, 30, -2));
    EXPECT_TRUE(ws.goals[0]->seen);
    EXPECT_EQ(ws.goals[0]->relPosition, Vector3f(7, -10, 3));
    int seen = 0;
    for (LandMark* lm : ws.landmarks)
        seen += lm->seen ? 1 : 0;
    EXPECT_EQ(seen, 2);

    ws.resetSeenFlags();
    for (LandMark* lm : ws.landmarks)
        EXPECT_FALSE(lm->seen);
}

TEST(WorldStateSetters, ResetClearsEverySeenFlag)
{
    WorldState ws;
    Vector3f head(3, 10, -5);
    Vector3f* parts[5] = {&head, &head, &head, &head, &head};
    ws.setPlayerData(4, 0, parts);
    ws.setPlayerData(6, 1, parts);
    ws.setBallRelativePosition(1, 2, 3);
    ws.resetSeenFlags();
    EXPECT_FALSE(ws.ball->seen);
    for (auto* team : {&ws.ostrevanda, &ws.opponentTeam}) {
        for (auto& entry : *team) {
            Player* p = entry.second;
            EXPECT_FALSE(p->seen || p->head.seen || p->lFoot.seen || p->rFoot.seen ||
                         p->lLowerArm.seen || p->rLowerArm.seen);
        }
    }
}

TEST(WorldStatePlayers, SeenPlayerIsPlacedByItsFirstSeenPart)
{
    WorldState ws;
    ws.setUnum(2);
    Vector3f rightFoot(2, 0, -10);
    Vector3f* parts[5] = {nullptr, nullptr, &rightFoot, nullptr, nullptr};
    Player* p = ws.opponentTeam[8];
    p->position = Vector3f(1, 1, 0);
    ws.setPlayerData(8, 1, parts);
    EXPECT_TRUE(p->seen);
    EXPECT_TRUE(p->rFoot.seen);
    EXPECT_FALSE(p->head.seen);
    Vector3f expected = rightFoot.toCartesian();
    EXPECT_FLOAT_EQ(p->relPosition.x, expected.x);
    EXPECT_FLOAT_EQ(p->rFoot.relPosition.z, expected.z);
    ASSERT_EQ(p->prevPosition.size(), 1u);
    EXPECT_EQ(p->prevPosition.front(), Vector3f(1, 1, 0));

    // The head goes first when it is seen.
    Vector3f head(4, 20, 5);
    Vector3f* both[5] = {&head, nullptr, &rightFoot, nullptr, nullptr};
    ws.setPlayerData(8, 1, both);
    EXPECT_FLOAT_EQ(p->relPosition.x, head.toCartesian().x);

    // Nothing seen: the player is left alone.
    ws.resetSeenFlags();
    Vector3f* none[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    ws.setPlayerData(8, 1, none);
    EXPECT_FALSE(p->seen);
}

TEST(WorldStatePlayers, OwnRecordIsNotMovedButAnOpponentWithOurNumberIs)
{
    WorldState ws;
    ws.setUnum(5);
    Vector3f head(3, 0, 0);
    Vector3f* parts[5] = {&head, nullptr, nullptr, nullptr, nullptr};
    ws.setPlayerData(5, 0, parts);
    EXPECT_TRUE(ws.me->head.seen);
    EXPECT_FALSE(ws.me->seen);
    EXPECT_TRUE(ws.me->prevPosition.empty());

    ws.setPlayerData(5, 1, parts);
    EXPECT_TRUE(ws.opponentTeam[5]->seen);
    EXPECT_FLOAT_EQ(ws.opponentTeam[5]->relPosition.x, 3);
}

TEST(WorldStatePlayers, UnknownIdsAndTeamsAreIgnored)
{
    WorldState ws;
    Vector3f head(3, 0, 0);
    Vector3f* parts[5] = {&head, nullptr, nullptr, nullptr, nullptr};
    for (int id : {0, 12, -3, 100}) {
        ws.setPlayerData(id, 1, parts);
        ws.setPlayerData(id, 0, parts);
    }
    expectTeamIsOneToEleven(ws.opponentTeam);
    EXPECT_EQ(ws.ostrevanda.size(), 12u);
    EXPECT_FALSE(ws.me->head.seen);

    testing::internal::CaptureStdout();
    ws.setPlayerData(3, 2, parts);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "WARNING (in WorldState::setPlayerData): team is neither OSTREVANDA_TEAM "
                   "nor OPPONENT_TEAM. Aborting method.");
    EXPECT_FALSE(ws.ostrevanda[3]->seen);
    EXPECT_FALSE(ws.opponentTeam[3]->seen);
}
