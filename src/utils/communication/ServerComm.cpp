#include "utils/communication/ServerComm.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

Socket init_connection(const char* host, int port) {
  Socket sock;
  std::memset(&sock, 0, sizeof sock);
  sock.socketfd = -1;
  sock.errnumber = 0;
  if (!host) return sock;

  std::string addr = host;
  if (hostent* he = gethostbyname(host)) {
    if (he->h_addrtype == AF_INET && he->h_addr_list[0]) {
      in_addr a;
      std::memcpy(&a, he->h_addr_list[0], sizeof a);
      addr = inet_ntoa(a);
    }
  } else if (inet_addr(host) == INADDR_NONE) {
    return sock;
  }

  sigset_t sigio;
  sigemptyset(&sigio);
  sigaddset(&sigio, SIGIO);
  sigprocmask(SIG_BLOCK, &sigio, nullptr);

  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return sock;
  if (fcntl(fd, F_SETOWN, getpid()) < 0) {
    close(fd);
    return sock;
  }
  sockaddr_in local;
  std::memset(&local, 0, sizeof local);
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(0);
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) < 0) {
    close(fd);
    return sock;
  }

  sock.socketfd = fd;
  sock.serv_addr.sin_family = AF_INET;
  sock.serv_addr.sin_addr.s_addr = inet_addr(addr.c_str());
  sock.serv_addr.sin_port = htons(static_cast<uint16_t>(port));

  if (connect(fd, reinterpret_cast<sockaddr*>(&sock.serv_addr), sizeof sock.serv_addr) < 0) {
    int err = errno;
    std::perror("Failed");
    std::cerr << "Connectr failed " << err << "\n";
    sock.errnumber = err;
  }
  int flags = fcntl(fd, F_GETFL, 0);
  if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK | O_ASYNC);
  if (sock.errnumber != 0) {
    // an unconnected socket is of no use: receive and send fail at once
    close(fd);
    sock.socketfd = -1;
  }
  return sock;
}

int send_message(const char* buf, const Socket& sock) {
  if (!buf) return 0;
  size_t n = std::strlen(buf) + 1;
  ssize_t sent = sendto(sock.socketfd, buf, n, 0,
                        reinterpret_cast<const sockaddr*>(&sock.serv_addr), sizeof sock.serv_addr);
  return sent == static_cast<ssize_t>(n) ? 0 : -1;
}

int receive_message(char* buf, Socket& sock) {
  sockaddr_in from;
  socklen_t fromlen = sizeof from;
  ssize_t n = recvfrom(sock.socketfd, buf, 32768, 0, reinterpret_cast<sockaddr*>(&from), &fromlen);
  if (n < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    std::perror("");
    std::fflush(stderr);
    return -1;
  }
  if (n == 0) return 0;
  buf[n] = '\0';
  sock.serv_addr.sin_port = from.sin_port;
  return 1;
}

int wait_message(char* buf, Socket& sock) {
  if (receive_message(buf, sock) == 1) {
    while (receive_message(buf, sock) == 1) {
    }
    return 1;
  }
  for (int tries = 0; tries < 100; ++tries) {
    if (receive_message(buf, sock) == 1) return 1;
    usleep(50000);
  }
  return 0;
}

void close_connection(Socket& sock) {
  if (sock.socketfd >= 0) close(sock.socketfd);
  sock.socketfd = -1;
}

namespace {

// One select on the descriptor alone: its result, or -1 for a descriptor that
// select cannot watch. A null timeout waits without limit.
int selectOne(int fd, bool forWrite, timeval* timeout) {
  if (fd < 0 || fd >= FD_SETSIZE) return -1;
  fd_set set;
  FD_ZERO(&set);
  FD_SET(fd, &set);
  return select(fd + 1, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, timeout);
}

// Waits for the descriptor, retrying when a signal interrupts the wait.
bool waitFor(int fd, bool forWrite) {
  if (fd < 0 || fd >= FD_SETSIZE) return false;
  for (;;) {
    int r = selectOne(fd, forWrite, nullptr);
    if (r > 0) return true;
    if (r < 0 && errno == EINTR) continue;
    return false;
  }
}

}  // namespace

ServerComm::ServerComm() {
  std::memset(mBuffer, 0, sizeof mBuffer);
  std::memset(&sock, 0, sizeof sock);
  sock.socketfd = -1;
}

ServerComm::~ServerComm() { close_connection(sock); }

void ServerComm::initialize(const std::string& host, int port) {
  close_connection(sock);
  mServer = host + " port " + std::to_string(port);
  mAnswered = true;
  sock = init_connection(host.c_str(), port);
  std::memset(mBuffer, 0, sizeof mBuffer);
}

bool ServerComm::SelectInput() { return selectOne(sock.socketfd, false, nullptr) > 0; }

bool ServerComm::TestInput() {
  timeval zero = {0, 0};
  return selectOne(sock.socketfd, false, &zero) == 1;
}

void ServerComm::lost(const std::string& what) const {
  std::cerr << "Lost the simulation server at " << mServer << ": " << what << std::endl;
  std::exit(1);
}

// Reads exactly n bytes. The end of the stream or a hard error ends the process
// with status 1: a half-read message cannot be recovered.
void ServerComm::readExactly(char* dst, size_t n) {
  size_t got = 0;
  while (got < n) {
    ssize_t r = read(sock.socketfd, dst + got, n - got);
    if (r > 0) {
      got += static_cast<size_t>(r);
      continue;
    }
    if (r == 0) lost("it closed the connection");
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (waitFor(sock.socketfd, false)) continue;
    }
    lost(std::strerror(errno));
  }
}

bool ServerComm::receive() {
  if (sock.socketfd < 0) return false;
  if (!SelectInput()) {
    if (errno == EINTR) return false;
    lost(std::string("cannot wait for it: ") + std::strerror(errno));
  }

  readExactly(mBuffer, 4);
  uint32_t be;
  std::memcpy(&be, mBuffer, 4);
  const size_t n = ntohl(be);

  if (n > MaxTextLength) {
    // drain it so the next message starts in step, and drop it
    for (size_t left = n; left > 0;) {
      size_t chunk = left < BufferSize - 4 ? left : BufferSize - 4;
      readExactly(mBuffer + 4, chunk);
      left -= chunk;
    }
    mBuffer[4] = '\0';
    mAnswered = false;  // it was a message all the same
    mReceived = true;
    std::cerr << "ServerComm: dropped a message of " << n << " bytes (limit " << MaxTextLength
              << ")" << std::endl;
    return false;
  }

  readExactly(mBuffer + 4, n);
  mBuffer[4 + n] = '\0';
  mAnswered = false;
  mReceived = true;
  return true;
}

std::string ServerComm::getMsg() { return std::string(mBuffer + 4); }

namespace {

// Where a closing "(syn)" starts in msg (trailing line ends aside), or npos.
size_t synAt(const std::string& msg) {
  const size_t end = msg.find_last_not_of('\n');
  if (end == std::string::npos || end < 4 || msg.compare(end - 4, 5, "(syn)") != 0) return std::string::npos;
  return end - 4;
}

}  // namespace

bool ServerComm::send(const std::string& text) {
  if (sock.socketfd < 0) return false;
  const size_t syn = synAt(text);
  std::string trimmed;
  if (syn != std::string::npos && mReceived && mAnswered) {
    trimmed = text.substr(0, syn) + text.substr(syn + 5);
    if (trimmed.find_first_not_of('\n') == std::string::npos) return true;
  }
  const std::string& msg = trimmed.empty() ? text : trimmed;
  const size_t n = msg.size();
  if (n > MaxTextLength) {
    std::cerr << "ServerComm: message of " << n << " bytes not sent (limit " << MaxTextLength
              << ")" << std::endl;
    return false;
  }
  const uint32_t be = htonl(static_cast<uint32_t>(n));
  mOutgoing.assign(reinterpret_cast<const char*>(&be), 4);
  mOutgoing += msg;

  size_t off = 0;
  while (off < mOutgoing.size()) {
    // No SIGPIPE when the server has gone: the write fails and the next read
    // reports the lost link.
    ssize_t w = ::send(sock.socketfd, mOutgoing.data() + off, mOutgoing.size() - off, MSG_NOSIGNAL);
    if (w > 0) {
      off += static_cast<size_t>(w);
      continue;
    }
    if (w == 0) return false;
    if (errno == EINTR) continue;
    if ((errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(sock.socketfd, true)) continue;
    if (errno != EPIPE && errno != ECONNRESET)
      std::cerr << "Cannot send to the simulation server at " << mServer << ": "
                << std::strerror(errno) << std::endl;
    return false;
  }
  if (syn != std::string::npos) mAnswered = true;
  return true;
}
