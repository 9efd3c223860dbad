// The practice-server program over TCP on 127.0.0.1, with ports chosen by the system.
#include <sys/socket.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "Program.h"
#include "Server.h"
#include "Support.h"
#include "utils/communication/ServerComm.h"

namespace practice::test {
namespace {

// An agent or monitor connection; every write is expected to go through whole.
class Client : public Link {
 public:
  explicit Client(int port) : Link(connectTo(port)) { EXPECT_TRUE(open()); }
  void raw(const std::string& bytes) { EXPECT_EQ(::send(fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size())); }
  void send(const std::string& text) { raw(frame(text)); }
  std::string next() {
    auto m = receive();
    EXPECT_TRUE(m.has_value());
    return m.value_or("");
  }
};

std::string gs(const std::string& msg, const char* name) { return field(perceptor(readSexps(msg), "GS"), name); }

// Joins in sync mode, answering each message with (syn); returns once the GS with unum came.
void join(Client& c, const std::string& team, int unum, const std::string& beam) {
  c.send("(scene rsg/agent/nao/nao_hetero.rsg 0)");
  c.next();
  c.send("(init (unum " + std::to_string(unum) + ")(teamname " + team + "))(syn)");
  c.next();
  c.send("(beam " + beam + ")(syn)");
  for (int i = 0; i < 10; ++i) {
    std::string m = c.next();
    c.send("(syn)");
    if (!gs(m, "unum").empty()) return;
  }
  ADD_FAILURE() << "no GS with unum";
}

std::string state(Client& monitor) {
  monitor.send("(state)");
  return monitor.next();
}

TEST(PracticeServerProgram, PrintsItsPortsAndStopsCleanlyOnSigterm) {
  ServerProgram server({"--port", "0", "--monitor-port", "0"});
  ASSERT_GT(server.agentPort, 0);
  ASSERT_GT(server.monitorPort, 0);
  EXPECT_NE(server.agentPort, server.monitorPort);
  Client agent(server.agentPort);
  agent.send("(scene rsg/agent/nao/nao_hetero.rsg 0)");
  // Real time: perceptions keep coming without any (syn), 0.02 s apart.
  std::vector<double> now;
  for (int i = 0; i < 4; ++i) now.push_back(std::stod(field(perceptor(readSexps(agent.next()), "time"), "now")));
  for (size_t i = 1; i < now.size(); ++i) EXPECT_NEAR(now[i] - now[i - 1], 0.02, 1e-6);
  EXPECT_EQ(server.terminate(), 0);
}

TEST(PracticeServerProgram, DescribesItsOptionsAndRefusesBadOnes) {
  auto run = [](const std::string& args, std::string& out) {
    std::string cmd = std::string(QV_PRACTICE_SERVER) + " " + args + " 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    return WEXITSTATUS(::pclose(p));
  };
  std::string help;
  EXPECT_EQ(run("--help", help), 0);
  for (const char* option : {"--port", "--monitor-port", "--sync", "--noise", "--kickoff-after", "--help"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
  for (const char* bad : {"--port", "--port x", "--port 70000", "--kickoff-after 0", "--what"}) {
    std::string out;
    EXPECT_EQ(run(bad, out), 2) << bad;
  }
}

// The agent's own link to the server, with a bounded wait.
std::string next(ServerComm& link) {
  if (!waitReadable(link.sock.socketfd, kWaitMs) || !link.receive()) {
    ADD_FAILURE() << "no message";
    return "";
  }
  return link.getMsg();
}

TEST(PracticeServerProgram, SyncModeJoinsAndShowsRepliesTwoMessagesLater) {
  ServerProgram server({"--port", "0", "--monitor-port", "0", "--sync"});
  ServerComm agent;
  agent.initialize("127.0.0.1", server.agentPort);
  ASSERT_GE(agent.sock.socketfd, 0);
  ASSERT_TRUE(agent.send("(scene rsg/agent/nao/nao_hetero.rsg 0)"));
  std::string m1 = next(agent);
  EXPECT_EQ(gs(m1, "unum"), "");
  EXPECT_NE(m1.find("(See"), std::string::npos);
  agent.send("(init (unum 1)(teamname Probe))(syn)");
  EXPECT_EQ(gs(next(agent), "unum"), "");
  agent.send("(beam -3 0 0)(syn)");
  std::string m3 = next(agent);
  EXPECT_EQ(gs(m3, "unum"), "1");  // as recorded: message 3
  EXPECT_EQ(gs(m3, "team"), "left");
  agent.send("(he1 1.0)(say hello)(syn)");  // reply to message 3
  std::string m4 = next(agent);
  EXPECT_EQ(jointAngle(m4, "hj1"), 0);
  EXPECT_EQ(m4.find("(hear"), std::string::npos);
  agent.send("(syn)");
  std::string m5 = next(agent);
  EXPECT_NEAR(jointAngle(m5, "hj1"), 1.15, 1e-9);
  EXPECT_NE(m5.find("(hear Probe 0.00 self hello)"), std::string::npos);
  agent.send("(syn)");
  EXPECT_NEAR(jointAngle(next(agent), "hj1"), 2.29, 1e-9);
}

TEST(PracticeServerProgram, SyncModeWaitsForEveryAgent) {
  ServerProgram server({"--port", "0", "--monitor-port", "0", "--sync"});
  Client a(server.agentPort), b(server.agentPort);
  a.send("(scene rsg/agent/nao/nao_hetero.rsg 0)");
  b.send("(scene rsg/agent/nao/nao_hetero.rsg 1)");
  const std::vector<std::string> script = {"(init (unum 1)(teamname A))", "(beam -3 0 0)"};
  for (size_t round = 0; round < 10; ++round) {
    for (Client* c : {&a, &b}) {
      ASSERT_TRUE(c->receive().has_value()) << round;
      c->send((round < script.size() ? script[round] : std::string("(he1 0.1)")) + "(syn)");
    }
  }
  // b goes silent: a gets the few messages b had already answered (the two robots
  // may be a cycle or two apart), then nothing.
  int extra = 0;
  while (extra < 20 && a.receive(300)) {
    ++extra;
    a.send("(syn)");
  }
  EXPECT_LE(extra, 5);
  // b answers what it got, and the game goes on for both.
  while (b.receive(300)) b.send("(syn)");
  EXPECT_TRUE(a.receive().has_value());
}

TEST(PracticeServerProgram, MonitorCommandsReachTheAgents) {
  ServerProgram server({"--port", "0", "--monitor-port", "0", "--sync"});
  Client agent(server.agentPort), monitor(server.monitorPort);
  join(agent, "ProbeA", 1, "-3 0 0");
  monitor.send("(playMode PlayOn)(score (left 2)(right 1))");
  monitor.send("(agent (unum 1)(team Left)(move -5 2 0.385 0))");
  std::string seen;
  for (int i = 0; i < 6 && seen.empty(); ++i) {
    std::string m = agent.next();
    if (gs(m, "pm") == "PlayOn") seen = m;
    agent.send("(syn)");
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(gs(seen, "sl"), "2");
  EXPECT_EQ(gs(seen, "sr"), "1");
  auto st = readSexps(state(monitor));
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(field(&st[0], "pm"), "PlayOn");
  const SNode* player = st[0].find("player");
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(field(player, "name"), "ProbeA");
  EXPECT_EQ(player->find("pos")->items[1].atom, "-5.0000");
  EXPECT_EQ(field(player, "heading"), "90.0000");
  // A status line per simulated second.
  for (int i = 0; i < 60; ++i) {
    agent.send("(syn)");
    agent.next();
  }
  // (the game time depends on the cycle in which the monitor command landed)
  EXPECT_TRUE(std::regex_match(server.readLine(), std::regex("now 1\\.00 t 0\\.[0-9]{2} pm PlayOn score 2:1 players 1 left 0 right")));
}

TEST(PracticeServerProgram, HostileClientsAreIgnoredOrDroppedWhileOthersPlayOn) {
  ServerProgram server({"--port", "0", "--monitor-port", "0", "--sync"});
  Client good(server.agentPort), monitor(server.monitorPort);
  join(good, "A", 1, "-3 0 0");
  auto step = [&](int n) {
    for (int i = 0; i < n; ++i) {
      good.send("(he1 0.5)(syn)");
      ASSERT_TRUE(good.receive().has_value());
    }
  };
  {
    Client garbage(server.agentPort), joined(server.agentPort), cut(server.agentPort), huge(server.agentPort);
    std::mt19937 rng(99);
    std::string noise;
    for (int i = 0; i < 5000; ++i) noise += static_cast<char>(rng() % 256);
    garbage.raw(noise);
    garbage.send("(scene rsg/agent/nao/nao_hetero.rsg 0)(((((((");
    garbage.send("(catch)(kick 1 2)(nosuch 1)(he1)(he1 nan)(beam)(say)(init)(syn");
    monitor.send("(agent (unum 1)(team Left)(pos))(ball (pos 1))(time -5)(playMode)(((");
    huge.raw(std::string("\x7f\xff\xff\xff", 4) + std::string(10000, '('));
    joined.send("(scene rsg/agent/nao/nao_hetero.rsg 2)");
    step(2);  // its robot is built and perceives
    joined.raw(frame("(init (unum 2)(teamname A))(syn)").substr(0, 9));  // then gone mid-frame
    cut.raw(std::string("\0\0", 2));
  }
  // All of them closed: the server removes them and goes on with the good agent.
  std::string st;
  for (auto end = Clock::now() + std::chrono::milliseconds(kWaitMs); Clock::now() < end;) {
    step(1);
    st = state(monitor);
    if (st.find("(connections 1)") != std::string::npos) break;
  }
  EXPECT_NE(st.find("(connections 1)"), std::string::npos) << st;
  EXPECT_NE(st.find("(t 0.0000)"), std::string::npos) << st;  // the bad time was ignored
  step(2);
}

}  // namespace
}  // namespace practice::test
