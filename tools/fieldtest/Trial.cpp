#include "Trial.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>

#include "Scenario.h"
#include "Truth.h"
#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "utils/communication/MessageParser.h"
#include "utils/communication/ServerComm.h"
#include "world/GameState.h"
#include "world/WorldState.h"

namespace fieldtest {

namespace {

constexpr double kStep = 0.02;

TrialResult failure(const std::string& why) {
  TrialResult r;
  r.error = why;
  return r;
}

std::string number(double v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

}  // namespace

std::string restampClock(const std::string& message, double now) {
  static const std::string key = "(time (now ";
  const size_t at = message.find(key);
  if (at == std::string::npos) return message;
  const size_t from = at + key.size();
  const size_t to = message.find(')', from);
  if (to == std::string::npos) return message;
  char value[32];
  std::snprintf(value, sizeof value, "%.2f", now);
  return message.substr(0, from) + value + message.substr(to);
}

std::string robotFile(int type) { return type == 0 ? "nao.xml" : "nao" + std::to_string(type) + ".xml"; }

TrialResult runTrialHere(const TrialSpec& spec) {
  const ScenarioInfo* info = findScenario(spec.scenario);
  if (!info) return failure("no scenario '" + spec.scenario + "'");
  if (spec.type < 0 || spec.type > 4) return failure("robot type must be 0 to 4");
  const double command = spec.commandGiven ? spec.command : info->defaultCommand;

  std::unique_ptr<Truth> truth = makeTruth(spec.practice);
  std::string error;
  if (!truth->connect(spec.host, spec.monitorPort, error)) return failure("monitor port: " + error);
  // Beaming works only before kick-off; a fresh clock keeps half time away.
  truth->command("(playMode BeforeKickOff)(time 0)");

  ServerComm& comm = Singleton<ServerComm>::getInstance();
  comm.initialize(spec.host, spec.port);
  if (comm.sock.socketfd < 0)
    return failure("cannot connect to " + spec.host + " port " + std::to_string(spec.port));
  WorldState& ws = Singleton<WorldState>::getInstance();
  ws.setTeam(spec.team);
  ws.setUnum(spec.unum);
  AgentModel& model = Singleton<AgentModel>::getInstance();
  model.initialize(robotFile(spec.type));
  Actions& actions = Singleton<Actions>::getInstance();
  std::unique_ptr<Scenario> scenario = info->make(command);
  scenario->seed(spec.seed);
  MessageParser parser;

  int messages = 0;
  auto next = [&] {
    while (!comm.receive()) {
    }
    parser.parseMessage(restampClock(comm.getMsg(), 1.0 + kStep * messages++));
  };
  comm.send("(scene rsg/agent/" + model.getRSG() + ")(syn)");
  next();
  actions.InitAgent(spec.team, spec.unum);
  next();
  const double bx = spec.beamGiven ? spec.beamX : info->beamX;
  const double by = spec.beamGiven ? spec.beamY : info->beamY;
  const double bd = spec.beamGiven ? spec.beamDeg : info->beamDeg;
  comm.send("(beam " + number(bx) + " " + number(by) + " " + number(bd) + ")(syn)");

  const int settleCycles = static_cast<int>(spec.settle / kStep + 0.5);
  const int runCycles = static_cast<int>(spec.seconds / kStep + 0.5);
  Track track(info->axis);
  std::mt19937 rng(spec.seed);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  int cycle = 0, runCycle = -1, missed = 0, late = 0;
  bool begun = false;
  for (;;) {
    next();
    // Behind the server: a newer message is here before this one is answered.
    if (runCycle >= 0 && comm.TestInput()) ++late;
    ++cycle;
    if (runCycle < 0) {
      scenario->settle();
      if (cycle >= settleCycles) {
        if (ws.game->side != 1 && ws.game->side != 2) return failure("the server did not take the player");
        // The ball goes to the far corner, out of every scenario's way.
        truth->command(std::string(spec.paused ? "" : "(playMode PlayOn)") + "(ball (pos 14 9.5 0.042)(vel 0 0 0))");
        runCycle = 0;
      }
    } else {
      scenario->step(runCycle * kStep);
    }
    if (runCycle >= 0) {
      BodyPose pose;
      if (truth->pose(ws.game->side, spec.unum, pose)) {
        if (!begun) {
          scenario->begin(*truth, pose);
          begun = true;
        }
        track.add(runCycle * kStep, pose);
        if (spec.trace) {
          std::fprintf(stderr, "%.2f %.3f %.3f %.3f %.1f %.1f", runCycle * kStep, pose.x, pose.y, pose.z,
                       pose.heading, pose.tilt);
          for (int j = Types::ijLlj1; spec.traceJoints && j < Types::NJOINTS; ++j) {
            Joint* joint = model.getJoint(j);
            std::fprintf(stderr, " %.0f", joint ? static_cast<double>(joint->getAngle()) : 0.0);
          }
          std::fprintf(stderr, " %.2f", pose.chestZ);
          double bx = 0, by = 0, bz = 0;
          if (spec.traceBall && truth->ball(bx, by, bz)) std::fprintf(stderr, " %.3f %.3f %.3f", bx, by, bz);
          std::fputc('\n', stderr);
        }
      } else if (!truth->open() || ++missed > 50) {
        return failure("the monitor port shows no such player");
      }
    }
    if (runCycle >= 0 && spec.drop > 0 && chance(rng) < spec.drop) {
      actions.ss.str("");
      actions.ss.clear();
    }
    if (!comm.answered()) actions.Send();
    if (runCycle >= 0 && (runCycle >= runCycles || (track.fallen() && scenario->endsOnFall()))) break;
    if (runCycle >= 0) ++runCycle;
  }
  TrialResult r;
  r.ok = true;
  r.command = command;
  r.outcome = track.outcome();
  r.late = late;
  scenario->end(*truth, r.outcome);
  truth->command("(playMode BeforeKickOff)");
  return r;
}

namespace {

struct Packet {
  int ok;
  double command;
  Outcome outcome;
  int late;
  char error[256];
};

}  // namespace

TrialResult runTrial(const TrialSpec& spec) {
  int fds[2];
  if (::pipe(fds) != 0) return failure("no pipe");
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return failure("cannot fork");
  if (pid == 0) {
    ::close(fds[0]);
    const TrialResult r = runTrialHere(spec);
    Packet p{};
    p.ok = r.ok;
    p.command = r.command;
    p.outcome = r.outcome;
    p.late = r.late;
    std::snprintf(p.error, sizeof p.error, "%s", r.error.c_str());
    const ssize_t n = ::write(fds[1], &p, sizeof p);
    ::_exit(n == static_cast<ssize_t>(sizeof p) ? 0 : 1);
  }
  ::close(fds[1]);
  Packet p{};
  size_t got = 0;
  while (got < sizeof p) {
    const ssize_t n = ::read(fds[0], reinterpret_cast<char*>(&p) + got, sizeof p - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (got < sizeof p) return failure("the player process ended without a result (status " +
                   std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)) + ")");
  TrialResult r;
  r.ok = p.ok != 0;
  r.command = p.command;
  r.outcome = p.outcome;
  r.late = p.late;
  r.error = p.error;
  return r;
}

}  // namespace fieldtest
