// still-team: eleven players that join a simulation server and then never move.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "StillTeam.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

const char* const kUsage =
    "usage: still-team [--host HOST] [--port N] [--team NAME] [--gap SECONDS]\n"
    "  --host HOST   the simulation server (default 127.0.0.1)\n"
    "  --port N      its agent port (default 3100)\n"
    "  --team NAME   the team name (default Still)\n"
    "  --gap SECONDS join one player at a time: shirt k+1 connects once the server's\n"
    "                first message to shirt k has come (its robot exists) and at\n"
    "                least SECONDS after shirt k connected (default: all at once)\n"
    "  --help        this text\n"
    "Joins shirts 1 to 11 (robot types 0 1 2 0 1 2 3 4 0 1 2), beams them to a\n"
    "formation in their own half and then answers every server message with (syn)\n"
    "alone: the players never move. Runs until SIGINT or SIGTERM, or until the server\n"
    "has closed every connection; ends with status 1 when a player cannot connect.\n";

}  // namespace

int main(int argc, char** argv) {
  std::string host = "127.0.0.1", team = "Still";
  int port = 3100;
  double gap = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--host" && hasValue) {
      host = argv[++i];
    } else if (arg == "--team" && hasValue && std::strlen(argv[i + 1]) > 0 &&
               std::strpbrk(argv[i + 1], " \t\r\n()\"';") == nullptr) {
      team = argv[++i];
    } else if (arg == "--port" && hasValue) {
      char* end = nullptr;
      const long v = std::strtol(argv[++i], &end, 10);
      if (end == argv[i] || *end != '\0' || v < 1 || v > 65535) {
        std::cerr << "still-team: bad port '" << argv[i] << "'\n" << kUsage;
        return 2;
      }
      port = static_cast<int>(v);
    } else if (arg == "--gap" && hasValue) {
      char* end = nullptr;
      const double v = std::strtod(argv[++i], &end);
      if (end == argv[i] || *end != '\0' || !(v >= 0 && v <= 3600)) {
        std::cerr << "still-team: bad gap '" << argv[i] << "'\n" << kUsage;
        return 2;
      }
      gap = v;
    } else {
      std::cerr << "still-team: bad argument '" << arg << "'\n" << kUsage;
      return 2;
    }
  }

  stillteam::StillTeam still(host, port, team, gap);
  if (!still.error().empty()) {
    std::cerr << "still-team: " << still.error() << "\n";
    return 1;
  }
  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::signal(SIGPIPE, SIG_IGN);
  still.start();
  const std::string where = host + ":" + std::to_string(port);
  int shown = gap < 0 ? 11 : 0;
  if (gap < 0) std::cout << "still-team " << team << ": 11 players connected to " << where << std::endl;
  int status = 0;
  while (!gStop && still.open() > 0) {
    for (; shown < still.connected(); ++shown)
      std::cout << "still-team " << team << ": player " << shown + 1 << " connected to " << where << std::endl;
    if (!still.error().empty()) {
      std::cerr << "still-team: " << still.error() << "\n";
      status = 1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(gap < 0 ? 100 : 10));
  }
  still.stop();
  std::cout << "still-team " << team << ": stopped" << std::endl;
  return status;
}
