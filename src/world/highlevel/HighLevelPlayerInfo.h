#ifndef WORLD_HIGHLEVEL_HIGHLEVELPLAYERINFO_H
#define WORLD_HIGHLEVEL_HIGHLEVELPLAYERINFO_H

#include "geometry/Vector3f.h"

// Summary record of one player.
class HighLevelPlayerInfo {
public:
    int id;
    int team;
    Vector3f position;
    float confidence;
    float orientation;

    explicit HighLevelPlayerInfo(int pid);
};

#endif
