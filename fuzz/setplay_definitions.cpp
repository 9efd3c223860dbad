// Fuzz target: the set-play definition reader, read as the loader reads a file.
#include "FuzzSupport.h"
#include "setplay/Setplay.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    std::string rest(reinterpret_cast<const char*>(data), size);
    for (int i = 0; i < 8; ++i) {
        std::string out;
        std::unique_ptr<Setplay> s(Setplay::parse(rest, out, true, false, 1.6f));
        if (!s) break;
        if (out.size() >= rest.size()) __builtin_trap();
        std::ostringstream os;
        s->write(os);
        s->write2(os, 0);
        s->write2(os, 3);
        allowingLibraryErrors([&] {
            std::unique_ptr<Setplay> copy(s->deepCopy());
            copy->write(os);
            for (Step* step : copy->getSteps()) step->substituteNamedRegions(world);
        });
        allowingLibraryErrors([&] {
            std::unique_ptr<Setplay> mirror(s->inversion());
            if (mirror) mirror->write2(os, 1);
        });
        rest = out;
    }
    return 0;
}
