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
    std::string out;
    Owned<Region> r(Region::parse(in, out, lists.params, lists.players));
    checkRest(in, out, r != nullptr);
    if (!r) return 0;
    const std::string text = printed(*r);
    std::ostringstream pretty;
    r->printPretty(pretty, " ");
    Owned<Region> again(Region::parse(text, out, lists.params, lists.players));
    if (!again || printed(*again) != text) __builtin_trap();
    allowingLibraryErrors([&] {
        Owned<Region> copy(r->deepCopy(lists.params, lists.players));
        Owned<Region> mirror(r->inversion(lists.params, lists.players));
        printed(*mirror);
    });
    allowingLibraryErrors([&] {
        r->substituteNamedRegions(world);
        r->includesPoint(world.ballPos(), world);
        std::unique_ptr<const PointSimple> centre(r->getCentralPoint(world));
        r->instantiationText(world, false);
    });
    return 0;
}
