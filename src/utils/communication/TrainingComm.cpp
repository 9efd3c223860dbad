#include "utils/communication/TrainingComm.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Waits at most ms for the descriptor to become readable (or writable).
bool waitReady(int fd, bool forWrite, int ms) {
  if (fd < 0) return false;
  pollfd p = {fd, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
  for (;;) {
    int r = poll(&p, 1, ms);
    if (r > 0) return true;
    if (r < 0 && errno == EINTR) continue;
    return false;
  }
}

}  // namespace

TrainingComm::TrainingComm()
    : init(false),
      headerGot_(0),
      textLength_(0),
      textGot_(0),
      dropping_(false),
      complete_(false),
      waitReported_(false),
      lastRead_(FramePartial) {
  std::memset(mBuffer, 0, sizeof mBuffer);
  std::memset(&sock, 0, sizeof sock);
  sock.socketfd = -1;
}

TrainingComm::~TrainingComm() { close_connection(sock); }

void TrainingComm::resetFrame() {
  headerGot_ = 0;
  textLength_ = 0;
  textGot_ = 0;
  dropping_ = false;
}

void TrainingComm::closeLink() {
  close_connection(sock);
  resetFrame();
  complete_ = false;
  init = false;
}

void TrainingComm::initialize(int port, unsigned int unum) {
  if (init) return;
  if (sock.socketfd < 0) {
    resetFrame();
    complete_ = false;
    waitReported_ = false;
    // a failed connect has already closed its socket
    sock = init_connection("127.0.0.1", port);
    if (sock.socketfd < 0) return;
    std::memset(mBuffer, 0, sizeof mBuffer);
    if (!sendNum(unum)) {
      closeLink();
      return;
    }
  }

  // Only the first call for a connection waits; later ones just look.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(waitReported_ ? 0 : ConfirmationWaitMs);
  for (;;) {
    if (!TestInput()) {
      if (!waitReported_) {
        std::cerr << "[TRAINING MODE] Waiting connection confirmation from Gym" << std::endl;
        waitReported_ = true;
      }
      const long long left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0 || !waitReady(sock.socketfd, false, static_cast<int>(left))) return;
      continue;
    }
    if (receive()) {
      std::cerr << "[TRAINING MODE] Connection " << getMsg() << "." << std::endl;
      init = true;
      return;
    }
    if (lastRead_ == StreamClosed || lastRead_ == StreamError) {
      closeLink();
      return;
    }
  }
}

bool TrainingComm::TestInput() { return waitReady(sock.socketfd, false, 0); }

TrainingComm::ReadResult TrainingComm::readFrame(size_t& textRead) {
  textRead = 0;
  for (;;) {
    char* dst;
    size_t want;
    if (headerGot_ < 4) {
      dst = mBuffer + headerGot_;
      want = 4 - headerGot_;
    } else {
      const uint64_t left = textLength_ - textGot_;
      // a dropped frame is read through the text part of the buffer
      dst = mBuffer + 4 + (dropping_ ? 0 : textGot_);
      want = static_cast<size_t>(left < MaxTextLength ? left : MaxTextLength);
    }

    ssize_t r = read(sock.socketfd, dst, want);
    if (r == 0) return StreamClosed;
    if (r < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return FramePartial;
      return StreamError;
    }

    if (headerGot_ < 4) {
      headerGot_ += static_cast<size_t>(r);
      if (headerGot_ < 4) continue;
      uint32_t be;
      std::memcpy(&be, mBuffer, 4);
      textLength_ = ntohl(be);
      textGot_ = 0;
      dropping_ = textLength_ > MaxTextLength;
      if (dropping_)
        std::cerr << "[TRAINING MODE] Frame of " << textLength_ << " bytes from Gym discarded (limit "
                  << MaxTextLength << " bytes)." << std::endl;
    } else {
      textGot_ += static_cast<uint64_t>(r);
      textRead += static_cast<size_t>(r);
    }

    if (textGot_ == textLength_) {
      const bool dropped = dropping_;
      mBuffer[4 + (dropped ? 0 : textLength_)] = '\0';
      resetFrame();
      return dropped ? FrameDropped : FrameComplete;
    }
  }
}

bool TrainingComm::receive() {
  complete_ = false;
  if (sock.socketfd < 0) {
    lastRead_ = StreamError;
    return false;
  }
  size_t n = 0;
  lastRead_ = readFrame(n);
  switch (lastRead_) {
    case FrameComplete:
      std::cerr << "[TRAINING MODE] " << n << " bytes received from Gym" << std::endl;
      // an empty frame carries no message
      complete_ = mBuffer[4] != '\0';
      return complete_;
    case FramePartial:
      if (dropping_) return false;
      if (headerGot_ < 4)
        std::cerr << "[TRAINING MODE] Message Length Could Not Be Read!" << std::endl;
      else
        std::cerr << "[TRAINING MODE] " << n << " bytes received from Gym" << std::endl;
      return false;
    case FrameDropped:
      return false;
    case StreamClosed:
      std::cerr << "[TRAINING MODE] ZERO bytes received from Gym. Possible socket disconnected."
                << std::endl;
      return false;
    case StreamError:
      std::cerr << "[TRAINING MODE] Error receiving message from Gym" << std::endl;
      return false;
  }
  return false;
}

std::string TrainingComm::getMsg() { return complete_ ? std::string(mBuffer + 4) : std::string(); }

bool TrainingComm::writeAll(const char* data, size_t n) {
  if (sock.socketfd < 0) return false;
  size_t off = 0;
  while (off < n) {
    // a trainer that has gone makes the write fail instead of raising SIGPIPE
    ssize_t w = ::send(sock.socketfd, data + off, n - off, MSG_NOSIGNAL);
    if (w > 0) {
      off += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
        waitReady(sock.socketfd, true, ConfirmationWaitMs))
      continue;
    return false;
  }
  return true;
}

bool TrainingComm::sendNum(unsigned int n) {
  const uint32_t be = htonl(static_cast<uint32_t>(n));
  char bytes[4];
  std::memcpy(bytes, &be, 4);
  return writeAll(bytes, 4);
}

bool TrainingComm::sendMsg(const std::string& text) {
  if (text.size() > MaxTextLength) {
    std::cerr << "[TRAINING MODE] Message of " << text.size() << " bytes not sent (limit "
              << MaxTextLength << " bytes)." << std::endl;
    return false;
  }
  // framed apart from mBuffer, which may hold a frame still arriving
  std::string bytes(4 + text.size(), '\0');
  const uint32_t be = htonl(static_cast<uint32_t>(text.size()));
  std::memcpy(&bytes[0], &be, 4);
  std::memcpy(&bytes[4], text.data(), text.size());
  return writeAll(bytes.data(), bytes.size());
}

bool TrainingComm::isInitialized() { return init; }
