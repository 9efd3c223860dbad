// The server link against real sockets on 127.0.0.1, the test playing the server.

#include <csignal>
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
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "utils/communication/ServerComm.h"

namespace {

std::string frame(const std::string& text) {
  uint32_t be = htonl(static_cast<uint32_t>(text.size()));
  return std::string(reinterpret_cast<const char*>(&be), 4) + text;
}

void writeAll(int fd, const std::string& bytes) {
  size_t off = 0;
  while (off < bytes.size()) {
    ssize_t w = write(fd, bytes.data() + off, bytes.size() - off);
    ASSERT_GT(w, 0) << std::strerror(errno);
    off += static_cast<size_t>(w);
  }
}

// Bytes that arrive within the time-out.
std::string readFor(int fd, size_t want, int timeoutMs) {
  std::string got;
  char buf[4096];
  while (got.size() < want) {
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) break;
    ssize_t r = read(fd, buf, std::min(sizeof buf, want - got.size()));
    if (r <= 0) break;
    got.append(buf, static_cast<size_t>(r));
  }
  return got;
}

int countLines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

class ServerCommTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(20);  // a hanging test fails instead of hanging
    listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    socklen_t len = sizeof addr;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    port = ntohs(addr.sin_port);
  }

  void connectComm(const std::string& host = "127.0.0.1") {
    comm = std::make_unique<ServerComm>();
    comm->initialize(host, port);
    ASSERT_GE(comm->sock.socketfd, 0);
    peer = accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);
  }

  void TearDown() override {
    if (writer.joinable()) writer.join();
    comm.reset();
    if (peer >= 0) close(peer);
    if (listener >= 0) close(listener);
    alarm(0);
  }

  // Writes the pieces from another thread, pausing between them so that they
  // reach the link as separate reads.
  void writeInPieces(std::vector<std::string> pieces) {
    writer = std::thread([this, pieces] {
      for (const std::string& p : pieces) {
        writeAll(peer, p);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
      }
    });
  }

  int listener = -1;
  int peer = -1;
  int port = 0;
  std::unique_ptr<ServerComm> comm;
  std::thread writer;
};

struct FramingCase {
  const char* name;
  std::vector<std::string> pieces;
  std::vector<std::string> messages;
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }

class FramingTable : public ServerCommTest, public ::testing::WithParamInterface<FramingCase> {};

TEST_P(FramingTable, ReceivesWholeMessages) {
  connectComm();
  writeInPieces(GetParam().pieces);
  for (const std::string& expected : GetParam().messages) {
    ASSERT_TRUE(comm->receive());
    EXPECT_EQ(comm->getMsg(), expected);
  }
}

const std::string kMsg = "(time (now 12.30))(GS (t 0.00) (pm BeforeKickOff))";
const std::string kFrame = frame(kMsg);

INSTANTIATE_TEST_SUITE_P(
    Link, FramingTable,
    ::testing::Values(
        FramingCase{"zero_length", {frame(""), frame("(a)")}, {"", "(a)"}},
        FramingCase{"body_in_several_writes",
                    {kFrame.substr(0, 9), kFrame.substr(9, 10), kFrame.substr(19)},
                    {kMsg}},
        FramingCase{"split_prefix", {kFrame.substr(0, 2), kFrame.substr(2)}, {kMsg}},
        FramingCase{"prefix_byte_by_byte",
                    {kFrame.substr(0, 1), kFrame.substr(1, 1), kFrame.substr(2, 1), kFrame.substr(3)},
                    {kMsg}},
        FramingCase{"two_in_one_write", {frame("(a)") + kFrame}, {"(a)", kMsg}},
        FramingCase{"next_prefix_split",
                    {frame("(a)") + kFrame.substr(0, 3), kFrame.substr(3)},
                    {"(a)", kMsg}},
        FramingCase{"largest_text", {frame(std::string(65531, 'x'))}, {std::string(65531, 'x')}}),
    [](const ::testing::TestParamInfo<FramingCase>& info) { return std::string(info.param.name); });

TEST_F(ServerCommTest, OversizedMessageIsDrainedAndDropped) {
  connectComm();
  uint32_t be = htonl(70000);
  std::string big(reinterpret_cast<const char*>(&be), 4);
  big += std::string(70000, 'z');
  writeInPieces({big + frame("(after)")});
  ::testing::internal::CaptureStderr();
  bool got = comm->receive();
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(got);
  EXPECT_EQ(comm->getMsg(), "");
  EXPECT_FALSE(comm->answered());  // a dropped message still wants its answer
  EXPECT_EQ(countLines(err), 1) << err;
  // the link stays in step
  ASSERT_TRUE(comm->receive());
  EXPECT_EQ(comm->getMsg(), "(after)");
}

struct EndCase {
  const char* name;
  std::string before;  // bytes the server writes before it goes away
  bool reset;          // abortive close instead of an orderly one
  const char* what;    // what the one line on standard error says happened
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

const char* const kClosed = "it closed the connection";

class LinkEnd : public ServerCommTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(LinkEnd, EndsTheProcessWithStatusOne) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  connectComm();
  writeAll(peer, frame("(first)"));
  ASSERT_TRUE(comm->receive());
  writeAll(peer, GetParam().before);
  if (GetParam().reset) {
    linger lg = {1, 0};
    ASSERT_EQ(setsockopt(peer, SOL_SOCKET, SO_LINGER, &lg, sizeof lg), 0);
  }
  close(peer);
  peer = -1;
  EXPECT_EXIT(comm->receive(), ::testing::ExitedWithCode(1),
              std::string("^Lost the simulation server at 127\\.0\\.0\\.1 port [0-9]+: ") +
                  GetParam().what + "\n$");
}

INSTANTIATE_TEST_SUITE_P(
    Link, LinkEnd,
    ::testing::Values(EndCase{"close_between_messages", "", false, kClosed},
                      EndCase{"close_inside_prefix", kFrame.substr(0, 2), false, kClosed},
                      EndCase{"close_inside_body", kFrame.substr(0, 10), false, kClosed},
                      EndCase{"reset_inside_body", kFrame.substr(0, 10), true, "Connection reset by peer"},
                      EndCase{"close_while_draining", frame(std::string(70000, 'z')).substr(0, 9000),
                              false, kClosed}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(ServerCommTest, SendingLeavesTheReceivedMessageAndNotesTheAnswer) {
  connectComm();
  EXPECT_TRUE(comm->answered());  // nothing received yet
  writeAll(peer, frame("(first)") + frame("(second)"));
  struct Step {
    const char* send;  // nullptr: receive the next message
    bool answered;
  } steps[] = {
      {nullptr, false},
      {"(init (unum 1)(teamname T))(syn)\n", true},
      {nullptr, false},
      {"(say hello)", false},
      {"(syn) (he1 1)", false},
      {"(beam 1 2 3)(syn)", true},
      {"(he1 0)", true},  // one answer per message is enough
  };
  const char* messages[] = {"(first)", "(second)"};
  int received = 0;
  std::string expected;
  for (const Step& s : steps) {
    if (s.send == nullptr) {
      ASSERT_TRUE(comm->receive());
      expected = messages[received++];
    } else {
      ASSERT_TRUE(comm->send(s.send)) << s.send;
    }
    EXPECT_EQ(comm->getMsg(), expected) << (s.send ? s.send : "receive");
    EXPECT_EQ(comm->answered(), s.answered) << (s.send ? s.send : "receive");
  }
  EXPECT_EQ(received, 2);
}

// One (syn) per received message: a second one would answer the server's next
// message before the agent has seen it, and a server in sync mode would step
// without waiting for the agent from then on.
TEST_F(ServerCommTest, EachMessageIsAnsweredByOneSyn) {
  connectComm();
  writeAll(peer, frame("(first)") + frame("(second)"));
  struct Step {
    const char* send;  // nullptr: receive the next message
    const char* out;   // what the server reads; "" for nothing
  } steps[] = {
      {"(scene x)(syn)\n", "(scene x)(syn)\n"},  // nothing to answer yet: as it is
      {"(syn)", "(syn)"},
      {nullptr, ""},
      {"(beam 1 2 3)(syn)", "(beam 1 2 3)(syn)"},
      {"(he1 1)(syn)\n", "(he1 1)\n"},
      {"(syn)", ""},
      {"(syn)\n", ""},
      {"(he1 2)", "(he1 2)"},
      {nullptr, ""},
      {"(he1 3)(syn)\n", "(he1 3)(syn)\n"},
      {"(say hi)(syn)", "(say hi)"},
  };
  for (const Step& s : steps) {
    if (s.send == nullptr) {
      ASSERT_TRUE(comm->receive());
      continue;
    }
    ASSERT_TRUE(comm->send(s.send)) << s.send;
    // Anything more than expected shows in the next step.
    const std::string want = *s.out ? frame(s.out) : "";
    EXPECT_EQ(readFor(peer, std::max<size_t>(want.size(), 1), want.empty() ? 30 : 1000), want) << s.send;
  }
  EXPECT_EQ(readFor(peer, 1, 30), "");
}

TEST_F(ServerCommTest, SynIsNineBytes) {
  connectComm();
  ASSERT_TRUE(comm->send("(syn)"));
  EXPECT_EQ(readFor(peer, 100, 100), std::string("\0\0\0\x05(syn)", 9));
}

TEST_F(ServerCommTest, SendWritesEveryByteOfALongMessage) {
  connectComm();
  int small = 4096;
  ASSERT_EQ(setsockopt(comm->sock.socketfd, SOL_SOCKET, SO_SNDBUF, &small, sizeof small), 0);
  ASSERT_EQ(setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &small, sizeof small), 0);
  std::string text(65531, ' ');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  std::string received;
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the writer fill the socket
    received = readFor(peer, text.size() + 4, 2000);
  });
  EXPECT_TRUE(comm->send(text));
  reader.join();
  EXPECT_EQ(received, frame(text));
}

TEST_F(ServerCommTest, SendToAClosedServerFailsWithoutSignal) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  connectComm();
  close(peer);
  peer = -1;
  // In a child with SIGPIPE at its default action, as in any program using the
  // link: the first write after the close is answered by a reset, the next fails.
  EXPECT_EXIT(
      {
        std::signal(SIGPIPE, SIG_DFL);
        bool sent = true;
        for (int i = 0; i < 50 && sent; ++i) {
          sent = comm->send("(syn)");
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::exit(sent ? 2 : 3);
      },
      ::testing::ExitedWithCode(3), "");
}

TEST_F(ServerCommTest, OversizedTextIsNotSent) {
  connectComm();
  ::testing::internal::CaptureStderr();
  bool sent = comm->send(std::string(65532, 'a'));
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(sent);
  EXPECT_EQ(countLines(err), 1) << err;
  EXPECT_EQ(readFor(peer, 10, 50), "");
  ASSERT_TRUE(comm->send("(ok)"));
  EXPECT_EQ(readFor(peer, 8, 500), frame("(ok)"));
}

TEST_F(ServerCommTest, HostByNameAndPolling) {
  connectComm("localhost");
  EXPECT_FALSE(comm->TestInput());
  writeAll(peer, frame("(x)"));
  pollfd p = {comm->sock.socketfd, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 1000), 1);
  EXPECT_TRUE(comm->TestInput());
  ASSERT_TRUE(comm->receive());
  EXPECT_EQ(comm->getMsg(), "(x)");
}

TEST_F(ServerCommTest, RefusedConnectLeavesNoSocket) {
  // a bound socket that does not listen refuses connections
  int closed = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  socklen_t len = sizeof addr;
  ASSERT_EQ(getsockname(closed, reinterpret_cast<sockaddr*>(&addr), &len), 0);

  ServerComm* link = new ServerComm();
  ::testing::internal::CaptureStderr();
  link->initialize("127.0.0.1", ntohs(addr.sin_port));
  std::string err = ::testing::internal::GetCapturedStderr();
  close(closed);
  EXPECT_EQ(link->sock.socketfd, -1);
  EXPECT_EQ(link->sock.errnumber, ECONNREFUSED);
  EXPECT_EQ(err, std::string("Failed: ") + std::strerror(ECONNREFUSED) + "\nConnectr failed 111\n");
  EXPECT_FALSE(link->SelectInput());
  EXPECT_FALSE(link->receive());
  EXPECT_FALSE(link->send("(syn)"));
  EXPECT_EQ(link->getMsg(), "");
  delete link;

  ServerComm never;  // not initialized: no socket either
  EXPECT_FALSE(never.receive());
  EXPECT_FALSE(never.send("(syn)"));
}

// ------------------------------------------------------------------ datagrams

int udpSocket(sockaddr_in& addr) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  addr = sockaddr_in{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
  return fd;
}

TEST(Datagrams, SendReceiveAndReplyAddress) {
  alarm(20);
  sockaddr_in aAddr, bAddr;
  Socket a = {udpSocket(aAddr), 0, sockaddr_in{}};
  Socket b = {udpSocket(bAddr), 0, aAddr};
  a.serv_addr.sin_family = AF_INET;
  a.serv_addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  char buf[32769];

  EXPECT_EQ(receive_message(buf, a), 0);  // nothing waiting
  EXPECT_EQ(send_message("hello", b), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(receive_message(buf, a), 1);
  EXPECT_STREQ(buf, "hello");
  EXPECT_EQ(a.serv_addr.sin_port, bAddr.sin_port);  // replies go back to the sender
  EXPECT_EQ(send_message("back", a), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(receive_message(buf, b), 1);
  EXPECT_STREQ(buf, "back");

  // the newest of several waiting datagrams
  for (const char* m : {"one", "two", "three"}) EXPECT_EQ(send_message(m, b), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(wait_message(buf, a), 1);
  EXPECT_STREQ(buf, "three");

  EXPECT_EQ(send_message(nullptr, b), 0);
  std::strcpy(buf, "kept");
  sendto(b.socketfd, "", 0, 0, reinterpret_cast<sockaddr*>(&aAddr), sizeof aAddr);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(receive_message(buf, a), 0);  // an empty datagram
  EXPECT_STREQ(buf, "kept");

  close_connection(a);
  close_connection(b);
  EXPECT_EQ(a.socketfd, -1);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(receive_message(buf, a), -1);
  EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
  alarm(0);
}

}  // namespace
