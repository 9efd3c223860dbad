#ifndef OSTREVANDA_SETPLAY_PROBLEMCONTEXT_H
#define OSTREVANDA_SETPLAY_PROBLEMCONTEXT_H

#include <memory>
#include <string>

#include "setplay/Point.h"
#include "setplay/clang/PlayMode.h"

namespace ostrevanda {
namespace setplay {

class Context;

// The present situation as the case base compares it with its cases.
class ProblemContext {
public:
    ProblemContext();
    ProblemContext(const Context& world, double _nOpps_nearBall);
    ~ProblemContext();
    ProblemContext(const ProblemContext&) = delete;
    ProblemContext& operator=(const ProblemContext&) = delete;

    void update(const Context& world, double _nOpps_nearBall);
    // The three region names of the ball; "irrelevant" where the play mode
    // makes one meaningless or no region holds the ball.
    void setBallRegion(const Context& world);

    const PointSimple* getBallPos() const { return ballPos.get(); }
    rcss::clang::PlayMode getPlayMode() const { return playmode; }
    unsigned int getNOpps_nearBall() const { return nOpps_nearBall; }
    const std::string& getTransverseRegion() const { return transverseRegion; }
    const std::string& getLongitudinalRegion() const { return longitudinalRegion; }
    const std::string& getRadialRegion() const { return radialRegion; }
    // Already in the case base's form (caseTeamName).
    const std::string& getOppName() const { return oppName; }

private:
    std::unique_ptr<const PointSimple> ballPos;
    rcss::clang::PlayMode playmode;
    unsigned int nOpps_nearBall;
    std::string transverseRegion;
    std::string longitudinalRegion;
    std::string radialRegion;
    std::string oppName;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
