// Fuzz target: the team-message decoder and the merge of what it decoded into
// the world state; heard text of any content, as player 7 of team "ProbeA".
#include <cstdint>
#include <string>

#include "FuzzFiles.h"
#include "utils/Singleton.h"
#include "utils/communication/AgentComm.h"
#include "utils/communication/MessageParser.h"
#include "world/WorldState.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzfiles::silence();
    fuzzfiles::playAsProbeSeven();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WorldState& ws = Singleton<WorldState>::getInstance();
    AgentComm& comm = Singleton<AgentComm>::getInstance();
    // Several messages in a row, as heard over several cycles.
    const std::string heard(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; at < heard.size() || at == 0; at += AgentComm::MSG_CHARS) {
        comm.decode(heard.substr(at, AgentComm::MSG_CHARS));
        MessageParser::mergeHeardMessage(ws, comm);
        if (ws.ostrevanda.size() != 11 || ws.opponentTeam.size() != 11) __builtin_trap();
    }
    return 0;
}
