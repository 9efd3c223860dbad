#include "Table.h"

#include <cstdio>
#include <set>

#include "Scenario.h"

namespace fieldtest {

namespace {

bool isTurn(const std::string& scenario) {
  const ScenarioInfo* info = findScenario(scenario);
  return info && (info->axis == Axis::TurnLeft || info->axis == Axis::TurnRight);
}

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

const char* lyingName(int on) {
  static const char* names[] = {"not lying", "on the front", "on the back", "on a side"};
  return on >= 0 && on <= 3 ? names[on] : "?";
}

}  // namespace

void printTables(std::ostream& out, const std::vector<Row>& rows) {
  std::set<int> done;
  for (const Row& first : rows) {
    if (!done.insert(first.type).second) continue;
    out << "robot type " << first.type << "\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-12s %10s %8s %10s %9s %9s %9s %9s %6s %8s %6s\n", "scenario", "command", "time s",
                  "progress", "mean/s", "steady/s", "drift m", "turn deg", "falls", "fall s", "late");
    out << line;
    for (const Row& r : rows) {
      if (r.type != first.type) continue;
      if (!r.result.ok) {
        out << r.scenario << ": " << r.result.error << "\n";
        continue;
      }
      const Outcome& o = r.result.outcome;
      const std::string unit = isTurn(r.scenario) ? " deg" : " m";
      std::snprintf(line, sizeof line, "%-12s %10s %8.2f %10s %9.3f %9.3f %9.3f %9.1f %6d %8s %6d\n", r.scenario.c_str(),
                    (fixed(r.result.command, 2) + (r.unit.empty() ? "" : " " + r.unit)).c_str(), o.seconds,
                    (fixed(o.along, 2) + unit).c_str(), o.mean, o.steady, o.drift, o.turned, o.falls,
                    o.falls ? fixed(o.fallAt, 2).c_str() : "-", r.result.late);
      out << line;
      if (o.ballKnown) {
        std::snprintf(line, sizeof line, "%-12s ball %.2f m at %.1f deg\n", "", o.ballTravel, o.ballAngle);
        out << line;
      }
      if (o.endKnown) {
        std::snprintf(line, sizeof line, "%-12s ends %s (server), %s (own fall test)\n", "", lyingName(o.lyingOn),
                      lyingName(o.agentLyingOn));
        out << line;
      }
      if (o.targetKnown) {
        std::snprintf(line, sizeof line, "%-12s %.2f m from the point at the end\n", "", o.targetMiss);
        out << line;
      }
      if (o.getupKnown) {
        std::snprintf(line, sizeof line, "%-12s up again %s\n", "",
                      o.getupSeconds >= 0 ? (fixed(o.getupSeconds, 2) + " s after the stop motion").c_str() : "never");
        out << line;
      }
    }
    out << "\n";
  }
}

void writeCsv(std::ostream& out, const std::vector<Row>& rows) {
  out << "type,scenario,command,seconds,progress,mean,steady,drift,turned,falls,fall_at,ball_m,ball_deg,getup_s,late,end,end_own,target_m,error\n";
  for (const Row& r : rows) {
    const Outcome& o = r.result.outcome;
    std::string error = r.result.error;
    for (char& c : error)
      if (c == ',' || c == '\n') c = ' ';
    out << r.type << "," << r.scenario << "," << r.result.command << "," << o.seconds << "," << o.along << ","
        << o.mean << "," << o.steady << "," << o.drift << "," << o.turned << "," << o.falls << "," << o.fallAt << ","
        << (o.ballKnown ? fixed(o.ballTravel, 3) : "") << "," << (o.ballKnown ? fixed(o.ballAngle, 1) : "") << ","
        << (o.getupKnown ? fixed(o.getupSeconds, 2) : "") << ","
        << r.result.late << "," << (o.endKnown ? std::to_string(o.lyingOn) : "") << ","
        << (o.endKnown ? std::to_string(o.agentLyingOn) : "") << "," << (o.targetKnown ? fixed(o.targetMiss, 3) : "")
        << "," << error << "\n";
  }
}

}  // namespace fieldtest
