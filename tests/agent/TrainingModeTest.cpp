// Whole agents in each training mode on the practice server, driven by the
// stand-in trainer.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Support.h"
#include "Trainer.h"

namespace agenttest {
namespace {

using trainer::Record;

// What one agent sent the trainer, frame by frame.
std::vector<std::string> framesFrom(const std::vector<Record>& records, unsigned shirt) {
  std::vector<std::string> out;
  for (const Record& r : records)
    if (r.shirt == shirt && r.kind == Record::FrameIn) out.push_back(r.bytes);
  return out;
}

int oks(const std::vector<std::string>& frames) {
  int n = 0;
  for (const std::string& f : frames) n += f == "Ok";
  return n;
}

// Each training mode's frames: "kick" and "decisionActive" only close each
// cycle with "Ok"; "decisionKick" told "1" reports its long kick twice before
// the "Ok"; "demo" sends its status twice before the "Ok".
TEST(TrainingMode, EachModeSendsItsFramesEveryCycle) {
  trainer::TrainerOptions options;
  options.port = 0;
  options.commands = {"1"};
  options.loop = true;
  options.keepRecords = true;
  trainer::Trainer gym(options);
  std::string error;
  ASSERT_TRUE(gym.start(error)) << error;

  const std::map<int, std::string> modes{{2, "kick"}, {3, "decisionKick"}, {4, "decisionActive"}, {5, "demo"}};
  const int wantOks = 4;
  std::atomic<bool> abort{false}, finished{false};
  std::ostringstream table;
  // Stops the trainer's thread on every way out of the test.
  struct Stop {
    std::atomic<bool>& abort;
    std::thread& serve;
    ~Stop() {
      abort = true;
      if (serve.joinable()) serve.join();
    }
  };
  // The trainer's thread serves until every agent has closed enough cycles.
  std::thread serve([&] {
    gym.run(
        [&] {
          if (abort) return true;
          for (const auto& m : modes)
            if (oks(framesFrom(gym.records(), static_cast<unsigned>(m.first))) < wantOks) return false;
          return true;
        },
        table);
    finished = true;
  });
  Stop stop{abort, serve};

  TempDir work;  // what the players write stays there
  work.mirrorDataKeepingFormations();
  PracticeServer server;
  std::vector<Process> agents;
  for (const auto& m : modes) {
    agents.push_back(Process::exec({QV_AGENT, "-t", "Home", "-u", std::to_string(m.first), "-p",
                                    std::to_string(server.agentPort), "-training", m.second, "-trainingPort",
                                    std::to_string(gym.port())},
                                   work.path()));
    ASSERT_TRUE(server.waitFor([&](const practice::SNode& s) {
      for (const PlayerState& p : players(s))
        if (p.name == "Home" && p.unum == m.first) return true;
      return false;
    })) << m.second << "\n" << agents.back().err();
  }
  // Training cycles are play-on cycles.
  ASSERT_TRUE(server.command("(playMode PlayOn)"));
  for (auto end = Clock::now() + std::chrono::milliseconds(60000); !finished && Clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  abort = true;
  serve.join();
  server.stop();
  for (Process& a : agents) a.wait();

  const std::vector<Record>& records = gym.records();
  for (const auto& m : modes) {
    SCOPED_TRACE(m.second);
    const unsigned shirt = static_cast<unsigned>(m.first);
    const std::vector<std::string> in = framesFrom(records, shirt);
    ASSERT_GE(oks(in), wantOks) << table.str();
    if (m.second == "kick" || m.second == "decisionActive") {
      for (const std::string& f : in) EXPECT_EQ(f, "Ok");
    } else if (m.second == "decisionKick") {
      bool longKick = false;
      for (size_t k = 0; k + 2 < in.size(); ++k)
        longKick |= in[k] == "Iniciando Long Kick" && in[k + 1] == "Iniciando Long KickTerminando Long Kick" &&
                    in[k + 2] == "Ok";
      EXPECT_TRUE(longKick) << table.str();
    } else {
      bool status = false;
      for (size_t k = 0; k + 2 < in.size(); ++k)
        status |= in[k].rfind("> -- < GTIME : ", 0) == 0 && in[k + 1] == in[k] && in[k + 2] == "Ok" &&
                  in[k].find("> -- < Current Behavior : ") != std::string::npos;
      EXPECT_TRUE(status) << table.str();
    }
  }
}

}  // namespace
}  // namespace agenttest
