#include <algorithm>
#include <cmath>

#include "KVDAgentH.h"
#include "geometry/Geometry.h"
#include "physics/AgentModel.h"
#include "skills/AgentActions.h"
#include "skills/SlotBehavior.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

// Our goal line, and the extent of a goal area beyond |x| and within |y|.
const float END_FIELD = -15;
const float LINE_FRONT = 13.2f;
const float LINE_SIDE = 3;
// A ball faster than this (m/s) within DIVE_RANGE of our goal makes the goalie dive.
const float DIVE_SPEED = 4.8f;
const float DIVE_RANGE = 6;

// The sign of v, +1 for 0.
float signOf(float v) { return v < 0 ? -1.0f : 1.0f; }

bool inGoalArea(Vector b) { return std::fabs(b.x) > LINE_FRONT && std::fabs(b.y) < LINE_SIDE; }

} // namespace

double KVDAgentH::crossingY(Vector from, Vector to, float x)
{
    if (to.x == from.x)
        return from.y;
    const double slope = (static_cast<double>(to.y) - from.y) / (static_cast<double>(to.x) - from.x);
    return from.y + (x - from.x) * slope;
}

Vector KVDAgentH::penaltyGoalieLinePoint(Vector ball, Vector myGoal)
{
    Vector t(END_FIELD + 0.5f, 0);
    if (std::fabs(ball.x) > 11)
        t.x = END_FIELD;
    const float projection = static_cast<float>(crossingY(ball, myGoal, END_FIELD + 0.5f));
    if (std::fabs(ball.y) < 1.5f) {
        t.y = std::fabs(projection) < 1.5f ? projection : 0.3f * ball.y;
    } else if (std::fabs(ball.x) < 11) {
        t.y = 0.3f * signOf(ball.y);
    } else {
        t.x += 1;
        t.y = 1.5f * signOf(ball.y);
    }
    return t;
}

Vector KVDAgentH::penaltyClearingTarget(Vector ball, bool opponentAtBall)
{
    if (std::fabs(ball.x) < std::fabs(END_FIELD) - 0.2f || opponentAtBall)
        return Vector(LINE_FRONT, ball.y);
    return Vector(END_FIELD, 2.5f * signOf(ball.y));
}

SlotBehavior* KVDAgentH::penaltyDive(double y) const
{
    if (y > 0.5)
        return agentActions->bFallRight;
    if (y < -0.5)
        return agentActions->bFallLeft;
    return agentActions->bGoalieHockeyDefend;
}

void KVDAgentH::behavePenaltyGoalie()
{
    const Vector ball = ws->ball->position.to2d();
    const Vector3f front = ws->getFrontCenterGoal();
    const Vector goalPos(front.x, front.y);
    const Vector me = ws->me->position.to2d();

    if (inGoalArea(ball)) {
        Player* kicker = bOmniMidLevelSkill.fastestOpponentRelBall();
        const bool atBall = kicker != nullptr && kicker->position.to2d().getDistanceTo(ball) < 0.5f;
        if (isActiveKick())
            agentActions->kickToTarget(ws->theirGoalPos);
        else
            agentActions->moveBalltoTarg(penaltyClearingTarget(ball, atBall), 0, false, true, 0.02f);
    } else {
        agentActions->goToStrategicPoint(penaltyGoalieLinePoint(ball, ws->myGoalPos), (goalPos - me).getDirection(),
                                         true, true, true, Circle(Vector(0, 0), 0));
    }

    if (ws->game->playmode == OPPONENT_KICKOFF)
        return;
    const Vector speed = ws->ball->speed.to2d();
    if (speed.length() > DIVE_SPEED && ball.getDistanceTo(ws->myGoalPos) < DIVE_RANGE) {
        const Vector3f final = ws->ballEstimator.estimatedFinalPos();
        ballPrediction = crossingY(ball, final.to2d(), ws->myGoalPos.x);
        agentActions->currBehavior = penaltyDive(ballPrediction);
        agentActions->currBehavior->init();
    }
}

void KVDAgentH::behavePenaltyShooter()
{
    if (ws->game->playmode != QUORVEL_KICKOFF)
        return;
    const Vector ball = ws->ball->position.to2d();
    if (ws->me->position.to2d().getDistanceTo(ball) > 4)
        agentActions->gotoPointDesperate(ball);
    else
        agentActions->kickToTarget(Vector(ws->theirGoalPos.x, ws->theirGoalPos.y - 0.5f));
}

bool KVDAgentH::isActiveKick()
{
    if (ws->game->playmode == QUORVEL_GOAL_KICK)
        return true;
    const Vector b = ws->ball->position.to2d();
    const float toGoal = b.getDistanceTo(ws->theirGoalPos);
    if (toGoal < 7 || (toGoal > 10 && toGoal < 15) || mod->getRobotType() == 4)
        return false;
    if (std::fabs(b.y) > 2.5f && b.x > 0)
        return false;
    // Time to position plus time to kick, at an opponent's speed.
    const float safe = (1.1f + 1.5f) * 1.0f;
    float nearest = 10;
    for (int u = 1; u <= WorldState::MAX_UNUM; u++) {
        Player* o = ws->getOpponentPlayer(u);
        if (o == nullptr || o->conf < 0.3f)
            continue;
        nearest = std::min(nearest, b.getDistanceTo(o->position.to2d()));
    }
    return nearest > safe;
}
