#include "utils/communication/AgentComm.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "logger/LoggerBuffer.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/Player.h"
#include "world/SayTimetable.h"
#include "world/WorldState.h"

const std::string AgentComm::allowed =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTVWXYZ[]."
    ":-_+!\"#$%'*,/;<=>?@\\^`{|}~";
const std::string AgentComm::otherAvailableChars = ",;.:-_+";

namespace {

const char* const LOG_RULE = "=====================================";

// Scales and widths of the fields.
const int POS_X_SCALE = 8;
const int POS_X_BITS = 8;
const int POS_Y_SCALE = 6;
const int POS_Y_BITS = 7;
const int VEL_SCALE = 10;
const int VEL_BITS = 6;

// Most players a simple message of each type may report.
const int MAX_PLAYERS_SIMPLE = 2;
const int MAX_PLAYERS_PASS = 1;
const int MAX_PARTICIPANTS = 11;

// The decode and encode logs go to the line buffer as debug texts.
bool debugLogging() { return LoggerBuffer::tracing(); }

void toLineBuffer(const std::string& text) { LoggerBuffer::getInstance().trace(text); }

// Trace of an encoded message: time and title, the text, the vote sent.
void logEncoded(float time, const char* title, const std::string& text, int vote)
{
    if (!debugLogging())
        return;
    std::ostringstream log;
    log << time << "===> " << title << " <===== " << "\n"
        << text << "\n"
        << "Voto enviado: " << vote << "\n"
        << LOG_RULE;
    toLineBuffer(log.str());
}

// Trace of a decoded message, in two buffer entries.
void logDecoded(float time, const char* title, const std::string& text, int sender, int active)
{
    if (!debugLogging())
        return;
    std::ostringstream head;
    head << time << "===> " << title << " <===== " << "\n" << text;
    toLineBuffer(head.str());
    std::ostringstream tail;
    tail << "Sender: " << sender << " Ativo: " << active << "\n" << LOG_RULE;
    toLineBuffer(tail.str());
}

// Into [lo, hi]; anything that is not a number becomes lo.
float clampValue(float v, float lo, float hi)
{
    if (!(v >= lo))
        return lo;
    return v > hi ? hi : v;
}

// A position inside what the fields carry: x from -xOffset into the last step
// below 256/8 - xOffset, y likewise below 128/6 - yOffset; z within a few
// metres.
Vector3f sendablePosition(const Vector3f& p, float xOffset, float yOffset)
{
    float xMax = ((1 << POS_X_BITS) - 0.5f) / POS_X_SCALE - xOffset;
    float yMax = ((1 << POS_Y_BITS) - 0.5f) / POS_Y_SCALE - yOffset;
    return Vector3f(clampValue(p.x, -xOffset, xMax), clampValue(p.y, -yOffset, yMax),
                    clampValue(p.z, -8.0f, 8.0f));
}

// Into [-180, 180).
float sendableOrientation(float orientation)
{
    if (!std::isfinite(orientation))
        return 0;
    return GetNormalizeAngleDeg(orientation);
}

Player* findPlayer(const std::map<int, Player*>& team, int unum)
{
    std::map<int, Player*>::const_iterator it = team.find(unum);
    return it == team.end() ? nullptr : it->second;
}

} // namespace

AgentComm::AgentComm()
    : nAllowed(static_cast<unsigned int>(allowed.size())), xVelOffset(1.5f), yVelOffset(1.5f),
      messageType(0), firstOfSlotVote(0), slotVoteValue(0), slotVoteCycle(-2), slotStarted(false),
      world(&Singleton<WorldState>::getInstance()),
      bOmniMidLevelSkill(new omniMidLevelSkill()), simpleMessage(nullptr), roleMessage(nullptr),
      setplayMessage(nullptr)
{
    clearBuffer();
    for (unsigned short& entry : decodechar)
        entry = 0xFFFF;
    for (unsigned int k = 0; k < nAllowed; ++k)
        decodechar[static_cast<unsigned char>(allowed[k])] = static_cast<unsigned short>(k);
    xPosOffset = world->conditions->fieldLength / 2;
    yPosOffset = world->conditions->fieldWidth / 2;
}

AgentComm::~AgentComm()
{
    deletePointers();
    delete bOmniMidLevelSkill;
}

// ---- Speaking -------------------------------------------------------------

void AgentComm::communicationStep(int passPlayer, Vector passTarget, int)
{
    if (canCommunicate())
        buildAndSendMessageToOtherAgents(passPlayer, passTarget);
}

bool AgentComm::canCommunicate()
{
    return saytimetable::speakerOf(saytimetable::cycleOf(world->cTime)) == world->me->unum;
}

int AgentComm::slotVote()
{
    // Both messages of a slot carry the vote of its first cycle: team-mates
    // hear one or the other, and must count the same vote.
    const int cycle = saytimetable::cycleOf(world->cTime);
    slotStarted = saytimetable::opensSlot(cycle) || cycle != slotVoteCycle + 1;
    if (slotStarted)
        slotVoteValue = world->getActiveCandidate();
    slotVoteCycle = cycle;
    return slotVoteValue;
}

void AgentComm::say(const std::string& text)
{
    if (slotStarted) {
        firstOfSlot = text;
        firstOfSlotVote = slotVoteValue;
    }
    Singleton<Actions>::getInstance().Say(text);
}

void AgentComm::heardOwnMessage(const std::string& text)
{
    if (firstOfSlot.empty() || text != firstOfSlot)
        return;
    firstOfSlot.clear();
    world->updateActiveElection(firstOfSlotVote, world->unum);
}

int AgentComm::getMessageType()
{
    if (world->unum == 1) {
        // Team-mates hear one message of a slot, most of them the first but
        // some always the second: the goalkeeper opens its slots with its
        // roles and its other message turn about, so that everybody hears
        // both.
        const int cycle = saytimetable::cycleOf(world->cTime);
        const bool rolesFirst = (cycle / saytimetable::TURN_CYCLES) % 2 == 0;
        if (rolesFirst == saytimetable::opensSlot(cycle))
            return ROLE_MSG;
        return world->leadPlayer == 1 ? SETPLAY_MESSAGE : SIMPLE_MSG;
    }
    return world->unum == world->leadPlayer ? SETPLAY_MESSAGE : SIMPLE_MSG;
}

void AgentComm::buildAndSendMessageToOtherAgents(int passPlayer, Vector passTarget)
{
    messageType = getMessageType();
    if (messageType == ROLE_MSG)
        buildGoalieMessage();
    else if (messageType == SETPLAY_MESSAGE)
        buildSetplayMessage();
    else
        buildSimpleMessage(passPlayer, passTarget);
}

// The builders keep every value inside what its field can carry, so that an
// out-of-range value arrives at the nearest end instead of wrapping round.
void AgentComm::buildSimpleMessage(int passPlayer, Vector passTarget)
{
    SimpleAgentMessage msg(passPlayer > 0 ? 1 : 0);

    float ballConf = clampValue(world->ball->conf, 0.0f, 0.6f);
    msg.setBallConfidence(static_cast<int>(static_cast<float>(ballConf * 6.3175)));
    msg.setBallPosition(sendablePosition(world->ball->position, xPosOffset, yPosOffset));

    msg.setSelfId(world->unum - 1);
    msg.setSelfPosition(sendablePosition(world->me->position, xPosOffset, yPosOffset));
    msg.setSelfOrientation(sendableOrientation(world->me->orientation));

    // Opponents by confidence, highest first.
    std::vector<std::pair<float, Player*>> byConf;
    for (const auto& entry : world->opponentTeam)
        if (entry.second != nullptr)
            byConf.push_back(std::make_pair(entry.second->conf, entry.second));
    std::stable_sort(byConf.begin(), byConf.end(),
                     [](const std::pair<float, Player*>& a, const std::pair<float, Player*>& b) {
                         return a.first > b.first;
                     });
    int confident = 0;
    while (confident < static_cast<int>(byConf.size()) && byConf[confident].first >= 0.6f)
        ++confident;

    int k = std::min(confident, MAX_PLAYERS_SIMPLE);
    if (passPlayer != 0) {
        if (k == 2)
            k = 1;
        msg.setPassPlayer(passPlayer);
        msg.setPassPosition(Vector(clampValue(passTarget.x, -xPosOffset, xPosOffset),
                                   clampValue(passTarget.y, -yPosOffset, yPosOffset)));
    }

    auto report = [this, &msg](const Player* p) {
        PlayerInfo info;
        info.id = p->unum - 1;
        info.team = WorldState::OPPONENT_TEAM;
        float conf = clampValue(p->conf, 0.0f, 1.0f);
        info.confidence = static_cast<int>(conf * 0.95 * 0.95 * 7);
        info.position = sendablePosition(p->position, xPosOffset, yPosOffset);
        msg.addPlayerInfo(info);
    };

    if (world->gTime - world->getLastQuorvelKickoff() >= 25) {
        std::vector<bool> drawn(confident, false);
        for (int i = 0; i < k; ++i) {
            int r;
            do {
                r = std::rand() % confident;
            } while (drawn[r]);
            drawn[r] = true;
            report(byConf[r].second);
        }
    } else {
        if ((world->me->unum == 9 || world->unum == 10) && k > 0 &&
            (world->currentSetplayStep == 2 || world->currentSetplayStep == 3) &&
            world->me->getMarkedOppNum() != 0) {
            // The opponent I mark goes as an ordinary opponent entry.
            Player* marked = findPlayer(world->opponentTeam, world->me->getMarkedOppNum());
            if (marked != nullptr) {
                --k;
                report(marked);
            }
        }
        bOmniMidLevelSkill->sortTheirPlayersBasedonDistancetoBall();
        const std::vector<Player*>& nearest = bOmniMidLevelSkill->theirPlayer;
        int pool = std::min(3, static_cast<int>(nearest.size()));
        k = std::min(k, pool);
        std::vector<bool> drawn(pool, false);
        for (int i = 0; i < k; ++i) {
            int r;
            do {
                r = std::rand() % 3;
            } while (r >= pool || drawn[r]);
            drawn[r] = true;
            report(nearest[r]);
        }
    }

    msg.setActiveCandidate(slotVote());
    say(encodeSimpleMessage(msg));
}

void AgentComm::buildGoalieMessage()
{
    RoleAgentMessage msg(ROLE_MSG);
    msg.setSelfId(world->unum - 1);
    msg.setSelfPosition(sendablePosition(world->me->position, xPosOffset, yPosOffset));
    msg.setSelfOrientation(sendableOrientation(world->me->orientation));
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        Player* p = findPlayer(world->ostrevanda, n);
        int role = p != nullptr ? p->getRole().getIdRole() : NO_ROLE;
        msg.addPlayerRole(n, role >= NO_ROLE && role <= GOS ? role : NO_ROLE);
    }
    msg.setActiveCandidate(slotVote());
    say(encodeGoalieMessage(msg));
}

void AgentComm::buildSetplayMessage()
{
    SetplayAgentMessage msg(SETPLAY_MESSAGE);
    msg.setSetplayId(std::min(std::max(world->setplayId, -32), 31));
    msg.setSetplayMessage(std::min(std::max(world->typeSetplayMsg, 0), 15));
    msg.setCurrentStep(std::min(std::max(world->currentSetplayStep, -1), 14));
    msg.setNextStep(std::min(std::max(world->nextSetplayStep, -1), 14));
    std::vector<int> participants = world->setplayParticipants;
    if (participants.size() > static_cast<std::size_t>(MAX_PARTICIPANTS))
        participants.resize(MAX_PARTICIPANTS);
    msg.setNumPlayers(static_cast<int>(participants.size()));
    msg.setPlayersParticipants(participants);
    msg.setLeadPlayer(world->leadPlayer);
    msg.setActiveCandidate(slotVote());
    say(encodeSetplayMessage(msg));
}

// ---- Bits -----------------------------------------------------------------

void AgentComm::clearBuffer()
{
    std::fill(msgBuffer, msgBuffer + MSG_BITS, 0);
}

void AgentComm::insertVal(int val, int& start, int nbits)
{
    if (start < 0 || nbits < 0 || nbits > 31 || start > MSG_BITS - nbits)
        return;
    for (int i = nbits - 1; i >= 0; --i)
        msgBuffer[start++] = static_cast<char>((static_cast<unsigned int>(val) >> i) & 1u);
}

int AgentComm::getVal(int& start, int nbits)
{
    if (start < 0 || nbits < 0 || nbits > 31 || start > MSG_BITS - nbits)
        return 0;
    int val = 0;
    for (int i = 0; i < nbits; ++i)
        val = (val << 1) | (msgBuffer[start++] & 1);
    return val;
}

int AgentComm::getVal2C(int& start, int nbits)
{
    if (start < 0 || nbits < 1 || nbits > 31 || start > MSG_BITS - nbits)
        return 0;
    if (msgBuffer[start] == 0)
        return getVal(start, nbits);
    // Negate in place: invert, then add one.
    for (int i = start; i < start + nbits; ++i)
        msgBuffer[i] = static_cast<char>(msgBuffer[i] ? 0 : 1);
    for (int i = start + nbits - 1; i >= start; --i) {
        if (msgBuffer[i] == 0) {
            msgBuffer[i] = 1;
            break;
        }
        msgBuffer[i] = 0;
    }
    return -getVal(start, nbits);
}

int AgentComm::normalizeValue(float value, float offset, int precision)
{
    return static_cast<int>((value + offset) * static_cast<float>(precision));
}

std::string AgentComm::bufferToString() const
{
    std::string out;
    out.reserve(MSG_CHARS);
    for (int c = 0; c < MSG_CHARS; ++c) {
        int index = 0;
        for (int b = 0; b < 6; ++b)
            index = (index << 1) | (msgBuffer[6 * c + b] & 1);
        out += allowed[index];
    }
    return out;
}

void AgentComm::insertPosition(const Vector3f& p, int& start)
{
    insertVal(normalizeValue(p.x, xPosOffset, POS_X_SCALE), start, POS_X_BITS);
    insertVal(normalizeValue(p.y, yPosOffset, POS_Y_SCALE), start, POS_Y_BITS);
}

Vector3f AgentComm::getPosition(int& start)
{
    float x = static_cast<float>(getVal(start, POS_X_BITS)) / POS_X_SCALE - xPosOffset;
    float y = static_cast<float>(getVal(start, POS_Y_BITS)) / POS_Y_SCALE - yPosOffset;
    return Vector3f(x, y, 0);
}

void AgentComm::insertOrientation(float orientation, int& start)
{
    insertVal(static_cast<int>(orientation / 10 + 18), start, 6);
}

float AgentComm::getOrientation(int& start)
{
    return static_cast<float>(getVal(start, 6) * 10 - 180);
}

// ---- Encoding -------------------------------------------------------------

std::string AgentComm::encodeSimpleMessage(const SimpleAgentMessage& msg)
{
    clearBuffer();
    int i = 0;
    int type = msg.getMsgType();
    insertVal(HEADER, i, 4);
    insertVal(type, i, 4);

    Vector3f ball = msg.getBallPosition();
    Vector3f vel = msg.getBallVelocity();
    insertPosition(ball, i);
    insertVal(normalizeValue(vel.x, xVelOffset, VEL_SCALE), i, VEL_BITS);
    insertVal(normalizeValue(vel.y, yVelOffset, VEL_SCALE), i, VEL_BITS);
    insertVal(msg.getBallConfidence(), i, 3);

    Vector3f self = msg.getSelfPosition();
    insertVal(msg.getSelfId(), i, 4);
    insertPosition(self, i);
    insertVal(self.z > 0 ? 1 : 0, i, 1);
    insertOrientation(msg.getSelfOrientation(), i);

    std::vector<PlayerInfo> players = msg.getPlayersInfo();
    int n = static_cast<int>(players.size());
    n = std::min(n, type == 1 ? MAX_PLAYERS_PASS : MAX_PLAYERS_SIMPLE);
    insertVal(n, i, 2);
    for (int p = 0; p < n; ++p) {
        const PlayerInfo& info = players[p];
        insertVal(info.id, i, 4);
        insertVal(info.team, i, 1);
        insertPosition(info.position, i);
        insertVal(static_cast<int>(info.position.z), i, 1);
        insertVal(info.confidence, i, 3);
    }

    int vote = msg.getActiveCandidate() - 1;
    insertVal(vote, i, 4);
    if (type == 1) {
        Vector pass = msg.getPassPosition();
        insertVal(msg.getPassPlayer(), i, 4);
        insertPosition(Vector3f(pass.x, pass.y, 0), i);
    }

    std::string out = bufferToString();
    logEncoded(world->gTime, "Encoded Message", out, vote);
    return out;
}

std::string AgentComm::encodeGoalieMessage(const RoleAgentMessage& msg)
{
    clearBuffer();
    int i = 0;
    insertVal(HEADER, i, 4);
    insertVal(msg.getMsgType(), i, 4);

    Vector3f self = msg.getSelfPosition();
    insertVal(msg.getSelfId(), i, 4);
    insertPosition(self, i);
    insertVal(self.z > 0 ? 1 : 0, i, 1);
    insertOrientation(msg.getSelfOrientation(), i);

    std::map<int, int> roles = msg.getRolesList();
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        std::map<int, int>::const_iterator it = roles.find(n);
        insertVal(it == roles.end() ? 0 : it->second, i, 4);
    }

    int vote = msg.getActiveCandidate() - 1;
    insertVal(vote, i, 4);

    std::string out = bufferToString();
    logEncoded(world->gTime, "Encoded Goalie Message", out, vote);
    return out;
}

std::string AgentComm::encodeSetplayMessage(const SetplayAgentMessage& msg)
{
    clearBuffer();
    int i = 0;
    insertVal(HEADER, i, 4);
    insertVal(msg.getMsgType(), i, 4);
    insertVal(msg.getSetplayId(), i, 6);
    insertVal(msg.getSetplayMessage(), i, 4);
    insertVal(msg.getCurrentStep(), i, 4);
    insertVal(msg.getNextStep(), i, 4);
    insertVal(msg.getLeadPlayer(), i, 4);
    int n = msg.getNumPlayers();
    insertVal(n, i, 4);
    std::vector<int> participants = msg.getPlayersParticipants();
    for (int j = 0; j < n; ++j)
        insertVal(j < static_cast<int>(participants.size()) ? participants[j] : 0, i, 4);
    insertVal(msg.getActiveCandidate(), i, 4);
    return bufferToString();
}

// ---- Decoding -------------------------------------------------------------

bool AgentComm::checkAuthentication(const std::string& msg)
{
    if (msg.size() != static_cast<std::size_t>(MSG_CHARS))
        return false;
    return (decodechar[static_cast<unsigned char>(msg[0])] >> 2) == HEADER;
}

bool AgentComm::decode(const std::string& msg)
{
    if (!checkAuthentication(msg))
        return false;

    clearBuffer();
    int w = 0;
    for (int c = 0; c < MSG_CHARS; ++c) {
        unsigned int index = decodechar[static_cast<unsigned char>(msg[c])];
        for (int b = 5; b >= 0; --b)
            msgBuffer[w++] = static_cast<char>((index >> b) & 1u);
    }

    int i = 4;
    messageType = getVal(i, 4);
    switch (messageType) {
    case 0:
    case 1:
        return decodeSimpleMessage(msg, messageType, i);
    case ROLE_MSG:
        return decodeGoalieMessage(msg, messageType, i);
    case SETPLAY_MESSAGE:
        return decodeSetplayMessage(msg, messageType, i);
    default:
        return false;
    }
}

bool AgentComm::decodeSimpleMessage(const std::string& msg, int type, int i)
{
    Vector3f ball = getPosition(i);
    float vx = static_cast<float>(getVal(i, VEL_BITS)) / VEL_SCALE - xVelOffset;
    float vy = static_cast<float>(getVal(i, VEL_BITS)) / VEL_SCALE - yVelOffset;
    int ballConf = getVal(i, 3);
    int senderId = getVal(i, 4);
    Vector3f self = getPosition(i);
    self.z = static_cast<float>(getVal(i, 1));
    float orientation = getOrientation(i);

    int n = getVal(i, 2);
    if (n > (type == 1 ? MAX_PLAYERS_PASS : MAX_PLAYERS_SIMPLE))
        return false;

    SimpleAgentMessage* decoded = new SimpleAgentMessage(type);
    decoded->setBallPosition(ball);
    decoded->setBallVelocity(Vector3f(vx, vy, 0));
    decoded->setBallConfidence(ballConf);
    decoded->setSelfId(senderId);
    decoded->setSelfPosition(self);
    decoded->setSelfOrientation(orientation);
    for (int p = 0; p < n; ++p) {
        PlayerInfo info;
        info.id = getVal(i, 4);
        info.team = getVal(i, 1);
        info.position = getPosition(i);
        info.position.z = static_cast<float>(getVal(i, 1));
        info.confidence = getVal(i, 3);
        decoded->addPlayerInfo(info);
    }
    decoded->setActiveCandidate(getVal(i, 4) + 1);
    if (type == 1) {
        decoded->setPassPlayer(getVal(i, 4));
        Vector3f pass = getPosition(i);
        decoded->setPassPosition(Vector(pass.x, pass.y));
    }

    delete simpleMessage;
    simpleMessage = decoded;

    logDecoded(world->gTime, "Decode Message", msg, senderId + 1, decoded->getActiveCandidate());
    return true;
}

bool AgentComm::decodeGoalieMessage(const std::string& msg, int type, int i)
{
    RoleAgentMessage* decoded = new RoleAgentMessage(type);
    int senderId = getVal(i, 4);
    decoded->setSelfId(senderId);
    Vector3f self = getPosition(i);
    self.z = static_cast<float>(getVal(i, 1));
    decoded->setSelfPosition(self);
    decoded->setSelfOrientation(getOrientation(i));
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n)
        decoded->addPlayerRole(n, getVal(i, 4));
    decoded->setActiveCandidate(getVal(i, 4) + 1);

    delete roleMessage;
    roleMessage = decoded;

    logDecoded(world->gTime, "Decode Goalie Message", msg, senderId + 1, decoded->getActiveCandidate());
    return true;
}

bool AgentComm::decodeSetplayMessage(const std::string&, int type, int i)
{
    int id = getVal2C(i, 6);
    int kind = getVal(i, 4);
    int current = getVal(i, 4);
    int next = getVal(i, 4);
    if (current == 15)
        current = -1;
    if (next == 15)
        next = -1;
    int lead = getVal(i, 4);
    int n = getVal(i, 4);
    if (n > MAX_PARTICIPANTS)
        return false;
    if (lead < 1 || lead > WorldState::MAX_UNUM || current == -1 || next == -1)
        lead = WorldState::MAX_UNUM;

    SetplayAgentMessage* decoded = new SetplayAgentMessage(type);
    decoded->setSetplayId(id);
    decoded->setSetplayMessage(kind);
    decoded->setCurrentStep(current);
    decoded->setNextStep(next);
    decoded->setLeadPlayer(lead);
    decoded->setNumPlayers(n);
    for (int j = 0; j < n; ++j)
        decoded->addPlayerParticipant(getVal(i, 4));
    decoded->setActiveCandidate(getVal(i, 4));

    delete setplayMessage;
    setplayMessage = decoded;
    return true;
}

SimpleAgentMessage* AgentComm::getSimpleMessage() const { return simpleMessage; }
RoleAgentMessage* AgentComm::getRoleMessage() const { return roleMessage; }
SetplayAgentMessage* AgentComm::getSetplayMessage() const { return setplayMessage; }

void AgentComm::deletePointers()
{
    delete simpleMessage;
    delete roleMessage;
    delete setplayMessage;
    simpleMessage = nullptr;
    roleMessage = nullptr;
    setplayMessage = nullptr;
}
