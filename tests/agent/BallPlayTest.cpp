// Ball play of whole agents on the practice server: the active player
// carries the ball toward their goal and shoots in long-kick range; a pass is
// announced to the receiver it names, who turns to the pass point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Support.h"
#include "geometry/Vector.h"
#include "strategy/StrategicBehavior.h"
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

// The last pass a team message of the agent names, among what it said.
std::optional<Announced> passSaid(const std::vector<Relay::Frame>& frames, std::string& text) {
  static const std::regex say("\\(say ([^)]+)\\)");
  AgentComm& codec = Singleton<AgentComm>::getInstance();
  std::optional<Announced> last;
  for (const Relay::Frame& f : frames) {
    std::smatch m;
    if (!f.fromAgent || !std::regex_search(f.text, m, say)) continue;
    if (!codec.decode(m[1].str())) continue;
    const SimpleAgentMessage* msg = codec.getSimpleMessage();
    if (msg != nullptr && msg->getPassPlayer() >= 1 && msg->getPassPlayer() <= 11) {
      const Vector p = msg->getPassPosition();
      last = Announced{msg->getPassPlayer(), {p.x, p.y}};
      text = m[1].str();
    }
    codec.deletePointers();
  }
  return last;
}

// The entry of `m` at game time `t` (hundredths), or the nearest before it.
template <typename T>
const T* at(const std::map<long, T>& m, long t) {
  auto it = m.upper_bound(t);
  return it == m.begin() ? nullptr : &std::prev(it)->second;
}

// The entry of `m` nearest to game time `t` (hundredths).
template <typename T>
const T* nearest(const std::map<long, T>& m, long t) {
  auto after = m.lower_bound(t);
  if (after == m.begin()) return after == m.end() ? nullptr : &after->second;
  auto before = std::prev(after);
  return after == m.end() || t - before->first <= after->first - t ? &before->second : &after->second;
}

// Before any kick-off, once the players have had a second to beam and stand:
// play on with 9 at (x, y) facing their goal and the ball `ahead` of it, all
// in one monitor frame. The game time just before (the play starts after
// it), or -1 when the server does not answer.
double playFrom(PracticeServer& server, double x, double y, double ahead) {
  const long joined = cycleOf(server.state());
  if (!server.waitFor([&](const practice::SNode& s) { return cycleOf(s) >= joined + 50; })) return -1;
  const practice::SNode before = server.state();
  const std::optional<Pose> me = poseOf(before, "Left", 9);
  const std::string at = std::to_string(y);
  if (!me || !server.command("(playMode PlayOn)(agent (unum 9) (team Left) (move " + std::to_string(x) + " " + at +
                             " " + std::to_string(me->z) + " -90))(ball (pos " + std::to_string(x + ahead) + " " +
                             at + " 0.042) (vel 0 0 0))"))
    return -1;
  return gameTimeOf(before);
}

// The ball put just ahead of 9 at (x, y), 9 facing their goal: the active
// player takes the ball toward their goal, past x = 6. Our whole team along
// the middle of the field; 9 alone ahead of the centre spot, where the world
// model keeps the team-mates it has never seen: a ball that rolls back near
// the spot would be theirs, and 9 would leave it.
struct CarryCase {
  const char* name;
  int players;  // shirts 1 to 11, or 9 alone
  double x, y;
};

class Carrying : public ::testing::TestWithParam<CarryCase> {};

TEST_P(Carrying, TheActivePlayerCarriesTheBallTowardTheirGoal) {
  const CarryCase& c = GetParam();
#ifdef __SANITIZE_ADDRESS__
  // Eleven sanitized agents play too slowly to get there in bounded time;
  // the normal build runs it, and 9 alone runs in both.
  if (c.players == 11) {
    GTEST_SKIP() << "a whole team under the sanitizers";
  }
#endif
  TempDir work;
  work.mirrorDataKeepingFormations();
  PracticeServer server;
  std::vector<Process> team;
  if (c.players == 11) {
    ASSERT_EQ(joinTeam(server, work.path(), "Home", 11, team), "");
  } else {
    team.push_back(startAgent(work.path(), "Home", 9, server.agentPort));
    ASSERT_TRUE(hasJoined(server, "Home", 9)) << team.back().err();
  }
  ASSERT_GE(playFrom(server, c.x, c.y, 0.4), 0);

  double farthest = -100, t = 0;
  std::string pm;
  const bool carried = server.waitFor(
      [&](const practice::SNode& s) {
        farthest = std::max(farthest, ballOf(s).x);
        t = gameTimeOf(s);
        pm = text(s, "pm");
        return pm == "Goal_Left" || farthest > 6;
      },
      60000);
  EXPECT_TRUE(carried) << "the ball got to x " << farthest << " by " << t << " s (" << pm << ")";
  server.stop();
  for (Process& a : team) a.wait();
}

INSTANTIATE_TEST_SUITE_P(BallPlay, Carrying,
                         ::testing::Values(CarryCase{"WholeTeam", 11, -2, 0}, CarryCase{"Alone", 1, 1, 4}),
                         [](const ::testing::TestParamInfo<CarryCase>& info) { return info.param.name; });

// 9 alone on our side, the ball just ahead of it and their keeper in goal. In
// long-kick range of their goal (7 to 15 m) it decides to kick at their goal
// and starts the long kick; from 16.8 m, beyond that range and outside our
// clearing zone, it first carries the ball toward their goal. It never decides
// to kick out of range. Both away from the centre spot, where the world model
// keeps the team-mates it has never seen.
struct ShotCase {
  const char* name;
  double x, y;     // where 9 stands, facing their goal; the ball 0.3 m ahead
  double seconds;  // of game time watched
  bool inRange;
};

class Shooting : public ::testing::TestWithParam<ShotCase> {};

// The long kick's first motion: the pose from which its walk-and-kick steps up
// to the ball (no other action uses it).
const std::string kLongKick = "IKPose";

TEST_P(Shooting, TheActivePlayerShootsOnlyInLongKickRange) {
  const ShotCase& c = GetParam();
  TempDir work;
  traceDecisions(work);
  PracticeServer server;
  Process shooter = startAgent(work.path(), "Home", 9, server.agentPort);
  ASSERT_TRUE(hasJoined(server, "Home", 9)) << shooter.err();
  Process keeper = startAgent(work.path(), "Away", 1, server.agentPort);
  ASSERT_TRUE(hasJoined(server, "Away", 1)) << keeper.err();
  const double start = playFrom(server, c.x, c.y, 0.3);
  ASSERT_GE(start, 0);
  std::map<long, Pose> where;  // 9 by game time (hundredths)
  Point ball;
  int polls = 0;
  ASSERT_TRUE(server.waitFor(
      [&](const practice::SNode& s) {
        const double t = gameTimeOf(s);
        if (const std::optional<Pose> p = poseOf(s, "Left", 9)) where[std::lround(t * 100)] = *p;
        ball = ballOf(s);
        // The trace reaches the file in batches: done once it shows a long
        // kick started in this play.
        bool kicked = false;
        if (c.inRange && polls++ % 20 == 0)
          for (const auto& [when, cycle] : tracedCycles(shooter.out()))
            kicked = kicked || (when > std::lround(start * 100) && cycle.motion == kLongKick);
        return kicked || t >= start + c.seconds;
      },
      120000));
  server.stop();
  EXPECT_EQ(shooter.wait(), 1) << shooter.err().substr(0, 2000);
  keeper.wait();

  int kickDecisions = 0, kickStarts = 0;
  long firstCarry = -1, firstKick = -1;
  for (const auto& [t, cycle] : tracedCycles(shooter.out())) {
    if (t <= std::lround(start * 100)) continue;
    if (cycle.behaviour == StrategicBehavior::CarryBall && firstCarry < 0) firstCarry = t;
    kickStarts += cycle.motion == kLongKick;
    if (cycle.behaviour != StrategicBehavior::Kicker) continue;
    if (++kickDecisions == 1) firstKick = t;
    const Pose* p = nearest(where, t);
    ASSERT_NE(p, nullptr);
    EXPECT_LT(std::hypot(15 - p->x, p->y), 15.5) << "a kick decided at " << t / 100.0 << " s from (" << p->x << ", "
                                                 << p->y << ")";
  }
  if (c.inRange) {
    EXPECT_GT(kickDecisions, 0) << "never decided to kick";
    EXPECT_GT(kickStarts, 0) << "never started the long kick";
  } else {
    ASSERT_GE(firstCarry, 0) << "never carried the ball";
    EXPECT_TRUE(firstKick < 0 || firstKick > firstCarry) << "kicked at " << firstKick / 100.0 << " s";
    EXPECT_GT(ball.x, c.x + 0.3) << "the ball went back";
  }
}

INSTANTIATE_TEST_SUITE_P(BallPlay, Shooting,
                         ::testing::Values(ShotCase{"InRange", 2, 1, 40, true},
                                           ShotCase{"BeyondIt", -1.5, 2, 8, false}),
                         [](const ::testing::TestParamInfo<ShotCase>& info) { return info.param.name; });

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

// Our goalie (whose messages give the field players their roles), 5 holding
// the ball, 9 free ahead of it and their keeper far away: 5 passes, its team
// message names 9 and the pass point and reaches 9, and 9, receiving, turns
// to face that point.
TEST(BallPlay, APassReachesTheReceiverItNamesWhoTurnsToItsPoint) {
  TempDir work;
  traceDecisions(work);
  PracticeServer server;
  Relay relay(server.agentPort);
  Process passer = startAgent(work.path(), "Home", 5, relay.port());
  Process receiver = startAgent(work.path(), "Home", 9, relay.port());
  relay.start();  // a thread of its own, so only after the forks
  ASSERT_TRUE(hasJoined(server, "Home", 5)) << passer.err();
  ASSERT_TRUE(hasJoined(server, "Home", 9)) << receiver.err();
  Process goalie = startAgent(work.path(), "Home", 1, server.agentPort);
  ASSERT_TRUE(hasJoined(server, "Home", 1)) << goalie.err();
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

  // 9's heading against the bearing of the point 5 announced last (the
  // agents' frame is the server's mirrored in y for our side), the
  // announcement read again every few polls; the moments it faced the point
  // matched against its trace, which reaches the file in batches.
  std::vector<long> facing;  // game time (hundredths)
  double nearestOff = 180;
  auto facedWhileReceiving = [&] {
    const std::map<long, TracedCycle> cycles = tracedCycles(receiver.out());
    for (long t : facing)
      if (const TracedCycle* then = at(cycles, t); then && then->behaviour == StrategicBehavior::ReceiverBall)
        return true;
    return false;
  };
  int polls = 0;
  server.waitFor(
      [&](const practice::SNode& s) {
        const bool reread = polls++ % 20 == 0;
        if (reread) pass = passSaid(framesOf(5), said);
        const std::optional<Pose> r = poseOf(s, "Left", 9);
        if (!pass || !r) return false;
        const float dx = static_cast<float>(pass->point.x - r->x), dy = static_cast<float>(-pass->point.y - r->y);
        const double off = std::fabs(GetNormalizeAngleDeg(static_cast<float>(r->heading) - ATan2(dy, dx)));
        nearestOff = std::min(nearestOff, off);
        if (off < 30) facing.push_back(std::lround(gameTimeOf(s) * 100));
        return reread && facedWhileReceiving();
      },
      60000);
  server.stop();
  relay.stop();
  for (Process* p : {&passer, &receiver, &goalie, &keeper}) p->wait();
  EXPECT_TRUE(facedWhileReceiving()) << "9 faced " << facing.size() << " times within 30 degrees of the pass point, "
                                     << "at best " << nearestOff << " degrees off";
}

}  // namespace
}  // namespace agenttest
