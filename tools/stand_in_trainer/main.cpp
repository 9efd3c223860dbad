// stand-in-trainer: a stand-in for the outside trainer of the agent's training mode.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Trainer.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

const char* const kUsage =
    "usage: stand-in-trainer [--host ADDR] [--port N] [--confirmation TEXT] [--silent]\n"
    "                        [--command TEXT]... [--loop] [--hangup-after N] [--oversized N]\n"
    "  --host ADDR          address to listen on (default 127.0.0.1)\n"
    "  --port N             port to listen on (default 4100; 0 lets the system choose)\n"
    "  --confirmation TEXT  text of the frame that confirms an agent's link (default established)\n"
    "  --silent             accept agents but never confirm nor send anything\n"
    "  --command TEXT       a command; the first goes out after the confirmation, the next\n"
    "                       after each \"Ok\" that ends an agent's cycle (repeat the option\n"
    "                       for a list; decisionKick and demo take 0 to 3)\n"
    "  --loop               start the command list over when it is used up\n"
    "  --hangup-after N     close an agent's link after its N-th \"Ok\" (0: right after its\n"
    "                       shirt number)\n"
    "  --oversized N        send one frame of N bytes before the first command\n"
    "  --help               this text\n"
    "The first line of standard output names the port in use; then a table follows with\n"
    "one row for every shirt number, frame and closed link, in the order they happened.\n"
    "SIGINT or SIGTERM stops the trainer.\n";

bool number(const char* text, long lo, long hi, long& out) {
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  trainer::TrainerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long v = 0;
    if (arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--silent") {
      options.confirm = false;
    } else if (arg == "--loop") {
      options.loop = true;
    } else if (arg == "--host" && hasValue) {
      options.host = argv[++i];
    } else if (arg == "--confirmation" && hasValue) {
      options.confirmation = argv[++i];
    } else if (arg == "--command" && hasValue) {
      options.commands.push_back(argv[++i]);
    } else if (arg == "--port" && hasValue && number(argv[i + 1], 0, 65535, v)) {
      options.port = static_cast<int>(v);
      ++i;
    } else if (arg == "--hangup-after" && hasValue && number(argv[i + 1], 0, 1000000000, v)) {
      options.hangupAfter = static_cast<int>(v);
      ++i;
    } else if (arg == "--oversized" && hasValue && number(argv[i + 1], 1, 1000000000, v)) {
      options.oversized = static_cast<uint32_t>(v);
      ++i;
    } else {
      std::cerr << "stand-in-trainer: bad argument '" << arg << "'\n" << kUsage;
      return 2;
    }
  }

  trainer::Trainer server(options);
  std::string error;
  if (!server.start(error)) {
    std::cerr << "stand-in-trainer: " << error << "\n";
    return 1;
  }
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = onSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  std::cout << "stand-in-trainer port " << server.port() << std::endl;
  server.run([] { return gStop != 0; }, std::cout);
  std::cout << "stand-in-trainer stopped" << std::endl;
  return 0;
}
