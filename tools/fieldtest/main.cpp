// fieldtest: joins a server as one player, drives a motion directly and
// measures what the body did from the server's own account.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "MotionScenario.h"
#include "Scenario.h"
#include "Table.h"
#include "Trial.h"

namespace {

void usage(std::ostream& out) {
  out << "usage: fieldtest [options]\n"
         "Joins a server as one player, beams, holds the starting posture, runs each scenario for each\n"
         "robot type (one fresh player per run) and prints a table per robot type. Positions come from\n"
         "the server: \"(state)\" on the practice server, the monitor's scene graph on a real server.\n"
         "Every perception is answered with a message ending in (syn), so sync-mode servers step.\n"
         "Run it from the agent's data folder (or give --data).\n"
         "\n"
         "  --server practice|real  which kind of server (default practice)\n"
         "  --host H                server host (default 127.0.0.1)\n"
         "  --port N                agent port (default 3100)\n"
         "  --monitor-port N        monitor port (default 3200)\n"
         "  --types LIST            robot types, e.g. 0,2,4 or all (default 0)\n"
         "  --scenarios LIST        scenario names, comma-separated, or all (default stand)\n"
         "  --command X             the scenario's command instead of its default\n"
         "  --time S                seconds of each run (default 10)\n"
         "  --settle S              seconds of holding the start posture first (default 1)\n"
         "  --beam X Y DEG          start pose, team frame (default: the scenario's)\n"
         "  --team NAME             team name (default FieldTest)\n"
         "  --unum N                shirt number (default 1)\n"
         "  --data DIR              the agent's data folder (default .)\n"
         "  --csv FILE              also write the rows as CSV\n"
         "  --drop P                drop the joint commands of a share P of the run's cycles (only (syn) goes\n"
         "                          out), as when a busy player answers late\n"
         "  --seed N                seed of the dropped cycles (default 1); each run adds its index\n"
         "  --ball-side M           the super kicks put the ball M further out to the kicking foot's side\n"
         "  --paused                run in BeforeKickOff (the referee checks no fouls, no self-collision freeze)\n"
         "  --trace                 print every pose the server reports (t x y z heading tilt, then the chest's\n"
         "                          vertical part: above 0 leans back) on stderr\n"
         "  --trace-joints          the trace adds every body joint's angle in degrees (ids 2 to 21)\n"
         "                          before the chest's part\n"
         "  --trace-ball            the trace ends with the ball's centre x y z (m)\n"
         "  --help                  this text\n"
         "\n"
         "Scenarios:\n";
  for (const auto& s : fieldtest::scenarios())
    out << "  " << s.name << std::string(s.name.size() < 12 ? 12 - s.name.size() : 1, ' ') << s.summary
        << (s.commandUnit.empty() ? "" : " (command in " + s.commandUnit + ")") << "\n";
  out << "\n"
         "Practice server:  build/tools/practice_server/practice-server --sync --port 0 --monitor-port 0\n"
         "                  then, from data/: ../build/tools/fieldtest/fieldtest --port A --monitor-port M\n"
         "Real server:      ../build/tools/fieldtest/fieldtest --server real --host H --port 3100 --monitor-port 3200\n"
         "Progress is m (or degrees for turns) along the scenario's direction in the robot's frame at the\n"
         "start; steady is the rate over the second half; drift is m sideways of that direction (for turns\n"
         "and standing: m away from the start). A run stops at the first fall (torso more than 50 degrees\n"
         "from upright, or lying). The kicks add a line with the ball's travel from where it was put\n"
         "and its direction off the robot's heading at the start. Late counts the cycles at whose start a\n"
         "newer message was already waiting: the player is behind the server.\n";
}

bool number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0';
}

bool integer(const char* text, int lo, int hi, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream s(text);
  std::string part;
  while (std::getline(s, part, ','))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

int bad(const std::string& what) {
  std::cerr << "fieldtest: " << what << "\n";
  usage(std::cerr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  fieldtest::TrialSpec spec;
  std::vector<int> types{0};
  std::vector<std::string> names{"stand"};
  std::string csv, data = ".";
  int seedValue = 1;
  double ballSide = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](int k) -> const char* { return i + k < argc ? argv[i + k] : nullptr; };
    if (arg == "--help") {
      usage(std::cout);
      return 0;
    } else if (arg == "--server" && value(1)) {
      const std::string kind = argv[++i];
      if (kind != "practice" && kind != "real") return bad("--server takes practice or real");
      spec.practice = kind == "practice";
    } else if (arg == "--host" && value(1)) {
      spec.host = argv[++i];
    } else if (arg == "--port" && value(1) && integer(value(1), 1, 65535, spec.port)) {
      ++i;
    } else if (arg == "--monitor-port" && value(1) && integer(value(1), 1, 65535, spec.monitorPort)) {
      ++i;
    } else if (arg == "--types" && value(1)) {
      const std::string list = argv[++i];
      types.clear();
      for (const std::string& t : list == "all" ? split("0,1,2,3,4") : split(list)) {
        int type = 0;
        if (!integer(t.c_str(), 0, 4, type)) return bad("robot types are 0 to 4");
        types.push_back(type);
      }
    } else if (arg == "--scenarios" && value(1)) {
      const std::string list = argv[++i];
      names.clear();
      if (list == "all") {
        for (const auto& s : fieldtest::scenarios()) names.push_back(s.name);
      } else {
        names = split(list);
      }
      for (const std::string& n : names)
        if (!fieldtest::findScenario(n)) return bad("no scenario '" + n + "'");
    } else if (arg == "--command" && value(1) && number(value(1), spec.command)) {
      spec.commandGiven = true;
      ++i;
    } else if (arg == "--time" && value(1) && number(value(1), spec.seconds) && spec.seconds > 0) {
      ++i;
    } else if (arg == "--settle" && value(1) && number(value(1), spec.settle) && spec.settle >= 0) {
      ++i;
    } else if (arg == "--beam" && value(3) && number(value(1), spec.beamX) && number(value(2), spec.beamY) &&
               number(value(3), spec.beamDeg)) {
      spec.beamGiven = true;
      i += 3;
    } else if (arg == "--team" && value(1)) {
      spec.team = argv[++i];
    } else if (arg == "--unum" && value(1) && integer(value(1), 1, 11, spec.unum)) {
      ++i;
    } else if (arg == "--data" && value(1)) {
      data = argv[++i];
    } else if (arg == "--drop" && value(1) && number(value(1), spec.drop) && spec.drop >= 0 && spec.drop < 1) {
      ++i;
    } else if (arg == "--seed" && value(1) && integer(value(1), 0, 1000000000, seedValue)) {
      spec.seed = static_cast<unsigned>(seedValue);
      ++i;
    } else if (arg == "--ball-side" && value(1) && number(value(1), ballSide)) {
      fieldtest::setSuperKickSide(ballSide);
      ++i;
    } else if (arg == "--paused") {
      spec.paused = true;
    } else if (arg == "--trace-joints") {
      spec.trace = spec.traceJoints = true;
    } else if (arg == "--trace-ball") {
      spec.trace = spec.traceBall = true;
    } else if (arg == "--trace") {
      spec.trace = true;
    } else if (arg == "--csv" && value(1)) {
      csv = argv[++i];
    } else {
      return bad("bad argument '" + arg + "'");
    }
  }
  if (types.empty() || names.empty()) return bad("nothing to run");
  if (!csv.empty() && csv[0] != '/') {
    char here[4096];
    if (::getcwd(here, sizeof here)) csv = std::string(here) + "/" + csv;
  }
  if (::chdir(data.c_str()) != 0) return bad("no data folder " + data);

  std::vector<fieldtest::Row> rows;
  bool allOk = true;
  for (int type : types) {
    for (const std::string& name : names) {
      fieldtest::TrialSpec s = spec;
      s.type = type;
      s.seed = spec.seed + static_cast<unsigned>(rows.size());
      s.scenario = name;
      fieldtest::Row row;
      row.type = type;
      row.scenario = name;
      row.unit = fieldtest::findScenario(name)->commandUnit;
      row.result = fieldtest::runTrial(s);
      allOk = allOk && row.result.ok;
      rows.push_back(row);
    }
  }
  fieldtest::printTables(std::cout, rows);
  if (!csv.empty()) {
    std::ofstream out(csv);
    fieldtest::writeCsv(out, rows);
    if (!out) {
      std::cerr << "fieldtest: cannot write " << csv << "\n";
      return 1;
    }
  }
  return allOk ? 0 : 1;
}
