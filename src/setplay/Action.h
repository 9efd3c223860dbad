#ifndef OSTREVANDA_SETPLAY_ACTION_H
#define OSTREVANDA_SETPLAY_ACTION_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "setplay/Cond.h"
#include "setplay/Object.h"
#include "setplay/PlayerReference.h"
#include "setplay/Region.h"
#include "setplay/SetplayParameter.h"

namespace ostrevanda {
namespace setplay {

enum _BallMoveType { normalBallMove = 0, fastBallMove = 1, slowBallMove = 2, undefinedBallMove = 3 };
typedef _BallMoveType BallMoveType;

class ActPos;
class ActLongKick;
class ActPass;
class ActMark;
class ActMarkLinePlayer;
class ActMarkLineReg;
class ActDribble;
class ActOffsideLine;
class ActClear;
class ActShoot;
class ActHold;
class ActIntercept;
class ActTackle;
class ActStop;
class ActAttentionToReg;
class ActAttentionToObj;
class ActMarkGoal;
class ActReceiveBall;
class ActMoveToOffsideLine;
class ActPasstoBestPlayer;
class ActOfeMark;
class ActMov;
class ActDefMark;
class ActBecomeOwner;

// One thing a set play asks a participant to do.
class Action {
public:
    // The host's operations, one per executable kind.
    class Executor {
    public:
        virtual ~Executor() {}
        virtual void execute(const ActPos& act) = 0;
        virtual void execute(const ActLongKick& act) = 0;
        virtual void execute(const ActPass& act) = 0;
        virtual void execute(const ActMark& act) = 0;
        virtual void execute(const ActMarkLinePlayer& act) = 0;
        virtual void execute(const ActMarkLineReg& act) = 0;
        virtual void execute(const ActDribble& act) = 0;
        virtual void execute(const ActOffsideLine& act) = 0;
        virtual void execute(const ActClear& act) = 0;
        virtual void execute(const ActShoot& act) = 0;
        virtual void execute(const ActHold& act) = 0;
        virtual void execute(const ActIntercept& act) = 0;
        virtual void execute(const ActTackle& act) = 0;
        virtual void execute(const ActStop& act) = 0;
        virtual void execute(const ActAttentionToReg& act) = 0;
        virtual void execute(const ActAttentionToObj& act) = 0;
        virtual void execute(const ActMarkGoal& act) = 0;
        virtual void execute(const ActReceiveBall& act) = 0;
        virtual void execute(const ActMoveToOffsideLine& act) = 0;
        virtual void execute(const ActPasstoBestPlayer& act) = 0;
        virtual void execute(const ActOfeMark& act) = 0;
        virtual void execute(const ActMov& act) = 0;
        virtual void execute(const ActDefMark& act) = 0;
        virtual void execute(const ActBecomeOwner& act) = 0;
    };

    Action() : active(true), done(false) {}
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;
    virtual ~Action() {}

    virtual void getExecuted(Executor& executor) const = 0;
    virtual char actionType() const = 0;
    virtual void print(std::ostream& out) const = 0;
    virtual void printPretty(std::ostream& out, const std::string& line_header) const = 0;
    virtual Action* deepCopy(const ParamList& params, const PlayerList& players,
                             const PlayerList& playersOpponent) const = 0;
    virtual Action* inversion(const ParamList& params, const PlayerList& players,
                              const PlayerList& playersOpponent) const = 0;
    virtual void substituteNamedRegions(const Context&) const {}
    virtual std::string label() const = 0;
    virtual const Action* necessaryAction(const PlayerID& p, const Context& world) const;
    virtual bool isAccomplished(const PlayerID& p, const Context& world) const = 0;
    virtual const ConstPlayerList& relevantPlayers() const;

    static Action* parse(const std::string& in, std::string& out, const ParamList& parameters,
                         const PlayerList& players, const PlayerList& playersOpponent);
    static Action* parseEncapsulada(const std::string& in, std::string& out, const ParamList& parameters,
                                    const PlayerList& players, const PlayerList& playersOpponent);
    // A new list, or null.
    static std::vector<Action*>* parseActionList(const std::string& in, std::string& out,
                                                 const ParamList& parameters, const PlayerList& players,
                                                 const PlayerList& playersOpponent);

    // Set by the step machine while the action runs.
    mutable bool active;
    mutable bool done;

protected:
    static const ConstPlayerList NO_PLAYERS;
};

// Kinds with one region, told apart by their keyword.
template <typename Derived>
class ActRegion : public Action {
public:
    explicit ActRegion(const Region* reg) : m_reg(reg) {}
    ~ActRegion() override { dispose(m_reg); }

    void getExecuted(Executor& executor) const override { executor.execute(static_cast<const Derived&>(*this)); }
    char actionType() const override { return Derived::CODE; }
    std::string label() const override { return Derived::LABEL; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new Derived(m_reg->deepCopy(params, players));
    }
    Action* inversion(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new Derived(m_reg->inversion(params, players));
    }
    void substituteNamedRegions(const Context& world) const override { m_reg->substituteNamedRegions(world); }
    const Region* getRegion() const { return m_reg; }

    static Derived* parse(const std::string& in, std::string& out, const ParamList& parameters,
                          const PlayerList& players, const PlayerList& playersOpponent);

protected:
    const Region* m_reg;
};

#define OSTREVANDA_SETPLAY_REGION_ACTION(CLASS, KEY, CODE_, LABEL_, PRETTY_)                          \
    class CLASS : public ActRegion<CLASS> {                                                           \
    public:                                                                                           \
        static constexpr const char* KEYWORD = KEY;                                                   \
        static constexpr char CODE = CODE_;                                                           \
        static constexpr const char* LABEL = LABEL_;                                                  \
        static constexpr const char* PRETTY = PRETTY_;                                                \
        explicit CLASS(const Region* reg) : ActRegion<CLASS>(reg) {}                                  \
        bool isAccomplished(const PlayerID& p, const Context& world) const override;                  \
        const Action* necessaryAction(const PlayerID& p, const Context& world) const override;        \
    };

OSTREVANDA_SETPLAY_REGION_ACTION(ActPos, "pos", 'p', "pos", "position self at: ")
OSTREVANDA_SETPLAY_REGION_ACTION(ActMarkLineReg, "markl", 'r', "markLineReg", "mark line to region:")
OSTREVANDA_SETPLAY_REGION_ACTION(ActDribble, "dribble", 'd', "dribble", "dribble to region:")
OSTREVANDA_SETPLAY_REGION_ACTION(ActOffsideLine, "oline", 'o', "offsideLine", "offsides line at: ")
OSTREVANDA_SETPLAY_REGION_ACTION(ActClear, "clear", 'c', "clear", "clear to region:")
OSTREVANDA_SETPLAY_REGION_ACTION(ActIntercept, "intercept", 'i', "intercept", "position self at: ")
OSTREVANDA_SETPLAY_REGION_ACTION(ActAttentionToReg, "attentionTo", 'a', "attentionToReg", "attention to region:")
OSTREVANDA_SETPLAY_REGION_ACTION(ActMov, "mov", 'z', "mov", "position self at: ")
#undef OSTREVANDA_SETPLAY_REGION_ACTION

class ActLongKick : public Action {
public:
    ActLongKick(const Region* reg, BallMoveType bm) : m_reg(reg), m_bm(bm) {}
    ~ActLongKick() override { dispose(m_reg); }

    void getExecuted(Executor& executor) const override { executor.execute(*this); }
    char actionType() const override { return 'f'; }
    std::string label() const override { return "longkick"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new ActLongKick(m_reg->deepCopy(params, players), m_bm);
    }
    Action* inversion(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new ActLongKick(m_reg->inversion(params, players), m_bm);
    }
    void substituteNamedRegions(const Context& world) const override { m_reg->substituteNamedRegions(world); }
    bool isAccomplished(const PlayerID& p, const Context& world) const override;
    const Region* getRegion() const { return m_reg; }
    BallMoveType ballMoveType() const { return m_bm; }

    static ActLongKick* parse(const std::string& in, std::string& out, const ParamList& parameters,
                              const PlayerList& players, const PlayerList& playersOpponent);

private:
    const Region* m_reg;
    const BallMoveType m_bm;
};

// Kinds with a list of own players.
template <typename Derived>
class ActPlayers : public Action {
public:
    explicit ActPlayers(const ConstPlayerList& players) : M_players(players) {}
    ~ActPlayers() override {
        for (const PlayerReference* p : M_players) dispose(p);
    }

    void getExecuted(Executor& executor) const override { executor.execute(static_cast<const Derived&>(*this)); }
    char actionType() const override { return Derived::CODE; }
    std::string label() const override { return Derived::LABEL; }
    void print(std::ostream& out) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const override;
    Action* inversion(const ParamList& params, const PlayerList& players, const PlayerList& opp) const override {
        return deepCopy(params, players, opp);
    }
    const ConstPlayerList& relevantPlayers() const override { return M_players; }
    const ConstPlayerList& getPlayers() const { return M_players; }

    static Derived* parse(const std::string& in, std::string& out, const ParamList& parameters,
                          const PlayerList& players, const PlayerList& playersOpponent);

protected:
    const ConstPlayerList M_players;
};

#define OSTREVANDA_SETPLAY_PLAYERS_ACTION(CLASS, KEY, CODE_, LABEL_)                                  \
    class CLASS : public ActPlayers<CLASS> {                                                          \
    public:                                                                                           \
        static constexpr const char* KEYWORD = KEY;                                                   \
        static constexpr char CODE = CODE_;                                                           \
        static constexpr const char* LABEL = LABEL_;                                                  \
        explicit CLASS(const ConstPlayerList& players) : ActPlayers<CLASS>(players) {}                \
        void printPretty(std::ostream& out, const std::string& line_header) const override;           \
        bool isAccomplished(const PlayerID& p, const Context& world) const override;                  \
    };

OSTREVANDA_SETPLAY_PLAYERS_ACTION(ActMark, "mark", 'm', "mark")
OSTREVANDA_SETPLAY_PLAYERS_ACTION(ActMarkLinePlayer, "markl", 'l', "markLinePlayer")
OSTREVANDA_SETPLAY_PLAYERS_ACTION(ActTackle, "tackle", 't', "tackle")
#undef OSTREVANDA_SETPLAY_PLAYERS_ACTION

// A pass to one of the players, with the kind of kick.
template <typename Derived>
class ActPassBase : public Action {
public:
    ActPassBase(const ConstPlayerList& players, BallMoveType t) : M_players(players), type(t) {}
    ~ActPassBase() override {
        for (const PlayerReference* p : M_players) dispose(p);
    }

    void getExecuted(Executor& executor) const override { executor.execute(static_cast<const Derived&>(*this)); }
    char actionType() const override { return Derived::CODE; }
    std::string label() const override { return "ballToPlayer"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const override;
    Action* inversion(const ParamList& params, const PlayerList& players, const PlayerList& opp) const override {
        return deepCopy(params, players, opp);
    }
    bool isAccomplished(const PlayerID& p, const Context& world) const override;
    const ConstPlayerList& relevantPlayers() const override { return M_players; }
    const ConstPlayerList& getPlayers() const { return M_players; }
    BallMoveType getType() const { return type; }

    static Derived* parse(const std::string& in, std::string& out, const ParamList& parameters,
                          const PlayerList& players, const PlayerList& playersOpponent);

protected:
    const ConstPlayerList M_players;
    BallMoveType type;
};

class ActPass : public ActPassBase<ActPass> {
public:
    static constexpr const char* KEYWORD = "bto";
    static constexpr char CODE = 'y';
    ActPass(const ConstPlayerList& players, BallMoveType t) : ActPassBase<ActPass>(players, t) {}
};

class ActPasstoBestPlayer : public ActPassBase<ActPasstoBestPlayer> {
public:
    static constexpr const char* KEYWORD = "pbplayer";
    static constexpr char CODE = 'j';
    ActPasstoBestPlayer(const ConstPlayerList& players, BallMoveType t)
        : ActPassBase<ActPasstoBestPlayer>(players, t) {}
};

// Kinds with no fields.
template <typename Derived>
class ActPlain : public Action {
public:
    void getExecuted(Executor& executor) const override { executor.execute(static_cast<const Derived&>(*this)); }
    char actionType() const override { return Derived::CODE; }
    std::string label() const override { return Derived::LABEL; }
    void print(std::ostream& out) const override { out << "(" << Derived::KEYWORD << ")"; }
    void printPretty(std::ostream& out, const std::string& line_header) const override {
        out << line_header << Derived::PRETTY << std::endl;
    }
    Action* deepCopy(const ParamList&, const PlayerList&, const PlayerList&) const override { return new Derived(); }
    Action* inversion(const ParamList&, const PlayerList&, const PlayerList&) const override { return new Derived(); }

    static Derived* parse(const std::string& in, std::string& out, const ParamList& parameters,
                          const PlayerList& players, const PlayerList& playersOpponent);
};

#define OSTREVANDA_SETPLAY_PLAIN_ACTION(CLASS, KEY, CODE_, LABEL_, PRETTY_, ONE_TOKEN)                \
    class CLASS : public ActPlain<CLASS> {                                                            \
    public:                                                                                           \
        static constexpr bool SINGLE_TOKEN = ONE_TOKEN;                                               \
        static constexpr const char* KEYWORD = KEY;                                                   \
        static constexpr char CODE = CODE_;                                                           \
        static constexpr const char* LABEL = LABEL_;                                                  \
        static constexpr const char* PRETTY = PRETTY_;                                                \
        bool isAccomplished(const PlayerID& p, const Context& world) const override;                  \
    };

OSTREVANDA_SETPLAY_PLAIN_ACTION(ActShoot, "shoot", 's', "shoot", "shoot", false)
OSTREVANDA_SETPLAY_PLAIN_ACTION(ActHold, "hold", 'h', "hold", "hold", false)
OSTREVANDA_SETPLAY_PLAIN_ACTION(ActStop, "stop", '0', "stop", "stop ", false)
OSTREVANDA_SETPLAY_PLAIN_ACTION(ActMarkGoal, "markGoal", 'g', "markGoal", "mark goal ", false)
OSTREVANDA_SETPLAY_PLAIN_ACTION(ActReceiveBall, "receiveBall", 'v', "receiveBall", "receiveBall", false)
OSTREVANDA_SETPLAY_PLAIN_ACTION(ActBecomeOwner, "becomeOwner", 'v', "becomeOwner", "(becomeOwner)", true)
#undef OSTREVANDA_SETPLAY_PLAIN_ACTION

class ActAttentionToObj : public Action {
public:
    explicit ActAttentionToObj(const Object* obj);
    ~ActAttentionToObj() override { dispose(m_obj); }

    void getExecuted(Executor& executor) const override { executor.execute(*this); }
    char actionType() const override { return 'b'; }
    std::string label() const override { return "attentionToObj"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new ActAttentionToObj(m_obj->deepCopy(params, players));
    }
    Action* inversion(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new ActAttentionToObj(m_obj->inversion(params, players));
    }
    bool isAccomplished(const PlayerID&, const Context&) const override { return true; }
    const ConstPlayerList& relevantPlayers() const override { return m_relevant; }
    const Object* getObject() const { return m_obj; }

    static ActAttentionToObj* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                    const PlayerList& players, const PlayerList& playersOpponent);

private:
    const Object* m_obj;
    ConstPlayerList m_relevant;
};

class ActMoveToOffsideLine : public Action {
public:
    explicit ActMoveToOffsideLine(const Decimal* y_) : y(y_) {}
    ~ActMoveToOffsideLine() override { dispose(y); }

    void getExecuted(Executor& executor) const override { executor.execute(*this); }
    char actionType() const override { return 'e'; }
    std::string label() const override { return "moveToOffSideLine"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new ActMoveToOffsideLine(y->deepCopy(params, players));
    }
    Action* inversion(const ParamList& params, const PlayerList& players, const PlayerList&) const override {
        return new ActMoveToOffsideLine(y->inversion(params, players));
    }
    bool isAccomplished(const PlayerID&, const Context&) const override { return false; }
    const Decimal* getY() const { return y; }

    static ActMoveToOffsideLine* parse(const std::string& in, std::string& out, const ParamList& parameters,
                                       const PlayerList& players, const PlayerList& playersOpponent);

private:
    const Decimal* y;
};

class ActOfeMark : public Action {
public:
    enum RelTo { Ball = 0, Player = 1, Opp_GoalPost = 2, Our_GoalPost = 3, Point = 4, Invalid = -1 };

    ActOfeMark(const PlayerReference* dest, RelTo target, const PlayerReference* relative, const Region* relPoint_)
        : destPlayer(dest), playerRelative(relative), targetType(target), relPoint(relPoint_) {}
    ~ActOfeMark() override;

    void getExecuted(Executor& executor) const override { executor.execute(*this); }
    char actionType() const override { return 'u'; }
    std::string label() const override { return "ofeMark"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players,
                     const PlayerList& playersOpponent) const override;
    Action* inversion(const ParamList& params, const PlayerList& players,
                      const PlayerList& playersOpponent) const override;
    bool isAccomplished(const PlayerID& p, const Context& world) const override;

    const PlayerReference* getDestPlayer() const { return destPlayer; }
    const PlayerReference* getPlayerRelative() const { return playerRelative; }
    RelTo getTargetType() const { return targetType; }
    const Region* getRelPoint() const { return relPoint; }

    static ActOfeMark* parse(const std::string& in, std::string& out, const ParamList& parameters,
                             const PlayerList& players, const PlayerList& playersOpponent);

private:
    Action* copy(const ParamList& params, const PlayerList& players, const PlayerList& playersOpponent,
                 bool mirror) const;

    const PlayerReference* destPlayer;
    const PlayerReference* playerRelative;
    const RelTo targetType;
    const Region* relPoint;
    const ConstPlayerList M_players;
};

class ActDefMark : public Action {
public:
    explicit ActDefMark(const ConstPlayerList& playersOpp) : M_playersOpp(playersOpp) {}
    ~ActDefMark() override;

    void getExecuted(Executor& executor) const override { executor.execute(*this); }
    char actionType() const override { return '9'; }
    std::string label() const override { return "defmark"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players,
                     const PlayerList& playersOpponent) const override;
    Action* inversion(const ParamList& params, const PlayerList& players,
                      const PlayerList& playersOpponent) const override {
        return deepCopy(params, players, playersOpponent);
    }
    bool isAccomplished(const PlayerID& p, const Context& world) const override;
    const Action* necessaryAction(const PlayerID& p, const Context& world) const override;
    const ConstPlayerList& relevantPlayers() const override { return M_playersOpp; }
    const ConstPlayerList& getPlayers() const { return M_players; }
    const ConstPlayerList& getDestPlayers() const { return M_playersOpp; }

    static ActDefMark* parse(const std::string& in, std::string& out, const ParamList& parameters,
                             const PlayerList& players, const PlayerList& playersOpponent);

private:
    const ConstPlayerList M_playersOpp;
    const ConstPlayerList M_players;
};

class ActSeq : public Action {
public:
    // Takes the members and their list over.
    explicit ActSeq(std::vector<Action*>* actions_) : actions(actions_) {}
    ~ActSeq() override;

    void getExecuted(Executor& executor) const override;
    char actionType() const override { return 'q'; }
    std::string label() const override { return "seq"; }
    void print(std::ostream& out) const override;
    void printPretty(std::ostream& out, const std::string& line_header) const override;
    Action* deepCopy(const ParamList& params, const PlayerList& players,
                     const PlayerList& playersOpponent) const override;
    Action* inversion(const ParamList& params, const PlayerList& players,
                      const PlayerList& playersOpponent) const override;
    void substituteNamedRegions(const Context& world) const override;
    bool isAccomplished(const PlayerID& p, const Context& world) const override;
    const Action* necessaryAction(const PlayerID& p, const Context& world) const override;
    const ConstPlayerList& relevantPlayers() const override;
    const std::vector<Action*>& getActions() const { return *actions; }

    static ActSeq* parse(const std::string& in, std::string& out, const ParamList& parameters,
                         const PlayerList& players, const PlayerList& playersOpponent);

private:
    std::vector<Action*>* actions;
    mutable ConstPlayerList m_relevant;
};

extern template class ActRegion<ActPos>;
extern template class ActRegion<ActMarkLineReg>;
extern template class ActRegion<ActDribble>;
extern template class ActRegion<ActOffsideLine>;
extern template class ActRegion<ActClear>;
extern template class ActRegion<ActIntercept>;
extern template class ActRegion<ActAttentionToReg>;
extern template class ActRegion<ActMov>;
extern template class ActPlayers<ActMark>;
extern template class ActPlayers<ActMarkLinePlayer>;
extern template class ActPlayers<ActTackle>;
extern template class ActPassBase<ActPass>;
extern template class ActPassBase<ActPasstoBestPlayer>;
extern template class ActPlain<ActShoot>;
extern template class ActPlain<ActHold>;
extern template class ActPlain<ActStop>;
extern template class ActPlain<ActMarkGoal>;
extern template class ActPlain<ActReceiveBall>;
extern template class ActPlain<ActBecomeOwner>;

}  // namespace setplay
}  // namespace ostrevanda

#endif
