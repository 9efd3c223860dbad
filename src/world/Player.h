#ifndef WORLD_PLAYER_H
#define WORLD_PLAYER_H

#include <array>

#include "geometry/Vector.h"
#include "strategy/Role.h"
#include "world/MobileObject.h"

// A player of either team, the agent itself included.
class Player : public MobileObject {
public:
    int unum;
    float headAbsXYDir;
    float orientation;
    float vertInclinFront;
    float vertInclinSide;
    bool isPlaying;
    bool onGround;
    float relDir;
    float globalDir;
    float distToBall;
    float risk;
    float availability;
    Vector Vel;
    MobileObject head;
    MobileObject rLowerArm;
    MobileObject lLowerArm;
    MobileObject rFoot;
    MobileObject lFoot;
    Role role;
    int markedOppNum;
    int oppMarkedByTeammate;

    Player();
    explicit Player(const int& unum);
    ~Player() override {}

    // Head, left foot, right foot, left lower arm, right lower arm: the order
    // of the sighting slots of WorldState::setPlayerData.
    std::array<MobileObject*, 5> bodyParts();
    std::array<const MobileObject*, 5> bodyParts() const;

    // The head is higher than 0.27 m.
    bool isStanding() const;
    // Jumped more than 2 m since the previous position, as a beam does.
    bool wasBeamed() const;
    // Planar position of the part of p closest to any part of this player.
    Vector closestBodyPartPosition(Player* p) const;

    void setRole(Role r);
    Role getRole() const;
    int getMarkedOppNum() const;
    void setOppMarkedByTeammate(int n);
};

#endif
