#ifndef OSTREVANDA_SETPLAY_SETPLAY_H
#define OSTREVANDA_SETPLAY_SETPLAY_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "setplay/SetplayMessage.h"
#include "setplay/Step.h"

namespace ostrevanda {
namespace setplay {

// One plan: its definition as read from the set-play text, its bindings and
// the step machine that plays it.
class Setplay {
public:
    Setplay(const std::string& name_, int number, bool commAllowed_, bool singleChannelComm_,
            float messageRepeatTime_);
    ~Setplay();
    Setplay(const Setplay&) = delete;
    Setplay& operator=(const Setplay&) = delete;

    // A new set play, or null for blank text or a malformed definition.
    static Setplay* parse(std::string in, std::string& out, bool useComm, bool limitedComm,
                          float messageRepeatTime);

    static void parseHeader(std::string in, std::string& out, std::string& name, int& id);
    static bool parseInvertibleTag(std::string in, std::string& out);
    static void parseVersion(std::string in, std::string& out);
    static void parseComment(std::string in, std::string& out);
    static std::vector<SetplayParameter*>* parseParameters(std::string in, std::string& out,
                                                           std::vector<SetplayParameter*>& params_copy);
    static void parsePlayers(std::string in, std::string& out, std::vector<PlayerReference*>& players);
    static void parsePlayersOpponent(std::string in, std::string& out,
                                     std::vector<PlayerReference*>& playersOpponent);
    static Cond* parseAbortCond(std::string in, std::string& out, const std::vector<PlayerReference*>& players,
                                const std::vector<SetplayParameter*>& params_copy);
    static std::vector<Step*>* parseSteps(std::string in, std::string& out,
                                          const std::vector<SetplayParameter*>& params_copy,
                                          const std::vector<PlayerReference*>& players,
                                          const std::vector<PlayerReference*>& playersOpponent);

    void write(std::ostream& os) const;
    void write2(std::ostream& os, unsigned indent) const;
    Setplay* deepCopy() const;
    // The mirror image; null for a set play numbered 0, whose image would
    // carry its own number.
    Setplay* inversion() const;

    int id() const { return setplayNumber; }
    const std::string& getName() const { return name; }
    bool isInvertible() const { return invertible; }
    bool instantiated() const { return m_instantiated; }
    bool isCommAllowed() const { return commAllowed; }
    bool isSingleChannelComm() const { return singleChannelComm; }
    float getMessageRepeatTime() const { return messageRepeatTime; }
    const std::vector<SetplayParameter*>& getParameters() const { return *parameters; }
    const std::vector<const PlayerReference*>& getPlayers() const { return players; }
    const std::vector<const PlayerReference*>& getPlayersOpponent() const { return playersOpponent; }
    const Cond* getAbortCond() const { return abortCond; }
    const std::vector<Step*>& getSteps() const { return *steps; }

    // Participants and bindings

    // Step 0's participations (the elements stay with the step).
    std::vector<const Participation*> initialParticipants() const;
    std::vector<const ParticipationOpp*> initialParticipantOpp() const;
    // Team-mates for the roles, nearest to their step-0 places first; the
    // role leading the first step is mine.
    const std::vector<unsigned>& participatingPlayersDistanceFromPositions(const Context& world);
    // The same choice; the sum of the chosen team-mates' distances.
    double SumParticipatingPlayersDistanceFromPos(const Context& world);
    const std::vector<unsigned>& participatingPlayersOpp(const Context& world);
    // Binds parameters, then roles, from the arguments in order. A wrong
    // count raises SetplayException; an argument that does not read, a role
    // number outside 1..playersPerTeam or a role left unbound gives false
    // with every binding undone.
    bool instantiate(const std::vector<std::string>* paramsReceived, unsigned playersPerTeam);
    bool instantiate(const InitMessage& m, const Context& world);
    bool instantiateOpp(const std::vector<unsigned>* game_opps);
    const SetplayParameter* getSetplayParameterWithName(const std::string& name) const;
    const PlayerRole* roleWithName(const std::string& name) const;
    const std::vector<unsigned>& getParticipatingPlayers() const { return participatingPlayers; }
    const std::vector<unsigned>& getParticipatingOppPlayers() const { return participatingOppPlayers; }

    // Lookups

    Step* getStep(unsigned id) const;
    bool hasStep(unsigned id) const;
    void setCurrentStep(unsigned stepID, const Context& world);
    int currentStepNumber() const;
    int nextStepNumber() const { return nextStep ? static_cast<int>(nextStep->id) : -1; }
    bool isNextStepAlreadyChosen() const { return nextStep != nullptr; }
    double currentStepInitTime() const;
    double setplayInitTime() const { return setplayBegin; }
    const PlayerReference* getCurrBallHolder() const;
    bool isDone() const;
    bool isSuccessful() const { return successful; }
    void markAsSuccess();
    void markAsDone() { done = true; }
    const PlayerID* leadPlayer() const;
    bool amLeadPlayer(const Context& world) const;
    bool playerParticipates(const PlayerID* id) const;
    bool waitTimeHasElapsed(const Context& world) const;
    // New points owned by the caller, or null where no place is given.
    const PointSimple* myCurrentPositioning(const Context& world) const;
    const PointSimple* myNextPositioning(const Context& world) const;
    const PointSimple* currentPositioning(unsigned num, const Context& world) const;
    void substituteNamedRegions(const Context& world);

    // The step machine

    void start(const Context& world);
    void updateInternalState(const Context& world) { update(world, true); }
    // As updateInternalState, without the next step's condition.
    void forceUpdateStep(const Context& world) { update(world, false); }
    // Null entries are transitions whose condition does not hold.
    std::vector<const Transition*> possibleTransitions(const Context& world) const;
    std::vector<std::unique_ptr<std::vector<Action*>>> possibleActions(const Context& world) const;
    void chosenTransition(unsigned n, const Context& world);
    void chosenAction(unsigned n, const Context& world);
    const Action* currentAction(const Context& world);
    bool willCommunicate(const Context& world) const;
    std::unique_ptr<SetplayMessage> messageToSend(const Context& world) const;
    void processReceivedMessage(const StepMessage& m, const Context& world);

private:
    Setplay* copy(bool mirror) const;
    void update(const Context& world, bool checkCondition);
    bool leads(const Step* s, const Context& world) const;
    void commit(unsigned n, const Context& world, bool fromAction);
    void undoBindings();
    void assignPlayers(const Context& world, double* sum);

    const std::string name;
    const int setplayNumber;
    bool invertible;
    std::vector<SetplayParameter*>* parameters;
    std::vector<const PlayerReference*> players;
    std::vector<const PlayerReference*> playersOpponent;
    Cond* abortCond;
    std::vector<Step*>* steps;
    const bool commAllowed;
    const bool singleChannelComm;
    const float messageRepeatTime;
    bool m_instantiated;

    std::vector<unsigned> participatingPlayers;
    std::vector<unsigned> participatingOppPlayers;
    Step* currentStep;
    Step* nextStep;
    double setplayBegin;
    double stepBegin;
    bool done;
    bool wasLastLeadPlayer;
    bool successful;
    // The actions on the way to the chosen next step; they belong to the directives.
    std::vector<Action*> currentActions;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
