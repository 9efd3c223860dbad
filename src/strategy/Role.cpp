#include "strategy/Role.h"

Role::Role() : unum(0), idRole(0), idAlternativeRole(0), targetFormation(0, 0), targetScram(0, 0) {}

Role::Role(int id) : unum(0), idRole(id), idAlternativeRole(0), targetFormation(0, 0), targetScram(0, 0) {}

Role::Role(int number, int id)
    : unum(number), idRole(id), idAlternativeRole(0), targetFormation(0, 0), targetScram(0, 0) {}

int Role::getIdRole() const { return idRole; }

void Role::setIdRole(int id) { idRole = id; }

int Role::getIdAlternativeRole() const { return idAlternativeRole; }

void Role::setIdAlternativeRole(int id) { idAlternativeRole = id; }

bool Role::isGoalie() const { return idRole == GOA; }
