// One perception cycle of a crowded field (22 players): the perceptor parser
// with the world update and the merge of heard messages, message after
// message of a real server run. Each iteration is one message; the counter
// median_us is the median time of one message. The second benchmark goes
// through every player's recording of the crowded field, each as that player
// with its robot type, and gives the median over all messages and over the
// messages that carry vision, by the wall clock and (cpu_*) by the thread's
// own CPU time, which leaves out the time it waited for a processor.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "Samples.h"
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

struct Capture {
    std::string team;
    int unum;
    int robotType;
    std::vector<std::string> messages;
};

std::vector<Capture> readCrowdCaptures()
{
    std::vector<Capture> out;
    for (const char side : {'A', 'B'}) {
        for (int unum = 1; unum <= 11; ++unum) {
            const std::string base =
                std::string(QV_CAPTURES_DIR) + "/crowd_" + side + std::to_string(unum);
            std::ifstream in(base + ".log");
            std::ifstream sent(base + ".sent.log");
            if (!in || !sent)
                continue;
            Capture c;
            c.team = side == 'A' ? "ProbeA" : "ProbeB";
            c.unum = unum;
            // The robot type is the last word of the scene request.
            std::string line;
            std::getline(sent, line);
            const std::string::size_type rsg = line.find(".rsg ");
            c.robotType = rsg == std::string::npos ? 0 : std::atoi(line.c_str() + rsg + 5);
            while (std::getline(in, line))
                if (!line.empty())
                    c.messages.push_back(line);
            out.push_back(c);
        }
    }
    return out;
}

using bench::percentile;
using bench::threadCpuMicros;

void BM_ParseAndUpdateAllCrowdCaptures(benchmark::State& state)
{
    const std::vector<Capture> captures = readCrowdCaptures();
    if (captures.empty()) {
        state.SkipWithError("no crowd captures");
        return;
    }
    WorldState& ws = Singleton<WorldState>::getInstance();
    MessageParser parser;
    std::vector<double> all, vision, cpuAll, cpuVision;
    size_t c = 0, m = 0;
    bool switchPlayer = true;
    for (auto _ : state) {
        const Capture& capture = captures[c];
        if (switchPlayer) {
            const int type = capture.robotType;
            Singleton<AgentModel>::getInstance().initialize(
                std::string(QV_DATA_DIR) + "/nao" + (type == 0 ? "" : std::to_string(type)) +
                ".xml");
            ws.setUnum(capture.unum);
            ws.setTeam(capture.team);
            switchPlayer = false;
        }
        const std::string& message = capture.messages[m];
        const double cpuStart = threadCpuMicros();
        auto start = std::chrono::steady_clock::now();
        parser.parseMessage(message);
        auto end = std::chrono::steady_clock::now();
        const double cpu = threadCpuMicros() - cpuStart;
        double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        all.push_back(seconds * 1e6);
        cpuAll.push_back(cpu);
        if (message.find("(See ") != std::string::npos) {
            vision.push_back(seconds * 1e6);
            cpuVision.push_back(cpu);
        }
        if (++m == capture.messages.size()) {
            m = 0;
            c = (c + 1) % captures.size();
            switchPlayer = true;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["median_us"] = percentile(all, 50);
    state.counters["p99_us"] = percentile(all, 99);
    state.counters["vision_median_us"] = percentile(vision, 50);
    state.counters["vision_p99_us"] = percentile(vision, 99);
    state.counters["cpu_median_us"] = percentile(cpuAll, 50);
    state.counters["cpu_vision_median_us"] = percentile(cpuVision, 50);
    state.counters["cpu_vision_p99_us"] = percentile(cpuVision, 99);
    state.counters["players"] = static_cast<double>(captures.size());
}
// Every message of every player once.
int64_t crowdMessageCount()
{
    int64_t n = 0;
    for (const Capture& c : readCrowdCaptures())
        n += static_cast<int64_t>(c.messages.size());
    return n > 0 ? n : 1;
}
BENCHMARK(BM_ParseAndUpdateAllCrowdCaptures)->UseManualTime()->Iterations(crowdMessageCount());

} // namespace
