// Fuzz target: the reader of the robot descriptions ("nao.xml" ... "nao4.xml")
// and the posture and centre of mass worked out from what it read.
#include <cstdint>
#include <string>

#include "FuzzFiles.h"
#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

using namespace fuzzfiles;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence();
    scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = scratch() + "/input.xml";
    writeFile(path, data, size);
    survivingExit([&] {
        AgentModel& model = Singleton<AgentModel>::getInstance();
        model.initialize(path);
        for (int id = 0; id < Types::NJOINTS; ++id) model.setHingeJointAngle(id, 10.0f * (id % 5) - 20.0f);
        model.update();
        model.getCOM();
    });
    return 0;
}
