// Fuzz target: the point reader.
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
    Owned<Point> p = readPrintedAgain<Point>(in, lists);
    if (!p) return 0;
    allowingLibraryErrors([&] {
        std::unique_ptr<PointSimple> at(p->asPointSimple(world));
        p->instantiationText(world, true);
    });
    return 0;
}
