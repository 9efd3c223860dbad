#ifndef FUZZ_FUZZSTRATEGY_H
#define FUZZ_FUZZSTRATEGY_H

// The strategy targets work in the scratch folder, which holds copies of the
// strategy file and the formation files: the strategy, read once from there.

#include <cstdlib>
#include <unistd.h>

#include "FuzzFiles.h"
#include "strategy/Strategy.h"

namespace fuzzfiles {

inline Strategy& strategyInScratch() {
    static Strategy* strategy = nullptr;
    if (strategy == nullptr) {
        copyData("strategy.conf.3D");
        copyData("formations");
        if (chdir(scratch().c_str()) != 0) std::abort();
        strategy = new Strategy();
    }
    return *strategy;
}

}  // namespace fuzzfiles

#endif
