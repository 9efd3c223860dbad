// Helpers for running the agent against the practice server or against a
// server played by the test itself.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Server.h"
#include "Sexp.h"

namespace agenttest {

using Clock = std::chrono::steady_clock;
constexpr int kWaitMs = 20000;  // upper bound for anything that should happen promptly

inline bool waitReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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
  void link(const std::string& name, const std::string& target) const {
    ::unlink(file(name).c_str());
    EXPECT_EQ(::symlink(target.c_str(), file(name).c_str()), 0);
  }

 private:
  std::string path_;
};

// A child process with its standard output and error in files; killed at the
// end if it is still running.
class Process {
 public:
  // Runs args[0] with the arguments, in `dir`.
  static Process exec(const std::vector<std::string>& args, const std::string& dir = ".") {
    return start([&] {
      if (::chdir(dir.c_str()) != 0) ::_exit(126);
      std::vector<char*> argv;
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    });
  }
  // Runs `body` in a forked copy of this process; how it ends is up to `body`.
  static Process start(const std::function<void()>& body) {
    Process p;
    static std::atomic<int> serial{0};
    const std::string base = "/tmp/qv-agent-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    p.out_ = base + ".out";
    p.err_ = base + ".err";
    std::fflush(nullptr);
    p.pid_ = ::fork();
    if (p.pid_ == 0) {
      int out = ::open(p.out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      int err = ::open(p.err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (out < 0 || err < 0) ::_exit(125);
      ::dup2(out, 1);
      ::dup2(err, 2);
      ::close(out);
      ::close(err);
      body();
      ::_exit(0);
    }
    return p;
  }

  Process() = default;
  Process(Process&& o) noexcept { *this = std::move(o); }
  Process& operator=(Process&& o) noexcept {
    std::swap(pid_, o.pid_);
    std::swap(status_, o.status_);
    std::swap(out_, o.out_);
    std::swap(err_, o.err_);
    return *this;
  }
  ~Process() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (!out_.empty()) ::unlink(out_.c_str());
    if (!err_.empty()) ::unlink(err_.c_str());
  }

  pid_t pid() const { return pid_; }
  bool running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      status_ = status;
      return false;
    }
    return true;
  }
  // Exit status, 128 + the signal's number after a signal, or -1 when it has
  // not ended within `ms`.
  int wait(int ms = kWaitMs) {
    for (auto end = Clock::now() + std::chrono::milliseconds(ms); running();) {
      if (Clock::now() > end) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!status_) return -1;
    return WIFEXITED(*status_) ? WEXITSTATUS(*status_) : 128 + WTERMSIG(*status_);
  }
  void kill(int sig) {
    if (pid_ > 0) ::kill(pid_, sig);
  }
  std::string out() const { return readFile(out_); }
  std::string err() const { return readFile(err_); }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string out_, err_;
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

inline int connectTo(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// One end of a framed connection (4-byte big-endian length, then the text).
class Link {
 public:
  explicit Link(int fd = -1) : fd_(fd) {}
  ~Link() { close(); }
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;
  bool open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool send(const std::string& text) {
    const std::string bytes = practice::frame(text);
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  // The next frame, or nothing after `ms` or at the end of the stream.
  std::optional<std::string> receive(int ms = kWaitMs) {
    auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      if (auto f = take()) return f;
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
      if (left <= 0 || !waitReadable(fd_, static_cast<int>(left))) return std::nullopt;
      if (!fill()) return std::nullopt;
    }
  }
  // Reads what is there; false at the end of the stream.
  bool fill() {
    char buf[65536];
    ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
    if (n > 0) {
      buffer_.append(buf, static_cast<size_t>(n));
      return true;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR);
  }
  // A complete frame already read, if any.
  std::optional<std::string> take() {
    uint64_t discard = 0;
    std::string copy = buffer_;
    auto frames = practice::cutFrames(copy, discard, 1u << 30);
    if (frames.empty()) return std::nullopt;
    buffer_.erase(0, 4 + frames.front().size());
    return frames.front();
  }

 private:
  int fd_ = -1;
  std::string buffer_;
};

// The practice server program, in sync mode, with ports chosen by the system.
class PracticeServer {
 public:
  PracticeServer() {
    proc_ = Process::exec({QV_PRACTICE_SERVER, "--sync", "--port", "0", "--monitor-port", "0"});
    for (auto end = Clock::now() + std::chrono::milliseconds(kWaitMs); Clock::now() < end;) {
      std::istringstream first(proc_.out());
      std::string word;
      if (first >> word >> word >> agentPort >> word >> monitorPort) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
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
    proc_.kill(SIGKILL);
    proc_.wait();
  }

  int agentPort = 0, monitorPort = 0;

 private:
  Process proc_;
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
