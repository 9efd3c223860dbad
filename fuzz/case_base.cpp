// Fuzz target: the reader of the case base "formations/cbr.conf", the choice
// of a set play by its cases, the revision after the play's end and the file
// written back, which must read back with as many cases.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "FuzzSupport.h"
#include "setplay/CBRManager.h"
#include "setplay/ProblemContext.h"

using namespace ostrevanda::setplay;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzfiles::silence();
    fuzzfiles::scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzzsupport::World world;
    const std::string path = fuzzfiles::scratch() + "/cbr.conf";
    fuzzfiles::writeFile(path, data, size);
    std::size_t cases = 0;
    {
        CBRManager base(path, true);
        const ProblemContext problem(world, 2);
        const std::vector<CBRManager::SetplayId> candidates = {{1, 3, 5.0}, {2, 4, 8.5}, {7, 2, 0.0}};
        const int chosen = base.selectSetplay(candidates, &problem);
        for (const CBRManager::SetplayId& c : candidates)
            if (c.id == chosen) base.reviseSolution(&problem, size % 2 == 0, 2, c);
        if (!base.retainCase()) return 0;
        cases = base.numberOfCases();
    }
    if (CBRManager(path, false).numberOfCases() != cases) __builtin_trap();
    return 0;
}
