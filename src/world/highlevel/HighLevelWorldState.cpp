#include "world/highlevel/HighLevelWorldState.h"

HighLevelWorldState::HighLevelWorldState()
    : ballPosition(0, 0, 0), ballVelocity(0, 0, 0), ballInfoConfidence(0)
{
}

HighLevelWorldState::~HighLevelWorldState()
{
    for (auto& entry : ostrevandaTeam)
        delete entry.second;
    for (auto& entry : opponentTeam)
        delete entry.second;
}

void HighLevelWorldState::setPlayer(int team, HighLevelPlayerInfo* player)
{
    if (player == nullptr || (team != 0 && team != 1))
        return;
    std::map<int, HighLevelPlayerInfo*>& players = team == 0 ? ostrevandaTeam : opponentTeam;
    HighLevelPlayerInfo*& slot = players[player->id];
    if (slot != player)
        delete slot;
    slot = player;
}
