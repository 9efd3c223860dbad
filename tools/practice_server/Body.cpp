// Kinematic bodies. Not a physics engine: a robot moves the way its joint angles
// say, by these rules, computed from its type's geometry and masses:
//
// - Standing: the planted foot (the lower one) lies flat on the ground and stays
//   where it is; the torso is placed so that the leg's joint angles reach that
//   foot, so the supporting leg sets the torso's height and tilt, stepping moves
//   the robot and turning a hip yaw-pitch joint turns it. The other foot becomes
//   the planted one, laid flat where it touched, when it comes lower (by more
//   than 0.1 mm) while within 20 degrees of flat and either the centre of mass is
//   nearer to it than to the planted foot or it sinks more than 3 cm into the
//   ground; a toe or heel scraping the ground does not take the weight. A foot
//   is on the ground when its sole is within 5 mm of it.
// - Sensors: FRP only for feet (and toes) on the ground; the weight is shared
//   between the two feet by where the centre of mass stands on the line between
//   them (each foot's share split between foot and toe by their lengths); the
//   contact point is the sole's centre, or on one foot the point of the sole
//   nearest under the centre of mass. ACC is gravity in the
//   torso frame (9.81 on z upright; 0 while held in the air); GYR the torso's
//   rotation over the last cycle. The camera follows the torso and the neck.
// - Falling: when the centre of mass has been outside the support area (the soles
//   on the ground) or the torso tilted more than 50 degrees for more than 0.4 s,
//   the robot falls over 0.3 s towards the side the centre of mass left on
//   (else the side it tilts to): forward, backward, right or left, turning about
//   its feet, and lies with its torso 0.05 m above the ground.
// - Getting up: a lying robot rises when, for 0.2 s without a break, both legs
//   are folded under the hips (hip pitch at least 45 degrees, knee at most -90)
//   and a hand pushes the ground (a lower arm's centre at least 0.05 m below its
//   shoulder). The posture counts only once the robot has lain without it, so a
//   robot that keeps still stays down whatever posture it fell in. It rises with
//   its feet where its hips were, in its posture, and may fall again.
#include "Body.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace practice {
namespace {

constexpr double kStep = 0.02;
constexpr double kGravity = 9.81;
constexpr double kOnGround = 0.005;
constexpr double kSwitchSupport = 1e-4;
constexpr double kSwitchMaxTiltDeg = 20;
constexpr double kSinkLimit = 0.03;
constexpr int kUnstableCycles = 20;
constexpr double kTiltLimitDeg = 50;
constexpr int kFallCycles = 15;
constexpr double kLyingHeight = 0.05;
constexpr int kGetUpCycles = 10;
constexpr double kGetUpHipDeg = 45;
constexpr double kGetUpKneeDeg = -90;
constexpr double kHandPush = 0.05;

const int kFoot[2] = {P_RFOOT, P_LFOOT};
const int kToe[2] = {P_RTOE, P_LTOE};

Mat3 rotX(double rad) { return Mat3::axisAngle({1, 0, 0}, rad); }
Mat3 rotY(double rad) { return Mat3::axisAngle({0, 1, 0}, rad); }

// Axis times angle (rad) of a rotation.
Vec3 rotationVector(const Mat3& r) {
  const Vec3 v(r.m[2][1] - r.m[1][2], r.m[0][2] - r.m[2][0], r.m[1][0] - r.m[0][1]);
  const double angle = std::acos(std::clamp((r.m[0][0] + r.m[1][1] + r.m[2][2] - 1) / 2, -1.0, 1.0));
  const double s = std::sin(angle);
  return s < 1e-9 ? v * 0.5 : v * (angle / (2 * s));
}

Pose compose(const Pose& a, const Pose& b) { return {a.R * b.R, a.R * b.p + a.p}; }

Vec3 corner(const Vec3& size, int c) {
  return {(c & 1 ? 0.5 : -0.5) * size.x, (c & 2 ? 0.5 : -0.5) * size.y, (c & 4 ? 0.5 : -0.5) * size.z};
}

double lowest(const Body& b, int part) {
  const Vec3& size = robotType(b.type).parts[static_cast<size_t>(part)].size;
  double low = 1e9;
  for (int c = 0; c < 8; ++c) low = std::min(low, b.parts[static_cast<size_t>(part)].apply(corner(size, c)).z);
  return low;
}

// The foot's pose laid flat on the ground, keeping its heading and place.
Pose flatten(const Body& b, int part) {
  const Pose& p = b.parts[static_cast<size_t>(part)];
  const Vec3 fwd = p.R.column(1), right = p.R.column(0);
  const double heading = std::hypot(fwd.x, fwd.y) > 1e-6 ? std::atan2(fwd.y, fwd.x) - kPi / 2 : std::atan2(right.y, right.x);
  const double halfHeight = robotType(b.type).parts[static_cast<size_t>(part)].size.z / 2;
  return {Mat3::rotZ(heading), {p.p.x, p.p.y, halfHeight}};
}

void worldParts(Body& b) { b.parts = forwardKinematics(robotType(b.type), b.angle, Pose{b.R, b.pos}); }

void updateCom(Body& b) {
  const RobotType& rt = robotType(b.type);
  Vec3 sum;
  double mass = 0;
  for (int p = 0; p < P_COUNT; ++p) {
    const PartSpec& ps = rt.parts[static_cast<size_t>(p)];
    if (!ps.present) continue;
    sum = sum + b.parts[static_cast<size_t>(p)].p * ps.mass;
    mass += ps.mass;
  }
  b.com = sum * (1.0 / mass);
}

// Torso and parts from the planted foot.
void standOnAnchor(Body& b) {
  const std::vector<Pose> rel = forwardKinematics(robotType(b.type), b.angle, Pose{});
  const Pose& foot = rel[static_cast<size_t>(kFoot[b.support])];
  b.R = b.anchor.R * foot.R.transposed();
  b.pos = b.anchor.p - b.R * foot.p;
  const Pose torso{b.R, b.pos};
  b.parts.resize(rel.size());
  for (size_t i = 0; i < rel.size(); ++i) b.parts[i] = compose(torso, rel[i]);
}

// Whether the other foot becomes the planted one: it is lower than the planted
// foot, nearly flat, and carries the weight (the centre of mass is nearer to it)
// or has sunk into the ground. A foot scraping the ground with its toe or heel,
// or touching down before the weight moves over, does not.
bool takesOver(const Body& b, int other) {
  const double low = lowest(b, kFoot[other]);
  if (low >= -kSwitchSupport) return false;
  const Pose& foot = b.parts[static_cast<size_t>(kFoot[other])];
  if (foot.R.m[2][2] < std::cos(deg2rad(kSwitchMaxTiltDeg))) return false;
  const Pose& planted = b.parts[static_cast<size_t>(kFoot[1 - other])];
  const double toOther = std::hypot(b.com.x - foot.p.x, b.com.y - foot.p.y);
  const double toPlanted = std::hypot(b.com.x - planted.p.x, b.com.y - planted.p.y);
  return toOther < toPlanted || low < -kSinkLimit;
}

void plant(Body& b) {
  worldParts(b);
  const double r = lowest(b, P_RFOOT), l = lowest(b, P_LFOOT);
  if (r < l - 1e-9) b.support = 0;
  if (l < r - 1e-9) b.support = 1;
  b.anchor = flatten(b, kFoot[b.support]);
  b.planted = true;
  standOnAnchor(b);
}

// Bottom corners of the soles on the ground.
std::vector<Vec3> soleCorners(const Body& b) {
  const RobotType& rt = robotType(b.type);
  std::vector<Vec3> pts;
  for (int s = 0; s < 2; ++s) {
    if (!b.footDown[s]) continue;
    for (int part : {kFoot[s], kToe[s]}) {
      const PartSpec& ps = rt.parts[static_cast<size_t>(part)];
      if (!ps.present || (part == kToe[s] && lowest(b, part) > kOnGround)) continue;
      for (int c = 0; c < 4; ++c) pts.push_back(b.parts[static_cast<size_t>(part)].apply(corner(ps.size, c)));
    }
  }
  return pts;
}

double cross(const Vec3& o, const Vec3& a, const Vec3& b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Convex hull in the ground plane, counter-clockwise.
std::vector<Vec3> hull(std::vector<Vec3> pts) {
  std::sort(pts.begin(), pts.end(), [](const Vec3& a, const Vec3& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  if (pts.size() < 3) return pts;
  std::vector<Vec3> h(2 * pts.size());
  size_t k = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    while (k >= 2 && cross(h[k - 2], h[k - 1], pts[i]) <= 0) --k;
    h[k++] = pts[i];
  }
  for (size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && cross(h[k - 2], h[k - 1], pts[i - 1]) <= 0) --k;
    h[k++] = pts[i - 1];
  }
  h.resize(k - 1);
  return h;
}

bool inside(const std::vector<Vec3>& h, const Vec3& p) {
  if (h.size() < 3) return false;
  for (size_t i = 0; i < h.size(); ++i)
    if (cross(h[i], h[(i + 1) % h.size()], p) < 0) return false;
  return true;
}

Vec3 centroid(const std::vector<Vec3>& pts) {
  Vec3 c;
  for (const Vec3& p : pts) c = c + p;
  return pts.empty() ? c : c * (1.0 / static_cast<double>(pts.size()));
}

void startFall(Body& b, const Vec3& towards, const Vec3& pivot) {
  const Vec3 fwd(-std::sin(b.yaw), std::cos(b.yaw), 0), right(std::cos(b.yaw), std::sin(b.yaw), 0);
  const double f = towards.dot(fwd), r = towards.dot(right);
  b.lying = std::fabs(f) >= std::fabs(r) ? (f > 0 ? LIE_FRONT : LIE_BACK) : (r > 0 ? LIE_RIGHT : LIE_LEFT);
  const Mat3 heading = Mat3::rotZ(b.yaw);
  Mat3 lie;
  Vec3 dir;
  switch (b.lying) {
    case LIE_FRONT: lie = rotX(-kPi / 2); dir = fwd; break;
    case LIE_BACK: lie = rotX(kPi / 2); dir = -fwd; break;
    case LIE_RIGHT: lie = rotY(kPi / 2); dir = right; break;
    default: lie = rotY(-kPi / 2); dir = -right; break;
  }
  b.fallFrom = Pose{b.R, b.pos};
  Vec3 to = pivot + dir * std::max(0.0, b.pos.z - kLyingHeight);
  to.z = kLyingHeight;
  b.fallTo = Pose{heading * lie, to};
  b.fallCycle = 0;
  b.getUpArmed = false;
  b.getUpCycles = 0;
  b.unstableCycles = 0;
  b.planted = false;
  b.footDown[0] = b.footDown[1] = false;
}

int joint(const Body& b, const char* effector) { return robotType(b.type).jointIndex(effector); }

bool getUpPosture(const Body& b) {
  for (const char* leg : {"rle", "lle"}) {
    const std::string l(leg);
    if (rad2deg(b.angle[static_cast<size_t>(joint(b, (l + "3").c_str()))]) < kGetUpHipDeg) return false;
    if (rad2deg(b.angle[static_cast<size_t>(joint(b, (l + "4").c_str()))]) > kGetUpKneeDeg) return false;
  }
  const auto pushes = [&](int shoulder, int hand) {
    return b.parts[static_cast<size_t>(hand)].p.z <= b.parts[static_cast<size_t>(shoulder)].p.z - kHandPush;
  };
  return pushes(P_RSHOULDER, P_RLOWERARM) || pushes(P_LSHOULDER, P_LLOWERARM);
}

void rise(Body& b) {
  const Vec3 hips = (b.parts[P_RHIP2].p + b.parts[P_LHIP2].p) * 0.5;
  const std::vector<Pose> upright = forwardKinematics(robotType(b.type), b.angle, Pose{Mat3::rotZ(b.yaw), {}});
  const Vec3 feet = (upright[P_RFOOT].p + upright[P_LFOOT].p) * 0.5;
  placeBody(b, {hips.x - feet.x, hips.y - feet.y, 0}, b.yaw, true);
}

void stepLying(Body& b) {
  if (b.fallCycle < kFallCycles) {
    ++b.fallCycle;
    const double t = static_cast<double>(b.fallCycle) / kFallCycles;
    const Vec3 turn = rotationVector(b.fallTo.R * b.fallFrom.R.transposed());
    b.R = turn.length() > 1e-12 ? Mat3::axisAngle(turn, t * turn.length()) * b.fallFrom.R : b.fallTo.R;
    b.pos = b.fallFrom.p + (b.fallTo.p - b.fallFrom.p) * t;
  }
  worldParts(b);
  updateCom(b);
  if (b.fallCycle < kFallCycles) return;
  if (!getUpPosture(b)) {
    b.getUpArmed = true;
    b.getUpCycles = 0;
  } else if (b.getUpArmed && ++b.getUpCycles >= kGetUpCycles) {
    rise(b);
  }
}

}  // namespace

void placeBody(Body& b, const Vec3& pos, double yaw, bool onGround) {
  b.R = Mat3::rotZ(yaw);
  b.yaw = yaw;
  b.pos = pos;
  b.grounded = onGround;
  b.teleported = true;
  b.lying = LIE_NONE;
  b.unstableCycles = b.getUpCycles = 0;
  b.planted = false;
  b.footDown[0] = b.footDown[1] = false;
  if (onGround) {
    plant(b);
    b.footDown[b.support] = true;
    b.footDown[1 - b.support] = lowest(b, kFoot[1 - b.support]) <= kOnGround;
  } else {
    worldParts(b);
  }
  updateCom(b);
}

void moveBody(Body& b, const Vec3& delta) {
  b.pos = b.pos + delta;
  b.anchor.p = b.anchor.p + delta;
  b.fallFrom.p = b.fallFrom.p + delta;
  b.fallTo.p = b.fallTo.p + delta;
  for (Pose& p : b.parts) p.p = p.p + delta;
  b.com = b.com + delta;
  b.teleported = true;
}

void stepBody(Body& b) {
  b.prevParts = b.parts;
  b.prevR = b.R;
  if (!b.grounded) {
    worldParts(b);
    updateCom(b);
    return;
  }
  if (b.lying != LIE_NONE) {
    stepLying(b);
    return;
  }
  if (!b.planted) plant(b);
  standOnAnchor(b);
  const int other = 1 - b.support;
  updateCom(b);
  if (takesOver(b, other)) {
    b.support = other;
    b.anchor = flatten(b, kFoot[other]);
    standOnAnchor(b);
    updateCom(b);
  }
  b.footDown[b.support] = true;
  b.footDown[other] = lowest(b, kFoot[other]) <= kOnGround;
  b.yaw = deg2rad(torsoOrientation(b).yaw - 90);

  const std::vector<Vec3> area = hull(soleCorners(b));
  const bool comInside = inside(area, b.com);
  const bool tooTilted = rad2deg(std::acos(std::clamp(b.R.m[2][2], -1.0, 1.0))) > kTiltLimitDeg;
  b.unstableCycles = comInside && !tooTilted ? 0 : b.unstableCycles + 1;
  if (b.unstableCycles > kUnstableCycles) {
    const Vec3 pivot = centroid(area);
    Vec3 towards = comInside ? b.R.column(2) : b.com - pivot;
    towards.z = 0;
    startFall(b, towards, Vec3(pivot.x, pivot.y, 0));
  }
}

std::vector<FootContact> footContacts(const Body& b) {
  std::vector<FootContact> out;
  if (!b.grounded || b.lying != LIE_NONE || !b.planted) return out;
  const RobotType& rt = robotType(b.type);
  double share[2] = {b.footDown[0] ? 1.0 : 0.0, b.footDown[1] ? 1.0 : 0.0};
  if (b.footDown[0] && b.footDown[1]) {
    const Vec3 r = b.parts[P_RFOOT].p, l = b.parts[P_LFOOT].p;
    const Vec3 d(r.x - l.x, r.y - l.y, 0);
    const double len2 = d.dot(d);
    const double t = len2 > 1e-12 ? std::clamp(Vec3(b.com.x - l.x, b.com.y - l.y, 0).dot(d) / len2, 0.0, 1.0) : 0.5;
    share[0] = t;
    share[1] = 1 - t;
  }
  double mass = 0;
  for (const PartSpec& ps : rt.parts)
    if (ps.present) mass += ps.mass;
  const double weight = mass * kGravity;
  for (int s = 0; s < 2; ++s) {
    if (!b.footDown[s]) continue;
    std::vector<int> parts{kFoot[s]};
    if (rt.parts[static_cast<size_t>(kToe[s])].present && lowest(b, kToe[s]) <= kOnGround) parts.push_back(kToe[s]);
    double length = 0;
    for (int p : parts) length += rt.parts[static_cast<size_t>(p)].size.y;
    for (int p : parts) {
      const PartSpec& ps = rt.parts[static_cast<size_t>(p)];
      const Pose& pose = b.parts[static_cast<size_t>(p)];
      const Vec3 local = pose.toLocal(b.com);
      FootContact c;
      c.part = p;
      c.point = Vec3(0, 0, -ps.size.z / 2);
      if (!(b.footDown[0] && b.footDown[1]))
        c.point = Vec3(std::clamp(local.x, -ps.size.x / 2, ps.size.x / 2),
                       std::clamp(local.y, -ps.size.y / 2, ps.size.y / 2), c.point.z);
      c.force = pose.R.transposed() * Vec3(0, 0, weight * share[s] * ps.size.y / length);
      out.push_back(c);
    }
  }
  return out;
}

Vec3 bodyAcc(const Body& b) { return b.grounded ? b.R.transposed() * Vec3(0, 0, kGravity) : Vec3(); }

Vec3 bodyGyr(const Body& b) {
  if (b.teleported || b.prevParts.empty()) return {};
  return rotationVector(b.prevR.transposed() * b.R) * (rad2deg(1.0) / kStep);
}

Orientation torsoOrientation(const Body& b) {
  const Vec3 right = b.R.column(0), fwd = b.R.column(1);
  const double psi = std::fabs(right.z) < 0.999 ? std::atan2(right.y, right.x) : std::atan2(fwd.y, fwd.x) - kPi / 2;
  return {normDeg(rad2deg(psi) + 90), rad2deg(std::atan2(b.R.m[2][1], b.R.m[2][2])),
          rad2deg(-std::asin(std::clamp(right.z, -1.0, 1.0)))};
}

}  // namespace practice
