#ifndef STRATEGY_SETPLAYS_SETPLAYCONTROLLER_H
#define STRATEGY_SETPLAYS_SETPLAYCONTROLLER_H

#include <memory>
#include <string>
#include <vector>

#include "setplay/Step.h"

namespace ostrevanda {
namespace setplay {
class SetplayManagerWithCBR;
class SetplayMessage;
}
}  // namespace ostrevanda

class Pass;
class SetplayCondition;
class WorldState;

// Owns the set-play manager: starts set plays when this player is nearest the
// ball, lets it commit transitions, and carries the manager's messages to and
// from the world state's set-play fields.
class SetplayController {
public:
    explicit SetplayController(SetplayCondition* context);
    // The same with other definition and case-base files.
    SetplayController(SetplayCondition* context, const std::string& confFile, const std::string& caseBaseFile);
    virtual ~SetplayController();
    SetplayController(const SetplayController&) = delete;
    SetplayController& operator=(const SetplayController&) = delete;

    ostrevanda::setplay::SetplayManagerWithCBR* getSetplayManager() const { return setplayManager.get(); }

    void updateSetplay();
    // Starts the set play the case base chooses among the feasible ones.
    void leadPlayer();
    // The set-play message the world state holds, or null when none is held.
    std::unique_ptr<ostrevanda::setplay::SetplayMessage> heldMessage() const;
    // Keeps the message in the world state's set-play fields; init arguments
    // that are not whole numbers are left out.
    void hold(const ostrevanda::setplay::SetplayMessage& m);
    void communicationImpl();

    // The current step's transitions as last fetched (null where the condition
    // did not hold); empty without a running set play.
    const std::vector<const ostrevanda::setplay::Transition*>& getAtualTransitions() const { return transitions; }
    Pass* getPasser() const;
    // Hands the pass to the context, which keeps it.
    void setPasser(Pass* pass);

    // Opponents strictly within 3.5 m of the ball, seen or not.
    static unsigned opponentsNearBall(const WorldState& ws);

private:
    WorldState* ws;
    std::vector<const ostrevanda::setplay::Transition*> transitions;
    std::unique_ptr<ostrevanda::setplay::SetplayManagerWithCBR> setplayManager;
    SetplayCondition* context;
};

#endif
