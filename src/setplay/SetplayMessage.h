#ifndef OSTREVANDA_SETPLAY_SETPLAYMESSAGE_H
#define OSTREVANDA_SETPLAY_SETPLAYMESSAGE_H

#include <string>
#include <vector>

namespace ostrevanda {
namespace setplay {

class Context;
class SetplayManager;

// What team-mates tell each other about a set play.
class SetplayMessage {
public:
    explicit SetplayMessage(double time) : emissionTime_(time) {}
    virtual ~SetplayMessage() {}

    virtual std::string toString() const = 0;
    // Hands itself to the manager's handler for its kind.
    virtual void getProcessedBy(SetplayManager& manager, const Context& context) const = 0;
    virtual bool isInit() const = 0;
    double emissionTime() const { return emissionTime_; }

protected:
    double emissionTime_;
};

// Starts a set play: "S" and the id, then one blank before each argument.
class InitMessage : public SetplayMessage {
public:
    // Reads an init text; a text not starting with "S" raises SetplayException.
    InitMessage(double time, const std::string& message);
    // The arguments are the shirt numbers, the opponents' after the own.
    InitMessage(double time, int setplayNumber_, const std::vector<unsigned>* players,
                const std::vector<unsigned>* playersopp = nullptr);

    std::string toString() const override;
    void getProcessedBy(SetplayManager& manager, const Context& context) const override;
    bool isInit() const override { return true; }

    int setplayNumber;
    std::vector<std::string> arguments;
};

// The sender's current and next step; current -1 ends the set play, next 1
// telling success and -1 failure.
class StepMessage : public SetplayMessage {
public:
    // Reads two integers; what cannot be read is 0.
    StepMessage(double time, const std::string& message);
    StepMessage(double time, int current, int next)
        : SetplayMessage(time), currentStepNumber(current), nextStepNumber(next) {}

    std::string toString() const override;
    void getProcessedBy(SetplayManager& manager, const Context& context) const override;
    bool isInit() const override { return false; }

    int currentStepNumber;
    int nextStepNumber;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
