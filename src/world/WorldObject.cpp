#include "world/WorldObject.h"

WorldObject::WorldObject() : position(0, 0, 0), relPosition(0, 0, 0), seen(false) {}
