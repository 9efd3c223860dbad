// Where a robot's torso is, as the server itself reports it.
#pragma once

namespace fieldtest {

struct BodyPose {
  double x = 0, y = 0, z = 0;  // torso centre, global field frame (m)
  double heading = 0;          // direction the torso faces, degrees, 0 = global +x, counter-clockwise
  double tilt = 0;             // angle of the torso's up axis from vertical, degrees
  double chestZ = 0;           // vertical part of the torso's forward axis: below 0 faces down
  bool tiltKnown = false;      // the server reported the torso's orientation
  bool lying = false;          // the server says the robot lies
};

}  // namespace fieldtest
