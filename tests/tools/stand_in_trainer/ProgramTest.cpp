// The stand-in trainer program: its command line, and one training exchange
// with the agent's end of the link.

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/practice_server/Program.h"
#include "utils/communication/TrainingComm.h"

namespace {

using practice::test::Clock;
using practice::test::kWaitMs;
using practice::test::Process;
using testing::HasSubstr;

struct CommandLineCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  const char* out;
  const char* err;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTable : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTable, ExitsWithItsStatus) {
  const CommandLineCase& c = GetParam();
  std::vector<std::string> args{QV_STAND_IN_TRAINER};
  args.insert(args.end(), c.args.begin(), c.args.end());
  Process p = Process::exec(args);
  EXPECT_EQ(p.wait(), c.status);
  EXPECT_THAT(p.out(), HasSubstr(c.out));
  EXPECT_THAT(p.err(), HasSubstr(c.err));
}

INSTANTIATE_TEST_SUITE_P(
    Trainer, CommandLineTable,
    ::testing::Values(CommandLineCase{"help", {"--help"}, 0, "usage: stand-in-trainer", ""},
                      CommandLineCase{"unknown", {"--fast"}, 2, "", "bad argument '--fast'"},
                      CommandLineCase{"port_out_of_range", {"--port", "70000"}, 2, "", "bad argument '--port'"},
                      CommandLineCase{"bad_host", {"--host", "here"}, 1, "", "bad host address 'here'"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.name); });

// The next complete message that reaches the agent's end.
std::string nextMessage(TrainingComm& comm) {
  for (int reads = 0; reads < 200; ++reads) {
    if (!practice::test::waitReadable(comm.sock.socketfd, kWaitMs)) break;
    if (comm.receive()) return comm.getMsg();
  }
  return "(nothing)";
}

TEST(TrainerProgram, RecordsOneTrainingExchange) {
  Process p = Process::exec({QV_STAND_IN_TRAINER, "--port", "0", "--confirmation", "ready", "--command", "1"});
  std::string out;
  for (auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
       out.find('\n') == std::string::npos && Clock::now() < end;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    out = p.out();
  }
  int port = 0;
  ASSERT_EQ(std::sscanf(out.c_str(), "stand-in-trainer port %d", &port), 1) << out;

  {
    auto comm = std::make_unique<TrainingComm>();
    comm->initialize(port, 7);
    for (int tries = 0; tries < 20 && !comm->isInitialized() && comm->sock.socketfd >= 0; ++tries) {
      practice::test::waitReadable(comm->sock.socketfd, kWaitMs);
      comm->initialize(port, 7);  // a busy machine may take longer than the first wait
    }
    ASSERT_TRUE(comm->isInitialized());
    EXPECT_EQ(comm->getMsg(), "ready");
    EXPECT_EQ(nextMessage(*comm), "1");
    EXPECT_TRUE(comm->sendMsg("Ok"));
  }
  for (auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
       out.find("closed") == std::string::npos && Clock::now() < end;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    out = p.out();
  }
  p.kill(SIGTERM);
  EXPECT_EQ(p.wait(), 0);
  out = p.out();
  EXPECT_THAT(out, HasSubstr("link shirt what   bytes  text\n"
                             "1    7     shirt  4      00 00 00 07\n"
                             "1    7     out    5      ready\n"
                             "1    7     out    1      1\n"
                             "1    7     in     2      Ok\n"
                             "1    7     closed 0      \n"));
  EXPECT_THAT(out, HasSubstr("stand-in-trainer stopped\n"));
}

}  // namespace
