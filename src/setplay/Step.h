#ifndef OSTREVANDA_SETPLAY_STEP_H
#define OSTREVANDA_SETPLAY_STEP_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "setplay/Cond.h"
#include "setplay/Directive.h"

namespace ostrevanda {
namespace setplay {

// A participant, optionally with its place; Self is the kind of participant.
template <typename Self>
class ParticipationOf {
public:
    ParticipationOf(const PlayerReference* participant, const Region* location)
        : participant_(participant), location_(location) {}
    ~ParticipationOf();
    ParticipationOf(const ParticipationOf&) = delete;
    ParticipationOf& operator=(const ParticipationOf&) = delete;

    void print(std::ostream& os) const;
    Self* deepCopy(const ParamList& parameters, const PlayerList& players) const;
    Self* inversion(const ParamList& parameters, const PlayerList& players) const;
    void substituteNamedRegions(const Context& world) const;
    const PlayerReference* participant() const { return participant_; }
    const Region* location() const { return location_; }

private:
    const PlayerReference* participant_;
    const Region* location_;
};

// An own participant, optionally with its place.
class Participation : public ParticipationOf<Participation> {
public:
    using ParticipationOf::ParticipationOf;
    static Participation* parse(std::string in, std::string& out, const ParamList& parameters,
                                const PlayerList& players);
};

// An opponent of interest, optionally with its place.
class ParticipationOpp : public ParticipationOf<ParticipationOpp> {
public:
    using ParticipationOf::ParticipationOf;
    static ParticipationOpp* parseOpp(std::string in, std::string& out, const ParamList& parameters,
                                      const PlayerList& playersOpponent);
};

extern template class ParticipationOf<Participation>;
extern template class ParticipationOf<ParticipationOpp>;

// A way out of a step, guarded by a condition and carrying directives.
class Transition {
public:
    // Takes the condition and the directives over.
    Transition(Cond* cond_, std::vector<Directive*>* directives_) : cond(cond_), directives(directives_) {}
    virtual ~Transition();
    Transition(const Transition&) = delete;
    Transition& operator=(const Transition&) = delete;

    virtual void print(std::ostream& os) const = 0;
    virtual void print2(std::ostream& os, unsigned& indent) const = 0;
    virtual bool isNextStep() const = 0;
    virtual bool isFinish() const = 0;
    virtual Transition* deepCopy(const ParamList& parameters, const PlayerList& players,
                                 const PlayerList& playersOpponent) const = 0;
    virtual Transition* inversion(const ParamList& parameters, const PlayerList& players,
                                  const PlayerList& playersOpponent) const = 0;

    static Transition* parse(std::string in, std::string& out, const ParamList& parameters,
                             const PlayerList& players, const PlayerList& playersOpponent);

    const Cond* getCondition() const { return cond; }
    std::vector<Directive*>* getDirectives() const { return directives; }
    // The actions of the Do directives that name the player.
    std::vector<Action*> getDoActionsForPlayer(const PlayerID& player) const;
    void setActionsAsNotDone();
    void substituteNamedRegions(const Context& world);

protected:
    void writeAux(std::ostream& os) const;
    void writeAux2(std::ostream& os, unsigned& indent) const;
    // New copies of the condition and the directives.
    void copyParts(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
                   bool mirror, Cond*& c, std::vector<Directive*>*& d) const;
    // A new T over such copies, built from the leading arguments and them.
    template <typename T, typename... Lead>
    Transition* copyAs(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
                       bool mirror, Lead... lead) const {
        Cond* c;
        std::vector<Directive*>* d;
        copyParts(parameters, players, playersOpponent, mirror, c, d);
        return new T(lead..., c, d);
    }

    Cond* cond;
    std::vector<Directive*>* directives;
};

class NextStep : public Transition {
public:
    NextStep(int next, Cond* cond_, std::vector<Directive*>* directives_)
        : Transition(cond_, directives_), nextStepNumber(next) {}
    void print(std::ostream& os) const override;
    void print2(std::ostream& os, unsigned& indent) const override;
    bool isNextStep() const override { return true; }
    bool isFinish() const override { return false; }
    Transition* deepCopy(const ParamList& parameters, const PlayerList& players,
                         const PlayerList& playersOpponent) const override;
    Transition* inversion(const ParamList& parameters, const PlayerList& players,
                          const PlayerList& playersOpponent) const override;
    int getNextStepNumber() const { return nextStepNumber; }

private:
    const int nextStepNumber;
};

class Finish : public Transition {
public:
    Finish(Cond* cond_, std::vector<Directive*>* directives_) : Transition(cond_, directives_) {}
    void print(std::ostream& os) const override;
    void print2(std::ostream& os, unsigned&) const override { print(os); }
    bool isNextStep() const override { return false; }
    bool isFinish() const override { return true; }
    Transition* deepCopy(const ParamList& parameters, const PlayerList& players,
                         const PlayerList& playersOpponent) const override;
    Transition* inversion(const ParamList& parameters, const PlayerList& players,
                          const PlayerList& playersOpponent) const override;
};

class Abort : public Transition {
public:
    Abort(Cond* cond_, std::vector<Directive*>* directives_) : Transition(cond_, directives_) {}
    void print(std::ostream& os) const override;
    void print2(std::ostream& os, unsigned&) const override { print(os); }
    bool isNextStep() const override { return false; }
    bool isFinish() const override { return false; }
    Transition* deepCopy(const ParamList& parameters, const PlayerList& players,
                         const PlayerList& playersOpponent) const override;
    Transition* inversion(const ParamList& parameters, const PlayerList& players,
                          const PlayerList& playersOpponent) const override;
};

// One numbered step of a set play.
class Step {
public:
    Step(std::uint32_t id_, double waitTime_, double abortTime_);
    ~Step();
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

    void print(std::ostream& os) const;
    void print2(std::ostream& os, unsigned& indent) const;
    Step* deepCopy(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent) const;
    Step* inversion(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent) const;
    void setActionsAsNotDone();
    void substituteNamedRegions(const Context& world);

    static Step* parse(std::string in, std::string& out, const ParamList& parameters, const PlayerList& players,
                       const PlayerList& playersOpponent);

    const std::uint32_t id;
    const double waitTime;
    const double abortTime;
    Cond* abortStep;
    std::vector<Transition*>* transitions;
    std::vector<Participation*>* participants;
    std::vector<ParticipationOpp*>* participantsOpponents;
    // Disposed by the step unless they are the set play's own references.
    PlayerReference* leadPlayer;
    PlayerReference* ballHoder;
    Cond* condition;

private:
    Step* copy(const ParamList& parameters, const PlayerList& players, const PlayerList& playersOpponent,
               bool mirror) const;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
