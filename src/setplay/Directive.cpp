#include "setplay/Directive.h"

#include <memory>

#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {
void deleteActions(std::vector<Action*>* v) {
    if (!v) return;
    for (Action* a : *v) delete a;
    delete v;
}

void tabs(std::ostream& os, unsigned n) {
    for (unsigned i = 0; i < n; ++i) os << '\t';
}
}  // namespace

Directive::Directive(const ConstPlayerList& players_, std::vector<Action*>* actions_)
    : players(players_), actions(actions_) {}

Directive::Directive(const ConstPlayerList& players_, std::vector<Action*>* actions_,
                     const ConstPlayerList& playersOpponent_)
    : players(players_), playersOpponent(playersOpponent_), actions(actions_) {}

Directive::~Directive() {
    deleteActions(actions);
    disposeAll(players);
    disposeAll(playersOpponent);
}

void Directive::substituteNamedRegions(const Context& world) {
    if (!actions) return;
    for (Action* a : *actions) a->substituteNamedRegions(world);
}

void Directive::setActionsAsNotDone() {
    if (!actions) return;
    for (Action* a : *actions) a->done = false;
}

void Directive::printAux(std::ostream& os) const {
    os << " :players (list ";
    for (const PlayerReference* p : players) {
        p->print(os);
        os << " ";
    }
    os << ") :actions (list ";
    if (actions) {
        for (const Action* a : *actions) {
            a->print(os);
            os << " ";
        }
    }
    os << "))";
}

void Directive::printAux2(std::ostream& os, unsigned& indent) const {
    os << "\t:players (list ";
    for (const PlayerReference* p : players) {
        p->print(os);
        os << " ";
    }
    os << ")\n";
    tabs(os, indent);
    os << ":actions (list ";
    if (actions) {
        for (const Action* a : *actions) {
            a->print(os);
            os << " ";
        }
    }
    os << ")\n";
}

void Directive::copyParts(const ParamList& parameters, const PlayerList& players_, const PlayerList& playersOpponent_,
                          bool mirror, ConstPlayerList& list, std::vector<Action*>*& acts) const {
    acts = copyActions(parameters, players_, playersOpponent_, mirror);
    try {
        list = copyPlayers(players, parameters, players_);
    } catch (...) {
        deleteActions(acts);
        throw;
    }
}

std::vector<Action*>* Directive::copyActions(const ParamList& parameters, const PlayerList& players_,
                                             const PlayerList& playersOpponent_, bool mirror) const {
    std::unique_ptr<std::vector<Action*>> r(new std::vector<Action*>());
    try {
        if (actions)
            for (const Action* a : *actions)
                r->push_back(mirror ? a->inversion(parameters, players_, playersOpponent_)
                                    : a->deepCopy(parameters, players_, playersOpponent_));
    } catch (...) {
        for (Action* a : *r) delete a;
        throw;
    }
    return r.release();
}

Directive* Directive::parse(const std::string& in, std::string& out, const ParamList& parameters,
                            const PlayerList& players, const PlayerList& playersOpponent) {
    out = in;
    Scan sc(in);
    bool isDo = true;
    {
        Scan d(in);
        if (d.kw("(do") && d.kw(":players")) {
            sc = d;
        } else {
            Scan t(in);
            if (!t.kw("(dont") || !t.kw(":players")) return nullptr;
            sc = t;
            isDo = false;
        }
    }
    std::string rest;
    RefList read(PlayerReference::parsePlayerList(sc.rest(), rest, parameters, players));
    if (read.empty()) return nullptr;
    sc.reset(rest);
    if (!sc.kw(":actions")) return nullptr;
    std::vector<Action*>* acts = Action::parseActionList(sc.rest(), rest, parameters, players, playersOpponent);
    // A directive without actions is malformed like any other.
    if (!acts) return nullptr;
    sc.reset(rest);
    if (!sc.ch(')')) {
        deleteActions(acts);
        return nullptr;
    }
    out = sc.rest();
    ConstPlayerList list = read.release();
    if (isDo) return new Do(list, acts);
    return new Dont(list, acts);
}

// Do and Dont

void Do::print(std::ostream& os) const {
    os << "(do ";
    printAux(os);
}

void Do::print2(std::ostream& os, unsigned& indent) const {
    tabs(os, indent);
    os << "(do ";
    ++indent;
    printAux2(os, indent);
    --indent;
    tabs(os, indent);
    os << ")\n";
}

Directive* Do::deepCopy(const ParamList& parameters, const PlayerList& players_,
                        const PlayerList& playersOpponent_) const {
    return copyAs<Do>(parameters, players_, playersOpponent_, false);
}

Directive* Do::inversion(const ParamList& parameters, const PlayerList& players_,
                         const PlayerList& playersOpponent_) const {
    return copyAs<Do>(parameters, players_, playersOpponent_, true);
}

void Dont::print(std::ostream& os) const {
    os << "(dont ";
    printAux(os);
}

void Dont::print2(std::ostream& os, unsigned& indent) const {
    os << "(dont ";
    ++indent;
    printAux2(os, indent);
    --indent;
    tabs(os, indent);
    os << ")";
}

Directive* Dont::deepCopy(const ParamList& parameters, const PlayerList& players_,
                          const PlayerList& playersOpponent_) const {
    return copyAs<Dont>(parameters, players_, playersOpponent_, false);
}

Directive* Dont::inversion(const ParamList& parameters, const PlayerList& players_,
                           const PlayerList& playersOpponent_) const {
    return copyAs<Dont>(parameters, players_, playersOpponent_, true);
}

}  // namespace setplay
}  // namespace ostrevanda
