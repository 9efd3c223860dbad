#include "world/LocalizerXXHeight.h"

LocalizerXXHeight::LocalizerXXHeight() { name = "LocXMe"; }

float LocalizerXXHeight::confidence() { return 0.4f; }

bool LocalizerXXHeight::determineRefXXYYZZ() { return false; }
