// Runs a fuzz target without libFuzzer: the seed files, then inputs made by
// mutating them, for a number of runs or a number of seconds.
//
//   fuzz_X [-runs=N] [-seconds=S] [-seed=K] SEED_DIR_OR_FILE...
//
// A crash, a sanitizer report or a broken check in the target ends the
// program; otherwise it prints how many inputs it ran.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

typedef std::vector<uint8_t> Bytes;

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
            const char* t = TOKENS[pick(sizeof(TOKENS) / sizeof(TOKENS[0]))];
            size_t len = std::strlen(t);
            if (len == 0) len = 1;  // the NUL byte
            b.insert(b.begin() + at, t, t + len);
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

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    const long runs = option(argc, argv, "-runs=", -1);
    const long seconds = option(argc, argv, "-seconds=", -1);
    const long seed = option(argc, argv, "-seed=", 1);
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) collect(argv[i], seeds);
    if (seeds.empty()) seeds.push_back(Bytes());
    for (const Bytes& s : seeds) LLVMFuzzerTestOneInput(s.data(), s.size());

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
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%s: %zu seeds and %ld generated inputs, no crash\n", argv[0], seeds.size(), done);
    return 0;
}
