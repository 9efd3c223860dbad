#ifndef SKILLS_GAITGENERATOR_H
#define SKILLS_GAITGENERATOR_H

#include <string>

class Actions;

// A named gait source: initialised, executed once per cycle through the
// effector builder, asked whether it has finished. The base gait does
// nothing and is finished at once.
class GaitGenerator {
public:
    explicit GaitGenerator(const std::string& name) : name(name) {}
    virtual ~GaitGenerator() {}

    virtual void init() {}
    virtual void execute(Actions* /*actions*/) {}
    virtual bool finished() { return true; }

    void setName(const std::string& n) { name = n; }
    std::string getName() const { return name; }

protected:
    std::string name;
};

#endif
