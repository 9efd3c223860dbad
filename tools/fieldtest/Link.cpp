#include "Link.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace fieldtest {

namespace {
// Acknowledge at once: a server that waits for the acknowledgement before
// sending its next small frame would otherwise deliver them in bursts.
void quickAck(int fd) {
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
}

// Larger frames are not monitor frames of any server we know.
constexpr uint32_t kMaxFrame = 64u << 20;
}

Link::~Link() { close(); }

bool Link::connect(const std::string& host, int port, std::string& error) {
  close();
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr) {
    error = "cannot resolve " + host;
    return false;
  }
  fd_ = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  const bool ok = fd_ >= 0 && ::connect(fd_, found->ai_addr, found->ai_addrlen) == 0;
  const int err = errno;
  ::freeaddrinfo(found);
  if (!ok) {
    error = "cannot connect to " + host + " port " + service + ": " + std::strerror(err);
    close();
    return false;
  }
  quickAck(fd_);
  return true;
}

void Link::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
}

bool Link::send(const std::string& text) {
  if (fd_ < 0) return false;
  const uint32_t n = static_cast<uint32_t>(text.size());
  std::string bytes;
  bytes.push_back(static_cast<char>(n >> 24));
  bytes.push_back(static_cast<char>(n >> 16));
  bytes.push_back(static_cast<char>(n >> 8));
  bytes.push_back(static_cast<char>(n));
  bytes += text;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t w = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    done += static_cast<size_t>(w);
  }
  return true;
}

std::optional<std::string> Link::take() {
  if (buffer_.size() < 4) return std::nullopt;
  const auto* b = reinterpret_cast<const unsigned char*>(buffer_.data());
  const uint32_t n = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
  if (n > kMaxFrame) {
    close();
    return std::nullopt;
  }
  if (buffer_.size() < 4 + size_t{n}) return std::nullopt;
  std::string frame = buffer_.substr(4, n);
  buffer_.erase(0, 4 + size_t{n});
  return frame;
}

bool Link::fill(int ms) {
  pollfd p{fd_, POLLIN, 0};
  const int r = ::poll(&p, 1, ms);
  if (r <= 0) return false;
  char buf[65536];
  const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
  if (n > 0) {
    quickAck(fd_);
    buffer_.append(buf, static_cast<size_t>(n));
    return true;
  }
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
  close();
  return false;
}

std::optional<std::string> Link::receive(int ms) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (fd_ < 0) return std::nullopt;
    if (auto f = take()) return f;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (!fill(left > 0 ? static_cast<int>(left) : 0)) {
      if (fd_ < 0 || left <= 0) return std::nullopt;
    }
  }
}

}  // namespace fieldtest
