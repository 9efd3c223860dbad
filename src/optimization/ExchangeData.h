#ifndef OPTIMIZATION_EXCHANGEDATA_H
#define OPTIMIZATION_EXCHANGEDATA_H

#include <cstddef>
#include <cstdint>

// Behaviour layouts of a solution matrix.
enum TypeOfBehavior : int32_t {
  STEP_BEHAVIOR = 0,
  SLOT_BEHAVIOR = 1,
  EXPEDITE_SLOT_BEHAVIOR = 2,
  CPG_BEHAVIOR = 3,
  TYPE_OF_BEHAVIOR_COUNT = 4
};

// How the optimiser wants a solution tried; carried raw (host byte order) at
// the end of the exchange message.
struct ExperimentSpecs {
  TypeOfBehavior typeOfBehavior;
  bool useGyroStabilization;
  float waitBefore;
  float waitAfter;
  bool beamBallFlag;
  float beamBall[3];  // x, y, z
};

static_assert(sizeof(ExperimentSpecs) == 32, "the exchange message carries 32 bytes of specs");
static_assert(offsetof(ExperimentSpecs, useGyroStabilization) == 4, "specs layout");
static_assert(offsetof(ExperimentSpecs, waitBefore) == 8, "specs layout");
static_assert(offsetof(ExperimentSpecs, waitAfter) == 12, "specs layout");
static_assert(offsetof(ExperimentSpecs, beamBallFlag) == 16, "specs layout");
static_assert(offsetof(ExperimentSpecs, beamBall) == 20, "specs layout");

// A solution matrix and its specs. sol has `width` rows of `height` doubles,
// the row list and every row allocated with malloc; the owner frees them.
struct ExchangeData {
  double** sol;
  uint32_t width;
  uint32_t height;
  ExperimentSpecs experimentSpecs;
};

#endif
