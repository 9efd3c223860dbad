#include "utils/communication/SimpleAgentMessage.h"

#include <utility>

SimpleAgentMessage::SimpleAgentMessage(int type)
    : AgentMessage(type), ballPosition(0, 0, 0), ballVelocity(0, 0, 0), ballConfidence(0),
      mTypeSetplayMsg(NO_MSG), mSetplayId(-1), mCurrentStep(-1), mNextStep(-1)
{
}

void SimpleAgentMessage::addPlayerInfo(const PlayerInfo& info) { playersInfo.push_back(info); }
void SimpleAgentMessage::setPlayersInfo(const std::vector<PlayerInfo>& infos) { playersInfo = infos; }
std::vector<PlayerInfo> SimpleAgentMessage::getPlayersInfo() const { return playersInfo; }

int SimpleAgentMessage::getBallConfidence() const { return ballConfidence; }
void SimpleAgentMessage::setBallConfidence(int confidence) { ballConfidence = confidence; }
Vector3f SimpleAgentMessage::getBallPosition() const { return ballPosition; }
void SimpleAgentMessage::setBallPosition(const Vector3f& position) { ballPosition = position; }
Vector3f SimpleAgentMessage::getBallVelocity() const { return ballVelocity; }
void SimpleAgentMessage::setBallVelocity(const Vector3f& velocity) { ballVelocity = velocity; }

void SimpleAgentMessage::setSetplayId(int id) { mSetplayId = id; }
int SimpleAgentMessage::getSetplayId() const { return mSetplayId; }
void SimpleAgentMessage::setParticipants(std::vector<int> participants)
{
    mParticipants = std::move(participants);
}
void SimpleAgentMessage::setParticipants(int participant) { mParticipants.push_back(participant); }
std::vector<int> SimpleAgentMessage::getParticipants() const { return mParticipants; }
void SimpleAgentMessage::setSetplayTypeMsg(int type) { mTypeSetplayMsg = type; }
int SimpleAgentMessage::getSetplayTypeMsg() const { return mTypeSetplayMsg; }
void SimpleAgentMessage::setCurrentStep(int step) { mCurrentStep = step; }
int SimpleAgentMessage::getCurrentStep() const { return mCurrentStep; }
void SimpleAgentMessage::setNextStep(int step) { mNextStep = step; }
int SimpleAgentMessage::getNextStep() const { return mNextStep; }
