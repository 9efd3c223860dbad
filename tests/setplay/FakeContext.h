#ifndef TESTS_SETPLAY_FAKECONTEXT_H
#define TESTS_SETPLAY_FAKECONTEXT_H

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "setplay/Context.h"
#include "setplay/PlayerReference.h"
#include "setplay/Point.h"
#include "setplay/Region.h"

namespace setplaytest {

using namespace ostrevanda::setplay;

inline PointSimple* pt(double x, double y) { return new PointSimple(new Decimal(x), new Decimal(y)); }

// A world with settable answers.
class FakeContext : public Context {
public:
    FakeContext() : self_("our", 7), ball_(pt(0, 0)), none_(pt(0, 0)) {}

    void setBall(double x, double y) { ball_.reset(pt(x, y)); }
    void setPlayer(const std::string& team, unsigned n, double x, double y) { pos_[{team, n}].reset(pt(x, y)); }
    void setOpponent(const std::string& name) { opponent_ = name; }
    void setMoving(const std::string& team, unsigned n, double x, double y) { mov_[{team, n}].reset(pt(x, y)); }

    bool ballOwner = false, clearShot = false, clearPassPl = false, clearPassReg = false, nearOffside = false,
         passFailed = false;
    int ourGoals = 0, oppGoals = 0;
    double now = 0.0;
    unsigned oppHolder = static_cast<unsigned>(-1);
    rcss::clang::PlayMode mode = rcss::clang::PlayOn;
    NameSubstitutions names;
    std::unique_ptr<PointSimple> target{pt(0, 0)};

    bool lookup(const CondBallOwner&) const override { return ballOwner; }
    bool lookup(const CondClearShotAtGoal&) const override { return clearShot; }
    bool lookup(const CondClearPassToPlayer&) const override { return clearPassPl; }
    bool lookup(const CondClearPassToRegion&) const override { return clearPassReg; }
    bool lookup(const CondNamed&) const override { return false; }
    bool lookup(const CondOppGoal& c) const override;
    bool lookup(const CondOurGoal& c) const override;
    bool lookup(const CondGoalDiff& c) const override;
    bool lookup(const CondNearOffsideLine&) const override { return nearOffside; }
    bool lookup(const CondPassFailed&) const override { return passFailed; }
    using Context::lookup;
    const PlayerID& me() const override { return self_; }
    double time() const override { return now; }
    const PointSimple* ballPos() const override { return ball_.get(); }
    const PointSimple* playerPos(const PlayerID& p) const override { return find(pos_, p); }
    const PointSimple* playerMov(const PlayerID& p) const override { return find(mov_, p); }
    const PointSimple* actTargetPoint(const ActOfeMark&) const override { return target.get(); }
    unsigned int oppWithBall() const override { return oppHolder; }
    unsigned int numPlayersPerTeam() const override { return 11; }
    unsigned int numPlayersOpponentPerTeam() const override { return 11; }
    double fieldLength() const override { return 30; }
    double fieldWidth() const override { return 20; }
    rcss::clang::PlayMode playMode() const override { return mode; }
    const NameSubstitutions& nameSubstitutions() const override { return names; }
    const std::string& opponentName() const override { return opponent_; }

private:
    typedef std::map<std::pair<std::string, unsigned>, std::unique_ptr<PointSimple>> Positions;
    const PointSimple* find(const Positions& m, const PlayerID& p) const {
        auto it = m.find({p.team, p.number});
        return it == m.end() ? far_.get() : it->second.get();
    }
    PlayerID self_;
    std::unique_ptr<PointSimple> ball_, none_, far_{pt(1000, 1000)};
    Positions pos_, mov_;
    std::string opponent_ = "Opponent";
};

template <typename T>
std::string text(const T& x) {
    std::ostringstream os;
    x.print(os);
    return os.str();
}

// Owns the elements of a parameter or player list.
template <typename T>
struct OwnedList {
    std::vector<T*> items;
    ~OwnedList() {
        for (T* p : items) delete p;
    }
};

}  // namespace setplaytest

#endif
