#include "setplay/PlayerReference.h"

#include <sstream>

#include "setplay/SetplayException.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {

PlayerID* parseId(const std::string& in, std::string& out, const char* team, const char* keyword) {
    out = in;
    Scan shortForm(in);
    int number = 0;
    if (shortForm.integer(number)) {
        if (number < 0) return nullptr;
        out = shortForm.rest();
        return new PlayerID(team, static_cast<unsigned>(number));
    }
    Scan sc(in);
    std::string teamName;
    unsigned n = 0;
    // No blank between the number and the closing parenthesis.
    if (sc.kw(keyword) && sc.kw(":team") && sc.identifier(teamName) && sc.kw(":number") && sc.unsignedInt(n) &&
        sc.match(sp::ch_p(')'))) {
        out = sc.rest();
        return new PlayerID(teamName, n);
    }
    return nullptr;
}

PlayerRole* parseRole(const std::string& in, std::string& out, const std::vector<PlayerReference*>& players) {
    out = in;
    Scan sc(in);
    std::string name;
    if (sc.kw("(playerRole") && sc.kw(":roleName") && sc.identifier(name) && sc.ch(')')) {
        out = sc.rest();
        return new PlayerRole(name);
    }
    Scan ref(in);
    for (const PlayerReference* p : players) {
        const PlayerRole* role = dynamic_cast<const PlayerRole*>(p);
        if (role && ref.prefix(role->roleName(), true)) {
            out = ref.rest();
            return role->deepCopy();
        }
    }
    return nullptr;
}

typedef PlayerReference* (*RefParser)(const std::string&, std::string&, const std::vector<SetplayParameter*>&,
                                      const std::vector<PlayerReference*>&);

std::vector<PlayerReference*> parseList(const std::string& in, std::string& out,
                                        const std::vector<SetplayParameter*>& params,
                                        const std::vector<PlayerReference*>& players, RefParser one) {
    out = in;
    std::vector<PlayerReference*> result;
    Scan sc(in);
    if (!sc.kw("(list")) {
        if (PlayerReference* p = one(in, out, params, players)) result.push_back(p);
        return result;
    }
    while (PlayerReference* p = sc.nested([&](const std::string& i, std::string& o) { return one(i, o, params, players); }))
        result.push_back(p);
    if (result.empty()) {
        if (!sc.ch(')')) throw SetplayException("')' esperado");
        out = sc.rest();
        return result;
    }
    if (!sc.ch(')')) {
        for (PlayerReference* p : result) dispose(p);
        result.clear();
        out = in;
        return result;
    }
    out = sc.rest();
    return result;
}

}  // namespace

PlayerReference* PlayerReference::parse(const std::string& in, std::string& out,
                                        const std::vector<SetplayParameter*>& params,
                                        const std::vector<PlayerReference*>& players) {
    if (PlayerReference* r = PlayerRole::parse(in, out, params, players)) return r;
    return PlayerID::parse(in, out, params, players);
}

PlayerReference* PlayerReference::parseOpp(const std::string& in, std::string& out,
                                           const std::vector<SetplayParameter*>& params,
                                           const std::vector<PlayerReference*>& playersOpponent) {
    if (PlayerReference* r = PlayerRole::parseOpp(in, out, params, playersOpponent)) return r;
    return PlayerID::parseOpp(in, out, params, playersOpponent);
}

std::vector<PlayerReference*> PlayerReference::parsePlayerList(const std::string& in, std::string& out,
                                                               const std::vector<SetplayParameter*>& params,
                                                               const std::vector<PlayerReference*>& players) {
    return parseList(in, out, params, players, &PlayerReference::parse);
}

std::vector<PlayerReference*> PlayerReference::parsePlayerListOpp(
    const std::string& in, std::string& out, const std::vector<SetplayParameter*>& params,
    const std::vector<PlayerReference*>& playersOpponent) {
    return parseList(in, out, params, playersOpponent, &PlayerReference::parseOpp);
}

std::vector<PlayerReference*> PlayerReference::allPlayersFrom(const std::string& team) {
    if (team != "our" && team != "opp" && team != "any") throw SetplayException("Bad team name");
    std::vector<PlayerReference*> result;
    if (team != "opp")
        for (unsigned n = 1; n <= 11; ++n) result.push_back(new PlayerID("our", n));
    if (team != "our")
        for (unsigned n = 1; n <= 11; ++n) result.push_back(new PlayerID("opp", n));
    return result;
}

// PlayerID

void PlayerID::print(std::ostream& os) const { os << "(player :team " << team << " :number " << number << ")"; }

bool PlayerID::equals(const PlayerReference& other) const {
    if (other.isRole()) {
        const PlayerRole& role = static_cast<const PlayerRole&>(other);
        return role.instantiated() && equals(*role.value());
    }
    const PlayerID& id = static_cast<const PlayerID&>(other);
    return team == id.team && number == id.number;
}

std::string PlayerID::instantiationText(const Context&, bool shortForm) const {
    if (!shortForm) {
        std::ostringstream os;
        print(os);
        return os.str();
    }
    return std::to_string(team == "our" ? static_cast<unsigned long>(number) : number + 11UL);
}

PlayerID* PlayerID::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>&,
                          const std::vector<PlayerReference*>&) {
    return parseId(in, out, "our", "(player");
}

PlayerID* PlayerID::parseOpp(const std::string& in, std::string& out, const std::vector<SetplayParameter*>&,
                             const std::vector<PlayerReference*>&) {
    return parseId(in, out, "opp", "(playeropponent");
}

// PlayerRole

void PlayerRole::print(std::ostream& os) const {
    if (value_)
        value_->print(os);
    else
        os << "(playerRole :roleName " << name << ")";
}

PlayerReference* PlayerRole::deepCopy(const std::vector<SetplayParameter*>&,
                                      const std::vector<PlayerReference*>& players) const {
    for (PlayerReference* p : players) {
        PlayerRole* role = dynamic_cast<PlayerRole*>(p);
        if (role && role->name == name) return shared(role);
    }
    throw SetplayException("Player Role not found in players list!");
}

PlayerReference* PlayerRole::inversion(const std::vector<SetplayParameter*>& params,
                                       const std::vector<PlayerReference*>& players) const {
    return deepCopy(params, players);
}

bool PlayerRole::equals(const PlayerReference& other) const {
    if (!other.isRole()) return value_ && value_->equals(other);
    const PlayerRole& role = static_cast<const PlayerRole&>(other);
    if (value_ && role.value_) return name == role.name && value_->equals(*role.value_);
    if (!value_ && !role.value_) return name == role.name;
    return false;
}

const PlayerID* PlayerRole::value() const {
    if (!value_) throw SetplayException("Accessing value of non instantiated PlayerRole:" + name);
    return value_;
}

std::string PlayerRole::instantiationText(const Context& world, bool shortForm) const {
    if (!value_) throw SetplayException("Trying to access instantiation text from non-instantiated PlayerRole!");
    return value_->instantiationText(world, shortForm);
}

PlayerRole* PlayerRole::deepCopy() const {
    PlayerRole* copy = new PlayerRole(name);
    if (value_) copy->set(value_->deepCopy());
    return copy;
}

PlayerRole* PlayerRole::parse(const std::string& in, std::string& out, const std::vector<SetplayParameter*>&,
                              const std::vector<PlayerReference*>& players) {
    return parseRole(in, out, players);
}

PlayerRole* PlayerRole::parseOpp(const std::string& in, std::string& out, const std::vector<SetplayParameter*>&,
                                 const std::vector<PlayerReference*>& players) {
    return parseRole(in, out, players);
}

void disposeAll(const std::vector<const PlayerReference*>& refs) {
    for (const PlayerReference* p : refs) dispose(p);
}

std::vector<const PlayerReference*> copyPlayers(const std::vector<const PlayerReference*>& refs,
                                                const std::vector<SetplayParameter*>& params,
                                                const std::vector<PlayerReference*>& players) {
    std::vector<const PlayerReference*> r;
    try {
        for (const PlayerReference* p : refs) r.push_back(p->deepCopy(params, players));
    } catch (...) {
        disposeAll(r);
        throw;
    }
    return r;
}

}  // namespace setplay
}  // namespace ostrevanda
