#include "setplay/ProblemContext.h"

#include <algorithm>
#include <cmath>

#include "setplay/Case.h"
#include "setplay/Context.h"
#include "setplay/Region.h"
#include "setplay/SetplayException.h"

namespace ostrevanda {
namespace setplay {

namespace {

const char* const IRRELEVANT = "irrelevant";

template <typename F>
std::string nameOr(F regionName) {
    try {
        return regionName();
    } catch (const SetplayException&) {
        return IRRELEVANT;
    }
}

}  // namespace

ProblemContext::ProblemContext() : playmode(rcss::clang::None), nOpps_nearBall(0) {}

ProblemContext::ProblemContext(const Context& world, double _nOpps_nearBall) : ProblemContext() {
    update(world, _nOpps_nearBall);
}

ProblemContext::~ProblemContext() {}

void ProblemContext::update(const Context& world, double _nOpps_nearBall) {
    const PointSimple* ball = world.ballPos();
    ballPos.reset(ball ? ball->exactCopy() : nullptr);
    playmode = world.playMode();
    oppName = caseTeamName(world.opponentName());
    nOpps_nearBall = (_nOpps_nearBall > 0 && _nOpps_nearBall < 4294967296.0) ? static_cast<unsigned>(_nOpps_nearBall)
                                                                              : 0u;
    setBallRegion(world);
}

void ProblemContext::setBallRegion(const Context& world) {
    transverseRegion = longitudinalRegion = radialRegion = IRRELEVANT;
    if (Case::regionFree(playmode) || !ballPos) return;
    const double x = ballPos->getX()->value(), y = ballPos->getY()->value();
    const double halfL = world.fieldLength() / 2, halfW = world.fieldWidth() / 2;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(halfL) || !std::isfinite(halfW)) return;
    const PointSimple normalizedPoint(new Decimal(std::max(-halfL, std::min(halfL, x))),
                                      new Decimal(std::max(-halfW, std::min(halfW, y))));
    longitudinalRegion = nameOr([&] { return RegNamed::getLongitudinalRegion(&normalizedPoint, world); });
    if (playmode == rcss::clang::CornerKick_Our || playmode == rcss::clang::CornerKick_Opp) return;
    transverseRegion = nameOr([&] { return RegNamed::getTransversalRegion(&normalizedPoint, world); });
    if (playmode == rcss::clang::KickIn_Our || playmode == rcss::clang::KickIn_Opp) return;
    radialRegion = nameOr([&] { return RegNamed::getRadialRegion(&normalizedPoint, world); });
}

}  // namespace setplay
}  // namespace ostrevanda
