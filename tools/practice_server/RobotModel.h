// Kinematic model of the five robot types: parts, hinge joints, forward kinematics.
#pragma once

#include <string>
#include <vector>

#include "Geometry.h"

namespace practice {

enum PartId {
  P_TORSO, P_NECK, P_HEAD,
  P_RSHOULDER, P_RUPPERARM, P_RELBOW, P_RLOWERARM,
  P_LSHOULDER, P_LUPPERARM, P_LELBOW, P_LLOWERARM,
  P_RHIP1, P_RHIP2, P_RTHIGH, P_RSHANK, P_RANKLE, P_RFOOT, P_RTOE,
  P_LHIP1, P_LHIP2, P_LTHIGH, P_LSHANK, P_LANKLE, P_LFOOT, P_LTOE,
  P_COUNT
};

struct PartSpec {
  std::string name;
  Vec3 centre;     // in the torso frame at the zero pose
  Vec3 size;       // box extents x, y, z; zero for parts without a collision shape
  double mass = 0;  // kg
  bool present = true;  // toes exist on type 4 only
};

struct JointSpec {
  std::string effector;   // "he1"
  std::string perceptor;  // "hj1"
  int child = 0;
  int parent = 0;
  Vec3 anchorChild;   // joint point in the child frame
  Vec3 anchorParent;  // the same point in the parent frame at the zero pose
  Vec3 axis;          // unit axis, parent frame at the zero pose
  double minDeg = 0, maxDeg = 0;
  double maxSpeed = 0;  // rad/s
};

struct RobotType {
  int type = 0;
  std::vector<PartSpec> parts;    // indexed by PartId
  std::vector<JointSpec> joints;  // in perception order (hj1 hj2, right arm, left arm, right leg, left leg)
  double standingHeight = 0;      // torso centre above ground, all joints 0

  int jointIndex(const std::string& effector) const;
};

constexpr int kRobotTypes = 5;
const RobotType& robotType(int type);

// World poses of every part for the given joint angles (radians, in joint order)
// and torso pose.
std::vector<Pose> forwardKinematics(const RobotType& rt, const std::vector<double>& angles,
                                    const Pose& torso);

// Lowest point of any collision box, relative to the torso centre, for an upright torso.
double lowestPointBelowTorso(const RobotType& rt, const std::vector<Pose>& partsAtTorsoOrigin);

}  // namespace practice
