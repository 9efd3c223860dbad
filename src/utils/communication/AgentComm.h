#ifndef UTILS_COMMUNICATION_AGENTCOMM_H
#define UTILS_COMMUNICATION_AGENTCOMM_H

#include <string>

#include "geometry/Vector.h"
#include "utils/communication/RoleAgentMessage.h"
#include "utils/communication/SetplayAgentMessage.h"
#include "utils/communication/SimpleAgentMessage.h"

class WorldState;
class omniMidLevelSkill;

// The agent's end of the say and hear channel between team-mates: when to
// speak, what to say, and the 20-character codec. A message is 120 bits, six
// to a character; it starts with the header 10 and the message type, 4 bits
// each. Opponents hear and speak on the same channel, so whatever is decoded
// may be forged.
class AgentComm {
public:
    enum { SIMPLE_MSG = 0, ROLE_MSG = 2, SETPLAY_MESSAGE = 3 };

    static constexpr int MSG_BITS = 120;
    static constexpr int MSG_CHARS = 20;
    static constexpr int HEADER = 10;

    // 90 characters; the encoder writes only the first 64.
    static const std::string allowed;
    static const std::string otherAvailableChars;

    AgentComm();
    AgentComm(const AgentComm&) = delete;
    AgentComm& operator=(const AgentComm&) = delete;
    ~AgentComm();

    // Once per think cycle; the third argument is not used.
    void communicationStep(int passPlayer, Vector passTarget, int);
    // Whether this cycle is one of my two speaking cycles of every 22.
    bool canCommunicate();
    int getMessageType();
    void buildAndSendMessageToOtherAgents(int passPlayer, Vector passTarget);
    // The echo of a message I said: the vote of my slot counts in my own
    // election when the echo of the first message I said in it comes, the
    // cycle most team-mates hear it too (the others hear the second, with the
    // same vote).
    void heardOwnMessage(const std::string& text);
    // The vote to say now: my vote of the first cycle of this slot.
    int slotVote();
    void buildSimpleMessage(int passPlayer, Vector passTarget);
    void buildGoalieMessage();
    void buildSetplayMessage();

    // Writes the nbits low-order bits of val from start on, most significant
    // first, and advances start. A write that would pass bit 119 writes
    // nothing and leaves start as it is.
    void insertVal(int val, int& start, int nbits);
    // Reads nbits as an unsigned value and advances start; a read that would
    // pass bit 119 gives 0 and leaves start as it is.
    int getVal(int& start, int nbits);
    // Reads nbits as a two's-complement value (negating a negative field in
    // the buffer itself) and advances start; bounded like getVal.
    int getVal2C(int& start, int nbits);
    int normalizeValue(float value, float offset, int precision);

    std::string encodeSimpleMessage(const SimpleAgentMessage& msg);
    std::string encodeGoalieMessage(const RoleAgentMessage& msg);
    std::string encodeSetplayMessage(const SetplayAgentMessage& msg);

    bool checkAuthentication(const std::string& msg);
    // Decodes one heard message and keeps the object until deletePointers.
    // False when nothing was decoded: a wrong length or header, types 4 to
    // 15, or a player count that the type does not allow.
    bool decode(const std::string& msg);
    bool decodeSimpleMessage(const std::string& msg, int type, int start);
    bool decodeGoalieMessage(const std::string& msg, int type, int start);
    bool decodeSetplayMessage(const std::string& msg, int type, int start);

    SimpleAgentMessage* getSimpleMessage() const;
    RoleAgentMessage* getRoleMessage() const;
    SetplayAgentMessage* getSetplayMessage() const;
    void deletePointers();

    // One bit per element, bit 0 first.
    char msgBuffer[MSG_BITS];
    unsigned int nAllowed;
    unsigned short decodechar[256];
    float xPosOffset;
    float yPosOffset;
    float xVelOffset;
    float yVelOffset;
    // Type of the message last chosen or decoded.
    int messageType;
    // The first message I said in my current slot and its vote, until its echo.
    std::string firstOfSlot;
    int firstOfSlotVote;
    // The vote said in my current slot, the cycle it was last said in, and
    // whether that was the first message of the slot.
    int slotVoteValue;
    int slotVoteCycle;
    bool slotStarted;

    WorldState* world;
    // Only for its list of opponents sorted by distance to the ball.
    omniMidLevelSkill* bOmniMidLevelSkill;

    SimpleAgentMessage* simpleMessage;
    RoleAgentMessage* roleMessage;
    SetplayAgentMessage* setplayMessage;

private:
    void say(const std::string& text);
    void clearBuffer();
    std::string bufferToString() const;
    void insertPosition(const Vector3f& p, int& start);
    Vector3f getPosition(int& start);
    void insertOrientation(float orientation, int& start);
    float getOrientation(int& start);
};

#endif
