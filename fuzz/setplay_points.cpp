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
    std::string out;
    Owned<Point> p(Point::parse(in, out, lists.params, lists.players));
    checkRest(in, out, p != nullptr);
    if (!p) return 0;
    const std::string text = printed(*p);
    std::ostringstream pretty;
    p->printPretty(pretty, " ");
    Owned<Point> again(Point::parse(text, out, lists.params, lists.players));
    if (!again || printed(*again) != text) __builtin_trap();
    allowingLibraryErrors([&] {
        Owned<Point> copy(p->deepCopy(lists.params, lists.players));
        Owned<Point> mirror(p->inversion(lists.params, lists.players));
        printed(*mirror);
    });
    allowingLibraryErrors([&] {
        std::unique_ptr<PointSimple> at(p->asPointSimple(world));
        p->instantiationText(world, true);
    });
    return 0;
}
