#ifndef UTILS_COMMUNICATION_SERVERCOMM_H
#define UTILS_COMMUNICATION_SERVERCOMM_H

#include <cstddef>
#include <string>

#include <netinet/in.h>

// State of one connection.
struct Socket {
  int socketfd;  // -1 when there is no usable socket
  int errnumber; // errno of a failed connect, else 0
  sockaddr_in serv_addr;
};

// Opens a TCP client connection to host (name or dotted quad) and port.
// Failures show in the record: socketfd -1 (and errnumber after a failed connect).
Socket init_connection(const char* host, int port);

// Datagram helpers over a Socket.
// Sends buf with its NUL to serv_addr; 0 when every byte went out, else -1.
int send_message(const char* buf, const Socket& sock);
// Receives one datagram (at most 32768 bytes; buf holds 32769) and NUL-terminates
// it; replies then go to the sender's port. 1 with data, 0 for nothing waiting or
// an empty datagram, -1 on error.
int receive_message(char* buf, Socket& sock);
// Newest waiting datagram, or the first within 100 tries 50 ms apart: 1, else 0.
int wait_message(char* buf, Socket& sock);
void close_connection(Socket& sock);

// The link to the simulation server. Every message, both ways, is a 4-byte
// big-endian length and that many bytes of text.
class ServerComm {
 public:
  static const size_t BufferSize = 65536;
  // prefix, text and NUL share the buffer
  static const size_t MaxTextLength = BufferSize - 5;

  ServerComm();
  ~ServerComm();

  void initialize(const std::string& host, int port);

  // Waits without time-out until the socket is readable.
  bool SelectInput();
  // The same without waiting.
  bool TestInput();
  // Reads one whole message into mBuffer. False when the wait was
  // interrupted, when there is no connection, or when an oversized message was
  // dropped. A closed connection or a failed link prints one line naming the
  // server and ends the process with status 1.
  bool receive();
  // Text of the last message (up to its first NUL); sending leaves it alone.
  std::string getMsg();
  // Frames and writes text whole; false when it could not. Once a message has
  // been received, each is answered by one "(syn)": a server in sync mode
  // would take a second one as the answer to its next message and step
  // without waiting for it, leaving this agent a cycle behind for good. So a
  // text ending in "(syn)" after the answer goes out without it (nothing goes
  // out when nothing else is left).
  bool send(const std::string& text);
  // Whether a message ending in "(syn)" has gone out since the last message
  // was received: every received message must be answered by one.
  bool answered() const { return mAnswered; }

  char mBuffer[BufferSize];  // the last received message
  Socket sock;

 private:
  [[noreturn]] void lost(const std::string& what) const;
  void readExactly(char* dst, size_t n);

  std::string mServer;    // "host port N", for the line that reports a lost link
  std::string mOutgoing;  // the frame being sent, kept apart from mBuffer
  bool mAnswered = true;
  bool mReceived = false;  // a message has come: from now on one (syn) each
};

#endif
