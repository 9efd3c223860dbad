#include <algorithm>
#include <iostream>
#include <memory>

#include "setplay/Setplay.h"
#include "setplay/SetplayException.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {

const float NO_DISTANCE = 2000.0f;
const unsigned NO_PLAYER = static_cast<unsigned>(-1);

bool contains(const std::vector<unsigned>& v, unsigned n) { return std::find(v.begin(), v.end(), n) != v.end(); }

template <typename P>
const PointSimple* placeOf(const PlayerReference* role, const std::vector<const P*>& parts, const Context& world) {
    const Region* where = nullptr;
    for (const P* p : parts)
        if (p->location() && role->equals(*p->participant())) where = p->location();
    return where ? where->getCentralPoint(world) : nullptr;
}

// The nearest candidate from 2 to last to the place (the lower number on a
// tie), 1 when none is known; without a place the first free candidate.
template <typename Skip, typename Where>
unsigned nearest(const PointSimple* place, unsigned last, Skip skip, Where where, double* sum) {
    float best = NO_DISTANCE;
    unsigned chosen = 0;
    for (unsigned c = 2; c <= last; ++c) {
        if (skip(c)) continue;
        if (!place) return c;
        const PointSimple* at = where(c);
        if (!at) continue;
        double d = place->distance(*at);
        if (d < static_cast<double>(best)) {
            chosen = c;
            best = static_cast<float>(d);
        }
    }
    if (sum && best != NO_DISTANCE) *sum += best;
    return chosen ? chosen : 1;
}

// The whole text as a real number or a 32-bit integer.
bool wholeReal(const std::string& s, double& v) {
    double r = 0;
    const char* b = s.c_str();
    return sp::parse(b, b + s.size(), sp::real_p[sp::assign_a(r)]).full && std::isfinite(r) && ((v = r), true);
}

bool wholeInt(const std::string& s, int& v) {
    int r = 0;
    const char* b = s.c_str();
    return sp::parse(b, b + s.size(), sp::int_p[sp::assign_a(r)]).full && ((v = r), true);
}

bool bind(SetplayParameter* p, const std::string& text) {
    const std::vector<SetplayParameter*> none;
    const std::vector<PlayerReference*> nobody;
    std::string out;
    switch (p->type()) {
        case 'd': {
            double v;
            if (!wholeReal(text, v)) return false;
            static_cast<Decimal*>(p)->set(v);
            return true;
        }
        case 'i': {
            int v;
            if (!wholeInt(text, v)) return false;
            static_cast<Integer*>(p)->set(v);
            return true;
        }
        case 'p': {
            PointVar* var = dynamic_cast<PointVar*>(p);
            PointSimple* pt = var ? PointSimple::parse(text, out, none, nobody) : nullptr;
            if (!pt) return false;
            var->set(pt);
            return true;
        }
        case 'g': {
            RegVar* var = dynamic_cast<RegVar*>(p);
            Region* r = var ? Region::parse(text, out, none, nobody) : nullptr;
            if (!r) return false;
            var->set(r);
            return true;
        }
        default:
            return true;
    }
}

PlayerRole* asRole(const PlayerReference* p) { return dynamic_cast<PlayerRole*>(const_cast<PlayerReference*>(p)); }

}  // namespace

std::vector<const Participation*> Setplay::initialParticipants() const {
    const std::vector<Participation*>* parts = getStep(0)->participants;
    return parts ? std::vector<const Participation*>(parts->begin(), parts->end())
                 : std::vector<const Participation*>();
}

std::vector<const ParticipationOpp*> Setplay::initialParticipantOpp() const {
    const std::vector<ParticipationOpp*>* parts = getStep(0)->participantsOpponents;
    return parts ? std::vector<const ParticipationOpp*>(parts->begin(), parts->end())
                 : std::vector<const ParticipationOpp*>();
}

void Setplay::assignPlayers(const Context& world, double* sum) {
    participatingPlayers.clear();
    const unsigned me = world.me().number;
    const std::vector<const Participation*> parts = initialParticipants();
    const Step* first = steps->front();
    for (const PlayerReference* r : players) {
        if (!r->isRole()) continue;
        if (r->equals(*first->leadPlayer)) {
            participatingPlayers.push_back(me);
            continue;
        }
        std::unique_ptr<const PointSimple> place(placeOf(r, parts, world));
        participatingPlayers.push_back(nearest(
            place.get(), world.numPlayersPerTeam(),
            [&](unsigned c) { return c == me || contains(participatingPlayers, c); },
            [&](unsigned c) { return world.playerPos(PlayerID("our", c)); }, sum));
    }
}

const std::vector<unsigned>& Setplay::participatingPlayersDistanceFromPositions(const Context& world) {
    assignPlayers(world, nullptr);
    return participatingPlayers;
}

double Setplay::SumParticipatingPlayersDistanceFromPos(const Context& world) {
    double sum = 0;
    assignPlayers(world, &sum);
    return sum;
}

const std::vector<unsigned>& Setplay::participatingPlayersOpp(const Context& world) {
    participatingOppPlayers.clear();
    const std::vector<const ParticipationOpp*> parts = initialParticipantOpp();
    const unsigned holder = world.oppWithBall();
    for (const PlayerReference* r : playersOpponent) {
        if (!r->isRole()) continue;
        if (holder != NO_PLAYER && !parts.empty() && r->equals(*parts.front()->participant())) {
            participatingOppPlayers.push_back(holder);
            continue;
        }
        std::unique_ptr<const PointSimple> place(placeOf(r, parts, world));
        participatingOppPlayers.push_back(nearest(
            place.get(), world.numPlayersOpponentPerTeam(),
            [&](unsigned c) {
                return contains(participatingOppPlayers, c) || (!participatingOppPlayers.empty() && c == holder);
            },
            [&](unsigned c) { return world.playerMov(PlayerID("opp", c)); }, nullptr));
    }
    return participatingOppPlayers;
}

void Setplay::undoBindings() {
    for (SetplayParameter* p : *parameters) p->uninstantiate();
    for (const PlayerReference* p : players)
        if (PlayerRole* role = asRole(p)) role->uninstantiate();
}

bool Setplay::instantiate(const std::vector<std::string>* paramsReceived, unsigned playersPerTeam) {
    const std::size_t got = paramsReceived ? paramsReceived->size() : 0;
    if (got < parameters->size())
        throw SetplayException("SP: bad amount of parameters in instantiation! Got " + std::to_string(got));
    const std::vector<std::string>& args = *paramsReceived;
    bool failed = false;
    for (std::size_t i = 0; i < parameters->size(); ++i)
        if (!bind((*parameters)[i], args[i])) failed = true;

    const std::vector<SetplayParameter*> none;
    const std::vector<PlayerReference*> nobody;
    std::size_t j = parameters->size();
    for (const PlayerReference* p : players) {
        if (j >= got) break;
        PlayerRole* role = asRole(p);
        if (!role) continue;
        std::string out;
        std::unique_ptr<PlayerID> id(PlayerID::parse(args[j++], out, none, nobody));
        // Heard text: only our own shirt numbers may fill a role.
        if (!id || id->team != "our" || id->number < 1 || id->number > playersPerTeam) {
            failed = true;
            break;
        }
        role->set(id.release());
    }
    if (j < got) {
        std::cerr << "SP: Arguments dealt:" << j << " failed:" << (failed ? 1 : 0) << "\nSP: Args:";
        for (const std::string& a : args) std::cerr << a << ", ";
        std::cerr << std::endl;
        undoBindings();
        throw SetplayException("SP: bad or wrong number of parameters in instantiate: " + std::to_string(got) +
                               " expected: " + std::to_string(parameters->size() + players.size()));
    }
    for (const PlayerReference* p : players)
        if (const PlayerRole* role = asRole(p))
            if (!role->instantiated()) failed = true;
    if (failed) {
        undoBindings();
        return false;
    }
    m_instantiated = true;
    return true;
}

bool Setplay::instantiate(const InitMessage& m, const Context& world) {
    std::cerr << "init message " << m.toString() << std::endl;
    return instantiate(&m.arguments, world.numPlayersPerTeam());
}

bool Setplay::instantiateOpp(const std::vector<unsigned>* game_opps) {
    std::vector<PlayerRole*> roles;
    for (const PlayerReference* p : playersOpponent)
        if (PlayerRole* role = asRole(p)) roles.push_back(role);
    // One number per opponent role, as the opponent choice gives them.
    if (!game_opps || game_opps->size() != roles.size()) {
        std::cerr << "ERROR: Number of sp opp players and gm opp players doesn't match" << std::endl;
        return false;
    }
    const std::vector<SetplayParameter*> none;
    const std::vector<PlayerReference*> nobody;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        std::string out;
        PlayerID* id = PlayerID::parseOpp(std::to_string((*game_opps)[i]), out, none, nobody);
        if (!id) {
            std::cerr << "unistantiating" << std::endl;
            for (PlayerRole* r : roles) r->uninstantiate();
            return false;
        }
        roles[i]->set(id);
    }
    return true;
}

const SetplayParameter* Setplay::getSetplayParameterWithName(const std::string& name_) const {
    for (const SetplayParameter* p : *parameters)
        if (p->name() == name_) return p;
    return nullptr;
}

const PlayerRole* Setplay::roleWithName(const std::string& name_) const {
    for (const PlayerReference* p : players)
        if (const PlayerRole* role = dynamic_cast<const PlayerRole*>(p))
            if (role->roleName() == name_) return role;
    throw SetplayException("Participant not found in players:" + name_);
}

}  // namespace setplay
}  // namespace ostrevanda
