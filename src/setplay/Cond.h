#ifndef OSTREVANDA_SETPLAY_COND_H
#define OSTREVANDA_SETPLAY_COND_H

#include <ostream>
#include <string>
#include <vector>

#include "setplay/Context.h"
#include "setplay/PlayerReference.h"
#include "setplay/Region.h"
#include "setplay/SetplayParameter.h"
#include "setplay/clang/CompOp.h"
#include "setplay/clang/PlayMode.h"

namespace ostrevanda {
namespace setplay {

typedef std::vector<SetplayParameter*> ParamList;
typedef std::vector<PlayerReference*> PlayerList;
typedef std::vector<const PlayerReference*> ConstPlayerList;

// A boolean test on the world.
class Cond {
public:
    virtual ~Cond() {}
    virtual void print(std::ostream& out) const = 0;
    virtual void printPretty(std::ostream& out, const std::string& line_header) const = 0;
    virtual bool eval(const Context& context) const = 0;
    virtual Cond* deepCopy(const ParamList& params, const PlayerList& players) const = 0;
    virtual Cond* inversion(const ParamList& params, const PlayerList& players) const = 0;
    virtual void substituteNamedRegions(const Context&) const {}

    static Cond* parse(const std::string& in, std::string& out, const ParamList& parameters,
                       const PlayerList& players);
};

// Conditions own the player references, regions and bounds they are given,
// except the set play's own list elements.

// Between a minimum and a maximum of the players are found in a region.
class CondPlayerRegion : public Cond {
public:
    ~CondPlayerRegion() override;
    CondPlayerRegion(const CondPlayerRegion&) = delete;
    CondPlayerRegion& operator=(const CondPlayerRegion&) = delete;

    void printPretty(std::ostream& out, const std::string& line_header) const override;
    void substituteNamedRegions(const Context& world) const override { m_reg->substituteNamedRegions(world); }

    const Integer* getMinMatch() const { return M_min_match; }
    const Integer* getMaxMatch() const { return M_max_match; }
    const ConstPlayerList& getPlayerSet() const { return m_players; }
    const Region* getRegion() const { return m_reg; }
    void setMinMatch(Integer* m);
    void setMaxMatch(Integer* m);

protected:
    CondPlayerRegion(const ConstPlayerList& players, const Region* reg, Integer* min_match, Integer* max_match,
                     bool borrowing)
        : M_min_match(min_match), M_max_match(max_match), m_players(players), m_reg(reg), m_borrowing(borrowing) {}
    void printAs(std::ostream& out, const char* keyword) const;

private:
    Integer* M_min_match;
    Integer* M_max_match;
    ConstPlayerList m_players;
    const Region* m_reg;
    bool m_borrowing;
};

class CondPlayerPos : public CondPlayerRegion {
public:
    // A borrowing condition leaves the region and the players to their owner.
    CondPlayerPos(const ConstPlayerList& players, const Region* reg, Integer* min_match, Integer* max_match,
                  bool borrowing = false);

    void print(std::ostream& out) const override { printAs(out, "ppos"); }
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;

    static CondPlayerPos* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                const PlayerList& players);
};

class CondPlayerMov : public CondPlayerRegion {
public:
    // A borrowing condition leaves the region and the players to their owner.
    CondPlayerMov(const ConstPlayerList& playersOpponent, const Region* reg, Integer* min_match, Integer* max_match,
                  bool borrowing = false);

    void print(std::ostream& out) const override { printAs(out, "pmov"); }
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;

    static CondPlayerMov* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                const PlayerList& players);
};

class CondBallPos : public Cond {
public:
    explicit CondBallPos(const Region* reg, bool ownsRegion = true) : m_reg(reg), m_owns(ownsRegion) {}
    ~CondBallPos() override;
    CondBallPos(const CondBallPos&) = delete;
    CondBallPos& operator=(const CondBallPos&) = delete;

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;
    void substituteNamedRegions(const Context& world) const override { m_reg->substituteNamedRegions(world); }
    const Region* getRegion() const { return m_reg; }

    static CondBallPos* parse(const std::string& in, std::string& out, const ParamList& parameters,
                              const PlayerList& players);

private:
    const Region* m_reg;
    bool m_owns;
};

class CondBallOwner : public Cond {
public:
    explicit CondBallOwner(const ConstPlayerList& players, bool ownsPlayers = true);
    ~CondBallOwner() override;
    CondBallOwner(const CondBallOwner&) = delete;
    CondBallOwner& operator=(const CondBallOwner&) = delete;

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;
    const ConstPlayerList& getPlayerSet() const { return m_players; }

    static CondBallOwner* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                const PlayerList& players);

private:
    ConstPlayerList m_players;
    bool m_owns;
};

class CondClearPass : public Cond {
public:
    explicit CondClearPass(const ConstPlayerList& players_from);
    ~CondClearPass() override;
    CondClearPass(const CondClearPass&) = delete;
    CondClearPass& operator=(const CondClearPass&) = delete;

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    const ConstPlayerList& getFromPlayerSet() const { return m_players_from; }

protected:
    ConstPlayerList m_players_from;
};

class CondClearShotAtGoal : public CondClearPass {
public:
    explicit CondClearShotAtGoal(const ConstPlayerList& players_from) : CondClearPass(players_from) {}
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;

    static CondClearShotAtGoal* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                      const PlayerList& players);
};

class CondClearPassToPlayer : public CondClearPass {
public:
    CondClearPassToPlayer(const ConstPlayerList& players_from, const ConstPlayerList& players_to);
    ~CondClearPassToPlayer() override;
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;
    const ConstPlayerList& getToPlayerSet() const { return m_players_to; }

    static CondClearPassToPlayer* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                        const PlayerList& players);

private:
    ConstPlayerList m_players_to;
};

class CondClearPassToRegion : public CondClearPass {
public:
    CondClearPassToRegion(const ConstPlayerList& players_from, const Region* to)
        : CondClearPass(players_from), m_region_to(to) {}
    ~CondClearPassToRegion() override;
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;
    void substituteNamedRegions(const Context& world) const override {
        m_region_to->substituteNamedRegions(world);
    }
    const Region* getToRegion() const { return m_region_to; }

    static CondClearPassToRegion* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                        const PlayerList& players);

private:
    const Region* m_region_to;
};

// A list of conditions joined by "and" or "or"; owns them.
class CondJunction : public Cond {
public:
    typedef std::vector<Cond*> Storage;
    ~CondJunction() override;
    CondJunction(const CondJunction&) = delete;
    CondJunction& operator=(const CondJunction&) = delete;

    void substituteNamedRegions(const Context& world) const override;
    const Storage& getConds() const { return m_conds; }

protected:
    explicit CondJunction(const Storage& conds) : m_conds(conds) {}
    // True when some member evaluates to the answer; a null member throws with the message.
    bool anyIs(bool answer, const Context& context, const char* nullMessage) const;

    Storage m_conds;
};

class CondAnd : public CondJunction {
public:
    explicit CondAnd(const Storage& conds) : CondJunction(conds) {}

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override {
        return !anyIs(false, context, "Null condition in CondAnd\n");
    }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;

    static CondAnd* parse(const std::string& in, std::string& out, const ParamList& parameters,
                          const PlayerList& players);
};

class CondOr : public CondJunction {
public:
    explicit CondOr(const Storage& conds) : CondJunction(conds) {}

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override {
        return anyIs(true, context, "Null condition in CondOr\n");
    }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;

    static CondOr* parse(const std::string& in, std::string& out, const ParamList& parameters,
                         const PlayerList& players);
};

class CondNot : public Cond {
public:
    // Takes the operand over.
    explicit CondNot(Cond* cond) : m_cond(cond) {}
    ~CondNot() override { delete m_cond; }
    CondNot(const CondNot&) = delete;
    CondNot& operator=(const CondNot&) = delete;

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override;
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;
    void substituteNamedRegions(const Context& world) const override;
    const Cond* getCond() const { return m_cond; }

    static CondNot* parse(const std::string& in, std::string& out, const ParamList& parameters,
                          const PlayerList& players);

private:
    Cond* m_cond;
};

class CondPlayMode : public Cond {
public:
    explicit CondPlayMode(const rcss::clang::PlayMode& pm) : M_pm(pm) {}
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList&, const PlayerList&) const override { return new CondPlayMode(M_pm); }
    Cond* inversion(const ParamList&, const PlayerList&) const override { return new CondPlayMode(M_pm); }
    rcss::clang::PlayMode getPlayMode() const { return M_pm; }
    void setPlayMode(const rcss::clang::PlayMode& pm) { M_pm = pm; }

    // The mode of that name, new, or null with a message.
    static rcss::clang::PlayMode* parsePlayMode(const std::string& modeAsString);
    static CondPlayMode* parse(const std::string& in, std::string& out, const ParamList& parameters,
                               const PlayerList& players);

private:
    rcss::clang::PlayMode M_pm;
};

template <typename VALUE>
class CondComp : public Cond {
public:
    CondComp(const VALUE& value, const rcss::util::CompOp& comp) : M_comp(&comp), M_value(value) {}
    const rcss::util::CompOp& getComp() const { return *M_comp; }
    const VALUE& getValue() const { return M_value; }
    void setComp(const rcss::util::CompOp& comp) { M_comp = &comp; }
    void setValue(const VALUE& value) { M_value = value; }

protected:
    const rcss::util::CompOp* M_comp;
    VALUE M_value;
};

// The four comparisons differ only in their keyword and their answer.
#define OSTREVANDA_SETPLAY_COND_COMP(CLASS)                                                                     \
    class CLASS : public CondComp<int> {                                                                        \
    public:                                                                                                     \
        CLASS(const int& value, const rcss::util::CompOp& comp) : CondComp<int>(value, comp) {}                \
        void print(std::ostream& out) const override;                                                          \
        void printPretty(std::ostream& out, const std::string& line_header) const override;                    \
        bool eval(const Context& context) const override { return context.lookup(*this); }                     \
        Cond* deepCopy(const ParamList&, const PlayerList&) const override { return new CLASS(M_value, *M_comp); } \
        Cond* inversion(const ParamList&, const PlayerList&) const override { return new CLASS(M_value, *M_comp); } \
        static CLASS* parse(const std::string& in, std::string& out, const ParamList& parameters,               \
                            const PlayerList& players);                                                         \
    };

OSTREVANDA_SETPLAY_COND_COMP(CondTime)
OSTREVANDA_SETPLAY_COND_COMP(CondOurGoal)
OSTREVANDA_SETPLAY_COND_COMP(CondOppGoal)
OSTREVANDA_SETPLAY_COND_COMP(CondGoalDiff)
#undef OSTREVANDA_SETPLAY_COND_COMP

class CondNearOffsideLine : public Cond {
public:
    explicit CondNearOffsideLine(const ConstPlayerList& players);
    ~CondNearOffsideLine() override;
    CondNearOffsideLine(const CondNearOffsideLine&) = delete;
    CondNearOffsideLine& operator=(const CondNearOffsideLine&) = delete;

    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList& params, const PlayerList& players) const override;
    Cond* inversion(const ParamList& params, const PlayerList& players) const override;
    const ConstPlayerList& getPlayerSet() const { return m_players; }

    static CondNearOffsideLine* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                      const PlayerList& players);

private:
    ConstPlayerList m_players;
};

class CondPassFailed : public Cond {
public:
    void print(std::ostream& out) const override { out << "(passfailed)"; }
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    bool eval(const Context& context) const override { return context.lookup(*this); }
    Cond* deepCopy(const ParamList&, const PlayerList&) const override { return new CondPassFailed(); }
    Cond* inversion(const ParamList&, const PlayerList&) const override { return new CondPassFailed(); }

    static CondPassFailed* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                 const PlayerList& players);
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
