#include "strategy/setplays/SetplayController.h"

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
    : ws(&Singleton<WorldState>::getInstance()), context(context_) {
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

void SetplayController::leadPlayer() { setplayManager->autoActivateSetplay(*context, opponentsNearBall(*ws)); }

unsigned SetplayController::opponentsNearBall(const WorldState& w) {
    const Circle nearBall(w.ballPos, 3.5f);
    unsigned count = 0;
    for (auto it = w.beginOpponents(); it != w.endOpponents(); ++it)
        if (it->second && nearBall.isInside(it->second->position.to2d())) ++count;
    return count;
}

std::unique_ptr<SetplayMessage> SetplayController::heldMessage() const {
    if (ws->typeSetplayMsg == 1) {
        std::unique_ptr<InitMessage> m(new InitMessage(context->time(), ws->setplayId, nullptr));
        for (int p : ws->setplayParticipants) m->arguments.push_back(std::to_string(p));
        return std::unique_ptr<SetplayMessage>(m.release());
    }
    if (ws->typeSetplayMsg == 2)
        return std::unique_ptr<SetplayMessage>(
            new StepMessage(context->time(), ws->currentSetplayStep, ws->nextSetplayStep));
    return nullptr;
}

void SetplayController::communicationImpl() {
    if (!setplayManager->willCommunicate(*context)) return;
    ws->leadPlayer = ws->unum;
    if (std::unique_ptr<SetplayMessage> m = setplayManager->messageToSend(*context)) hold(*m);
}

void SetplayController::hold(const SetplayMessage& m) {
    if (const InitMessage* init = dynamic_cast<const InitMessage*>(&m)) {
        ws->typeSetplayMsg = 1;
        ws->setplayId = init->setplayNumber;
        ws->setplayParticipants.clear();
        for (const std::string& a : init->arguments) {
            int n = 0;
            if (readInt(a, n)) ws->setplayParticipants.push_back(n);
        }
    } else {
        const StepMessage& step = static_cast<const StepMessage&>(m);
        ws->typeSetplayMsg = 2;
        ws->currentSetplayStep = step.currentStepNumber;
        ws->nextSetplayStep = step.nextStepNumber;
    }
}
