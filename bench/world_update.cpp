// One perception cycle of a crowded field (22 players): the perceptor parser
// with the world update and the merge of heard messages, message after
// message of a real server run. Each iteration is one message; the counter
// median_us is the median time of one message.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

void BM_ParseAndUpdateCrowdMessages(benchmark::State& state)
{
    std::vector<std::string> messages;
    std::ifstream in(std::string(QV_CAPTURES_DIR) + "/crowd_A1.log");
    std::string line;
    while (std::getline(in, line))
        if (!line.empty())
            messages.push_back(line);
    if (messages.empty()) {
        state.SkipWithError("crowd_A1.log not found");
        return;
    }

    // The agent of that run: ProbeA's shirt number 1, robot type 0.
    Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
    WorldState& ws = Singleton<WorldState>::getInstance();
    MessageParser parser;
    ws.setUnum(1);
    ws.setTeam("ProbeA");

    std::vector<double> times;
    size_t i = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        parser.parseMessage(messages[i]);
        auto end = std::chrono::steady_clock::now();
        double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        bytes += static_cast<int64_t>(messages[i].size());
        if (++i == messages.size())
            i = 0;
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(state.iterations());
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    state.counters["median_us"] = times[times.size() / 2] * 1e6;
    state.counters["messages"] = static_cast<double>(messages.size());
}
BENCHMARK(BM_ParseAndUpdateCrowdMessages)->UseManualTime();

} // namespace
