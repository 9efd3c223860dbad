#include "setplay/Cond.h"

#include <iostream>
#include <memory>

#include "setplay/SetplayException.h"
#include "setplay/clang/NullErr.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {

void printPlayers(std::ostream& out, const ConstPlayerList& v, const char* after) {
    for (const PlayerReference* p : v) {
        p->print(out);
        out << after;
    }
}

bool wholeTeam(const ConstPlayerList& v, std::string& team) {
    if (v.size() != 1 || v[0]->isRole()) return false;
    const PlayerID* id = static_cast<const PlayerID*>(v[0]);
    if (id->number != 0) return false;
    team = id->team;
    return true;
}

ConstPlayerList teamPlayers(const std::string& team) {
    std::vector<PlayerReference*> all = PlayerReference::allPlayersFrom(team);
    return ConstPlayerList(all.begin(), all.end());
}

// A single reference with number 0 stands for a whole team.
ConstPlayerList expandWholeTeam(const ConstPlayerList& v) {
    std::string team;
    if (!wholeTeam(v, team)) return v;
    disposeAll(v);
    if (team != "our" && team != "opp" && team != "any") return ConstPlayerList();
    return teamPlayers(team);
}

ConstPlayerList expandOpponents(const ConstPlayerList& v) {
    std::string team;
    if (!wholeTeam(v, team)) return v;
    disposeAll(v);
    if (team == "opp" || team == "any") return teamPlayers("opp");
    return ConstPlayerList();
}

std::vector<PlayerReference*> readList(Scan& sc, const ParamList& params, const PlayerList& players) {
    std::string out;
    std::vector<PlayerReference*> v = PlayerReference::parsePlayerList(sc.rest(), out, params, players);
    sc.reset(out);
    return v;
}

Region* readRegion(Scan& sc, const ParamList& params, const PlayerList& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Region::parse(i, o, params, players); });
}

Cond* readCond(Scan& sc, const ParamList& params, const PlayerList& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Cond::parse(i, o, params, players); });
}

// The shared reading of ppos and pmov.
template <typename C>
C* parsePlayerRegion(const std::string& in, std::string& out, const ParamList& params, const PlayerList& players,
                     const char* keyword) {
    out = in;
    Scan sc(in);
    if (!sc.kw(keyword) || !sc.kw(":players")) return nullptr;
    RefList list(readList(sc, params, players));
    Owned<Integer> bounds[2];
    const char* const keys[2] = {":min", ":max"};
    for (int i = 0; i < 2; ++i) {
        if (!sc.kw(keys[i])) continue;
        bounds[i].reset(sc.nested([&](const std::string& a, std::string& b) { return Integer::parse(a, b, params); }));
        if (!bounds[i]) return nullptr;
    }
    if (!sc.kw(":region")) return nullptr;
    Owned<Region> reg(readRegion(sc, params, players));
    if (!reg || !sc.ch(')')) return nullptr;
    if (!bounds[0]) bounds[0].reset(new Integer(1));
    if (!bounds[1]) bounds[1].reset(new Integer(11));
    out = sc.rest();
    Integer* min = bounds[0].release();
    Integer* max = bounds[1].release();
    return new C(list.release(), reg.release(), min, max);
}

template <typename C>
Cond* copyPlayerRegion(const C& c, const ParamList& params, const PlayerList& players, bool mirror) {
    Owned<Integer> min(c.getMinMatch()->deepCopy(params, players));
    Owned<Integer> max(c.getMaxMatch()->deepCopy(params, players));
    Owned<Region> reg(mirror ? c.getRegion()->inversion(params, players) : c.getRegion()->deepCopy(params, players));
    ConstPlayerList list = copyPlayers(c.getPlayerSet(), params, players);
    Integer* pmin = min.release();
    Integer* pmax = max.release();
    return new C(list, reg.release(), pmin, pmax);
}

// Reads "(KEYWORD :players LIST )".
bool readPlayersOnly(Scan& sc, const char* keyword, const ParamList& params, const PlayerList& players,
                     RefList& list) {
    if (!sc.kw(keyword) || !sc.kw(":players")) return false;
    list.reset(readList(sc, params, players));
    return sc.ch(')');
}

template <typename C>
C* parseComp(const std::string& in, std::string& out, const char* keyword) {
    out = in;
    Scan sc(in);
    std::string op;
    int value = 0;
    if (!sc.kw(keyword) || !sc.match(*white_p >> comparison_p[sp::assign_a(op)]) || !sc.integer(value) ||
        !sc.ch(')'))
        return nullptr;
    using rcss::util::CompOp;
    const CompOp* comp = nullptr;
    for (int i = CompOp::L; i <= CompOp::G; ++i)
        if (op == CompOp::STRINGS[i]) comp = &CompOp::instance(static_cast<CompOp::comp_t>(i));
    if (!comp) return nullptr;
    out = sc.rest();
    return new C(value, *comp);
}

template <typename C>
void printComp(std::ostream& out, const C& c, const char* keyword) {
    out << "(" << keyword << " " << c.getComp() << " " << c.getValue() << ")";
}

}  // namespace

// Cond

namespace {
typedef Cond* (*Parser)(const std::string&, std::string&, const ParamList&, const PlayerList&);

template <typename C>
Cond* parseAs(const std::string& in, std::string& out, const ParamList& params, const PlayerList& players) {
    return C::parse(in, out, params, players);
}
}  // namespace

Cond* Cond::parse(const std::string& in, std::string& out, const ParamList& parameters, const PlayerList& players) {
    out = in;
    NestingGuard guard;
    if (guard.tooDeep()) return nullptr;
    static const Parser parsers[] = {
        &parseAs<CondPlayerPos>,
        &parseAs<CondBallPos>,
        &parseAs<CondBallOwner>,
        &parseAs<CondClearShotAtGoal>,
        &parseAs<CondClearPassToPlayer>,
        &parseAs<CondClearPassToRegion>,
        &parseAs<CondAnd>,
        &parseAs<CondOr>,
        &parseAs<CondNot>,
        &parseAs<CondPlayMode>,
        &parseAs<CondTime>,
        &parseAs<CondOurGoal>,
        &parseAs<CondOppGoal>,
        &parseAs<CondGoalDiff>,
        &parseAs<CondNearOffsideLine>,
        &parseAs<CondPlayerMov>,
        &parseAs<CondPassFailed>,
    };
    for (Parser parser : parsers)
        if (Cond* c = parser(in, out, parameters, players)) return c;
    out = in;
    return nullptr;
}

// Library lookups

bool Context::lookup(const CondPlayMode& cond) const { return playMode() == cond.getPlayMode(); }

namespace {
template <typename C, typename Where>
bool countPlayers(const Context& ctx, const C& cond, Where where) {
    int count = 0;
    for (const PlayerReference* p : cond.getPlayerSet())
        if (cond.getRegion()->includesPoint((ctx.*where)(*p->value()), ctx)) ++count;
    if (count < cond.getMinMatch()->value()) return false;
    return cond.getMaxMatch()->value() >= count;
}
}  // namespace

bool Context::lookup(const CondPlayerPos& cond) const { return countPlayers(*this, cond, &Context::playerPos); }

bool Context::lookup(const CondPlayerMov& cond) const { return countPlayers(*this, cond, &Context::playerMov); }

bool Context::lookup(const CondBallPos& cond) const { return cond.getRegion()->includesPoint(ballPos(), *this); }

bool Context::lookup(const CondTime& cond) const {
    return cond.getComp().compare(time(), static_cast<double>(cond.getValue()));
}

// CondPlayerRegion, CondPlayerPos, CondPlayerMov

CondPlayerRegion::~CondPlayerRegion() {
    dispose(M_min_match);
    dispose(M_max_match);
    if (m_borrowing) return;
    disposeAll(m_players);
    dispose(m_reg);
}

void CondPlayerRegion::setMinMatch(Integer* m) {
    if (m != M_min_match) dispose(M_min_match);
    M_min_match = m;
}

void CondPlayerRegion::setMaxMatch(Integer* m) {
    if (m != M_max_match) dispose(M_max_match);
    M_max_match = m;
}

void CondPlayerRegion::printAs(std::ostream& out, const char* keyword) const {
    out << "(" << keyword << " :players (list ";
    printPlayers(out, m_players, " ");
    out << ") :min ";
    M_min_match->print(out);
    out << " :max ";
    M_max_match->print(out);
    out << " :region ";
    m_reg->print(out);
    out << ")";
}

void CondPlayerRegion::printPretty(std::ostream& out, const std::string& line_header) const {
    out << line_header << "are ";
    M_min_match->print(out);
    out << "-";
    M_max_match->print(out);
    out << " "
        << " (list ";
    printPlayers(out, m_players, " ");
    out << "in:" << std::endl;
    m_reg->printPretty(out, line_header + " ");
}

CondPlayerPos::CondPlayerPos(const ConstPlayerList& players, const Region* reg, Integer* min_match,
                             Integer* max_match, bool borrowing)
    : CondPlayerRegion(borrowing ? players : expandWholeTeam(players), reg, min_match, max_match, borrowing) {}

Cond* CondPlayerPos::deepCopy(const ParamList& a, const PlayerList& p) const {
    return copyPlayerRegion(*this, a, p, false);
}
Cond* CondPlayerPos::inversion(const ParamList& a, const PlayerList& p) const {
    return copyPlayerRegion(*this, a, p, true);
}
CondPlayerPos* CondPlayerPos::parse(const std::string& in, std::string& out, const ParamList& a,
                                    const PlayerList& p) {
    return parsePlayerRegion<CondPlayerPos>(in, out, a, p, "(ppos");
}

CondPlayerMov::CondPlayerMov(const ConstPlayerList& playersOpponent, const Region* reg, Integer* min_match,
                             Integer* max_match, bool borrowing)
    : CondPlayerRegion(borrowing ? playersOpponent : expandOpponents(playersOpponent), reg, min_match, max_match,
                       borrowing) {}

Cond* CondPlayerMov::deepCopy(const ParamList& a, const PlayerList& p) const {
    return copyPlayerRegion(*this, a, p, false);
}
Cond* CondPlayerMov::inversion(const ParamList& a, const PlayerList& p) const {
    return copyPlayerRegion(*this, a, p, true);
}
CondPlayerMov* CondPlayerMov::parse(const std::string& in, std::string& out, const ParamList& a,
                                    const PlayerList& p) {
    return parsePlayerRegion<CondPlayerMov>(in, out, a, p, "(pmov");
}

// CondBallPos

CondBallPos::~CondBallPos() {
    if (m_owns) dispose(m_reg);
}

void CondBallPos::print(std::ostream& out) const {
    out << "(bpos :region ";
    m_reg->print(out);
    out << ")";
}

void CondBallPos::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "is ball position at: " << std::endl;
    m_reg->printPretty(out, h + " ");
}

Cond* CondBallPos::deepCopy(const ParamList& a, const PlayerList& p) const {
    return new CondBallPos(m_reg->deepCopy(a, p));
}

Cond* CondBallPos::inversion(const ParamList& a, const PlayerList& p) const {
    return new CondBallPos(m_reg->inversion(a, p));
}

CondBallPos* CondBallPos::parse(const std::string& in, std::string& out, const ParamList& a, const PlayerList& p) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(bpos") || !sc.kw(":region")) return nullptr;
    Owned<Region> reg(readRegion(sc, a, p));
    if (!reg || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new CondBallPos(reg.release());
}

// CondBallOwner

CondBallOwner::CondBallOwner(const ConstPlayerList& players, bool ownsPlayers)
    : m_players(ownsPlayers ? expandWholeTeam(players) : players), m_owns(ownsPlayers) {}

CondBallOwner::~CondBallOwner() {
    if (m_owns) disposeAll(m_players);
}

void CondBallOwner::print(std::ostream& out) const {
    out << "(bowner :players "
        << " (list ";
    printPlayers(out, m_players, " ");
    out << "))";
}

void CondBallOwner::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "is ball controlled by someone in ";
    printPlayers(out, m_players, " ");
    out << std::endl;
}

Cond* CondBallOwner::deepCopy(const ParamList& a, const PlayerList& p) const {
    return new CondBallOwner(copyPlayers(m_players, a, p));
}

Cond* CondBallOwner::inversion(const ParamList& a, const PlayerList& p) const { return deepCopy(a, p); }

CondBallOwner* CondBallOwner::parse(const std::string& in, std::string& out, const ParamList& a,
                                    const PlayerList& p) {
    out = in;
    Scan sc(in);
    RefList list;
    if (!readPlayersOnly(sc, "(bowner", a, p, list) || list.empty()) return nullptr;
    out = sc.rest();
    return new CondBallOwner(list.release());
}

// CondClearPass and its kinds

CondClearPass::CondClearPass(const ConstPlayerList& players_from) : m_players_from(expandWholeTeam(players_from)) {}

CondClearPass::~CondClearPass() { disposeAll(m_players_from); }

void CondClearPass::print(std::ostream& out) const {
    out << " (list ";
    printPlayers(out, m_players_from, " ");
    out << ")";
}

void CondClearPass::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "does someone in ";
    printPlayers(out, m_players_from, "");
}

void CondClearShotAtGoal::print(std::ostream& out) const {
    out << "(canShoot :players ";
    CondClearPass::print(out);
    out << ")";
}

void CondClearShotAtGoal::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "does someone in ";
    printPlayers(out, m_players_from, " have a clear shot at goal");
    out << std::endl;
}

Cond* CondClearShotAtGoal::deepCopy(const ParamList& a, const PlayerList& p) const {
    return new CondClearShotAtGoal(copyPlayers(m_players_from, a, p));
}

Cond* CondClearShotAtGoal::inversion(const ParamList& a, const PlayerList& p) const { return deepCopy(a, p); }

CondClearShotAtGoal* CondClearShotAtGoal::parse(const std::string& in, std::string& out, const ParamList& a,
                                                const PlayerList& p) {
    out = in;
    Scan sc(in);
    RefList list;
    if (!readPlayersOnly(sc, "(canShoot", a, p, list)) return nullptr;
    out = sc.rest();
    return new CondClearShotAtGoal(list.release());
}

CondClearPassToPlayer::CondClearPassToPlayer(const ConstPlayerList& players_from, const ConstPlayerList& players_to)
    : CondClearPass(players_from), m_players_to(expandWholeTeam(players_to)) {}

CondClearPassToPlayer::~CondClearPassToPlayer() { disposeAll(m_players_to); }

void CondClearPassToPlayer::print(std::ostream& out) const {
    out << "(canPassPl :from ";
    CondClearPass::print(out);
    out << " :to (list ";
    printPlayers(out, m_players_to, " ");
    out << "))";
}

void CondClearPassToPlayer::printPretty(std::ostream& out, const std::string& h) const {
    CondClearPass::printPretty(out, h);
    out << " have a clear pass line to someone in" << std::endl;
    printPlayers(out, m_players_to, "");
}

Cond* CondClearPassToPlayer::deepCopy(const ParamList& a, const PlayerList& p) const {
    ConstPlayerList from = copyPlayers(m_players_from, a, p);
    ConstPlayerList to;
    try {
        to = copyPlayers(m_players_to, a, p);
    } catch (...) {
        disposeAll(from);
        throw;
    }
    return new CondClearPassToPlayer(from, to);
}

Cond* CondClearPassToPlayer::inversion(const ParamList& a, const PlayerList& p) const { return deepCopy(a, p); }

CondClearPassToPlayer* CondClearPassToPlayer::parse(const std::string& in, std::string& out, const ParamList& a,
                                                    const PlayerList& p) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(canPassPl") || !sc.kw(":from")) return nullptr;
    RefList from(readList(sc, a, p));
    if (from.empty() || !sc.kw(":to")) return nullptr;
    RefList to(readList(sc, a, p));
    if (to.empty() || !sc.ch(')')) return nullptr;
    out = sc.rest();
    ConstPlayerList f = from.release();
    return new CondClearPassToPlayer(f, to.release());
}

CondClearPassToRegion::~CondClearPassToRegion() { dispose(m_region_to); }

void CondClearPassToRegion::print(std::ostream& out) const {
    out << "(canPassReg :from ";
    CondClearPass::print(out);
    out << " :to ";
    m_region_to->print(out);
    out << ")";
}

void CondClearPassToRegion::printPretty(std::ostream& out, const std::string& h) const {
    CondClearPass::printPretty(out, h);
    out << " have a clear pass line to " << std::endl;
    m_region_to->print(out);
}

Cond* CondClearPassToRegion::deepCopy(const ParamList& a, const PlayerList& p) const {
    Owned<Region> r(m_region_to->deepCopy(a, p));
    ConstPlayerList from = copyPlayers(m_players_from, a, p);
    return new CondClearPassToRegion(from, r.release());
}

Cond* CondClearPassToRegion::inversion(const ParamList& a, const PlayerList& p) const {
    Owned<Region> r(m_region_to->inversion(a, p));
    ConstPlayerList from = copyPlayers(m_players_from, a, p);
    return new CondClearPassToRegion(from, r.release());
}

CondClearPassToRegion* CondClearPassToRegion::parse(const std::string& in, std::string& out, const ParamList& a,
                                                    const PlayerList& p) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(canPassReg") || !sc.kw(":from")) return nullptr;
    RefList from(readList(sc, a, p));
    if (from.empty() || !sc.kw(":to")) return nullptr;
    Owned<Region> reg(readRegion(sc, a, p));
    if (!reg || !sc.ch(')')) return nullptr;
    out = sc.rest();
    ConstPlayerList f = from.release();
    return new CondClearPassToRegion(f, reg.release());
}

// CondAnd, CondOr, CondNot

namespace {
typedef std::vector<Cond*> Storage;

void deleteAll(Storage& v) {
    for (Cond* c : v) delete c;
    v.clear();
}

Storage copyAll(const Storage& v, const ParamList& a, const PlayerList& p, bool mirror) {
    Storage r;
    try {
        for (const Cond* c : v) r.push_back(mirror ? c->inversion(a, p) : c->deepCopy(a, p));
    } catch (...) {
        deleteAll(r);
        throw;
    }
    return r;
}

bool readMembers(Scan& sc, const char* keyword, const ParamList& a, const PlayerList& p, Storage& members) {
    if (!sc.kw(keyword)) return false;
    try {
        while (Cond* c = readCond(sc, a, p)) members.push_back(c);
    } catch (...) {
        deleteAll(members);
        throw;
    }
    if (members.empty() || !sc.ch(')')) {
        deleteAll(members);
        return false;
    }
    return true;
}

template <typename C>
C* parseMembers(const std::string& in, std::string& out, const ParamList& a, const PlayerList& p, const char* keyword) {
    out = in;
    Scan sc(in);
    Storage members;
    if (!readMembers(sc, keyword, a, p, members)) return nullptr;
    out = sc.rest();
    return new C(members);
}

void printMembers(std::ostream& out, const char* keyword, const Storage& v) {
    out << "(" << keyword;
    for (const Cond* c : v) {
        out << " ";
        c->print(out);
    }
    out << ")";
}

void printPrettyMembers(std::ostream& out, const std::string& h, const char* keyword, const Storage& v) {
    out << h << keyword << std::endl;
    for (const Cond* c : v) c->printPretty(out, h + " +");
}
}  // namespace

CondJunction::~CondJunction() { deleteAll(m_conds); }

void CondJunction::substituteNamedRegions(const Context& world) const {
    for (const Cond* c : m_conds) c->substituteNamedRegions(world);
}

bool CondJunction::anyIs(bool answer, const Context& context, const char* nullMessage) const {
    for (const Cond* c : m_conds) {
        if (!c) {
            const int line = __LINE__;
            throw rcss::util::NullErr(__FILE__, line, nullMessage);
        }
        if (c->eval(context) == answer) return true;
    }
    return false;
}

void CondAnd::print(std::ostream& out) const { printMembers(out, "and", m_conds); }
void CondAnd::printPretty(std::ostream& out, const std::string& h) const { printPrettyMembers(out, h, "and", m_conds); }
Cond* CondAnd::deepCopy(const ParamList& a, const PlayerList& p) const {
    return new CondAnd(copyAll(m_conds, a, p, false));
}
Cond* CondAnd::inversion(const ParamList& a, const PlayerList& p) const {
    return new CondAnd(copyAll(m_conds, a, p, true));
}
CondAnd* CondAnd::parse(const std::string& in, std::string& out, const ParamList& a, const PlayerList& p) {
    return parseMembers<CondAnd>(in, out, a, p, "(and");
}

void CondOr::print(std::ostream& out) const { printMembers(out, "or", m_conds); }
void CondOr::printPretty(std::ostream& out, const std::string& h) const { printPrettyMembers(out, h, "or", m_conds); }
Cond* CondOr::deepCopy(const ParamList& a, const PlayerList& p) const {
    return new CondOr(copyAll(m_conds, a, p, false));
}
Cond* CondOr::inversion(const ParamList& a, const PlayerList& p) const {
    return new CondOr(copyAll(m_conds, a, p, true));
}
CondOr* CondOr::parse(const std::string& in, std::string& out, const ParamList& a, const PlayerList& p) {
    return parseMembers<CondOr>(in, out, a, p, "(or");
}

void CondNot::print(std::ostream& out) const {
    out << "(not ";
    m_cond->print(out);
    out << ")";
}

void CondNot::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "not " << std::endl;
    m_cond->printPretty(out, h + " +");
}

bool CondNot::eval(const Context& context) const {
    if (!m_cond) {
        const int line = __LINE__;
        throw rcss::util::NullErr(__FILE__, line, "Null condition in CondNot\n");
    }
    return !m_cond->eval(context);
}

Cond* CondNot::deepCopy(const ParamList& a, const PlayerList& p) const { return new CondNot(m_cond->deepCopy(a, p)); }
Cond* CondNot::inversion(const ParamList& a, const PlayerList& p) const {
    return new CondNot(m_cond->inversion(a, p));
}
void CondNot::substituteNamedRegions(const Context& world) const { m_cond->substituteNamedRegions(world); }

CondNot* CondNot::parse(const std::string& in, std::string& out, const ParamList& a, const PlayerList& p) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(not")) return nullptr;
    std::unique_ptr<Cond> c(readCond(sc, a, p));
    if (!c || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return new CondNot(c.release());
}

// CondPlayMode

void CondPlayMode::print(std::ostream& out) const { out << "(playm " << rcss::clang::MODE_STRINGS[M_pm] << ")"; }

void CondPlayMode::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "is play mode '" << rcss::clang::MODE_STRINGS[M_pm] << "'" << std::endl;
}

rcss::clang::PlayMode* CondPlayMode::parsePlayMode(const std::string& modeAsString) {
    for (int i = 0; i < rcss::clang::MODE_STRINGS_LENGTH; ++i)
        if (modeAsString == rcss::clang::MODE_STRINGS[i])
            return new rcss::clang::PlayMode(static_cast<rcss::clang::PlayMode>(i));
    std::cerr << "SP: failed parsisng play mode:" << modeAsString << std::endl;
    return nullptr;
}

CondPlayMode* CondPlayMode::parse(const std::string& in, std::string& out, const ParamList&, const PlayerList&) {
    out = in;
    Scan sc(in);
    std::string name;
    if (!sc.kw("(playm") || !sc.identifier(name) || !sc.ch(')')) return nullptr;
    std::unique_ptr<rcss::clang::PlayMode> pm(parsePlayMode(name));
    if (!pm) return nullptr;
    out = sc.rest();
    return new CondPlayMode(*pm);
}

// The comparisons

#define OSTREVANDA_SETPLAY_COMP_BODY(CLASS, KEYWORD)                                                         \
    void CLASS::print(std::ostream& out) const { printComp(out, *this, KEYWORD); }                          \
    void CLASS::printPretty(std::ostream& out, const std::string& h) const {                                \
        out << h;                                                                                           \
        print(out);                                                                                         \
    }                                                                                                       \
    CLASS* CLASS::parse(const std::string& in, std::string& out, const ParamList&, const PlayerList&) {     \
        return parseComp<CLASS>(in, out, "(" KEYWORD);                                                      \
    }

OSTREVANDA_SETPLAY_COMP_BODY(CondTime, "time")
OSTREVANDA_SETPLAY_COMP_BODY(CondOurGoal, "our_goals")
OSTREVANDA_SETPLAY_COMP_BODY(CondOppGoal, "opp_goals")
OSTREVANDA_SETPLAY_COMP_BODY(CondGoalDiff, "goal_diff")
#undef OSTREVANDA_SETPLAY_COMP_BODY

// CondNearOffsideLine

CondNearOffsideLine::CondNearOffsideLine(const ConstPlayerList& players) : m_players(expandWholeTeam(players)) {}

CondNearOffsideLine::~CondNearOffsideLine() { disposeAll(m_players); }

void CondNearOffsideLine::print(std::ostream& out) const {
    out << "(nearOffsideLine :players (list ";
    printPlayers(out, m_players, " ");
    out << "))";
}

void CondNearOffsideLine::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "are (list ";
    printPlayers(out, m_players, " ");
    out << ") near the Offside Line?" << std::endl;
}

Cond* CondNearOffsideLine::deepCopy(const ParamList& a, const PlayerList& p) const {
    return new CondNearOffsideLine(copyPlayers(m_players, a, p));
}

Cond* CondNearOffsideLine::inversion(const ParamList& a, const PlayerList& p) const { return deepCopy(a, p); }

CondNearOffsideLine* CondNearOffsideLine::parse(const std::string& in, std::string& out, const ParamList& a,
                                                const PlayerList& p) {
    out = in;
    Scan sc(in);
    RefList list;
    if (!readPlayersOnly(sc, "(nearOffsideLine", a, p, list)) return nullptr;
    out = sc.rest();
    return new CondNearOffsideLine(list.release());
}

// CondPassFailed

void CondPassFailed::printPretty(std::ostream& out, const std::string& h) const {
    out << h << "passfailed" << std::endl;
}

CondPassFailed* CondPassFailed::parse(const std::string& in, std::string& out, const ParamList&, const PlayerList&) {
    out = in;
    Scan sc(in);
    if (!sc.kw("(passfailed)")) return nullptr;
    sc.skip();
    out = sc.rest();
    return new CondPassFailed();
}

}  // namespace setplay
}  // namespace ostrevanda
