#include <gtest/gtest.h>

#include "strategy/Situation.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

struct ModeCase {
    int playmode;
    int previous;
    int side;
    int situation;
};

class SituationTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(SituationTest, MapsThePlayMode)
{
    const ModeCase& c = GetParam();
    GameState* game = Singleton<WorldState>::getInstance().game;
    const GameState saved = *game;
    game->playmode = c.playmode;
    game->setPreviousMode(c.previous);
    game->side = c.side;
    Situation situation;
    EXPECT_EQ(situation.generateSituation(), c.situation)
        << "mode " << c.playmode << " after " << c.previous << " on side " << c.side;
    EXPECT_EQ(situation.getCurrentSituation(), c.situation);
    *game = saved;
}

std::vector<ModeCase> cases()
{
    std::vector<ModeCase> v;
    for (int side : {1, 2}) {
        const ModeCase fixed[] = {
            {BEFORE_KICKOFF, PLAY_ON, side, side == 1 ? Situation::OKO : Situation::TKO},
            {QUORVEL_KICKOFF, PLAY_ON, side, Situation::OKO},
            {OPPONENT_GOAL, PLAY_ON, side, Situation::OKO},
            {OPPONENT_KICKOFF, PLAY_ON, side, Situation::TKO},
            {QUORVEL_GOAL, PLAY_ON, side, Situation::TKO},
            {QUORVEL_KICKIN, PLAY_ON, side, Situation::OKI},
            {OPPONENT_KICKIN, PLAY_ON, side, Situation::TKI},
            {QUORVEL_CORNER_KICK, PLAY_ON, side, Situation::OPE},
            {OPPONENT_CORNER_KICK, PLAY_ON, side, Situation::TPE},
            {QUORVEL_FREE_KICK, OPPONENT_KICKIN, side, Situation::OKI},
            {QUORVEL_FREE_KICK, OPPONENT_KICKOFF, side, Situation::TKO},
            {QUORVEL_FREE_KICK, OPPONENT_CORNER_KICK, side, Situation::OPE},
            {QUORVEL_FREE_KICK, OPPONENT_GOAL_KICK, side, Situation::ATT},
            {QUORVEL_FREE_KICK, PLAY_ON, side, Situation::KCK},
            {QUORVEL_FREE_KICK, QUORVEL_KICKIN, side, Situation::KCK},
            {OPPONENT_FREE_KICK, QUORVEL_KICKIN, side, Situation::TKI},
            {OPPONENT_FREE_KICK, QUORVEL_CORNER_KICK, side, Situation::TPE},
            {OPPONENT_FREE_KICK, QUORVEL_KICKOFF, side, Situation::TKO},
            {OPPONENT_FREE_KICK, PLAY_ON, side, Situation::DEF},
            {OPPONENT_FREE_KICK, OPPONENT_KICKIN, side, Situation::DEF},
            {QUORVEL_GOAL_KICK, PLAY_ON, side, Situation::OGK},
            {OPPONENT_GOAL_KICK, PLAY_ON, side, Situation::TFK},
            {PLAY_ON, QUORVEL_KICKOFF, side, Situation::ATT},
            {PASS_QUORVEL, PLAY_ON, side, Situation::ATT},
            {PASS_OPPONENT, PLAY_ON, side, Situation::ATT},
            {OTHER_PLAYMODE, PLAY_ON, side, Situation::ATT},
        };
        v.insert(v.end(), std::begin(fixed), std::end(fixed));
    }
    return v;
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SituationTest, ::testing::ValuesIn(cases()));

}  // namespace
