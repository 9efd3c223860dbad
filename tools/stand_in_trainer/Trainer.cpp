#include "Trainer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iomanip>

namespace trainer {

namespace {

const size_t kShownText = 60;

uint32_t lengthAt(const std::string& s, size_t pos) {
  const auto* b = reinterpret_cast<const unsigned char*>(s.data() + pos);
  return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
}

// The text column: control bytes escaped, long texts cut.
std::string shown(const Record& r) {
  std::string s;
  if (r.kind == Record::Shirt) {
    char hex[4];
    for (unsigned char c : r.bytes) {
      std::snprintf(hex, sizeof hex, "%02x", c);
      if (!s.empty()) s += ' ';
      s += hex;
    }
    return s;
  }
  for (size_t i = 0; i < r.bytes.size() && i < kShownText; ++i) {
    const unsigned char c = static_cast<unsigned char>(r.bytes[i]);
    if (c < 32 || c == 127) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02x", c);
      s += esc;
    } else {
      s += static_cast<char>(c);
    }
  }
  if (r.bytes.size() > kShownText) s += "...";
  return s;
}

const char* kindName(Record::Kind k) {
  switch (k) {
    case Record::Shirt: return "shirt";
    case Record::FrameIn: return "in";
    case Record::FrameOut: return "out";
    case Record::Closed: return "closed";
  }
  return "?";
}

}  // namespace

std::string frame(const std::string& text) {
  const uint32_t be = htonl(static_cast<uint32_t>(text.size()));
  return std::string(reinterpret_cast<const char*>(&be), 4) + text;
}

Trainer::Trainer(const TrainerOptions& options) : options_(options) {}

Trainer::~Trainer() {
  for (Link& l : links_) ::close(l.fd);
  if (listen_ >= 0) ::close(listen_);
}

bool Trainer::start(std::string& error) {
  listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listen_ < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  int one = 1;
  ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(options_.port));
  if (::inet_pton(AF_INET, options_.host.c_str(), &addr.sin_addr) != 1) {
    error = "bad host address '" + options_.host + "'";
    return false;
  }
  if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_, 16) != 0) {
    error = "cannot listen on " + options_.host + ":" + std::to_string(options_.port) + ": " + std::strerror(errno);
    return false;
  }
  socklen_t len = sizeof addr;
  ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  return true;
}

void Trainer::run(const std::function<bool()>& stop, std::ostream& out) {
  out << std::left << std::setw(5) << "link" << std::setw(6) << "shirt" << std::setw(7) << "what" << std::setw(7)
      << "bytes" << "text" << std::endl;
  while (!stop()) pollOnce(20, out);
}

void Trainer::record(const Link& l, Record::Kind kind, const std::string& bytes, std::ostream& out) {
  Record r{l.id, l.shirt, kind, bytes};
  out << std::left << std::setw(5) << r.link << std::setw(6) << r.shirt << std::setw(7) << kindName(kind)
      << std::setw(7) << bytes.size() << shown(r) << std::endl;
  if (options_.keepRecords) records_.push_back(std::move(r));
}

void Trainer::pollOnce(int timeoutMs, std::ostream& out) {
  std::vector<pollfd> fds;
  fds.push_back({listen_, POLLIN, 0});
  for (const Link& l : links_)
    fds.push_back({l.fd, static_cast<short>(POLLIN | (l.out.empty() ? 0 : POLLOUT)), 0});
  if (::poll(fds.data(), fds.size(), timeoutMs) <= 0) return;

  for (size_t i = 0; i < links_.size(); ++i) {
    const short ev = fds[i + 1].revents;
    if (ev & (POLLIN | POLLHUP | POLLERR)) readFrom(links_[i], out);
    if (!links_[i].dead && !links_[i].out.empty()) flush(links_[i]);
    if (links_[i].closing && links_[i].out.empty()) links_[i].dead = true;
  }
  for (size_t i = links_.size(); i-- > 0;) {
    if (!links_[i].dead) continue;
    record(links_[i], Record::Closed, std::string(), out);
    ::close(links_[i].fd);
    links_.erase(links_.begin() + static_cast<long>(i));
  }
  if (fds[0].revents & POLLIN) acceptOne();
}

void Trainer::acceptOne() {
  int fd = ::accept(listen_, nullptr, nullptr);
  if (fd < 0) return;
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
  Link l;
  l.fd = fd;
  l.id = nextId_++;
  links_.push_back(l);
}

void Trainer::readFrom(Link& l, std::ostream& out) {
  char buf[65536];
  for (;;) {
    ssize_t n = ::recv(l.fd, buf, sizeof buf, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {
      l.dead = true;  // the agent closed its end, or an error
      return;
    }
    l.in.append(buf, static_cast<size_t>(n));

    if (!l.shirtRead) {
      if (l.in.size() < 4) continue;
      l.shirt = lengthAt(l.in, 0);
      l.shirtRead = true;
      record(l, Record::Shirt, l.in.substr(0, 4), out);
      l.in.erase(0, 4);
      if (options_.hangupAfter == 0) {
        l.dead = true;
        return;
      }
      if (options_.confirm) {
        sendFrame(l, options_.confirmation, out);
        if (options_.oversized > 0) sendFrame(l, std::string(options_.oversized, 'x'), out);
        sendNextCommand(l, out);
      }
    }
    size_t pos = 0;
    while (l.in.size() - pos >= 4) {
      const uint32_t len = lengthAt(l.in, pos);
      if (len > MaxFrame) {
        l.dead = true;
        return;
      }
      if (l.in.size() - pos - 4 < len) break;
      const std::string text = l.in.substr(pos + 4, len);
      pos += 4 + len;
      handleFrame(l, text, out);
      if (l.dead || l.closing) break;
    }
    l.in.erase(0, pos);
    if (l.dead || l.closing) return;
  }
}

void Trainer::handleFrame(Link& l, const std::string& text, std::ostream& out) {
  record(l, Record::FrameIn, text, out);
  if (text != "Ok") return;
  ++l.oks;
  if (options_.hangupAfter > 0 && l.oks >= options_.hangupAfter) {
    l.closing = true;
    return;
  }
  sendNextCommand(l, out);
}

void Trainer::sendNextCommand(Link& l, std::ostream& out) {
  const std::vector<std::string>& commands = options_.commands;
  if (commands.empty()) return;
  if (l.nextCommand >= commands.size()) {
    if (!options_.loop) return;
    l.nextCommand = 0;
  }
  sendFrame(l, commands[l.nextCommand++], out);
}

void Trainer::sendFrame(Link& l, const std::string& text, std::ostream& out) {
  record(l, Record::FrameOut, text, out);
  l.out += frame(text);
  flush(l);
}

void Trainer::flush(Link& l) {
  while (!l.out.empty()) {
    ssize_t n = ::send(l.fd, l.out.data(), l.out.size(), MSG_NOSIGNAL);
    if (n > 0) {
      l.out.erase(0, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    l.dead = true;
    return;
  }
}

}  // namespace trainer
