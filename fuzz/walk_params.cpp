// Fuzz target: the reader of the walk's parameter files ("skills/p0" to
// "skills/p4").
#include <cstdint>
#include <string>

#include "FuzzFiles.h"
#include "skills/OmniWalkZMP.h"

using namespace fuzzfiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = scratch() + "/p0";
    writeFile(path, data, size);
    OptParams params;
    std::string error;
    if (!OmniWalkZMP::readParams(path, params, error) && error.empty()) __builtin_trap();
    return 0;
}
