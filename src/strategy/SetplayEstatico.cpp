#include "strategy/SetplayEstatico.h"

#include <cmath>

#include "physics/AgentModel.h"
#include "physics/BodyObject.h"
#include "skills/AgentActions.h"
#include "strategy/Pass.h"
#include "strategy/Receiver.h"
#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float PLAY_TIME = 25;
const float START_TIME = 7;
const float KICK_WAIT = 6;
const float MARK_KEEP_DIST = 4;
const float FAR = 100;

Vector planar(const Player* p) { return p->position.to2d(); }

// An obstacle of no size: a walk with it avoids nothing.
Circle noObstacle() { return Circle(Vector(15, 0), 0); }

} // namespace

SetplayEstatico::SetplayEstatico() : SetplayEstatico(NO_SETPLAY) {}

SetplayEstatico::SetplayEstatico(int setplay)
    : ws(&Singleton<WorldState>::getInstance()),
      agentActions(nullptr),
      rv(&RobovizLogger::Instance()),
      strategy(ws->strategy),
      passBall(new Pass()),
      receiveBall(new Receiver()),
      offensiveMarker(ws, nullptr),
      carryBall(),
      setplay(setplay),
      step(0),
      deadline(0),
      receptor(0),
      ballKickTime(0),
      badKickAbort(false)
{
}

SetplayEstatico::~SetplayEstatico() {}

AgentActions* SetplayEstatico::actions()
{
    // The action library loads its motions when first asked for.
    if (agentActions == nullptr)
        agentActions = &Singleton<AgentActions>::getInstance();
    return agentActions;
}

float SetplayEstatico::sinceKickOff() const { return ws->gTime - ws->getLastQuorvelKickoff(); }

void SetplayEstatico::abort()
{
    actions()->kickState = 0;
    step = 0;
    ws->me->markedOppNum = 0;
}

bool SetplayEstatico::isAvailable(int which)
{
    if (which != KICK_OFF) {
        step = 0;
        return false;
    }
    Vector ball = ws->ball->position.to2d();
    const Player* opp = ws->getOpponentPlayer(ws->closeOpp);
    bool oppOnBall = opp != nullptr && std::fabs(opp->position.y - ball.y) < 0.5f &&
                     planar(opp).getDistanceTo(ball) < 0.4f;
    if (oppOnBall || sinceKickOff() > PLAY_TIME || ws->unum < 6 || ws->unum > 11) {
        abort();
        return false;
    }
    int pm = ws->game->playmode;
    bool playOn = pm == PLAY_ON;
    switch (step) {
    case 0:
        if (sinceKickOff() <= START_TIME && (playOn || pm == QUORVEL_KICKOFF)) {
            setplay = which;
            step = 1;
            return true;
        }
        step = 0;
        return false;
    case 1:
        if (playOn || pm == QUORVEL_KICKOFF)
            return true;
        actions()->kickState = 0;
        step = 0;
        return false;
    case 2:
        if ((playOn || pm == QUORVEL_KICKOFF || pm == PASS_QUORVEL) && !badKickAbort)
            return true;
        break;
    case 3:
        if (playOn || pm == PASS_QUORVEL)
            return true;
        break;
    case 4:
        if (playOn)
            return true;
        break;
    default:
        step = 0;
        return false;
    }
    abort();
    return false;
}

bool SetplayEstatico::shouldChangeStepKickOff()
{
    Vector ball = ws->ball->position.to2d();
    const Player* six = ws->getOstrevandaPlayer(6);
    float ballToSix = six == nullptr ? FAR : planar(six).getDistanceTo(ball);
    switch (step) {
    case 1:
        if (sinceKickOff() > KICK_WAIT && ball.getDistanceTo(Vector(0, 0)) > 0.5f) {
            ballKickTime = ws->gTime;
            actions()->kickState = 0;
            return true;
        }
        return false;
    case 2:
        if (ws->unum == 9 || ws->unum == 10)
            return false;
        return ballToSix < 2;
    case 3:
        return ballToSix > 2;
    case 4: {
        const Player* r = receptor != 0 ? ws->getOstrevandaPlayer(receptor) : nullptr;
        return r != nullptr && planar(r).getDistanceTo(ball) < 5;
    }
    default:
        step = 0;
        return false;
    }
}

bool SetplayEstatico::run()
{
    if (setplay != KICK_OFF || step < 1 || step > 4) {
        step = 0;
        return false;
    }
    if (shouldChangeStepKickOff())
        ++step;
    if (step < 1 || step > 4) {
        step = 0;
        return false;
    }
    Move m = planStep();
    perform(m);
    return m.kind != Move::NONE;
}

SetplayEstatico::Move SetplayEstatico::planStep()
{
    switch (step) {
    case 1:
        return step1KickOff();
    case 2:
        return step2KickOff();
    case 3:
        return step3KickOff();
    case 4:
        return step4KickOff();
    default:
        step = 0;
        return Move();
    }
}

SetplayEstatico::Move SetplayEstatico::walk(Vector target, Circle obstacle) const
{
    Move m;
    m.kind = Move::WALK;
    m.target = target;
    m.dir = (ws->ball->finalPos.to2d() - ws->myPos).getDirection();
    m.obstacle = obstacle;
    return m;
}

SetplayEstatico::Move SetplayEstatico::step1KickOff()
{
    badKickAbort = false;
    Circle aroundBall(ws->ball->position.to2d(), 1);
    switch (ws->unum) {
    case 6:
        return walk(Vector(-5, 0), aroundBall);
    case 7:
        return walk(ws->myPos, aroundBall);
    case 8: {
        Move m = walk(ws->myPos, aroundBall);
        m.dir = (Vector(8, 5) - ws->myPos).getDirection();
        return m;
    }
    case 9:
    case 10:
        return screen();
    case 11: {
        const Player* six = ws->getOstrevandaPlayer(6);
        if (six == nullptr)
            return Move();
        Move m;
        m.kind = Move::KICK_TOWARD;
        m.target = planar(six);
        return m;
    }
    default:
        step = 0;
        return Move();
    }
}

SetplayEstatico::Move SetplayEstatico::step2KickOff()
{
    Vector ball = ws->ball->position.to2d();
    if (std::fabs(ws->ball->speed.x) < 0.2f && ball.getDistanceTo(Vector(0, 0)) < 2 &&
        ws->gTime - ballKickTime > 1)
        badKickAbort = true;
    if (ws->unum == 6) {
        if (ws->gTime - ballKickTime > 1)
            return walk(ball - Vector(0.8f, 0), noObstacle());
        return walk(Vector(-5, 0), noObstacle());
    }
    return runForward(Vector(5, -5), Vector(5, 5), true);
}

SetplayEstatico::Move SetplayEstatico::step3KickOff()
{
    if (ws->unum == 6) {
        actions()->serverPass();
        int nearest = 0;
        float best = 0;
        for (int n : {9, 10, 11}) {
            const Player* p = ws->getOstrevandaPlayer(n);
            if (p == nullptr)
                continue;
            float d = planar(p).getDistanceTo(Vector(0, 0));
            if (nearest == 0 || d < best) {
                nearest = n;
                best = d;
            }
        }
        Move m;
        m.kind = Move::PASS;
        if (nearest != 0 && passBall->isActivePass(nearest, Vector(0, 0), true))
            receptor = nearest;
        PassMethods kick = passBall->getPassMethods();
        m.kick = (passBall->getActivePass() || passBall->getDeadline() > 0) && kick.getKickType() == kick.SUPERKICK;
        m.target = passBall->getPassTarget();
        return m;
    }
    return runForward(Vector(8, -2), Vector(8, 2), true);
}

SetplayEstatico::Move SetplayEstatico::step4KickOff()
{
    if (ws->closeTeam == ws->unum) {
        step = 0;
        return Move();
    }
    if (ws->unum == 6) {
        step = 0;
        ws->me->markedOppNum = 0;
        return Move();
    }
    return runForward(Vector(8, -5), Vector(8, 5), false);
}

SetplayEstatico::Move SetplayEstatico::runForward(Vector seven, Vector eight, bool marking)
{
    switch (ws->unum) {
    case 7:
        return walk(seven, noObstacle());
    case 8:
        return walk(eight, noObstacle());
    case 9:
    case 10:
        if (marking)
            return mark();
        break;
    case 11:
        return walk(Vector(8, 0), noObstacle());
    default:
        break;
    }
    step = 0;
    return Move();
}

SetplayEstatico::Move SetplayEstatico::screen()
{
    Player* nearest = nearestOpponent(0);
    if (nearest == nullptr)
        return Move();
    Move m;
    m.target = (Vector(-5, 0) + planar(nearest)) / 2;
    if (ws->unum == 9)
        m.target.y = std::min(m.target.y, -1.0f);
    else
        m.target.y = std::max(m.target.y, 1.0f);
    bool there = std::fabs(m.target.x - ws->myPos.x) < 0.3f && std::fabs(m.target.y - ws->myPos.y) < 0.3f;
    m.kind = there ? Move::STEP_IN_PLACE : Move::GO_DIRECT;
    return m;
}

Player* SetplayEstatico::opponentToOffensiveMarker() { return nearestOpponent(ws->me->oppMarkedByTeammate); }

Player* SetplayEstatico::nearestOpponent(int except) const
{
    Player* nearest = nullptr;
    float best = FAR;
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        if (n == except)
            continue;
        Player* p = ws->getOpponentPlayer(n);
        if (p == nullptr)
            continue;
        float d = planar(p).getDistanceTo(ws->myPos);
        if (d < best) {
            best = d;
            nearest = p;
        }
    }
    return nearest;
}

SetplayEstatico::Move SetplayEstatico::mark()
{
    Player* marked = offensiveMarker.getOpponentPlayer();
    bool keep = marked != nullptr && marked != ws->me && planar(marked).getDistanceTo(ws->myPos) < MARK_KEEP_DIST;
    if (!keep) {
        marked = opponentToOffensiveMarker();
        offensiveMarker.setOpponentPlayer(marked);
        ws->me->markedOppNum = marked != nullptr ? marked->unum : 0;
    }
    // Nobody to mark: nothing to walk to.
    if (marked == nullptr)
        return Move();
    Move m;
    m.kind = Move::MARK;
    m.opponent = marked;
    return m;
}

void SetplayEstatico::perform(const Move& m)
{
    AgentActions* a = actions();
    switch (m.kind) {
    case Move::WALK:
        a->goToStrategicPoint(m.target, m.dir, true, true, true, m.obstacle);
        break;
    case Move::GO_DIRECT:
        a->gotoPointDesperate(m.target);
        break;
    case Move::STEP_IN_PLACE: {
        AgentModel& body = Singleton<AgentModel>::getInstance();
        const Joint* hip = body.getJoint(6);
        const Joint* ankle = body.getJoint(10);
        double height = 0.2;
        if (hip != nullptr && ankle != nullptr)
            height += std::fabs(hip->getAnchor(0).second.z) - 0.04 + std::fabs(ankle->getAnchor(0).second.z) - 0.055;
        a->ZMPWalkOmniCall(0.03, 0, 0, height, 0.07, 0.14);
        break;
    }
    case Move::KICK_TOWARD:
        a->goToAuxPoint(m.target);
        break;
    case Move::MARK:
        offensiveMarker.agentActions = a;
        offensiveMarker.executeBehavior();
        break;
    case Move::PASS:
        if (m.kick) {
            a->serverPass();
            a->kickToTarget(m.target);
        }
        break;
    case Move::NONE:
        break;
    }
}
