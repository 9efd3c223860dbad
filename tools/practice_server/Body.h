// The kinematic body of one robot: where its joints put it on the ground, when
// it falls, how it gets up, and what its torso sensors and feet read. The rules
// are listed at the top of Body.cpp.
#pragma once

#include <vector>

#include "Geometry.h"
#include "RobotModel.h"

namespace practice {

enum Lying { LIE_NONE, LIE_FRONT, LIE_BACK, LIE_RIGHT, LIE_LEFT };

struct Body {
  int type = 0;
  std::vector<double> angle, speed;  // rad, rad/s, in joint order
  Vec3 pos;                          // torso centre, global
  double yaw = 0;                    // heading: rotation about z, 0 faces global +y
  Mat3 R;                            // torso orientation
  bool grounded = false;             // on the ground; else it hangs where it was put
  bool teleported = false;           // put somewhere this cycle (no speeds from it)
  std::vector<Pose> parts, prevParts;
  Mat3 prevR;
  // Standing
  bool planted = false;  // a foot has been put on the ground
  int support = 1;       // the planted foot: 0 right, 1 left
  Pose anchor;           // world pose of the planted foot
  bool footDown[2] = {false, false};  // right, left foot on the ground
  int unstableCycles = 0;             // cycles the robot has been about to fall
  Vec3 com;                           // centre of mass, global
  // Lying
  int lying = LIE_NONE;
  int fallCycle = 0;  // cycles into the fall
  Pose fallFrom, fallTo;
  bool getUpArmed = false;  // the get-up posture was not held when it came to rest
  int getUpCycles = 0;      // cycles the get-up posture has been held
};

struct FootContact {
  int part;    // P_RFOOT, P_RTOE, P_LFOOT or P_LTOE
  Vec3 point;  // centre of pressure, part frame
  Vec3 force;  // part frame, newtons
};

struct Orientation {
  double yaw, pitch, roll;  // degrees; yaw 0 faces global +x
};

// Puts the torso upright at `pos` facing `yaw`, standing on the ground if
// `onGround` (its height then follows from the legs), else held there.
void placeBody(Body& b, const Vec3& pos, double yaw, bool onGround);
// Moves the whole body by `delta`, posture and all.
void moveBody(Body& b, const Vec3& delta);
// One cycle after the joints moved.
void stepBody(Body& b);

std::vector<FootContact> footContacts(const Body& b);
Vec3 bodyAcc(const Body& b);  // m/s^2, torso frame
Vec3 bodyGyr(const Body& b);  // deg/s, torso frame
Orientation torsoOrientation(const Body& b);

}  // namespace practice
