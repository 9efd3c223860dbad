#include "optimization/ExpInfo.h"

#include <cstring>
#include <iostream>
#include <string>

void printExpInfo(const ExpInfo* info) {
  if (!info) return;
  const ExpInfo& e = *info;
  // the message need not end within its 256 bytes
  const std::string message(e.message, strnlen(e.message, sizeof e.message));
  std::cout << "Experiment Information:\n"
            << "  Agent\n"
            << "    Initial Position: (x=" << e.initialPositionX << ", y=" << e.initialPositionY << ")\n"
            << "    Final Position:   (x=" << e.finalPositionX << ", y=" << e.finalPositionY << ")\n"
            << "    Distance:         (dx=" << e.xdist << ", dy=" << e.ydist << ")\n"
            << "  Ball\n"
            << "    Initial Position: (x=" << e.ballInitialPositionX << ", y=" << e.ballInitialPositionY << ")\n"
            << "    Final Position:   (x=" << e.ballFinalPositionX << ", y=" << e.ballFinalPositionY << ")\n"
            << "    Distance:         (dx=" << e.bdistx << ", dy=" << e.bdisty << ")\n"
            << "  Message\n"
            << "    " << message << std::endl;
}
