// One run: join the server as one player, beam, settle, run a scenario for a
// given time and measure it from the server's own account.
#pragma once

#include <string>

#include "Measure.h"

namespace fieldtest {

struct TrialSpec {
  std::string host = "127.0.0.1";
  int port = 3100;
  int monitorPort = 3200;
  bool practice = true;  // practice server ("(state)"), else a real server (scene graph)
  std::string team = "FieldTest";
  int unum = 1;
  int type = 0;
  std::string scenario = "stand";
  bool commandGiven = false;
  double command = 0;
  double seconds = 10;
  double settle = 1;  // s of holding the starting posture before the run
  bool beamGiven = false;
  double beamX = 0, beamY = 0, beamDeg = 0;
  bool trace = false;  // every pose the server reports, on standard error
  bool traceJoints = false;  // the trace adds the joint angles, ids 2 to 21 (deg)
  bool traceBall = false;    // the trace ends with the ball's x y z (m)
  bool paused = false;  // run in BeforeKickOff: no fouls, no self-collision freeze
  // Share of the run's cycles whose joint commands are dropped (only "(syn)"
  // goes out), as when a busy player answers late; drawn from `seed`.
  double drop = 0;
  unsigned seed = 1;
};

struct TrialResult {
  bool ok = false;
  std::string error;
  double command = 0;
  Outcome outcome;
  // Cycles of the run at whose start a newer message was already waiting:
  // the player is behind the server.
  int late = 0;
};

// The robot description file of a robot type, relative to the data folder.
std::string robotFile(int type);

// The message with its server clock "(time (now T))" set to `now` (seconds,
// two decimals); unchanged when it carries none. A sync-mode server that ran
// free for a while has a clock so large that its float steps are no longer
// 0.02 s, which would upset the walk's timing: the tool counts cycles instead.
std::string restampClock(const std::string& message, double now);

// Runs the trial in this process. The agent's link and body model belong to
// the whole process, so this can run once per process.
TrialResult runTrialHere(const TrialSpec& spec);

// Runs the trial in a child process and collects its result.
TrialResult runTrial(const TrialSpec& spec);

}  // namespace fieldtest
