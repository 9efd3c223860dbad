// The agent's whole cycle on a crowded field (22 players): receive the
// message from the link, parse it and update the world, decide, run the
// motion, and send the effector text. The messages of a real server run are
// replayed through a local TCP link, with the clock running on from replay to
// replay. "Recorded" keeps the messages as they came (before kick-off);
// "PlayOn" switches the play mode to play on so that the whole decision runs.
// Each iteration is one cycle; the counters give the median and the 99th
// percentile of the cycle and the median of each part, in microseconds, of
// the wall clock and (cpu_*) of the thread's own CPU time, which leaves out
// the time the thread waited for a processor on a busy machine.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "KVDAgentH.h"
#include "Samples.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "utils/communication/MessageParser.h"
#include "utils/communication/ServerComm.h"
#include "world/WorldState.h"

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::micro>(b - a).count();
}

using bench::percentile;
using bench::threadCpuMicros;

// One recorded message split around its clock and game time, so that each
// replay can write times that run on.
struct Recorded {
    std::string beforeNow, betweenNowAndT, afterT;
    bool hasT = false;
};

bool split(const std::string& line, const char* key, std::string& before, std::string& after)
{
    const std::string::size_type k = line.find(key);
    if (k == std::string::npos)
        return false;
    const std::string::size_type v = k + std::string(key).size();
    const std::string::size_type end = line.find(')', v);
    if (end == std::string::npos)
        return false;
    before = line.substr(0, v);
    after = line.substr(end);
    return true;
}

std::vector<Recorded> readCapture(const std::string& path, bool playOn)
{
    std::vector<Recorded> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        if (playOn) {
            const std::string from = "(pm BeforeKickOff)";
            const std::string::size_type p = line.find(from);
            if (p != std::string::npos)
                line.replace(p, from.size(), "(pm PlayOn)");
        }
        Recorded r;
        std::string rest;
        if (!split(line, "(now ", r.beforeNow, rest))
            continue;
        r.hasT = split(rest, "(t ", r.betweenNowAndT, r.afterT);
        if (!r.hasT)
            r.betweenNowAndT = rest;
        out.push_back(r);
    }
    return out;
}

std::string render(const Recorded& r, double now, double gameTime)
{
    char num[32];
    std::string s = r.beforeNow;
    std::snprintf(num, sizeof num, "%.2f", now);
    s += num;
    s += r.betweenNowAndT;
    if (r.hasT) {
        std::snprintf(num, sizeof num, "%.2f", gameTime);
        s += num;
        s += r.afterT;
    }
    return s;
}

int listener(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(fd, 1) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return -1;
    port = ntohs(a.sin_port);
    return fd;
}

bool sendFramed(int fd, const std::string& text)
{
    std::string frame(4, '\0');
    const uint32_t n = htonl(static_cast<uint32_t>(text.size()));
    std::memcpy(&frame[0], &n, 4);
    frame += text;
    for (size_t done = 0; done < frame.size();) {
        const ssize_t w = ::send(fd, frame.data() + done, frame.size() - done, 0);
        if (w <= 0)
            return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

void drain(int fd)
{
    char sink[8192];
    while (::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0) {
    }
}

// The agent, built once for the program: shirt 1 of the recorded left team,
// linked to the benchmark's end of a local connection.
struct Rig {
    KVDAgentH* agent = nullptr;
    int serverFd = -1;
    MessageParser parser;
};

Rig* rig(std::string& error)
{
    static Rig* r = nullptr;
    if (r != nullptr)
        return r;
    if (chdir(QV_DATA_DIR) != 0) {
        error = "no data folder";
        return nullptr;
    }
    int port = 0;
    const int listenFd = listener(port);
    if (listenFd < 0) {
        error = "no listening socket";
        return nullptr;
    }
    r = new Rig;
    unsigned int unum = 1;
    r->agent = new KVDAgentH("nao.xml", "ProbeA", unum, "127.0.0.1", port, nullptr, false, "", "",
                             false, false, "none", 4100);
    r->serverFd = ::accept(listenFd, nullptr, nullptr);
    ::close(listenFd);
    if (r->serverFd < 0) {
        error = "no connection";
        return nullptr;
    }
    r->agent->init();
    r->agent->setup();
    Singleton<Actions>::getInstance().InitAgent("ProbeA", 1);
    Singleton<WorldState>::getInstance().setSide("left");
    drain(r->serverFd);
    return r;
}

// The median, 99th percentile and largest sample as <stem>median_us,
// <stem>p99_us and <stem>max_us.
void putSpread(benchmark::State& state, const std::string& stem, const std::vector<double>& v)
{
    state.counters[stem + "median_us"] = percentile(v, 50);
    state.counters[stem + "p99_us"] = percentile(v, 99);
    state.counters[stem + "max_us"] = percentile(v, 100);
}

void BM_AgentCycle(benchmark::State& state, bool playOn)
{
    const std::vector<Recorded> messages =
        readCapture(std::string(QV_CAPTURES_DIR) + "/crowd_A1.log", playOn);
    if (messages.empty()) {
        state.SkipWithError("crowd_A1.log not found");
        return;
    }
    std::string error;
    Rig* r = rig(error);
    if (r == nullptr) {
        state.SkipWithError(error.c_str());
        return;
    }
    ServerComm& comm = Singleton<ServerComm>::getInstance();
    Actions& actions = Singleton<Actions>::getInstance();

    // The clock runs on over every benchmark of the program.
    static double now = 300;
    static double gameTime = 0;
    std::vector<double> total, cpu, receive, perceive, decide, motion, send;
    size_t i = 0;
    for (auto _ : state) {
        now += 0.02;
        if (playOn)
            gameTime += 0.02;
        const std::string text = render(messages[i], now, gameTime);
        if (!sendFramed(r->serverFd, text)) {
            state.SkipWithError("link closed");
            break;
        }
        const double c0 = threadCpuMicros();
        const Clock::time_point t0 = Clock::now();
        if (!comm.receive()) {
            state.SkipWithError("nothing received");
            break;
        }
        const Clock::time_point t1 = Clock::now();
        r->parser.parseMessage(comm.getMsg());
        const Clock::time_point t2 = Clock::now();
        r->agent->think();
        const Clock::time_point t3 = Clock::now();
        actions.Send();
        const Clock::time_point t4 = Clock::now();
        cpu.push_back(threadCpuMicros() - c0);
        // Without a behaviour to run, the motion took no time.
        const Clock::time_point m = r->agent->motionStart > t2 ? r->agent->motionStart : t3;

        state.SetIterationTime(std::chrono::duration<double>(t4 - t0).count());
        total.push_back(micros(t0, t4));
        receive.push_back(micros(t0, t1));
        perceive.push_back(micros(t1, t2));
        decide.push_back(micros(t2, m));
        motion.push_back(micros(m, t3));
        send.push_back(micros(t3, t4));
        drain(r->serverFd);
        if (++i == messages.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    putSpread(state, "", total);
    putSpread(state, "cpu_", cpu);
    state.counters["receive_us"] = percentile(receive, 50);
    state.counters["perceive_us"] = percentile(perceive, 50);
    state.counters["decide_us"] = percentile(decide, 50);
    state.counters["decide_p99_us"] = percentile(decide, 99);
    state.counters["motion_us"] = percentile(motion, 50);
    state.counters["motion_p99_us"] = percentile(motion, 99);
    state.counters["send_us"] = percentile(send, 50);
}
BENCHMARK_CAPTURE(BM_AgentCycle, Recorded, false)->UseManualTime()->Iterations(2580);
BENCHMARK_CAPTURE(BM_AgentCycle, PlayOn, true)->UseManualTime()->Iterations(5160);

} // namespace
