// Fuzz target: the reader of the kick record "movs/parametrosOmnikick.txt",
// and the kick run from what it read, phase by phase, with no server.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "FuzzFiles.h"
#include "skills/OmniDirectionalKick.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

using namespace fuzzfiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    loadRobot();
    copyData("skills/p0");
    copyData("movs/parametrosOmnikick.txt");
    if (chdir(scratch().c_str()) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFile("movs/parametrosOmnikick.txt", data, size);
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.cTime = 0;
    OmniDirectionalKick kick;
    kick.init();
    for (int cycle = 0; cycle < 40 && !kick.finished(); ++cycle) {
        ws.cTime += 0.02f;
        kick.execute();
    }
    return 0;
}
