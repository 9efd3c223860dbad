#include "strategy/Role.h"

namespace {
const char* const kRoleNames[] = {"GOA", "DBL", "DBR", "DFL", "DFR", "KEC", "KEL",
                                  "KER", "SUL", "SUR", "ATT", "KCF", "GOS"};
}

Role::Role() : unum(0), idRole(0), idAlternativeRole(0), targetFormation(0, 0), targetScram(0, 0) {}

Role::Role(int id) : unum(0), idRole(id), idAlternativeRole(0), targetFormation(0, 0), targetScram(0, 0) {}

Role::Role(int number, int id)
    : unum(number), idRole(id), idAlternativeRole(0), targetFormation(0, 0), targetScram(0, 0) {}

int Role::getIdRole() const { return idRole; }

void Role::setIdRole(int id) { idRole = id; }

int Role::getIdAlternativeRole() const { return idAlternativeRole; }

void Role::setIdAlternativeRole(int id) { idAlternativeRole = id; }

bool Role::isGoalie() const { return idRole == GOA; }

bool Role::isExecutingGoalie() const { return idRole == GOA || idAlternativeRole == GOA; }

bool Role::isGoalieSubstitute() const { return idAlternativeRole == GOS; }

bool Role::isAttacker() const { return idRole == ATT || idAlternativeRole == ATT; }

bool Role::isKeeper() const { return isBackKeeper() || idRole == KCF; }

bool Role::isBackKeeper() const { return idRole == KEC || idRole == KEL || idRole == KER; }

bool Role::isFrontKeeper() const { return idRole == KCF; }

bool Role::isCenterKeeper() const { return idRole == KEC || idRole == KCF; }

bool Role::isSupport() const { return idRole == SUL || idRole == SUR; }

bool Role::isDefensive() const { return isDefensiveBack() || isDefensiveFront(); }

bool Role::isDefensiveBack() const { return idRole == DBL || idRole == DBR; }

bool Role::isDefensiveFront() const { return idRole == DFL || idRole == DFR; }

int Role::getUnum() const { return unum; }

void Role::setUnum(int number) { unum = number; }

Vector Role::getTargetFormation() const { return targetFormation; }

void Role::setTargetFormation(const Vector& target) { targetFormation = target; }

Vector Role::getTargetScram() const { return targetScram; }

void Role::setTargetScram(const Vector& target) { targetScram = target; }

std::string Role::to_string(int role)
{
    if (role < GOA || role > GOS)
        return "No Rule";
    return kRoleNames[role - GOA];
}

int Role::to_int(const std::string& text)
{
    for (int code = GOA; code <= GOS; code++)
        if (text == kRoleNames[code - GOA])
            return code;
    return NO_ROLE;
}

std::string Role::to_string() const { return to_string(idRole) + " " + to_string(idAlternativeRole); }
