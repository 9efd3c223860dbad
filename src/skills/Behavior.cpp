#include "skills/Behavior.h"

Behavior::Behavior(const std::string& n) : name(n), initTime(0) {}

void Behavior::parse(const std::string&) {}

std::string Behavior::getName() const {
    return name;
}

void Behavior::setVar(const std::string& var, float value) {
    vars[var] = value;
}

float Behavior::getVar(const std::string& var, float def) const {
    std::map<std::string, float>::const_iterator it = vars.find(var);
    return it == vars.end() ? def : it->second;
}

void Behavior::clearVars() {
    vars.clear();
}
