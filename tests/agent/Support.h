// Helpers for running the agent against the practice server or against a
// server played by the test itself.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Sexp.h"
#include "tools/practice_server/Program.h"

namespace agenttest {

using practice::test::Clock;
using practice::test::connectTo;
using practice::test::kWaitMs;
using practice::test::Link;
using practice::test::Process;
using practice::test::readFile;
using practice::test::waitReadable;

// A folder under /tmp, removed with its contents at the end.
class TempDir {
 public:
  TempDir() {
    char name[] = "/tmp/qv-agent-XXXXXX";
    path_ = ::mkdtemp(name) ? name : "";
    EXPECT_FALSE(path_.empty());
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& text) const { std::ofstream(file(name)) << text; }
  // A working folder like data/: every entry of data/ linked, then the extras.
  void mirrorData() const {
    std::system(("ln -s '" + std::string(QV_DATA_DIR) + "'/* '" + path_ + "'/").c_str());
  }
  // The same, with a formations folder of its own: what a player writes
  // there (the case base) stays in this folder.
  void mirrorDataKeepingFormations() const {
    mirrorData();
    const std::string formations = file("formations");
    ::unlink(formations.c_str());
    EXPECT_EQ(::mkdir(formations.c_str(), 0755), 0);
    std::system(("ln -s '" + std::string(QV_DATA_DIR) + "'/formations/* '" + formations + "'/").c_str());
  }
  void link(const std::string& name, const std::string& target) const {
    ::unlink(file(name).c_str());
    EXPECT_EQ(::symlink(target.c_str(), file(name).c_str()), 0);
  }

 private:
  std::string path_;
};

// A listening TCP socket on 127.0.0.1 with a port chosen by the system.
class Listener {
 public:
  Listener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(::listen(fd_, 64), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  ~Listener() { ::close(fd_); }
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;
  int port() const { return port_; }
  int fd() const { return fd_; }
  // The next connection, or -1 after `ms`.
  int accept(int ms = kWaitMs) {
    if (!waitReadable(fd_, ms)) return -1;
    return ::accept(fd_, nullptr, nullptr);
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A port on which nobody listens (bound, never listened on, while it lives).
class ClosedPort {
 public:
  ClosedPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  ~ClosedPort() { ::close(fd_); }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// The practice server program, in sync mode, with ports chosen by the system.
class PracticeServer {
 public:
  PracticeServer() : program_({"--sync", "--port", "0", "--monitor-port", "0"}) {
    agentPort = program_.agentPort;
    monitorPort = program_.monitorPort;
    EXPECT_GT(agentPort, 0);
    monitor_ = std::make_unique<Link>(connectTo(monitorPort));
  }
  // The whole state, parsed; an empty node when there is no answer.
  practice::SNode state() {
    practice::SNode none;
    if (!monitor_->open() || !monitor_->send("(state)")) return none;
    auto reply = monitor_->receive();
    if (!reply) return none;
    auto nodes = practice::readSexps(*reply);
    return nodes.empty() ? none : nodes.front();
  }
  // Sends one monitor command that has no reply, such as "(kickOff Left)".
  bool command(const std::string& text) { return monitor_->open() && monitor_->send(text); }
  // Waits, asking for the state, until `done` holds for it; false after `ms`.
  bool waitFor(const std::function<bool(const practice::SNode&)>& done, int ms = kWaitMs) {
    for (auto end = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < end;) {
      if (done(state())) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  void stop() {
    monitor_->close();
    program_.kill();
  }

  int agentPort = 0, monitorPort = 0;

 private:
  practice::test::ServerProgram program_;
  std::unique_ptr<Link> monitor_;
};

// A player as the server's state shows it.
struct PlayerState {
  std::string team, name;
  int unum = 0, type = 0;
  double x = 0, y = 0, z = 0;
};

inline std::vector<PlayerState> players(const practice::SNode& state) {
  std::vector<PlayerState> out;
  for (const practice::SNode& item : state.items) {
    if (item.head() != "player") continue;
    PlayerState p;
    auto text = [&](const char* key) {
      const practice::SNode* f = item.find(key);
      return f && f->items.size() > 1 ? f->items[1].atom : std::string();
    };
    p.team = text("team");
    p.name = text("name");
    p.unum = std::atoi(text("unum").c_str());
    p.type = std::atoi(text("type").c_str());
    if (const practice::SNode* pos = item.find("pos"); pos && pos->items.size() > 3) {
      p.x = std::atof(pos->items[1].atom.c_str());
      p.y = std::atof(pos->items[2].atom.c_str());
      p.z = std::atof(pos->items[3].atom.c_str());
    }
    out.push_back(p);
  }
  return out;
}

inline long cycleOf(const practice::SNode& state) {
  const practice::SNode* c = state.find("cycle");
  return c && c->items.size() > 1 ? std::atol(c->items[1].atom.c_str()) : -1;
}

// Game time of the state; -1 when it has none.
inline double gameTimeOf(const practice::SNode& state) {
  const practice::SNode* t = state.find("t");
  return t && t->items.size() > 1 ? std::atof(t->items[1].atom.c_str()) : -1;
}

// The text of a field of the practice server's state, or "".
inline std::string text(const practice::SNode& state, const char* key) {
  const practice::SNode* f = state.find(key);
  return f && f->items.size() > 1 ? f->items[1].atom : std::string();
}

// Robot type of each shirt number 1 to 11 as start.sh starts the team, after a
// -1 for index 0.
inline std::vector<int> teamRobotTypes() {
  const std::string script = readFile(std::string(QV_TEST_DIR) + "/../start.sh");
  std::smatch m;
  std::vector<int> types{-1};
  if (std::regex_search(script, m, std::regex("robot_types=\\(x((?:\\s+\\d)+)\\)"))) {
    std::istringstream in(m[1].str());
    for (int t; in >> t;) types.push_back(t);
  }
  return types;
}

inline std::string robotFile(int type) { return type == 0 ? "nao.xml" : "nao" + std::to_string(type) + ".xml"; }

// Starts the agent program in `dir` as shirt `unum` of `team`, with the robot
// type start.sh gives that shirt, on the server's agent port `port`.
inline Process startAgent(const std::string& dir, const std::string& team, int unum, int port) {
  return Process::exec({QV_AGENT, "-robot", robotFile(teamRobotTypes().at(static_cast<size_t>(unum))), "-t", team,
                        "-u", std::to_string(unum), "-p", std::to_string(port)},
                       dir);
}

// Whether shirt `unum` of `team` shows in the server's state within `ms`.
inline bool hasJoined(PracticeServer& server, const std::string& team, int unum, int ms = kWaitMs) {
  return server.waitFor([&](const practice::SNode& s) {
    for (const PlayerState& p : players(s))
      if (p.name == team && p.unum == unum) return true;
    return false;
  }, ms);
}

// Starts the agent program in `dir` as shirts 1 to `count` of `team`, each with
// the robot type start.sh gives it, one after another once the server shows
// the last; appends them to `agents`. Empty when all joined, else what failed.
inline std::string joinTeam(PracticeServer& server, const std::string& dir, const std::string& team, int count,
                            std::vector<Process>& agents, int ms = kWaitMs) {
  const std::vector<int> types = teamRobotTypes();
  if (types.size() != 12u) return "robot types of start.sh: " + std::to_string(types.size() - 1);
  for (int unum = 1; unum <= count; ++unum) {
    agents.push_back(startAgent(dir, team, unum, server.agentPort));
    if (!hasJoined(server, team, unum, ms))
      return team + " " + std::to_string(unum) + " has not joined\n" + agents.back().err();
  }
  return "";
}

// A working folder like data/ whose players trace every decision.
inline void traceDecisions(const TempDir& work) {
  work.mirrorDataKeepingFormations();
  ::unlink(work.file("config.ini").c_str());
  work.write("config.ini", "LOG_ENABLED=YES\nLOG_LEVEL=DEBUG\nNOME=QUORVEL\n");
}

// One decision cycle as a traced agent prints it, with the motion then run.
struct TracedCycle {
  bool active = false;
  int winner = 0;
  double sx = 0, sy = 0;  // my strategic position, my own frame
  int behaviour = -1;
  bool blocker = false;   // walking to block a pass
  std::string motion;
};

// Game time (hundredths) -> the cycle, from a traced agent's output.
inline std::map<long, TracedCycle> tracedCycles(const std::string& out) {
  std::map<long, TracedCycle> all;
  long now = -1;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    double t = 0;
    int active = 0, blocker = 0;
    TracedCycle c;
    if (std::sscanf(line.c_str(), "decision t %lf active %d winner %d strategic %lf %lf behaviour %d blocking %d", &t,
                    &active, &c.winner, &c.sx, &c.sy, &c.behaviour, &blocker) == 7) {
      c.active = active != 0;
      c.blocker = blocker != 0;
      now = std::lround(t * 100);
      all[now] = c;
    } else if (now >= 0 && line.rfind("Now executing: ", 0) == 0) {
      all[now].motion = line.substr(15);
    }
  }
  return all;
}

// Sits between agents and the server and records every frame both ways, in
// order, per connection.
class Relay {
 public:
  struct Frame {
    bool fromAgent;
    std::string text;
  };

  explicit Relay(int serverPort) : serverPort_(serverPort) {}
  ~Relay() { stop(); }
  int port() const { return listener_.port(); }

  // Runs the relay in a thread of its own; start it after any fork.
  void start() { thread_ = std::thread([this] { loop(); }); }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // Frames of connection `k` (in the order the agents connected) so far.
  std::vector<Frame> frames(size_t k) {
    std::lock_guard<std::mutex> lock(mutex_);
    return k < pairs_.size() ? pairs_[k]->frames : std::vector<Frame>();
  }
  // Connections whose server end has closed: their agents have been cut off too.
  size_t closed() {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t n = 0;
    for (auto& p : pairs_) n += !p->agent.open();
    return n;
  }

 private:
  struct Pair {
    Link agent, server;
    std::vector<Frame> frames;
    Pair(int a, int s) : agent(a), server(s) {}
  };

  void forward(Link& from, Link& to, Pair& p, bool fromAgent) {
    if (!from.fill()) {
      std::lock_guard<std::mutex> lock(mutex_);
      p.agent.close();
      p.server.close();
      return;
    }
    while (auto f = from.take()) {
      std::lock_guard<std::mutex> lock(mutex_);
      p.frames.push_back({fromAgent, *f});
      to.send(*f);
    }
  }

  void loop() {
    while (!stop_) {
      std::vector<pollfd> fds{{listener_.fd(), POLLIN, 0}};
      for (auto& p : pairs_) {
        fds.push_back({p->agent.fd(), static_cast<short>(p->agent.open() ? POLLIN : 0), 0});
        fds.push_back({p->server.fd(), static_cast<short>(p->server.open() ? POLLIN : 0), 0});
      }
      if (::poll(fds.data(), fds.size(), 10) <= 0) continue;
      for (size_t i = 0; i < pairs_.size(); ++i) {
        Pair& p = *pairs_[i];
        if (p.agent.open() && (fds[1 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR))) forward(p.agent, p.server, p, true);
        if (p.server.open() && (fds[2 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR))) forward(p.server, p.agent, p, false);
      }
      if (fds[0].revents & POLLIN) {
        int a = listener_.accept(0);
        if (a < 0) continue;
        std::lock_guard<std::mutex> lock(mutex_);
        pairs_.push_back(std::make_unique<Pair>(a, connectTo(serverPort_)));
      }
    }
  }

  int serverPort_;
  Listener listener_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::unique_ptr<Pair>> pairs_;
};

// A message as the server sends it, with the given clock time.
inline std::string perception(double now, const std::string& gs = "(pm BeforeKickOff)") {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", now);
  return std::string("(time (now ") + buf + "))(GS (sl 0) (sr 0) (t 0.00) " + gs + ")";
}

}  // namespace agenttest
