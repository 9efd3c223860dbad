// The agent joining games of the practice server in sync mode, and ending when
// the server goes away.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <cmath>
#include <optional>
#include <regex>
#include <set>

#include "KVDAgentH.h"
#include "Support.h"
#include "geometry/Vector.h"
#include "strategy/Situation.h"
#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"
#include "world/WorldState.h"

namespace agenttest {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

// Where a player of that shirt number beams to before kick-off, in its team's
// frame (x, y, facing angle): its strategic position in the kick-off situation
// of its side, or the kick-off record's pose when that names it on the left.
Vector3f initialPose(int unum, const std::string& side) {
  static Strategy left, right;
  static const bool computed = [] {
    left.StWS.Situation = Situation::OKO;
    right.StWS.Situation = Situation::TKO;
    left.CallStrategy();
    right.CallStrategy();
    return true;
  }();
  (void)computed;
  const StrategicKickOff& sk = left.SK;
  if (side == "Left" && sk.active && unum == sk.passerN) return Vector3f(sk.passerX, sk.passerY, sk.passerTeta);
  if (side == "Left" && sk.active && unum == sk.kickerN) return Vector3f(sk.kickerX, sk.kickerY, sk.kickerTeta);
  const Vector p = (side == "Left" ? left : right).GetStrategicPos(unum);
  return Vector3f(p.x, p.y, 0);
}

// The numbers of "(beam X Y A)(syn)", or nothing when the text is not that.
std::optional<std::array<double, 3>> beamOf(const std::string& text) {
  static const std::regex form("\\(beam (\\S+) (\\S+) (\\S+)\\)\\(syn\\)");
  std::smatch m;
  if (!std::regex_match(text, m, form)) return std::nullopt;
  return std::array<double, 3>{std::stod(m[1]), std::stod(m[2]), std::stod(m[3])};
}

// The player agent, noting the clock time of each message it thinks about in
// `notes`, when given.
class TestPlayer : public KVDAgentH {
 public:
  TestPlayer(const std::string& robot, const std::string& team, unsigned int& unum, int port,
             const std::string& notes)
      : KVDAgentH(robot, team, unum, "127.0.0.1", port, nullptr, false, "", "", false, false, "none", 4100),
        notes_(notes.empty() ? -1 : ::open(notes.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600)) {}

  void think() override {
    if (notes_ >= 0) {
      const std::string line = std::to_string(ws->cTime) + "\n";
      EXPECT_EQ(::write(notes_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
  }

 private:
  int notes_;
};

Process startPlayer(const std::string& team, int unum, int port, const std::string& notes = "") {
  const std::string robot = robotFile(teamRobotTypes().at(static_cast<size_t>(unum)));
  return Process::start([=] {
    unsigned int number = static_cast<unsigned int>(unum);
    TestPlayer player(robot, team, number, port, notes);
    player.run();
  });
}

// Global position that a beam to the team-frame pose (x, y) gives on `side`.
std::pair<double, double> onField(const std::string& side, double x, double y) {
  return side == "Left" ? std::make_pair(x, y) : std::make_pair(-x, -y);
}

// Every message from the server has its answer, a frame ending in "(syn)":
// there are as many answers after the first message as messages, bar the
// last, whose answer may still be on its way.
void expectEveryMessageAnswered(const std::vector<Relay::Frame>& frames) {
  int received = 0, answers = 0;
  for (const Relay::Frame& f : frames) {
    if (!f.fromAgent)
      ++received;
    else if (received > 0 && std::regex_search(f.text, std::regex("\\(syn\\)\n?$")))
      ++answers;
  }
  EXPECT_GT(received, 3);
  EXPECT_GE(answers, received - 1) << received << " messages";
}

TEST(Join, OneAgentSendsSceneInitAndBeamThenEndsWhenTheServerGoes) {
  PracticeServer server;
  Relay relay(server.agentPort);
  relay.start();
  Process agent = Process::exec({QV_AGENT, "-p", std::to_string(relay.port()), "-t", "Solo", "-u", "4"}, QV_DATA_DIR);

  // The first team to join plays on the left.
  const Vector3f target = initialPose(4, "Left");
  ASSERT_TRUE(server.waitFor([&](const practice::SNode& state) {
    for (const PlayerState& p : players(state))
      if (p.name == "Solo" && p.unum == 4 && std::hypot(p.x - target.x, p.y + target.y) < 0.01) return true;
    return false;
  })) << agent.err();

  // What the agent sent, besides its bare answers, among what it received.
  std::vector<std::string> sent;
  std::vector<int> receivedBefore;
  int received = 0;
  for (const Relay::Frame& f : relay.frames(0)) {
    if (!f.fromAgent) {
      ++received;
      continue;
    }
    if (f.text == "(syn)\n") continue;
    sent.push_back(f.text);
    receivedBefore.push_back(received);
  }
  // The join comes first; the decision cycles' commands follow it.
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[0], "(scene rsg/agent/nao/nao_hetero.rsg 0)(syn)\n");
  EXPECT_EQ(receivedBefore[0], 0);
  EXPECT_EQ(sent[1], "(init (unum 4)(teamname Solo))(syn)\n");
  EXPECT_GE(receivedBefore[1], 1);
  auto beam = beamOf(sent[2]);
  ASSERT_TRUE(beam) << sent[2];
  // once the side is known: in reply to the third message, or later
  EXPECT_GE(receivedBefore[2], 3);
  EXPECT_NEAR((*beam)[0], target.x, 1e-3);
  EXPECT_NEAR((*beam)[1], -target.y, 1e-3);  // the server's y runs the other way
  EXPECT_EQ((*beam)[2], 0);
  EXPECT_THAT(sent[2], ::testing::EndsWith(" 0)(syn)"));
  expectEveryMessageAnswered(relay.frames(0));

  server.stop();
  EXPECT_EQ(agent.wait(), 1) << agent.err();
  // The join parsed the server's messages, not its own init; the end says why.
  EXPECT_THAT(agent.err(), Not(HasSubstr("Unknown")));
  EXPECT_THAT(agent.err(), EndsWith("\nLost the simulation server at 127.0.0.1 port " +
                                    std::to_string(relay.port()) + ": it closed the connection\n"));
}

// A server that resets the connection while the agent joins: the agent ends
// with status 1, not by a signal. Whether a write meets the reset depends on
// timing, so the test also looks at the signal itself: the running agent
// ignores SIGPIPE, which a write to a closed connection would raise.
TEST(Join, AgentEndsWithStatusOneWhenItWritesToAClosedConnection) {
  Listener listener;
  Process agent = Process::exec({QV_AGENT, "-p", std::to_string(listener.port()), "-t", "Solo"}, QV_DATA_DIR);
  Link link(listener.accept());
  ASSERT_TRUE(link.open());
  ASSERT_TRUE(link.receive());  // scene

  // The running agent ignores SIGPIPE.
  std::string status = readFile("/proc/" + std::to_string(agent.pid()) + "/status");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(status, m, std::regex("SigIgn:\\s*([0-9a-f]+)")));
  EXPECT_TRUE(std::stoull(m[1].str(), nullptr, 16) & (1ull << (SIGPIPE - 1)));

  // Every message the agent needs to join, then a reset.
  link.send(perception(0));
  link.send(perception(0.02));
  link.send(perception(0.04, "(unum 1) (team left) (pm BeforeKickOff)"));
  for (int n = 0; n < HumanoidAgent::MaxUnconfirmedMessages; ++n) link.send(perception(0.06 + 0.02 * n));
  linger abort{1, 0};
  ::setsockopt(link.fd(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  link.close();
  EXPECT_EQ(agent.wait(), 1) << agent.err();
}

// One answer per message, also while the agent joins on the right, where it
// beams at once and then decides in the same message: a second "(syn)" would
// let a server in sync mode step without waiting for it ever after.
TEST(Join, EveryMessageHasExactlyOneAnswer) {
  Listener listener;
  Process agent = Process::exec({QV_AGENT, "-p", std::to_string(listener.port()), "-t", "Solo", "-u", "4"},
                                QV_DATA_DIR);
  Link link(listener.accept());
  ASSERT_TRUE(link.open());
  ASSERT_TRUE(link.receive());  // scene
  const int messages = 12;
  int answers = 0;
  for (int n = 0; n < messages; ++n) {
    link.send(perception(0.02 * n, n == 2 ? "(unum 4) (team right) (pm BeforeKickOff)" : "(pm BeforeKickOff)"));
    // Each message once the last has its answer, as a server in sync mode.
    for (std::optional<std::string> f; answers <= n && (f = link.receive());)
      answers += std::regex_search(*f, std::regex("\\(syn\\)\n?$"));
  }
  // The end of our stream ends the agent; then everything it sent is here.
  ::shutdown(link.fd(), SHUT_WR);
  for (std::optional<std::string> f; (f = link.receive());)
    answers += std::regex_search(*f, std::regex("\\(syn\\)\n?$"));
  EXPECT_EQ(answers, messages);
  EXPECT_EQ(agent.wait(), 1) << agent.err();
}

// Clock time of a server message.
double nowOf(const std::string& message) {
  std::smatch m;
  return std::regex_search(message, m, std::regex("\\(time \\(now ([-0-9.]+)\\)\\)")) ? std::stod(m[1]) : -1;
}

TEST(Join, ExactlyOneThinkFollowsEachParsedMessageFromTheThirdOn) {
  PracticeServer server;
  Relay relay(server.agentPort);
  TempDir dir;
  const std::string notes = dir.file("thinks");
  Process agent = startPlayer("Solo", 5, relay.port(), notes);
  relay.start();  // a thread of its own, so only after the fork

  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return cycleOf(s) >= 60; })) << agent.err();
  server.stop();
  EXPECT_EQ(agent.wait(), 1) << agent.err();

  // Every message the agent received, against the clock time each think saw.
  std::vector<double> received;
  for (const Relay::Frame& f : relay.frames(0))
    if (!f.fromAgent) received.push_back(nowOf(f.text));
  std::vector<double> thought;
  std::istringstream in(readFile(notes));
  for (double t; in >> t;) thought.push_back(t);
  ASSERT_GE(received.size(), 10u);
  ASSERT_EQ(thought.size(), received.size() - 2);
  for (size_t k = 0; k < thought.size(); ++k) EXPECT_NEAR(thought[k], received[k + 2], 1e-3) << "think " << k;
}

TEST(Join, ElevenAgentsOfEachSideBeamToDistinctPlacesInTheirOwnHalf) {
  const std::vector<int> types = teamRobotTypes();
  ASSERT_EQ(types.size(), 12u) << "robot types of start.sh";
  PracticeServer server;
  std::vector<Process> agents;
  const std::vector<std::string> teams{"Home", "Away"};

  auto joined = [&](const practice::SNode& state, const std::string& team) {
    int n = 0;
    for (const PlayerState& p : players(state)) {
      if (p.name != team) continue;
      const Vector3f t = initialPose(p.unum, p.team);
      auto [x, y] = onField(p.team, t.x, -t.y);
      n += std::hypot(p.x - x, p.y - y) < 0.01;
    }
    return n == 11;
  };
  // The first team takes the left side; the second starts once it has.
  for (const std::string& team : teams) {
    for (int unum = 1; unum <= 11; ++unum) agents.push_back(startPlayer(team, unum, server.agentPort));
    ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) { return joined(s, team); })) << [&] {
      std::ostringstream where;
      for (const PlayerState& p : players(server.state())) {
        const Vector3f t = initialPose(p.unum, p.team);
        where << p.name << " " << p.unum << " at " << p.x << " " << p.y << " for " << t.x << " " << -t.y << "\n";
      }
      return where.str();
    }();
  }

  const std::vector<PlayerState> all = players(server.state());
  ASSERT_EQ(all.size(), 22u);
  for (const std::string& team : teams) {
    std::set<int> numbers;
    std::vector<std::pair<double, double>> places;
    for (const PlayerState& p : all) {
      if (p.name != team) continue;
      EXPECT_EQ(p.team, team == "Home" ? "Left" : "Right");
      EXPECT_EQ(p.type, types.at(static_cast<size_t>(p.unum))) << team << " " << p.unum;
      EXPECT_LT(p.team == "Left" ? p.x : -p.x, 0) << team << " " << p.unum << " in the own half";
      for (auto [x, y] : places) EXPECT_GT(std::hypot(p.x - x, p.y - y), 0.5) << team << " " << p.unum;
      places.emplace_back(p.x, p.y);
      numbers.insert(p.unum);
    }
    EXPECT_EQ(numbers.size(), 11u) << team;
  }
  server.stop();
  for (Process& a : agents) EXPECT_EQ(a.wait(), 1);
}

// The agent program keeps a server in sync mode stepping: the players join one
// after another, each once the one before it has, and after kick-off the game
// time runs on.
TEST(Join, AgentsKeepASyncServerSteppingPastKickOff) {
  struct Case {
    const char* what;
    std::vector<std::string> teams;
    int players;
  } cases[] = {{"one agent", {"Solo"}, 1}, {"two teams of eleven", {"Home", "Away"}, 11}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PracticeServer server;
    TempDir work;
    work.mirrorDataKeepingFormations();
    std::vector<Process> agents;
    for (const std::string& team : c.teams) ASSERT_EQ(joinTeam(server, work.path(), team, c.players, agents), "");
    ASSERT_TRUE(server.command("(kickOff Left)"));
    ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 1; }))
        << "game time " << gameTimeOf(server.state()) << " at cycle " << cycleOf(server.state());
    server.stop();
    for (Process& a : agents) {
      EXPECT_EQ(a.wait(), 1);
      EXPECT_THAT(a.err(), Not(HasSubstr("Unknown")));
    }
  }
}

}  // namespace
}  // namespace agenttest
