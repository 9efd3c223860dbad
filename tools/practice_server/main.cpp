// practice-server: a stand-in for the simulation server, for tests and practice games.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Server.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

const char* const kUsage =
    "usage: practice-server [--port N] [--monitor-port N] [--sync] [--noise] [--kickoff-after N]\n"
    "  --port N           agent port (default 3100; 0 lets the system choose)\n"
    "  --monitor-port N   monitor port (default 3200; 0 lets the system choose)\n"
    "  --sync             step a cycle as soon as every agent has sent (syn), instead of\n"
    "                     50 cycles a second in real time\n"
    "  --noise            vision noise, camera calibration error and beam noise as on the\n"
    "                     real server (off by default)\n"
    "  --kickoff-after N  kick off by itself once N players have joined\n"
    "  --help             this text\n"
    "The first line of standard output names the ports in use; then a status line\n"
    "follows every simulated second. SIGINT or SIGTERM stops the server.\n"
    "The monitor port takes the real monitor commands and (state). Robots are kinematic\n"
    "bodies: the lower foot stays planted and the joints move the torso over it; a centre\n"
    "of mass outside the feet or a torso tilted past 50 degrees for over 0.4 s falls;\n"
    "legs folded under the hips with a hand on the ground for 0.2 s gets up. These rules\n"
    "and the referee's are listed in the project README, section \"The practice server\".\n";

bool number(const char* text, int lo, int hi, int& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  practice::ServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--sync") {
      options.sync = true;
    } else if (arg == "--noise") {
      options.world.noise = true;
    } else if (arg == "--port" && hasValue && number(argv[i + 1], 0, 65535, options.agentPort)) {
      ++i;
    } else if (arg == "--monitor-port" && hasValue && number(argv[i + 1], 0, 65535, options.monitorPort)) {
      ++i;
    } else if (arg == "--kickoff-after" && hasValue && number(argv[i + 1], 1, 22, options.world.kickoffAfter)) {
      ++i;
    } else {
      std::cerr << "practice-server: bad argument '" << arg << "'\n" << kUsage;
      return 2;
    }
  }

  practice::Server server(options);
  std::string error;
  if (!server.start(error)) {
    std::cerr << "practice-server: " << error << "\n";
    return 1;
  }
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = onSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  std::cout << "practice-server agent-port " << server.agentPort() << " monitor-port " << server.monitorPort()
            << (options.sync ? " sync" : " real-time") << std::endl;
  server.run(&gStop, std::cout);
  std::cout << "practice-server stopped" << std::endl;
  return 0;
}
