// The world state's side of the team messages: merging what team-mates say
// into the model, and the vote for the active player.
//
// Anybody on the field can speak on this channel, so every number that comes
// out of a message is checked before it is used to find a player or a voter.

#include <algorithm>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "logger/LogParameters.h"
#include "logger/LoggerBuffer.h"
#include "logger/LoggerZek.h"
#include "utils/communication/RoleAgentMessage.h"
#include "utils/communication/SetplayAgentMessage.h"
#include "utils/communication/SimpleAgentMessage.h"
#include "world/SayTimetable.h"
#include "world/WorldState.h"

namespace {

// Confidence that a message carries for its 3-bit code.
float heardConfidence(int code) { return (code + 3) / 10.0f; }

// The vote texts go to the line buffer as debug texts.
void toLineBuffer(const std::string& text) { LoggerBuffer::getInstance().trace(text); }

void writeEntries(std::ostream& out, const std::vector<std::pair<int, int>>& entries)
{
    for (const auto& entry : entries)
        out << entry.first << ":" << entry.second << "\n";
}

// A team-mate of ours under a heard shirt number; never the agent itself,
// which no team-mate speaks for.
Player* heardTeammate(WorldState& ws, int unum)
{
    if (!WorldState::isShirtNumber(unum) || unum == ws.me->unum)
        return nullptr;
    return ws.getPlayer(WorldState::OSTREVANDA_TEAM, unum);
}

void mergeSender(WorldState& ws, const AgentMessage& msg, int sender)
{
    Player* p = heardTeammate(ws, sender);
    if (p == nullptr)
        return;
    if (p->conf < 0.8f)
        ws.updatePlayerGlobalPosition(p, msg.getSelfPosition(), 0.8f);
    p->orientation = msg.getSelfOrientation();
}

} // namespace

// ---- Merges ---------------------------------------------------------------

void WorldState::updateWithSimpleMsg(SimpleAgentMessage* msg)
{
    // Simple messages merged since the last pass announcement.
    static int countPass = 0;

    if (msg == nullptr)
        return;

    Vector3f b = msg->getBallPosition();
    float cb = heardConfidence(msg->getBallConfidence());
    int sender = msg->getSelfId() + 1;

    if (ball->conf < 0.6f) {
        ball->position = b;
        ball->conf = 0.6f;
    }
    if (ball->conf < cb && b.dist(me->position) > 0.7f) {
        ball->updatePrevPosition(ball->position);
        ball->conf = cb;
        ball->position = b;
        ball->relPosition = absoluteToRelativeCoordinates(b);
        ballPos = b.to2d();
    }

    mergeSender(*this, *msg, sender);

    for (const PlayerInfo& info : msg->getPlayersInfo()) {
        int n = info.id + 1;
        Player* p = nullptr;
        if (info.team == OSTREVANDA_TEAM)
            p = heardTeammate(*this, n);
        else if (info.team == OPPONENT_TEAM && isShirtNumber(n))
            p = getOpponentPlayer(n);
        float c = heardConfidence(info.confidence);
        if (p != nullptr && c > p->conf)
            updatePlayerGlobalPosition(p, info.position, c);
    }

    if (++countPass > 50)
        commPassPlayer = 0;
    int receiver = msg->getPassPlayer();
    if (isShirtNumber(receiver) && isShirtNumber(sender)) {
        commPassPlayer = receiver;
        commPassPosition = msg->getPassPosition();
        passerId = msg->getSelfId();
        countPass = 0;
    }

    if (sender != me->unum)
        updateActiveElection(msg->getActiveCandidate(), sender);
}

void WorldState::updateWithRoleMsg(RoleAgentMessage* msg)
{
    if (msg == nullptr)
        return;

    int sender = msg->getSelfId() + 1;
    mergeSender(*this, *msg, sender);
    if (sender != me->unum)
        updateActiveElection(msg->getActiveCandidate(), sender);

    std::map<int, int> roles = msg->getRolesList();
    for (int j = 1; j <= MAX_UNUM; ++j) {
        std::map<int, int>::const_iterator it = roles.find(j);
        if (it == roles.end() || it->second == NO_ROLE)
            continue;
        int received = it->second;
        // Codes above the last role are not roles.
        if (received < NO_ROLE || received > GOS)
            continue;
        Player* p = j == me->unum ? me : getPlayer(OSTREVANDA_TEAM, j);
        if (p == nullptr)
            continue;

        Role role(unum, received);
        if (currentBehavior == 12) {
            // While marking passively the received roles are only alternatives.
            role.setIdAlternativeRole(received);
            role.setIdRole(p->getRole().getIdRole());
            if (role.getIdRole() == role.getIdAlternativeRole())
                role.setIdAlternativeRole(0);
        }
        p->setRole(role);
    }
}

void WorldState::updateWithSetplayMsg(SetplayAgentMessage* msg)
{
    if (msg == nullptr)
        return;

    setplayId = msg->getSetplayId();
    typeSetplayMsg = msg->getSetplayMessage();
    currentSetplayStep = msg->getCurrentStep();
    nextSetplayStep = msg->getNextStep();
    setplayParticipants.clear();
    for (int n : msg->getPlayersParticipants())
        if (isShirtNumber(n))
            setplayParticipants.push_back(n);
    leadPlayer = msg->getLeadPlayer();

    std::cerr << "LEADPLAYER AFTER UPDATE: " << leadPlayer << std::endl;

    // A set-play message votes in the name of its lead player.
    if (leadPlayer != me->unum)
        updateActiveElection(msg->getActiveCandidate(), leadPlayer);
}

void WorldState::updatePlayerGlobalPosition(Player* p, Vector3f newPosition, float conf)
{
    if (p == nullptr)
        return;
    Vector3f offset = newPosition - p->position;
    for (MobileObject* part : p->bodyParts())
        updatePlayerGlobalPositionAux(*part, offset, conf);
    updatePlayerGlobalPositionAux(*p, offset, conf);
}

void WorldState::updatePlayerGlobalPositionAux(MobileObject& obj, Vector3f& offset, float conf)
{
    obj.position = obj.position + offset;
    obj.conf = conf;
}

// ---- The vote -------------------------------------------------------------

void WorldState::setActiveCandidate(int vote) { activeCandidate = vote; }

int WorldState::getActiveCandidate() const { return activeCandidate; }

void WorldState::updateActiveElection(int vote, int voter)
{
    if (!isShirtNumber(voter))
        return;
    if (activeVoters.size() != static_cast<std::size_t>(MAX_UNUM + 1) ||
        activeElection.size() != static_cast<std::size_t>(MAX_UNUM))
        resetActiveElection();

    std::ostringstream log;
    if (voter == 1 && !activeVoters[1]) {
        resetActiveElection();
        log << "---INICIO DA VOTAÇÃO---" << "\n";
    }
    if (!activeVoters[voter]) {
        activeVoters[voter] = true;
        for (auto& entry : activeElection)
            if (entry.first == vote)
                ++entry.second;
        log << "REGISTRANDO VOTO " << vote << " DO ELEITOR " << voter << "\n";
        writeEntries(log, activeElection);
    }
    toLineBuffer(log.str());
}

void WorldState::resetActiveElection()
{
    activeElection.clear();
    for (int n = 1; n <= MAX_UNUM; ++n)
        activeElection.push_back(std::make_pair(n, 0));
    activeVoters.assign(MAX_UNUM + 1, false);
}

int WorldState::countVoters()
{
    auto votedFor = [this](int n) {
        return n < static_cast<int>(activeVoters.size()) && activeVoters[n];
    };
    int voted = 0;
    for (int n = 1; n <= MAX_UNUM; ++n)
        if (votedFor(n))
            ++voted;
    // The list of absentees is written only when the line is logged.
    auto absentees = [&votedFor]() {
        std::ostringstream absent;
        for (int n = 1; n <= MAX_UNUM; ++n)
            if (!votedFor(n))
                absent << n << " ";
        return absent.str();
    };
    LOG(log_DEBUG) << "Abstenções: " << absentees() << "\n"
                   << "Votos contados: " << voted;
    return voted;
}

void WorldState::activeElectionWinner()
{
    if (countVoters() <= MAX_UNUM - 1)
        return;
    // Team-mates that hear the second message of the last slot complete the
    // ballot a cycle later: everyone elects in that cycle.
    if (saytimetable::lastSlotHalfHeard(saytimetable::cycleOf(cTime)))
        return;

    std::ostringstream log;
    log << "VOTOS PRE SORT" << "\n";
    writeEntries(log, activeElection);
    std::stable_sort(activeElection.begin(), activeElection.end(), votecmp);
    int winner = activeElection.front().first;
    int votes = activeElection.front().second;
    log << "VOTOS POS SORT" << "\n";
    writeEntries(log, activeElection);
    log << "Winner!!: " << winner << " quant: " << votes;
    toLineBuffer(log.str());

    resetActiveElection();
    std::ostringstream after;
    after << "VOTOS POS RESET" << "\n";
    writeEntries(after, activeElection);
    toLineBuffer(after.str());

    lastActiveWinner = winner;
    electionStarted = false;
}

bool WorldState::votecmp(const std::pair<int, int>& a, const std::pair<int, int>& b)
{
    return a.second > b.second;
}

// ---- Accessors ------------------------------------------------------------

int WorldState::getCurrentActivePlayer() const { return lastActiveWinner; }
