#include "strategy/BehaveKickAvoid.h"

#include <cmath>

#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float OPP_TO_BALL = 2.5f;
const float ME_TO_BALL = 0.7f;
const float ME_TO_OPP = 0.75f;
const float ANGLE_OPP = 90;
const float ANGLE_BALL = 60;
const float ANGLE_GOAL = 90;

} // namespace

BehaveKickAvoid::BehaveKickAvoid()
    : StrategicBehavior(&Singleton<WorldState>::getInstance(), nullptr),
      targetKick(0, 0)
{
}

bool BehaveKickAvoid::isAvailable()
{
    Player* opp = bOmniMidLevelSkill->fastestOpponentRelMe();
    if (opp == nullptr || ws->me == nullptr)
        return false;
    Vector M = ws->myPos;
    Vector B = ws->ballPos;
    Vector O = opp->position.to2d();
    float theta = ws->me->orientation;

    // Differences taken as they are, not brought back into a half turn.
    float angOpp = std::fabs((O - M).getDirection() - theta);
    float angBall = std::fabs((B - M).getDirection() - theta);
    float angGoal = std::fabs((ws->theirGoalPos - M).getDirection() - theta);
    float meBall = B.getDistanceTo(M);
    float meOpp = O.getDistanceTo(M);
    float oppBall = O.getDistanceTo(B);

    bool kick;
    if (ws->getCurrentBehavior() == KickAvoid && meOpp > ME_TO_OPP)
        kick = true;
    else
        kick = oppBall < OPP_TO_BALL && meBall < ME_TO_BALL && meOpp > ME_TO_OPP &&
               angOpp < ANGLE_OPP && angBall < ANGLE_BALL && angGoal < ANGLE_GOAL &&
               ws->game->playmode == PLAY_ON;
    if (kick) {
        float side = std::fabs(B.y - M.y);
        targetKick = Vector(2 * B.x - M.x, B.y >= 0 ? B.y + side : B.y - side);
    }
    return kick;
}

void BehaveKickAvoid::executeBehavior()
{
    actions()->dynamicKickToTarget(targetKick, false);
}
