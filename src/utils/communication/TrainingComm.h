#ifndef UTILS_COMMUNICATION_TRAININGCOMM_H
#define UTILS_COMMUNICATION_TRAININGCOMM_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "utils/communication/ServerComm.h"

// The agent's end of the link to an outside trainer on this machine. Frames,
// both ways, are a 4-byte big-endian length and that many bytes of text; the
// agent opens the link with its shirt number as a bare 4-byte big-endian
// number and waits for one frame of confirmation. One per process, through
// Singleton<TrainingComm>.
class TrainingComm {
 public:
  static const size_t BufferSize = 65536;
  // length word, text and NUL share the buffer
  static const size_t MaxTextLength = BufferSize - 5;
  // Longest wait for the trainer's confirmation in one call of initialize().
  static const int ConfirmationWaitMs = 1000;

  TrainingComm();
  ~TrainingComm();
  TrainingComm(const TrainingComm&) = delete;
  TrainingComm& operator=(const TrainingComm&) = delete;

  // Connects to the trainer on 127.0.0.1:port, sends the shirt number and
  // waits at most ConfirmationWaitMs for the confirmation. Without it the link
  // stays down; a connection that was made is kept and the next call only
  // looks for the confirmation again. A refused or failed connection, or a
  // trainer that goes away during the handshake, leaves no socket open.
  void initialize(int port, unsigned int unum);
  // True when bytes can be read now.
  bool TestInput();
  // Reads what has arrived of the current frame without waiting. True once a
  // frame with text is complete in mBuffer; a frame may take several calls.
  // An oversized frame is read off and dropped.
  bool receive();
  // Text of the last complete frame ("" when the last receive() failed).
  std::string getMsg();
  bool sendNum(unsigned int n);
  // Frames and writes text whole; false when it could not (never SIGPIPE).
  bool sendMsg(const std::string& text);
  bool isInitialized();

  char mBuffer[BufferSize];
  bool init;
  Socket sock;

 private:
  enum ReadResult { FrameComplete, FramePartial, FrameDropped, StreamClosed, StreamError };

  ReadResult readFrame(size_t& bytesRead);
  bool writeAll(const char* data, size_t n);
  void closeLink();
  void resetFrame();

  size_t headerGot_;   // bytes of the length word read so far
  uint64_t textLength_;  // announced length of the current frame
  uint64_t textGot_;     // its bytes read so far (or dropped)
  bool dropping_;        // the current frame is too long for the buffer
  bool complete_;        // mBuffer holds a complete frame
  bool waitReported_;    // the waiting line was written for this connection
  ReadResult lastRead_;  // how the last receive() ended
};

#endif
