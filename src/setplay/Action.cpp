#include "setplay/Action.h"

#include <iostream>
#include <memory>

#include "setplay/SetplayException.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

const ConstPlayerList Action::NO_PLAYERS;

namespace {

typedef std::unique_ptr<Cond> CondPtr;

void printPlayers(std::ostream& out, const ConstPlayerList& v) {
    for (const PlayerReference* p : v) {
        p->print(out);
        out << " ";
    }
}

void printRegion(std::ostream& out, const Region* r) {
    if (r)
        r->print(out);
    else
        out << "(null)";
}

void regionBlock(std::ostream& out, const std::string& h, const Region* r) {
    out << std::endl;
    if (r)
        r->printPretty(out, h + " ");
    else
        out << h << " (null)\n";
}

Region* readRegion(Scan& sc, const ParamList& params, const PlayerList& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Region::parse(i, o, params, players); });
}

bool readList(Scan& sc, const ParamList& params, const PlayerList& players, RefList& list, bool opponents) {
    std::string out;
    list.reset(opponents ? PlayerReference::parsePlayerListOpp(sc.rest(), out, params, players)
                         : PlayerReference::parsePlayerList(sc.rest(), out, params, players));
    if (list.empty()) return false;
    sc.reset(out);
    return true;
}

// The optional ":type WORD"; false for an unknown word.
bool readBallMove(Scan& sc, BallMoveType& bm) {
    bm = undefinedBallMove;
    if (!sc.kw(":type")) return true;
    std::string word;
    if (!sc.identifier(word)) return false;
    if (word == "normal")
        bm = normalBallMove;
    else if (word == "fast")
        bm = fastBallMove;
    else if (word == "slow")
        bm = slowBallMove;
    else
        return false;
    return true;
}

// A player's own position or movement inside a region, over borrowed parts.
bool playerIn(const PlayerID& p, const Region* reg, const Context& world, bool moving) {
    ConstPlayerList one(1, &p);
    if (moving) return CondPlayerMov(one, reg, new Integer(1), new Integer(1), true).eval(world);
    return CondPlayerPos(one, reg, new Integer(1), new Integer(1), true).eval(world);
}

Region* disc(Point* centre) { return new RegArc(centre, new Decimal(0.0), new Decimal(3.0)); }

bool ballIn(const Region* reg, const Context& world) { return CondBallPos(reg, false).eval(world); }

bool ownsBall(const ConstPlayerList& players, const Context& world) {
    return CondBallOwner(players, false).eval(world);
}

}  // namespace

// Action

namespace {
typedef Action* (*Parser)(const std::string&, std::string&, const ParamList&, const PlayerList&, const PlayerList&);

template <typename A>
Action* parseAs(const std::string& in, std::string& out, const ParamList& params, const PlayerList& players,
                const PlayerList& playersOpponent) {
    return A::parse(in, out, params, players, playersOpponent);
}
}  // namespace

const Action* Action::necessaryAction(const PlayerID& p, const Context& world) const {
    return isAccomplished(p, world) ? nullptr : this;
}

const ConstPlayerList& Action::relevantPlayers() const { return NO_PLAYERS; }

Action* Action::parse(const std::string& in, std::string& out, const ParamList& parameters,
                      const PlayerList& players, const PlayerList& playersOpponent) {
    return parseEncapsulada(in, out, parameters, players, playersOpponent);
}

Action* Action::parseEncapsulada(const std::string& in, std::string& out, const ParamList& parameters,
                                 const PlayerList& players, const PlayerList& playersOpponent) {
    out = in;
    NestingGuard guard;
    if (guard.tooDeep()) return nullptr;
    static const Parser parsers[] = {
        &parseAs<ActPos>,
        &parseAs<ActLongKick>,
        &parseAs<ActPass>,
        &parseAs<ActMark>,
        &parseAs<ActMarkLinePlayer>,
        &parseAs<ActMarkLineReg>,
        &parseAs<ActDribble>,
        &parseAs<ActOffsideLine>,
        &parseAs<ActClear>,
        &parseAs<ActShoot>,
        &parseAs<ActHold>,
        &parseAs<ActIntercept>,
        &parseAs<ActTackle>,
        &parseAs<ActSeq>,
        &parseAs<ActStop>,
        &parseAs<ActAttentionToReg>,
        &parseAs<ActAttentionToObj>,
        &parseAs<ActMarkGoal>,
        &parseAs<ActReceiveBall>,
        &parseAs<ActMoveToOffsideLine>,
        &parseAs<ActPasstoBestPlayer>,
        &parseAs<ActOfeMark>,
        &parseAs<ActDefMark>,
        &parseAs<ActMov>,
        &parseAs<ActBecomeOwner>,
    };
    for (Parser parser : parsers)
        if (Action* a = parser(in, out, parameters, players, playersOpponent)) return a;
    out = in;
    return nullptr;
}

std::vector<Action*>* Action::parseActionList(const std::string& in, std::string& out, const ParamList& parameters,
                                              const PlayerList& players, const PlayerList& playersOpponent) {
    out = in;
    auto one = [&](const std::string& i, std::string& o) {
        return parseEncapsulada(i, o, parameters, players, playersOpponent);
    };
    Scan sc(in);
    if (!sc.kw("(list")) {
        Action* a = one(in, out);
        if (!a) return nullptr;
        return new std::vector<Action*>(1, a);
    }
    std::unique_ptr<std::vector<Action*>> list(new std::vector<Action*>());
    struct Cleanup {
        std::unique_ptr<std::vector<Action*>>& l;
        ~Cleanup() {
            if (l)
                for (Action* a : *l) delete a;
        }
    } cleanup{list};
    while (Action* a = sc.nested(one)) list->push_back(a);
    if (list->empty()) {
        std::cerr << "\n empty action list!\n";
        return nullptr;
    }
    if (!sc.ch(')')) return nullptr;
    out = sc.rest();
    return list.release();
}

// Region kinds

template <typename Derived>
void ActRegion<Derived>::print(std::ostream& out) const {
    out << "(" << Derived::KEYWORD << " :region ";
    printRegion(out, m_reg);
    out << ")";
}

template <typename Derived>
void ActRegion<Derived>::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << Derived::PRETTY;
    regionBlock(out, line_header, m_reg);
}

template <typename Derived>
Derived* ActRegion<Derived>::parse(const std::string& in, std::string& out, const ParamList& parameters,
                                   const PlayerList& players, const PlayerList&) {
    out = in;
    Scan sc(in);
    const std::string keyword = std::string("(") + Derived::KEYWORD;
    if (!sc.kw(keyword.c_str()) || !sc.kw(":region")) return nullptr;
    Owned<Region> reg(readRegion(sc, parameters, players));
    if (!reg || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new Derived(reg.release());
}

bool ActPos::isAccomplished(const PlayerID& p, const Context& world) const {
    m_reg->substituteNamedRegions(world);
    return playerIn(p, m_reg, world, false);
}

const Action* ActPos::necessaryAction(const PlayerID& p, const Context& world) const {
    if (isAccomplished(p, world)) return nullptr;
    return this;
}

bool ActMarkLineReg::isAccomplished(const PlayerID&, const Context&) const { return false; }
const Action* ActMarkLineReg::necessaryAction(const PlayerID&, const Context&) const { return this; }

bool ActDribble::isAccomplished(const PlayerID&, const Context& world) const {
    m_reg->substituteNamedRegions(world);
    return ballIn(m_reg, world);
}
const Action* ActDribble::necessaryAction(const PlayerID& p, const Context& world) const {
    return Action::necessaryAction(p, world);
}

bool ActOffsideLine::isAccomplished(const PlayerID&, const Context&) const { return false; }
const Action* ActOffsideLine::necessaryAction(const PlayerID&, const Context&) const { return this; }

bool ActClear::isAccomplished(const PlayerID&, const Context& world) const {
    return CondNot(new CondBallPos(m_reg, false)).eval(world);
}
const Action* ActClear::necessaryAction(const PlayerID& p, const Context& world) const {
    return Action::necessaryAction(p, world);
}

bool ActIntercept::isAccomplished(const PlayerID& p, const Context& world) const {
    m_reg->substituteNamedRegions(world);
    return playerIn(p, m_reg, world, false);
}

const Action* ActIntercept::necessaryAction(const PlayerID& p, const Context& world) const {
    if (isAccomplished(p, world)) return nullptr;
    return this;
}

bool ActAttentionToReg::isAccomplished(const PlayerID&, const Context&) const { return true; }
const Action* ActAttentionToReg::necessaryAction(const PlayerID&, const Context&) const { return nullptr; }

bool ActMov::isAccomplished(const PlayerID& p, const Context& world) const {
    m_reg->substituteNamedRegions(world);
    return playerIn(p, m_reg, world, true);
}

const Action* ActMov::necessaryAction(const PlayerID& p, const Context& world) const {
    if (isAccomplished(p, world)) return nullptr;
    return this;
}

// ActLongKick

namespace {
void printKickType(std::ostream& out, BallMoveType bm, bool untypedIsSlow) {
    if (bm == fastBallMove)
        out << " :type fast";
    else if (bm == slowBallMove || (bm == undefinedBallMove && untypedIsSlow))
        out << " :type slow";
    else
        out << " :type normal";
}
}  // namespace

void ActLongKick::print(std::ostream& out) const {
    out << "(lki :region ";
    printRegion(out, m_reg);
    printKickType(out, m_bm, false);
    out << ")";
}

void ActLongKick::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "ball to: use ";
    if (m_bm == fastBallMove)
        out << " fast";
    else if (m_bm == slowBallMove)
        out << " slow";
    else
        out << " normal";
    out << " to go to:" << std::endl;
    if (m_reg)
        m_reg->printPretty(out, line_header + " ");
    else
        out << line_header << " (null)\n";
}

bool ActLongKick::isAccomplished(const PlayerID&, const Context& world) const {
    CondBallPos cond(m_reg, false);
    cond.substituteNamedRegions(world);
    return cond.eval(world);
}

ActLongKick* ActLongKick::parse(const std::string& in, std::string& out, const ParamList& parameters,
                                const PlayerList& players, const PlayerList&) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(lki") || !sc.kw(":region")) return nullptr;
    Owned<Region> reg(readRegion(sc, parameters, players));
    BallMoveType bm;
    if (!reg || !readBallMove(sc, bm) || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new ActLongKick(reg.release(), bm);
}

// Player-list kinds

template <typename Derived>
void ActPlayers<Derived>::print(std::ostream& out) const {
    out << "(" << Derived::KEYWORD << " :players (list ";
    printPlayers(out, M_players);
    out << "))";
}

template <typename Derived>
Action* ActPlayers<Derived>::deepCopy(const ParamList& params, const PlayerList& players, const PlayerList&) const {
    return new Derived(copyPlayers(M_players, params, players));
}

template <typename Derived>
Derived* ActPlayers<Derived>::parse(const std::string& in, std::string& out, const ParamList& parameters,
                                    const PlayerList& players, const PlayerList&) {
    out = in;
    Scan sc(in);
    const std::string keyword = std::string("(") + Derived::KEYWORD;
    RefList list;
    if (!sc.kw(keyword.c_str()) || !sc.kw(":players") || !readList(sc, parameters, players, list, false) ||
        !sc.ch(')'))
        return nullptr;
    out = sc.rest();
    return new Derived(list.release());
}

void ActMark::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header;
    print(out);
    out << std::endl;
}

bool ActMark::isAccomplished(const PlayerID& p, const Context& world) const {
    for (const PlayerReference* marked : M_players) {
        std::unique_ptr<Region> around(disc(new PointPlayer(marked->deepCopy())));
        if (playerIn(p, around.get(), world, false)) return true;
    }
    return false;
}

void ActMarkLinePlayer::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "mark line to opponent ";
    printPlayers(out, M_players);
    out << std::endl;
}

bool ActMarkLinePlayer::isAccomplished(const PlayerID&, const Context&) const { return false; }

void ActTackle::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "tackle player(s) ";
    printPlayers(out, M_players);
    out << std::endl;
}

bool ActTackle::isAccomplished(const PlayerID&, const Context&) const { return false; }

// Passes

template <typename Derived>
void ActPassBase<Derived>::print(std::ostream& out) const {
    out << "(" << Derived::KEYWORD << " :players (list ";
    printPlayers(out, M_players);
    out << ")";
    printKickType(out, type, true);
    out << ")";
}

template <typename Derived>
void ActPassBase<Derived>::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "ball to players: ";
    printPlayers(out, M_players);
    printKickType(out, type, true);
    out << std::endl;
}

template <typename Derived>
Action* ActPassBase<Derived>::deepCopy(const ParamList& params, const PlayerList& players,
                                       const PlayerList&) const {
    return new Derived(copyPlayers(M_players, params, players), type);
}

template <typename Derived>
bool ActPassBase<Derived>::isAccomplished(const PlayerID&, const Context& world) const {
    return ownsBall(M_players, world);
}

template <typename Derived>
Derived* ActPassBase<Derived>::parse(const std::string& in, std::string& out, const ParamList& parameters,
                                     const PlayerList& players, const PlayerList&) {
    out = in;
    Scan sc(in);
    const std::string keyword = std::string("(") + Derived::KEYWORD;
    RefList list;
    BallMoveType bm;
    if (!sc.kw(keyword.c_str()) || !sc.kw(":players") || !readList(sc, parameters, players, list, false) ||
        !readBallMove(sc, bm))
        return nullptr;
    if (!sc.ch(')')) {
        std::cerr << "SP: ununderstood rest in pass parse:" << sc.rest() << std::endl;
        return nullptr;
    }
    out = sc.rest();
    return new Derived(list.release(), bm);
}

// Plain kinds

template <typename Derived>
Derived* ActPlain<Derived>::parse(const std::string& in, std::string& out, const ParamList&, const PlayerList&,
                                  const PlayerList&) {
    out = in;
    Scan sc(in);
    const std::string keyword = std::string("(") + Derived::KEYWORD;
    if (Derived::SINGLE_TOKEN) {
        if (!sc.kw((keyword + ")").c_str())) return nullptr;
        std::cerr << "Reading BecomeOwnerAction" << std::endl;
    } else if (!sc.kw(keyword.c_str()) || !sc.ch(')')) {
        return nullptr;
    }
    out = sc.rest();
    return new Derived();
}

bool ActShoot::isAccomplished(const PlayerID&, const Context&) const { return false; }
bool ActHold::isAccomplished(const PlayerID& p, const Context& world) const {
    return ownsBall(ConstPlayerList(1, &p), world);
}
bool ActStop::isAccomplished(const PlayerID&, const Context&) const { return false; }
bool ActMarkGoal::isAccomplished(const PlayerID&, const Context&) const { return true; }
bool ActReceiveBall::isAccomplished(const PlayerID& p, const Context& world) const {
    return ownsBall(ConstPlayerList(1, &p), world);
}
bool ActBecomeOwner::isAccomplished(const PlayerID&, const Context&) const { return false; }

// ActAttentionToObj

ActAttentionToObj::ActAttentionToObj(const Object* obj) : m_obj(obj) {
    if (obj && obj->type() == 'p') m_relevant.push_back(static_cast<const PlayerReference*>(obj));
}

void ActAttentionToObj::print(std::ostream& out) const {
    out << "(attentionTo :object ";
    if (m_obj) m_obj->print(out);
    out << ")";
}

void ActAttentionToObj::printPretty(std::ostream& out, const std::string&) const {
    out << "direct attention to ";
    if (m_obj)
        m_obj->print(out);
    else
        out << "nothing!";
    out << ")";
}

ActAttentionToObj* ActAttentionToObj::parse(const std::string& in, std::string& out, const ParamList& parameters,
                                            const PlayerList& players, const PlayerList&) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(attentionTo") || !sc.kw(":object")) return nullptr;
    Owned<Object> obj(
        sc.nested([&](const std::string& i, std::string& o) { return Object::parse(i, o, parameters, players); }));
    if (!obj || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new ActAttentionToObj(obj.release());
}

// ActMoveToOffsideLine

void ActMoveToOffsideLine::print(std::ostream& out) const {
    out << "(moveToOffSideLine :y ";
    y->print(out);
    out << ")";
}

void ActMoveToOffsideLine::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "moveToOffSideLine at y";
    y->print(out);
    out << std::endl;
}

ActMoveToOffsideLine* ActMoveToOffsideLine::parse(const std::string& in, std::string& out,
                                                  const ParamList& parameters, const PlayerList&, const PlayerList&) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(moveToOffSideLine") || !sc.kw(":y")) return nullptr;
    Owned<Decimal> y(sc.nested([&](const std::string& i, std::string& o) { return Decimal::parse(i, o, parameters); }));
    if (!y || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new ActMoveToOffsideLine(y.release());
}

// ActOfeMark

ActOfeMark::~ActOfeMark() {
    dispose(destPlayer);
    dispose(playerRelative);
    dispose(relPoint);
}

void ActOfeMark::print(std::ostream& out) const {
    out << "(ofeMark :destPlayer ";
    destPlayer->print(out);
    out << " :relTo ";
    switch (targetType) {
    case Ball: out << "(ball)"; break;
    case Player: playerRelative->print(out); break;
    case Opp_GoalPost: out << "(goalPostTheir)"; break;
    case Our_GoalPost: out << "(goalPostOur)"; break;
    case Point: printRegion(out, relPoint); break;
    case Invalid: break;
    }
    out << " )";
}

void ActOfeMark::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "ofe mark " << std::endl;
}

// A mirrored mark copies its references like a copy does, so that the mirrored
// set play holds its own roles.
Action* ActOfeMark::copy(const ParamList& params, const PlayerList& players, const PlayerList& playersOpponent,
                         bool mirror) const {
    Owned<const PlayerReference> dest(destPlayer->deepCopy(params, playersOpponent));
    Owned<const PlayerReference> rel(playerRelative ? playerRelative->deepCopy(params, players) : nullptr);
    const Region* point = nullptr;
    if (relPoint) point = mirror ? relPoint->inversion(params, players) : relPoint->deepCopy(params, players);
    const PlayerReference* d = dest.release();
    return new ActOfeMark(d, targetType, rel.release(), point);
}

Action* ActOfeMark::deepCopy(const ParamList& params, const PlayerList& players,
                             const PlayerList& playersOpponent) const {
    return copy(params, players, playersOpponent, false);
}

Action* ActOfeMark::inversion(const ParamList& params, const PlayerList& players,
                              const PlayerList& playersOpponent) const {
    return copy(params, players, playersOpponent, true);
}

bool ActOfeMark::isAccomplished(const PlayerID& p, const Context& world) const {
    const PointSimple* target = world.actTargetPoint(*this);
    std::unique_ptr<Region> around(disc(target->exactCopy()));
    return playerIn(p, around.get(), world, true);
}

ActOfeMark* ActOfeMark::parse(const std::string& in, std::string& out, const ParamList& parameters,
                              const PlayerList& players, const PlayerList& playersOpponent) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(ofeMark")) return nullptr;  // some other action
    if (!sc.kw(":destPlayer")) {
        std::cerr << "ActOfeMark:: Error on Parsing Offensive Marker" << std::endl;
        return nullptr;
    }
    Owned<PlayerReference> dest(sc.nested([&](const std::string& i, std::string& o) {
        return PlayerReference::parseOpp(i, o, parameters, playersOpponent);
    }));
    if (!dest) {
        std::cerr << "ActOfeMark::Erro de parse do Opp DestPlayer\n";
        return nullptr;
    }
    RelTo target = Invalid;
    Owned<PlayerReference> relative;
    Owned<Region> point;
    const struct {
        const char* literal;
        RelTo kind;
    } fixed[] = {{"(ball)", Ball}, {"(goalPostOur)", Our_GoalPost}, {"(goalPostTheir)", Opp_GoalPost}};
    for (const auto& f : fixed) {
        Scan t = sc;
        if (t.kw(":relTo") && t.kw(f.literal)) {
            target = f.kind;
            sc = t;
            break;
        }
    }
    if (target == Invalid) {
        if (!sc.kw(":relTo")) {
            std::cerr << "ActOfeMark::Erro de parse Relative Target wasn't found\n";
            return nullptr;
        }
        relative.reset(sc.nested([&](const std::string& i, std::string& o) {
            return PlayerReference::parse(i, o, parameters, players);
        }));
        if (relative) {
            target = Player;
        } else {
            point.reset(readRegion(sc, parameters, players));
            if (point)
                target = Point;
            else
                std::cerr << "ActOfeMark::Erro de parse do Region Point\n";
        }
    }
    if (!sc.ch(')')) {
        std::cerr << "faltou o ')' do ofeMark\n";
        return nullptr;
    }
    out = sc.rest();
    PlayerReference* d = dest.release();
    PlayerReference* r = relative.release();
    return new ActOfeMark(d, target, r, point.release());
}

// ActDefMark

ActDefMark::~ActDefMark() {
    disposeAll(M_playersOpp);
    disposeAll(M_players);
}

void ActDefMark::print(std::ostream& out) const {
    out << "(defMark :destPlayer (list ";
    printPlayers(out, M_playersOpp);
    out << "))";
}

void ActDefMark::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header;
    print(out);
    out << std::endl;
}

Action* ActDefMark::deepCopy(const ParamList& params, const PlayerList&, const PlayerList& playersOpponent) const {
    return new ActDefMark(copyPlayers(M_playersOpp, params, playersOpponent));
}

bool ActDefMark::isAccomplished(const PlayerID& p, const Context& world) const {
    if (M_players.empty()) return false;
    for (const PlayerReference* marked : M_players) {
        std::unique_ptr<Region> around(disc(new PointPlayer(marked->deepCopy())));
        if (playerIn(p, around.get(), world, true)) return true;
    }
    return false;
}

const Action* ActDefMark::necessaryAction(const PlayerID& p, const Context& world) const {
    if (isAccomplished(p, world)) return nullptr;
    return this;
}

ActDefMark* ActDefMark::parse(const std::string& in, std::string& out, const ParamList& parameters,
                              const PlayerList&, const PlayerList& playersOpponent) {
    out = in;
    Scan sc(in);
    RefList list;
    if (!sc.kw("(defMark") || !sc.kw(":destPlayer") || !readList(sc, parameters, playersOpponent, list, true) ||
        !sc.ch(')'))
        return nullptr;
    out = sc.rest();
    return new ActDefMark(list.release());
}

// ActSeq

ActSeq::~ActSeq() {
    for (Action* a : *actions) delete a;
    delete actions;
}

void ActSeq::getExecuted(Executor& executor) const {
    for (const Action* a : *actions) {
        if (!a->done) {
            a->getExecuted(executor);
            return;
        }
    }
}

void ActSeq::print(std::ostream& out) const {
    out << "(seq  ";
    for (const Action* a : *actions) {
        a->print(out);
        out << " ";
    }
    out << ")";
}

void ActSeq::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "action sequence ";
    for (const Action* a : *actions) {
        a->printPretty(out, line_header);
        out << " ";
    }
    out << std::endl;
}

namespace {
std::vector<Action*>* copyActions(const std::vector<Action*>& v, const ParamList& params, const PlayerList& players,
                                  const PlayerList& opp, bool mirror) {
    std::unique_ptr<std::vector<Action*>> r(new std::vector<Action*>());
    try {
        for (const Action* a : v)
            r->push_back(mirror ? a->inversion(params, players, opp) : a->deepCopy(params, players, opp));
    } catch (...) {
        for (Action* a : *r) delete a;
        throw;
    }
    return r.release();
}
}  // namespace

Action* ActSeq::deepCopy(const ParamList& params, const PlayerList& players, const PlayerList& opp) const {
    return new ActSeq(copyActions(*actions, params, players, opp, false));
}

Action* ActSeq::inversion(const ParamList& params, const PlayerList& players, const PlayerList& opp) const {
    return new ActSeq(copyActions(*actions, params, players, opp, true));
}

void ActSeq::substituteNamedRegions(const Context& world) const {
    for (const Action* a : *actions) a->substituteNamedRegions(world);
}

bool ActSeq::isAccomplished(const PlayerID& p, const Context& world) const {
    for (const Action* a : *actions)
        if (!a->isAccomplished(p, world)) return false;
    return true;
}

const Action* ActSeq::necessaryAction(const PlayerID& p, const Context& world) const {
    for (const Action* a : *actions)
        if (!a->isAccomplished(p, world)) return a->necessaryAction(p, world);
    return nullptr;
}

const ConstPlayerList& ActSeq::relevantPlayers() const {
    m_relevant.clear();
    for (const Action* a : *actions) {
        const ConstPlayerList& r = a->relevantPlayers();
        m_relevant.insert(m_relevant.end(), r.begin(), r.end());
    }
    return m_relevant;
}

ActSeq* ActSeq::parse(const std::string& in, std::string& out, const ParamList& parameters, const PlayerList& players,
                      const PlayerList& playersOpponent) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(seq")) return nullptr;
    std::unique_ptr<std::vector<Action*>> members(new std::vector<Action*>());
    struct Cleanup {
        std::unique_ptr<std::vector<Action*>>& v;
        ~Cleanup() {
            if (v)
                for (Action* a : *v) delete a;
        }
    } cleanup{members};
    auto one = [&](const std::string& i, std::string& o) {
        return Action::parseEncapsulada(i, o, parameters, players, playersOpponent);
    };
    while (Action* a = sc.nested(one)) members->push_back(a);
    if (members->empty() || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new ActSeq(members.release());
}

template class ActRegion<ActPos>;
template class ActRegion<ActMarkLineReg>;
template class ActRegion<ActDribble>;
template class ActRegion<ActOffsideLine>;
template class ActRegion<ActClear>;
template class ActRegion<ActIntercept>;
template class ActRegion<ActAttentionToReg>;
template class ActRegion<ActMov>;
template class ActPlayers<ActMark>;
template class ActPlayers<ActMarkLinePlayer>;
template class ActPlayers<ActTackle>;
template class ActPassBase<ActPass>;
template class ActPassBase<ActPasstoBestPlayer>;
template class ActPlain<ActShoot>;
template class ActPlain<ActHold>;
template class ActPlain<ActStop>;
template class ActPlain<ActMarkGoal>;
template class ActPlain<ActReceiveBall>;
template class ActPlain<ActBecomeOwner>;

}  // namespace setplay
}  // namespace ostrevanda
