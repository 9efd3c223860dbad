#include "utils/communication/SetplayAgentMessage.h"

#include <utility>

SetplayAgentMessage::SetplayAgentMessage(int type)
    : AgentMessage(type), setplayId(0), setplayMessage(0), currentStep(0), nextStep(0),
      leadPlayer(0), numPlayers(0)
{
}

void SetplayAgentMessage::setSetplayId(int id) { setplayId = id; }
int SetplayAgentMessage::getSetplayId() const { return setplayId; }
void SetplayAgentMessage::setSetplayMessage(int kind) { setplayMessage = kind; }
int SetplayAgentMessage::getSetplayMessage() const { return setplayMessage; }
void SetplayAgentMessage::setCurrentStep(int step) { currentStep = step; }
int SetplayAgentMessage::getCurrentStep() const { return currentStep; }
void SetplayAgentMessage::setNextStep(int step) { nextStep = step; }
int SetplayAgentMessage::getNextStep() const { return nextStep; }
void SetplayAgentMessage::setLeadPlayer(int player) { leadPlayer = player; }
int SetplayAgentMessage::getLeadPlayer() const { return leadPlayer; }
void SetplayAgentMessage::setNumPlayers(int n) { numPlayers = n; }
int SetplayAgentMessage::getNumPlayers() const { return numPlayers; }
void SetplayAgentMessage::setPlayersParticipants(std::vector<int> participants)
{
    participant = std::move(participants);
}
std::vector<int> SetplayAgentMessage::getPlayersParticipants() const { return participant; }
void SetplayAgentMessage::addPlayerParticipant(int player) { participant.push_back(player); }
