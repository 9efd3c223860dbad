#ifndef SKILLS_BEHAVIOR_H
#define SKILLS_BEHAVIOR_H

#include <map>
#include <string>

// A motion behaviour driven by its owner: init when it becomes current,
// execute once per server cycle, finished to know when to switch. Named
// variables let a caller steer a behaviour without knowing its class.
class Behavior {
public:
    explicit Behavior(const std::string& name = std::string());
    virtual ~Behavior() {}

    // Reads the behaviour's definition from a file; nothing by default.
    virtual void parse(const std::string& fileName);
    // Starts, or restarts, from the first phase.
    virtual void init() = 0;
    // One control step; sends the resulting commands.
    virtual void execute() = 0;
    virtual bool finished() = 0;

    std::string getName() const;
    void setVar(const std::string& var, float value);
    // The variable's value, or def when it was never set; never inserts.
    float getVar(const std::string& var, float def) const;
    void clearVars();

protected:
    std::string name;
    // Time of the last init, on the clock the subclass keeps.
    float initTime;
    std::map<std::string, float> vars;
};

#endif
