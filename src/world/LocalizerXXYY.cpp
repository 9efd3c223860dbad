#include "world/LocalizerXXYY.h"

LocalizerXXYY::LocalizerXXYY() { name = "LocXY"; }

float LocalizerXXYY::confidence() { return 0.6f; }

bool LocalizerXXYY::determineRefXXYYZZ() { return false; }
