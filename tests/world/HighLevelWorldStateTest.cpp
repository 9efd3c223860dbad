#include <gtest/gtest.h>

#include "utils/Singleton.h"
#include "world/WorldState.h"
#include "world/highlevel/HighLevelWorldState.h"

TEST(HighLevelWorldState, WorldStateFilesARecordPerPlayerOfBothTeams)
{
    WorldState ws;
    HighLevelWorldState& summary = Singleton<HighLevelWorldState>::getInstance();
    for (int team = 0; team <= 1; ++team)
        for (int n = 1; n <= 11; ++n) {
            HighLevelPlayerInfo* record = summary.getPlayer(team, n);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->id, n);
            EXPECT_EQ(record->confidence, -1);
            EXPECT_EQ(record->position, Vector3f(0, 0, 0));
        }
    EXPECT_EQ(summary.getPlayer(0, 0), nullptr);
    EXPECT_EQ(summary.getPlayer(0, 12), nullptr);
    EXPECT_EQ(summary.getPlayer(2, 1), nullptr);
    EXPECT_EQ(summary.getPlayer(-1, 1), nullptr);
    EXPECT_EQ(summary.getOstrevandaTeam().size(), 11u);
    EXPECT_EQ(summary.getOpponentTeam().size(), 11u);
}

TEST(HighLevelWorldState, SetPlayerReplacesOnlyForKnownTeams)
{
    HighLevelWorldState summary;
    HighLevelPlayerInfo* first = new HighLevelPlayerInfo(5);
    summary.setPlayer(1, first);
    HighLevelPlayerInfo* second = new HighLevelPlayerInfo(5);
    second->confidence = 0.5f;
    summary.setPlayer(1, second);
    EXPECT_EQ(summary.getPlayer(1, 5), second);
    EXPECT_EQ(summary.getPlayer(0, 5), nullptr);

    HighLevelPlayerInfo stray(5);
    summary.setPlayer(3, &stray);
    summary.setPlayer(0, nullptr);
    EXPECT_EQ(summary.getPlayer(1, 5), second);
    EXPECT_TRUE(summary.getOstrevandaTeam().empty());

    // The same record filed for both teams is freed once.
    summary.setPlayer(0, second);
    summary.setPlayer(1, new HighLevelPlayerInfo(5));
    EXPECT_EQ(summary.getPlayer(0, 5), second);
}

TEST(HighLevelWorldState, MapsAndBallFields)
{
    HighLevelWorldState summary;
    EXPECT_EQ(summary.getBallPosition(), Vector3f(0, 0, 0));
    EXPECT_EQ(summary.getBallVelocity(), Vector3f(0, 0, 0));
    EXPECT_EQ(summary.getBallInfoConfidence(), 0);
    summary.setBallPosition(Vector3f(1, 2, 0));
    summary.setBallVelocity(Vector3f(0.5f, 0, 0));
    summary.setBallInfoConfidence(0.7f);
    EXPECT_EQ(summary.getBallPosition(), Vector3f(1, 2, 0));
    EXPECT_EQ(summary.getBallVelocity(), Vector3f(0.5f, 0, 0));
    EXPECT_FLOAT_EQ(summary.getBallInfoConfidence(), 0.7f);

    summary.setPlayer(0, new HighLevelPlayerInfo(2));
    std::map<int, HighLevelPlayerInfo*> team = summary.getOstrevandaTeam();
    team[3] = new HighLevelPlayerInfo(3);
    summary.setOstrevandaTeam(team);
    EXPECT_EQ(summary.getOstrevandaTeam().size(), 2u);
    summary.setOpponentTeam({{9, new HighLevelPlayerInfo(9)}});
    EXPECT_EQ(summary.getPlayer(1, 9)->id, 9);
    summary.setOstrevandaTeam({});
    EXPECT_EQ(summary.getPlayer(0, 2), nullptr);
}
