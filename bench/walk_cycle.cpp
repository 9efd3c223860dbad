// The walk's cycle at the top forward command: each iteration is one
// execute, a step start (plan, ZMP reference, preview control) every tenth.
// median_us is an ordinary cycle, max_us a step start.

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "physics/AgentModel.h"
#include "skills/OmniWalkZMP.h"
#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"
#include "world/WorldState.h"

namespace {

void BM_WalkCycle(benchmark::State& state)
{
    // The walk reads its files from the agent's data folder.
    if (chdir(QV_DATA_DIR) != 0) {
        state.SkipWithError("no data folder");
        return;
    }
    Singleton<AgentModel>::getInstance().initialize("nao.xml");
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.cTime = 0;
    ws.timeStep = 0.02f;
    // The joint commands go into a socket pair that is emptied every cycle.
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) {
        state.SkipWithError("no socket pair");
        return;
    }
    Singleton<ServerComm>::getInstance().sock.socketfd = fds[0];
    char sink[4096];

    OmniWalkZMP walk;
    walk.init();
    std::vector<double> times;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        walk.setOptParameter(1, 0, 0, true);
        walk.execute();
        auto end = std::chrono::steady_clock::now();
        double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        ws.cTime += 0.02f;
        while (recv(fds[1], sink, sizeof sink, MSG_DONTWAIT) > 0) {
        }
    }
    Singleton<ServerComm>::getInstance().sock.socketfd = -1;
    close(fds[0]);
    close(fds[1]);
    double slowest = *std::max_element(times.begin(), times.end());
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    state.counters["median_us"] = times[times.size() / 2] * 1e6;
    state.counters["max_us"] = slowest * 1e6;
}

}  // namespace

BENCHMARK(BM_WalkCycle)->UseManualTime()->Iterations(2000);
