#ifndef UTILS_COMMUNICATION_ROLEAGENTMESSAGE_H
#define UTILS_COMMUNICATION_ROLEAGENTMESSAGE_H

#include <map>

#include "utils/communication/AgentMessage.h"

// The goalkeeper's message (type 2): the role of every shirt number.
class RoleAgentMessage : public AgentMessage {
public:
    explicit RoleAgentMessage(int type);
    virtual ~RoleAgentMessage() {}

    // Replaces a role stored before for the same shirt number.
    void addPlayerRole(int camisa, int role);
    // Throws std::out_of_range when no role is stored for camisa.
    int getPlayerRole(int camisa) const;
    std::map<int, int> getRolesList() const;

private:
    std::map<int, int> mRolesList;
};

#endif
