#ifndef UTILS_COMMUNICATION_ACTIONS_H
#define UTILS_COMMUNICATION_ACTIONS_H

#include <sstream>
#include <string>

#include "geometry/Vector3f.h"

// Builds the effector commands. Init, beam and ball placing are sent at
// once; everything else is collected until Send closes the batch.
class Actions {
public:
    std::stringstream ss;

    Actions();

    void InitAgent(const std::string& teamName, int teamUnum);
    void Beam(float x, float y, float dir);
    void Beam(const Vector3f& pos);
    void MoveBall(const Vector3f& pos);

    void BeamIn(float x, float y, float dir);
    void BeamIn(const Vector3f& pos);
    void Catch(float x, float y, float z);
    void Catch(const Vector3f& pos);
    void Say(const std::string& message);
    void Pass();
    // Nothing is appended for an id that is not a joint of the body model.
    void MoveJointTo(int id, float rate);

    // Closes the batch with "(syn)", sends it and empties it.
    void Send();
};

#endif
