#include "world/LocalizerHeight.h"

LocalizerHeight::LocalizerHeight() { name = "LocMe"; }

float LocalizerHeight::confidence() { return 0.5f; }

bool LocalizerHeight::determineRefXXYYZZ() { return false; }
