#include "setplay/Step.h"

#include <iostream>
#include <memory>

#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {

void tabs(std::ostream& os, unsigned n) {
    for (unsigned i = 0; i < n; ++i) os << '\t';
}

// A decimal number taken modulo 65536, however long it is.
bool readId(Scan& sc, unsigned& v) {
    std::string digits;
    if (!sc.match(*white_p >> (+sp::digit_p)[sp::assign_a(digits)])) return false;
    unsigned r = 0;
    for (char c : digits) r = (r * 10 + static_cast<unsigned>(c - '0')) % 65536;
    v = r;
    return true;
}

Region* readRegion(Scan& sc, const ParamList& params, const PlayerList& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Region::parse(i, o, params, players); });
}

Cond* readCond(Scan& sc, const ParamList& params, const PlayerList& players) {
    return sc.nested([&](const std::string& i, std::string& o) { return Cond::parse(i, o, params, players); });
}

template <typename T>
void deleteAll(std::vector<T*>* v) {
    if (!v) return;
    for (T* x : *v) delete x;
    delete v;
}

template <typename T>
struct OwnedVector {
    std::vector<T*>* v = new std::vector<T*>();
    ~OwnedVector() { deleteAll(v); }
    std::vector<T*>* release() {
        std::vector<T*>* r = v;
        v = nullptr;
        return r;
    }
};

typedef PlayerReference* (*RefParser)(const std::string&, std::string&, const ParamList&, const PlayerList&);

template <typename P>
P* parseParticipation(const std::string& in, std::string& out, const ParamList& parameters,
                      const PlayerList& players, RefParser readRef) {
    out = in;
    Scan sc(in);
    auto ref = [&](const std::string& i, std::string& o) { return readRef(i, o, parameters, players); };
    if (sc.kw("(at")) {
        Owned<PlayerReference> who(sc.nested(ref));
        if (!who) return nullptr;
        Owned<Region> where(readRegion(sc, parameters, players));
        if (!where || !sc.ch(')')) return nullptr;
        out = sc.rest();
        PlayerReference* w = who.release();
        return new P(w, where.release());
    }
    Scan bare(in);
    PlayerReference* who = bare.nested(ref);
    if (!who) return nullptr;
    out = bare.rest();
    return new P(who, nullptr);
}

}  // namespace

// Participation

template <typename Self>
ParticipationOf<Self>::~ParticipationOf() {
    dispose(participant_);
    dispose(location_);
}

template <typename Self>
void ParticipationOf<Self>::print(std::ostream& os) const {
    if (!location_) {
        participant_->print(os);
        return;
    }
    os << "(at ";
    participant_->print(os);
    os << " ";
    location_->print(os);
    os << ")";
}

template <typename Self>
Self* ParticipationOf<Self>::deepCopy(const ParamList& parameters, const PlayerList& players) const {
    Owned<Region> where(location_ ? location_->deepCopy(parameters, players) : nullptr);
    PlayerReference* who = participant_->deepCopy(parameters, players);
    return new Self(who, where.release());
}

template <typename Self>
Self* ParticipationOf<Self>::inversion(const ParamList& parameters, const PlayerList& players) const {
    Owned<Region> where(location_ ? location_->inversion(parameters, players) : nullptr);
    PlayerReference* who = participant_->deepCopy(parameters, players);
    return new Self(who, where.release());
}

template <typename Self>
void ParticipationOf<Self>::substituteNamedRegions(const Context& world) const {
    if (location_) location_->substituteNamedRegions(world);
}

template class ParticipationOf<Participation>;
template class ParticipationOf<ParticipationOpp>;

Participation* Participation::parse(std::string in, std::string& out, const ParamList& parameters,
                                    const PlayerList& players) {
    return parseParticipation<Participation>(in, out, parameters, players, &PlayerReference::parse);
}

ParticipationOpp* ParticipationOpp::parseOpp(std::string in, std::string& out, const ParamList& parameters,
                                             const PlayerList& playersOpponent) {
    return parseParticipation<ParticipationOpp>(in, out, parameters, playersOpponent, &PlayerReference::parseOpp);
}

// Transition

Transition::~Transition() {
    delete cond;
    deleteAll(directives);
}

std::vector<Action*> Transition::getDoActionsForPlayer(const PlayerID& player) const {
    std::vector<Action*> result;
    if (!directives) return result;
    for (const Directive* d : *directives) {
        if (!d->isDo() || !d->getActions()) continue;
        for (const PlayerReference* p : d->getPlayers())
            if (p->value()->equals(player)) result.insert(result.end(), d->getActions()->begin(), d->getActions()->end());
    }
    return result;
}

void Transition::setActionsAsNotDone() {
    if (!directives) return;
    for (Directive* d : *directives) d->setActionsAsNotDone();
}

void Transition::substituteNamedRegions(const Context& world) {
    if (cond) cond->substituteNamedRegions(world);
    if (!directives) return;
    for (Directive* d : *directives) d->substituteNamedRegions(world);
}

void Transition::writeAux(std::ostream& os) const {
    if (cond) {
        os << " :condition ";
        cond->print(os);
    }
    os << " :directives (list";
    if (directives)
        for (const Directive* d : *directives) d->print(os);
    os << ")";
}

void Transition::writeAux2(std::ostream& os, unsigned& indent) const {
    const unsigned f = indent;
    if (cond) {
        os << "\n";
        tabs(os, f);
        os << " :condition ";
        cond->print(os);
    }
    os << "\n";
    tabs(os, f);
    os << " :directives";
    os << "\n";
    tabs(os, f + 1);
    os << "(list";
    os << "\n";
    indent = f + 2;
    if (directives)
        for (const Directive* d : *directives) d->print2(os, indent);
    indent = f;
    os << "\n";
    tabs(os, f + 1);
    os << ")";
}

void Transition::copyParts(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
                           bool mirror, Cond*& c, std::vector<Directive*>*& d) const {
    std::unique_ptr<Cond> newCond;
    if (cond) newCond.reset(mirror ? cond->inversion(parameters, players) : cond->deepCopy(parameters, players));
    OwnedVector<Directive> newDirectives;
    if (directives)
        for (const Directive* x : *directives)
            newDirectives.v->push_back(mirror ? x->inversion(parameters, players, playersOpponent)
                                              : x->deepCopy(parameters, players, playersOpponent));
    c = newCond.release();
    d = newDirectives.release();
}

Transition* Transition::parse(std::string in, std::string& out, const ParamList& parameters,
                              const PlayerList& players, const PlayerList& playersOpponent) {
    out = in;
    Scan sc(in);
    int kind = 0;
    unsigned next = 0;
    if (sc.kw("(abort")) {
        kind = 1;
    } else if (sc.kw("(finish")) {
        kind = 2;
    } else if (sc.kw("(nextStep")) {
        if (!sc.kw(":id") || !readId(sc, next)) return nullptr;
        kind = 3;
    } else {
        return nullptr;
    }
    std::unique_ptr<Cond> cond;
    if (sc.kw(":condition")) {
        cond.reset(readCond(sc, parameters, players));
        if (!cond) {
            std::cerr << "Missing cond in Transition parse\n";
            return nullptr;
        }
    }
    OwnedVector<Directive> directives;
    if (sc.kw(":directives")) {
        bool listed = sc.kw("(list");
        if (listed) {
            while (Directive* d = sc.nested([&](const std::string& i, std::string& o) {
                       return Directive::parse(i, o, parameters, players, playersOpponent);
                   }))
                directives.v->push_back(d);
        }
        if (!listed || !sc.ch(')')) {
            std::cerr << "\nMissing directive list termination or invalid directives. Got:" << sc.rest() << std::endl;
            return nullptr;
        }
    }
    if (!sc.ch(')')) return nullptr;
    out = sc.rest();
    Cond* c = cond.release();
    std::vector<Directive*>* d = directives.release();
    if (kind == 1) return new Abort(c, d);
    if (kind == 2) return new Finish(c, d);
    return new NextStep(static_cast<int>(next), c, d);
}

void NextStep::print(std::ostream& os) const {
    os << "(nextStep :id " << nextStepNumber;
    writeAux(os);
    os << ")";
}

void NextStep::print2(std::ostream& os, unsigned& indent) const {
    const unsigned e = indent;
    os << "(nextStep :id " << nextStepNumber;
    indent = e + 1;
    writeAux2(os, indent);
    indent = e;
    os << "\n";
    tabs(os, e);
    os << ")";
}

Transition* NextStep::deepCopy(const ParamList& a, const PlayerList& p, const PlayerList& o) const {
    return copyAs<NextStep>(a, p, o, false, nextStepNumber);
}

Transition* NextStep::inversion(const ParamList& a, const PlayerList& p, const PlayerList& o) const {
    return copyAs<NextStep>(a, p, o, true, nextStepNumber);
}

void Finish::print(std::ostream& os) const {
    os << "(finish";
    writeAux(os);
    os << ")";
}

Transition* Finish::deepCopy(const ParamList& a, const PlayerList& p, const PlayerList& o) const {
    return copyAs<Finish>(a, p, o, false);
}

Transition* Finish::inversion(const ParamList& a, const PlayerList& p, const PlayerList& o) const {
    return copyAs<Finish>(a, p, o, true);
}

void Abort::print(std::ostream& os) const {
    os << "(abort";
    writeAux(os);
    os << ")";
}

Transition* Abort::deepCopy(const ParamList& a, const PlayerList& p, const PlayerList& o) const {
    return copyAs<Abort>(a, p, o, false);
}

Transition* Abort::inversion(const ParamList& a, const PlayerList& p, const PlayerList& o) const {
    return copyAs<Abort>(a, p, o, true);
}

// Step

Step::Step(std::uint32_t id_, double waitTime_, double abortTime_)
    : id(id_),
      waitTime(waitTime_),
      abortTime(abortTime_),
      abortStep(nullptr),
      transitions(nullptr),
      participants(nullptr),
      participantsOpponents(nullptr),
      leadPlayer(nullptr),
      ballHoder(nullptr),
      condition(nullptr) {}

Step::~Step() {
    delete abortStep;
    delete condition;
    deleteAll(transitions);
    deleteAll(participants);
    deleteAll(participantsOpponents);
    dispose(leadPlayer);
    dispose(ballHoder);
}

void Step::setActionsAsNotDone() {
    if (!transitions) return;
    for (Transition* t : *transitions) t->setActionsAsNotDone();
}

void Step::substituteNamedRegions(const Context& world) {
    if (abortStep) abortStep->substituteNamedRegions(world);
    if (condition) condition->substituteNamedRegions(world);
    if (participants)
        for (const Participation* p : *participants) p->substituteNamedRegions(world);
    if (participantsOpponents)
        for (const ParticipationOpp* p : *participantsOpponents) p->substituteNamedRegions(world);
    if (transitions)
        for (Transition* t : *transitions) t->substituteNamedRegions(world);
}

void Step::print(std::ostream& os) const {
    os << "(step :id " << id << " :waitTime " << waitTime << " :abortTime " << abortTime << " :participants (list ";
    if (participants) {
        for (const Participation* p : *participants) {
            p->print(os);
            os << " ";
        }
    }
    os << ") ";
    if (condition) {
        os << ":condition ";
        condition->print(os);
    }
    if (leadPlayer) {
        os << " :leadPlayer ";
        leadPlayer->print(os);
    }
    if (transitions) {
        os << " :transitions (list ";
        for (const Transition* t : *transitions) {
            t->print(os);
            os << " ";
        }
        os << "))";
    }
}

void Step::print2(std::ostream& os, unsigned& indent) const {
    const unsigned d = indent;
    os << "(step :id " << id << " :waitTime " << waitTime << " :abortTime " << abortTime;
    os << "\n";
    tabs(os, d + 1);
    os << " :participants";
    os << "\n";
    tabs(os, d + 2);
    os << "(list";
    if (participants) {
        for (const Participation* p : *participants) {
            os << "\n";
            tabs(os, d + 3);
            p->print(os);
        }
    }
    os << "\n";
    tabs(os, d + 2);
    os << ")";
    os << "\n";
    tabs(os, d + 1);
    os << " :participantsOpponents";
    os << "\n";
    tabs(os, d + 2);
    os << "(list";
    if (participantsOpponents) {
        for (const ParticipationOpp* p : *participantsOpponents) {
            os << "\n";
            tabs(os, d + 3);
            p->print(os);
        }
    }
    os << "\n";
    tabs(os, d + 2);
    os << ")";
    if (condition) {
        os << "\n";
        tabs(os, d + 1);
        os << " :condition ";
        condition->print(os);
    }
    if (leadPlayer) {
        os << "\n";
        tabs(os, d + 1);
        os << " :leadPlayer ";
        leadPlayer->print(os);
    }
    os << "\n";
    tabs(os, d + 1);
    if (ballHoder) {
        os << " :ballHolder ";
        ballHoder->print(os);
    } else {
        os << " :ballHolder (NULL)";
    }
    if (abortStep) {
        os << "\n";
        tabs(os, d + 1);
        os << " :abortCond ";
        abortStep->print(os);
    }
    os << "\n";
    tabs(os, d + 1);
    os << " :transitions";
    os << "\n";
    tabs(os, d + 2);
    os << "(list ";
    if (transitions) {
        for (const Transition* t : *transitions) {
            os << "\n";
            tabs(os, d + 3);
            indent = d + 3;
            t->print2(os, indent);
        }
    }
    indent = d;
    os << "\n";
    tabs(os, d + 2);
    os << ")";
    os << "\n";
    tabs(os, d);
    os << ")";
}

Step* Step::copy(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
                 bool mirror) const {
    std::unique_ptr<Step> s(new Step(id, waitTime, abortTime));
    s->transitions = new std::vector<Transition*>();
    s->participants = new std::vector<Participation*>();
    s->participantsOpponents = new std::vector<ParticipationOpp*>();
    if (transitions)
        for (const Transition* t : *transitions)
            s->transitions->push_back(mirror ? t->inversion(parameters, players, playersOpponent)
                                             : t->deepCopy(parameters, players, playersOpponent));
    if (participants)
        for (const Participation* p : *participants)
            s->participants->push_back(mirror ? p->inversion(parameters, players) : p->deepCopy(parameters, players));
    if (participantsOpponents)
        for (const ParticipationOpp* p : *participantsOpponents)
            s->participantsOpponents->push_back(mirror ? p->inversion(parameters, playersOpponent)
                                                       : p->deepCopy(parameters, playersOpponent));
    if (condition)
        s->condition = mirror ? condition->inversion(parameters, players) : condition->deepCopy(parameters, players);
    if (abortStep)
        s->abortStep = mirror ? abortStep->inversion(parameters, players) : abortStep->deepCopy(parameters, players);
    if (leadPlayer) s->leadPlayer = leadPlayer->deepCopy(parameters, players);
    if (ballHoder) s->ballHoder = ballHoder->deepCopy(parameters, players);
    return s.release();
}

Step* Step::deepCopy(const ParamList& parameters, const PlayerList& players,
                     const PlayerList& playersOpponent) const {
    return copy(parameters, players, playersOpponent, false);
}

Step* Step::inversion(const ParamList& parameters, const PlayerList& players,
                      const PlayerList& playersOpponent) const {
    return copy(parameters, players, playersOpponent, true);
}

Step* Step::parse(std::string in, std::string& out, const ParamList& parameters, const PlayerList& players,
                  const PlayerList& playersOpponent) {
    out = in;
    Scan sc(in);
    unsigned id = 0, wait = 0, abort = 0;
    if (!sc.kw("(step") || !sc.kw(":id") || !readId(sc, id)) return nullptr;
    if (sc.kw(":waitTime") && !sc.unsignedInt(wait)) return nullptr;
    if (sc.kw(":abortTime") && !sc.unsignedInt(abort)) return nullptr;
    std::unique_ptr<Step> step(new Step(id, wait, abort));
    step->transitions = new std::vector<Transition*>();
    step->participants = new std::vector<Participation*>();
    step->participantsOpponents = new std::vector<ParticipationOpp*>();

    if (!sc.kw(":participants") || !sc.kw("(list")) return nullptr;
    while (Participation* p = sc.nested([&](const std::string& i, std::string& o) {
               return Participation::parse(i, o, parameters, players);
           }))
        step->participants->push_back(p);
    if (step->participants->empty() || !sc.ch(')')) return nullptr;

    if (sc.kw(":participantsOpponents")) {
        if (!sc.kw("(list")) {
            std::cerr << "Faltou ) no participante oponente no step " << id;
            return nullptr;
        }
        while (ParticipationOpp* p = sc.nested([&](const std::string& i, std::string& o) {
                   return ParticipationOpp::parseOpp(i, o, parameters, playersOpponent);
               }))
            step->participantsOpponents->push_back(p);
        if (!sc.ch(')')) {
            std::cerr << "Faltou ) no participante oponente no step " << id;
            return nullptr;
        }
    }

    if (sc.kw(":condition")) {
        step->condition = readCond(sc, parameters, players);
        if (!step->condition) {
            std::cerr << "\n Missing cond in Step:" << id << std::endl;
            return nullptr;
        }
    }

    auto ref = [&](const std::string& i, std::string& o) {
        return PlayerReference::parse(i, o, parameters, players);
    };
    if (!sc.kw(":leadPlayer")) return nullptr;
    step->leadPlayer = sc.nested(ref);
    if (!step->leadPlayer) return nullptr;

    if (!sc.kw(":ballHolder")) {
        std::cerr << "BallHolder nao pode ser encontrado\n";
        return nullptr;
    }
    step->ballHoder = sc.nested(ref);
    if (!step->ballHoder && !sc.kw("(NULL)"))
        std::cerr << "BallHolder precisa ser um PlayerReference ou \"(NULL)\"\n";

    if (sc.kw(":abortCond")) step->abortStep = readCond(sc, parameters, players);

    if (!sc.kw(":transitions") || !sc.kw("(list")) return nullptr;
    while (Transition* t = sc.nested([&](const std::string& i, std::string& o) {
               return Transition::parse(i, o, parameters, players, playersOpponent);
           }))
        step->transitions->push_back(t);
    if (!sc.ch(')') || !sc.ch(')')) return nullptr;
    out = sc.rest();
    return step.release();
}

}  // namespace setplay
}  // namespace ostrevanda
