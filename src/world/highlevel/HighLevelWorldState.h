#ifndef WORLD_HIGHLEVEL_HIGHLEVELWORLDSTATE_H
#define WORLD_HIGHLEVEL_HIGHLEVELWORLDSTATE_H

#include <map>

#include "geometry/Vector3f.h"
#include "world/highlevel/HighLevelPlayerInfo.h"

// Compact summary of the world: one record per player of each team. It owns
// the records filed in it.
class HighLevelWorldState {
public:
    std::map<int, HighLevelPlayerInfo*> ostrevandaTeam;
    std::map<int, HighLevelPlayerInfo*> opponentTeam;
    Vector3f ballPosition;
    Vector3f ballVelocity;
    float ballInfoConfidence;

    HighLevelWorldState();
    HighLevelWorldState(const HighLevelWorldState&) = delete;
    HighLevelWorldState& operator=(const HighLevelWorldState&) = delete;
    ~HighLevelWorldState();

    // Files the record under its id for team 0 (ours) or 1 (opponents) and
    // takes it over, freeing a record filed there before. A null record or
    // another team code is ignored.
    void setPlayer(int team, HighLevelPlayerInfo* player);
};

#endif
