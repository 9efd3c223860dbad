#include "strategy/GoalKickMarking.h"

#include <limits>
#include <string>

#include "geometry/Geometry.h"
#include "logger/LoggerBuffer.h"
#include "skills/AgentActions.h"
#include "strategy/Role.h"
#include "utils/RobovizLogger.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float OUR_BALL_X = -13.2f, THEIR_BALL_X = 13.2f, BALL_Y = 2.95f;
const float OUR_POINT_X = -14.9f, THEIR_POINT_X = 11.5f, POINT_Y = 5.42f;

// The three roles that may mark, by goal kick and field side.
const int OUR_ROLES[2][3] = {{DBL, DFL, KEL}, {DBR, DFR, KER}};
const int THEIR_ROLES[2][3] = {{KEL, SUL, KCF}, {KER, SUR, KCF}};

void trace(const std::string& text) { LoggerBuffer::getInstance().trace(text + "\n"); }

} // namespace

GoalKickMarking::GoalKickMarking(WorldState* ws, AgentActions* actions)
    : StrategicBehavior(ws, actions), setTheirGoalKick(false), lastTheirGoalKick(-1), setOurGoalKick(false),
      lastOurGoalKick(-1), ballTarget(OUR_BALL_X, 0), ourTarget(OUR_POINT_X, 0), theirTarget(THEIR_POINT_X, 0)
{
}

void GoalKickMarking::updatePoints()
{
    const float s = ws->game->side == 2 ? 1.0f : -1.0f;
    ballTarget.y = s * BALL_Y;
    ourTarget.y = s * POINT_Y;
    theirTarget.y = s * POINT_Y;
}

bool GoalKickMarking::isOurGoalKickMarkingAvailable() { return markingAvailable(true); }

bool GoalKickMarking::isTheirGoalKickMarkingAvailable() { return markingAvailable(false); }

bool GoalKickMarking::markingAvailable(bool ours)
{
    updatePoints();
    const int pm = ws->game->playmode;
    const int goalKick = ours ? QUORVEL_GOAL_KICK : OPPONENT_GOAL_KICK;
    if (pm != goalKick && pm != PLAY_ON)
        return false;
    bool& on = ours ? setOurGoalKick : setTheirGoalKick;
    double& since = ours ? lastOurGoalKick : lastTheirGoalKick;
    const Vector point = ours ? ourTarget : theirTarget;
    // Only our goal kick is traced.
    auto note = [ours](const std::string& text) {
        if (ours)
            trace(text);
    };

    for (int u = 2; u <= WorldState::MAX_UNUM; u++) {
        Player* p = ws->getOstrevandaPlayer(u);
        if (p == nullptr || p == ws->me || u == ws->me->unum)
            continue;
        if (p->position.to2d().getDistanceTo(point) < OCCUPIED) {
            on = false;
            note("TIME 1:" + std::to_string(ws->gTime) + "player: " + std::to_string(u));
            return false;
        }
    }
    note("saiu1");

    if (!on) {
        const int (&roles)[3] = (ours ? OUR_ROLES : THEIR_ROLES)[ws->game->side == 2 ? 1 : 0];
        const int mine = ws->me->getRole().getIdRole();
        if (mine != roles[0] && mine != roles[1] && mine != roles[2]) {
            note("FALSE");
            return false;
        }
        note("saiu2");
        // A role nobody holds counts as infinitely far from the point.
        if (!ours || pm == goalKick) {
            Player* holder[3];
            float dist[3];
            for (int k = 0; k < 3; k++) {
                holder[k] = ws->getQuorvelPlayerByRole(roles[k]);
                dist[k] = holder[k] == nullptr ? std::numeric_limits<float>::infinity()
                                               : holder[k]->position.to2d().getDistanceTo(point);
            }
            for (int k = 0; k < 3; k++) {
                const bool nearest = dist[k] < dist[(k + 1) % 3] && dist[k] < dist[(k + 2) % 3];
                if (nearest && holder[k]->unum != ws->me->unum) {
                    note("FALSE");
                    return false;
                }
            }
        }
    }
    note("saiu3");
    if (pm == goalKick) {
        if (!on) {
            on = true;
            since = ws->gTime;
        }
        note("saiu4");
    }
    if (pm == PLAY_ON && on && ws->gTime - since > RUN_TIME) {
        note("GTIME: " + std::to_string(ws->gTime) + " LastOurGoalKick: " + std::to_string(since));
        on = false;
    }
    note("saiu5");
    note(on ? "TRUE" : "FALSE");
    return on;
}

GoalKickMarking::Move GoalKickMarking::ourMove() { return move(true); }

GoalKickMarking::Move GoalKickMarking::theirMove() { return move(false); }

GoalKickMarking::Move GoalKickMarking::move(bool ours)
{
    ballTarget.x = ours ? OUR_BALL_X : THEIR_BALL_X;
    const int pm = ws->game->playmode;
    if (pm == (ours ? QUORVEL_GOAL_KICK : OPPONENT_GOAL_KICK)) {
        const Vector point = ours ? ourTarget : theirTarget;
        return {Move::TO_POINT, point, (ballTarget - point).getDirection()};
    }
    if (pm == PLAY_ON) {
        // One metre beyond the ball on my line through it.
        const Vector ball = ws->ball->position.to2d();
        Vector through = ball - ws->me->position.to2d();
        through = through.length() > 0 ? ball + through.normalize() : ball;
        return {Move::THROUGH_BALL, through, 0};
    }
    return {Move::NONE, Vector(0, 0), 0};
}

void GoalKickMarking::execute(const Move& m)
{
    if (m.kind == Move::TO_POINT)
        agentActions->goToStrategicPoint(m.target, m.facing, true, true, true, Circle(Vector(-16, 0), 0.1f));
    else if (m.kind == Move::THROUGH_BALL)
        agentActions->gotoPointDesperate(m.target);
}

void GoalKickMarking::executeOurGoalKickMarking()
{
    const Move m = ourMove();
    if (m.kind == Move::THROUGH_BALL) {
        RobovizLogger& draw = RobovizLogger::Instance();
        draw.drawLine(ws->me->position.to2d(), m.target, draw.magenta, "GOAL MARKING GO DESPERATE");
        trace("entrei aqui ");
    }
    execute(m);
}

void GoalKickMarking::executeTheirGoalKickMarking() { execute(theirMove()); }

void GoalKickMarking::executeBehavior()
{
    if (setOurGoalKick)
        executeOurGoalKickMarking();
    else if (setTheirGoalKick)
        executeTheirGoalKickMarking();
}
