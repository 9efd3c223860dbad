#include "utils/communication/AgentMessage.h"

#include <algorithm>

#include "world/GameConditions.h"

AgentMessage::AgentMessage(int type)
    : msgType(type), selfId(0), selfPosition(0, 0, 0), selfOrientation(0), passPlayer(-1),
      passPosition(0, 0), mRole(-1), mActiveCandidate(0)
{
}

int AgentMessage::getMsgType() const { return msgType; }
void AgentMessage::setMsgType(int type) { msgType = type; }
int AgentMessage::getSelfId() const { return selfId; }
void AgentMessage::setSelfId(int id) { selfId = id; }
Vector3f AgentMessage::getSelfPosition() const { return selfPosition; }
void AgentMessage::setSelfPosition(const Vector3f& position) { selfPosition = position; }
float AgentMessage::getSelfOrientation() const { return selfOrientation; }
void AgentMessage::setSelfOrientation(float orientation) { selfOrientation = orientation; }
int AgentMessage::getPassPlayer() const { return passPlayer; }
void AgentMessage::setPassPlayer(int player) { passPlayer = player; }
Vector AgentMessage::getPassPosition() const { return passPosition; }

void AgentMessage::setPassPosition(Vector position)
{
    static const GameConditions field;
    const double maxX = field.fieldLength / 2.0 - 1.5;
    const double maxY = field.fieldWidth / 2.0 - 1.0;
    passPosition.x = static_cast<float>(std::min(std::max(double(position.x), -maxX), maxX));
    passPosition.y = static_cast<float>(std::min(std::max(double(position.y), -maxY), maxY));
}

int AgentMessage::getRole() const { return mRole; }
void AgentMessage::setRole(int role) { mRole = role; }
int AgentMessage::getActiveCandidate() const { return mActiveCandidate; }
void AgentMessage::setActiveCandidate(int candidate) { mActiveCandidate = candidate; }
