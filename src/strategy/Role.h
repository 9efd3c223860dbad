#ifndef STRATEGY_ROLE_H
#define STRATEGY_ROLE_H

#include <string>

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
    typedef RoleCode Roles;

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
    int getUnum() const;
    void setUnum(int number);
    Vector getTargetFormation() const;
    void setTargetFormation(const Vector& target);
    Vector getTargetScram() const;
    void setTargetScram(const Vector& target);

    bool isGoalie() const;
    bool isExecutingGoalie() const;
    bool isGoalieSubstitute() const;
    bool isAttacker() const;
    bool isKeeper() const;
    bool isBackKeeper() const;
    bool isFrontKeeper() const;
    bool isCenterKeeper() const;
    bool isSupport() const;
    bool isDefensive() const;
    bool isDefensiveBack() const;
    bool isDefensiveFront() const;

    void roleMapping() {}

    // Three-letter text of a role code; "No Rule" for 0 and codes outside 1..13.
    static std::string to_string(int role);
    // Role code of a three-letter text; NO_ROLE for any other text.
    static int to_int(const std::string& text);
    // Text of the role, a blank, and the text of the alternative role.
    std::string to_string() const;
};

#endif
