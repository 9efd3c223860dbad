#ifndef WORLD_HIGHLEVEL_HIGHLEVELWORLDSTATE_H
#define WORLD_HIGHLEVEL_HIGHLEVELWORLDSTATE_H

#include <map>

#include "geometry/Vector3f.h"
#include "world/highlevel/HighLevelPlayerInfo.h"

// Compact summary of the world: one record per player of each team and the
// ball. It owns the records filed in it.
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
    // takes it over, freeing a record filed there before that is no longer
    // filed anywhere. A null record or another team code is ignored.
    void setPlayer(int team, HighLevelPlayerInfo* player);
    // The record under unum for team 0 or 1; null when there is none.
    HighLevelPlayerInfo* getPlayer(int team, int unum) const;

    std::map<int, HighLevelPlayerInfo*> getOstrevandaTeam() const;
    std::map<int, HighLevelPlayerInfo*> getOpponentTeam() const;
    // Replace a whole map, taking over its records like setPlayer.
    void setOstrevandaTeam(const std::map<int, HighLevelPlayerInfo*>& team);
    void setOpponentTeam(const std::map<int, HighLevelPlayerInfo*>& team);

    Vector3f getBallPosition() const;
    void setBallPosition(Vector3f position);
    Vector3f getBallVelocity() const;
    void setBallVelocity(Vector3f velocity);
    float getBallInfoConfidence() const;
    void setBallInfoConfidence(float confidence);

private:
    bool isFiled(const HighLevelPlayerInfo* player) const;
    void replaceTeam(std::map<int, HighLevelPlayerInfo*>& target,
                     const std::map<int, HighLevelPlayerInfo*>& team);
};

#endif
