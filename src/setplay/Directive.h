#ifndef OSTREVANDA_SETPLAY_DIRECTIVE_H
#define OSTREVANDA_SETPLAY_DIRECTIVE_H

#include <ostream>
#include <string>
#include <vector>

#include "setplay/Action.h"

namespace ostrevanda {
namespace setplay {

// Players told to do, or not to do, a list of actions.
class Directive {
public:
    // Takes the action list over, and the player references unless they are
    // a set play's own.
    Directive(const ConstPlayerList& players, std::vector<Action*>* actions);
    Directive(const ConstPlayerList& players, std::vector<Action*>* actions, const ConstPlayerList& playersOpponent);
    virtual ~Directive();
    Directive(const Directive&) = delete;
    Directive& operator=(const Directive&) = delete;

    virtual void print(std::ostream& os) const = 0;
    virtual void print2(std::ostream& os, unsigned& indent) const = 0;
    virtual bool isDo() const = 0;
    virtual Directive* deepCopy(const ParamList& parameters, const PlayerList& players,
                                const PlayerList& playersOpponent) const = 0;
    virtual Directive* inversion(const ParamList& parameters, const PlayerList& players,
                                 const PlayerList& playersOpponent) const = 0;
    virtual void substituteNamedRegions(const Context& world);

    static Directive* parse(const std::string& in, std::string& out, const ParamList& parameters,
                            const PlayerList& players, const PlayerList& playersOpponent);

    const ConstPlayerList& getPlayers() const { return players; }
    std::vector<Action*>* getActions() const { return actions; }
    void setActions(std::vector<Action*>* a) { actions = a; }
    void setActionsAsNotDone();

protected:
    void printAux(std::ostream& os) const;
    void printAux2(std::ostream& os, unsigned& indent) const;
    void copyParts(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
                   bool mirror, ConstPlayerList& list, std::vector<Action*>*& acts) const;
    // A new T over such copies.
    template <typename T>
    Directive* copyAs(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
                      bool mirror) const {
        ConstPlayerList list;
        std::vector<Action*>* acts = nullptr;
        copyParts(parameters, players, playersOpponent, mirror, list, acts);
        return new T(list, acts);
    }
    std::vector<Action*>* copyActions(const ParamList& parameters, const PlayerList& players,
                                      const PlayerList& playersOpponent, bool mirror) const;

    const ConstPlayerList players;
    const ConstPlayerList playersOpponent;
    std::vector<Action*>* actions;
};

class Do : public Directive {
public:
    Do(const ConstPlayerList& players, std::vector<Action*>* actions) : Directive(players, actions) {}
    void print(std::ostream& os) const override;
    void print2(std::ostream& os, unsigned& indent) const override;
    bool isDo() const override { return true; }
    Directive* deepCopy(const ParamList& parameters, const PlayerList& players,
                        const PlayerList& playersOpponent) const override;
    Directive* inversion(const ParamList& parameters, const PlayerList& players,
                         const PlayerList& playersOpponent) const override;
};

class Dont : public Directive {
public:
    Dont(const ConstPlayerList& players, std::vector<Action*>* actions) : Directive(players, actions) {}
    void print(std::ostream& os) const override;
    void print2(std::ostream& os, unsigned& indent) const override;
    bool isDo() const override { return false; }
    Directive* deepCopy(const ParamList& parameters, const PlayerList& players,
                        const PlayerList& playersOpponent) const override;
    Directive* inversion(const ParamList& parameters, const PlayerList& players,
                         const PlayerList& playersOpponent) const override;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
