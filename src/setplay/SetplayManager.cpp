#include "setplay/SetplayManager.h"

#include <cassert>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "setplay/SetplayException.h"

namespace ostrevanda {
namespace setplay {

namespace {

bool isKickOffCondition(const Cond* c) {
    const CondPlayMode* pm = dynamic_cast<const CondPlayMode*>(c);
    return pm && pm->getPlayMode() == rcss::clang::KickOff_Our;
}

}  // namespace

// Loading

SetplayManager::SetplayManager(const std::string& teamName_, const std::string& conf_file, bool useComm,
                               bool limitedComm, float messageRepeatTime_, const Context& world)
    : lastSetplayEndTime(-1),
      participatedInLastSetplay(false),
      lastSetplayWasSuccessful(false),
      teamName(teamName_),
      messageRepeatTime(messageRepeatTime_) {
    load(conf_file, useComm, limitedComm, world);
}

SetplayManager::~SetplayManager() {}

std::unique_ptr<Setplay> SetplayManager::checked(std::unique_ptr<Setplay> sp, const Context& world,
                                                 std::unique_ptr<Setplay>& mirror) {
    try {
        sp->substituteNamedRegions(world);
        if (!sp->hasStep(0)) throw SetplayException("no step 0");
        for (const Step* s : sp->getSteps())
            for (const Transition* t : *s->transitions)
                if (t->isNextStep()) {
                    const int target = static_cast<const NextStep*>(t)->getNextStepNumber();
                    if (target < 0 || !sp->hasStep(static_cast<unsigned>(target)))
                        throw SetplayException("step " + std::to_string(s->id) + " leads to step " +
                                               std::to_string(target) + ", which it lacks");
                }
        std::unique_ptr<Setplay> trial(sp->deepCopy());
        if (sp->isInvertible()) mirror.reset(sp->inversion());
        if (!sp->getParameters().empty())
            std::cerr << "SP: set play " << sp->getName() << " (id " << sp->id()
                      << ") has parameters, which an init message cannot carry here: it is never feasible" << std::endl;
        return sp;
    } catch (const std::exception& e) {
        std::cerr << "SP: set play " << sp->getName() << " (id " << sp->id() << ") dropped: " << e.what() << std::endl;
        mirror.reset();
        return nullptr;
    }
}

void SetplayManager::load(const std::string& conf_file, bool useComm, bool limitedComm, const Context& world) {
    std::string text = readJoinedLines(conf_file), rest;
    std::unique_ptr<Setplay> sp(Setplay::parse(text, rest, useComm, limitedComm, messageRepeatTime));
    while (sp) {
        if (getSetplay(sp->id())) {
            std::cerr << "SP: duplicate id in setplay file!" << std::endl;
        } else {
            std::unique_ptr<Setplay> mirror;
            if (std::unique_ptr<Setplay> kept = checked(std::move(sp), world, mirror)) {
                setplays.push_back(std::move(kept));
                if (mirror) setplays.push_back(std::move(mirror));
            }
        }
        text = rest;
        sp.reset(Setplay::parse(text, rest, useComm, limitedComm, messageRepeatTime));
    }
    if (!rest.empty())
        std::cerr << "\n Remainder of Setplay Config file(" << rest.size() << " chars):" << rest << std::endl;
}

// Choice and start

std::vector<Setplay*> SetplayManager::feasibleSetplays(const Context& world) {
    std::vector<Setplay*> result;
    for (const std::unique_ptr<Setplay>& tpl : setplays) {
        // An init message here carries shirt numbers only.
        if (!tpl->getParameters().empty()) continue;
        try {
            const InitMessage init(world.time(), tpl->id(), &tpl->participatingPlayersDistanceFromPositions(world));
            std::unique_ptr<Setplay> trial(tpl->deepCopy());
            if (!trial->instantiate(&init.arguments, world.numPlayersPerTeam())) continue;
            std::vector<unsigned> opps = trial->participatingPlayersOpp(world);
            if (!trial->instantiateOpp(&opps)) continue;
            if (trial->getAbortCond() && trial->getAbortCond()->eval(world)) continue;
            const Cond* first = trial->getSteps().front()->condition;
            if (!first || first->eval(world)) result.push_back(tpl.get());
        } catch (const std::exception& e) {
            std::cerr << "SP: set play " << tpl->id() << " not feasible: " << e.what() << std::endl;
        }
    }
    return result;
}

void SetplayManager::activateSetplay(const InitMessage& init, const Context& world) {
    const Setplay* tpl = getSetplay(init.setplayNumber);
    if (!tpl) return;
    std::unique_ptr<Setplay> sp(tpl->deepCopy());
    try {
        if (!sp->instantiate(init, world)) {
            std::cerr << "SP: init message " << init.toString() << " does not bind set play " << tpl->id()
                      << ": not started" << std::endl;
            return;
        }
        std::vector<unsigned> opps = sp->participatingPlayersOpp(world);
        std::cerr << "NumOppselected" << opps.size() << std::endl;
        for (unsigned n : opps) std::cerr << "OppSelected" << n << std::endl;
        if (!sp->instantiateOpp(&opps)) return;
        for (const PlayerReference* p : sp->getPlayers()) std::cerr << "Opp - " << p->value()->number << std::endl;
        sp->start(world);
    } catch (const std::exception& e) {
        std::cerr << "SP: init message " << init.toString() << " not started: " << e.what() << std::endl;
        return;
    }
    currentSetplay = std::move(sp);
}

// Ending

void SetplayManager::dealWithSetplayEnd(const Context& world) {
    assert(currentSetplay);
    lastSetplayEndTime = world.time();
    if (currentSetplay->playerParticipates(&world.me())) participatedInLastSetplay = true;
    lastSetplayWasSuccessful = currentSetplay->isSuccessful();
    currentSetplay.reset();
}

void SetplayManager::abort(const Context& world) {
    assert(currentSetplay);
    currentSetplay->markAsDone();
    dealWithSetplayEnd(world);
}

void SetplayManager::endIfDone(const Context& world, const char* after) {
    if (!currentSetplay || !currentSetplay->isDone()) return;
    std::cerr << after << currentSetplay->getName() << "current step: " << currentSetplay->currentStepNumber() << " | "
              << currentSetplay->currentStepNumber() << std::endl;
    dealWithSetplayEnd(world);
}

// Per cycle

void SetplayManager::updateInternalState(const Context& world) {
    if (!currentSetplay) {
        std::cerr << "Trying to update internal state in Setplay, but none is active!" << std::endl;
        return;
    }
    currentSetplay->updateInternalState(world);
    endIfDone(world, "SetplayManager:: Finish in updateInternalState - Name: ");
}

void SetplayManager::chosenAction(const unsigned& n, const Context& world) {
    if (!currentSetplay) {
        std::cerr << "Trying to choose action in Setplay, but none is active!" << std::endl;
        return;
    }
    currentSetplay->chosenAction(n, world);
    endIfDone(world, "SetplayManagerWithCBR:: Finalizado apos chosenAction - Name: ");
}

void SetplayManager::chosenTransition(const unsigned& n, const Context& world) {
    if (!currentSetplay) return;
    currentSetplay->chosenTransition(n, world);
    endIfDone(world, "SetplayManagerWithCBR:: Finalizado apos chosenTransition - Name: ");
}

void SetplayManager::forceUpdateStep(const Context& world) {
    if (!currentSetplay) return;
    currentSetplay->forceUpdateStep(world);
    endIfDone(world, "SetplayManager:: Finish in forceUpdateStep - Name: ");
}

// Messages

bool SetplayManager::willCommunicate(const Context& world) {
    if (currentSetplay) return currentSetplay->willCommunicate(world);
    const double repeat = static_cast<double>(messageRepeatTime);
    if (world.time() - lastSetplayEndTime >= repeat) {
        participatedInLastSetplay = false;
        lastSetplayWasSuccessful = false;
        lastSetplayEndTime = -1;
        return false;
    }
    if (lastSetplayEndTime != -1) return participatedInLastSetplay && repeat > world.time() - lastSetplayEndTime;
    return false;
}

std::unique_ptr<SetplayMessage> SetplayManager::messageToSend(const Context& world) const {
    if (currentSetplay && !currentSetplay->isDone()) return currentSetplay->messageToSend(world);
    std::unique_ptr<SetplayMessage> m(new StepMessage(lastSetplayEndTime, -1, lastSetplayWasSuccessful ? 1 : -1));
    std::cerr << "SetplayManager::FinishMsg " << m->toString() << std::endl;
    return m;
}

void SetplayManager::processReceivedMessage(const std::string& text, const Context& world) {
    if (!text.empty() && text[0] == 'S')
        processReceivedMessage(InitMessage(world.time(), text), world);
    else
        processReceivedMessage(StepMessage(world.time(), text), world);
}

void SetplayManager::processReceivedMessage(const InitMessage& m, const Context& world) {
    if (!currentSetplay) {
        activateSetplay(m, world);
        return;
    }
    if (currentSetplay->id() == m.setplayNumber) {
        if (currentSetplay->currentStepNumber() == 0 || currentSetplay->amLeadPlayer(world)) return;
        std::cerr << "SetplayManager:: Step Number isn't 0: " << currentSetplay->currentStepNumber()
                  << " and I'm not Lead" << std::endl;
    } else {
        std::cerr << "SetplayManager::processReceiveMessage - Incorrect SpMessage Id - currentSpID: "
                  << currentSetplay->id() << " messageSpID: " << m.setplayNumber << std::endl;
    }
    dealWithSetplayEnd(world);
}

void SetplayManager::processReceivedMessage(const StepMessage& m, const Context& world) {
    if (currentSetplay)
        currentSetplay->processReceivedMessage(m, world);
    else if (m.currentStepNumber == -1 && m.nextStepNumber == 1)
        lastSetplayWasSuccessful = true;
}

// Queries

bool SetplayManager::thisPlayerParticipates(const Context& world) const {
    return currentSetplay && currentSetplay->playerParticipates(&world.me());
}

bool SetplayManager::amLeadPlayer(const Context& world) const {
    return currentSetplay && currentSetplay->amLeadPlayer(world);
}

const PointSimple* SetplayManager::myCurrentPositioning(const Context& world) const {
    assert(currentSetplay);
    return currentSetplay->myCurrentPositioning(world);
}

const PointSimple* SetplayManager::myNextPositioning(const Context& world) const {
    assert(currentSetplay);
    return currentSetplay->myNextPositioning(world);
}

const PointSimple* SetplayManager::currentPositioning(unsigned int num, const Context& world) const {
    assert(currentSetplay);
    return currentSetplay->currentPositioning(num, world);
}

bool SetplayManager::isNextStepAlreadyChosen() const {
    assert(currentSetplay);
    return currentSetplay->isNextStepAlreadyChosen();
}

const Action* SetplayManager::currentAction(const Context& world) {
    assert(currentSetplay);
    return currentSetplay->currentAction(world);
}

std::vector<const Transition*> SetplayManager::possibleTransitions(const Context& world) const {
    if (!currentSetplay) throw SetplayException("Trying to check possible Transitions in Setplay, but none is active!");
    return currentSetplay->possibleTransitions(world);
}

// Templates

Setplay* SetplayManager::getSetplay(int num) const {
    for (const std::unique_ptr<Setplay>& sp : setplays)
        if (sp->id() == num) return sp.get();
    return nullptr;
}

void SetplayManager::writeSetplayNum(std::ostream& os, unsigned int setplayNumber) const {
    if (setplayNumber < setplays.size())
        setplays[setplayNumber]->write(os);
    else
        std::cerr << "SP: inexistent Setplay in write number:" << setplayNumber << std::endl;
}

// With the case base

SetplayManagerWithCBR::SetplayManagerWithCBR(const std::string& teamName_, const std::string& conf_file, bool useComm,
                                             bool limitedComm, float messageRepeatTime_, const Context& world,
                                             const std::string& caseBase_file, bool must_retain_newCases)
    : SetplayManager(teamName_, conf_file, useComm, limitedComm, messageRepeatTime_, world),
      cbrManager(new CBRManager(caseBase_file, must_retain_newCases)),
      numOpps_nearBall(0) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

SetplayManagerWithCBR::~SetplayManagerWithCBR() {
    if (cbrManager) cbrManager->retainCase();
}

void SetplayManagerWithCBR::describeSituation(const Context& world) {
    if (problem_context)
        problem_context->update(world, numOpps_nearBall);
    else
        problem_context.reset(new ProblemContext(world, numOpps_nearBall));
}

void SetplayManagerWithCBR::activateSetplay(const InitMessage& init, const Context& world) {
    describeSituation(world);
    SetplayManager::activateSetplay(init, world);
}

void SetplayManagerWithCBR::autoActivateSetplay(const Context& world, unsigned int nOpps_nearBall) {
    numOpps_nearBall = nOpps_nearBall;
    describeSituation(world);
    const std::vector<Setplay*> feasible = feasibleSetplays(world);
    if (feasible.empty()) return;
    std::vector<CBRManager::SetplayId> ids;
    for (Setplay* sp : feasible)
        ids.push_back({sp->id(), static_cast<unsigned>(sp->getSteps().size()),
                       sp->SumParticipatingPlayersDistanceFromPos(world)});
    const int chosen = selectSetplayByCBR(ids);
    if (chosen == CBRManager::NO_SETPLAY) return;
    Setplay* tpl = getSetplay(chosen);
    if (!tpl) return;
    if (isKickOffCondition(tpl->getSteps().front()->condition)) world.setKickOffSetplay(true);
    std::cerr << "Chose: " << chosen << " real: " << tpl->id() << " steps: " << tpl->getSteps().size() << std::endl;
    // The situation is described already.
    SetplayManager::activateSetplay(
        InitMessage(world.time(), tpl->id(), &tpl->participatingPlayersDistanceFromPositions(world)), world);
}

int SetplayManagerWithCBR::selectSetplayByCBR(const std::vector<CBRManager::SetplayId>& possible) {
    std::cerr << "SP: choosing SP by CBR: caseBase null:" << (cbrManager ? 0 : 1)
              << " number of possible SPs:" << possible.size() << std::endl;
    return cbrManager->selectSetplay(possible, problem_context.get());
}

void SetplayManagerWithCBR::dealWithSetplayEnd(const Context& world) {
    assert(currentSetplay);
    if (cbrManager && problem_context) {
        std::cerr << "Revising Solution " << std::endl;
        Setplay& sp = *currentSetplay;
        // The end is dealt with even when the case cannot be told.
        try {
            cbrManager->reviseSolution(problem_context.get(), sp.isSuccessful(), sp.currentStepNumber() + 1,
                                       {sp.id(), static_cast<unsigned>(sp.getSteps().size()),
                                        sp.SumParticipatingPlayersDistanceFromPos(world)});
        } catch (const std::exception& e) {
            std::cerr << "SP: case base not revised: " << e.what() << std::endl;
        }
    }
    world.setKickOffSetplay(false);
    SetplayManager::dealWithSetplayEnd(world);
}

void SetplayManagerWithCBR::abort(const Context& world) {
    assert(currentSetplay);
    std::cerr << "SetplayManagerWithCBR:: Setplay Abortado - Name: " << currentSetplay->getName()
              << "current step: " << currentSetplay->currentStepNumber() << std::endl;
    SetplayManager::abort(world);
}

}  // namespace setplay
}  // namespace ostrevanda
