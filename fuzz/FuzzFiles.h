#ifndef FUZZ_FUZZFILES_H
#define FUZZ_FUZZFILES_H

// What the targets of the file readers share: a private scratch folder that
// the input is written to, copies of the data files there, and a way to run
// a reader that ends the process on a bad file.
//
// Under libFuzzer exit() throws ReaderExit (FuzzExit.h is forced into the
// build). Under our own driver the reader runs in a forked child: a child
// that calls exit() reports "rejected", one that dies by a signal or a
// sanitizer is a crash.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "FuzzExit.h"
#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

#ifndef QV_FUZZ_LIBFUZZER
// The driver's side: in the child, exit() ends only the child (status 101).
extern "C" void qvFuzzEnterChild();
extern "C" [[noreturn]] void qvFuzzChildCrashed(int status);
#endif

namespace fuzzfiles {

inline void silence() {
    std::cout.rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);
}

// Loads the robot description of type 0.
inline void loadRobot() { Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml"); }

// Plays as player 7 of team "ProbeA" on the left, from data/: the world update
// loads the motion files from the working directory.
inline void playAsProbeSeven() {
    if (chdir(QV_DATA_DIR) != 0) std::abort();
    loadRobot();
    WorldState& ws = Singleton<WorldState>::getInstance();
    ws.setTeam("ProbeA");
    ws.setUnum(7);
    ws.setSide("left");
}

inline void removeTree(const std::string& dir) {
    const std::string cmd = "rm -rf '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", dir.c_str());
}

// A folder of this process's own, in memory when the machine has /dev/shm,
// removed when the process ends.
inline const std::string& scratch() {
    static std::string dir;
    static pid_t owner = 0;
    if (dir.empty()) {
        struct stat st;
        char name[32];
        std::snprintf(name, sizeof name, "%s/qvfuzz.XXXXXX",
                      stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp");
        if (mkdtemp(name) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        dir = name;
        owner = getpid();
        std::atexit([] {
            if (getpid() == owner) removeTree(dir);
        });
    }
    return dir;
}

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
}

// Copies a file or folder of data/ into the scratch folder under the same name.
inline void copyData(const std::string& relative) {
    const std::string to = scratch() + "/" + relative;
    const std::string cmd = "mkdir -p \"$(dirname '" + to + "')\" && cp -r '" + std::string(QV_DATA_DIR) + "/" +
                            relative + "' '" + to + "'";
    if (std::system(cmd.c_str()) != 0) std::abort();
}

// Runs f, a reader that may end the process on a bad input: true when it
// returned, false when it ended the process (the reader's way of refusing).
template <typename F>
bool survivingExit(F f) {
#ifdef QV_FUZZ_LIBFUZZER
    try {
        f();
        return true;
    } catch (const ReaderExit&) {
        qvFuzzCloseAll();
        return false;
    }
#else
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) std::abort();
    if (child == 0) {
        qvFuzzEnterChild();
        f();
        _exit(0);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) std::abort();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 101) return false;
    qvFuzzChildCrashed(status);
#endif
}

}  // namespace fuzzfiles

#endif
