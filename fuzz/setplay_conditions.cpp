// Fuzz target: the condition reader.
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
    allowingLibraryErrors([&] {
        Owned<Cond> c = readPrintedAgain<Cond>(in, lists);
        if (!c) return;
        allowingLibraryErrors([&] {
            c->substituteNamedRegions(world);
            c->eval(world);
        });
    });
    return 0;
}
