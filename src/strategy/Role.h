#ifndef STRATEGY_ROLE_H
#define STRATEGY_ROLE_H

#include "geometry/Vector.h"

// Role codes of the team.
enum RoleCode {
    NO_ROLE = 0,
    GOA = 1,
    DBL = 2,
    DBR = 3,
    DFL = 4,
    DFR = 5,
    KEC = 6,
    KEL = 7,
    KER = 8,
    SUL = 9,
    SUR = 10,
    ATT = 11,
    KCF = 12,
    GOS = 13
};

// A player's role: shirt number, role code, alternative role code, the target
// from the formation and the one the role assignment gave.
class Role {
public:
    int unum;
    int idRole;
    int idAlternativeRole;
    Vector targetFormation;
    Vector targetScram;

    Role();
    explicit Role(int idRole);
    Role(int unum, int idRole);
    ~Role() {}

    int getIdRole() const;
    void setIdRole(int id);
    int getIdAlternativeRole() const;
    void setIdAlternativeRole(int id);

    bool isGoalie() const;
};

#endif
