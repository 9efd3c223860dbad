// What a run did, from the torso poses the server reported during it.
#pragma once

#include <vector>

#include "BodyPose.h"

namespace fieldtest {

// The direction a scenario is judged along, in the robot's frame at the start.
enum class Axis { None, Forward, Backward, Left, Right, TurnLeft, TurnRight };

struct Outcome {
  double seconds = 0;  // time measured (until the end or the fall)
  double along = 0;    // progress along the axis: m, or degrees for turns
  double mean = 0;     // along / seconds
  double steady = 0;   // progress rate over the second half of the run
  double drift = 0;    // m: sideways of the axis for walks, away from the start for turns and standing
  double turned = 0;   // heading change, degrees (counter-clockwise positive)
  int falls = 0;
  double fallAt = 0;   // s after the start, when falls > 0
  int samples = 0;
  // Kicks: how far the ball went from where it was put (m) and its direction
  // off the robot's heading at the start (degrees, counter-clockwise).
  bool ballKnown = false;
  double ballTravel = 0;
  double ballAngle = 0;
  // Get-ups: whether the get-up started, and the seconds from the stop
  // motion's end until the robot stood again (-1: it did not).
  bool getupKnown = false;
  double getupSeconds = -1;
  // Dives: how the robot lies at the end, by the server and by its own fall
  // test (0 not lying, 1 on the front, 2 on the back, 3 on a side).
  bool endKnown = false;
  int lyingOn = 0;
  int agentLyingOn = 0;
  // Walks to a point: the torso's distance from the point at the end (m).
  bool targetKnown = false;
  double targetMiss = 0;
};

// Fall rule: the torso's up axis more than kFallTilt degrees from vertical,
// the server saying it lies, or, where the server gives no orientation, the
// torso below kFallHeight of its height at the start.
constexpr double kFallTilt = 50.0;
constexpr double kFallHeight = 0.6;

class Track {
 public:
  explicit Track(Axis axis) : axis_(axis) {}
  // A pose at `t` seconds after the start; the first one is the start.
  void add(double t, const BodyPose& p);
  bool fallen() const { return falls_ > 0; }
  Outcome outcome() const;

 private:
  struct Sample {
    double t, forward, left, turned;
  };
  double progress(const Sample& s) const;

  Axis axis_;
  BodyPose start_;
  std::vector<Sample> samples_;
  double lastHeading_ = 0, turned_ = 0;
  int falls_ = 0;
  double fallAt_ = 0;
};

}  // namespace fieldtest
