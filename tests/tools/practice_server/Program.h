// Child processes and framed TCP links, for the tests that run the practice
// server program, the agent program, or both.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Server.h"

namespace practice::test {

using Clock = std::chrono::steady_clock;
constexpr int kWaitMs = 60000;  // upper bound for anything that should happen promptly, even on a loaded machine

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
    const pid_t parent = ::getpid();
    p.pid_ = ::fork();
    if (p.pid_ == 0) {
      // A test program that is killed takes its children with it.
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (::getppid() != parent) ::_exit(124);
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

// The practice server program with the given options; its first line of
// output names the ports.
class ServerProgram {
 public:
  explicit ServerProgram(const std::vector<std::string>& options) {
    std::vector<std::string> args{QV_PRACTICE_SERVER};
    args.insert(args.end(), options.begin(), options.end());
    proc_ = Process::exec(args);
    std::istringstream first(readLine());
    std::string word;
    first >> word >> word >> agentPort >> word >> monitorPort;
  }

  // The next whole line of its standard output; "" when none comes within kWaitMs.
  std::string readLine() {
    for (auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);;) {
      const std::string out = proc_.out();
      const size_t eol = out.find('\n', read_);
      if (eol != std::string::npos) {
        std::string line = out.substr(read_, eol - read_);
        read_ = eol + 1;
        return line;
      }
      if (Clock::now() > end) return std::string();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  // Exit status after SIGTERM, or -1 when it does not stop in time.
  int terminate() {
    proc_.kill(SIGTERM);
    return proc_.wait();
  }
  // Ends it at once.
  void kill() {
    proc_.kill(SIGKILL);
    proc_.wait();
  }

  int agentPort = 0, monitorPort = 0;

 private:
  Process proc_;
  size_t read_ = 0;  // bytes of the output already returned by readLine()
};

}  // namespace practice::test
