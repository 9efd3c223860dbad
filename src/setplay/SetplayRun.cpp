#include <cassert>
#include <iostream>

#include "setplay/Setplay.h"
#include "setplay/SetplayException.h"

namespace ostrevanda {
namespace setplay {

namespace {

const PointSimple* placeIn(const Step* step, const PlayerReference& who, const Context& world) {
    if (!step->participants) return nullptr;
    for (const Participation* p : *step->participants)
        if (p->location() && p->participant()->equals(who)) return p->location()->getCentralPoint(world);
    return nullptr;
}

bool holds(const Cond* c, const Context& world) { return !c || c->eval(world); }

}  // namespace

// Lookups

Step* Setplay::getStep(unsigned id) const {
    for (Step* s : *steps)
        if (s->id == id) return s;
    throw SetplayException("SP: (get) Step number not found in Setplay:" + std::to_string(id));
}

bool Setplay::hasStep(unsigned id) const {
    for (const Step* s : *steps)
        if (s->id == id) return true;
    return false;
}

void Setplay::setCurrentStep(unsigned stepID, const Context& world) {
    Step* s = nullptr;
    for (Step* c : *steps)
        if (c->id == stepID) {
            s = c;
            break;
        }
    if (!s) throw SetplayException("SP: (set) Step number not found in Setplay:" + std::to_string(stepID));
    currentStep = s;
    s->setActionsAsNotDone();
    stepBegin = world.time();
}

int Setplay::currentStepNumber() const {
    if (!currentStep) throw SetplayException("CurrentStep should not be null!");
    return static_cast<int>(currentStep->id);
}

double Setplay::currentStepInitTime() const {
    assert(m_instantiated && currentStep);
    return stepBegin;
}

const PlayerReference* Setplay::getCurrBallHolder() const {
    assert(currentStep);
    return currentStep->ballHoder;
}

bool Setplay::isDone() const {
    if (!m_instantiated) throw SetplayException("Trying to see if a non instantiated plan is done!");
    return done;
}

void Setplay::markAsSuccess() {
    std::cerr << "Setplay Ended markAsSuccess and step " << (currentStep ? static_cast<int>(currentStep->id) : -1)
              << std::endl;
    successful = true;
}

bool Setplay::leads(const Step* s, const Context& world) const {
    return s->leadPlayer->value()->number == world.me().number;
}

const PlayerID* Setplay::leadPlayer() const {
    assert(m_instantiated && currentStep);
    return currentStep->leadPlayer->value();
}

bool Setplay::amLeadPlayer(const Context& world) const {
    assert(m_instantiated);
    if (!currentStep) return false;
    const PlayerID* lead = currentStep->leadPlayer->value();
    return lead->team == "our" && lead->number == world.me().number;
}

bool Setplay::playerParticipates(const PlayerID* id) const {
    assert(m_instantiated);
    auto isHim = [id](const PlayerReference* p) {
        const PlayerID* v = p->value();
        return v->team == "our" && v->number == id->number;
    };
    if (currentStep) {
        assert(currentStep->participants);
        for (const Participation* p : *currentStep->participants)
            if (isHim(p->participant())) return true;
        return false;
    }
    for (const PlayerReference* p : players)
        if (isHim(p)) return true;
    return false;
}

bool Setplay::waitTimeHasElapsed(const Context& world) const {
    assert(m_instantiated && currentStep);
    return world.time() - stepBegin >= currentStep->waitTime;
}

const PointSimple* Setplay::myCurrentPositioning(const Context& world) const {
    assert(m_instantiated && currentStep);
    return placeIn(currentStep, world.me(), world);
}

const PointSimple* Setplay::myNextPositioning(const Context& world) const {
    assert(m_instantiated && nextStep);
    return placeIn(nextStep, world.me(), world);
}

const PointSimple* Setplay::currentPositioning(unsigned num, const Context& world) const {
    assert(m_instantiated && currentStep);
    return placeIn(currentStep, PlayerID("our", num), world);
}

void Setplay::substituteNamedRegions(const Context& world) {
    if (abortCond) abortCond->substituteNamedRegions(world);
    for (Step* s : *steps) s->substituteNamedRegions(world);
}

// The step machine

void Setplay::start(const Context& world) {
    if (!m_instantiated) throw SetplayException("Trying to start a uninstantiated setplay");
    setCurrentStep(0, world);
    nextStep = nullptr;
    setplayBegin = stepBegin = world.time();
    currentActions.clear();
}

void Setplay::update(const Context& world, bool checkCondition) {
    if (!currentStep) throw SetplayException("SP: CurrentStep is NULL in setplay execution!");
    const double now = world.time();
    const PlayerID& me = world.me();
    if (wasLastLeadPlayer && now - stepBegin > static_cast<double>(messageRepeatTime)) wasLastLeadPlayer = false;

    if (leads(currentStep, world) &&
        ((abortCond && abortCond->eval(world)) || (currentStep->abortStep && currentStep->abortStep->eval(world)))) {
        done = true;
        successful = false;
        std::cerr << "setplay::updatInternalState - I'm lead but sp aborted";
        if (abortCond) abortCond->print(std::cerr);
        if (currentStep->abortStep) currentStep->abortStep->print(std::cerr);
        std::cerr << std::endl;
        return;
    }
    if (currentStep->abortTime != 0 && now > stepBegin + currentStep->abortTime) {
        done = true;
        successful = false;
        std::cerr << "setplay::updatInternalState - AbortTime reached:" << now << " "
                  << stepBegin + currentStep->abortTime << std::endl;
        return;
    }

    bool mayAdvance = true;
    if (commAllowed && !leads(currentStep, world)) {
        CondBallOwner owner(ConstPlayerList{&me}, false);
        mayAdvance = world.lookup(owner);
    }
    if (mayAdvance) {
        if (!nextStep) return;
        if (waitTimeHasElapsed(world) && (!checkCondition || holds(nextStep->condition, world)) &&
            (leads(nextStep, world) || leads(currentStep, world))) {
            const bool ledLeft = leads(currentStep, world);
            setCurrentStep(nextStep->id, world);
            nextStep = nullptr;
            for (const Transition* t : *currentStep->transitions) {
                if (t->isNextStep() || !holds(t->getCondition(), world)) continue;
                done = true;
                successful = t->isFinish();
                if (successful)
                    std::cerr << "Setplay Ended with in a Finish Transition and step " << currentStep->id
                              << " with success" << std::endl;
                else
                    std::cerr << "Setplay Ended in a abort Transition and step" << currentStep->id << std::endl;
            }
            wasLastLeadPlayer = ledLeft && !leads(currentStep, world);
        }
    }

    if (nextStep && currentActions.empty()) {
        if (!currentStep->transitions || currentStep->transitions->empty()) {
            done = true;
            successful = false;
            std::cerr << "setplay::updatInternalState - There aren't any trasitions " << std::endl;
            return;
        }
        for (const Transition* t : *currentStep->transitions)
            if (t->isNextStep() &&
                static_cast<const NextStep*>(t)->getNextStepNumber() == static_cast<int>(nextStep->id))
                currentActions = t->getDoActionsForPlayer(me);
        const bool elapsed = waitTimeHasElapsed(world);
        for (Action* a : currentActions) a->active = elapsed;
    }
}

std::vector<const Transition*> Setplay::possibleTransitions(const Context& world) const {
    std::vector<const Transition*> result;
    if (!currentStep || !currentStep->transitions) return result;
    if (!nextStep && leads(currentStep, world)) {
        for (const Transition* t : *currentStep->transitions)
            result.push_back(holds(t->getCondition(), world) ? t : nullptr);
    } else if (nextStep) {
        for (const Transition* t : *currentStep->transitions)
            if (t->isNextStep() &&
                static_cast<const NextStep*>(t)->getNextStepNumber() == static_cast<int>(nextStep->id))
                result.push_back(t);
    }
    return result;
}

std::vector<std::unique_ptr<std::vector<Action*>>> Setplay::possibleActions(const Context& world) const {
    std::vector<std::unique_ptr<std::vector<Action*>>> result;
    const bool active = currentStep && world.time() >= stepBegin + currentStep->waitTime;
    for (const Transition* t : possibleTransitions(world)) {
        if (!t) {
            result.emplace_back();
            continue;
        }
        result.emplace_back(new std::vector<Action*>(t->getDoActionsForPlayer(world.me())));
        for (Action* a : *result.back()) a->active = active;
    }
    return result;
}

void Setplay::commit(unsigned n, const Context& world, bool fromAction) {
    if (!currentStep->transitions || n >= currentStep->transitions->size())
        throw SetplayException(fromAction ? "SP: Invalid transition number: outside of range"
                                          : " Invalid transition number: outside of range");
    if (nextStep) {
        if (fromAction && n == 0) {
            std::cerr << "Setplay::chosenAction - nextStep isnt Null and ActionNumber is 0" << std::endl;
            return;
        }
        if (!fromAction)
            std::cerr << "SP: chosenTransition is being called, but next step was already chosen..." << std::endl;
    }
    const Transition* t = (*currentStep->transitions)[n];
    if (!holds(t->getCondition(), world))
        throw SetplayException(fromAction ? " Invalid transition: not currently verified"
                                          : "Invalid transition: not currently verified");
    if (t->isNextStep()) {
        const int target = static_cast<const NextStep*>(t)->getNextStepNumber();
        if (!nextStep || static_cast<int>(nextStep->id) != target) {
            nextStep = getStep(static_cast<unsigned>(target));
            currentActions.clear();
        }
    } else {
        if (!fromAction)
            std::cerr << "SP: Out' (" << world.me().number << ") of Setplay! End transition..." << std::endl;
        done = true;
        successful = t->isFinish();
        std::cerr << "Setplay Ended in ChosenAction Transition s/nextStep and step " << currentStep->id
                  << (successful ? " with success" : "") << std::endl;
    }
    std::cerr << (fromAction ? "Setplay::chosenAction - Metodo Finalizado"
                             : "Setplay::chosenTransition - Metodo Finalizado")
              << std::endl;
}

void Setplay::chosenTransition(unsigned n, const Context& world) { commit(n, world, false); }

void Setplay::chosenAction(unsigned n, const Context& world) { commit(n, world, true); }

const Action* Setplay::currentAction(const Context& world) {
    assert(currentStep);
    for (const Action* a : currentActions)
        if (const Action* r = a->necessaryAction(world.me(), world)) {
            r->active = waitTimeHasElapsed(world);
            return r;
        }
    return nullptr;
}

bool Setplay::willCommunicate(const Context& world) const {
    if (!currentStep || !commAllowed) return false;
    if (!playerParticipates(&world.me())) return false;
    const double now = world.time();
    const double repeat = static_cast<double>(messageRepeatTime);
    if (currentStep->id != 0 && wasLastLeadPlayer && now != 0 && now - stepBegin < repeat) return true;
    if (now == 0 || amLeadPlayer(world)) return true;
    return !singleChannelComm;
}

std::unique_ptr<SetplayMessage> Setplay::messageToSend(const Context& world) const {
    const double now = world.time();
    if (done) return std::unique_ptr<SetplayMessage>(new StepMessage(now, -1, successful ? 1 : -1));
    if ((currentStep->id == 0 && !nextStep) || now - setplayBegin < static_cast<double>(messageRepeatTime)) {
        std::unique_ptr<InitMessage> m(new InitMessage(stepBegin, setplayNumber, nullptr));
        for (const SetplayParameter* p : *parameters) m->arguments.push_back(p->instantiationText(world, true));
        for (const PlayerReference* p : players)
            if (p->isRole()) m->arguments.push_back(p->instantiationText(world, true));
        return std::unique_ptr<SetplayMessage>(m.release());
    }
    return std::unique_ptr<SetplayMessage>(
        new StepMessage(stepBegin, static_cast<int>(currentStep->id), nextStep ? static_cast<int>(nextStep->id) : -1));
}

void Setplay::processReceivedMessage(const StepMessage& m, const Context& world) {
    const int current = m.currentStepNumber, next = m.nextStepNumber;
    if (current == -1) {
        done = true;
        successful = next == 1;
        std::cerr << "Setplay Ended in ReceivedMessage " << (successful ? "with sucess" : "") << std::endl;
        return;
    }
    // Heard text: a step this set play lacks names nothing to follow.
    if (current < 0 || !hasStep(static_cast<unsigned>(current)) ||
        (next != -1 && (next < 0 || !hasStep(static_cast<unsigned>(next))))) {
        std::cerr << "SP: step message " << m.toString() << " names a step this set play lacks" << std::endl;
        return;
    }
    if (current == static_cast<int>(currentStep->id)) {
        if (next == -1 || (nextStep && next == static_cast<int>(nextStep->id))) return;
        nextStep = getStep(static_cast<unsigned>(next));
        currentActions.clear();
        return;
    }
    if (nextStep && current != static_cast<int>(nextStep->id)) return;
    setCurrentStep(static_cast<unsigned>(current), world);
    nextStep = nullptr;
    currentActions.clear();
    if (next != -1) nextStep = getStep(static_cast<unsigned>(next));
}

}  // namespace setplay
}  // namespace ostrevanda
