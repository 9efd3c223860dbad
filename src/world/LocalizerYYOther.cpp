#include "world/LocalizerYYOther.h"

LocalizerYYOther::LocalizerYYOther() { name = "LocYO"; }

float LocalizerYYOther::confidence() { return (position.z > -1 && position.z < 2) ? 0.45f : 0.1f; }

bool LocalizerYYOther::determineRefXXYYZZ() { return false; }
