#ifndef WORLD_WORLDOBJECT_H
#define WORLD_WORLDOBJECT_H

#include "geometry/Vector3f.h"

// Anything on the field: where it is on the field and relative to the agent,
// and whether it was seen in the current server message.
class WorldObject {
public:
    Vector3f position;
    Vector3f relPosition;
    bool seen;

    WorldObject();
    WorldObject(const WorldObject& other) = default;
    WorldObject& operator=(const WorldObject& other) = default;
    virtual ~WorldObject() {}
};

#endif
