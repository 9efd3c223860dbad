#include "strategy/setplays/SetplayAction.h"

#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "geometry/Geometry.h"
#include "setplay/Directive.h"
#include "setplay/Region.h"
#include "setplay/Setplay.h"
#include "setplay/SetplayManager.h"
#include "skills/AgentActions.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "strategy/BehaveCarryBall.h"
#include "strategy/BehaveOffensiveMarker.h"
#include "strategy/DefenseMarker.h"
#include "strategy/Pass.h"
#include "strategy/PassMethods.h"
#include "strategy/setplays/SetplayCondition.h"
#include "strategy/setplays/SetplayController.h"
#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/WorldState.h"

using namespace ostrevanda::setplay;

namespace {

Vector planar(const Player* p) { return p->position.to2d(); }

// A simple point's coordinates.
Vector vectorOf(const Point& p, const Context& world) {
    std::unique_ptr<PointSimple> s(p.asPointSimple(world));
    return Vector(static_cast<float>(s->getX()->value()), static_cast<float>(s->getY()->value()));
}

// A region holding just that point, for the substitute actions.
const Region* pointRegion(Vector v) {
    return new RegPoint(new PointSimple(new Decimal(static_cast<double>(v.x)), new Decimal(static_cast<double>(v.y))));
}

const Vector NO_OBSTACLE(-20, -20);

}  // namespace

SetplayAction::SetplayAction()
    : agentActions(&Singleton<AgentActions>::getInstance()),
      mContext(new SetplayCondition()),
      ws(&Singleton<WorldState>::getInstance()),
      manager(new SetplayController(mContext.get())),
      running(false),
      runningId(0),
      runningMode(PLAY_ON) {}

SetplayAction::SetplayAction(const std::string& confFile, const std::string& caseBaseFile)
    : agentActions(&Singleton<AgentActions>::getInstance()),
      mContext(new SetplayCondition()),
      ws(&Singleton<WorldState>::getInstance()),
      manager(new SetplayController(mContext.get(), confFile, caseBaseFile)),
      running(false),
      runningId(0),
      runningMode(PLAY_ON) {}

SetplayAction::~SetplayAction() {
    // The manager writes the case base back while the context still answers.
    manager.reset();
}

bool SetplayAction::run() {
    bool result = false;
    try {
        result = runSteps();
    } catch (const std::exception& e) {
        dropSetplay(e.what());
    }
    reportChange();
    return result;
}

void SetplayAction::reportChange() {
    const Setplay* sp = manager->getSetplayManager()->getCurrentSetplay();
    if (running && (!sp || sp->id() != runningId))
        std::cerr << "SP: set play " << runningId << " ended" << std::endl;
    if (sp && (!running || sp->id() != runningId)) {
        std::cerr << "SP: set play " << sp->id() << " started"
                  << (manager->getSetplayManager()->amLeadPlayer(*mContext) ? " as its lead" : "") << std::endl;
        runningMode = ws->game->playmode;
    }
    running = sp != nullptr;
    runningId = sp ? sp->id() : 0;
}

void SetplayAction::endStaleSetplay() {
    SetplayManagerWithCBR* spm = manager->getSetplayManager();
    if (!spm->isSetplayActive() || !running) return;
    const rcss::clang::PlayMode now = SetplayCondition::mapPlayMode(ws->game->playmode);
    if (now == rcss::clang::PlayOn || now == SetplayCondition::mapPlayMode(runningMode)) return;
    std::cerr << "SP: set play " << runningId << " ended: play stopped again since it started" << std::endl;
    // A held start of the same set play would only start it again.
    if (ws->typeSetplayMsg == 1 && ws->setplayId == runningId) ws->typeSetplayMsg = 0;
    spm->abort(*mContext);
}

bool SetplayAction::runSteps() {
    endStaleSetplay();
    SetplayManagerWithCBR* spm = manager->getSetplayManager();
    if (std::unique_ptr<SetplayMessage> held = manager->heldMessage()) {
        // A step message carries the id of the set play it is about: one
        // about another set play (the end of an earlier one, still repeated)
        // is not this one's.
        const Setplay* running = spm->getCurrentSetplay();
        if (held->isInit() || !running || running->id() == ws->setplayId) held->getProcessedBy(*spm, *mContext);
    }
    if (!spm->isSetplayActive() && ws->closeTeam == ws->unum) manager->leadPlayer();
    manager->updateSetplay();
    bool result = false;
    if (spm->isSetplayActive()) result = executeSetplay();
    manager->communicationImpl();
    return result;
}

void SetplayAction::dropSetplay(const char* what) {
    std::cerr << "SP: set play dropped after an error: " << what << std::endl;
    // The held message would only start the same failure again.
    ws->typeSetplayMsg = 0;
    ws->setplayPasser = nullptr;
    try {
        SetplayManagerWithCBR* spm = manager->getSetplayManager();
        if (spm->isSetplayActive()) spm->abort(*mContext);
    } catch (const std::exception& e) {
        std::cerr << "SP: the failed set play could not end: " << e.what() << std::endl;
    }
}

bool SetplayAction::executeSetplay() {
    SetplayManagerWithCBR* spm = manager->getSetplayManager();
    if (!spm->isSetplayActive()) return false;
    spm->updateInternalState(*mContext);
    if (!spm->isSetplayActive() || !spm->thisPlayerParticipates(*mContext)) return false;
    const Action* action = spm->currentAction(*mContext);
    if (mContext->isKickOffSetplay() && ws->ballPos.x < -0.5f && ws->leadPlayer == ws->unum &&
        spm->getCurrentSetplay()->currentStepNumber() == 0) {
        spm->forceUpdateStep(*mContext);
        // The step may have changed or the set play ended: ask again.
        if (!spm->isSetplayActive()) return false;
        action = spm->currentAction(*mContext);
    }
    if (!action) return false;
    if (action->active && !action->isAccomplished(mContext->me(), *mContext)) {
        action->getExecuted(*this);
        return true;
    }
    ws->setplayPasser = nullptr;
    // Without a chosen next step there is no next place to go to.
    std::unique_ptr<const PointSimple> next(spm->isNextStepAlreadyChosen() ? spm->myNextPositioning(*mContext)
                                                                           : nullptr);
    if (next) {
        const Vector p = vectorOf(*next, *mContext);
        if (ws->myPos.getDistanceTo(p) > 0.7f) {
            ActPos pos(pointRegion(p));
            execute(pos);
        }
    }
    return true;
}

bool SetplayAction::regionPoint(const Region* region, Vector& out) const {
    if (!region) return false;
    std::unique_ptr<const PointSimple> centre(region->getCentralPoint(*mContext));
    if (!centre) return false;
    out = vectorOf(*centre, *mContext);
    return true;
}

const PointSimple* SetplayAction::placeOf(int player) const {
    SetplayManagerWithCBR* spm = manager->getSetplayManager();
    if (!spm->isSetplayActive() || !WorldState::isShirtNumber(player)) return nullptr;
    if (player == ws->unum) return spm->myCurrentPositioning(*mContext);
    return spm->currentPositioning(static_cast<unsigned>(player), *mContext);
}

Player* SetplayAction::opponentOf(const PlayerReference* player) const {
    const PlayerID* id = player ? player->value() : nullptr;
    if (!id || !WorldState::isShirtNumber(static_cast<int>(id->number))) return nullptr;
    return ws->getOpponentPlayer(static_cast<int>(id->number));
}

Player* SetplayAction::firstOpponent(const ConstPlayerList& players) const {
    return players.empty() ? nullptr : opponentOf(players[0]);
}

void SetplayAction::walkTo(Vector point, float dir, float radius, Vector obstacle) {
    agentActions->goToStrategicPoint(point, dir, true, true, true, Circle(obstacle, radius));
}

void SetplayAction::positionAt(Vector point) {
    ActPos pos(pointRegion(point));
    execute(pos);
}

void SetplayAction::dribble(Vector target, bool reduced) {
    BehaveCarryBall carry;
    if (reduced)
        carry.executeBehavior(target, false);
    else
        carry.executeBehavior(target);
}

void SetplayAction::markActive(Player* opponent, bool active) {
    if (!opponent) return;
    DefenseMarker marker(ws, agentActions);
    marker.executeBehavior(opponent, active);
}

void SetplayAction::execute(const ActPos& act) {
    Vector p;
    if (!regionPoint(act.getRegion(), p)) return;
    walkTo(p, (p - ws->myPos).getDirection(), 1, NO_OBSTACLE);
}

void SetplayAction::execute(const ActLongKick& act) {
    Vector target;
    if (!regionPoint(act.getRegion(), target)) return;
    ws->setplayPasser = ws->me;
    const std::string name = "SP-LKick " + std::to_string(ws->unum);
    RobovizLogger& draw = RobovizLogger::Instance();
    draw.drawCircle(ws->myPos, 0.2f, draw.orange, name);
    draw.drawLine(ws->myPos, target, draw.orange, "l " + name);
    if (ws->game->playmode != QUORVEL_CORNER_KICK && target.getDistanceTo(ws->ballPos) < 2)
        dribble(target, true);
    else
        agentActions->kickToTarget(target);
}

void SetplayAction::execute(const ActPass& act) {
    ws->setplayPasser = ws->me;
    const ConstPlayerList& players = act.getPlayers();
    const PlayerID* id = players.empty() || !players[0] ? nullptr : players[0]->value();
    if (!id || !WorldState::isShirtNumber(static_cast<int>(id->number))) return;
    Pass* pass = new Pass(std::vector<int>{static_cast<int>(id->number)});
    manager->setPasser(pass);
    pass->doPasse(false);
    const int receiver = pass->getReceiver();
    Player* mate = WorldState::isShirtNumber(receiver) ? ws->getOstrevandaPlayer(receiver) : nullptr;
    if (!mate) return;
    Vector target = pass->getPassTarget();
    std::unique_ptr<const PointSimple> place(placeOf(receiver));
    if (place) target = vectorOf(*place, *mContext);
    if (!mate->isStanding() || !pass->isActivePass(receiver, target, true)) return;
    const PassMethods methods = pass->getPassMethods();
    if (methods.getKickType() == methods.SUPERKICK) {
        agentActions->serverPass();
        agentActions->kickToTarget(target);
    } else {
        agentActions->dynamicKickToTarget(target, false);
    }
}

void SetplayAction::execute(const ActMark& act) { markActive(firstOpponent(act.getPlayers()), true); }

void SetplayAction::execute(const ActMarkLinePlayer&) {
    markActive(agentActions->bOmniMidLevelSkill->fastestOpponentRelBall(), false);
}

void SetplayAction::execute(const ActMarkLineReg&) {
    markActive(agentActions->bOmniMidLevelSkill->fastestOpponentRelBall(), false);
}

void SetplayAction::execute(const ActDribble& act) {
    Vector p;
    if (regionPoint(act.getRegion(), p)) dribble(p, false);
}

void SetplayAction::execute(const ActOffsideLine&) {}

void SetplayAction::execute(const ActClear& act) {
    Vector p;
    if (regionPoint(act.getRegion(), p)) dribble(p, true);
}

void SetplayAction::execute(const ActShoot&) {
    const Vector goal = ws->theirGoalPos;
    if (ws->ballPos.getDistanceTo(goal) > 8) {
        ActLongKick kick(pointRegion(goal), undefinedBallMove);
        execute(kick);
    } else {
        ActDribble carry(pointRegion(goal));
        execute(carry);
    }
}

void SetplayAction::execute(const ActHold&) { positionAt(ws->ballPos); }

void SetplayAction::execute(const ActIntercept& act) {
    Vector p;
    if (!regionPoint(act.getRegion(), p)) return;
    Player* lead = WorldState::isShirtNumber(ws->leadPlayer) ? ws->getOstrevandaPlayer(ws->leadPlayer) : nullptr;
    // Without a known lead player there is nobody to be nearer than.
    if (lead && ws->myPos.getDistanceTo(ws->ballPos) < planar(lead).getDistanceTo(ws->ballPos))
        dribble(ws->theirGoalPos, false);
    else
        agentActions->gotoPointDesperate(p);
}

void SetplayAction::execute(const ActTackle&) {
    markActive(agentActions->bOmniMidLevelSkill->fastestOpponentRelBall(), true);
}

void SetplayAction::execute(const ActStop&) {
    std::unique_ptr<const PointSimple> place(placeOf(ws->unum));
    if (!place) return;
    const Vector p = vectorOf(*place, *mContext);
    const Vector behindBall(ws->ballPos.x - 5, ws->ballPos.y);
    walkTo(p, (behindBall - p).getDirection(), 0.1f, ws->theirGoalPos);
}

void SetplayAction::execute(const ActAttentionToReg&) {}

void SetplayAction::execute(const ActAttentionToObj&) {}

void SetplayAction::execute(const ActMarkGoal&) { positionAt(Vector(ws->theirGoalPos.x - 3, ws->theirGoalPos.y - 2)); }

void SetplayAction::execute(const ActReceiveBall&) {
    std::unique_ptr<const PointSimple> place(placeOf(ws->unum));
    const Vector p = place ? vectorOf(*place, *mContext) : ws->myPos;
    const Vector behindBall(ws->ballPos.x - 5, ws->ballPos.y);
    walkTo(p, (behindBall - p).getDirection(), 0.5f, p);
}

void SetplayAction::execute(const ActMoveToOffsideLine&) {}

void SetplayAction::execute(const ActPasstoBestPlayer&) {
    ws->setplayPasser = ws->me;
    std::vector<int> candidates;
    // The last transition offering each candidate the ball.
    std::map<int, unsigned> transitionOf;
    const std::vector<const Transition*>& transitions = manager->getAtualTransitions();
    for (unsigned i = 0; i < transitions.size(); ++i) {
        if (!transitions[i]) continue;
        const std::vector<Directive*>* directives = transitions[i]->getDirectives();
        if (!directives) continue;
        for (const Directive* d : *directives) {
            const Do* doDirective = dynamic_cast<const Do*>(d);
            if (!doDirective) continue;
            if (!doDirective->getActions()) continue;
            const std::vector<Action*>& actions = *doDirective->getActions();
            const ConstPlayerList& players = doDirective->getPlayers();
            for (unsigned k = 0; k < actions.size(); ++k) {
                if (!actions[k] || (actions[k]->label() != "receiveBall" && actions[k]->label() != "intercept"))
                    continue;
                const PlayerID* id = k < players.size() && players[k] ? players[k]->value() : nullptr;
                if (!id || !WorldState::isShirtNumber(static_cast<int>(id->number))) continue;
                const int n = static_cast<int>(id->number);
                candidates.push_back(n);
                transitionOf[n] = i;
            }
        }
    }
    candidates.push_back(ws->unum);
    Pass* pass = new Pass(candidates);
    manager->setPasser(pass);
    pass->doPasse(false);
    const int receiver = pass->getReceiver();
    if (receiver == 0) return;
    Vector target = pass->getPassTarget();
    if (target.x >= 20) {
        std::unique_ptr<const PointSimple> place(placeOf(receiver));
        target = place ? vectorOf(*place, *mContext) : ws->theirGoalPos;
    }
    if (pass->isActivePass(receiver, target, false)) {
        const auto offered = transitionOf.find(receiver);
        manager->getSetplayManager()->chosenAction(offered == transitionOf.end() ? 0 : offered->second, *mContext);
        agentActions->serverPass();
        const PassMethods methods = pass->getPassMethods();
        if (methods.getKickType() == methods.SUPERKICK)
            agentActions->kickToTarget(target);
        else
            agentActions->dynamicKickToTarget(target, false);
    } else {
        agentActions->serverPass();
        agentActions->kickToTarget(target);
    }
}

void SetplayAction::execute(const ActOfeMark& act) {
    Player* opponent = opponentOf(act.getDestPlayer());
    if (!opponent) return;
    Vector target = mContext->markReference(act);
    BehaveOffensiveMarker marker(ws, agentActions);
    marker.setOpponentPlayer(opponent);
    marker.setTarget(target);
    marker.executeBehavior();
}

void SetplayAction::execute(const ActMov& act) {
    Vector p;
    if (regionPoint(act.getRegion(), p)) agentActions->gotoPointDesperate(p);
}

void SetplayAction::execute(const ActDefMark& act) {
    Player* opponent = firstOpponent(act.getDestPlayers());
    if (!opponent) return;
    const Setplay* sp = manager->getSetplayManager()->getCurrentSetplay();
    const PlayerReference* holder = sp ? sp->getCurrBallHolder() : nullptr;
    const PlayerID* holderId = holder ? holder->value() : nullptr;
    if (holderId && static_cast<int>(holderId->number) == opponent->unum) {
        if (ws->me->getRole().isAttacker())
            dribble(ws->theirGoalPos, false);
        else
            markActive(opponent, true);
    } else {
        markActive(opponent, false);
    }
}

void SetplayAction::execute(const ActBecomeOwner&) { dribble(ws->theirGoalPos, false); }
