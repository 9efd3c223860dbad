// Fuzz target: the region reader.
#include "FuzzSupport.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Lists lists;
    static World world;
    const std::string in(reinterpret_cast<const char*>(data), size);
    Owned<Region> r = readPrintedAgain<Region>(in, lists);
    if (!r) return 0;
    allowingLibraryErrors([&] {
        r->substituteNamedRegions(world);
        r->includesPoint(world.ballPos(), world);
        std::unique_ptr<const PointSimple> centre(r->getCentralPoint(world));
        r->instantiationText(world, false);
    });
    return 0;
}
