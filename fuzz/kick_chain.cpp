// Fuzz target: the reader of the kick chains' numbers ("skills/kickchain.txt").
#include <cstdint>
#include <string>

#include "FuzzFiles.h"
#include "skills/KickChain.h"

using namespace fuzzfiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = scratch() + "/kickchain.txt";
    writeFile(path, data, size);
    KickChain chain[KickChain::ROBOT_TYPES];
    std::string error;
    if (!KickChain::read(path, chain, error) && error.empty()) __builtin_trap();
    return 0;
}
