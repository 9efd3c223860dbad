#include "RobotModel.h"

#include <algorithm>
#include <array>

namespace practice {
namespace {

constexpr double kSpeed = 6.139545;
constexpr double kAnkleSpeed = 6.1395;

struct TypeParams {
  double hipX;        // hip joint sideways from the torso centre
  double thighDrop;   // thigh centre below the hip joint
  double ankleDrop;   // ankle below the shank centre
  double elbowAhead;  // elbow ahead of the upper-arm centre
  double anklePitchSpeed, ankleRollSpeed;
  bool toes;
};

const std::array<TypeParams, kRobotTypes> kParams = {{
    {0.055, 0.04, 0.055, 0.07, kAnkleSpeed, kAnkleSpeed, false},
    {0.055, 0.05832, 0.07332, 0.10664, kAnkleSpeed, kAnkleSpeed, false},
    {0.055, 0.04, 0.055, 0.07, 8.80667, 3.47234, false},
    {0.072954143, 0.067868424, 0.082868424, 0.125736848, kAnkleSpeed, kAnkleSpeed, false},
    {0.055, 0.04, 0.055, 0.07, kAnkleSpeed, kAnkleSpeed, true},
}};

RobotType build(int type) {
  const TypeParams& tp = kParams[type];
  RobotType rt;
  rt.type = type;
  rt.parts.resize(P_COUNT);
  auto part = [&](int id, const char* name, Vec3 c, Vec3 size, double mass) {
    rt.parts[id] = PartSpec{name, c, size, mass, true};
  };
  part(P_TORSO, "torso", {0, 0, 0}, {0.10, 0.10, 0.18}, 1.2171);
  part(P_NECK, "neck", {0, 0, 0.09}, {0.03, 0.03, 0.11}, 0.05);
  part(P_HEAD, "head", {0, 0, 0.155}, {0.13, 0.13, 0.13}, 0.35);

  const double footLen = tp.toes ? 0.124482344 : 0.16;
  const double footY = tp.toes ? 0.007241172 : 0.025;
  for (int side = 0; side < 2; ++side) {  // 0 right, 1 left
    const double s = side == 0 ? 1.0 : -1.0;
    const char* p = side == 0 ? "r" : "l";
    const int o = side == 0 ? 0 : 4;
    const int lo = side == 0 ? 0 : (P_LHIP1 - P_RHIP1);
    const double elbowY = 0.02 + tp.elbowAhead;
    part(P_RSHOULDER + o, (std::string(p) + "shoulder").c_str(), {s * 0.098, 0, 0.075}, {}, 0.07);
    part(P_RUPPERARM + o, (std::string(p) + "upperarm").c_str(), {s * 0.108, 0.02, 0.075}, {0.07, 0.08, 0.06}, 0.15);
    part(P_RELBOW + o, (std::string(p) + "elbow").c_str(), {s * 0.098, elbowY, 0.084}, {}, 0.035);
    part(P_RLOWERARM + o, (std::string(p) + "lowerarm").c_str(), {s * 0.098, elbowY + 0.05, 0.084}, {0.05, 0.11, 0.05},
         0.2);
    const double thighZ = -0.115 - tp.thighDrop;
    const double shankZ = thighZ - 0.125;
    const double ankleZ = shankZ - tp.ankleDrop;
    part(P_RHIP1 + lo, (std::string(p) + "hip1").c_str(), {s * tp.hipX, -0.01, -0.115}, {}, 0.09);
    part(P_RHIP2 + lo, (std::string(p) + "hip2").c_str(), {s * tp.hipX, -0.01, -0.115}, {}, 0.125);
    part(P_RTHIGH + lo, (std::string(p) + "thigh").c_str(), {s * tp.hipX, 0, thighZ}, {0.07, 0.07, 0.14}, 0.275);
    part(P_RSHANK + lo, (std::string(p) + "shank").c_str(), {s * tp.hipX, 0.005, shankZ}, {0.08, 0.07, 0.11}, 0.225);
    part(P_RANKLE + lo, (std::string(p) + "ankle").c_str(), {s * tp.hipX, -0.005, ankleZ}, {}, 0.125);
    part(P_RFOOT + lo, (std::string(p) + "foot").c_str(), {s * tp.hipX, footY, ankleZ - 0.04}, {0.08, footLen, 0.02},
         tp.toes ? 0.177801465 : 0.2);
    part(P_RTOE + lo, (std::string(p) + "toe").c_str(), {s * tp.hipX, 0.087241172, ankleZ - 0.045},
         {0.08, 0.035517656, 0.01}, 0.022198535);
    rt.parts[P_RTOE + lo].present = tp.toes;
  }

  auto joint = [&](const std::string& eff, const std::string& per, int child, int parent,
                   Vec3 anchorChild, Vec3 axis, double mn, double mx, double speed) {
    JointSpec j;
    j.effector = eff;
    j.perceptor = per;
    j.child = child;
    j.parent = parent;
    j.anchorChild = anchorChild;
    j.anchorParent = rt.parts[child].centre + anchorChild - rt.parts[parent].centre;
    j.axis = axis.normalized();
    j.minDeg = mn;
    j.maxDeg = mx;
    j.maxSpeed = speed;
    rt.joints.push_back(j);
  };
  joint("he1", "hj1", P_NECK, P_TORSO, {0, 0, 0}, {0, 0, 1}, -120, 120, kSpeed);
  joint("he2", "hj2", P_HEAD, P_NECK, {0, 0, -0.005}, {1, 0, 0}, -45, 45, kSpeed);
  // Arms: right first, then left (mirrored in x, ranges of joints 2 and 4 mirrored).
  for (int side = 0; side < 2; ++side) {
    const bool r = side == 0;
    const std::string e = r ? "rae" : "lae", q = r ? "raj" : "laj";
    const int o = r ? 0 : 4;
    joint(e + "1", q + "1", P_RSHOULDER + o, P_TORSO, {0, 0, 0}, {1, 0, 0}, -120, 120, kSpeed);
    joint(e + "2", q + "2", P_RUPPERARM + o, P_RSHOULDER + o, {r ? -0.01 : 0.01, -0.02, 0}, {0, 0, 1},
          r ? -95 : -1, r ? 1 : 95, kSpeed);
    joint(e + "3", q + "3", P_RELBOW + o, P_RUPPERARM + o, {0, 0, 0}, {0, 1, 0}, -120, 120, kSpeed);
    joint(e + "4", q + "4", P_RLOWERARM + o, P_RELBOW + o, {0, -0.05, 0}, {0, 0, 1},
          r ? -1 : -90, r ? 90 : 1, kSpeed);
  }
  // Legs: right first, then left.
  for (int side = 0; side < 2; ++side) {
    const bool r = side == 0;
    const std::string e = r ? "rle" : "lle", q = r ? "rlj" : "llj";
    const int o = r ? 0 : (P_LHIP1 - P_RHIP1);
    joint(e + "1", q + "1", P_RHIP1 + o, P_TORSO, {0, 0, 0}, {-0.7071, 0, r ? 0.7071 : -0.7071}, -90, 1, kSpeed);
    joint(e + "2", q + "2", P_RHIP2 + o, P_RHIP1 + o, {0, 0, 0}, {0, 1, 0}, r ? -45 : -25, r ? 25 : 45, kSpeed);
    joint(e + "3", q + "3", P_RTHIGH + o, P_RHIP2 + o, {0, -0.01, tp.thighDrop}, {1, 0, 0}, -25, 100, kSpeed);
    joint(e + "4", q + "4", P_RSHANK + o, P_RTHIGH + o, {0, -0.01, 0.045}, {1, 0, 0}, -130, 1, kSpeed);
    joint(e + "5", q + "5", P_RANKLE + o, P_RSHANK + o, {0, 0, 0}, {1, 0, 0}, -45, 75, tp.anklePitchSpeed);
    joint(e + "6", q + "6", P_RFOOT + o, P_RANKLE + o, {0, -0.03, 0.035}, {0, 1, 0}, r ? -25 : -45, r ? 45 : 25,
          tp.ankleRollSpeed);
    if (tp.toes)
      joint(e + "7", q + "7", P_RTOE + o, P_RFOOT + o, {0, -0.017758828, -0.005}, {1, 0, 0}, -1, 70, kSpeed);
  }

  std::vector<double> zero(rt.joints.size(), 0.0);
  rt.standingHeight = -lowestPointBelowTorso(rt, forwardKinematics(rt, zero, Pose{}));
  return rt;
}

}  // namespace

int RobotType::jointIndex(const std::string& effector) const {
  for (size_t i = 0; i < joints.size(); ++i)
    if (joints[i].effector == effector) return static_cast<int>(i);
  return -1;
}

const RobotType& robotType(int type) {
  static const std::array<RobotType, kRobotTypes> types = {build(0), build(1), build(2), build(3), build(4)};
  return types[static_cast<size_t>(std::clamp(type, 0, kRobotTypes - 1))];
}

std::vector<Pose> forwardKinematics(const RobotType& rt, const std::vector<double>& angles, const Pose& torso) {
  std::vector<Pose> poses(P_COUNT, torso);
  for (size_t i = 0; i < rt.joints.size(); ++i) {
    const JointSpec& j = rt.joints[i];
    const Pose& parent = poses[static_cast<size_t>(j.parent)];
    Pose child;
    child.R = parent.R * Mat3::axisAngle(j.axis, i < angles.size() ? angles[i] : 0.0);
    // The joint point stays fixed: parent-side anchor equals the rotated child-side anchor.
    child.p = parent.apply(j.anchorParent) - child.R * j.anchorChild;
    poses[static_cast<size_t>(j.child)] = child;
  }
  return poses;
}

double lowestPointBelowTorso(const RobotType& rt, const std::vector<Pose>& parts) {
  double lowest = 0;
  for (int id = 0; id < P_COUNT; ++id) {
    const PartSpec& ps = rt.parts[static_cast<size_t>(id)];
    if (!ps.present || ps.size.x <= 0) continue;
    const Pose& pose = parts[static_cast<size_t>(id)];
    for (int c = 0; c < 8; ++c) {
      Vec3 corner((c & 1 ? 0.5 : -0.5) * ps.size.x, (c & 2 ? 0.5 : -0.5) * ps.size.y, (c & 4 ? 0.5 : -0.5) * ps.size.z);
      lowest = std::min(lowest, pose.apply(corner).z);
    }
  }
  return lowest;
}

}  // namespace practice
