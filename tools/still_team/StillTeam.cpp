#include "StillTeam.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace stillteam {
namespace {

// Places in the team frame: a goalkeeper, a back four, three in midfield and
// three forwards just short of the halfway line.
const double PLACES[11][2] = {{-14.5, 0}, {-11, -3}, {-11, 3}, {-9, 0}, {-7, -5}, {-7, 5},
                              {-5, 0},    {-3, -3},  {-3, 3},  {-1, -1.5}, {-1, 1.5}};
// Robot types by shirt: three types among the first three, at most seven of
// one and nine of any two, as the server demands of a team.
const int TYPES[11] = {0, 1, 2, 0, 1, 2, 3, 4, 0, 1, 2};

int connectTo(const std::string& host, int port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); rc != 0) {
    error = host + ": " + ::gai_strerror(rc);
    return -1;
  }
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd >= 0 && ::connect(fd, found->ai_addr, found->ai_addrlen) != 0) {
    error = host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    ::close(fd);
    fd = -1;
  }
  ::freeaddrinfo(found);
  return fd;
}

bool sendFrame(int fd, const std::string& text) {
  const uint32_t n = static_cast<uint32_t>(text.size());
  std::string bytes{static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
                    static_cast<char>(n)};
  bytes += text;
  return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

}  // namespace

StillTeam::StillTeam(const std::string& host, int port, const std::string& name, double gap)
    : host_(host), name_(name), port_(port), gap_(gap) {
  for (int unum = 1; unum <= (gap < 0 ? 11 : 1); ++unum)
    if (!join(unum)) break;
}

bool StillTeam::join(int unum) {
  std::string error;
  Player p;
  p.fd = connectTo(host_, port_, error);
  if (p.fd < 0) {
    std::lock_guard<std::mutex> lock(errorMutex_);
    error_ = error;
    return false;
  }
  char beam[64];
  std::snprintf(beam, sizeof beam, "(beam %.2f %.2f 0)", PLACES[unum - 1][0], PLACES[unum - 1][1]);
  p.replies = {"(init (unum " + std::to_string(unum) + ")(teamname " + name_ + "))", beam};
  p.since = std::chrono::steady_clock::now();
  // A sync-mode server waits on a connection that stays silent.
  sendFrame(p.fd, "(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(TYPES[unum - 1]) + ")");
  players_.push_back(p);
  ++open_;
  ++connected_;
  return true;
}

// The next shirt, once the last one's robot exists and the gap has passed.
void StillTeam::joinNext() {
  if (gap_ < 0 || players_.empty() || players_.size() >= 11 || !error().empty()) return;
  const Player& last = players_.back();
  if (!last.heard && last.fd < 0) {
    std::lock_guard<std::mutex> lock(errorMutex_);
    error_ = "the server closed player " + std::to_string(players_.size()) + " before its robot showed";
    return;
  }
  if (!last.heard || std::chrono::steady_clock::now() - last.since < std::chrono::duration<double>(gap_)) return;
  join(static_cast<int>(players_.size()) + 1);
}

StillTeam::~StillTeam() {
  stop();
  for (Player& p : players_)
    if (p.fd >= 0) ::close(p.fd);
}

void StillTeam::start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
}

void StillTeam::stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

// Reads what arrived and answers each whole message; false once the server
// has closed the connection.
bool StillTeam::answer(Player& p) {
  char buf[65536];
  const ssize_t n = ::recv(p.fd, buf, sizeof buf, MSG_DONTWAIT);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
  if (n > 0) p.in.append(buf, static_cast<size_t>(n));
  while (p.in.size() >= 4) {
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(p.in[i])); };
    const size_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (p.in.size() < 4 + length) break;
    p.in.erase(0, 4 + length);
    p.heard = true;
    std::string reply = p.replies.empty() ? std::string() : p.replies.front();
    if (!p.replies.empty()) p.replies.erase(p.replies.begin());
    if (!sendFrame(p.fd, reply + "(syn)")) return false;
  }
  return true;
}

void StillTeam::loop() {
  while (!stop_) {
    joinNext();
    std::vector<pollfd> fds;
    for (const Player& p : players_) fds.push_back({p.fd, static_cast<short>(p.fd >= 0 ? POLLIN : 0), 0});
    if (::poll(fds.data(), fds.size(), 10) <= 0) continue;
    for (size_t i = 0; i < players_.size(); ++i) {
      Player& p = players_[i];
      if (p.fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      if (!answer(p)) {
        ::close(p.fd);
        p.fd = -1;
        --open_;
      }
    }
  }
}

}  // namespace stillteam
