#ifndef OSTREVANDA_SETPLAY_SETPLAY_H
#define OSTREVANDA_SETPLAY_SETPLAY_H

#include <ostream>
#include <string>
#include <vector>

#include "setplay/Step.h"

namespace ostrevanda {
namespace setplay {

// One plan: its definition as read from the set-play text.
class Setplay {
public:
    Setplay(const std::string& name_, int number, bool commAllowed_, bool singleChannelComm_,
            float messageRepeatTime_);
    ~Setplay();
    Setplay(const Setplay&) = delete;
    Setplay& operator=(const Setplay&) = delete;

    // A new set play, or null for blank text or a malformed definition.
    static Setplay* parse(std::string in, std::string& out, bool useComm, bool limitedComm,
                          float messageRepeatTime);

    static void parseHeader(std::string in, std::string& out, std::string& name, int& id);
    static bool parseInvertibleTag(std::string in, std::string& out);
    static void parseVersion(std::string in, std::string& out);
    static void parseComment(std::string in, std::string& out);
    static std::vector<SetplayParameter*>* parseParameters(std::string in, std::string& out,
                                                           std::vector<SetplayParameter*>& params_copy);
    static void parsePlayers(std::string in, std::string& out, std::vector<PlayerReference*>& players);
    static void parsePlayersOpponent(std::string in, std::string& out,
                                     std::vector<PlayerReference*>& playersOpponent);
    static Cond* parseAbortCond(std::string in, std::string& out, const std::vector<PlayerReference*>& players,
                                const std::vector<SetplayParameter*>& params_copy);
    static std::vector<Step*>* parseSteps(std::string in, std::string& out,
                                          const std::vector<SetplayParameter*>& params_copy,
                                          const std::vector<PlayerReference*>& players,
                                          const std::vector<PlayerReference*>& playersOpponent);

    void write(std::ostream& os) const;
    void write2(std::ostream& os, unsigned indent) const;
    Setplay* deepCopy() const;
    // The mirror image; null for a set play numbered 0, whose image would
    // carry its own number.
    Setplay* inversion() const;

    int id() const { return setplayNumber; }
    const std::string& getName() const { return name; }
    bool isInvertible() const { return invertible; }
    bool instantiated() const { return m_instantiated; }
    bool isCommAllowed() const { return commAllowed; }
    bool isSingleChannelComm() const { return singleChannelComm; }
    float getMessageRepeatTime() const { return messageRepeatTime; }
    const std::vector<SetplayParameter*>& getParameters() const { return *parameters; }
    const std::vector<const PlayerReference*>& getPlayers() const { return players; }
    const std::vector<const PlayerReference*>& getPlayersOpponent() const { return playersOpponent; }
    const Cond* getAbortCond() const { return abortCond; }
    const std::vector<Step*>& getSteps() const { return *steps; }

private:
    Setplay* copy(bool mirror) const;

    const std::string name;
    const int setplayNumber;
    bool invertible;
    std::vector<SetplayParameter*>* parameters;
    std::vector<const PlayerReference*> players;
    std::vector<const PlayerReference*> playersOpponent;
    Cond* abortCond;
    std::vector<Step*>* steps;
    const bool commAllowed;
    const bool singleChannelComm;
    const float messageRepeatTime;
    bool m_instantiated;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
