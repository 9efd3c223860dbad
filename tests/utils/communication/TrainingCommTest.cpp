// The trainer link against the stand-in trainer (and, for frames cut into
// pieces, a trainer played by the test) on 127.0.0.1.

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Trainer.h"
#include "utils/communication/TrainingComm.h"

namespace {

using testing::HasSubstr;
using trainer::Record;
using trainer::TrainerOptions;

const int kWaitMs = 20000;  // upper bound for anything that should happen promptly

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

int openDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

// The stand-in trainer on a port chosen by the system, served by its own thread
// until it has seen the wanted number of links close.
class TrainerRun {
 public:
  explicit TrainerRun(TrainerOptions options) : trainer_(prepared(options)) {
    std::string error;
    started_ = trainer_.start(error);
    EXPECT_TRUE(started_) << error;
    thread_ = std::thread([this] {
      trainer_.run(
          [this] {
            int closed = 0;
            for (const Record& r : trainer_.records()) closed += r.kind == Record::Closed;
            const int want = want_.load();
            return abort_.load() || (want > 0 && closed >= want);
          },
          out_);
    });
  }
  ~TrainerRun() {
    abort_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int port() const { return trainer_.port(); }
  // Every record, once `closedLinks` links have closed.
  const std::vector<Record>& finish(int closedLinks = 1) {
    want_ = closedLinks;
    thread_.join();
    return trainer_.records();
  }
  std::string table() const { return out_.str(); }

 private:
  static TrainerOptions prepared(TrainerOptions o) {
    o.host = "127.0.0.1";
    o.port = 0;
    o.keepRecords = true;
    return o;
  }
  trainer::Trainer trainer_;
  bool started_ = false;
  std::atomic<int> want_{0};
  std::atomic<bool> abort_{false};
  std::ostringstream out_;
  std::thread thread_;
};

// The next complete message, reading as the bytes arrive.
std::optional<std::string> nextMessage(TrainingComm& comm) {
  for (int reads = 0; reads < 200; ++reads) {
    pollfd p = {comm.sock.socketfd, POLLIN, 0};
    if (poll(&p, 1, kWaitMs) <= 0) return std::nullopt;
    if (comm.receive()) return comm.getMsg();
  }
  return std::nullopt;
}

// initialize() until the link is up: only its first call waits, and a busy
// machine may need longer than that for the confirmation.
void bringUp(TrainingComm& comm, int port, unsigned int unum) {
  comm.initialize(port, unum);
  for (int tries = 0; tries < 20 && !comm.isInitialized() && comm.sock.socketfd >= 0; ++tries) {
    pollfd p = {comm.sock.socketfd, POLLIN, 0};
    poll(&p, 1, kWaitMs);
    comm.initialize(port, unum);
  }
}

class TrainingCommTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(60);  // a hanging test fails instead of hanging
    // The link asks for SIGIO and blocks it in the thread that connects, as the
    // agent's only thread does; the trainer's thread must block it too.
    sigset_t sigio;
    sigemptyset(&sigio);
    sigaddset(&sigio, SIGIO);
    pthread_sigmask(SIG_BLOCK, &sigio, nullptr);
    comm = std::make_unique<TrainingComm>();
  }
  void TearDown() override { alarm(0); }

  std::unique_ptr<TrainingComm> comm;
};

TEST_F(TrainingCommTest, HandshakeSendsTheBareShirtNumberAndTakesTheConfirmation) {
  TrainerRun run({});
  testing::internal::CaptureStderr();
  bringUp(*comm, run.port(), 7);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(comm->isInitialized());
  EXPECT_THAT(err, HasSubstr("[TRAINING MODE] Connection established.\n"));

  comm.reset();
  const std::vector<Record>& got = run.finish();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].kind, Record::Shirt);
  EXPECT_EQ(got[0].bytes, std::string("\0\0\0\7", 4));
  EXPECT_EQ(got[0].shirt, 7u);
  EXPECT_EQ(got[1].kind, Record::FrameOut);
  EXPECT_EQ(got[1].bytes, "established");
  EXPECT_EQ(got[2].kind, Record::Closed);
  EXPECT_THAT(run.table(), HasSubstr("shirt  4      00 00 00 07"));
}

// One cycle of each training mode: the trainer's command in, the agent's frames out.
struct CycleCase {
  const char* name;
  std::string command;
  std::vector<std::string> replies;
};

void PrintTo(const CycleCase& c, std::ostream* os) { *os << c.name; }

class CycleTable : public TrainingCommTest, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(CycleTable, TrainerGetsEveryFrameWhole) {
  const CycleCase& c = GetParam();
  TrainerOptions options;
  options.commands = {c.command};
  TrainerRun run(options);
  bringUp(*comm, run.port(), 9);
  ASSERT_TRUE(comm->isInitialized());
  EXPECT_EQ(nextMessage(*comm), std::optional<std::string>(c.command));
  for (const std::string& reply : c.replies) EXPECT_TRUE(comm->sendMsg(reply));

  comm.reset();
  const std::vector<Record>& got = run.finish();
  ASSERT_EQ(got.size(), 3 + c.replies.size() + 1);
  EXPECT_EQ(got[2].kind, Record::FrameOut);
  EXPECT_EQ(got[2].bytes, c.command);
  for (size_t i = 0; i < c.replies.size(); ++i) {
    EXPECT_EQ(got[3 + i].kind, Record::FrameIn);
    EXPECT_EQ(got[3 + i].bytes, c.replies[i]);
    EXPECT_EQ(got[3 + i].shirt, 9u);
  }
  EXPECT_EQ(got.back().kind, Record::Closed);
}

const std::string kStatus =
    "> -- < GTIME : 12.34> -- < Current Behavior : Stop> -- < Agent State : 0> -- < IsKick : 0";

INSTANTIATE_TEST_SUITE_P(
    Modes, CycleTable,
    ::testing::Values(
        CycleCase{"kick", "whatever", {"Ok"}},
        CycleCase{"decisionActive", "0", {"Ok"}},
        CycleCase{"decisionKick_long_kick",
                  "1",
                  {"Iniciando Long Kick", "Iniciando Long KickTerminando Long Kick", "Ok"}},
        CycleCase{"demo", "2", {kStatus, kStatus, "Ok"}},
        CycleCase{"largest_frames", std::string(TrainingComm::MaxTextLength, 'c'),
                  {std::string(TrainingComm::MaxTextLength, 'a'), "Ok"}}),
    [](const ::testing::TestParamInfo<CycleCase>& info) { return std::string(info.param.name); });

TEST_F(TrainingCommTest, CommandsFollowEachOk) {
  TrainerOptions options;
  options.commands = {"0", "3", "12"};
  TrainerRun run(options);
  bringUp(*comm, run.port(), 2);
  ASSERT_TRUE(comm->isInitialized());
  for (const char* expected : {"0", "3", "12"}) {
    EXPECT_EQ(nextMessage(*comm), std::optional<std::string>(expected));
    EXPECT_TRUE(comm->sendMsg("Ok"));
  }
  comm.reset();
  int oks = 0;
  for (const Record& r : run.finish()) oks += r.kind == Record::FrameIn && r.bytes == "Ok";
  EXPECT_EQ(oks, 3);
}

TEST_F(TrainingCommTest, TextTooLongForTheBufferIsNotSent) {
  TrainerRun run({});
  bringUp(*comm, run.port(), 1);
  ASSERT_TRUE(comm->isInitialized());
  testing::internal::CaptureStderr();
  EXPECT_FALSE(comm->sendMsg(std::string(TrainingComm::MaxTextLength + 1, 'a')));
  EXPECT_EQ(count(testing::internal::GetCapturedStderr(), "\n"), 1u);
}

TEST_F(TrainingCommTest, TrainerThatNeverAnswersCostsOneBoundedWait) {
  TrainerOptions options;
  options.confirm = false;
  TrainerRun run(options);
  testing::internal::CaptureStderr();
  comm->initialize(run.port(), 4);
  comm->initialize(run.port(), 4);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(comm->isInitialized());
  EXPECT_EQ(count(err, "[TRAINING MODE] Waiting connection confirmation from Gym\n"), 1u);
  // the connection is kept for a late confirmation, not opened again
  EXPECT_GE(comm->sock.socketfd, 0);

  comm.reset();
  int shirts = 0;
  for (const Record& r : run.finish()) {
    shirts += r.kind == Record::Shirt;
    EXPECT_NE(r.kind, Record::FrameIn);
  }
  EXPECT_EQ(shirts, 1);
}

TEST_F(TrainingCommTest, TrainerGoneDuringTheHandshakeLeavesNoSocket) {
  TrainerOptions options;
  options.hangupAfter = 0;
  TrainerRun run(options);
  testing::internal::CaptureStderr();
  bringUp(*comm, run.port(), 5);
  EXPECT_FALSE(comm->isInitialized());
  EXPECT_EQ(comm->sock.socketfd, -1);
  bringUp(*comm, run.port(), 5);  // tried again on a new connection
  EXPECT_EQ(comm->sock.socketfd, -1);
  testing::internal::GetCapturedStderr();

  std::vector<int> links;
  for (const Record& r : run.finish(2))
    if (r.kind == Record::Shirt) links.push_back(r.link);
  EXPECT_EQ(links, (std::vector<int>{1, 2}));
}

TEST_F(TrainingCommTest, RefusedConnectionsLeaveTheLinkDownAndNoDescriptor) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  close(fd);  // nobody listens there now

  const int before = openDescriptors();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 20; ++i) comm->initialize(ntohs(addr.sin_port), 3);
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(comm->isInitialized());
  EXPECT_EQ(comm->sock.socketfd, -1);
  EXPECT_EQ(openDescriptors(), before);
}

TEST_F(TrainingCommTest, TrainerThatLeavesIsReportedAndTheAgentGoesOn) {
  std::signal(SIGPIPE, SIG_DFL);  // a write to the closed link must not kill us
  TrainerOptions options;
  options.commands = {"0"};
  options.hangupAfter = 1;
  TrainerRun run(options);
  bringUp(*comm, run.port(), 8);
  ASSERT_TRUE(comm->isInitialized());
  EXPECT_EQ(nextMessage(*comm), std::optional<std::string>("0"));
  EXPECT_TRUE(comm->sendMsg("Ok"));
  run.finish();

  testing::internal::CaptureStderr();
  EXPECT_EQ(nextMessage(*comm), std::nullopt);
  bool sendFailed = false;
  for (int i = 0; i < 100 && !sendFailed; ++i) sendFailed = !comm->sendMsg("Ok");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(sendFailed);
  EXPECT_THAT(err, HasSubstr("[TRAINING MODE] ZERO bytes received from Gym. Possible socket disconnected.\n"));
}

TEST_F(TrainingCommTest, OversizedFrameIsDiscardedWithOneLine) {
  TrainerOptions options;
  options.oversized = 70000;
  options.commands = {"2"};
  TrainerRun run(options);
  bringUp(*comm, run.port(), 6);
  ASSERT_TRUE(comm->isInitialized());
  testing::internal::CaptureStderr();
  EXPECT_EQ(nextMessage(*comm), std::optional<std::string>("2"));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(count(err, "discarded"), 1u);
  EXPECT_THAT(err, HasSubstr("Frame of 70000 bytes from Gym discarded"));
}

// A trainer played by the test, writing its frames in pieces.
struct PiecesCase {
  const char* name;
  std::vector<std::string> pieces;
  std::vector<std::string> messages;
};

void PrintTo(const PiecesCase& c, std::ostream* os) { *os << c.name; }

class PiecesTable : public TrainingCommTest, public ::testing::WithParamInterface<PiecesCase> {};

TEST_P(PiecesTable, FramesAreReassembled) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  socklen_t len = sizeof addr;
  getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);

  std::thread peer([&] {
    int fd = accept(listener, nullptr, nullptr);
    char shirt[4];
    if (fd < 0 || recv(fd, shirt, 4, MSG_WAITALL) != 4) return;
    std::vector<std::string> writes = {trainer::frame("ready")};
    writes.insert(writes.end(), GetParam().pieces.begin(), GetParam().pieces.end());
    for (const std::string& w : writes) {
      send(fd, w.data(), w.size(), MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    char end;
    recv(fd, &end, 1, 0);  // until the agent closes
    close(fd);
  });

  bringUp(*comm, ntohs(addr.sin_port), 10);
  EXPECT_TRUE(comm->isInitialized());
  EXPECT_EQ(comm->getMsg(), "ready");
  for (const std::string& expected : GetParam().messages)
    EXPECT_EQ(nextMessage(*comm), std::optional<std::string>(expected));
  comm.reset();
  peer.join();
  close(listener);
}

const std::string kCommand = trainer::frame("decide 3");

INSTANTIATE_TEST_SUITE_P(
    Link, PiecesTable,
    ::testing::Values(
        PiecesCase{"split_length", {kCommand.substr(0, 2), kCommand.substr(2)}, {"decide 3"}},
        PiecesCase{"split_text", {kCommand.substr(0, 6), kCommand.substr(6, 3), kCommand.substr(9)}, {"decide 3"}},
        PiecesCase{"two_in_one_write", {trainer::frame("1") + kCommand}, {"1", "decide 3"}},
        PiecesCase{"empty_frame_carries_nothing", {trainer::frame("") + trainer::frame("2")}, {"2"}},
        PiecesCase{"oversized_in_pieces",
                   {trainer::frame(std::string(70000, 'z')).substr(0, 3),
                    trainer::frame(std::string(70000, 'z')).substr(3, 40000),
                    trainer::frame(std::string(70000, 'z')).substr(40003) + kCommand.substr(0, 5),
                    kCommand.substr(5)},
                   {"decide 3"}}),
    [](const ::testing::TestParamInfo<PiecesCase>& info) { return std::string(info.param.name); });

}  // namespace
