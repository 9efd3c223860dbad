#ifndef FUZZ_FUZZSUPPORT_H
#define FUZZ_FUZZSUPPORT_H

// What the set-play fuzz targets share: quiet streams, a fixed world, the set
// play's lists that names resolve against, and the reader's convention checks.

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "setplay/Cond.h"
#include "setplay/Context.h"
#include "setplay/PlayerReference.h"
#include "setplay/Point.h"
#include "setplay/Region.h"
#include "setplay/SetplayException.h"
#include "setplay/clang/NullErr.h"

namespace fuzzsupport {

using namespace ostrevanda::setplay;
using fuzzfiles::silence;

inline PointSimple* pt(double x, double y) { return new PointSimple(new Decimal(x), new Decimal(y)); }

class World : public Context {
public:
    World() : me_("our", 7), ball_(pt(1, 2)), player_(pt(-3, 4)), region_(new RegArc(pt(0, 0), new Decimal(5.0))) {
        names_.addSubstitution("far_left", region_.get());
    }
    bool lookup(const CondBallOwner&) const override { return true; }
    bool lookup(const CondClearShotAtGoal&) const override { return false; }
    bool lookup(const CondClearPassToPlayer&) const override { return true; }
    bool lookup(const CondClearPassToRegion&) const override { return false; }
    bool lookup(const CondNamed&) const override { return false; }
    bool lookup(const CondOppGoal& c) const override { return c.getComp().compare(1, c.getValue()); }
    bool lookup(const CondOurGoal& c) const override { return c.getComp().compare(2, c.getValue()); }
    bool lookup(const CondGoalDiff& c) const override { return c.getComp().compare(1, c.getValue()); }
    bool lookup(const CondNearOffsideLine&) const override { return false; }
    bool lookup(const CondPassFailed&) const override { return false; }
    using Context::lookup;
    const PlayerID& me() const override { return me_; }
    double time() const override { return 12.5; }
    const PointSimple* ballPos() const override { return ball_.get(); }
    const PointSimple* playerPos(const PlayerID&) const override { return player_.get(); }
    const PointSimple* playerMov(const PlayerID&) const override { return player_.get(); }
    const PointSimple* actTargetPoint(const ActOfeMark&) const override { return ball_.get(); }
    unsigned int oppWithBall() const override { return static_cast<unsigned>(-1); }
    unsigned int numPlayersPerTeam() const override { return 11; }
    unsigned int numPlayersOpponentPerTeam() const override { return 11; }
    double fieldLength() const override { return 30; }
    double fieldWidth() const override { return 20; }
    rcss::clang::PlayMode playMode() const override { return rcss::clang::KickOff_Our; }
    const NameSubstitutions& nameSubstitutions() const override { return names_; }
    const std::string& opponentName() const override { return opponent_; }

private:
    PlayerID me_;
    std::unique_ptr<PointSimple> ball_, player_;
    std::unique_ptr<Region> region_;
    NameSubstitutions names_;
    std::string opponent_ = "Opponent";
};

// A set play's lists: parameters of every kind and roles of both sides.
struct Lists {
    std::vector<SetplayParameter*> params;
    std::vector<PlayerReference*> players, opponents;
    Lists() {
        params = {new Integer("n"), new Decimal("d"), new PointVar("p"), new RegVar("g"), new Decimal("dd")};
        players = {new PlayerRole("a"), new PlayerID("our", 3), new PlayerRole("ab")};
        opponents = {new PlayerRole("o")};
    }
    ~Lists() {
        for (SetplayParameter* p : params) delete p;
        for (PlayerReference* p : players) delete p;
        for (PlayerReference* p : opponents) delete p;
    }
};

// A reader leaves the input whole on failure and a suffix of it on success.
inline void checkRest(const std::string& in, const std::string& out, bool read) {
    if (!read && out != in) __builtin_trap();
    if (read && (out.size() > in.size() || in.compare(in.size() - out.size(), out.size(), out) != 0))
        __builtin_trap();
}

template <typename T>
std::string printed(const T& x) {
    std::ostringstream os;
    x.print(os);
    return os.str();
}

// Runs f, allowing the library's own exceptions.
template <typename F>
void allowingLibraryErrors(F f) {
    try {
        f();
    } catch (const SetplayException&) {
    } catch (const rcss::util::NullErr&) {
    }
}

// Reads one construct and checks that the rest is left as the reader says, that its
// printed text reads back the same and that copying and mirroring never crash.
// Returns what was read, or null.
template <typename T>
Owned<T> readPrintedAgain(const std::string& in, Lists& lists) {
    std::string out;
    Owned<T> x(T::parse(in, out, lists.params, lists.players));
    checkRest(in, out, x != nullptr);
    if (!x) return x;
    const std::string text = printed(*x);
    std::ostringstream pretty;
    x->printPretty(pretty, " ");
    Owned<T> again(T::parse(text, out, lists.params, lists.players));
    if (!again || printed(*again) != text) __builtin_trap();
    allowingLibraryErrors([&] {
        Owned<T> copy(x->deepCopy(lists.params, lists.players));
        Owned<T> mirror(x->inversion(lists.params, lists.players));
        printed(*mirror);
    });
    return x;
}

}  // namespace fuzzsupport

#endif
