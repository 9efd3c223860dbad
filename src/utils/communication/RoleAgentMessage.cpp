#include "utils/communication/RoleAgentMessage.h"

RoleAgentMessage::RoleAgentMessage(int type) : AgentMessage(type) {}

void RoleAgentMessage::addPlayerRole(int camisa, int role) { mRolesList[camisa] = role; }

int RoleAgentMessage::getPlayerRole(int camisa) const { return mRolesList.at(camisa); }

std::map<int, int> RoleAgentMessage::getRolesList() const { return mRolesList; }
