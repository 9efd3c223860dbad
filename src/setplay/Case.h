#ifndef OSTREVANDA_SETPLAY_CASE_H
#define OSTREVANDA_SETPLAY_CASE_H

#include <string>

#include "setplay/clang/PlayMode.h"

namespace ostrevanda {
namespace setplay {

class ProblemContext;

struct CaseSimilarityWeights {
    double region_distance = 0.25;
    double players_distance = 0.32;
    double same_opponent = 0.3;
    double nOpps_nearBall = 0.13;
    double similarity = 0.6;
};

struct CaseConclusionWeights {
    double uses_otherGames = 0.35;
    double uses_thisGame = 0.45;
    double sucess_percentage = 0.2;
    double conclusion = 0.4;
};

// The opponent name as the case base stores and compares it: letters, digits,
// "_" and "-" kept, any other character "_", nothing at all "unknown".
std::string caseTeamName(const std::string& name);

// One past use of a set play in a situation, with its outcome counts.
class Case {
public:
    Case(int _spId, const std::string& _transReg, const std::string& _longReg, const std::string& _radReg,
         const rcss::clang::PlayMode& _pmode, const std::string& _oppName, unsigned int _nOpps_nearBall,
         double _playersDistance, unsigned int _numUses, unsigned int _numSuccess, unsigned int _numUsesThisGame,
         unsigned int _numSuccessThisGame, double _successRate);
    Case(const Case&) = delete;
    Case& operator=(const Case&) = delete;

    // One record from the front of the text, this game's counts folded into the
    // totals; null (out = in) when the record is malformed.
    static Case* parse(const std::string& text_in, std::string& text_out);
    std::string toString() const;
    bool equals(const Case& other) const;

    double similarityEvaluate(const ProblemContext& problem, const CaseSimilarityWeights& weights,
                              double players_distance) const;
    double conclusionEvaluate(const CaseConclusionWeights& weights) const;
    double evaluate(const ProblemContext& problem, const CaseSimilarityWeights& similarityWeights,
                    const CaseConclusionWeights& conclusionWeights, double players_distance);

    int getSolutionId() const { return setplay_id; }
    double getEval() const { return eval; }
    double getSucessPercentage() const { return success_percentage; }
    void setSucessPercentage(double _successRate);
    void addUse(bool successfully_completed);

    const std::string& getTransverseRegion() const { return transverseRegion_name; }
    const std::string& getLongitudinalRegion() const { return longitudinalRegion_name; }
    const std::string& getRadialRegion() const { return radialRegion_name; }
    rcss::clang::PlayMode getPlayMode() const { return playmode; }
    const std::string& getOppName() const { return oppTeam_name; }
    unsigned int getNOpps_nearBall() const { return nOpps_nearBall; }
    double getParticipantsDistance() const { return participants_distance; }
    unsigned int getNumUses() const { return num_uses; }
    unsigned int getNumSuccess() const { return num_success; }
    unsigned int getNumUsesThisGame() const { return num_uses_thisGame; }
    unsigned int getNumSuccessThisGame() const { return num_success_thisGame; }

    // Kick-offs and goalie catches, where the ball's region says nothing.
    static bool regionFree(rcss::clang::PlayMode mode);

private:
    const int setplay_id;
    const std::string transverseRegion_name;
    const std::string longitudinalRegion_name;
    const std::string radialRegion_name;
    const rcss::clang::PlayMode playmode;
    const std::string oppTeam_name;
    const unsigned int nOpps_nearBall;
    const double participants_distance;
    const unsigned int num_uses;
    const unsigned int num_success;
    unsigned int num_uses_thisGame;
    unsigned int num_success_thisGame;
    double success_percentage;
    double eval;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
