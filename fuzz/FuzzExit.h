#ifndef FUZZ_FUZZEXIT_H
#define FUZZ_FUZZEXIT_H

// Forced into every source of the libFuzzer build (build-fuzz/): exit() throws
// ReaderExit instead of ending the process, so that a reader that ends the
// program on a bad file returns to the fuzz target, its stack unwound. The
// files that fopen() opened stay listed until fclose(), so that the target
// can close what such a reader left open.

#ifdef __cplusplus
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

struct ReaderExit {
    int status;
};

[[noreturn]] inline void qvFuzzExit(int status) { throw ReaderExit{status}; }

inline std::vector<FILE*>& qvFuzzOpenFiles() {
    static std::vector<FILE*> files;
    return files;
}

inline FILE* qvFuzzFopen(const char* path, const char* mode) {
    FILE* f = ::fopen(path, mode);
    if (f != nullptr) qvFuzzOpenFiles().push_back(f);
    return f;
}

inline int qvFuzzFclose(FILE* f) {
    std::vector<FILE*>& files = qvFuzzOpenFiles();
    files.erase(std::remove(files.begin(), files.end(), f), files.end());
    return ::fclose(f);
}

// Closes what a reader that threw left open.
inline void qvFuzzCloseAll() {
    for (FILE* f : qvFuzzOpenFiles()) ::fclose(f);
    qvFuzzOpenFiles().clear();
}

namespace std {
using ::qvFuzzExit;
using ::qvFuzzFclose;
using ::qvFuzzFopen;
}  // namespace std

#ifdef QV_FUZZ_LIBFUZZER
#define exit qvFuzzExit
#define fopen qvFuzzFopen
#define fclose qvFuzzFclose
#endif
#endif

#endif
