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
        std::string out;
        std::unique_ptr<Cond> c(Cond::parse(in, out, lists.params, lists.players));
        checkRest(in, out, c != nullptr);
        if (!c) return;
        const std::string text = printed(*c);
        std::ostringstream pretty;
        c->printPretty(pretty, " ");
        std::unique_ptr<Cond> again(Cond::parse(text, out, lists.params, lists.players));
        if (!again || printed(*again) != text) __builtin_trap();
        allowingLibraryErrors([&] {
            std::unique_ptr<Cond> copy(c->deepCopy(lists.params, lists.players));
            std::unique_ptr<Cond> mirror(c->inversion(lists.params, lists.players));
            printed(*mirror);
        });
        allowingLibraryErrors([&] {
            c->substituteNamedRegions(world);
            c->eval(world);
        });
    });
    return 0;
}
