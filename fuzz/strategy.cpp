// Fuzz target: the reader of the strategy file "strategy.conf.3D", and the
// strategic positions and the flux worked out from what it read.
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
    writeFile("strategy.conf.3D", data, size);
    survivingExit([&] {
        s.ReadStrategy();
        s.SBSPCalculate();
        for (float x = -20; x <= 20; x += 10) s.CalculateFlux(s.FL_Now, Vector(x, x / 2));
    });
    return 0;
}
