// Fuzz target: the reader of a flux file (the worth of the ball's place at
// sample points, read into flux 1), and the worth interpolated from it.
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
        s.ReadDelaunayFlux(1, name);
        for (float x = -20; x <= 20; x += 4)
            for (float y = -12; y <= 12; y += 6) s.FluxDelaunayValue(1, Vector(x, y));
    });
    return 0;
}
