#include "setplay/Setplay.h"

#include <algorithm>
#include <iostream>
#include <memory>

#include "setplay/SetplayException.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {

void tabs(std::ostream& os, unsigned n) {
    for (unsigned i = 0; i < n; ++i) os << '\t';
}

void newline(std::ostream& os, unsigned depth) {
    os << "\n";
    tabs(os, depth);
}

template <typename T>
void deleteAll(std::vector<T*>* v) {
    if (!v) return;
    for (T* x : *v) delete x;
    delete v;
}

void deleteRefs(std::vector<PlayerReference*>& v) {
    for (PlayerReference* p : v) delete p;
    v.clear();
}

}  // namespace

Setplay::Setplay(const std::string& name_, int number, bool commAllowed_, bool singleChannelComm_,
                 float messageRepeatTime_)
    : name(name_),
      setplayNumber(number),
      invertible(false),
      parameters(new std::vector<SetplayParameter*>()),
      abortCond(nullptr),
      steps(new std::vector<Step*>()),
      commAllowed(commAllowed_),
      singleChannelComm(singleChannelComm_),
      messageRepeatTime(messageRepeatTime_ < 0 ? 0 : messageRepeatTime_),
      m_instantiated(false),
      currentStep(nullptr),
      nextStep(nullptr),
      setplayBegin(-1.0),
      stepBegin(-1.0),
      done(false),
      wasLastLeadPlayer(false),
      successful(false) {}

Setplay::~Setplay() {
    // The steps may refer to the set play's own parameters and players.
    deleteAll(steps);
    delete abortCond;
    deleteAll(parameters);
    for (const PlayerReference* p : players) delete p;
    for (const PlayerReference* p : playersOpponent) delete p;
}

// Clause readers

void Setplay::parseHeader(std::string in, std::string& out, std::string& name, int& id) {
    Scan sc(in);
    unsigned number = 0;
    if (!sc.kw("(setplay") || !sc.kw(":name") || !sc.identifier(name) || !sc.kw(":id") ||
        !sc.match(*white_p >> sp::uint_parser<unsigned, 10, 1, -1>()[sp::assign_a(number)]) ||
        number > static_cast<unsigned>(std::numeric_limits<int>::max()))
        throw SetplayException("Invalid Setplay header");
    id = static_cast<int>(number);
    out = sc.rest();
}

bool Setplay::parseInvertibleTag(std::string in, std::string& out) {
    out = in;
    Scan sc(in);
    if (!sc.kw(":invertible")) return false;
    bool value;
    if (sc.kw("true"))
        value = true;
    else if (sc.kw("false"))
        value = false;
    else
        throw SetplayException("Illegal value in invertible!");
    out = sc.rest();
    return value;
}

void Setplay::parseVersion(std::string in, std::string& out) {
    out = in;
    Scan sc(in);
    if (!sc.kw(":version")) return;
    sc.match(*white_p >> *(~sp::ch_p(' ')));
    out = sc.rest();
}

void Setplay::parseComment(std::string in, std::string& out) {
    out = in;
    Scan sc(in);
    if (!sc.match(*white_p >> sp::str_p(":comment") >> *white_p >> sp::ch_p('(') >> *(~sp::ch_p(')')) >> *white_p >>
                  sp::ch_p(')')))
        return;
    out = sc.rest();
}

std::vector<SetplayParameter*>* Setplay::parseParameters(std::string in, std::string& out,
                                                         std::vector<SetplayParameter*>& params_copy) {
    out = in;
    std::unique_ptr<std::vector<SetplayParameter*>> params(new std::vector<SetplayParameter*>());
    Scan sc(in);
    if (!sc.kw(":parameters") || !sc.kw("(list")) return params.release();
    struct Cleanup {
        std::unique_ptr<std::vector<SetplayParameter*>>& v;
        ~Cleanup() {
            if (v)
                for (SetplayParameter* p : *v) delete p;
        }
    } cleanup{params};
    const std::vector<SetplayParameter*> none;
    const std::vector<PlayerReference*> nobody;
    while (SetplayParameter* p = sc.nested([&](const std::string& i, std::string& o) {
               return SetplayParameter::parse(i, o, none, nobody);
           }))
        params->push_back(p);
    if (!sc.ch(')')) throw SetplayException("error parsing parameters! ')' expected");
    out = sc.rest();
    params_copy = *params;
    std::sort(params_copy.begin(), params_copy.end(), nameBefore);
    std::reverse(params_copy.begin(), params_copy.end());
    return params.release();
}

void Setplay::parsePlayers(std::string in, std::string& out, std::vector<PlayerReference*>& players) {
    Scan sc(in);
    if (!sc.kw(":players")) throw SetplayException("':players' expected");
    players = PlayerReference::parsePlayerList(sc.rest(), out, {}, {});
    if (players.empty()) throw SetplayException("Parsed an empty player list");
}

void Setplay::parsePlayersOpponent(std::string in, std::string& out, std::vector<PlayerReference*>& playersOpponent) {
    Scan sc(in);
    if (!sc.kw(":playersOpponents")) throw SetplayException("':playersOpponents' expected");
    playersOpponent = PlayerReference::parsePlayerListOpp(sc.rest(), out, {}, {});
}

Cond* Setplay::parseAbortCond(std::string in, std::string& out, const std::vector<PlayerReference*>& players,
                              const std::vector<SetplayParameter*>& params_copy) {
    out = in;
    Scan sc(in);
    if (!sc.kw(":abortCond")) return nullptr;
    Cond* c = Cond::parse(sc.rest(), out, params_copy, players);
    if (!c) throw SetplayException("Failed parsing abort condition, ':abortCond' found without Condition");
    return c;
}

std::vector<Step*>* Setplay::parseSteps(std::string in, std::string& out,
                                        const std::vector<SetplayParameter*>& params_copy,
                                        const std::vector<PlayerReference*>& players,
                                        const std::vector<PlayerReference*>& playersOpponent) {
    out = in;
    Scan sc(in);
    if (!sc.kw(":steps") || !sc.kw("(seq")) throw SetplayException("':steps (seq' expected");
    std::unique_ptr<std::vector<Step*>> steps(new std::vector<Step*>());
    struct Cleanup {
        std::unique_ptr<std::vector<Step*>>& v;
        ~Cleanup() {
            if (v)
                for (Step* s : *v) delete s;
        }
    } cleanup{steps};
    while (Step* s = sc.nested([&](const std::string& i, std::string& o) {
               return Step::parse(i, o, params_copy, players, playersOpponent);
           }))
        steps->push_back(s);
    if (steps->empty()) throw SetplayException("step 0 nao encontrado");
    if (!sc.ch(')') || !sc.ch(')')) {
        std::cerr << "input = " << sc.rest() << "\n";
        throw SetplayException("error parsing steps! ')' expected");
    }
    out = sc.rest();
    return steps.release();
}

Setplay* Setplay::parse(std::string in, std::string& out, bool useComm, bool limitedComm, float messageRepeatTime) {
    std::size_t start = 0;
    while (start < in.size() && Scan::isBlank(in[start])) ++start;
    if (start == in.size()) {
        out.clear();
        return nullptr;
    }
    std::vector<PlayerReference*> players, playersOpponent;
    std::unique_ptr<Setplay> sp;
    try {
        std::string name;
        int id = 0;
        parseHeader(in.substr(start), out, name, id);
        sp.reset(new Setplay(name, id, useComm, limitedComm, messageRepeatTime));
        sp->invertible = parseInvertibleTag(out, out);
        parseVersion(out, out);
        parseComment(out, out);
        std::vector<SetplayParameter*> lookup;
        delete sp->parameters;
        sp->parameters = nullptr;
        sp->parameters = parseParameters(out, out, lookup);
        std::string rest;
        parsePlayers(out, rest, players);
        out = rest;
        for (PlayerReference* p : players) sp->players.push_back(p);
        players.clear();
        std::vector<PlayerReference*> own;
        for (const PlayerReference* p : sp->players) own.push_back(const_cast<PlayerReference*>(p));
        parsePlayersOpponent(out, rest, playersOpponent);
        out = rest;
        for (PlayerReference* p : playersOpponent) sp->playersOpponent.push_back(p);
        playersOpponent.clear();
        std::vector<PlayerReference*> opp;
        for (const PlayerReference* p : sp->playersOpponent) opp.push_back(const_cast<PlayerReference*>(p));
        sp->abortCond = parseAbortCond(out, rest, own, lookup);
        out = rest;
        std::vector<Step*>* steps = parseSteps(out, rest, lookup, own, opp);
        deleteAll(sp->steps);
        sp->steps = steps;
        out = rest;
    } catch (const SetplayException& e) {
        deleteRefs(players);
        deleteRefs(playersOpponent);
        std::cerr << "SetplayException" << std::endl << e.message << std::endl;
        return nullptr;
    }
    return sp.release();
}

// Text forms

void Setplay::write(std::ostream& os) const {
    os << "(setplay :name " << name << " :id " << setplayNumber << " :invertible " << (invertible ? "true" : "false");
    if (m_instantiated) {
        os << " :parameters (list ";
        for (const SetplayParameter* p : *parameters) {
            p->print(os);
            os << " ";
        }
        os << ")";
    }
    os << " :players (list ";
    for (const PlayerReference* p : players) {
        p->print(os);
        os << " ";
    }
    os << ") ";
    if (abortCond) {
        os << " :abortCond ";
        abortCond->print(os);
        os << " ";
    }
    os << ":steps (seq ";
    for (const Step* s : *steps) {
        s->print(os);
        os << " ";
    }
    os << "))";
}

void Setplay::write2(std::ostream& os, unsigned indent) const {
    const unsigned k = indent;
    os << "(setplay :name " << name << " :id " << setplayNumber << " :invertible" << (invertible ? " true" : " false");
    if (m_instantiated) {
        newline(os, k);
        os << " :parameters (list ";
        for (const SetplayParameter* p : *parameters) {
            p->print(os);
            os << " ";
        }
        os << ")";
    }
    newline(os, k);
    os << " :players";
    newline(os, k + 1);
    os << "(list";
    for (const PlayerReference* p : players) {
        newline(os, k + 2);
        p->print(os);
    }
    newline(os, k + 1);
    os << ") ";
    newline(os, k);
    os << " :playersOpponents";
    newline(os, k + 1);
    os << "(list";
    for (const PlayerReference* p : playersOpponent) {
        newline(os, k + 2);
        p->print(os);
    }
    newline(os, k + 1);
    os << ") ";
    if (abortCond) {
        newline(os, k);
        os << " :abortCond ";
        abortCond->print(os);
    }
    newline(os, k);
    os << " :steps";
    newline(os, k + 1);
    os << "(seq";
    for (const Step* s : *steps) {
        newline(os, k + 2);
        unsigned depth = k + 2;
        s->print2(os, depth);
    }
    newline(os, k + 1);
    os << ")";
    // One tab fewer than the depth, and none at depth 0.
    newline(os, k > 0 ? k - 1 : 0);
    os << ")\n";
    os.flush();
}

// Copy and mirror

Setplay* Setplay::copy(bool mirror) const {
    std::unique_ptr<Setplay> sp(new Setplay(mirror ? "INV_" + name : name, mirror ? -setplayNumber : setplayNumber,
                                            commAllowed, singleChannelComm, messageRepeatTime));
    std::vector<PlayerReference*> own, opp;
    for (const PlayerReference* p : players) {
        own.push_back(p->deepCopy());
        sp->players.push_back(own.back());
    }
    for (const PlayerReference* p : playersOpponent) {
        opp.push_back(p->deepCopy());
        sp->playersOpponent.push_back(opp.back());
    }
    for (const SetplayParameter* p : *parameters) sp->parameters->push_back(p->deepCopy());
    if (abortCond)
        sp->abortCond = mirror ? abortCond->inversion(*sp->parameters, own) : abortCond->deepCopy(*sp->parameters, own);
    for (const Step* s : *steps)
        sp->steps->push_back(mirror ? s->inversion(*sp->parameters, own, opp) : s->deepCopy(*sp->parameters, own, opp));
    return sp.release();
}

Setplay* Setplay::deepCopy() const { return copy(false); }

Setplay* Setplay::inversion() const {
    if (setplayNumber == 0) {
        std::cerr << "SP: set play " << name << " has id 0 and is not mirrored" << std::endl;
        return nullptr;
    }
    return copy(true);
}

}  // namespace setplay
}  // namespace ostrevanda
