#include "strategy/BehaveCarryBall.h"

#include <cmath>

#include "geometry/Geometry.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float NO_OPPONENT_DIST = 100;
const float POST_CLEARANCE = 0.168f;
const float SHIELD_ZONE_X = 5;
const float NEAR_GOAL = 4;
const float SCAN_FAR = 11;
const float SCAN_NEAR = 1;
const float SCAN_STEP = 0.1f;
const float GOAL_LINE_X = 15;
const float POST_Y = 1.05f;
const float CARRY_CURVE = 0.5f;
const float PUSH_BEHIND = 0.02f;

bool finite(Vector v) { return std::isfinite(v.x) && std::isfinite(v.y); }

Vector unit(Vector v) { return v.normalize(); }

void drawTarget(Vector me, Vector target, const plotColor& c, const char* line, const char* circle)
{
    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawLine(me, target, c, line);
    draw.drawCircle(target, 0.2f, c, circle);
}

} // namespace

BehaveCarryBall::BehaveCarryBall()
    : StrategicBehavior(&Singleton<WorldState>::getInstance(), nullptr), distancediff(0)
{
}

BehaveCarryBall::SharedState& BehaveCarryBall::fullState()
{
    static SharedState s;
    return s;
}

BehaveCarryBall::SharedState& BehaveCarryBall::reducedState()
{
    static SharedState s;
    return s;
}

void BehaveCarryBall::resetSharedState()
{
    fullState() = SharedState();
    reducedState() = SharedState();
}

bool BehaveCarryBall::isAvailable()
{
    switch (ws->game->playmode) {
    case QUORVEL_KICKOFF:
    case QUORVEL_KICKIN:
    case QUORVEL_CORNER_KICK:
    case QUORVEL_FREE_KICK:
    case QUORVEL_GOAL_KICK:
        return false;
    default:
        return true;
    }
}

bool BehaveCarryBall::commonSteps(SharedState& s, float& dd, Step& step)
{
    Vector ball = ws->ball->position.to2d();
    Vector me = ws->me->position.to2d();
    nearestOpp = bOmniMidLevelSkill->fastestOpponentRelBall();
    opponentDistBall = NO_OPPONENT_DIST;
    if (nearestOpp != nullptr) {
        Vector opp = nearestOpp->position.to2d();
        opponentDistBall = opp.getDistanceTo(ball);
        Vector toOpp = unit(opp - ball);
        Vector filtered = unit(s.ballToOpponent) * 0.95f + toOpp * 0.05f;
        if (finite(filtered))
            s.ballToOpponent = filtered;
    }
    float d = me.getDistanceTo(ball) - opponentDistBall;
    if (std::isfinite(d))
        dd = 0.8f * dd + 0.2f * d;

    step.avoidOpponents = ws->shouldAvoidOpp(bOmniMidLevelSkill->fastestOpponentRelMe());
    step.curve = ball.getDistanceTo(ws->theirGoalPos) > NEAR_GOAL ? CARRY_CURVE : 0;
    return dd > 0 && std::fabs(ball.x) <= SHIELD_ZONE_X && nearestOpp != nullptr && nearestOpp->isStanding() &&
           std::fabs(s.ballToOpponent.getDirection()) <= 90;
}

BehaveCarryBall::Step BehaveCarryBall::defend(const SharedState& s, float dd, const Step& base) const
{
    Vector ball = ws->ball->position.to2d();
    Vector A = ball + (ball - ws->myGoalPos);
    Vector B = ball + s.ballToOpponent;
    Step step = base;
    step.kind = Step::MOVE_BALL;
    step.defending = true;
    step.target = A + (B - A) / 2;
    step.curve = CARRY_CURVE;
    float maxDist = std::max(0.0f, 0.5f - ball.x / 10);
    step.distBehindBall = std::min(0.7f * dd, maxDist);
    return step;
}

Vector BehaveCarryBall::shotTarget(Vector target, float curve, int& drawn)
{
    drawn = 0;
    Vector ball = ws->ball->position.to2d();
    Vector me = ws->me->position.to2d();
    Vector goal = ws->theirGoalPos;
    float h = ws->goalWidth / 2 - POST_CLEARANCE;

    // Straight on: where my line through the ball meets their goal line.
    if (ball.x != me.x) {
        float y = me.y + (ball.y - me.y) * (goal.x - me.x) / (ball.x - me.x);
        if (std::isfinite(y) && y > goal.y - h && y < goal.y + h) {
            drawn = 1;
            return Vector(goal.x, y);
        }
    }
    if (!(goal.x - SCAN_FAR < ball.x && ball.x < goal.x - SCAN_NEAR))
        return target;

    // The spot of the goal mouth with the fewest obstacles on the way.
    Circle post(Vector(GOAL_LINE_X, me.y > 0 ? POST_Y : -POST_Y), 0.2f);
    size_t fewest = 30;
    Vector best(0, 0);
    bool found = false;
    for (int k = 0;; ++k) {
        float y = goal.y - h + k * SCAN_STEP;
        if (!(y < goal.y + h))
            break;
        Vector t(goal.x, y);
        Vector path = bOmniMidLevelSkill->findaPath(t, (t - me).getDirection(), curve);
        bOmniMidLevelSkill->discoverObstacle(path, false, true, true, post, false);
        size_t count = bOmniMidLevelSkill->cobstaclesVec.size();
        if (count < fewest) {
            fewest = count;
            best = t;
            found = true;
        }
    }
    // A goal mouth too narrow to scan keeps the given target.
    if (!found)
        return target;
    drawn = 2;
    return best;
}

bool BehaveCarryBall::shouldWalkThrough() const
{
    Vector ball = ws->ball->position.to2d();
    Vector me = ws->me->position.to2d();
    bool direct = true;
    for (const auto& entry : ws->opponentTeam) {
        if (entry.second == nullptr)
            continue;
        Vector p = entry.second->position.to2d();
        if (me.x < p.x && p.x < ball.x && std::fabs(p.y - me.y) < 1)
            direct = false;
    }
    if (nearestOpp != nullptr) {
        Vector opp = nearestOpp->position.to2d();
        if (me.x < ball.x && ball.x < opp.x && opponentDistBall < 1) {
            float meOpp = opp.getDistanceTo(me);
            float band = meOpp >= 4 ? 1.5f : (meOpp > 3 ? 1.25f : 1.0f);
            if (std::fabs(opp.y - me.y) < band)
                direct = true;
        }
    }
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        if (n == ws->unum)
            continue;
        const Player* mate = ws->getOstrevandaPlayer(n);
        if (mate == nullptr || mate->isStanding())
            continue;
        Vector p = mate->position.to2d();
        if (me.x < p.x && p.x < ball.x && std::fabs(p.y - me.y) < 1)
            direct = false;
    }
    return direct;
}

BehaveCarryBall::Step BehaveCarryBall::planFull(Vector generalTarget)
{
    Step step;
    SharedState& s = fullState();
    Vector me = ws->me->position.to2d();
    Vector ball = ws->ball->position.to2d();
    if (!finite(generalTarget))
        generalTarget = ws->theirGoalPos;
    const RobovizLogger& colours = RobovizLogger::Instance();

    if (commonSteps(s, distancediff, step)) {
        step = defend(s, distancediff, step);
        drawTarget(me, step.target, colours.magenta, "defenseTargetLine", "defenseTargetCircle");
        return step;
    }

    int drawn = 0;
    Vector target = shotTarget(generalTarget, step.curve, drawn);
    if (drawn == 1)
        drawTarget(me, target, colours.red, "generalTargetLine", "generalTargetCircle");
    else if (drawn == 2)
        drawTarget(me, target, colours.blue, "generalTargetLine1", "generalTargetCircle1");

    step.kind = Step::MOVE_BALL;
    step.distBehindBall = PUSH_BEHIND;
    bool direct = ws->shouldGoDirect();
    if (direct && shouldWalkThrough()) {
        Vector F = ws->ball->finalPos.to2d();
        step.kind = Step::GO_DIRECT;
        step.target = F + unit(F - me);
        drawTarget(me, step.target, colours.cyan, "vDTargetLine", "vDTargetCircle");
        return step;
    }
    if (!direct && ws->shouldTurn(ball)) {
        step.kind = Step::GO_DIRECT;
        step.target = ball;
        return step;
    }
    if (ws->isClearerTarget(target))
        target = ws->findClearTarget(target);
    step.target = target;
    if (direct)
        drawTarget(me, target, colours.black, "generalTargetLine1", "generalTargetCircle1");
    else
        drawTarget(me, target, colours.white, "generalTargetLine2", "generalTargetCircle2");
    return step;
}

BehaveCarryBall::Step BehaveCarryBall::planReduced(Vector generalTarget, bool penaltyKicker)
{
    Step step;
    SharedState& s = reducedState();
    Vector me = ws->me->position.to2d();
    Vector ball = ws->ball->position.to2d();
    if (!finite(generalTarget))
        generalTarget = ws->theirGoalPos;

    bool shield = commonSteps(s, s.distancediff, step);
    if (penaltyKicker)
        step.curve = 0;
    if (shield)
        return defend(s, s.distancediff, step);

    step.kind = Step::MOVE_BALL;
    step.distBehindBall = PUSH_BEHIND;
    if (ws->shouldGoDirect()) {
        step.target = ball + unit(ball - me);
        step.curve = 0.001f;
    } else if (ws->shouldTurn(ball)) {
        step.kind = Step::GO_DIRECT;
        step.target = ball;
    } else {
        step.target = generalTarget;
    }
    return step;
}

void BehaveCarryBall::issue(const Step& step)
{
    // Nothing but a finite command reaches the walk.
    Vector target = finite(step.target) ? step.target : ws->ball->position.to2d();
    if (step.kind == Step::GO_DIRECT)
        actions()->gotoPointDesperate(target);
    else
        actions()->moveBalltoTarg(target, step.curve, true, step.avoidOpponents, step.distBehindBall);
}

void BehaveCarryBall::executeBehavior(Vector generalTarget) { issue(planFull(generalTarget)); }

void BehaveCarryBall::executeBehavior(Vector generalTarget, bool penaltyKicker)
{
    issue(planReduced(generalTarget, penaltyKicker));
}
