// Mutates the recorded server messages (broken bytes, cuts, bad numbers,
// swapped names, nesting, forged team messages, crowds of players) and feeds
// them through the parser and the world update; after every message the world
// state and the body model must still be sane.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/TestPaths.h"
#include "utils/communication/AgentComm.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

struct Capture {
    std::string team;
    std::vector<std::string> lines;
};

std::vector<Capture> loadCaptures()
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(testpaths::capturesDir())) {
        std::string name = e.path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".log") == 0 &&
            name.find(".sent.") == std::string::npos && name != "monitor_commands.log")
            names.push_back(name.substr(0, name.size() - 4));
    }
    std::sort(names.begin(), names.end());

    std::vector<Capture> captures;
    for (const std::string& name : names) {
        Capture c;
        std::ifstream sent(testpaths::capturesDir() + "/" + name + ".sent.log");
        std::string line;
        while (std::getline(sent, line)) {
            std::string::size_type at = line.find("(teamname ");
            if (at != std::string::npos) {
                at += 10;
                c.team = line.substr(at, line.find(')', at) - at);
                break;
            }
        }
        std::ifstream in(testpaths::capturesDir() + "/" + name + ".log");
        while (std::getline(in, line))
            c.lines.push_back(line);
        if (!c.team.empty() && !c.lines.empty())
            captures.push_back(std::move(c));
    }
    return captures;
}

bool isDelimiter(char c) { return c == '(' || c == ')' || c == ' ' || c == '"'; }

struct Span {
    std::size_t at;
    std::size_t len;
};

// The atoms of a message; with heads set, only those right after '('.
std::vector<Span> atoms(const std::string& s, bool heads)
{
    std::vector<Span> out;
    for (std::size_t i = 0; i < s.size();) {
        if (isDelimiter(s[i])) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < s.size() && !isDelimiter(s[j]))
            ++j;
        if (!heads || (i > 0 && s[i - 1] == '('))
            out.push_back({i, j - i});
        i = j;
    }
    return out;
}

bool isNumber(const std::string& s, const Span& a)
{
    char c = s[a.at];
    return (c >= '0' && c <= '9') || ((c == '-' || c == '.') && a.len > 1);
}

// The top-level perceptor lists of a message.
std::vector<Span> perceptors(const std::string& s)
{
    std::vector<Span> out;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '(' && depth++ == 0)
            start = i;
        else if (s[i] == ')' && depth > 0 && --depth == 0)
            out.push_back({start, i - start + 1});
    }
    return out;
}

const char* const BAD_NUMBERS[] = {
    "1e39",  "-1e39", "3.4e38", "-3.4e38", "1e308", "1e-45", "99999999999999999999999",
    "nan",   "-nan",  "NaN",    "inf",     "-inf",  "INFINITY", "0x1p200", "-0",
    "",      "\"\"",  "abc",    "-",       ".",     "1e",       "--1",   "+",
    "2147483648", "-2147483649", "1.5.5", "12abc", "0x7fffffff"};

const char* const NAMES[] = {
    "HJ",    "FRP",  "See",   "GYR",   "ACC",     "time",    "GS",     "hear",      "n",
    "ax",    "rt",   "a",     "c",     "f",       "pol",     "P",      "B",         "L",
    "G1L",   "G2L",  "G1R",   "G2R",   "F1L",     "F2L",     "F1R",    "F2R",       "team",
    "id",    "head", "lfoot", "rfoot", "llowerarm", "rlowerarm", "unum", "pm",     "t",
    "sl",    "sr",   "bp",    "now",   "mypos",   "ballpos", "myorien", "",        "x"};

const char* const JOINTS[] = {"hj1",  "hj2",  "llj1", "rlj6", "laj4", "raj1", "llj7",
                              "rlj7", "hj3",  "lj1",  "torso", "lf1", "HJ",   "",
                              "llj0", "laj5", "rlj70"};

const char* const FEET[] = {"lf", "rf", "lf1", "rf1", "lf2", "torso", "", "hj1"};

const char* const MODES[] = {
    "BeforeKickOff",  "KickOff_Left",     "KickOff_Right",     "PlayOn",
    "KickIn_Left",    "KickIn_Right",     "corner_kick_left",  "corner_kick_right",
    "goal_kick_left", "goal_kick_right",  "offside_left",      "offside_right",
    "GameOver",       "Goal_Left",        "Goal_Right",        "free_kick_left",
    "free_kick_right", "direct_free_kick_left", "direct_free_kick_right", "pass_left",
    "pass_right",     "unknown",          "",                  "playon"};

const char* const IDS[] = {"-5", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
                           "11", "12", "99", "2147483648", "-2147483649", "x", "1e3", "11.9"};

const char* const UNUMS[] = {"-1", "0", "1", "2", "5", "11", "12", "1e10", "abc", "99999999999"};

template <typename T, std::size_t N>
constexpr std::size_t count(const T (&)[N])
{
    return N;
}

class Mutator {
public:
    Mutator(unsigned seed, std::string team) : rng(seed), team(std::move(team)) {}

    std::size_t below(std::size_t n)
    {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }
    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
    template <typename T, std::size_t N>
    const T& any(const T (&list)[N]) { return list[below(N)]; }

    void setTeam(const std::string& name) { team = name; }

    std::string number(double lo, double hi)
    {
        if (chance(0.1))
            return any(BAD_NUMBERS);
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", uniform(lo, hi));
        return text;
    }

    std::string pol()
    {
        return "(pol " + number(0, 30) + " " + number(-180, 180) + " " + number(-90, 90) + ")";
    }

    // A seen player: any team, any id, some of its parts.
    std::string player()
    {
        static const char* const PARTS[] = {"head", "lfoot", "rfoot", "llowerarm", "rlowerarm"};
        std::string p = "(P";
        switch (below(5)) {
        case 0: break;
        case 1: p += " (team Rival)"; break;
        case 2: p += " (team )"; break;
        default: p += " (team " + team + ")"; break;
        }
        if (!chance(0.05))
            p += std::string(" (id ") + any(IDS) + ")";
        for (const char* part : PARTS)
            if (chance(0.5))
                p += std::string(" (") + part + " " + pol() + ")";
        return p + ")";
    }

    // A team message: usually labelled with our team and 20 characters of the
    // codec's alphabet starting with its header, sometimes anything.
    std::string hear()
    {
        std::string text;
        if (chance(0.8)) {
            text.push_back("EFGH"[below(4)]);
            while (text.size() < 20)
                text.push_back(AgentComm::allowed[below(AgentComm::allowed.size())]);
        } else {
            std::size_t n = below(30);
            for (std::size_t i = 0; i < n; ++i)
                text.push_back(static_cast<char>(33 + below(94)));
        }
        std::string label = chance(0.85) ? team : (chance(0.5) ? "Rival" : "");
        std::string from = chance(0.1) ? "self" : number(-180, 180);
        return "(hear " + label + " " + number(0, 600) + " " + from + " " + text + ")";
    }

    std::string gameState()
    {
        std::string gs = "(GS";
        if (chance(0.3))
            gs += std::string(" (unum ") + any(UNUMS) + ")";
        if (chance(0.3))
            gs += chance(0.5) ? " (team left)" : (chance(0.5) ? " (team right)" : " (team x)");
        if (chance(0.5))
            gs += " (sl " + number(0, 10) + ") (sr " + number(0, 10) + ")";
        if (chance(0.2))
            gs += " (bp " + number(-15, 15) + " " + number(-10, 10) + " " + number(0, 1) + ")";
        gs += " (t " + number(0, 600) + ")";
        if (chance(0.8))
            gs += std::string(" (pm ") + any(MODES) + ")";
        return gs + ")";
    }

    std::string body()
    {
        switch (below(4)) {
        case 0:
            return std::string("(HJ (n ") + any(JOINTS) + ") (ax " + number(-120, 120) + "))";
        case 1:
            return std::string("(FRP (n ") + any(FEET) + ") (c " + number(-1, 1) + " " +
                   number(-1, 1) + " " + number(-1, 1) + ") (f " + number(-50, 50) + " " +
                   number(-50, 50) + " " + number(-50, 50) + "))";
        case 2:
            return "(GYR (n torso) (rt " + number(-500, 500) + " " + number(-500, 500) + " " +
                   number(-500, 500) + "))";
        default:
            return "(ACC (n torso) (a " + number(-20, 20) + " " + number(-20, 20) + " " +
                   number(-20, 20) + "))";
        }
    }

    // Puts text at a random point between two top-level perceptors.
    void insertPerceptor(std::string& msg, const std::string& text)
    {
        std::vector<std::size_t> points{0, msg.size()};
        for (std::size_t i = 0; i + 1 < msg.size(); ++i)
            if (msg[i] == ')' && msg[i + 1] == '(')
                points.push_back(i + 1);
        msg.insert(points[below(points.size())], text);
    }

    void mutate(std::string& msg)
    {
        switch (below(15)) {
        case 0: { // Flipped bytes.
            for (std::size_t n = 1 + below(4); n > 0 && !msg.empty(); --n)
                msg[below(msg.size())] = static_cast<char>(below(256));
            break;
        }
        case 1: { // Cut at any byte, or after "(", before ")", after a blank, inside a number.
            std::vector<std::size_t> points;
            int kind = static_cast<int>(below(5));
            for (std::size_t i = 0; i < msg.size(); ++i) {
                char c = msg[i];
                if (kind == 0 || (kind == 1 && c == '(') || (kind == 2 && c == ')') ||
                    (kind == 3 && c == ' ') || (kind == 4 && (c == '.' || (c >= '0' && c <= '9'))))
                    points.push_back(kind == 1 || kind == 3 ? i + 1 : i);
            }
            if (!points.empty())
                msg.resize(points[below(points.size())]);
            break;
        }
        case 2:
        case 3: { // A parenthesis dropped or doubled.
            std::vector<std::size_t> parens;
            char which = chance(0.5) ? '(' : ')';
            for (std::size_t i = 0; i < msg.size(); ++i)
                if (msg[i] == which)
                    parens.push_back(i);
            if (parens.empty())
                break;
            std::size_t at = parens[below(parens.size())];
            if (chance(0.5))
                msg.erase(at, 1);
            else
                msg.insert(at, 1, which);
            break;
        }
        case 4:
        case 5: { // Numbers replaced by huge, tiny, not-finite, empty or non-numeric ones.
            std::vector<Span> numbers;
            for (const Span& a : atoms(msg, false))
                if (isNumber(msg, a))
                    numbers.push_back(a);
            for (std::size_t n = 1 + below(8); n > 0 && !numbers.empty(); --n) {
                std::size_t k = below(numbers.size());
                Span a = numbers[k];
                std::string bad = any(BAD_NUMBERS);
                msg.replace(a.at, a.len, bad);
                numbers.erase(numbers.begin() + static_cast<long>(k));
                for (Span& b : numbers)
                    if (b.at > a.at)
                        b.at = b.at + bad.size() - a.len;
            }
            break;
        }
        case 6: { // A list head renamed.
            std::vector<Span> heads = atoms(msg, true);
            if (!heads.empty()) {
                Span a = heads[below(heads.size())];
                msg.replace(a.at, a.len, any(NAMES));
            }
            break;
        }
        case 7: { // A very long atom.
            std::vector<Span> all = atoms(msg, false);
            std::size_t length = chance(0.02) ? 20000 : 200 + below(4000);
            std::string longAtom(length, chance(0.5) ? '7' : 'a');
            if (all.empty())
                msg += longAtom;
            else {
                Span a = all[below(all.size())];
                msg.replace(a.at, a.len, longAtom);
            }
            break;
        }
        case 8: { // Deep nesting, closed or not.
            std::size_t depth = 50 + below(2000);
            std::string deep = std::string(depth, '(') + "See";
            if (chance(0.7))
                deep += std::string(depth, ')');
            msg.insert(below(msg.size() + 1), deep);
            break;
        }
        case 9: { // Forged team messages.
            for (std::size_t n = 1 + below(3); n > 0; --n)
                insertPerceptor(msg, hear());
            break;
        }
        case 10: { // A crowd of players.
            std::string crowd;
            for (std::size_t n = 1 + below(25); n > 0; --n)
                crowd += " " + player();
            std::string::size_type see = msg.find("(See");
            if (see == std::string::npos)
                insertPerceptor(msg, "(See" + crowd + ")");
            else
                msg.insert(see + 4, crowd);
            break;
        }
        case 11: { // Joints, feet and sensors of other names and values.
            for (std::size_t n = 1 + below(6); n > 0; --n)
                insertPerceptor(msg, body());
            break;
        }
        case 12: // A game state of any content.
            insertPerceptor(msg, gameState());
            break;
        case 13: { // A perceptor dropped or repeated.
            std::vector<Span> parts = perceptors(msg);
            if (parts.empty())
                break;
            Span p = parts[below(parts.size())];
            if (chance(0.5))
                msg.erase(p.at, p.len);
            else
                msg.insert(parts[below(parts.size())].at, msg.substr(p.at, p.len));
            break;
        }
        default: { // Seen objects with broken readings.
            static const char* const OBJECTS[] = {"B", "G1L", "G2R", "F1R", "F2L", "mypos", "ballpos"};
            const char* object = any(OBJECTS);
            std::string seen = std::string("(") + object;
            if (object[0] == 'm' || object[0] == 'b')
                seen += " " + number(-20, 20) + " " + number(-20, 20) + " " + number(0, 1);
            else
                for (std::size_t n = below(3); n > 0; --n)
                    seen += " " + pol();
            seen += ")";
            std::string::size_type see = msg.find("(See");
            if (see == std::string::npos)
                insertPerceptor(msg, "(See " + seen + ")");
            else
                msg.insert(see + 4, " " + seen);
            break;
        }
        }
    }

private:
    std::mt19937 rng;
    std::string team;
};

bool finite(const Vector3f& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool inUnit(float c) { return c >= 0 && c <= 1; }

// A message for failure reports: its length and its start.
std::string shown(const std::string& msg)
{
    std::string out = "message of " + std::to_string(msg.size()) + " bytes: ";
    for (char c : msg.substr(0, 600))
        out += (c >= 0x20 && c < 0x7F) ? c : '?';
    return out;
}

::testing::AssertionResult sane(const char* what, int shirt, const MobileObject& obj)
{
    if (!finite(obj.position))
        return ::testing::AssertionFailure() << what << " " << shirt << ": position not finite";
    if (!inUnit(obj.conf))
        return ::testing::AssertionFailure() << what << " " << shirt << ": confidence " << obj.conf;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult saneTeam(const char* which, const std::map<int, Player*>& team)
{
    if (team.size() != 11)
        return ::testing::AssertionFailure() << which << " holds " << team.size() << " players";
    int expected = 1;
    for (const auto& entry : team) {
        if (entry.first != expected++ || entry.second == nullptr)
            return ::testing::AssertionFailure() << which << " holds shirt " << entry.first;
        const Player& p = *entry.second;
        const MobileObject* objects[] = {&p, &p.head, &p.lFoot, &p.rFoot, &p.lLowerArm, &p.rLowerArm};
        for (const MobileObject* obj : objects) {
            ::testing::AssertionResult r = sane(which, entry.first, *obj);
            if (!r)
                return r;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult saneWorld(const WorldState& ws, const AgentModel& model)
{
    ::testing::AssertionResult r = sane("me", ws.me->unum, *ws.me);
    if (r)
        r = sane("ball", 0, *ws.ball);
    if (r)
        r = saneTeam("team-mates", ws.ostrevanda);
    if (r)
        r = saneTeam("opponents", ws.opponentTeam);
    if (!r)
        return r;
    if (ws.me->unum < 1 || ws.me->unum > 11 || ws.ostrevanda.at(ws.me->unum) != ws.me)
        return ::testing::AssertionFailure() << "me is not in the team under shirt " << ws.me->unum;
    if (!std::isfinite(ws.me->orientation))
        return ::testing::AssertionFailure() << "my orientation not finite";
    if (ws.game->playmode < 0 || ws.game->playmode > 16)
        return ::testing::AssertionFailure() << "play mode " << ws.game->playmode;
    for (int id = 0; id < Types::NJOINTS; ++id) {
        const Joint* j = model.getJoint(id);
        if (j != nullptr && !std::isfinite(j->angle))
            return ::testing::AssertionFailure() << "joint " << id << " angle not finite";
    }
    return ::testing::AssertionSuccess();
}

TEST(MessageParserFuzz, MutatedServerMessagesLeaveTheWorldSane)
{
    const std::vector<Capture> captures = loadCaptures();
    ASSERT_GE(captures.size(), 20u);

    static const char* const BODIES[5] = {"nao.xml", "nao1.xml", "nao2.xml", "nao3.xml", "nao4.xml"};
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentModel& model = Singleton<AgentModel>::getInstance();
    MessageParser parser;
    Mutator mutator(20250611u, "");

    const int MESSAGES = 20000;
    int sent = 0;
    int updated = 0;
    int localised = 0;
    auto start = std::chrono::steady_clock::now();
    for (std::size_t round = 0; sent < MESSAGES; ++round) {
        const Capture& cap = captures[round % captures.size()];
        model.initialize(std::string(QV_DATA_DIR) + "/" + BODIES[round % 5]);
        ws.setTeam(cap.team);
        ws.setUnum(static_cast<int>(1 + round % 11));
        ws.setSide(round % 2 == 0 ? "left" : "right");
        mutator.setTeam(cap.team);

        for (std::size_t k = 0; k < cap.lines.size() && sent < MESSAGES; ++k, ++sent) {
            std::string msg = cap.lines[k];
            if (mutator.chance(0.9)) {
                // Mostly a few of the message's perceptors, to keep it short.
                if (mutator.chance(0.95)) {
                    msg.clear();
                    for (const Span& p : perceptors(cap.lines[k]))
                        if (mutator.chance(0.1) || cap.lines[k].compare(p.at, 5, "(time") == 0)
                            msg.append(cap.lines[k], p.at, p.len);
                }
                for (std::size_t n = 1 + mutator.below(3); n > 0; --n)
                    mutator.mutate(msg);
            }
            unsigned cycleBefore = ws.cycle;
            parser.parseMessage(msg);
            if (ws.cycle != cycleBefore)
                ++updated;
            if (ws.me->conf > 0.5f)
                ++localised;
            ASSERT_TRUE(saneWorld(ws, model)) << "message " << sent << ", " << shown(msg);
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d messages in %.2f s: %d updated the world, %d with the agent localised\n",
                sent, seconds, updated, localised);
    // The mutations must leave most messages readable and the agent placed
    // often enough to reach the deeper parts of the update.
    EXPECT_GT(updated, MESSAGES / 2);
    EXPECT_GT(localised, MESSAGES / 20);
}

} // namespace
