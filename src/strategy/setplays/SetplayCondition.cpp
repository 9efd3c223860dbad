#include "strategy/setplays/SetplayCondition.h"

#include <cmath>

#include "setplay/Action.h"
#include "setplay/Cond.h"
#include "strategy/Pass.h"
#include "strategy/Trajectory.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/WorldState.h"

using namespace ostrevanda::setplay;

namespace {

bool ours(const PlayerID* p) { return p->team == "our"; }

Vector planar(const Player* p) { return p->position.to2d(); }

// The first of the list's resolved players for which the test holds.
template <typename Test>
bool anyPlayer(const ConstPlayerList& players, Test test) {
    for (const PlayerReference* ref : players) {
        const PlayerID* id = ref ? ref->value() : nullptr;
        if (id && WorldState::isShirtNumber(static_cast<int>(id->number)) && test(id)) return true;
    }
    return false;
}

Vector centralPoint(const Region* region, const Context& world) {
    std::unique_ptr<const PointSimple> centre(region->getCentralPoint(world));
    std::unique_ptr<PointSimple> simple(centre ? centre->asPointSimple(world) : nullptr);
    if (!simple) return Vector(0, 0);
    return Vector(static_cast<float>(simple->getX()->value()), static_cast<float>(simple->getY()->value()));
}

}  // namespace

SetplayCondition::SetplayCondition()
    : ws(&Singleton<WorldState>::getInstance()),
      playerPosPoint(new PointSimple(new Decimal(0.0), new Decimal(0.0))),
      playerMovPoint(new PointSimple(new Decimal(0.0), new Decimal(0.0))),
      bp(new PointSimple(new Decimal(0.0), new Decimal(0.0))),
      targetPoint(new PointSimple(new Decimal(0.0), new Decimal(0.0))) {
    createRegions();
}

SetplayCondition::~SetplayCondition() {}

void SetplayCondition::setPasser(Pass* pass) {
    if (pass != passBall.get()) passBall.reset(pass);
}

void SetplayCondition::setPoint(PointSimple& p, double x, double y) {
    p.getX()->set(x);
    p.getY()->set(y);
}

Player* SetplayCondition::record(const PlayerID* player) const {
    if (!player || !WorldState::isShirtNumber(static_cast<int>(player->number))) return nullptr;
    const int n = static_cast<int>(player->number);
    return ours(player) ? ws->getOstrevandaPlayer(n) : ws->getOpponentPlayer(n);
}

bool SetplayCondition::lookup(const CondBallOwner& cond) const {
    const WorldState::WithBall side = ws->playerWithBall();
    return anyPlayer(cond.getPlayerSet(), [&](const PlayerID* p) {
        if (ours(p)) return side != WorldState::OPP && static_cast<int>(p->number) == ws->playWB;
        return p->team == "opp" && side == WorldState::OPP;
    });
}

bool SetplayCondition::lookup(const CondClearShotAtGoal& cond) const {
    const rcss::clang::PlayMode mode = playMode();
    if (mode == rcss::clang::KickOff_Our || mode == rcss::clang::CornerKick_Our || mode == rcss::clang::GoalKick_Our)
        return true;
    return anyPlayer(cond.getFromPlayerSet(), [&](const PlayerID* p) {
        if (ours(p) && ws->canExecuteKick(static_cast<int>(p->number))) return true;
        return static_cast<int>(p->number) == ws->closeOpp && ws->playerWithBall() == WorldState::OPP;
    });
}

bool SetplayCondition::lookup(const CondClearPassToPlayer& cond) const {
    return anyPlayer(cond.getFromPlayerSet(), [&](const PlayerID* p) {
        const int n = static_cast<int>(p->number);
        return ours(p) && n == ws->unum && ws->canExecuteKick(n);
    });
}

bool SetplayCondition::lookup(const CondClearPassToRegion& cond) const {
    if (!cond.getToRegion()) return false;
    Trajectory t;
    t.setPontoPasse(centralPoint(cond.getToRegion(), *this));
    Pass pass;
    const bool inField = pass.classification(t).getClassification() != -2;
    return anyPlayer(cond.getFromPlayerSet(), [&](const PlayerID* p) {
        return ours(p) && ws->canExecuteKick(static_cast<int>(p->number)) && inField;
    });
}

bool SetplayCondition::lookup(const CondNamed&) const { return false; }

bool SetplayCondition::lookup(const CondOppGoal& cond) const {
    return cond.getComp().compare(ws->game->opponentGoals, cond.getValue());
}

bool SetplayCondition::lookup(const CondOurGoal& cond) const {
    return cond.getComp().compare(ws->game->ostrevandaGoals, cond.getValue());
}

bool SetplayCondition::lookup(const CondGoalDiff& cond) const {
    return cond.getComp().compare(ws->game->ostrevandaGoals - ws->game->opponentGoals, cond.getValue());
}

bool SetplayCondition::lookup(const CondNearOffsideLine& cond) const {
    return anyPlayer(cond.getPlayerSet(), [&](const PlayerID* p) {
        const Player* pl = record(p);
        return pl && std::fabs(pl->position.x) > 14;
    });
}

bool SetplayCondition::lookup(const CondPassFailed&) const {
    if (!ws->setplayPasser || !passBall) return false;
    return !(passBall->isActivePassFromSetplay() && ws->isStanding(ws->setplayPasser->unum, false));
}

const PlayerID& SetplayCondition::me() const {
    const unsigned int n = ws->unum > 0 ? static_cast<unsigned>(ws->unum) : 0u;
    if (!self || self->number != n) self.reset(new PlayerID("our", n));
    return *self;
}

double SetplayCondition::time() const { return ws->cTime; }

const PointSimple* SetplayCondition::ballPos() const {
    setPoint(*bp, ws->ballPos.x, ws->ballPos.y);
    return bp.get();
}

const PointSimple* SetplayCondition::playerPos(const PlayerID& player) const {
    if (player.team != "our" && player.team != "opp") {
        setPoint(*playerPosPoint, 0, 0);
        return playerPosPoint.get();
    }
    const Player* p = record(&player);
    if (!p) return nullptr;
    setPoint(*playerPosPoint, p->position.x, p->position.y);
    return playerPosPoint.get();
}

const PointSimple* SetplayCondition::playerMov(const PlayerID& player) const {
    const bool opp = player.team == "opp";
    const int n = static_cast<int>(player.number);
    const Player* p = !WorldState::isShirtNumber(n) ? nullptr
                      : opp                        ? ws->getOpponentPlayer(n)
                                                   : ws->getOstrevandaPlayer(n);
    if (!p) return nullptr;
    setPoint(*playerMovPoint, p->position.x, p->position.y);
    return playerMovPoint.get();
}

Vector SetplayCondition::markReference(const ActOfeMark& action) const {
    Vector t(0, 0);
    switch (action.getTargetType()) {
    case ActOfeMark::Ball:
        t = ws->ballPos;
        break;
    case ActOfeMark::Player:
        if (action.getPlayerRelative()) {
            const int n = static_cast<int>(action.getPlayerRelative()->value()
                                               ? action.getPlayerRelative()->value()->number
                                               : 0);
            const Player* p = WorldState::isShirtNumber(n) ? ws->getOstrevandaPlayer(n) : nullptr;
            if (p) t = planar(p);
        }
        break;
    case ActOfeMark::Opp_GoalPost:
        t = ws->theirGoalPos;
        break;
    case ActOfeMark::Our_GoalPost:
        t = ws->myGoalPos;
        break;
    case ActOfeMark::Point:
        if (action.getRelPoint()) t = centralPoint(action.getRelPoint(), *this);
        break;
    default:
        break;
    }
    return t;
}

const PointSimple* SetplayCondition::actTargetPoint(const ActOfeMark& action) const {
    Vector t = markReference(action);
    if (t.x == 0 && t.y == 0) t = ws->ballPos;
    const PlayerReference* dest = action.getDestPlayer();
    const PlayerID* id = dest ? dest->value() : nullptr;
    const int n = id ? static_cast<int>(id->number) : 0;
    const Player* opp = WorldState::isShirtNumber(n) ? ws->getOpponentPlayer(n) : nullptr;
    // An unknown opponent leaves the reference point itself as the target.
    Vector target = t;
    if (opp) {
        const Vector o = planar(opp);
        const Vector m((t.x + o.x) / 2, (t.y + o.y) / 2);
        const float alfa = std::fabs((ws->theirGoalPos - t).getDirection() - (m - t).getDirection());
        target = (alfa > 20 && ws->myPos.x > 0) ? m : Vector((m.x + o.x) / 2, (m.y + o.y) / 2);
    }
    setPoint(*targetPoint, target.x, target.y);
    return targetPoint.get();
}

unsigned int SetplayCondition::oppWithBall() const {
    if (ws->playerWithBall() == WorldState::OPP) return static_cast<unsigned>(ws->playWB);
    return static_cast<unsigned>(-1);
}

double SetplayCondition::fieldLength() const { return ws->conditions->fieldLength; }

double SetplayCondition::fieldWidth() const { return ws->conditions->fieldWidth; }

rcss::clang::PlayMode SetplayCondition::mapPlayMode(int agentPlayMode) {
    switch (agentPlayMode) {
    case BEFORE_KICKOFF: return rcss::clang::BeforeKickOff;
    case QUORVEL_KICKOFF: return rcss::clang::KickOff_Our;
    case OPPONENT_KICKOFF: return rcss::clang::KickOff_Opp;
    case QUORVEL_KICKIN: return rcss::clang::KickIn_Our;
    case OPPONENT_KICKIN: return rcss::clang::KickIn_Opp;
    case QUORVEL_CORNER_KICK: return rcss::clang::CornerKick_Our;
    case OPPONENT_CORNER_KICK: return rcss::clang::CornerKick_Opp;
    case QUORVEL_FREE_KICK: return rcss::clang::FreeKick_Our;
    case OPPONENT_FREE_KICK: return rcss::clang::FreeKick_Opp;
    case QUORVEL_GOAL_KICK: return rcss::clang::GoalKick_Our;
    case OPPONENT_GOAL_KICK: return rcss::clang::GoalKick_Opp;
    case QUORVEL_GOAL: return rcss::clang::AfterGoal_Our;
    case OPPONENT_GOAL: return rcss::clang::AfterGoal_Opp;
    case PLAY_ON:
    case PASS_QUORVEL: return rcss::clang::PlayOn;
    default: return rcss::clang::Invalid;
    }
}

rcss::clang::PlayMode SetplayCondition::playMode() const { return mapPlayMode(ws->game->playmode); }

const std::string& SetplayCondition::opponentName() const { return ws->opponentName; }

void SetplayCondition::createRegions() {
    ns.reset(new NameSubstitutions());
    const double L = ws->conditions->fieldLength, W = ws->conditions->fieldWidth;
    const double PL = ws->conditions->penaltyAreaLength, PW = ws->conditions->penaltyAreaWidth;
    auto point = [](double x, double y) { return new PointSimple(new Decimal(x), new Decimal(y)); };
    auto add = [&](const char* name, Region* r) {
        regions.emplace_back(r);
        ns->addSubstitution(name, r);
    };
    auto rec = [&](const char* name, double x0, double y0, double x1, double y1) {
        add(name, new RegRec(point(x0, y0), point(x1, y1)));
    };
    rec("field", -L / 2, -W / 2, L / 2, W / 2);
    rec("our_middle_field", -L / 2, -W / 2, 0, W / 2);
    rec("their_middle_field", 0, -W / 2, L / 2, W / 2);
    rec("their_penalty_box", L / 2 - PL, -PW / 2, L / 2, PW / 2);
    rec("our_penalty_box", -L / 2, -PW / 2, -L / 2 + PL, PW / 2);
    rec("far_left", -L / 2, -W / 2 - 1, L / 2, -W / 3);
    rec("mid_left", -L / 2, -W / 3, L / 2, -W / 6);
    rec("centre_left", -L / 2, -W / 6, L / 2, 0);
    rec("centre_right", -L / 2, 0, L / 2, W / 6);
    rec("mid_right", -L / 2, W / 6, L / 2, W / 3);
    rec("far_right", -L / 2, W / 3, L / 2, W / 2 + 1);
    rec("our_back", -L / 2, -W / 2, -L / 3, W / 2);
    rec("our_middle", -L / 3, -W / 2, -L / 6, W / 2);
    rec("our_front", -L / 6, -W / 2, 0, W / 2);
    rec("their_front", 0, -W / 2, L / 6, W / 2);
    rec("their_middle", L / 6, -W / 2, L / 3, W / 2);
    rec("their_back", L / 3, -W / 2, L / 2, W / 2);
    // A fan of sectors from the centre of their goal line to the border: the
    // far corners walk along one side line, our goal line and the other.
    const double border[][2] = {{L / 2, -W / 2},  {L / 3, -W / 2},  {L / 6, -W / 2}, {0, -W / 2},
                                {-L / 6, -W / 2}, {-L / 3, -W / 2}, {-L / 2, -W / 2}, {-L / 2, -W / 3},
                                {-L / 2, -W / 6}, {-L / 2, 0},      {-L / 2, W / 6}, {-L / 2, W / 3},
                                {-L / 2, W / 2},  {-L / 3, W / 2},  {-L / 6, W / 2}, {0, W / 2},
                                {L / 6, W / 2},   {L / 3, W / 2},   {L / 2, W / 2}};
    for (unsigned i = 0; i < RegNamed::NUM_RADIAL_REGIONS; ++i)
        add(RegNamed::RADIAL_REGION_NAMES[i], new RegTri(point(border[i][0], border[i][1]), point(L / 2, 0),
                                                         point(border[i + 1][0], border[i + 1][1])));
    rec("left", -L / 2 - 1, -W / 2 - 1, L / 2 + 1, 0);
    rec("right", -L / 2 - 1, 0, L / 2 + 1, W / 2 + 1);
}
