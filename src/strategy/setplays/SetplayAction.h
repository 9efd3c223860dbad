#ifndef STRATEGY_SETPLAYS_SETPLAYACTION_H
#define STRATEGY_SETPLAYS_SETPLAYACTION_H

#include <memory>
#include <string>

#include "geometry/Vector.h"
#include "setplay/Action.h"

class AgentActions;
class Player;
class SetplayCondition;
class SetplayController;
class WorldState;

// The agent's set-play runner: one cycle of set-play work per call, and the
// host's executor that turns the library's actions into walking, kicking,
// dribbling, marking and passing.
class SetplayAction : public ostrevanda::setplay::Action::Executor {
public:
    SetplayAction();
    // The same with other definition and case-base files.
    SetplayAction(const std::string& confFile, const std::string& caseBaseFile);
    ~SetplayAction() override;
    SetplayAction(const SetplayAction&) = delete;
    SetplayAction& operator=(const SetplayAction&) = delete;

    // True when this player executed a set-play action or positioning.
    bool run();
    bool executeSetplay();
    SetplayController* getManager() const { return manager.get(); }
    SetplayCondition* getContext() const { return mContext.get(); }

    void execute(const ostrevanda::setplay::ActPos& act) override;
    void execute(const ostrevanda::setplay::ActLongKick& act) override;
    void execute(const ostrevanda::setplay::ActPass& act) override;
    void execute(const ostrevanda::setplay::ActMark& act) override;
    void execute(const ostrevanda::setplay::ActMarkLinePlayer& act) override;
    void execute(const ostrevanda::setplay::ActMarkLineReg& act) override;
    void execute(const ostrevanda::setplay::ActDribble& act) override;
    void execute(const ostrevanda::setplay::ActOffsideLine& act) override;
    void execute(const ostrevanda::setplay::ActClear& act) override;
    void execute(const ostrevanda::setplay::ActShoot& act) override;
    void execute(const ostrevanda::setplay::ActHold& act) override;
    void execute(const ostrevanda::setplay::ActIntercept& act) override;
    void execute(const ostrevanda::setplay::ActTackle& act) override;
    void execute(const ostrevanda::setplay::ActStop& act) override;
    void execute(const ostrevanda::setplay::ActAttentionToReg& act) override;
    void execute(const ostrevanda::setplay::ActAttentionToObj& act) override;
    void execute(const ostrevanda::setplay::ActMarkGoal& act) override;
    void execute(const ostrevanda::setplay::ActReceiveBall& act) override;
    void execute(const ostrevanda::setplay::ActMoveToOffsideLine& act) override;
    void execute(const ostrevanda::setplay::ActPasstoBestPlayer& act) override;
    void execute(const ostrevanda::setplay::ActOfeMark& act) override;
    void execute(const ostrevanda::setplay::ActMov& act) override;
    void execute(const ostrevanda::setplay::ActDefMark& act) override;
    void execute(const ostrevanda::setplay::ActBecomeOwner& act) override;

private:
    bool runSteps();
    // One line when a set play starts or ends.
    void reportChange();
    // Drops the running set play after a failure inside the library.
    void dropSetplay(const char* what);
    // Ends the running set play once the referee has stopped play again since
    // it started: every copy, not only its lead's, which may go unheard.
    void endStaleSetplay();
    // The region's central point; false for a missing or unplaceable region.
    bool regionPoint(const ostrevanda::setplay::Region* region, Vector& out) const;
    // The player's place in the running set play's current step, new, or null.
    const ostrevanda::setplay::PointSimple* placeOf(int player) const;
    // The opponent with the player's shirt number, or null.
    Player* opponentOf(const ostrevanda::setplay::PlayerReference* player) const;
    Player* firstOpponent(const ostrevanda::setplay::ConstPlayerList& players) const;
    void walkTo(Vector point, float dir, float radius, Vector obstacle);
    void positionAt(Vector point);
    void dribble(Vector target, bool reduced);
    void markActive(Player* opponent, bool active);

    AgentActions* agentActions;
    std::unique_ptr<SetplayCondition> mContext;
    WorldState* ws;
    std::unique_ptr<SetplayController> manager;
    bool running;
    int runningId;
    int runningMode;  // the play mode in which the running set play started
};

#endif
