#include "setplay/Case.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

#include "setplay/Cond.h"
#include "setplay/ProblemContext.h"
#include "setplay/Region.h"
#include "setplay/simpleParsers.h"

namespace ostrevanda {
namespace setplay {

namespace {

bool nameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

double finiteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

const char* modeName(rcss::clang::PlayMode mode) {
    const int i = static_cast<int>(mode);
    // The unnamed mode would make an unreadable record.
    if (i <= 0 || i >= rcss::clang::MODE_STRINGS_LENGTH) return rcss::clang::MODE_STRINGS[rcss::clang::Invalid];
    return rcss::clang::MODE_STRINGS[i];
}

unsigned int ratio(unsigned int a, unsigned int b) { return b == 0 ? 0 : a / b; }

}  // namespace

std::string caseTeamName(const std::string& name) {
    if (name.empty()) return "unknown";
    std::string s = name;
    for (char& c : s)
        if (!nameChar(c)) c = '_';
    return s;
}

Case::Case(int _spId, const std::string& _transReg, const std::string& _longReg, const std::string& _radReg,
           const rcss::clang::PlayMode& _pmode, const std::string& _oppName, unsigned int _nOpps_nearBall,
           double _playersDistance, unsigned int _numUses, unsigned int _numSuccess, unsigned int _numUsesThisGame,
           unsigned int _numSuccessThisGame, double _successRate)
    : setplay_id(_spId),
      transverseRegion_name(_transReg),
      longitudinalRegion_name(_longReg),
      radialRegion_name(_radReg),
      playmode(_pmode),
      oppTeam_name(caseTeamName(_oppName)),
      nOpps_nearBall(_nOpps_nearBall),
      participants_distance(finiteOrZero(_playersDistance)),
      num_uses(_numUses),
      num_success(_numSuccess),
      num_uses_thisGame(_numUsesThisGame),
      num_success_thisGame(_numSuccessThisGame),
      success_percentage(finiteOrZero(_successRate)),
      eval(0.0) {}

void Case::setSucessPercentage(double _successRate) { success_percentage = finiteOrZero(_successRate); }

void Case::addUse(bool successfully_completed) {
    ++num_uses_thisGame;
    if (successfully_completed) ++num_success_thisGame;
}

bool Case::regionFree(rcss::clang::PlayMode mode) {
    return mode == rcss::clang::KickOff_Our || mode == rcss::clang::KickOff_Opp ||
           mode == rcss::clang::GoalieCatch_Our || mode == rcss::clang::GoalieCatch_Opp;
}

Case* Case::parse(const std::string& text_in, std::string& text_out) {
    text_out = text_in;
    Scan sc(text_in);
    int id = 0, nOpps = 0, uses = 0, success = 0, usesThis = 0, successThis = 0;
    double distance = 0.0, rate = 0.0;
    std::string trans, lon, rad, mode, adversary;
    const bool matched = sc.kw("(case") && sc.kw(":setplayId") && sc.integer(id) && sc.kw(":transverse") &&
                         sc.identifier(trans) && sc.kw(":longitudinal") && sc.identifier(lon) && sc.kw(":radial") &&
                         sc.identifier(rad) && sc.kw(":gameMode") && sc.identifier(mode) && sc.kw(":adversary") &&
                         sc.identifier(adversary) && sc.kw(":numOpps") && sc.integer(nOpps) &&
                         sc.kw(":playersDistance") && sc.real(distance) && sc.kw(":numUses") && sc.integer(uses) &&
                         sc.kw(":numSuccess") && sc.integer(success) && sc.kw(":numUsesThisGame") &&
                         sc.integer(usesThis) && sc.kw(":numSuccessThisGame") && sc.integer(successThis) &&
                         sc.kw(":successRate") && sc.real(rate) && sc.ch(')');
    // Counts are never negative, and the folded counts must read back as ints once written.
    const bool counts = nOpps >= 0 && uses >= 0 && success >= 0 && usesThis >= 0 && successThis >= 0 &&
                        uses <= INT_MAX - usesThis && success <= INT_MAX - successThis;
    std::unique_ptr<rcss::clang::PlayMode> pm(matched && counts ? CondPlayMode::parsePlayMode(mode) : nullptr);
    if (!pm) {
        std::cerr << "SP: Bad case parse!" << std::endl;
        return nullptr;
    }
    text_out = sc.rest();
    return new Case(id, trans, lon, rad, *pm, adversary, static_cast<unsigned>(nOpps), distance,
                    static_cast<unsigned>(uses) + static_cast<unsigned>(usesThis),
                    static_cast<unsigned>(success) + static_cast<unsigned>(successThis), 0, 0, rate);
}

std::string Case::toString() const {
    std::ostringstream os;
    os << "(case :setplayId " << setplay_id << " :transverse " << transverseRegion_name << " :longitudinal "
       << longitudinalRegion_name << " :radial " << radialRegion_name << " :gameMode " << modeName(playmode)
       << " :adversary " << oppTeam_name << " :numOpps " << nOpps_nearBall << std::fixed << std::setprecision(6)
       << " :playersDistance " << participants_distance << " :numUses " << num_uses << " :numSuccess "
       << num_success << " :numUsesThisGame " << num_uses_thisGame << " :numSuccessThisGame "
       << num_success_thisGame << " :successRate " << success_percentage << ")";
    return os.str();
}

bool Case::equals(const Case& other) const {
    if (setplay_id != other.setplay_id || oppTeam_name != other.oppTeam_name || playmode != other.playmode)
        return false;
    if (regionFree(playmode)) return true;
    return transverseRegion_name == other.transverseRegion_name &&
           longitudinalRegion_name == other.longitudinalRegion_name &&
           radialRegion_name == other.radialRegion_name;
}

double Case::similarityEvaluate(const ProblemContext& problem, const CaseSimilarityWeights& w,
                                double players_distance) const {
    double region;
    if (playmode == rcss::clang::KickOff_Opp || playmode == rcss::clang::GoalieCatch_Our ||
        playmode == rcss::clang::GoalieCatch_Opp ||
        (playmode == rcss::clang::KickOff_Our && problem.getPlayMode() == rcss::clang::KickOff_Our)) {
        region = w.region_distance;
    } else {
        std::uint32_t distance = 0;
        if (problem.getLongitudinalRegion() != longitudinalRegion_name)
            distance += RegNamed::longitudinalRegionDistance(problem.getLongitudinalRegion(), longitudinalRegion_name);
        if (problem.getTransverseRegion() != transverseRegion_name)
            distance += RegNamed::transverseRegionDistance(problem.getTransverseRegion(), transverseRegion_name);
        if (problem.getRadialRegion() != radialRegion_name)
            distance += RegNamed::radialRegionDistance(problem.getRadialRegion(), radialRegion_name);
        region = std::pow(0.5, static_cast<double>(distance)) * w.region_distance;
    }
    const double opponent =
        (oppTeam_name == problem.getOppName() && oppTeam_name != "unknown") ? w.same_opponent : 0.0;
    const double players = std::pow(0.5, std::fabs(participants_distance - players_distance)) * w.players_distance;
    // A case that counted fewer opponents than now wraps to a huge difference.
    const std::uint32_t d = static_cast<std::uint32_t>(nOpps_nearBall) - problem.getNOpps_nearBall();
    const double opps = std::pow(0.5, static_cast<double>(d)) * w.nOpps_nearBall;
    return (region + opponent + players + opps) /
           (w.region_distance + w.same_opponent + w.players_distance + w.nOpps_nearBall);
}

double Case::conclusionEvaluate(const CaseConclusionWeights& w) const {
    const double a = ratio(num_uses, num_success);
    const double b = ratio(num_uses_thisGame, num_success_thisGame);
    return (a * w.uses_otherGames + b * w.uses_thisGame + success_percentage * w.sucess_percentage) /
           (w.uses_otherGames + w.uses_thisGame + w.sucess_percentage);
}

double Case::evaluate(const ProblemContext& problem, const CaseSimilarityWeights& sw, const CaseConclusionWeights& cw,
                      double players_distance) {
    eval = (conclusionEvaluate(cw) * cw.conclusion + similarityEvaluate(problem, sw, players_distance) * sw.similarity) /
           (cw.conclusion + sw.similarity);
    return eval;
}

}  // namespace setplay
}  // namespace ostrevanda
