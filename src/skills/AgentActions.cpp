#include "skills/AgentActions.h"

#include <cstdlib>
#include <iostream>

#include "physics/AgentModel.h"
#include "skills/IKPose.h"
#include "skills/MDLParser.h"
#include "skills/OmniDirectionalKick.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/OmniWalkZMP.h"
#include "skills/SlotBehavior.h"
#include "skills/SlotStop.h"
#include "skills/omniMidLevelSkill/omniMidLevelSkill.h"
#include "utils/RobovizLogger.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Seconds a fallen agent waits after a get-up ends before the next one.
const float GETUP_PAUSE = 0.75f;
// Length of the stop motion (s).
const float STOP_TIME = 0.1f;

const char* const GETUP_FRONT[AgentActions::ROBOT_TYPES] = {"GetupFrontT0", "GetupFrontT1", "GetupFrontT0",
                                                           "GetupFrontT3", "GetupFrontT4"};
const char* const GETUP_BACK[AgentActions::ROBOT_TYPES] = {"GetupBackT0", "GetupBackT1", "GetupBackT0",
                                                          "GetupBackT3", "GetupBackT4"};
const char* const GOAL_KICK_LEFT[AgentActions::ROBOT_TYPES] = {"SGoalKickLeft", "SGoalKickLeft", "SGoalKickLeftT2",
                                                              "SGoalKickLeft", "SuperKickLeftT4"};
const char* const GOAL_KICK_RIGHT[AgentActions::ROBOT_TYPES] = {
    "SGoalKickRight", "SuperKickRightT1", "SGoalKickRightT2", "SGoalKickRight", "SuperKickRightT4"};
const char* const SUPER_KICK_LEFT[AgentActions::ROBOT_TYPES] = {"SuperKickLeft", "SuperKickRightT1", "SuperKickLeftT2",
                                                               "SuperKickLeftT3", "SuperKickLeftT4"};
const char* const SUPER_KICK_RIGHT[AgentActions::ROBOT_TYPES] = {
    "SuperKickRight", "SuperKickRightT1", "SuperKickRightT2", "SuperKickRightT3", "SuperKickRightT4"};
const char* const STD_KICK_LEFT[AgentActions::ROBOT_TYPES] = {"New5mKickLeft2ZMP", "New5mKickLeft2ZMP",
                                                             "New5mKickLeft2ZMPH1", "New5mKickLeft2ZMP",
                                                             "New5mKickLeft2ZMP"};
const char* const STD_KICK_RIGHT[AgentActions::ROBOT_TYPES] = {"New5mKickRight2ZMP", "New5mKickRight2ZMP",
                                                              "New5mKickRight2ZMPH1", "New5mKickRight2ZMP",
                                                              "New5mKickRight2ZMP"};

// A keyframe motion, read whole; a file without slots or with a slot that
// does not last stops the agent like an unreadable one.
SlotBehavior* loadMotion(const std::string& file)
{
    SlotBehavior* b = new SlotBehavior();
    b->parse(file, true);
    if (b->slots.empty())
        fatalErrorInFile(file, "no slot");
    for (const SlotBehavior::Slot& s : b->slots)
        if (!(s.delta > 0))
            fatalErrorInFile(file, "slot '" + s.slotname + "' has no positive delta");
    return b;
}

} // namespace

std::vector<AgentActions::MotionLoad> AgentActions::motionLoads()
{
    std::vector<MotionLoad> loads = {
        {"bZeroWalk", -1, "movs/zero/ZeroWalkPosition.xml"},
        {"bGoalieHockey", -1, "movs/goalie/GoalieHockey.xml"},
        {"bGetupFromHockey", -1, "movs/getup/GetUpFromHockey.xml"},
        {"bFallLeft", -1, "movs/goalie/FallToLeft.xml"},
        {"bFallRight", -1, "movs/goalie/FallToRight.xml"},
        {"bGetupFrontTurningRight", -1, "movs/getup/GetUpFrontTurningRight.xml"},
        {"bGetupFrontTurningLeft", -1, "movs/getup/GetUpFrontTurningLeft.xml"},
    };
    auto perType = [&loads](const char* member, const char* dir, const char* const names[]) {
        for (int t = 0; t < ROBOT_TYPES; ++t)
            loads.push_back({member, t, std::string("movs/") + dir + "/" + names[t] + ".xml"});
    };
    perType("bGetupFront", "getup", GETUP_FRONT);
    perType("bGetupBack", "getup", GETUP_BACK);
    loads.push_back({"bOpenandCloseArms", -1, "movs/getup/OpenandCloseArms.xml"});
    perType("bGoalKickLeft", "kick", GOAL_KICK_LEFT);
    perType("bGoalKickRight", "kick", GOAL_KICK_RIGHT);
    perType("bSKickLeft", "kick", SUPER_KICK_LEFT);
    perType("bSKickRight", "kick", SUPER_KICK_RIGHT);
    perType("bStdKickLeft", "kick", STD_KICK_LEFT);
    perType("bStdKickRight", "kick", STD_KICK_RIGHT);
    loads.push_back({"bGoalieHockeyDefend", -1, "movs/goalie/GoalieHockeyDefend.xml"});
    loads.push_back({"bZero", -1, "movs/zero/ZeroPosition.xml"});
    return loads;
}

static_assert(AgentActions::ROBOT_TYPES == KickChain::ROBOT_TYPES, "one kick chain per robot type");

AgentActions::AgentActions()
    : ws(nullptr), currBehavior(nullptr), prevBehavior(nullptr), prevStopBehavior(nullptr),
      bOmniMidLevelSkill(nullptr), bOmniWalkZmp(nullptr), bOmniWalkPrevCtrl(nullptr), bOmniKick(nullptr),
      bZeroWalk(nullptr), bZero(nullptr), bStop(nullptr), bGoalieHockey(nullptr), bGoalieHockeyDefend(nullptr),
      bGetupFromHockey(nullptr), bFallLeft(nullptr), bFallRight(nullptr), bGetupFrontTurningRight(nullptr),
      bGetupFrontTurningLeft(nullptr), bGetupFront{}, bGetupBack{}, bOpenandCloseArms(nullptr), bGoalKickLeft{},
      bGoalKickRight{}, bSKickLeft{}, bSKickRight{}, bStdKickLeft{}, bStdKickRight{}, bIKPose(nullptr),
      presureWalk(true), aState(nullptr), mod(nullptr), shouldDynamickKick(false), lastDynamickKick(0), kickState(0)
{
    loadMovs();
    std::string error;
    if (!KickChain::read(KickChain::PATH, kickChain, error)) {
        std::cerr << error << std::endl;
        std::exit(1);
    }
    ws = &Singleton<WorldState>::getInstance();
    aState = &Singleton<AgentState>::getInstance();
    mod = &Singleton<AgentModel>::getInstance();
    bOmniMidLevelSkill = new omniMidLevelSkill();
    bOmniWalkZmp = new OmniWalkZMP();
    bIKPose = new IKPose();
    currBehavior = prevBehavior = prevStopBehavior = bZeroWalk;
    bZeroWalk->init();
    bOmniWalkPrevCtrl = new OmniWalkPrevCtrl();
    bOmniWalkPrevCtrl->init();
    bOmniKick = new OmniDirectionalKick();
    bOmniKick->init();
    bStop = new SlotStop(STOP_TIME);
    presureWalk = true;
}

void AgentActions::loadMovs()
{
    for (const MotionLoad& l : motionLoads()) {
        SlotBehavior* b = loadMotion(l.file);
        std::string m = l.member;
        SlotBehavior** single = m == "bZeroWalk"                 ? &bZeroWalk
                                : m == "bGoalieHockey"           ? &bGoalieHockey
                                : m == "bGetupFromHockey"        ? &bGetupFromHockey
                                : m == "bFallLeft"               ? &bFallLeft
                                : m == "bFallRight"              ? &bFallRight
                                : m == "bGetupFrontTurningRight" ? &bGetupFrontTurningRight
                                : m == "bGetupFrontTurningLeft"  ? &bGetupFrontTurningLeft
                                : m == "bOpenandCloseArms"       ? &bOpenandCloseArms
                                : m == "bGoalieHockeyDefend"     ? &bGoalieHockeyDefend
                                : m == "bZero"                   ? &bZero
                                                                 : nullptr;
        SlotBehavior** table = m == "bGetupFront"     ? bGetupFront
                               : m == "bGetupBack"    ? bGetupBack
                               : m == "bGoalKickLeft" ? bGoalKickLeft
                               : m == "bGoalKickRight" ? bGoalKickRight
                               : m == "bSKickLeft"    ? bSKickLeft
                               : m == "bSKickRight"   ? bSKickRight
                               : m == "bStdKickLeft"  ? bStdKickLeft
                                                      : bStdKickRight;
        if (l.slot < 0)
            *single = b;
        else
            table[l.slot] = b;
    }
}

int AgentActions::robotType() const
{
    // The body description accepts only types 0 to 4; keep every table index
    // inside the tables even so.
    int t = mod->getRobotType();
    return t >= 0 && t < ROBOT_TYPES ? t : 0;
}

bool AgentActions::getupPauseOver() const { return !(ws->cTime - ws->lastGetupFinishedTime < GETUP_PAUSE); }

bool AgentActions::isGetupMotion(Behavior* b) const
{
    int t = robotType();
    return b == bGetupFront[t] || b == bGetupBack[t] || b == bGetupFrontTurningLeft || b == bGetupFrontTurningRight ||
           b == bOpenandCloseArms || b == bGetupFromHockey;
}

void AgentActions::checkGettingUp()
{
    prevBehavior = currBehavior;
    if (isGetupMotion(currBehavior) && currBehavior->finished()) {
        aState->mRising = false;
        ws->lastGetupFinishedTime = ws->cTime;
    }
}

bool AgentActions::doGetup()
{
    if (catchAfterKick())
        return true;
    states s = aState->getAgentState();
    if ((s == AS_RISING_BACK || s == AS_RISING_FRONT || s == AS_RISING_SIDE || s == AS_KICKING) &&
        !currBehavior->finished())
        return true;
    int pm = ws->game->playmode;
    if (currBehavior == bOmniWalkPrevCtrl && pm != QUORVEL_KICKOFF && pm != QUORVEL_GOAL_KICK &&
        pm != QUORVEL_KICKIN && bOmniWalkPrevCtrl->Aborted()) {
        aState->setAgentState(AS_WALKING);
        currBehavior = bOmniWalkZmp;
        currBehavior->init();
        return true;
    }
    if (aState->isFallen() && prevBehavior != bStop) {
        aState->setAgentState(AS_STOP);
        currBehavior = bStop;
        currBehavior->init();
        return true;
    }
    if (!currBehavior->finished())
        return true;
    if (aState->isFallen() && getupPauseOver()) {
        Getup();
        return true;
    }
    return false;
}

void AgentActions::startGetup(SlotBehavior* motion, states state, bool setState)
{
    if (setState)
        aState->setAgentState(state);
    aState->mRising = true;
    currBehavior = motion;
    currBehavior->init();
}

void AgentActions::Getup()
{
    auto was = [this](Behavior* b) { return currBehavior == b || (currBehavior == bStop && prevStopBehavior == b); };
    states s = aState->getAgentState();
    int t = robotType();
    if (was(bGoalieHockey))
        startGetup(bGetupFromHockey, s, false);
    else if (s == AS_FALLEN_FRONT && was(bFallLeft))
        startGetup(bGetupFrontTurningRight, s, false);
    else if (s == AS_FALLEN_FRONT)
        startGetup(bGetupFront[t], AS_RISING_FRONT, true);
    else if (s == AS_FALLEN_BACK && was(bFallRight))
        startGetup(bGetupFrontTurningLeft, s, false);
    else if (s == AS_FALLEN_BACK)
        startGetup(bGetupBack[t], AS_RISING_BACK, true);
    else if (s == AS_FALLEN_SIDE)
        startGetup(bOpenandCloseArms, AS_RISING_SIDE, true);
}

bool AgentActions::isGettingUpTurning()
{
    return currBehavior == bGetupFrontTurningLeft || currBehavior == bGetupFrontTurningRight;
}

int AgentActions::selectOffMarkerOpp()
{
    Vector me = ws->me->position.to2d();
    int best = 0;
    float bestDist = 100;
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        auto it = ws->opponentTeam.find(n);
        if (it == ws->opponentTeam.end() || !it->second)
            continue;
        float d = it->second->position.to2d().getDistanceTo(me);
        if (d < bestDist) {
            bestDist = d;
            best = n;
        }
    }
    if (best != 0) {
        RobovizLogger& draw = RobovizLogger::Instance();
        Vector opp = ws->opponentTeam[best]->position.to2d();
        draw.drawCircle(opp, 0.2f, draw.red, "StopOpp " + std::to_string(best));
        draw.drawCircle(me, 0.2f, draw.blue, "Stop Me");
        draw.drawLine(me, opp, draw.yellow, "Stop Line");
    }
    return best;
}

bool AgentActions::shouldBlockPass()
{
    if (ws->game->playmode != PASS_OPPONENT)
        return false;
    if (!ws->myPos.isBetweenX(ws->myGoalPos, ws->ballPos))
        return false;
    Role r = ws->me->getRole();
    return !r.isGoalie() && !r.isGoalieSubstitute();
}
