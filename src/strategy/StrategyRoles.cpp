#include "strategy/Strategy.h"

int Strategy::getFormationRole(int form, int slot) const
{
    std::map<int, Formations::RoleList>::const_iterator it = FM.roles.find(form);
    if (it == FM.roles.end() || slot < 1 || slot >= (int)it->second.size())
        return NO_ROLE;
    return it->second[slot].second.idRole;
}

std::vector<Role> Strategy::getAgentsRole() const { return ST_ROLES; }

Role Strategy::getAgentsRole(int unum) const
{
    if (unum < 1 || unum > (int)ST_ROLES.size())
        return Role();
    return ST_ROLES[unum - 1];
}

void Strategy::updateAgentsRole(Role role)
{
    if (role.unum >= 1 && role.unum <= (int)ST_ROLES.size())
        ST_ROLES[role.unum - 1] = role;
}

void Strategy::updatePosition()
{
    Vector next[12];
    bool found[12] = {};
    for (int u = 1; u <= 11; u++) {
        const int role = ST_ROLES[u - 1].idRole;
        if (role == NO_ROLE)
            continue;
        for (int s = 1; s <= 11; s++) {
            if (getFormationRole(FM_Now, s) == role) {
                next[u] = StDec.FM_StrategicPos[s];
                found[u] = true;
                break;
            }
        }
    }
    for (int u = 1; u <= 11; u++)
        if (found[u])
            StDec.FM_StrategicPos[u] = next[u];
}

void Strategy::configurePlayersWithFormation(const PlayerList& list)
{
    formation.clear();
    for (const auto& entry : list) {
        const int u = entry.first;
        Role r(u, getFormationRole(FM_Now, u));
        if (u >= 0 && u <= 11)
            r.targetFormation = StDec.FM_StrategicPos[u];
        formation.push_back(r);
    }
}

bool Strategy::runScram(const PlayerList& list)
{
    if (GetFormation() == 0)
        return false;
    std::vector<Scram::Point> starts;
    std::vector<Scram::Point> targets;
    for (const auto& entry : list) {
        starts.push_back(entry.second);
        const Vector t = GetStrategicPos(entry.first);
        targets.push_back(Scram::Point(t.x, t.y));
    }
    SC = Scram((int)list.size(), starts, targets);
    if (!SC.run())
        return false;
    updateFormationFromScram();
    return true;
}

void Strategy::updateFormationFromScram()
{
    const std::vector<Role> before = formation;
    for (size_t i = 0; i < formation.size(); i++) {
        const Vector target = SC.getScramPosition((int)i);
        formation[i].targetScram = target;
        for (const Role& r : before)
            if (r.targetFormation.x == target.x && r.targetFormation.y == target.y)
                formation[i].idRole = r.idRole;
    }
    for (const Role& r : formation)
        if (r.unum >= 1 && r.unum <= 11)
            StDec.FM_StrategicPos[r.unum] = r.targetScram;
}

void Strategy::updateRolesFromFormation()
{
    for (const Role& r : formation)
        updateAgentsRole(r);
}
