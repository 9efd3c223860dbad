#include "utils/communication/MessageParser.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/communication/AgentComm.h"
#include "world/WorldState.h"

bool receivedLFrp = false;
bool receivedRFrp = false;
bool receivedLFrpToe = false;
bool receivedRFrpToe = false;

namespace {

struct TreeDeleter {
    void operator()(sexp_t* tree) const { destroy_sexp(tree); }
};

bool isValue(const sexp_t* e) { return e != nullptr && e->ty == SEXP_VALUE && e->val != nullptr; }

// The text heading a list, or null when the node is no list or its first
// element is no value.
const char* headOf(const sexp_t* node)
{
    if (node == nullptr || node->ty != SEXP_LIST)
        return nullptr;
    return isValue(node->list) ? node->list->val : nullptr;
}

// The first byte decides most compares without a call.
inline bool is(const char* text, const char* name)
{
    return text[0] == name[0] && std::strcmp(text, name) == 0;
}

// The server writes short decimals ("-58.15"): up to 7 digits with an
// optional point are read directly (an exact quotient of doubles rounds to the
// same float as strtof); anything else goes to strtof.
float toFloat(const char* text)
{
    static const double POW10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7};
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    uint32_t mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (;; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - '0';
        if (d < 10) {
            if (++digits > 7)
                break;
            mantissa = mantissa * 10 + d;
            if (decimals >= 0)
                ++decimals;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (*p == '\0' && digits > 0 && digits <= 7) {
        const double v = mantissa / POW10[decimals > 0 ? decimals : 0];
        return static_cast<float>(negative ? -v : v);
    }
    float v = std::strtof(text, nullptr);
    return std::isfinite(v) ? v : 0.0f;
}

int toInt(const char* text)
{
    long v = std::strtol(text, nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

// A goal count, kept within 0 to 9999 so that counting goals on top of it
// cannot overflow.
int toScore(const char* text) { return std::min(std::max(toInt(text), 0), 9999); }

// n values in a row from e on; false when the list ends first or holds a
// list among them.
bool takeValues(const sexp_t* e, const char** out, int n)
{
    for (int i = 0; i < n; ++i, e = e->next) {
        if (!isValue(e))
            return false;
        out[i] = e->val;
    }
    return true;
}

bool takeFloats(const sexp_t* e, float* out, int n)
{
    const char* text[3];
    if (n > 3 || !takeValues(e, text, n))
        return false;
    for (int i = 0; i < n; ++i)
        out[i] = toFloat(text[i]);
    return true;
}

bool takeVector(const sexp_t* e, Vector3f& out)
{
    float v[3];
    if (!takeFloats(e, v, 3))
        return false;
    out = Vector3f(v[0], v[1], v[2]);
    return true;
}

// The elements after a list's head; null for an empty list.
const sexp_t* body(const sexp_t* list) { return list->list->next; }

const char* const PLAYER_PARTS[5] = {"head", "lfoot", "rfoot", "llowerarm", "rlowerarm"};

} // namespace

MessageParser::MessageParser() : currentAgentMessage(nullptr), ispoke(false) {}

void MessageParser::parseMessage(const std::string& msg)
{
    line.clear();
    line.append("(msg ");
    line.append(msg);
    line.append(")");
    removeOppMsg(line);

    std::unique_ptr<sexp_t, TreeDeleter> tree(parse_sexp(&line[0], line.size()));
    if (!tree || tree->ty != SEXP_LIST || tree->list == nullptr || tree->list->next == nullptr)
        return;

    WorldState& ws = Singleton<WorldState>::getInstance();
    receivedLFrp = receivedRFrp = receivedLFrpToe = receivedRFrpToe = false;
    ws.resetSeenFlags();
    ispoke = false;

    for (const sexp_t* e = tree->list->next; e != nullptr; e = e->next)
        if (e->ty == SEXP_LIST)
            parseSexp(e);

    ws.update();

    mergeHeardMessage(ws, Singleton<AgentComm>::getInstance());
    if (ispoke)
        Singleton<AgentComm>::getInstance().heardOwnMessage(ownMessage);

    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.setFootTouch(Types::pLeft, receivedLFrp);
    model.setFootTouch(Types::pRight, receivedRFrp);
    model.setFootTouch(Types::pLeftToe, receivedLFrpToe);
    model.setFootTouch(Types::pRightToe, receivedRFrpToe);
}

void MessageParser::removeOppMsg(std::string& msg)
{
    // Every "(hear TEAM " is also a "(hear ": one pass over those finds both
    // the first heard message and whether one is our own.
    static const char HEAR[] = "(hear ";
    const size_t hearLength = sizeof HEAR - 1;
    const std::string& team = Singleton<WorldState>::getInstance().team;
    const char* text = msg.data();
    const size_t length = msg.size();
    size_t first = std::string::npos;
    for (size_t at = 0; at < length;) {
        const void* found = memmem(text + at, length - at, HEAR, hearLength);
        if (found == nullptr)
            break;
        const size_t start = static_cast<size_t>(static_cast<const char*>(found) - text);
        const size_t name = start + hearLength;
        if (name + team.size() < length && msg.compare(name, team.size(), team) == 0 &&
            text[name + team.size()] == ' ')
            return;
        if (first == std::string::npos)
            first = start;
        at = start + 1;
    }
    if (first == std::string::npos)
        return;
    std::string::size_type end = msg.find(')', first);
    if (end == std::string::npos)
        return;
    msg.erase(first, end - first + 1);
}

void MessageParser::parseSexp(const sexp_t* exp)
{
    const char* head = headOf(exp);
    if (head == nullptr)
        return;
    if (is(head, "HJ"))
        parseHingeJoint(exp);
    else if (is(head, "FRP"))
        parseFRP(exp);
    else if (is(head, "See"))
        parseVision(exp);
    else if (is(head, "GYR"))
        parseGyro(exp);
    else if (is(head, "ACC"))
        parseAcc(exp);
    else if (is(head, "time"))
        parseTime(exp);
    else if (is(head, "GS"))
        parseGameState(exp);
    else if (is(head, "hear"))
        parseHear(exp);
    else
        std::fprintf(stderr, "EVAL: Unknown = %s\n", head);
}

void MessageParser::parseTime(const sexp_t* exp)
{
    if (body(exp) == nullptr)
        return;
    float now = 0;
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key != nullptr && is(key, "now") && !takeFloats(body(s), &now, 1))
            return;
    }
    Singleton<WorldState>::getInstance().setClockTime(now);
}

void MessageParser::parseGameState(const sexp_t* exp)
{
    if (body(exp) == nullptr)
        return;
    // First every known key must carry its values; then they are applied in
    // message order.
    static const struct {
        const char* key;
        int values;
    } FIELDS[] = {{"t", 1}, {"bp", 3}, {"pm", 1}, {"unum", 1}, {"team", 1}, {"sl", 1}, {"sr", 1}};
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key == nullptr)
            continue;
        for (const auto& field : FIELDS) {
            const char* text[3];
            if (is(key, field.key) && !takeValues(body(s), text, field.values))
                return;
        }
    }

    WorldState& ws = Singleton<WorldState>::getInstance();
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key == nullptr)
            continue;
        const sexp_t* args = body(s);
        if (is(key, "t")) {
            ws.setGameTime(toFloat(args->val));
        } else if (is(key, "bp")) {
            Vector3f bp;
            takeVector(args, bp);
            ws.setTrueBallPos(bp.x, bp.y, bp.z);
        } else if (is(key, "pm")) {
            ws.setPlaymode(args->val);
        } else if (is(key, "unum")) {
            ws.setUnum(toInt(args->val));
        } else if (is(key, "team")) {
            ws.setSide(args->val);
        } else if (is(key, "sl")) {
            int goals = toScore(args->val);
            if (ws.game->side == 1)
                ws.game->ostrevandaGoals = goals;
            else
                ws.game->opponentGoals = goals;
        } else if (is(key, "sr")) {
            int goals = toScore(args->val);
            if (ws.game->side == 2)
                ws.game->ostrevandaGoals = goals;
            else
                ws.game->opponentGoals = goals;
        }
    }
}

namespace {

// The vector under `key` of a named sensor reading ("n" names the sensor);
// false when the reading is empty or a value is missing.
bool sensorVector(const sexp_t* exp, const char* key, Vector3f& value)
{
    if (body(exp) == nullptr)
        return false;
    value = Vector3f(0, 0, 0);
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* head = headOf(s);
        const char* name;
        if (head == nullptr)
            continue;
        if (is(head, key) && !takeVector(body(s), value))
            return false;
        if (is(head, "n") && !takeValues(body(s), &name, 1))
            return false;
    }
    return true;
}

} // namespace

void MessageParser::parseGyro(const sexp_t* exp)
{
    Vector3f rate;
    if (sensorVector(exp, "rt", rate))
        Singleton<AgentModel>::getInstance().setGyroRate(rate);
}

void MessageParser::parseAcc(const sexp_t* exp)
{
    Vector3f acc;
    if (sensorVector(exp, "a", acc))
        Singleton<AgentModel>::getInstance().setAccelerometer(acc);
}

void MessageParser::parseHingeJoint(const sexp_t* exp)
{
    const char* name = nullptr;
    float angle = 0;
    bool hasAngle = false;
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key == nullptr)
            continue;
        if (is(key, "n")) {
            if (!takeValues(body(s), &name, 1))
                return;
        } else if (is(key, "ax")) {
            if (!takeFloats(body(s), &angle, 1))
                return;
            hasAngle = true;
        }
    }
    if (name != nullptr && hasAngle)
        Singleton<AgentModel>::getInstance().setHingeJointAngle(name, angle);
}

void MessageParser::parseFRP(const sexp_t* exp)
{
    const char* name = nullptr;
    Vector3f contact(0, 0, 0);
    Vector3f force(0, 0, 0);
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key == nullptr)
            continue;
        if (is(key, "n")) {
            if (!takeValues(body(s), &name, 1))
                return;
        } else if (is(key, "c")) {
            if (!takeVector(body(s), contact))
                return;
        } else if (is(key, "f")) {
            if (!takeVector(body(s), force))
                return;
        }
    }
    if (name == nullptr)
        return;

    Types::FRPParts part;
    bool* received;
    if (is(name, "lf")) {
        part = Types::pLeft;
        received = &receivedLFrp;
    } else if (is(name, "rf")) {
        part = Types::pRight;
        received = &receivedRFrp;
    } else if (is(name, "lf1")) {
        part = Types::pLeftToe;
        received = &receivedLFrpToe;
    } else if (is(name, "rf1")) {
        part = Types::pRightToe;
        received = &receivedRFrpToe;
    } else {
        return;
    }
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.setFootForce(part, force);
    model.setFootContact(part, contact);
    *received = true;
}

void MessageParser::parseVision(const sexp_t* exp)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.setLastVisionCTime(ws.game->clockTime);
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* head = headOf(s);
        if (head == nullptr)
            continue;
        if (head[0] == 'G' && (is(head, "G1L") || is(head, "G2L") || is(head, "G1R") ||
                               is(head, "G2R")))
            parseGoal(s);
        else if (head[0] == 'F' && (is(head, "F1L") || is(head, "F2L") || is(head, "F1R") ||
                                    is(head, "F2R")))
            parseFlag(s);
        else if (is(head, "B"))
            parseBall(s);
        else if (is(head, "P"))
            parsePlayer(s);
        else if (is(head, "mypos"))
            parseMyPos(s);
        else if (is(head, "ballpos"))
            parseBallPos(s);
    }
}

namespace {

// The reading of a seen landmark or ball: the last "pol" of the object.
// False when there is none or one lacks a number.
bool seenReading(const sexp_t* exp, Vector3f& reading)
{
    bool found = false;
    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key == nullptr || !is(key, "pol"))
            continue;
        if (!MessageParser::parsePolarCoords(s, reading))
            return false;
        found = true;
    }
    return found;
}

} // namespace

void MessageParser::parseGoal(const sexp_t* exp)
{
    Vector3f pol;
    if (seenReading(exp, pol))
        Singleton<WorldState>::getInstance().setGoalRelativePosition(exp->list->val, pol.x, pol.y,
                                                                     pol.z);
}

void MessageParser::parseFlag(const sexp_t* exp)
{
    Vector3f pol;
    if (seenReading(exp, pol))
        Singleton<WorldState>::getInstance().setFlagRelativePosition(exp->list->val, pol.x, pol.y,
                                                                     pol.z);
}

void MessageParser::parseBall(const sexp_t* exp)
{
    Vector3f pol;
    if (seenReading(exp, pol))
        Singleton<WorldState>::getInstance().setBallRelativePosition(pol.x, pol.y, pol.z);
}

void MessageParser::parsePlayer(const sexp_t* exp)
{
    std::string teamName;
    int id = 0;
    Vector3f readings[5];
    Vector3f* parts[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};

    for (const sexp_t* s = body(exp); s != nullptr; s = s->next) {
        const char* key = headOf(s);
        if (key == nullptr)
            continue;
        const char* text;
        if (is(key, "team")) {
            if (!takeValues(body(s), &text, 1))
                return;
            teamName = text;
        } else if (is(key, "id")) {
            if (!takeValues(body(s), &text, 1))
                return;
            id = toInt(text);
        } else {
            for (int k = 0; k < 5; ++k) {
                if (!is(key, PLAYER_PARTS[k]))
                    continue;
                if (!parsePolarCoords(body(s), readings[k]))
                    return;
                parts[k] = &readings[k];
            }
        }
    }

    WorldState& ws = Singleton<WorldState>::getInstance();
    if (teamName == ws.team) {
        ws.setPlayerData(id, WorldState::OSTREVANDA_TEAM, parts);
    } else {
        ws.setOpponentName(teamName);
        ws.setPlayerData(id, WorldState::OPPONENT_TEAM, parts);
    }
}

void MessageParser::parseMyPos(const sexp_t* exp)
{
    Vector3f p;
    if (parseVector3f(body(exp), p))
        Singleton<WorldState>::getInstance().setMyPosFromMessage(p.x, p.y, p.z);
}

void MessageParser::parseBallPos(const sexp_t* exp)
{
    Vector3f p;
    if (parseVector3f(body(exp), p))
        Singleton<WorldState>::getInstance().setBallPosFromMessage(p.x, p.y, p.z);
}

void MessageParser::parseHear(const sexp_t* exp)
{
    // TEAM TIME SENDER MESSAGE
    const char* values[4];
    if (!takeValues(body(exp), values, 4))
        return;
    if (is(values[2], "self")) {
        ispoke = true;
        ownMessage = values[3];
        return;
    }
    // Opponents speak on the same channel: only our own team's messages are
    // decoded.
    if (Singleton<WorldState>::getInstance().team != values[0])
        return;
    Singleton<AgentComm>::getInstance().decode(values[3]);
}

bool MessageParser::parsePolarCoords(const sexp_t* node, Vector3f& out)
{
    const char* head = headOf(node);
    if (head == nullptr || !is(head, "pol"))
        return false;
    return takeVector(body(node), out);
}

bool MessageParser::parseVector3f(const sexp_t* node, Vector3f& out)
{
    return takeVector(node, out);
}

void MessageParser::mergeHeardMessage(WorldState& ws, AgentComm& comm)
{
    if (comm.getSimpleMessage() != nullptr)
        ws.updateWithSimpleMsg(comm.getSimpleMessage());
    else if (comm.getRoleMessage() != nullptr)
        ws.updateWithRoleMsg(comm.getRoleMessage());
    else if (comm.getSetplayMessage() != nullptr)
        ws.updateWithSetplayMsg(comm.getSetplayMessage());
    comm.deletePointers();
}
