// Fuzz target: the readers of the walk controllers' matrix files
// ("movs/matrices.txt" and "skills/OmniWalk/matrices.txt"); each input goes
// to both.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "FuzzFiles.h"
#include "skills/OmniWalk/OmniWalkPrevCtrl.h"
#include "skills/OmniWalkZMP.h"

using namespace fuzzfiles;

namespace {

struct Walks {
    OmniWalkZMP zmp;
    OmniWalkPrevCtrl preview;
};

Walks& walks() {
    static Walks* w = nullptr;
    if (w == nullptr) {
        loadRobot();
        copyData("skills/p0");
        copyData("movs/matrices.txt");
        if (chdir(scratch().c_str()) != 0) std::abort();
        w = new Walks();
    }
    return *w;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    walks();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Walks& w = walks();
    writeFile("input.txt", data, size);
    std::string error;
    if (!w.zmp.load("input.txt", error) && error.empty()) __builtin_trap();
    error.clear();
    if (!w.preview.load("input.txt", error) && error.empty()) __builtin_trap();
    return 0;
}
