// Player lookups, goals and small geometric queries of the world state.

#include <iostream>

#include "geometry/Geometry.h"
#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

Player* WorldState::getPlayer(int teamCode, int number)
{
    std::map<int, Player*>* players = nullptr;
    if (teamCode == 0) {
        players = &ostrevanda;
    } else if (teamCode == 1) {
        players = &opponentTeam;
    } else if (teamCode == 2) {
        me->oppMarkedByTeammate = number;
        players = &opponentTeam;
    } else {
        return nullptr;
    }
    std::map<int, Player*>::const_iterator it = players->find(number);
    return it == players->end() ? nullptr : it->second;
}

Player* WorldState::getOpponentPlayer(int number) { return getPlayer(1, number); }

Player* WorldState::getOstrevandaPlayer(int number)
{
    if (number == me->unum)
        return me;
    return getPlayer(0, number);
}

Player* WorldState::getQuorvelPlayer(int number) { return getOstrevandaPlayer(number); }

Player* WorldState::getQuorvelPlayerByRole(int role)
{
    for (int n = 1; n <= MAX_UNUM; ++n) {
        Player* p = getOstrevandaPlayer(n);
        if (p != nullptr && p->getRole().getIdRole() == role)
            return p;
    }
    return nullptr;
}

Player* WorldState::getMe() { return me; }

std::map<int, Player*> WorldState::getOstrevandaTeam() const { return ostrevanda; }

std::map<int, Player*> WorldState::getOpponentTeam() const { return opponentTeam; }

std::map<int, Player*>::const_iterator WorldState::beginPlayers() const
{
    return ostrevanda.begin();
}

std::map<int, Player*>::const_iterator WorldState::endPlayers() const { return ostrevanda.end(); }

std::map<int, Player*>::const_iterator WorldState::beginOpponents() const
{
    return opponentTeam.begin();
}

std::map<int, Player*>::const_iterator WorldState::endOpponents() const
{
    return opponentTeam.end();
}

Vector3f WorldState::getFrontLeftGoal() { return goals[front_left]->position; }

Vector3f WorldState::getFrontRightGoal() { return goals[front_right]->position; }

Vector3f WorldState::getBackLeftGoal() { return goals[back_left]->position; }

Vector3f WorldState::getBackRightGoal() { return goals[back_right]->position; }

Vector3f WorldState::getFrontCenterGoal() { return (getFrontLeftGoal() + getFrontRightGoal()) / 2; }

Vector3f WorldState::getBackCenterGoal() { return (getBackLeftGoal() + getBackRightGoal()) / 2; }

float WorldState::getDistanceToGoal(Vector left, Vector right, Vector pos)
{
    Vector c = Line(left, right).getPointOnLineClosestTo(pos);
    if (c.y < left.y)
        return pos.getDistanceTo(left);
    if (c.y > right.y)
        return pos.getDistanceTo(right);
    return Line(left, right).getDistanceWithPoint(pos);
}

float WorldState::ForwardDeviationFromBallTo(int foot)
{
    BodyPart* part = Singleton<AgentModel>::getInstance().getBodyPart(foot);
    // Without a body model the foot is taken where I stand.
    Vector footPos = part != nullptr ? part->getPosition().to2d() : me->position.to2d();
    return Line(footPos, me->orientation + 90).getDistanceWithPoint(ballPos);
}

float WorldState::distToOpp(Vector3f p, Vector3f& oppPos)
{
    float best = 10000;
    for (const auto& entry : opponentTeam) {
        float d = p.dist(entry.second->position);
        if (d < best) {
            best = d;
            oppPos = entry.second->position;
        }
    }
    return best;
}

int WorldState::getFastestCarrier() const { return fastestCarrier; }

int WorldState::getFastestCarrier2() const { return fastestCarrier2; }

int WorldState::getFastestBlocker() const { return fastestBlocker; }

int WorldState::getFastestBlocker2() const { return fastestBlocker2; }

int WorldState::getCurrentBehavior() const { return currentBehavior; }

void WorldState::setCurrentBehavior(int behavior) { currentBehavior = behavior; }

int WorldState::getCurrentPassBlocker() const { return passBlocker; }

void WorldState::setCurrentPassBlocker(int blocker) { passBlocker = blocker; }

bool WorldState::isBlockerFound() const { return blockerFound; }

void WorldState::setBlockerFound(bool found) { blockerFound = found; }

void WorldState::print()
{
    std::map<int, std::string>::const_iterator mode = game->m_Playmode.find(game->playmode);
    std::cout << "WorldState:" << std::endl;
    std::cout << "myPosition:\t" << me->position << std::endl;
    std::cout << "ballPosition:\t" << ball->position << std::endl;
    std::cout << "playmode:\t" << (mode != game->m_Playmode.end() ? mode->second : "")
              << std::endl;
    std::cout << "team side:\t" << (game->side == 1 ? "left" : "right") << std::endl;

    auto printTeam = [](const std::map<int, Player*>& players, const char* none) {
        bool any = false;
        for (const auto& entry : players) {
            if (!entry.second->seen)
                continue;
            any = true;
            std::cout << "\t" << entry.second->unum << ": " << entry.second->position
                      << std::endl;
        }
        if (!any)
            std::cout << "\t" << none << std::endl;
    };
    std::cout << "Teammates (" << team << "): " << std::endl;
    printTeam(ostrevanda, "No teammates seen");
    std::cout << "Opponents (" << opponentName << "): " << std::endl;
    printTeam(opponentTeam, "No opponents seen");
    std::cout << std::endl;
}

void WorldState::setPlayerRelativePosition(int number, int teamCode, float distance,
                                           float horizontalAngle, float verticalAngle)
{
    if (teamCode != OSTREVANDA_TEAM && teamCode != OPPONENT_TEAM)
        return;
    // Only shirt numbers 1 to 11 are players.
    if (!isShirtNumber(number))
        return;
    std::map<int, Player*>& players = teamCode == OSTREVANDA_TEAM ? ostrevanda : opponentTeam;
    Player*& slot = players[number];
    if (slot == nullptr)
        slot = new Player(number);
    Player* p = slot;
    if (teamCode == OSTREVANDA_TEAM && number == me->unum)
        return;

    p->prevRelPosition = p->relPosition;
    p->relPosition = Vector3f(distance, horizontalAngle, verticalAngle).toCartesian();
    p->seen = true;
    p->isPlaying = true;
    Vector3f previous = p->position;
    p->updatePrevPosition(previous);
    Vector3f seenAt = relativeToAbsoluteCoordinates(p->relPosition);
    p->position = (previous * 4 + seenAt) / 5;
}
