#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Support.h"

namespace agenttest {
namespace {

// Eleven players that join, beam to their places and then never move: each
// answers every server message with (syn) alone.
class StillTeam {
 public:
  StillTeam(int port, const std::string& name) {
    static const double places[11][2] = {{-14.5, 0}, {-11, -3}, {-11, 3}, {-9, 0}, {-7, -5}, {-7, 5},
                                         {-5, 0},    {-3, -3},  {-3, 3},  {-1, -1.5}, {-1, 1.5}};
    for (int unum = 1; unum <= 11; ++unum) {
      auto link = std::make_unique<Link>(connectTo(port));
      link->send("(scene rsg/agent/nao/nao_hetero.rsg 0)");
      link->send("(init (unum " + std::to_string(unum) + ")(teamname " + name + "))(syn)");
      char beam[64];
      std::snprintf(beam, sizeof beam, "(beam %.2f %.2f 0)(syn)", places[unum - 1][0], places[unum - 1][1]);
      beams_.push_back(beam);
      links_.push_back(std::move(link));
    }
    thread_ = std::thread([this] { loop(); });
  }
  ~StillTeam() { stop(); }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  void loop() {
    while (!stop_) {
      std::vector<pollfd> fds;
      for (auto& l : links_) fds.push_back({l->fd(), static_cast<short>(l->open() ? POLLIN : 0), 0});
      if (::poll(fds.data(), fds.size(), 10) <= 0) continue;
      for (size_t i = 0; i < links_.size(); ++i) {
        Link& l = *links_[i];
        if (!l.open() || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        if (!l.fill()) {
          l.close();
          continue;
        }
        while (l.take()) {
          l.send(beams_[i].empty() ? "(syn)" : beams_[i]);
          beams_[i].clear();
        }
      }
    }
  }

  std::vector<std::unique_ptr<Link>> links_;
  std::vector<std::string> beams_;  // sent once, with the first answer
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

struct Game {
  PracticeServer server;
  std::vector<Process> agents;

  std::string mode() { return text(server.state(), "pm"); }
  // Plays until `done` or `seconds` of game time have passed; whether `done` came.
  bool playUntil(const std::function<bool(const practice::SNode&)>& done, double seconds) {
    const double end = gameTimeOf(server.state()) + seconds;
    for (;;) {
      const practice::SNode s = server.state();
      if (done(s)) return true;
      const double t = gameTimeOf(s);
      if (t < 0 || t >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  void play(double seconds) {
    playUntil([](const practice::SNode&) { return false; }, seconds);
  }
  // A set piece of ours with the ball at (x, y) and our player `taker` put
  // near it. Whether it was taken: play went on within 15 s, before the
  // referee would drop the ball.
  bool setPiece(const std::string& pm, double x, double y, int taker, double tx, double ty) {
    // The referee takes a set piece where the ball was last in the field.
    char cmd[256];
    std::snprintf(cmd, sizeof cmd, "(playMode PlayOn)(ball (pos %.3f %.3f 0.042) (vel 0 0 0))"
                  "(agent (unum %d) (team Left) (pos %.3f %.3f 0.3))", x, y, taker, tx, ty);
    const long cycle = cycleOf(server.state());
    EXPECT_TRUE(server.command(cmd));
    EXPECT_TRUE(server.waitFor([&](const practice::SNode& s) { return cycleOf(s) > cycle + 1; }));
    EXPECT_TRUE(server.command("(playMode " + pm + ")"));
    EXPECT_TRUE(playUntil([&](const practice::SNode& s) { return text(s, "pm") == pm; }, 1)) << pm;
    const double start = gameTimeOf(server.state());
    return playUntil([&](const practice::SNode& s) { return text(s, "pm") != pm; }, 16) &&
           gameTimeOf(server.state()) - start < 14.9;
  }
  int running() {
    int n = 0;
    for (Process& a : agents) n += a.running();
    return n;
  }
};

// Our team against eleven players that never move, over two short halves
// each kicked off by us, with a kick-in, a corner and a goal kick of ours in
// the first: every player plays on to the end. The score and the set pieces
// taken are printed.
TEST(WholeGame, TwoShortHalvesAgainstElevenPlayersThatNeverMove) {
#ifdef __SANITIZE_ADDRESS__
  // Eleven sanitized agents play two halves too slowly for the test's time
  // limit; the normal build runs it.
  GTEST_SKIP() << "a whole team under the sanitizers";
#endif
  Game g;
  TempDir work;
  work.mirrorDataKeepingFormations();
  ASSERT_EQ(joinTeam(g.server, work.path(), "Home", 11, g.agents), "");
  StillTeam still(g.server.agentPort, "Still");
  ASSERT_TRUE(g.server.waitFor([](const practice::SNode& s) { return players(s).size() == 22u; }));

  ASSERT_TRUE(g.server.command("(kickOff Left)"));
  EXPECT_TRUE(g.playUntil([](const practice::SNode& s) { return text(s, "pm") == "PlayOn"; }, 16));
  g.play(10);
  const bool kickIn = g.setPiece("KickIn_Left", 3, 9.958, 10, 2, 9);
  const bool corner = g.setPiece("corner_kick_left", 14.958, 5.483, 9, 14, 4.5);
  const bool goalKick = g.setPiece("goal_kick_left", -14, 0, 1, -14.9, -0.5);

  ASSERT_TRUE(g.server.command("(playMode PlayOn)(time 299.5)"));
  ASSERT_TRUE(g.server.waitFor([](const practice::SNode& s) { return text(s, "half") == "2"; }));
  ASSERT_TRUE(g.server.command("(kickOff Left)"));
  EXPECT_TRUE(g.playUntil([](const practice::SNode& s) { return text(s, "pm") == "PlayOn"; }, 16));
  g.play(10);

  const practice::SNode last = g.server.state();
  std::printf("score %s:%s; set pieces taken: kick-in %s, corner %s, goal kick %s\n", text(last, "sl").c_str(),
              text(last, "sr").c_str(), kickIn ? "yes" : "no", corner ? "yes" : "no", goalKick ? "yes" : "no");
  EXPECT_GE(gameTimeOf(last), 310);
  EXPECT_EQ(g.running(), 11);
  EXPECT_EQ(text(last, "connections"), "22");
  still.stop();
  g.server.stop();
  for (Process& a : g.agents) EXPECT_EQ(a.wait(), 1) << a.err().substr(0, 2000);
}

}  // namespace
}  // namespace agenttest
