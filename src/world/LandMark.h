#ifndef WORLD_LANDMARK_H
#define WORLD_LANDMARK_H

#include <string>

#include "world/WorldObject.h"

// A corner flag or a goal post.
class LandMark : public WorldObject {
public:
    int id;
    std::string name;

    explicit LandMark(int id);
    ~LandMark() override {}
};

#endif
