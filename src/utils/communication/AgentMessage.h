#ifndef UTILS_COMMUNICATION_AGENTMESSAGE_H
#define UTILS_COMMUNICATION_AGENTMESSAGE_H

#include "geometry/Vector.h"
#include "geometry/Vector3f.h"

// What every message between team-mates carries: its type, the sender, the
// sender's vote for the active player and an optional pass announcement.
// Not polymorphic: the kinds are used through their own pointers.
class AgentMessage {
public:
    explicit AgentMessage(int type);

    int getMsgType() const;
    void setMsgType(int type);
    // The sender's shirt number minus one.
    int getSelfId() const;
    void setSelfId(int id);
    Vector3f getSelfPosition() const;
    void setSelfPosition(const Vector3f& position);
    float getSelfOrientation() const;
    void setSelfOrientation(float orientation);
    int getPassPlayer() const;
    void setPassPlayer(int player);
    Vector getPassPosition() const;
    // Kept 1.5 m inside the goal lines and 1 m inside the touch lines.
    void setPassPosition(Vector position);
    int getRole() const;
    void setRole(int role);
    // The shirt number the sender votes for.
    int getActiveCandidate() const;
    void setActiveCandidate(int candidate);

private:
    int msgType;
    int selfId;
    Vector3f selfPosition;
    float selfOrientation;
    int passPlayer;
    Vector passPosition;
    int mRole;
    int mActiveCandidate;
};

#endif
