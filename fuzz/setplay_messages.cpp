// Fuzz target: the readers of heard set-play messages (init and step
// messages). What they read must print and read back as the same text.
#include <cstdint>
#include <string>

#include "setplay/SetplayException.h"
#include "setplay/SetplayMessage.h"

using namespace ostrevanda::setplay;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string heard(reinterpret_cast<const char*>(data), size);
    const StepMessage step(1.0, heard);
    if (StepMessage(1.0, step.toString()).toString() != step.toString()) __builtin_trap();
    try {
        const InitMessage init(1.0, heard);
        const std::string text = init.toString();
        if (InitMessage(1.0, text).toString() != text) __builtin_trap();
    } catch (const SetplayException&) {
        if (!heard.empty() && heard[0] == 'S') __builtin_trap();
    }
    return 0;
}
