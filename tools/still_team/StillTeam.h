// Eleven players of one team that join a simulation server, beam to their
// places and then never move: an opponent to practise scoring against.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace stillteam {

class StillTeam {
 public:
  // Connects shirts 1 to 11 of team `name` to host:port (a name or a dotted
  // quad); error() says why when not all could connect. With `gap` >= 0 only
  // shirt 1 connects here and the answering thread connects each next shirt
  // once the server's first message to the one before has arrived (its robot
  // exists) and at least `gap` seconds after that one connected: a server
  // may choke on many robots built at once.
  StillTeam(const std::string& host, int port, const std::string& name, double gap = -1);
  ~StillTeam();
  StillTeam(const StillTeam&) = delete;
  StillTeam& operator=(const StillTeam&) = delete;

  std::string error() const {
    std::lock_guard<std::mutex> lock(errorMutex_);
    return error_;
  }
  // Answers every server message in a thread of its own until stop(): the
  // first with init (the server drops an init sent before its robot
  // exists), the second with the beam, and each with (syn).
  void start();
  void stop();
  // Connections the server has not closed.
  int open() const { return open_; }
  // Shirts connected so far, 1 to 11.
  int connected() const { return connected_; }

 private:
  struct Player {
    int fd = -1;
    std::string in;
    std::vector<std::string> replies;  // sent once each, one per server message
    bool heard = false;                // a server message has arrived
    std::chrono::steady_clock::time_point since;  // when it connected
  };
  // Connects shirt `unum` and asks for its robot; false, with error_ set, when
  // it could not connect.
  bool join(int unum);
  void joinNext();
  void loop();
  bool answer(Player& p);

  std::string host_, name_;
  int port_;
  double gap_;
  std::vector<Player> players_;
  mutable std::mutex errorMutex_;
  std::string error_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> open_{0};
  std::atomic<int> connected_{0};
};

}  // namespace stillteam
