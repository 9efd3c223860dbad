#include "world/highlevel/HighLevelWorldState.h"

#include <set>

HighLevelWorldState::HighLevelWorldState()
    : ballPosition(0, 0, 0), ballVelocity(0, 0, 0), ballInfoConfidence(0)
{
}

HighLevelWorldState::~HighLevelWorldState()
{
    // A record may be filed more than once; free each once.
    std::set<HighLevelPlayerInfo*> records;
    for (auto& entry : ostrevandaTeam)
        records.insert(entry.second);
    for (auto& entry : opponentTeam)
        records.insert(entry.second);
    for (HighLevelPlayerInfo* record : records)
        delete record;
}

bool HighLevelWorldState::isFiled(const HighLevelPlayerInfo* player) const
{
    for (const auto& entry : ostrevandaTeam)
        if (entry.second == player)
            return true;
    for (const auto& entry : opponentTeam)
        if (entry.second == player)
            return true;
    return false;
}

void HighLevelWorldState::setPlayer(int team, HighLevelPlayerInfo* player)
{
    if (player == nullptr || (team != 0 && team != 1))
        return;
    std::map<int, HighLevelPlayerInfo*>& players = team == 0 ? ostrevandaTeam : opponentTeam;
    HighLevelPlayerInfo* previous = players[player->id];
    players[player->id] = player;
    if (previous != nullptr && !isFiled(previous))
        delete previous;
}

HighLevelPlayerInfo* HighLevelWorldState::getPlayer(int team, int unum) const
{
    if (team != 0 && team != 1)
        return nullptr;
    const std::map<int, HighLevelPlayerInfo*>& players = team == 0 ? ostrevandaTeam : opponentTeam;
    std::map<int, HighLevelPlayerInfo*>::const_iterator it = players.find(unum);
    return it == players.end() ? nullptr : it->second;
}

std::map<int, HighLevelPlayerInfo*> HighLevelWorldState::getOstrevandaTeam() const
{
    return ostrevandaTeam;
}

std::map<int, HighLevelPlayerInfo*> HighLevelWorldState::getOpponentTeam() const
{
    return opponentTeam;
}

void HighLevelWorldState::replaceTeam(std::map<int, HighLevelPlayerInfo*>& target,
                                      const std::map<int, HighLevelPlayerInfo*>& team)
{
    std::map<int, HighLevelPlayerInfo*> previous;
    previous.swap(target);
    target = team;
    for (auto& entry : previous)
        if (entry.second != nullptr && !isFiled(entry.second)) {
            HighLevelPlayerInfo* record = entry.second;
            // The same record may sit under several keys of the old map.
            for (auto& other : previous)
                if (other.second == record)
                    other.second = nullptr;
            delete record;
        }
}

void HighLevelWorldState::setOstrevandaTeam(const std::map<int, HighLevelPlayerInfo*>& team)
{
    replaceTeam(ostrevandaTeam, team);
}

void HighLevelWorldState::setOpponentTeam(const std::map<int, HighLevelPlayerInfo*>& team)
{
    replaceTeam(opponentTeam, team);
}

Vector3f HighLevelWorldState::getBallPosition() const { return ballPosition; }
void HighLevelWorldState::setBallPosition(Vector3f position) { ballPosition = position; }
Vector3f HighLevelWorldState::getBallVelocity() const { return ballVelocity; }
void HighLevelWorldState::setBallVelocity(Vector3f velocity) { ballVelocity = velocity; }
float HighLevelWorldState::getBallInfoConfidence() const { return ballInfoConfidence; }
void HighLevelWorldState::setBallInfoConfidence(float confidence)
{
    ballInfoConfidence = confidence;
}
