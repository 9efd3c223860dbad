// Fuzz target: the perceptor parser and the world update behind it, on server
// messages of any content, as player 7 of team "ProbeA" on the left.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzFiles.h"
#include "utils/Singleton.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

namespace {

bool finite(const Vector3f& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzfiles::silence();
    fuzzfiles::playAsProbeSeven();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MessageParser parser;
    parser.parseMessage(std::string(reinterpret_cast<const char*>(data), size));
    const WorldState& ws = Singleton<WorldState>::getInstance();
    if (!finite(ws.me->position) || !std::isfinite(ws.me->orientation) || !finite(ws.ball->position))
        __builtin_trap();
    return 0;
}
