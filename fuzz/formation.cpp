// Fuzz target: the reader of a formation file (samples of where each player
// stands for a ball position, read into formation 1), and the positions
// interpolated from it.
#include <cstdint>

#include "FuzzStrategy.h"

using namespace fuzzfiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    strategyInScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Strategy& s = strategyInScratch();
    writeFile("input.conf", data, size);
    survivingExit([&] {
        char name[] = "input.conf";
        s.ReadDelaunayFormation(1, name);
        for (float x = -20; x <= 20; x += 8)
            for (int owner = 0; owner <= 11; owner += 3)
                for (int p = 1; p <= s.ST_NUM_PLAYERS; p++) s.SBSPDelaunayPosition(1, p, Vector(x, x / 3), owner);
    });
    return 0;
}
