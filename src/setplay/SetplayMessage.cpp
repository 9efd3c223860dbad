#include "setplay/SetplayMessage.h"

#include <sstream>

#include "setplay/SetplayException.h"
#include "setplay/SetplayManager.h"

namespace ostrevanda {
namespace setplay {

namespace {

// An optionally signed decimal integer at the front of the text; 0 when there
// is none or it does not fit an int.
int leadingInt(const std::string& s) {
    std::istringstream is(s);
    int v = 0;
    if (!(is >> v)) return 0;
    return v;
}

}  // namespace

InitMessage::InitMessage(double time, const std::string& message) : SetplayMessage(time), setplayNumber(0) {
    if (message.empty() || message[0] != 'S') throw SetplayException("SP:Invalid Init message!");
    std::string rest = message.substr(1);
    std::size_t blank = rest.find(' ');
    setplayNumber = leadingInt(rest.substr(0, blank));
    if (blank == std::string::npos) return;
    std::size_t from = blank + 1;
    for (;;) {
        std::size_t next = rest.find(' ', from);
        arguments.push_back(rest.substr(from, next == std::string::npos ? std::string::npos : next - from));
        if (next == std::string::npos) break;
        from = next + 1;
    }
}

InitMessage::InitMessage(double time, int setplayNumber_, const std::vector<unsigned>* players,
                         const std::vector<unsigned>* playersopp)
    : SetplayMessage(time), setplayNumber(setplayNumber_) {
    for (const std::vector<unsigned>* list : {players, playersopp})
        if (list)
            for (unsigned n : *list) arguments.push_back(std::to_string(n));
}

std::string InitMessage::toString() const {
    std::string s = "S" + std::to_string(setplayNumber);
    for (const std::string& a : arguments) s += " " + a;
    return s;
}

void InitMessage::getProcessedBy(SetplayManager& manager, const Context& context) const {
    manager.processReceivedMessage(*this, context);
}

StepMessage::StepMessage(double time, const std::string& message)
    : SetplayMessage(time), currentStepNumber(0), nextStepNumber(0) {
    std::istringstream is(message);
    int current = 0, next = 0;
    if (!(is >> current)) return;
    currentStepNumber = current;
    if (is >> next) nextStepNumber = next;
}

std::string StepMessage::toString() const {
    return std::to_string(currentStepNumber) + " " + std::to_string(nextStepNumber);
}

void StepMessage::getProcessedBy(SetplayManager& manager, const Context& context) const {
    manager.processReceivedMessage(*this, context);
}

}  // namespace setplay
}  // namespace ostrevanda
