#ifndef UTILS_COMMUNICATION_SIMPLEAGENTMESSAGE_H
#define UTILS_COMMUNICATION_SIMPLEAGENTMESSAGE_H

#include <vector>

#include "geometry/Vector3f.h"
#include "utils/communication/AgentMessage.h"

// One player reported in a simple message.
class PlayerInfo {
public:
    // Shirt number minus one.
    int id = 0;
    // 0 ours, 1 opponent.
    int team = 0;
    // 0 to 7, standing for (confidence + 3) / 10.
    int confidence = 0;
    Vector3f position = Vector3f(0, 0, 0);
};

// The everyday message (types 0 and 1, 1 carrying a pass): the ball, the
// sender and up to two reported players.
class SimpleAgentMessage : public AgentMessage {
public:
    enum { NO_MSG = 0, START_MSG = 1, STEP_MSG = 2, DONE_MSG = 3, ABORT_MSG = 4 };

    explicit SimpleAgentMessage(int type);
    virtual ~SimpleAgentMessage() {}

    void addPlayerInfo(const PlayerInfo& info);
    void setPlayersInfo(const std::vector<PlayerInfo>& infos);
    std::vector<PlayerInfo> getPlayersInfo() const;

    int getBallConfidence() const;
    void setBallConfidence(int confidence);
    Vector3f getBallPosition() const;
    void setBallPosition(const Vector3f& position);
    Vector3f getBallVelocity() const;
    void setBallVelocity(const Vector3f& velocity);

    // Set-play fields; they travel in the set-play message, not in this one.
    void setSetplayId(int id);
    int getSetplayId() const;
    void setParticipants(std::vector<int> participants);
    void setParticipants(int participant);
    std::vector<int> getParticipants() const;
    void setSetplayTypeMsg(int type);
    int getSetplayTypeMsg() const;
    void setCurrentStep(int step);
    int getCurrentStep() const;
    void setNextStep(int step);
    int getNextStep() const;

private:
    Vector3f ballPosition;
    Vector3f ballVelocity;
    int ballConfidence;
    std::vector<PlayerInfo> playersInfo;
    int mTypeSetplayMsg;
    int mSetplayId;
    std::vector<int> mParticipants;
    int mCurrentStep;
    int mNextStep;
};

#endif
