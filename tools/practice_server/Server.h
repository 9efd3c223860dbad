// Socket side of the practice server: two listening ports, length-prefixed
// frames, and the cycle loop (real time, or stepped by the agents' (syn)).
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "World.h"

namespace practice {

struct ServerOptions {
  int agentPort = 3100;
  int monitorPort = 3200;
  bool sync = false;
  WorldOptions world;
};

class Server {
 public:
  explicit Server(const ServerOptions& options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Opens both ports; false with a reason when that fails.
  bool start(std::string& error);
  int agentPort() const { return agentPort_; }
  int monitorPort() const { return monitorPort_; }

  // Runs cycles until *stop becomes non-zero. Prints a status line per simulated second.
  void run(const volatile std::sig_atomic_t* stop, std::ostream& status);

  World& world() { return world_; }

 private:
  struct Conn {
    int fd = -1;
    bool monitor = false;
    int agentId = 0;
    std::string in, out;
    uint64_t discard = 0;  // bytes of an oversized frame still to skip
    bool synSeen = false;
    int sent = 0;  // perceptions sent
    bool dead = false;
  };

  void pollOnce(int timeoutMs);
  void accept(int listenFd, bool monitor);
  void readFrom(Conn& c);
  void handleFrame(Conn& c, const std::string& payload);
  void send(Conn& c, const std::string& payload);
  void flush(Conn& c);
  void removeDead();
  bool readyToStep(std::chrono::steady_clock::time_point now) const;
  void runCycle(std::ostream& status);

  ServerOptions options_;
  World world_;
  int agentListen_ = -1, monitorListen_ = -1;
  int agentPort_ = 0, monitorPort_ = 0;
  std::vector<Conn> conns_;
  std::vector<std::pair<int, std::vector<SNode>>> queued_;  // agent frames in arrival order
  std::chrono::steady_clock::time_point lastCycle_;
};

// Cuts complete frames (4-byte big-endian length, then payload) off the front of
// `buffer`. Frames longer than `maxFrame` are skipped, also across calls, using
// `discard` to remember how much of one is still to come.
std::vector<std::string> cutFrames(std::string& buffer, uint64_t& discard, uint32_t maxFrame);
std::string frame(const std::string& payload);

}  // namespace practice
