#include "Measure.h"

#include <cmath>

namespace fieldtest {

namespace {
double wrap(double deg) {
  while (deg > 180) deg -= 360;
  while (deg <= -180) deg += 360;
  return deg;
}
}  // namespace

void Track::add(double t, const BodyPose& p) {
  if (fallen()) return;
  if (samples_.empty()) {
    start_ = p;
    lastHeading_ = p.heading;
  }
  turned_ += wrap(p.heading - lastHeading_);
  lastHeading_ = p.heading;
  const double h = start_.heading * M_PI / 180.0;
  const double dx = p.x - start_.x, dy = p.y - start_.y;
  samples_.push_back({t, dx * std::cos(h) + dy * std::sin(h), -dx * std::sin(h) + dy * std::cos(h), turned_});
  const bool down = p.lying || (p.tiltKnown ? p.tilt > kFallTilt : p.z < kFallHeight * start_.z);
  if (down) {
    falls_ = 1;
    fallAt_ = t - samples_.front().t;
  }
}

double Track::progress(const Sample& s) const {
  switch (axis_) {
    case Axis::Forward: return s.forward;
    case Axis::Backward: return -s.forward;
    case Axis::Left: return s.left;
    case Axis::Right: return -s.left;
    case Axis::TurnLeft: return s.turned;
    case Axis::TurnRight: return -s.turned;
    case Axis::None: break;
  }
  return 0;
}

Outcome Track::outcome() const {
  Outcome o;
  o.samples = static_cast<int>(samples_.size());
  o.falls = falls_;
  o.fallAt = fallAt_;
  if (samples_.size() < 2) return o;
  const Sample& first = samples_.front();
  const Sample& last = samples_.back();
  o.seconds = last.t - first.t;
  o.along = progress(last) - progress(first);
  o.turned = last.turned;
  switch (axis_) {
    case Axis::Forward:
    case Axis::Backward: o.drift = last.left; break;
    case Axis::Left:
    case Axis::Right: o.drift = last.forward; break;
    default: o.drift = std::hypot(last.forward, last.left); break;
  }
  if (o.seconds > 0) {
    o.mean = o.along / o.seconds;
    const double half = first.t + o.seconds / 2;
    for (const Sample& s : samples_) {
      if (s.t < half) continue;
      if (last.t > s.t) o.steady = (progress(last) - progress(s)) / (last.t - s.t);
      break;
    }
  }
  return o;
}

}  // namespace fieldtest
