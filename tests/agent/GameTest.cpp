#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Support.h"
#include "strategy/StrategicBehavior.h"

namespace agenttest {
namespace {

const PlayerState* find(const std::vector<PlayerState>& all, const std::string& team, int unum) {
  for (const PlayerState& p : all)
    if (p.team == team && p.unum == unum) return &p;
  return nullptr;
}

// From kick-off to the sixth second (the teams joined more than a second
// before, time for their first election): in every cycle each team has
// exactly one active player, the winner of its election as every player of
// the team counts it, and the winner changes as the ball is moved. Every
// player counts the same votes and elects in the same cycle, whichever of a
// slot's two messages it hears, so no cycle may split a team.
void expectOneElectedActivePlayer(std::map<std::pair<int, int>, std::map<long, TracedCycle>>& traced) {
  std::set<int> winners;
  for (int side = 0; side < 2; ++side) {
    std::map<long, std::vector<std::pair<int, TracedCycle>>> byTime;
    for (int unum = 1; unum <= 11; ++unum)
      for (const auto& [t, d] : traced[{side, unum}])
        if (t > 0 && t < 600) byTime[t].push_back({unum, d});
    EXPECT_GT(byTime.size(), 250u) << side;
    int bad = 0;
    for (const auto& [t, all] : byTime) {
      std::vector<int> active;
      bool agree = true;
      for (const auto& [unum, d] : all) {
        if (d.active) active.push_back(unum);
        agree = agree && d.winner == all.front().second.winner;
        winners.insert(side * 100 + d.winner);
      }
      const bool ok = all.size() == 11 && agree && active.size() == 1 && active.front() == all.front().second.winner;
      if (!ok && bad++ < 5) {
        std::ostringstream why;
        for (const auto& [unum, d] : all) why << " " << unum << (d.active ? "*" : "") << ":" << d.winner;
        std::cerr << (side ? "Right" : "Left") << " at " << t / 100.0 << " s, player* : winner counted" << why.str()
                  << "\n";
      }
    }
    EXPECT_EQ(bad, 0) << (side ? "Right" : "Left") << ": split in " << bad << " of " << byTime.size() << " cycles";
  }
  EXPECT_GT(winners.size(), 2u) << "the active player never changed";
}

// A player's place in its own frame: its team frame (the field turned half
// round for the right team) mirrored in y.
std::pair<double, double> ownFrame(const PlayerState& p) {
  return p.team == "Left" ? std::make_pair(p.x, -p.y) : std::make_pair(-p.x, p.y);
}

// In open play with the ball still, every player that has kept formation for
// the last 15 s (neither the active player nor blocking a pass, and not
// marking) stands within half a metre of the strategic position it computed:
// at the walk's 0.6 m/s, after turning round, that covers the way from the
// place the kick-off formation gave it. Markers come and go, so only the
// goalie and one more of each team are sure to be checked.
void expectOpenPlayPlaces(long at, const std::vector<PlayerState>& seen,
                          std::map<std::pair<int, int>, std::map<long, TracedCycle>>& traced) {
  int checked[2] = {0, 0};
  for (const PlayerState& p : seen) {
    const int side = p.team == "Left" ? 0 : 1;
    const auto& mine = traced[{side, p.unum}];
    const auto from = mine.upper_bound(at - 1500), to = mine.upper_bound(at);
    if (from == to || std::prev(to)->first < at - 10) continue;
    bool kept = true;
    for (auto d = from; d != to; ++d)
      kept = kept && d->second.behaviour == StrategicBehavior::Formation && !d->second.active && !d->second.blocker;
    if (!kept) continue;
    const TracedCycle& d = std::prev(to)->second;
    const auto [x, y] = ownFrame(p);
    ++checked[side];
    EXPECT_LT(std::hypot(x - d.sx, y - d.sy), 0.5) << p.team << " " << p.unum << " at " << at / 100.0 << " s stands at ("
                                                   << x << ", " << y << "), its place is (" << d.sx << ", " << d.sy
                                                   << ")";
  }
  EXPECT_GE(checked[0], 2) << "Left players kept in formation";
  EXPECT_GE(checked[1], 2) << "Right players kept in formation";
}

// At kick-off every player stands within half a metre (the kick-off
// routine's own tolerance) of the strategic position it computed.
void expectKickOffPlaces(const std::map<long, std::vector<PlayerState>>& seen,
                         std::map<std::pair<int, int>, std::map<long, TracedCycle>>& traced) {
  int checked = 0, away = 0;
  for (const auto& [t, all] : seen) {
    for (const PlayerState& p : all) {
      const int side = p.team == "Left" ? 0 : 1;
      const auto& mine = traced[{side, p.unum}];
      // A busy agent may skip a cycle: its nearest traced cycle within two.
      auto d = mine.end();
      for (auto c = mine.lower_bound(t - 2); c != mine.end() && c->first <= t + 2; ++c)
        if (d == mine.end() || std::abs(c->first - t) < std::abs(d->first - t)) d = c;
      if (d == mine.end()) continue;
      const auto [x, y] = ownFrame(p);
      const double off = std::hypot(x - d->second.sx, y - d->second.sy);
      ++checked;
      if (off >= 0.5 && away++ < 5)
        ADD_FAILURE() << p.team << " " << p.unum << " at " << t / 100.0 << " s stands at (" << x << ", " << y
                      << "), its place is (" << d->second.sx << ", " << d->second.sy << ")";
    }
  }
  EXPECT_GE(checked, 44);
  EXPECT_EQ(away, 0) << "of " << checked;
}

// Two teams of the agent program on the practice server, tracing their
// decisions: at kick-off every player stands on its strategic position; one
// elected active player per team while the ball is moved; in open play with
// the ball still, the players that keep formation stand on their strategic
// positions, on either side; a goal sends both
// teams back to their halves by beaming and the game kicks off again; the
// second half starts and is played.
TEST(Game, KickOffPlacesOneActivePlayerGoalsAndTheSecondHalf) {
  PracticeServer server;
  TempDir work;
  traceDecisions(work);
  std::vector<Process> agents;
  for (const std::string team : {"Home", "Away"}) {
    ASSERT_EQ(joinTeam(server, work.path(), team, 11, agents), "");
  }
  auto mode = [&](const std::string& pm) {
    return server.waitFor([&](const practice::SNode& s) { return text(s, "pm") == pm; });
  };
  // A second for the kick-off beams and the roles, then the kick-off; the
  // ball is moved twice.
  const long joined = cycleOf(server.state());
  ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) { return cycleOf(s) >= joined + 60; }, 120000));
  ASSERT_TRUE(server.command("(kickOff Left)"));
  std::map<long, std::vector<PlayerState>> atKickOff;
  bool moved4 = false, moved6 = false;
  ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
    const double t = gameTimeOf(s);
    if (t > 0 && t <= 0.6) atKickOff[std::lround(t * 100)] = players(s);
    if (t >= 2.5 && !moved4) moved4 = server.command("(ball (pos -5 -3 0.042) (vel 0 0 0))");
    if (t >= 4.5 && !moved6) moved6 = server.command("(ball (pos 6 2 0.042) (vel 0 0 0))");
    return t >= 6;
  }, 120000));

  // Open play with the ball still: the clock past the first 25 s after
  // kick-off (the kick-off formations and the shadowing of their kick-off
  // last that long), the ball held on the centre spot for 18 s.
  ASSERT_TRUE(server.command("(time 30)"));
  long stillAt = 0;
  std::vector<PlayerState> still;
  ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
    server.command("(ball (pos 0 0 0.042) (vel 0 0 0))");
    if (gameTimeOf(s) < 48) return false;
    stillAt = std::lround(gameTimeOf(s) * 100);
    still = players(s);
    EXPECT_EQ(text(s, "pm"), "PlayOn");
    return true;
  }, 120000));

  // Two players stray into the other half; then the ball goes into the right goal.
  ASSERT_TRUE(server.command("(agent (unum 6) (team Left) (pos 5 1 0.3))"));
  ASSERT_TRUE(server.command("(agent (unum 6) (team Right) (pos -5 -1 0.3))"));
  ASSERT_TRUE(server.command("(playMode PlayOn)(ball (pos 15.3 0 0.042) (vel 0 0 0))"));
  ASSERT_TRUE(mode("Goal_Left")) << text(server.state(), "pm");
  ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
    const std::vector<PlayerState> all = players(s);
    const PlayerState* home = find(all, "Left", 6);
    const PlayerState* away = find(all, "Right", 6);
    return home && away && home->x < 0 && away->x > 0;
  })) << "not beamed back";
  // The right team kicks off; its kicker may touch the ball before a look
  // at the state sees the kick-off mode.
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return text(s, "pm") != "Goal_Left"; }));
  EXPECT_THAT(text(server.state(), "pm"), ::testing::AnyOf("KickOff_Right", "PlayOn"));
  EXPECT_EQ(text(server.state(), "sl"), "1");
  for (const PlayerState& p : players(server.state()))
    EXPECT_LT(p.team == "Left" ? p.x : -p.x, 0) << p.team << " " << p.unum << " in the own half";

  // Half time: the second half starts, kicks off and runs.
  ASSERT_TRUE(server.command("(time 299.9)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return text(s, "half") == "2"; }));
  ASSERT_TRUE(server.command("(kickOff Right)"));
  ASSERT_TRUE(server.waitFor([](const practice::SNode& s) { return gameTimeOf(s) >= 300.5; }));
  const practice::SNode last = server.state();
  EXPECT_EQ(text(last, "connections"), "22");
  EXPECT_EQ(players(last).size(), 22u);
  server.stop();
  std::map<std::pair<int, int>, std::map<long, TracedCycle>> traced;  // (side, unum)
  for (size_t k = 0; k < agents.size(); ++k) {
    EXPECT_EQ(agents[k].wait(), 1) << agents[k].err().substr(0, 2000);
    traced[{static_cast<int>(k / 11), static_cast<int>(k % 11) + 1}] = tracedCycles(agents[k].out());
  }
  expectKickOffPlaces(atKickOff, traced);
  expectOpenPlayPlaces(stillAt, still, traced);
  expectOneElectedActivePlayer(traced);
}

}  // namespace
}  // namespace agenttest
