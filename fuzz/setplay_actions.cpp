// Fuzz target: the action and action list readers.
#include "FuzzSupport.h"
#include "setplay/Action.h"

using namespace fuzzsupport;

namespace {
struct NoExecutor : Action::Executor {
    void execute(const ActPos&) override {}
    void execute(const ActLongKick&) override {}
    void execute(const ActPass&) override {}
    void execute(const ActMark&) override {}
    void execute(const ActMarkLinePlayer&) override {}
    void execute(const ActMarkLineReg&) override {}
    void execute(const ActDribble&) override {}
    void execute(const ActOffsideLine&) override {}
    void execute(const ActClear&) override {}
    void execute(const ActShoot&) override {}
    void execute(const ActHold&) override {}
    void execute(const ActIntercept&) override {}
    void execute(const ActTackle&) override {}
    void execute(const ActStop&) override {}
    void execute(const ActAttentionToReg&) override {}
    void execute(const ActAttentionToObj&) override {}
    void execute(const ActMarkGoal&) override {}
    void execute(const ActReceiveBall&) override {}
    void execute(const ActMoveToOffsideLine&) override {}
    void execute(const ActPasstoBestPlayer&) override {}
    void execute(const ActOfeMark&) override {}
    void execute(const ActMov&) override {}
    void execute(const ActDefMark&) override {}
    void execute(const ActBecomeOwner&) override {}
};
}  // namespace

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
        std::unique_ptr<std::vector<Action*>> list(
            Action::parseActionList(in, out, lists.params, lists.players, lists.opponents));
        checkRest(in, out, list != nullptr);
        if (!list) return;
        struct Release {
            std::vector<Action*>& v;
            ~Release() {
                for (Action* a : v) delete a;
            }
        } release{*list};
        NoExecutor executor;
        for (const Action* a : *list) {
            const std::string text = printed(*a);
            std::ostringstream pretty;
            a->printPretty(pretty, " ");
            // Opponents print in the own players' long form, which the opponent
            // readers do not take.
            if (text.find(":team opp") == std::string::npos) {
                std::unique_ptr<Action> again(
                    Action::parse(text, out, lists.params, lists.players, lists.opponents));
                if (!again || printed(*again) != text) __builtin_trap();
            }
            a->getExecuted(executor);
            a->relevantPlayers();
            allowingLibraryErrors([&] {
                std::unique_ptr<Action> copy(a->deepCopy(lists.params, lists.players, lists.opponents));
                std::unique_ptr<Action> mirror(a->inversion(lists.params, lists.players, lists.opponents));
                printed(*mirror);
            });
            allowingLibraryErrors([&] {
                a->substituteNamedRegions(world);
                a->necessaryAction(world.me(), world);
            });
        }
    });
    return 0;
}
