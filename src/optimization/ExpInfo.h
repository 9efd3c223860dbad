#ifndef OPTIMIZATION_EXPINFO_H
#define OPTIMIZATION_EXPINFO_H

// The outcome of one trial of a solution.
struct ExpInfo {
  float time;
  float serverTime;
  float xdist;
  float ydist;
  bool fall;
  float bdistx;
  float bdisty;
  float initialPositionX;
  float initialPositionY;
  float finalPositionX;
  float finalPositionY;
  float ballInitialPositionX;
  float ballInitialPositionY;
  float ballFinalPositionX;
  float ballFinalPositionY;
  float direction;
  char message[256];
};

// Prints the report on the standard output.
void printExpInfo(const ExpInfo* info);

#endif
