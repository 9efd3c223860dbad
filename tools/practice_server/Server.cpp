#include "Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace practice {
namespace {

constexpr uint32_t kMaxFrame = 64 * 1024;         // agents send a few hundred bytes
constexpr size_t kMaxOutput = 64 * 1024 * 1024;   // a client that never reads is dropped
constexpr auto kCycle = std::chrono::milliseconds(20);
// How long a robot's first perceptions wait for its (syn): long enough for a slow
// but prompt agent on a busy machine, short enough that a silent one does not stall.
constexpr auto kJoinWait = std::chrono::milliseconds(500);

int listenOn(int port, int& boundPort, std::string& error) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    error = std::strerror(errno);
    return -1;
  }
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<uint16_t>(port));
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || ::listen(fd, 64) < 0) {
    error = "port " + std::to_string(port) + ": " + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  boundPort = ntohs(addr.sin_port);
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

}  // namespace

std::string frame(const std::string& payload) {
  const uint32_t n = static_cast<uint32_t>(payload.size());
  std::string out(4, '\0');
  out[0] = static_cast<char>((n >> 24) & 0xFF);
  out[1] = static_cast<char>((n >> 16) & 0xFF);
  out[2] = static_cast<char>((n >> 8) & 0xFF);
  out[3] = static_cast<char>(n & 0xFF);
  return out + payload;
}

std::vector<std::string> cutFrames(std::string& buffer, uint64_t& discard, uint32_t maxFrame) {
  std::vector<std::string> frames;
  size_t pos = 0;
  for (;;) {
    if (discard > 0) {
      size_t skip = static_cast<size_t>(std::min<uint64_t>(discard, buffer.size() - pos));
      pos += skip;
      discard -= skip;
      if (discard > 0) break;
    }
    if (buffer.size() - pos < 4) break;
    const auto* b = reinterpret_cast<const unsigned char*>(buffer.data() + pos);
    const uint32_t len = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
    if (len > maxFrame) {
      pos += 4;
      discard = len;
      continue;
    }
    if (buffer.size() - pos - 4 < len) break;
    frames.emplace_back(buffer, pos + 4, len);
    pos += 4 + len;
  }
  buffer.erase(0, pos);
  return frames;
}

Server::Server(const ServerOptions& options) : options_(options), world_(options.world) {}

Server::~Server() {
  for (Conn& c : conns_) ::close(c.fd);
  if (agentListen_ >= 0) ::close(agentListen_);
  if (monitorListen_ >= 0) ::close(monitorListen_);
}

bool Server::start(std::string& error) {
  agentListen_ = listenOn(options_.agentPort, agentPort_, error);
  if (agentListen_ < 0) return false;
  monitorListen_ = listenOn(options_.monitorPort, monitorPort_, error);
  return monitorListen_ >= 0;
}

void Server::accept(int listenFd, bool monitor) {
  for (;;) {
    int fd = ::accept(listenFd, nullptr, nullptr);
    if (fd < 0) return;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    Conn c;
    c.fd = fd;
    c.monitor = monitor;
    if (!monitor) c.agentId = world_.connect();
    conns_.push_back(std::move(c));
  }
}

void Server::readFrom(Conn& c) {
  char buf[65536];
  for (int rounds = 0; rounds < 64; ++rounds) {
    ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
    if (n > 0) {
      c.in.append(buf, static_cast<size_t>(n));
      for (const std::string& f : cutFrames(c.in, c.discard, kMaxFrame)) handleFrame(c, f);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    c.dead = true;  // closed by the peer, or an error
    return;
  }
}

void Server::handleFrame(Conn& c, const std::string& payload) {
  std::vector<SNode> commands = readSexps(payload);
  if (c.monitor) {
    std::string reply = world_.monitorFrame(commands);
    if (!reply.empty()) send(c, reply);
    return;
  }
  if (World::hasSyn(commands)) c.synSeen = true;
  queued_.emplace_back(c.agentId, std::move(commands));
}

void Server::send(Conn& c, const std::string& payload) {
  if (c.dead) return;
  c.out += frame(payload);
  flush(c);
  if (c.out.size() > kMaxOutput) c.dead = true;
}

void Server::flush(Conn& c) {
  while (!c.out.empty() && !c.dead) {
    ssize_t n = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
    if (n > 0) {
      c.out.erase(0, static_cast<size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return;
    } else {
      c.dead = true;
    }
  }
}

void Server::removeDead() {
  for (Conn& c : conns_) {
    if (!c.dead) continue;
    ::close(c.fd);
    if (!c.monitor) world_.disconnect(c.agentId);
  }
  conns_.erase(std::remove_if(conns_.begin(), conns_.end(), [](const Conn& c) { return c.dead; }), conns_.end());
}

void Server::pollOnce(int timeoutMs) {
  std::vector<pollfd> fds;
  fds.push_back({agentListen_, POLLIN, 0});
  fds.push_back({monitorListen_, POLLIN, 0});
  for (const Conn& c : conns_)
    fds.push_back({c.fd, static_cast<short>(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
  int n = ::poll(fds.data(), fds.size(), timeoutMs);
  if (n <= 0) return;
  const size_t known = conns_.size();
  for (size_t i = 0; i < known; ++i) {
    short ev = fds[i + 2].revents;
    Conn& c = conns_[i];
    if (ev & (POLLIN | POLLHUP | POLLERR)) readFrom(c);
    if (ev & POLLOUT) flush(c);
  }
  if (fds[0].revents & POLLIN) accept(agentListen_, false);
  if (fds[1].revents & POLLIN) accept(monitorListen_, true);
  removeDead();
}

// Sync mode: every agent must have sent (syn) since its last perception. As on the
// real server, a robot's first perceptions do not wait for it for ever; here they
// wait a while, so that a prompt agent still runs in lock-step.
bool Server::readyToStep(std::chrono::steady_clock::time_point now) const {
  if (!world_.anyRobotOrScene() && queued_.empty()) return false;
  for (const Conn& c : conns_) {
    if (c.monitor || c.synSeen || c.sent == 0) continue;
    if (c.sent > 2 || now - lastCycle_ < kJoinWait) return false;
  }
  return true;
}

void Server::runCycle(std::ostream& status) {
  // 1. Everything the agents sent, in arrival order.
  for (auto& [id, commands] : queued_) world_.agentFrame(id, commands);
  queued_.clear();
  for (Conn& c : conns_) c.synSeen = false;
  // 2. The perceptions of the last step.
  std::string msg;
  for (Conn& c : conns_)
    if (!c.monitor && world_.takePerception(c.agentId, msg)) {
      send(c, msg);
      ++c.sent;
    }
  removeDead();
  // 3 and 4. One step of the world.
  world_.step();
  if (world_.cycle() % 50 == 0) status << world_.statusLine() << std::endl;
}

void Server::run(const volatile std::sig_atomic_t* stop, std::ostream& status) {
  using Clock = std::chrono::steady_clock;
  auto next = Clock::now() + kCycle;
  while (!*stop) {
    for (;;) {
      if (*stop) return;
      if (options_.sync) {
        if (readyToStep(Clock::now())) break;
        pollOnce(5);
      } else {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        if (left <= 0) break;
        pollOnce(static_cast<int>(std::min<long long>(left, 100)));
      }
    }
    pollOnce(0);  // whatever arrived at the last moment
    if (options_.sync && !readyToStep(Clock::now())) continue;
    lastCycle_ = Clock::now();
    runCycle(status);
    if (!options_.sync) {
      next += kCycle;
      if (Clock::now() - next > std::chrono::milliseconds(200)) next = Clock::now();  // fell behind: no burst
    }
  }
}

}  // namespace practice
