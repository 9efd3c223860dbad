#ifndef OSTREVANDA_SETPLAY_CONTEXT_H
#define OSTREVANDA_SETPLAY_CONTEXT_H

#include <string>

#include "setplay/clang/PlayMode.h"

namespace ostrevanda {
namespace setplay {

class CondBallOwner;
class CondClearShotAtGoal;
class CondClearPassToPlayer;
class CondClearPassToRegion;
class CondNamed;
class CondOppGoal;
class CondOurGoal;
class CondGoalDiff;
class CondNearOffsideLine;
class CondPassFailed;
class CondPlayMode;
class CondPlayerPos;
class CondBallPos;
class CondTime;
class CondPlayerMov;
class ActOfeMark;
class PlayerID;
class PointSimple;
class NameSubstitutions;

// The library's window on the game; the host implements it.
class Context {
public:
    Context() : kickOffSetplay(false) {}
    virtual ~Context() {}

    virtual bool lookup(const CondBallOwner& cond) const = 0;
    virtual bool lookup(const CondClearShotAtGoal& cond) const = 0;
    virtual bool lookup(const CondClearPassToPlayer& cond) const = 0;
    virtual bool lookup(const CondClearPassToRegion& cond) const = 0;
    virtual bool lookup(const CondNamed& cond) const = 0;
    virtual bool lookup(const CondOppGoal& cond) const = 0;
    virtual bool lookup(const CondOurGoal& cond) const = 0;
    virtual bool lookup(const CondGoalDiff& cond) const = 0;
    virtual bool lookup(const CondNearOffsideLine& cond) const = 0;
    virtual bool lookup(const CondPassFailed& cond) const = 0;
    virtual const PlayerID& me() const = 0;
    virtual double time() const = 0;
    virtual const PointSimple* ballPos() const = 0;
    virtual const PointSimple* playerPos(const PlayerID& player) const = 0;
    virtual const PointSimple* playerMov(const PlayerID& player) const = 0;
    virtual const PointSimple* actTargetPoint(const ActOfeMark& action) const = 0;
    virtual unsigned int oppWithBall() const = 0;
    virtual unsigned int numPlayersPerTeam() const = 0;
    virtual unsigned int numPlayersOpponentPerTeam() const = 0;
    virtual double fieldLength() const = 0;
    virtual double fieldWidth() const = 0;
    virtual rcss::clang::PlayMode playMode() const = 0;
    virtual const NameSubstitutions& nameSubstitutions() const = 0;
    virtual const std::string& opponentName() const = 0;

    // The manager sets it when it starts a kick-off set play.
    void setKickOffSetplay(bool on) const { kickOffSetplay = on; }
    bool isKickOffSetplay() const { return kickOffSetplay; }

    // Answered by the library itself.
    bool lookup(const CondPlayMode& cond) const;
    bool lookup(const CondPlayerPos& cond) const;
    bool lookup(const CondBallPos& cond) const;
    bool lookup(const CondTime& cond) const;
    bool lookup(const CondPlayerMov& cond) const;

private:
    mutable bool kickOffSetplay;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
