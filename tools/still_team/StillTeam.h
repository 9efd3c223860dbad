// Eleven players of one team that join a simulation server, beam to their
// places and then never move: an opponent to practise scoring against.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace stillteam {

class StillTeam {
 public:
  // Connects shirts 1 to 11 of team `name` to host:port (a name or a dotted
  // quad); error() says why when not all could connect.
  StillTeam(const std::string& host, int port, const std::string& name);
  ~StillTeam();
  StillTeam(const StillTeam&) = delete;
  StillTeam& operator=(const StillTeam&) = delete;

  const std::string& error() const { return error_; }
  // Answers every server message in a thread of its own until stop(): the
  // first with init (the server drops an init sent before its robot
  // exists), the second with the beam, and each with (syn).
  void start();
  void stop();
  // Connections the server has not closed.
  int open() const { return open_; }

 private:
  struct Player {
    int fd = -1;
    std::string in;
    std::vector<std::string> replies;  // sent once each, one per server message
  };
  void loop();
  bool answer(Player& p);

  std::vector<Player> players_;
  std::string error_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> open_{0};
};

}  // namespace stillteam
