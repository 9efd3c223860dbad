#include <cmath>
#include <sstream>

#include "KVDAgentH.h"
#include "logger/LoggerBuffer.h"
#include "skills/DecisionActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/DefenseMarker.h"
#include "strategy/GoalKickMarking.h"
#include "strategy/Pass.h"
#include "strategy/PassBlock.h"
#include "strategy/Receiver.h"
#include "strategy/Strategy.h"
#include "strategy/setplays/SetplayAction.h"
#include "utils/RobovizLogger.h"
#include "world/Ball.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

void KVDAgentH::BehaveNormalPlayer()
{
    if (actions->doGetup()) {
        currentBehavior = StrategicBehavior::GetUp;
        return;
    }
    if (penaltyGoalie) {
        behavePenaltyGoalie();
        currentBehavior = StrategicBehavior::PenaltyGoalie;
        return;
    }
    if (penaltyKicker) {
        behavePenaltyShooter();
        currentBehavior = StrategicBehavior::PenaltyKick;
        return;
    }
    if (setplayControl->run()) {
        currentBehavior = StrategicBehavior::Setplay;
        drawRole();
        return;
    }
    if (ws->me->distToBall > 10)
        carryBall.resetDistancediff();

    if (ws->me->getRole().isAttacker()) {
        behaveAttacker();
    } else if (ws->shouldPassBlock()) {
        walkToBlockPass();
    } else if (goalieSubstitute.isAvailable()) {
        strategy->StDec.FM_StrategicPos[unum] = strategy->StDec.FM_StrategicPos[1];
        executeBehaveFormation();
        currentBehavior = StrategicBehavior::GoalieSubstitute;
    } else if (ws->me->getRole().isDefensiveFront()) {
        behaveDefensiveFront();
    } else if (ws->me->getRole().isDefensiveBack()) {
        behaveDefensiveBack();
    } else if (ws->me->getRole().isGoalie()) {
        behaveGoalie();
    } else if (ws->me->getRole().isGoalieSubstitute()) {
        actions->serverPass();
        formationStep();
    } else if (ws->me->getRole().isKeeper()) {
        behaveKeeper();
    } else if (ws->me->getRole().isSupport()) {
        behaveSupport();
    } else if (!behaveOtherRole()) {
        return;
    }
    drawRole();
}

void KVDAgentH::drawRole()
{
    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawAnnotation(ws->me->getRole().to_string() + "::" + StrategicBehavior::toString(ws->getCurrentBehavior()),
                        Vector3f(ws->myPos.x, ws->myPos.y, 0), draw.black, "Role Agent");
}

void KVDAgentH::behaveAttacker()
{
    RobovizLogger& draw = RobovizLogger::Instance();
    std::ostringstream activity;
    if (ws->cor == 1) {
        activity << ws->gTime << "===>Sou Ativo<===  Eleito!" << std::endl;
        draw.drawCircle(ws->myPos, 0.2f, draw.red, "Active Elected");
    } else if (ws->cor == 2) {
        draw.drawCircle(ws->myPos, 0.2f, draw.blue, "Active Closest");
        activity << ws->gTime << "===>Sou Ativo<===  Mais Próximo!" << std::endl;
    }
    LoggerBuffer::getInstance().trace(activity.str());

    const Vector ball = ws->ball->position.to2d();
    const Vector goal = ws->theirGoalPos;
    if (ball.getDistanceTo(goal) > 15)
        actions->serverPass();

    const int pm = ws->game->playmode;
    if (goalKickMarking.isOurGoalKickMarkingAvailable()) {
        goalKickMarking.executeBehavior();
        currentBehavior = StrategicBehavior::GoalKickMarking;
    } else if (passBlock.isAvailable()) {
        passBlock.executeBehavior();
        currentBehavior = StrategicBehavior::PassBlocker;
    } else if (actions->continueLongKick()) {
        actions->kickToTarget(goal);
        currentBehavior = StrategicBehavior::Kicker;
    } else if (actions->shouldDirectKick()) {
        Vector beyond = ball - ws->myPos;
        beyond.normalize();
        const Vector target = ball + beyond;
        if (ws->shouldAvoidOpp(bOmniMidLevelSkill.fastestOpponentRelMe()))
            actions->moveBalltoTarg(target, 0, true, true, 0.2f);
        else
            actions->gotoPointDesperate(target);
    } else if (actions->shouldLongKick()) {
        ws->longKickState = true;
        actions->kickToTarget(goal);
        currentBehavior = StrategicBehavior::Kicker;
    } else if ((pm == PLAY_ON || pm == PASS_QUORVEL) && ball.x < ws->myGoalPos.x + 3 &&
               std::fabs(ball.y) < ws->penaltyWidth + std::fabs(ws->getBackLeftGoal().y)) {
        carryBall.executeBehavior(goal);
        currentBehavior = StrategicBehavior::CarryBall;
    } else if (passBall.isAvailable()) {
        executePass();
        currentBehavior = StrategicBehavior::PasserBall;
    } else if (actions->shouldClearBall()) {
        executeKicker();
        currentBehavior = StrategicBehavior::Kicker;
    } else if (carryBall.isAvailable()) {
        carryBall.executeBehavior(goal);
        currentBehavior = StrategicBehavior::CarryBall;
    } else {
        executeKicker();
        currentBehavior = StrategicBehavior::Kicker;
    }
}

void KVDAgentH::walkToBlockPass()
{
    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawCircle(ws->myPos, 0.3f, draw.black, "passBlocker");
    const Vector ball = ws->ballPos;
    const float dir = (ball - ws->myPos).getDirection();
    const Vector target = Vector(-0.5f, 0).relativeToGlobal(ball, dir);
    actions->goToStrategicPoint(target, dir, true, true, true, Circle(Vector(30, 0), 0));
}

void KVDAgentH::goalKickMarkingStep()
{
    goalKickMarking.executeBehavior();
    currentBehavior = StrategicBehavior::GoalKickMarking;
    ws->defState->resetDefensiveMarker();
}

void KVDAgentH::passBlockingStep()
{
    passBlock.executeBehavior();
    currentBehavior = StrategicBehavior::PassBlocker;
    ws->defState->resetDefensiveMarker();
}

bool KVDAgentH::markingContinues()
{
    DefensiveMarkerState& record = *ws->defState;
    if (!record.isDefensiveMarker())
        return false;
    Player* target = record.getTarget();
    const bool active = record.isActiveMarker();
    if (!defenseMarker.continueMarking(target, active))
        return false;
    defenseMarker.executeBehavior(target, active);
    currentBehavior = record.isActiveMarker() ? StrategicBehavior::ActiveMarker : StrategicBehavior::PassiveMarker;
    return true;
}

bool KVDAgentH::receiving()
{
    if (!receiveBall.isAvailable(Receiver::ACTIVE) && !receiveBall.isAvailable(Receiver::PASSIVE))
        return false;
    receiveBall.executeBehavior();
    currentBehavior = StrategicBehavior::ReceiverBall;
    return true;
}

bool KVDAgentH::activeTest() { return defenseMarker.isActiveMarkerAvailable(bOmniMidLevelSkill.fastestOpponentRelBall()); }

void KVDAgentH::activeMarking()
{
    defenseMarker.executeBehavior(bOmniMidLevelSkill.fastestOpponentRelBall(), true);
    currentBehavior = StrategicBehavior::ActiveMarker;
}

void KVDAgentH::passiveMarking(Player* target)
{
    defenseMarker.executeBehavior(target, false);
    currentBehavior = StrategicBehavior::PassiveMarker;
}

void KVDAgentH::formationStep()
{
    executeBehaveFormation();
    currentBehavior = StrategicBehavior::Formation;
}

void KVDAgentH::behaveDefensiveFront()
{
    Player* target = defenseMarker.chooseTarget();
    if (goalKickMarking.isOurGoalKickMarkingAvailable())
        goalKickMarkingStep();
    else if (passBlock.isAvailable())
        passBlockingStep();
    else if (markingContinues() || receiving())
        return;
    else if (activeTest())
        activeMarking();
    else if (defenseMarker.isPassiveMarkerAvailable(target))
        passiveMarking(target);
    else
        formationStep();
}

void KVDAgentH::behaveDefensiveBack()
{
    Player* target = defenseMarker.chooseTarget();
    if (goalKickMarking.isOurGoalKickMarkingAvailable())
        goalKickMarkingStep();
    else if (passBlock.isAvailable())
        passBlockingStep();
    else if (markingContinues() || receiving())
        return;
    else {
        const bool active = activeTest();
        const bool passive = defenseMarker.isPassiveMarkerAvailable(target);
        // In our quarter press first, farther out shadow first.
        const bool pressFirst = std::fabs(ws->ballPos.x - ws->myGoalPos.x) < ws->fieldLenght / 4;
        if (active && (pressFirst || !passive))
            activeMarking();
        else if (passive)
            passiveMarking(target);
        else
            formationStep();
    }
}

void KVDAgentH::behaveGoalie()
{
    // In our own set pieces the ball lies dead until we kick it: a speed seen
    // then comes from the referee putting it on its spot, not from a shot.
    if (!isOurDeadBall(ws->game->playmode) && ws->ball->speed.to2d().length() > 4.8f &&
        ws->ball->isInOurGoalDirection()) {
        behavePenaltyGoalie();
        actions->serverPass();
        currentBehavior = StrategicBehavior::PenaltyGoalie;
        return;
    }
    actions->serverPass();
    formationStep();
}

void KVDAgentH::behaveKeeper()
{
    Player* target = defenseMarker.chooseTarget();
    const Role role = ws->me->getRole();
    if (goalKickMarking.isOurGoalKickMarkingAvailable() || goalKickMarking.isTheirGoalKickMarkingAvailable()) {
        goalKickMarkingStep();
    } else if (passBlock.isAvailable()) {
        passBlockingStep();
    } else if (markingContinues()) {
        return;
    } else if (ws->isOppKickOff() && ws->game->playmode == PLAY_ON && !role.isCenterKeeper()) {
        if (target != nullptr)
            passiveMarking(target);
    } else if (activeTest()) {
        activeMarking();
    } else if (offensiveMarker.isAvailable()) {
        offensiveMarker.executeBehavior();
        currentBehavior = StrategicBehavior::OffensiveMarker;
    } else if ((role.isBackKeeper() || (role.isFrontKeeper() && strategy->GetTactic() == 3)) &&
               defenseMarker.isPassiveMarkerAvailable(target)) {
        passiveMarking(target);
    } else {
        formationStep();
    }
}

void KVDAgentH::behaveSupport()
{
    Player* target = defenseMarker.chooseTarget();
    const bool tactic3 = strategy->GetTactic() == 3;
    if (goalKickMarking.isTheirGoalKickMarkingAvailable()) {
        goalKickMarkingStep();
    } else if (passBlock.isAvailable()) {
        passBlockingStep();
    } else if (tactic3 && markingContinues()) {
        return;
    } else if (ws->isOppKickOff()) {
        if (target != nullptr)
            passiveMarking(target);
    } else if (receiving()) {
        return;
    } else if (tactic3 && defenseMarker.isPassiveMarkerAvailable(target)) {
        passiveMarking(target);
    } else if (offensiveMarker.isAvailable()) {
        offensiveMarker.executeBehavior();
        currentBehavior = StrategicBehavior::OffensiveMarker;
    } else {
        formationStep();
    }
}

bool KVDAgentH::behaveOtherRole()
{
    if (ws->isOppKickOff() && ws->game->playmode != OPPONENT_KICKOFF) {
        Player* target = defenseMarker.chooseTarget();
        if (unum == 7 || unum == 8) {
            // Shadow a forward of theirs during their kick-off; nothing to draw.
            if (target != nullptr)
                passiveMarking(target);
            return false;
        }
    }
    formationStep();
    return true;
}

void KVDAgentH::executePass()
{
    if (!passBall.getActivePass() && !(passBall.getDeadline() > 0))
        return;
    const PassMethods methods = passBall.getPassMethods();
    if (methods.getKickType() == methods.SUPERKICK)
        actions->kickToTarget(passBall.getPassTarget());
    else
        actions->dynamicKickToTarget(passBall.getPassTarget(), false);
}

void KVDAgentH::executeKicker()
{
    const Vector goal = ws->theirGoalPos;
    if (ws->myPos.getDistanceTo(goal) < 7 && ws->game->playmode != QUORVEL_CORNER_KICK)
        actions->dynamicKickToTarget(goal, false);
    else
        actions->kickToTarget(goal);
}
