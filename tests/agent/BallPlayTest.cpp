// Ball play of whole agents on the practice server: the active player
// carries the ball toward their goal; a pass is announced to the receiver it
// names.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "Support.h"
#include "utils/Singleton.h"
#include "utils/communication/AgentComm.h"

namespace agenttest {
namespace {

struct Point {
  double x = 0, y = 0;
};

Point ballOf(const practice::SNode& state) {
  Point b;
  if (const practice::SNode* ball = state.find("ball"))
    if (const practice::SNode* pos = ball->find("pos"); pos && pos->items.size() > 2) {
      b.x = std::atof(pos->items[1].atom.c_str());
      b.y = std::atof(pos->items[2].atom.c_str());
    }
  return b;
}

// Position and heading (degrees, 0 along +x) of a player; nothing when absent.
struct Pose {
  double x, y, z, heading;
};

std::optional<Pose> poseOf(const practice::SNode& state, const std::string& team, int unum) {
  for (const practice::SNode& item : state.items) {
    if (item.head() != "player") continue;
    const practice::SNode* t = item.find("team");
    const practice::SNode* u = item.find("unum");
    const practice::SNode* pos = item.find("pos");
    const practice::SNode* h = item.find("heading");
    if (!t || !u || !pos || !h || t->items.size() < 2 || u->items.size() < 2 || pos->items.size() < 4 ||
        h->items.size() < 2)
      continue;
    if (t->items[1].atom != team || std::atoi(u->items[1].atom.c_str()) != unum) continue;
    return Pose{std::atof(pos->items[1].atom.c_str()), std::atof(pos->items[2].atom.c_str()),
                std::atof(pos->items[3].atom.c_str()), std::atof(h->items[1].atom.c_str())};
  }
  return std::nullopt;
}

// The pass a team message names: receiver and pass point.
struct Announced {
  int receiver;
  Point point;
};

std::optional<Announced> passSaid(const std::vector<Relay::Frame>& frames, std::string& text) {
  static const std::regex say("\\(say ([^)]+)\\)");
  AgentComm& codec = Singleton<AgentComm>::getInstance();
  for (const Relay::Frame& f : frames) {
    std::smatch m;
    if (!f.fromAgent || !std::regex_search(f.text, m, say)) continue;
    if (!codec.decode(m[1].str())) continue;
    const SimpleAgentMessage* msg = codec.getSimpleMessage();
    if (msg == nullptr || !(msg->getPassPlayer() >= 1 && msg->getPassPlayer() <= 11)) {
      codec.deletePointers();
      continue;
    }
    const Vector p = msg->getPassPosition();
    Announced a{msg->getPassPlayer(), {p.x, p.y}};
    text = m[1].str();
    codec.deletePointers();
    return a;
  }
  return std::nullopt;
}

// Our team on the field, the ball put just ahead of 9 at (-1.6, 0): the
// active player takes the ball toward their goal, past x = 6.
TEST(BallPlay, TheActivePlayerCarriesTheBallTowardTheirGoal) {
#ifdef __SANITIZE_ADDRESS__
  // Eleven sanitized agents play too slowly to get there in bounded time;
  // the normal build runs it.
  GTEST_SKIP() << "a whole team under the sanitizers";
#endif
  TempDir work;
  work.mirrorDataKeepingFormations();
  PracticeServer server;
  std::vector<Process> team;
  ASSERT_EQ(joinTeam(server, work.path(), "Home", 11, team), "");
  ASSERT_TRUE(server.command("(kickOff Left)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 0.3; }));
  const std::optional<Pose> me = poseOf(server.state(), "Left", 9);
  ASSERT_TRUE(me);
  ASSERT_TRUE(server.command("(playMode PlayOn)"));
  ASSERT_TRUE(server.command("(agent (unum 9) (team Left) (move -2 0 " + std::to_string(me->z) + " -90))"));
  ASSERT_TRUE(server.command("(ball (pos -1.6 0 0.042) (vel 0 0 0))"));

  double farthest = -100;
  const bool carried = server.waitFor(
      [&](const practice::SNode& s) {
        farthest = std::max(farthest, ballOf(s).x);
        return text(s, "pm") == "Goal_Left" || farthest > 6;
      },
      60000);
  EXPECT_TRUE(carried) << "the ball got to x " << farthest;
  server.stop();
  for (Process& a : team) a.wait();
}

// The first pass a team-mate's message names, among what one agent heard.
std::optional<Announced> passHeard(const std::vector<Relay::Frame>& frames) {
  static const std::regex hear("\\(hear [^ )]+ [^ )]+ [^ )]+ ([^ )]+)\\)");
  AgentComm& codec = Singleton<AgentComm>::getInstance();
  for (const Relay::Frame& f : frames) {
    if (f.fromAgent) continue;
    for (std::sregex_iterator it(f.text.begin(), f.text.end(), hear), end; it != end; ++it) {
      if (!codec.decode((*it)[1].str())) continue;
      const SimpleAgentMessage* msg = codec.getSimpleMessage();
      const bool named = msg != nullptr && msg->getPassPlayer() >= 1 && msg->getPassPlayer() <= 11;
      Announced a{named ? msg->getPassPlayer() : 0, {}};
      codec.deletePointers();
      if (named) return a;
    }
  }
  return std::nullopt;
}

// 5 holds the ball, 9 stands free ahead of it and an opponent is far away:
// 5 passes and its team message, which names 9 and the pass point, reaches 9.
TEST(BallPlay, APassIsAnnouncedToTheReceiverItNames) {
  TempDir work;
  work.mirrorDataKeepingFormations();
  PracticeServer server;
  Relay relay(server.agentPort);
  Process passer = startAgent(work.path(), "Home", 5, relay.port());
  Process receiver = startAgent(work.path(), "Home", 9, relay.port());
  relay.start();  // a thread of its own, so only after the forks
  ASSERT_TRUE(hasJoined(server, "Home", 5)) << passer.err();
  ASSERT_TRUE(hasJoined(server, "Home", 9)) << receiver.err();
  // The opponents come second and take the right side.
  Process keeper = startAgent(work.path(), "Away", 1, server.agentPort);
  ASSERT_TRUE(hasJoined(server, "Away", 1)) << keeper.err();
  ASSERT_TRUE(server.command("(kickOff Left)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 0.3; }));
  // Both stay where they were beamed; the ball just ahead of 5.
  const std::optional<Pose> five = poseOf(server.state(), "Left", 5);
  ASSERT_TRUE(five);
  ASSERT_TRUE(server.command("(playMode PlayOn)(ball (pos " + std::to_string(five->x + 0.3) + " " +
                             std::to_string(five->y) + " 0.042) (vel 0 0 0))"));

  // Connections in the order the agents reached the relay.
  auto framesOf = [&](int unum) {
    for (size_t k = 0; k < 2; ++k) {
      const std::vector<Relay::Frame> f = relay.frames(k);
      for (const Relay::Frame& x : f)
        if (x.fromAgent && x.text.find("(init (unum " + std::to_string(unum) + ")") != std::string::npos) return f;
    }
    return std::vector<Relay::Frame>();
  };
  std::optional<Announced> pass;
  std::string said;
  ASSERT_TRUE(server.waitFor(
      [&](const practice::SNode&) {
        pass = passSaid(framesOf(5), said);
        return pass.has_value();
      },
      60000))
      << passer.err().substr(0, 2000);
  EXPECT_EQ(pass->receiver, 9);
  EXPECT_LT(std::fabs(pass->point.x), 15.01);
  EXPECT_LT(std::fabs(pass->point.y), 10.01);
  const bool heard = server.waitFor([&](const practice::SNode&) {
    const std::optional<Announced> got = passHeard(framesOf(9));
    return got && got->receiver == 9;
  });
  EXPECT_TRUE(heard) << "9 never heard its name; 5 said " << said;
  server.stop();
  relay.stop();
  for (Process* p : {&passer, &receiver, &keeper}) p->wait();
}

}  // namespace
}  // namespace agenttest
