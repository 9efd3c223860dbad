#ifndef UTILS_COMMUNICATION_SETPLAYAGENTMESSAGE_H
#define UTILS_COMMUNICATION_SETPLAYAGENTMESSAGE_H

#include <vector>

#include "utils/communication/AgentMessage.h"

// Progress of a running set play (type 3).
class SetplayAgentMessage : public AgentMessage {
public:
    explicit SetplayAgentMessage(int type);
    virtual ~SetplayAgentMessage() {}

    void setSetplayId(int id);
    int getSetplayId() const;
    // The kind: SimpleAgentMessage::NO_MSG to ABORT_MSG.
    void setSetplayMessage(int kind);
    int getSetplayMessage() const;
    void setCurrentStep(int step);
    int getCurrentStep() const;
    void setNextStep(int step);
    int getNextStep() const;
    void setLeadPlayer(int player);
    int getLeadPlayer() const;
    // Kept apart from the length of the participant list.
    void setNumPlayers(int n);
    int getNumPlayers() const;
    void setPlayersParticipants(std::vector<int> participants);
    std::vector<int> getPlayersParticipants() const;
    void addPlayerParticipant(int player);

private:
    int setplayId;
    int setplayMessage;
    int currentStep;
    int nextStep;
    int leadPlayer;
    int numPlayers;
    std::vector<int> participant;
};

#endif
