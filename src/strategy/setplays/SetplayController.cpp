#include "strategy/setplays/SetplayController.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "geometry/Geometry.h"
#include "setplay/SetplayManager.h"
#include "setplay/SetplayMessage.h"
#include "strategy/Pass.h"
#include "strategy/setplays/SetplayCondition.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

using namespace ostrevanda::setplay;

namespace {

const char* const SETPLAY_FILE = "formations/setplay.conf";
const char* const CASE_BASE_FILE = "formations/cbr.conf";
const float MESSAGE_REPEAT_TIME = 1.6f;

// A whole number of the text, or nothing when it does not read as one.
bool readInt(const std::string& s, int& v) {
    std::istringstream in(s);
    long n = 0;
    if (!(in >> n) || !in.eof() || n < -1000000 || n > 1000000) return false;
    v = static_cast<int>(n);
    return true;
}

}  // namespace

SetplayController::SetplayController(SetplayCondition* context_)
    : SetplayController(context_, SETPLAY_FILE, CASE_BASE_FILE) {}

SetplayController::SetplayController(SetplayCondition* context_, const std::string& confFile,
                                     const std::string& caseBaseFile)
    : ws(&Singleton<WorldState>::getInstance()), context(context_), mUsecbr(true) {
    setplayManager.reset(new SetplayManagerWithCBR(ws->team, confFile, true, true, MESSAGE_REPEAT_TIME, *context,
                                                   caseBaseFile, true));
}

SetplayController::~SetplayController() {}

Pass* SetplayController::getPasser() const { return context ? context->getPasser() : nullptr; }

void SetplayController::setPasser(Pass* pass) {
    if (context)
        context->setPasser(pass);
    else
        delete pass;
}

void SetplayController::updateSetplay() {
    transitions.clear();
    if (!setplayManager->isSetplayActive()) {
        ws->leadPlayer = -1;
        return;
    }
    setplayManager->updateInternalState(*context);
    if (!setplayManager->isSetplayActive() || !setplayManager->thisPlayerParticipates(*context)) return;
    transitions = setplayManager->possibleTransitions(*context);
    if (setplayManager->isNextStepAlreadyChosen()) return;
    for (unsigned i = 0; i < transitions.size(); ++i) {
        if (transitions[i]) {
            setplayManager->chosenTransition(i, *context);
            break;
        }
    }
    // The step may have moved on: these transitions are no longer offered.
    if (!setplayManager->isSetplayActive()) transitions.clear();
}

void SetplayController::leadPlayer() {
    if (mUsecbr) cbrExecution();
}

unsigned SetplayController::opponentsNearBall(const WorldState& w) {
    const Circle nearBall(w.ballPos, 3.5f);
    unsigned count = 0;
    for (auto it = w.beginOpponents(); it != w.endOpponents(); ++it)
        if (it->second && nearBall.isInside(it->second->position.to2d())) ++count;
    return count;
}

void SetplayController::cbrExecution() { setplayManager->autoActivateSetplay(*context, opponentsNearBall(*ws)); }

bool SetplayController::encodeSetplayMsg() {
    std::ostringstream os;
    if (ws->typeSetplayMsg == 1) {
        os << "S" << ws->setplayId;
        for (int p : ws->setplayParticipants) os << " " << p;
    } else if (ws->typeSetplayMsg == 2) {
        os << ws->currentSetplayStep << " " << ws->nextSetplayStep;
    } else {
        return false;
    }
    message = os.str();
    return true;
}

void SetplayController::communicationImpl() {
    if (!setplayManager->willCommunicate(*context)) return;
    ws->leadPlayer = ws->unum;
    std::unique_ptr<SetplayMessage> m(setplayManager->messageToSend(*context));
    if (!m) return;
    const std::string text = m->toString();
    if (m->isInit())
        decodeInitMsg(text);
    else
        decodeStepMsg(text);
}

std::string SetplayController::decodeInitMsg(const std::string& sMsg) {
    const std::vector<std::string> pieces = splitString(sMsg, ' ');
    ws->typeSetplayMsg = 1;
    ws->setplayParticipants.clear();
    int id = 0;
    if (!pieces.empty() && pieces[0].size() > 1) readInt(pieces[0].substr(1), id);
    ws->setplayId = id;
    std::ostringstream echo;
    echo << "S" << id;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        int n = 0;
        if (pieces[i].empty() || !readInt(pieces[i], n)) continue;
        ws->setplayParticipants.push_back(n);
        echo << " " << n;
    }
    return echo.str();
}

std::string SetplayController::decodeStepMsg(const std::string& sMsg) {
    const std::vector<std::string> pieces = splitString(sMsg, ' ');
    ws->typeSetplayMsg = 2;
    int current = -1, next = -1;
    if (!pieces.empty()) readInt(pieces[0], current);
    if (pieces.size() > 1) readInt(pieces[1], next);
    ws->currentSetplayStep = current;
    ws->nextSetplayStep = next;
    std::ostringstream echo;
    echo << current << " " << next;
    return echo.str();
}

std::vector<std::string> SetplayController::splitString(const std::string& s, char delim) {
    std::vector<std::string> pieces;
    std::istringstream in(s);
    std::string piece;
    while (std::getline(in, piece, delim)) pieces.push_back(piece);
    return pieces;
}
