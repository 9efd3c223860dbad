#include "world/LandMark.h"

LandMark::LandMark(int landmarkId) : id(landmarkId) {}
