// A stand-in for the outside trainer that drives an agent's training mode:
// it listens for agents, reads each one's shirt number, confirms the link,
// sends one command per agent cycle and records every frame it gets.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace trainer {

struct TrainerOptions {
  std::string host = "127.0.0.1";
  int port = 4100;  // 0 lets the system choose
  // Text of the frame that confirms the link; with `confirm` false the
  // trainer accepts the agent and never answers.
  std::string confirmation = "established";
  bool confirm = true;
  // Commands, one sent after the confirmation and one after each "Ok" that
  // ends an agent's cycle; with `loop` the list starts over when used up.
  std::vector<std::string> commands;
  bool loop = false;
  // Closes a link after this many "Ok" replies (-1: never; 0: right after the
  // shirt number, before any confirmation).
  int hangupAfter = -1;
  // When not 0: one frame announcing that many bytes (and carrying them) is
  // sent after the confirmation, before the first command.
  uint32_t oversized = 0;
  // Keep every record in memory (records()); they are printed either way.
  bool keepRecords = false;
};

struct Record {
  enum Kind { Shirt, FrameIn, FrameOut, Closed };
  int link;         // 1 for the first agent that connected, and so on
  unsigned shirt;   // 0 until the shirt number has arrived
  Kind kind;
  std::string bytes;  // the shirt number's 4 bytes, or a frame's text
};

class Trainer {
 public:
  explicit Trainer(const TrainerOptions& options);
  ~Trainer();
  Trainer(const Trainer&) = delete;
  Trainer& operator=(const Trainer&) = delete;

  // Binds and listens; false with a reason when that fails.
  bool start(std::string& error);
  int port() const { return port_; }

  // Serves agents until stop() returns true, printing one table row per
  // record (after a header row).
  void run(const std::function<bool()>& stop, std::ostream& out);

  const std::vector<Record>& records() const { return records_; }

  // Frames larger than this from an agent end its link.
  static const uint32_t MaxFrame = 1u << 20;

 private:
  struct Link {
    int fd = -1;
    int id = 0;
    unsigned shirt = 0;
    bool shirtRead = false;
    std::string in, out;
    size_t nextCommand = 0;
    int oks = 0;
    bool closing = false;  // close once `out` has gone
    bool dead = false;
  };

  void pollOnce(int timeoutMs, std::ostream& out);
  void acceptOne();
  void readFrom(Link& l, std::ostream& out);
  void handleFrame(Link& l, const std::string& text, std::ostream& out);
  void sendFrame(Link& l, const std::string& text, std::ostream& out);
  void sendNextCommand(Link& l, std::ostream& out);
  void flush(Link& l);
  void record(const Link& l, Record::Kind kind, const std::string& bytes, std::ostream& out);

  TrainerOptions options_;
  int listen_ = -1;
  int port_ = 0;
  int nextId_ = 1;
  std::vector<Link> links_;
  std::vector<Record> records_;
};

// A frame: 4-byte big-endian length, then the text.
std::string frame(const std::string& text);

}  // namespace trainer
