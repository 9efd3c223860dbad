// The agent program's command line and "config.ini", against a server played
// by the test: what the agent sends shows what the scan made of its arguments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "HumanoidAgent.h"
#include "Support.h"

namespace agenttest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kScene0 = "(scene rsg/agent/nao/nao_hetero.rsg 0)(syn)\n";

std::string init(int unum, const std::string& team) {
  return "(init (unum " + std::to_string(unum) + ")(teamname " + team + "))(syn)\n";
}

struct AgentRun {
  int status = -1;
  bool connected = false;
  std::vector<std::string> sent;  // frames from the agent but bare answers: scene, init, beam
  std::string out, err;
};

// Runs the agent in `dir` with "-p PORT" and then `args`, plays the server's
// part of joining, then closes the connection: two messages, the third naming
// the side, and as many more as the agent waits for a side before it beams.
AgentRun runAgent(const std::vector<std::string>& args, const std::string& dir) {
  Listener server;
  std::vector<std::string> argv{QV_AGENT, "-p", std::to_string(server.port())};
  argv.insert(argv.end(), args.begin(), args.end());
  Process agent = Process::exec(argv, dir);
  AgentRun run;
  int fd = -1;
  for (auto end = Clock::now() + std::chrono::milliseconds(kWaitMs); fd < 0 && Clock::now() < end;) {
    fd = server.accept(5);
    if (fd < 0 && !agent.running()) fd = server.accept(0);  // connected just before it ended
    if (fd < 0 && !agent.running()) break;
  }
  if (fd >= 0) {
    run.connected = true;
    Link link(fd);
    std::string unum = "1";
    for (int k = 0; k < 3; ++k) {
      auto frame = link.receive();
      while (frame && *frame == "(syn)\n") frame = link.receive();  // answers with nothing to say
      if (!frame) break;
      run.sent.push_back(*frame);
      if (k == 0) link.send(perception(0));
      if (k == 1) {
        std::smatch m;
        if (std::regex_search(*frame, m, std::regex("\\(unum (\\d+)\\)"))) unum = m[1];
        link.send(perception(0.02));
        link.send(perception(0.04, "(unum " + unum + ") (team left) (pm BeforeKickOff)"));
        for (int n = 0; n < HumanoidAgent::MaxUnconfirmedMessages; ++n) link.send(perception(0.06 + 0.02 * n));
      }
    }
  }
  run.status = agent.wait();
  run.out = agent.out();
  run.err = agent.err();
  return run;
}

// A working folder like data/ whose "config.ini" names the team Home.
class WorkDir : public TempDir {
 public:
  WorkDir() {
    mirrorData();
    ::unlink(file("config.ini").c_str());
    write("config.ini", "LOG_ENABLED=NO\nLOG_LEVEL=WARN\nNOME=Home\n");
    // A robot file named like an option.
    link("-t", std::string(QV_DATA_DIR) + "/nao2.xml");
  }
};

struct ScanCase {
  const char* name;
  std::vector<std::string> args;
  std::string scene, init, beam;  // frames the agent must send; "" is not checked
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class ScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTest, AgentJoinsWithTheScannedSettings) {
  const ScanCase& c = GetParam();
  WorkDir dir;
  AgentRun run = runAgent(c.args, dir.path());
  ASSERT_TRUE(run.connected) << run.err;
  ASSERT_EQ(run.sent.size(), 3u) << run.err;
  // The server went away after joining.
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.sent[0], c.scene.empty() ? kScene0 : c.scene);
  EXPECT_EQ(run.sent[1], c.init.empty() ? init(1, "Home") : c.init);
  if (!c.beam.empty()) {
    EXPECT_EQ(run.sent[2], c.beam);
  }
  EXPECT_THAT(run.sent[2], ::testing::MatchesRegex("\\(beam [-0-9.e]+ [-0-9.e]+ [-0-9.e]+\\)\\(syn\\)"));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ScanTest,
    ::testing::Values(
        ScanCase{"Defaults", {}, "", "", ""},
        ScanCase{"ShirtNumber", {"-u", "7"}, "", init(7, "Home"), ""},
        ScanCase{"ShirtNumberEleven", {"-u", "11"}, "", init(11, "Home"), ""},
        ScanCase{"ShirtNumberZeroIsOne", {"-u", "0"}, "", init(1, "Home"), ""},
        ScanCase{"ShirtNumberNotANumberIsOne", {"-u", "seven"}, "", init(1, "Home"), ""},
        ScanCase{"LastShirtNumberWins", {"-u", "3", "-u", "8"}, "", init(8, "Home"), ""},
        ScanCase{"TeamName", {"-t", "Away"}, "", init(1, "Away"), ""},
        ScanCase{"TeamNameLooksLikeAnOption", {"-t", "-help"}, "", init(1, "-help"), ""},
        ScanCase{"RobotFile", {"-robot", "nao3.xml"}, "(scene rsg/agent/nao/nao_hetero.rsg 3)(syn)\n", "", ""},
        // The value of -robot is also examined as an option.
        ScanCase{"RobotFileIsAlsoAnOption", {"-robot", "-t", "Mirror"},
                 "(scene rsg/agent/nao/nao_hetero.rsg 2)(syn)\n", init(1, "Mirror"), ""},
        // -o takes one value; the next element is examined as an option.
        ScanCase{"OptimisationTakesOneValue", {"-o", "optserver", "-u", "4"}, "", init(4, "Home"), ""},
        ScanCase{"OptimisationValueLooksLikeAnOption", {"-o", "-u", "6"}, "", init(1, "Home"), ""},
        ScanCase{"BeamPose", {"-b", "1", "2", "90"}, "", "", "(beam 1 -2 90)(syn)"},
        ScanCase{"BeamPoseTakesThreeValues", {"-b", "-3.5", "1.25", "-u", "-u", "4"}, "", init(4, "Home"),
                 "(beam -3.5 -1.25 0)(syn)"},
        ScanCase{"OdwTakesFiveValues", {"-odw", "1", "2", "3", "4", "-u", "-u", "5"}, "", init(5, "Home"), ""},
        ScanCase{"OtherOptions",
                 {"-k", "-g", "-f", "-u", "-move", "-u", "-trainingPort", "4200", "-training", "kick", "-u", "2"},
                 "", init(2, "Home"), ""},
        ScanCase{"UnknownElementsAreIgnored", {"stray", "-x", "-u", "5", "-U", "9"}, "", init(5, "Home"), ""}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

// Options whose values are missing or out of range end the program before it connects.
struct FaultCase {
  const char* name;
  std::vector<std::string> args;
  std::string line;  // what standard error must say
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class ScanFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ScanFaultTest, EndsWithStatusOneBeforeConnecting) {
  const FaultCase& c = GetParam();
  WorkDir dir;
  AgentRun run = runAgent(c.args, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(run.connected);
  EXPECT_THAT(run.err, HasSubstr(c.line + "\n"));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ScanFaultTest,
    ::testing::Values(FaultCase{"TeamLast", {"-t"}, "Option -t needs 1 value"},
                      FaultCase{"RobotLast", {"-robot"}, "Option -robot needs 1 value"},
                      FaultCase{"RobotValueIsAnOptionWithoutValue", {"-robot", "-t"}, "Option -t needs 1 value"},
                      FaultCase{"HostLast", {"-h"}, "Option -h needs 1 value"},
                      FaultCase{"PortLast", {"-p"}, "Option -p needs 1 value"},
                      FaultCase{"ShirtNumberLast", {"-u"}, "Option -u needs 1 value"},
                      FaultCase{"OptimisationLast", {"-o"}, "Option -o needs 1 value"},
                      FaultCase{"BeamShort", {"-b", "1", "2"}, "Option -b needs 3 values"},
                      FaultCase{"OdwShort", {"-odw", "1", "2", "3", "4"}, "Option -odw needs 5 values"},
                      FaultCase{"TrainingPortLast", {"-trainingPort"}, "Option -trainingPort needs 1 value"},
                      FaultCase{"ShirtNumberTooHigh", {"-u", "12"}, "Shirt number 12 is not 0 to 11"},
                      FaultCase{"ShirtNumberNegative", {"-u", "-1"}, "Shirt number -1 is not 0 to 11"},
                      FaultCase{"PortTooHigh", {"-p", "70000"}, "Port 70000 is not 0 to 65535"},
                      // Options before -help have been scanned.
                      FaultCase{"FaultBeforeHelp", {"-u", "99", "-help"}, "Shirt number 99 is not 0 to 11"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

const std::string kHelp =
    "\n"
    "Quorvel: RoboCup 3D Simulation Soccer Team\n"
    "\n"
    "-robot <filename>: Robot file name (default is nao.xml)\n"
    "-t <teamname>: Name of the team (default is Ostrevanda3D)\n"
    "-h <hostname>: Hostname or IP address of the simulation server (default is 127.0.0.1)\n"
    "-p <port>: Port number of the simulation server (default is 3100)\n"
    "-o <hostname> <prepare>: Run optimization with optimization server at hostname with specified prepare "
    "function\n"
    "-u <unumber>: Uniform number (default is 0)\n"
    "-training <training_type>: Type of training for agent(default: none). Values: kick, decisionKick, "
    "decisionActive, demo. (new values can be added)\n"
    "-trainingPort <port>: Port Number of the TCP Socket Server created to listen Training commands (default: "
    "4100)\n"
    "-help: Show this help text\n"
    "\n";

TEST(CommandLine, HelpAnywherePrintsTheHelpAndEndsWithStatusZero) {
  WorkDir dir;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"-help"}, {"-u", "3", "-t", "X", "-help"}, {"-help", "-u", "99", "-t"}}) {
    AgentRun run = runAgent(args, dir.path());
    EXPECT_EQ(run.status, 0) << args.size();
    EXPECT_FALSE(run.connected);
    EXPECT_EQ(run.out, kHelp);
  }
}

TEST(CommandLine, TrainingModeIsReportedBeforeAndAfterTheScan) {
  WorkDir dir;
  AgentRun plain = runAgent({}, dir.path());
  EXPECT_THAT(plain.err, HasSubstr("TRAINING MODE BEFORE none\n"));
  EXPECT_THAT(plain.err, HasSubstr("TRAINING MODE INT -1\nTRAINING MODE none\n"));
  AgentRun demo = runAgent({"-training", "demo", "-trainingPort", "4200"}, dir.path());
  EXPECT_THAT(demo.err, HasSubstr("TRAINING MODE BEFORE none\n"));
  EXPECT_THAT(demo.err, HasSubstr("TRAINING MODE INT 3\nTRAINING MODE demo\n"));
}

TEST(ConfigFile, TeamAndLoggingComeFromConfigIni) {
  WorkDir dir;
  ::unlink(dir.file("config.ini").c_str());
  dir.write("config.ini", "# settings\nLOG_ENABLED=YES\nLOG_LEVEL=INFO\nNOME=X\n");
  AgentRun run = runAgent({}, dir.path());
  ASSERT_EQ(run.sent.size(), 3u) << run.err;
  EXPECT_EQ(run.sent[1], init(1, "X"));
  EXPECT_THAT(run.out, HasSubstr(" - info - Logger initialized to level info\n"));
  EXPECT_THAT(run.out, HasSubstr(" - info - X: Use -help command line option for more information\n"));

  // Only "YES" switches logging on.
  ::unlink(dir.file("config.ini").c_str());
  dir.write("config.ini", "LOG_ENABLED=yes\nLOG_LEVEL=INFO\nNOME=X\n");
  AgentRun quiet = runAgent({}, dir.path());
  ASSERT_EQ(quiet.sent.size(), 3u) << quiet.err;
  EXPECT_THAT(quiet.out, Not(HasSubstr("Use -help")));
}

TEST(ConfigFile, MissingOrMalformedEndsWithOneLineAndStatusOne) {
  struct Case {
    const char* text;  // nullptr: no config.ini at all
    const char* line;
  };
  for (const Case& c : {Case{nullptr, "config.ini: cannot be opened or read\n"},
                        Case{"NOME=X\nLOG_ENABLED\n", "config.ini: a line is not key=value or has an empty key\n"},
                        Case{"=YES\n", "config.ini: a line is not key=value or has an empty key\n"}}) {
    WorkDir dir;
    ::unlink(dir.file("config.ini").c_str());
    if (c.text) dir.write("config.ini", c.text);
    AgentRun run = runAgent({"-u", "2"}, dir.path());
    EXPECT_EQ(run.status, 1) << c.line;
    EXPECT_FALSE(run.connected);
    EXPECT_EQ(run.err, c.line);
  }
}

TEST(Connection, UnreachableServerEndsWithStatusOne) {
  ClosedPort nobody;
  Process agent = Process::exec({QV_AGENT, "-p", std::to_string(nobody.port())}, QV_DATA_DIR);
  EXPECT_EQ(agent.wait(), 1);
  EXPECT_THAT(agent.err(), HasSubstr("Connectr failed 111\n"));

  Process unknownHost = Process::exec({QV_AGENT, "-h", "no.such.host.invalid", "-p", "3100"}, QV_DATA_DIR);
  EXPECT_EQ(unknownHost.wait(), 1);
  EXPECT_THAT(unknownHost.err(), HasSubstr("No connection to the simulation server at no.such.host.invalid"));
}

}  // namespace
}  // namespace agenttest
