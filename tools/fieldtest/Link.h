// A framed TCP client connection (4-byte big-endian length, then the text),
// used for the server's monitor port.
#pragma once

#include <optional>
#include <string>

namespace fieldtest {

class Link {
 public:
  Link() = default;
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Connects to host (name or dotted quad) and port; false with a reason.
  bool connect(const std::string& host, int port, std::string& error);
  bool open() const { return fd_ >= 0; }
  void close();
  bool send(const std::string& text);
  // The next whole frame, waiting at most `ms` (0: only what is already
  // there); nothing on time-out or when the peer closed (then open() is false).
  std::optional<std::string> receive(int ms);

 private:
  std::optional<std::string> take();
  bool fill(int ms);

  int fd_ = -1;
  std::string buffer_;
};

}  // namespace fieldtest
