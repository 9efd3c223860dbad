#ifndef OSTREVANDA_SETPLAY_SETPLAYMANAGER_H
#define OSTREVANDA_SETPLAY_SETPLAYMANAGER_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "setplay/CBRManager.h"
#include "setplay/ProblemContext.h"
#include "setplay/Setplay.h"
#include "setplay/SetplayMessage.h"

namespace ostrevanda {
namespace setplay {

// The agent's way into the library: the set plays read at start, the one
// running now, and the messages that start, follow and end it.
class SetplayManager {
public:
    // Reads the definitions; each usable set play is kept, followed by its
    // mirror image when it is invertible.
    SetplayManager(const std::string& teamName, const std::string& conf_file, bool useComm, bool limitedComm,
                   float messageRepeatTime_, const Context& world);
    virtual ~SetplayManager();
    SetplayManager(const SetplayManager&) = delete;
    SetplayManager& operator=(const SetplayManager&) = delete;

    virtual void activateSetplay(const InitMessage& init, const Context& world);
    virtual void abort(const Context& world);
    virtual void dealWithSetplayEnd(const Context& world);

    // The templates that could start now (they stay with the manager).
    std::vector<Setplay*> feasibleSetplays(const Context& world);

    void updateInternalState(const Context& world);
    void chosenAction(const unsigned& chosenActionNumber, const Context& world);
    void chosenTransition(const unsigned& chosenTransitionNumber, const Context& world);
    void forceUpdateStep(const Context& world);

    bool willCommunicate(const Context& world);
    std::unique_ptr<SetplayMessage> messageToSend(const Context& world) const;
    void processReceivedMessage(const std::string& text, const Context& world);
    void processReceivedMessage(const InitMessage& m, const Context& world);
    void processReceivedMessage(const StepMessage& m, const Context& world);

    bool isSetplayActive() const { return currentSetplay != nullptr; }
    Setplay* getCurrentSetplay() const { return currentSetplay.get(); }
    bool thisPlayerParticipates(const Context& world) const;
    bool amLeadPlayer(const Context& world) const;
    const PointSimple* myCurrentPositioning(const Context& world) const;
    const PointSimple* myNextPositioning(const Context& world) const;
    const PointSimple* currentPositioning(unsigned int num, const Context& world) const;
    bool isNextStepAlreadyChosen() const;
    const Action* currentAction(const Context& world);
    std::vector<const Transition*> possibleTransitions(const Context& world) const;

    unsigned numberOfSetplays() const { return static_cast<unsigned>(setplays.size()); }
    Setplay* getSetplay(int num) const;
    void writeSetplayNum(std::ostream& os, unsigned int setplayNumber) const;
    bool wasLastSetplaySuccessful() const { return lastSetplayWasSuccessful; }

protected:
    // Ends the running set play when it is done.
    void endIfDone(const Context& world, const char* after);

    std::unique_ptr<Setplay> currentSetplay;
    double lastSetplayEndTime;
    bool participatedInLastSetplay;
    bool lastSetplayWasSuccessful;
    std::vector<std::unique_ptr<Setplay>> setplays;
    const std::string teamName;
    const float messageRepeatTime;

private:
    void load(const std::string& conf_file, bool useComm, bool limitedComm, const Context& world);
    // Null with one line when the set play cannot be played here.
    static std::unique_ptr<Setplay> checked(std::unique_ptr<Setplay> sp, const Context& world,
                                            std::unique_ptr<Setplay>& mirror);
};

// The manager whose lead player chooses among the feasible set plays by the
// case base, which learns from every end.
class SetplayManagerWithCBR : public SetplayManager {
public:
    SetplayManagerWithCBR(const std::string& teamName, const std::string& conf_file, bool useComm, bool limitedComm,
                          float messageRepeatTime_, const Context& world, const std::string& caseBase_file,
                          bool must_retain_newCases);
    // Writes the case base back.
    ~SetplayManagerWithCBR() override;

    void activateSetplay(const InitMessage& init, const Context& world) override;
    void abort(const Context& world) override;
    void dealWithSetplayEnd(const Context& world) override;

    // The lead player's choice among the feasible set plays, and its start.
    void autoActivateSetplay(const Context& world, unsigned int nOpps_nearBall);
    int selectSetplayByCBR(const std::vector<CBRManager::SetplayId>& possible);

    const CBRManager* getCaseBase() const { return cbrManager.get(); }
    const ProblemContext* getProblemContext() const { return problem_context.get(); }

private:
    void describeSituation(const Context& world);

    std::unique_ptr<CBRManager> cbrManager;
    unsigned int numOpps_nearBall;
    std::unique_ptr<ProblemContext> problem_context;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
