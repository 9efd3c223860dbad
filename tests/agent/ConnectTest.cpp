// When the agent connects to the server: only once it has loaded everything,
// so that its scene request follows the connection at once.

#include <gtest/gtest.h>

#include "KVDAgentH.h"
#include "Support.h"
#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"

namespace {

using namespace agenttest;

TEST(ServerConnection, BuildingTheAgentLoadsEverythingWithoutConnecting) {
  Listener server;
  Process p = Process::start([&] {
    unsigned int unum = 4;
    KVDAgentH agent("nao1.xml", "T", unum, "127.0.0.1", server.port(), nullptr, false, "", "", false, false,
                    "none", 4100);
    const bool loaded = agent.strategy != nullptr && Singleton<ServerComm>::getInstance().sock.socketfd < 0;
    std::fflush(nullptr);
    ::_exit(loaded ? 0 : 1);
  });
  EXPECT_EQ(p.wait(), 0) << p.err();
  EXPECT_EQ(server.accept(0), -1);  // a silent connection would stall a sync-mode server
}

}  // namespace
