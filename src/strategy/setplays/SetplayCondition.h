#ifndef STRATEGY_SETPLAYS_SETPLAYCONDITION_H
#define STRATEGY_SETPLAYS_SETPLAYCONDITION_H

#include <memory>
#include <string>
#include <vector>

#include "geometry/Vector.h"
#include "setplay/Context.h"
#include "setplay/PlayerReference.h"
#include "setplay/Point.h"
#include "setplay/Region.h"

class Pass;
class Player;
class WorldState;

// The set-play library's window on the game, answered from the world state
// and the pass evaluation; it also holds the host's named field regions.
class SetplayCondition : public ostrevanda::setplay::Context {
public:
    SetplayCondition();
    ~SetplayCondition() override;
    SetplayCondition(const SetplayCondition&) = delete;
    SetplayCondition& operator=(const SetplayCondition&) = delete;

    bool lookup(const ostrevanda::setplay::CondBallOwner& cond) const override;
    bool lookup(const ostrevanda::setplay::CondClearShotAtGoal& cond) const override;
    bool lookup(const ostrevanda::setplay::CondClearPassToPlayer& cond) const override;
    bool lookup(const ostrevanda::setplay::CondClearPassToRegion& cond) const override;
    bool lookup(const ostrevanda::setplay::CondNamed& cond) const override;
    bool lookup(const ostrevanda::setplay::CondOppGoal& cond) const override;
    bool lookup(const ostrevanda::setplay::CondOurGoal& cond) const override;
    bool lookup(const ostrevanda::setplay::CondGoalDiff& cond) const override;
    bool lookup(const ostrevanda::setplay::CondNearOffsideLine& cond) const override;
    bool lookup(const ostrevanda::setplay::CondPassFailed& cond) const override;
    using Context::lookup;
    const ostrevanda::setplay::PlayerID& me() const override;
    double time() const override;
    // Position answers are kept here and overwritten by the next call of the
    // same query; an unknown player has none (null).
    const ostrevanda::setplay::PointSimple* ballPos() const override;
    const ostrevanda::setplay::PointSimple* playerPos(const ostrevanda::setplay::PlayerID& player) const override;
    const ostrevanda::setplay::PointSimple* playerMov(const ostrevanda::setplay::PlayerID& player) const override;
    const ostrevanda::setplay::PointSimple* actTargetPoint(const ostrevanda::setplay::ActOfeMark& action) const override;
    unsigned int oppWithBall() const override;
    unsigned int numPlayersPerTeam() const override { return 11; }
    unsigned int numPlayersOpponentPerTeam() const override { return 11; }
    double fieldLength() const override;
    double fieldWidth() const override;
    rcss::clang::PlayMode playMode() const override;
    const ostrevanda::setplay::NameSubstitutions& nameSubstitutions() const override { return *ns; }
    const std::string& opponentName() const override;

    // The pass that a set-play pass last used; the context keeps it.
    Pass* getPasser() const { return passBall.get(); }
    void setPasser(Pass* pass);

    // The agent's play mode as the set-play library names it.
    static rcss::clang::PlayMode mapPlayMode(int agentPlayMode);
    // The world's record of that player, or null for an unknown one.
    Player* record(const ostrevanda::setplay::PlayerID* player) const;
    // The offensive marker's reference point for the action.
    Vector markReference(const ostrevanda::setplay::ActOfeMark& action) const;

private:
    void createRegions();
    static void setPoint(ostrevanda::setplay::PointSimple& p, double x, double y);

    WorldState* ws;
    std::unique_ptr<Pass> passBall;
    std::unique_ptr<ostrevanda::setplay::NameSubstitutions> ns;
    std::vector<std::unique_ptr<ostrevanda::setplay::Region>> regions;
    std::unique_ptr<ostrevanda::setplay::PointSimple> playerPosPoint;
    std::unique_ptr<ostrevanda::setplay::PointSimple> playerMovPoint;
    std::unique_ptr<ostrevanda::setplay::PointSimple> bp;
    std::unique_ptr<ostrevanda::setplay::PointSimple> targetPoint;
    mutable std::unique_ptr<ostrevanda::setplay::PlayerID> self;
};

#endif
