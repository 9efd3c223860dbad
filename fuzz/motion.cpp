// Fuzz target: the reader of the motion files (movs/*.xml, every behaviour
// type), with the robot description of type 0 loaded.
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzFiles.h"
#include "skills/Behavior.h"
#include "skills/MDLParser.h"

using namespace fuzzfiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    loadRobot();
    scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = scratch() + "/input.xml";
    writeFile(path, data, size);
    survivingExit([&] {
        std::unique_ptr<Behavior> b(MDLParser::parse(path, size % 2 == 0));
    });
    return 0;
}
