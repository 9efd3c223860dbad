// Runs a fuzz target without libFuzzer: the seed files, then inputs made by
// mutating them, for a number of runs or a number of seconds.
//
//   fuzz_X [-runs=N] [-seconds=S] [-seed=K] [-dict=FILE] SEED_DIR_OR_FILE...
//
// A crash, a sanitizer report or a broken check in the target ends the
// program and leaves the input in "crash-input" in the working directory;
// otherwise it prints how many inputs it ran. FILE holds tokens to insert, one
// a line in libFuzzer's dictionary form (name="text", \xNN escapes); without
// it the set-play tokens are used.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

// Targets of readers that end the process on a bad file run them in a forked
// child (FuzzFiles.h); the program is linked with exit() wrapped so that exit()
// in that child ends it with status 101 and nothing else runs. What the child
// writes on standard error is shown only when it crashes.
namespace {
bool inChild = false;
int childLog = -1;
}  // namespace

extern "C" [[noreturn]] void __real_exit(int status);
extern "C" [[noreturn]] void __wrap_exit(int status) {
    if (inChild) _exit(101);
    __real_exit(status);
}

extern "C" void qvFuzzEnterChild() {
    inChild = true;
    if (childLog < 0 || ftruncate(childLog, 0) != 0 || lseek(childLog, 0, SEEK_SET) != 0) return;
    dup2(childLog, 2);
}

namespace {

typedef std::vector<uint8_t> Bytes;

// The input being run, written out when the run fails.
const Bytes* current = nullptr;
char crashPath[4096] = "crash-input";  // in the starting folder
int messages = 2;  // standard error as it was at the start

void say(const char* text) {
    if (write(messages, text, std::strlen(text)) < 0) return;
}

void saveCurrent() {
    if (current == nullptr) return;
    const int fd = open(crashPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    if (write(fd, current->data(), current->size()) < 0) say("cannot write crash-input\n");
    close(fd);
    say("the input is in ");
    say(crashPath);
    say("\n");
}

void onSignal(int sig) {
    saveCurrent();
    signal(sig, SIG_DFL);
    raise(sig);
}

// Pieces that the set-play text is made of, and some that it must survive.
const char* const TOKENS[] = {
    "(", ")", " ", "\t", "\n", ":", "-", ".", "0", "7", "-1", "2.5", "1e308", "1e999", "99999999999999999999",
    "2147483648", "\xff", "\xc3\xa9", "" /* the NUL byte */, "(list", "(pt", ":x", ":y", "(pt ball)",
    "(ptRel", "(+", "(ptVar :name p)", "(rec :points", "(triang :points", "(arc :center", ":radius_small",
    ":radius_large", ":angle_begin", ":angle_span", "(regNamed :name", "(regVar :name g)", "(player :team",
    "(playerRole :roleName", ":number", "(and", "(or", "(not", "(ppos :players", ":min", ":max", ":region",
    "(bpos", "(bowner", "(time", "<=", "!=", "(playm", "ko_our", "(passfailed)", "(seq", "(pos", "(lki", ":type",
    "fast", "(bto", "(ofeMark :destPlayer", ":relTo", "(ball)", "(do", "(dont", ":actions", "(step :id",
    ":participants", ":leadPlayer", ":ballHolder", "(NULL)", ":transitions", "(nextStep :id", "(finish",
    "(abort", ":directives", "(setplay :name", ":id", ":invertible true", ":parameters", "(integer :name",
    "(decimal :name", ":players", ":playersOpponents", ":abortCond", ":steps (seq",
};

std::vector<std::string> tokens(std::begin(TOKENS), std::end(TOKENS));

// The quoted text of each line of a libFuzzer dictionary.
std::vector<std::string> readDictionary(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "no such dictionary: %s\n", path.c_str());
        std::exit(2);
    }
    std::vector<std::string> out;
    std::string line;
    while (std::getline(in, line)) {
        const size_t open = line.find('"');
        const size_t close = line.rfind('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open) continue;
        std::string t;
        for (size_t i = open + 1; i < close; ++i) {
            if (line[i] != '\\' || i + 1 >= close) {
                t += line[i];
            } else if (line[i + 1] == 'x' && i + 3 < close) {
                t += static_cast<char>(std::strtol(line.substr(i + 2, 2).c_str(), nullptr, 16));
                i += 3;
            } else {
                t += line[++i];
            }
        }
        out.push_back(t);
    }
    return out;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void collect(const std::string& path, std::vector<Bytes>& seeds) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        std::fprintf(stderr, "no such seed: %s\n", path.c_str());
        std::exit(2);
    }
    if (!S_ISDIR(st.st_mode)) {
        seeds.push_back(readFile(path));
        return;
    }
    DIR* dir = opendir(path.c_str());
    std::vector<std::string> names;
    while (dirent* e = readdir(dir))
        if (e->d_name[0] != '.') names.push_back(path + "/" + e->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) collect(n, seeds);
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    Bytes mutate(const std::vector<Bytes>& seeds, Bytes input) {
        const int rounds = 1 + pick(4);
        for (int i = 0; i < rounds; ++i) once(seeds, input);
        if (input.size() > 64 * 1024) input.resize(64 * 1024);
        return input;
    }

private:
    size_t pick(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    void once(const std::vector<Bytes>& seeds, Bytes& b) {
        const size_t at = pick(b.size() + 1);
        switch (pick(8)) {
        case 0:  // flip a byte
            if (!b.empty()) b[pick(b.size())] ^= static_cast<uint8_t>(1u << pick(8));
            break;
        case 1: {  // insert a token
            const std::string& t = tokens[pick(tokens.size())];
            if (t.empty())
                b.insert(b.begin() + at, 0);  // the NUL byte
            else
                b.insert(b.begin() + at, t.begin(), t.end());
            break;
        }
        case 2: {  // erase a run
            if (b.empty()) break;
            const size_t from = pick(b.size());
            b.erase(b.begin() + from, b.begin() + from + pick(std::min<size_t>(16, b.size() - from) + 1));
            break;
        }
        case 3: {  // duplicate a run, which nests constructs
            if (b.empty()) break;
            const size_t from = pick(b.size());
            const size_t len = 1 + pick(std::min<size_t>(64, b.size() - from));
            Bytes run(b.begin() + from, b.begin() + from + len);
            b.insert(b.begin() + pick(b.size() + 1), run.begin(), run.end());
            break;
        }
        case 4: {  // splice in part of another seed
            const Bytes& other = seeds[pick(seeds.size())];
            if (other.empty()) break;
            const size_t from = pick(other.size());
            const size_t len = 1 + pick(other.size() - from);
            b.insert(b.begin() + at, other.begin() + from, other.begin() + from + len);
            break;
        }
        case 5: {  // a deep nest of one opening
            static const char* const opens[] = {"(and ", "(not ", "(seq ", "(+ ", "(ptRel :x 1 :y 1 :pt ", "("};
            const std::string open = opens[pick(6)];
            const size_t depth = 1 + pick(200);
            Bytes nest;
            for (size_t i = 0; i < depth; ++i) nest.insert(nest.end(), open.begin(), open.end());
            b.insert(b.begin() + at, nest.begin(), nest.end());
            break;
        }
        case 6:  // a random byte
            b.insert(b.begin() + at, static_cast<uint8_t>(pick(256)));
            break;
        default:  // cut the tail
            b.resize(at);
            break;
        }
    }

    std::mt19937 rng_;
};

long option(int& argc, char** argv, const char* name, long fallback) {
    const size_t len = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, len) == 0) {
            const long v = std::strtol(argv[i] + len, nullptr, 10);
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            return v;
        }
    }
    return fallback;
}

std::string textOption(int& argc, char** argv, const char* name) {
    const size_t len = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, len) == 0) {
            const std::string v = argv[i] + len;
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            return v;
        }
    }
    return std::string();
}

}  // namespace

extern "C" void qvFuzzChildCrashed(int status) {
    char buf[4096];
    ssize_t n;
    for (off_t at = 0; childLog >= 0 && (n = pread(childLog, buf, sizeof buf, at)) > 0; at += n)
        if (write(messages, buf, static_cast<size_t>(n)) < 0) break;
    char text[96];
    std::snprintf(text, sizeof text, "the reader's child process ended with %s %d\n",
                  WIFSIGNALED(status) ? "signal" : "status",
                  WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    say(text);
    saveCurrent();
    _exit(1);
}

int main(int argc, char** argv) {
    if (getcwd(crashPath, sizeof crashPath - 16) != nullptr) std::strcat(crashPath, "/crash-input");
    const long runs = option(argc, argv, "-runs=", -1);
    const long seconds = option(argc, argv, "-seconds=", -1);
    const long seed = option(argc, argv, "-seed=", 1);
    const std::string dict = textOption(argc, argv, "-dict=");
    if (!dict.empty()) {
        tokens = readDictionary(dict);
        tokens.push_back("");
        if (tokens.size() == 1) tokens.push_back(" ");
    }
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) collect(argv[i], seeds);
    if (seeds.empty()) seeds.push_back(Bytes());
    // After the seeds are read: a target may change the working directory.
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);

    messages = dup(2);
    if (std::FILE* log = std::tmpfile()) childLog = fileno(log);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(saveCurrent);
    for (int sig : {SIGSEGV, SIGABRT, SIGILL, SIGFPE, SIGBUS}) signal(sig, onSignal);

    for (const Bytes& s : seeds) {
        current = &s;
        LLVMFuzzerTestOneInput(s.data(), s.size());
    }

    Mutator mutator(static_cast<unsigned>(seed));
    const auto start = std::chrono::steady_clock::now();
    std::mt19937 choose(static_cast<unsigned>(seed) + 1);
    long done = 0;
    for (;; ++done) {
        if (runs >= 0 && done >= runs) break;
        if (seconds >= 0 && (done & 63) == 0 &&
            std::chrono::steady_clock::now() - start >= std::chrono::seconds(seconds))
            break;
        if (runs < 0 && seconds < 0 && done >= 1000) break;
        const Bytes& base = seeds[std::uniform_int_distribution<size_t>(0, seeds.size() - 1)(choose)];
        const Bytes input = mutator.mutate(seeds, base);
        current = &input;
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    current = nullptr;
    std::printf("%s: %zu seeds and %ld generated inputs, no crash\n", argv[0], seeds.size(), done);
    return 0;
}
