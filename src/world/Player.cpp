#include "world/Player.h"

#include <limits>

Player::Player() : Player(0) {}

Player::Player(const int& number)
    : unum(number), headAbsXYDir(0), orientation(0), vertInclinFront(0), vertInclinSide(0),
      isPlaying(false), onGround(false), relDir(0), globalDir(0),
      distToBall(std::numeric_limits<float>::infinity()), risk(0), availability(0), Vel(0, 0),
      role(number == 1 ? Role(GOA) : Role()), markedOppNum(0), oppMarkedByTeammate(0)
{
}

std::array<MobileObject*, 5> Player::bodyParts()
{
    return {&head, &lFoot, &rFoot, &lLowerArm, &rLowerArm};
}

std::array<const MobileObject*, 5> Player::bodyParts() const
{
    return {&head, &lFoot, &rFoot, &lLowerArm, &rLowerArm};
}

bool Player::isStanding() const { return head.position.z > 0.27f; }

bool Player::wasBeamed() const
{
    if (prevPosition.empty())
        return false;
    return position.to2d().getDistanceTo(prevPosition.front().to2d()) > 2.0f;
}

Vector Player::closestBodyPartPosition(Player* p) const
{
    const MobileObject* mine[] = {&head, &rLowerArm, &lLowerArm, &lFoot, &rFoot};
    const MobileObject* theirs[] = {&p->head, &p->lLowerArm, &p->rLowerArm, &p->lFoot, &p->rFoot};
    float best = 100;
    Vector result(0, 0);
    for (const MobileObject* a : mine) {
        for (const MobileObject* b : theirs) {
            Vector pa = a->position.to2d();
            Vector pb = b->position.to2d();
            float d = pa.getDistanceTo(pb);
            if (d < best) {
                best = d;
                result = pb;
            }
        }
    }
    return result;
}

void Player::setRole(Role r) { role = r; }

Role Player::getRole() const { return role; }

int Player::getMarkedOppNum() const { return markedOppNum; }

void Player::setOppMarkedByTeammate(int n) { oppMarkedByTeammate = n; }
