// The agent's trainer link: only a training mode has one, and it stays down
// until the first training cycle.

#include <gtest/gtest.h>

#include "KVDAgentH.h"
#include "Support.h"
#include "utils/Singleton.h"
#include "utils/communication/TrainingComm.h"

namespace {

using namespace agenttest;

TEST(TrainingLink, OnlyATrainingModeHasTheProcessLinkAndItIsNotMadeAtStart) {
  Listener server;
  Listener trainer;
  for (const std::string mode : {"none", "kick", "decisionKick", "decisionActive", "demo", "Demo"}) {
    const bool training = mode != "none" && mode != "Demo";
    Process p = Process::start([&] {
      unsigned int unum = 3;
      KVDAgentH agent("nao.xml", "T", unum, "127.0.0.1", server.port(), nullptr, false, "", "", false, false,
                      mode, trainer.port());
      const bool ok = training ? agent.trcomm == &Singleton<TrainingComm>::getInstance() &&
                                     !agent.trcomm->isInitialized() && agent.trcomm->sock.socketfd < 0
                               : agent.trcomm == nullptr;
      std::fflush(nullptr);
      ::_exit(ok ? 0 : 1);
    });
    EXPECT_EQ(p.wait(), 0) << mode << "\n" << p.err();
  }
  EXPECT_EQ(trainer.accept(0), -1);  // nobody came to the trainer
}

}  // namespace
