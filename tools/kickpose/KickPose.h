#ifndef TOOLS_KICKPOSE_KICKPOSE_H
#define TOOLS_KICKPOSE_KICKPOSE_H

#include <string>
#include <vector>

// The twelve leg angles (degrees, left leg joints 1 to 6, then the right
// leg's) that the ZMP walk commands in its first cycle once the kick has
// handed the body back to it, for a robot of the given type standing
// upright. Runs the kick's hand-back and one walk cycle on the files of the
// working directory (the agent's data folder). Empty, with error set, when
// the robot file cannot be read.
std::vector<float> walkStartLegs(int robotType, std::string& error);

#endif
