#ifndef TOOLS_ZEROPOSE_ZEROPOSE_H
#define TOOLS_ZEROPOSE_ZEROPOSE_H

#include <string>

// The walk-ready posture: the ZMP walk's first stance (feet level under the
// hips, half the foot separation to each side, the centre of mass at the
// walk's height of the parameter file) turned into joint angles by the leg
// inverse kinematics, with the arms the walk sets for those legs. Returns the
// keyframe file text; error is set and the text is empty when the walk
// parameters cannot be read.
std::string zeroWalkPositionFile(const std::string& paramsFile, std::string& error);

#endif
