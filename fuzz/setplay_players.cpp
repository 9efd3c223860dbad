// Fuzz target: the player reference and player list readers.
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
    for (bool opponents : {false, true}) {
        Owned<PlayerReference> one(opponents ? PlayerReference::parseOpp(in, out, lists.params, lists.opponents)
                                             : PlayerReference::parse(in, out, lists.params, lists.players));
        checkRest(in, out, one != nullptr);
        if (one) {
            Owned<PlayerReference> again(PlayerReference::parse(printed(*one), out, lists.params, lists.players));
            if (!again || printed(*again) != printed(*one)) __builtin_trap();
            allowingLibraryErrors([&] {
                Owned<PlayerReference> copy(one->deepCopy(lists.params, opponents ? lists.opponents : lists.players));
                one->instantiationText(world, true);
            });
        }
        allowingLibraryErrors([&] {
            std::vector<PlayerReference*> list =
                opponents ? PlayerReference::parsePlayerListOpp(in, out, lists.params, lists.opponents)
                          : PlayerReference::parsePlayerList(in, out, lists.params, lists.players);
            checkRest(in, out, !list.empty() || out != in);
            for (PlayerReference* p : list) {
                printed(*p);
                dispose(p);
            }
        });
    }
    return 0;
}
