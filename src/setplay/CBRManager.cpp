#include "setplay/CBRManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

namespace ostrevanda {
namespace setplay {

namespace {

bool blank(const std::string& s) { return s.find_first_not_of(" \t\n\v\f\r") == std::string::npos; }

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string readJoinedLines(const std::string& file) {
    std::ifstream in(file);
    std::string text, line;
    while (std::getline(in, line)) {
        for (char& c : line)
            if (c == '\t') c = ' ';
        text += line;
    }
    return text;
}

CBRManager::CBRManager(std::string _caseBase_file, bool _must_retain_newCases)
    : caseBase_file(std::move(_caseBase_file)), must_retain_newCases(_must_retain_newCases) {
    const std::string text = readJoinedLines(caseBase_file);
    if (text.empty()) {
        std::cerr << "SP: empty CaseBase file!" << std::endl;
        return;
    }
    std::string rest;
    for (Case* c = Case::parse(text, rest); c; c = Case::parse(rest, rest)) {
        caseBase[c->getSolutionId()].emplace_back(c);
        if (rest.empty()) break;
    }
    if (!blank(rest))
        std::cerr << "\nSP (" << rest.size() << " chars): Remainder of CaseBase Config file:" << rest << std::endl;
}

Case* CBRManager::retrieveCases(const std::vector<SetplayId>& possible, const ProblemContext* problem_context) {
    if (caseBase.empty() || !problem_context) return nullptr;
    const CaseSimilarityWeights sw;
    const CaseConclusionWeights cw;
    Case* best = nullptr;
    double bestEval = -1;
    for (const SetplayId& sp : possible) {
        auto it = caseBase.find(sp.id);
        if (it == caseBase.end()) continue;
        for (const std::unique_ptr<Case>& c : it->second) {
            const double e = c->evaluate(*problem_context, sw, cw, sp.participants_distance);
            if (e > bestEval) {
                bestEval = e;
                best = c.get();
            }
        }
    }
    return best;
}

int CBRManager::selectSetplay(const std::vector<SetplayId>& possible, const ProblemContext* problem_context) {
    if (possible.empty()) return NO_SETPLAY;
    if (const Case* best = retrieveCases(possible, problem_context)) {
        int answer = best->getSolutionId();
        double score = best->getEval();
        const CaseSimilarityWeights sw;
        for (const SetplayId& sp : possible) {
            const double e = sw.similarity * std::pow(0.5, sp.participants_distance);
            if (e > score) {
                answer = sp.id;
                score = e;
            }
        }
        return answer;
    }
    // Scaled in 64 bits: r * (n - 1) overflows an int.
    const std::int64_t r = std::rand();
    const std::int64_t last = static_cast<std::int64_t>(possible.size()) - 1;
    std::int64_t index = r * last / RAND_MAX;
    if (index < 0 || index > last) index = last;
    return possible[static_cast<std::size_t>(index)].id;
}

void CBRManager::reviseSolution(const ProblemContext* problem_context, bool success, int finish_step,
                                const SetplayId& problem_solution) {
    if (!problem_context) return;
    const unsigned int reached = finish_step > 0 ? static_cast<unsigned>(finish_step) : 0u;
    const double succes_rate =
        problem_solution.number_steps == 0 ? 0.0 : static_cast<double>(reached / problem_solution.number_steps);
    std::unique_ptr<Case> newCase(new Case(
        problem_solution.id, problem_context->getTransverseRegion(), problem_context->getLongitudinalRegion(),
        problem_context->getRadialRegion(), problem_context->getPlayMode(), problem_context->getOppName(),
        problem_context->getNOpps_nearBall(), problem_solution.participants_distance, 0, 0, 1, success ? 1 : 0,
        succes_rate));
    std::vector<std::unique_ptr<Case>>& cases = caseBase[problem_solution.id];
    bool found = false;
    for (std::unique_ptr<Case>& c : cases) {
        if (c->equals(*newCase)) {
            c->addUse(success);
            c->setSucessPercentage(succes_rate);
            found = true;
            break;
        }
    }
    if (!found) cases.push_back(std::move(newCase));
    if (must_retain_newCases) retainCase();
}

bool CBRManager::retainCase() const {
    std::string text;
    for (const auto& entry : caseBase)
        for (const std::unique_ptr<Case>& c : entry.second) text += c->toString() + "\n";

    // A whole new file renamed over the old one: a reader, or another player
    // writing at the same time, never sees a half-written case base.
    const std::size_t slash = caseBase_file.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : caseBase_file.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? caseBase_file : caseBase_file.substr(slash + 1);
    std::string tmp = dir + "." + base + ".XXXXXX";
    const char* failure = nullptr;
    int err = 0;
    const int fd = ::mkstemp(&tmp[0]);
    if (fd < 0) {
        failure = "cannot create a temporary file";
        err = errno;
    } else {
        ::fchmod(fd, 0644);
        if (!writeAll(fd, text)) {
            failure = "cannot write";
            err = errno;
        }
        if (::close(fd) != 0 && !failure) {
            failure = "cannot write";
            err = errno;
        }
        if (!failure && ::rename(tmp.c_str(), caseBase_file.c_str()) != 0) {
            failure = "cannot replace";
            err = errno;
        }
        if (failure) ::unlink(tmp.c_str());
    }
    if (failure) {
        std::cerr << "RetainCase: case base NOT written to " << caseBase_file << ": " << failure << " ("
                  << std::strerror(err) << ")" << std::endl;
        return false;
    }
    std::cerr << "RetainCase: NewCase Retained" << std::endl;
    return true;
}

std::vector<const Case*> CBRManager::casesOf(int setplayId) const {
    std::vector<const Case*> out;
    auto it = caseBase.find(setplayId);
    if (it != caseBase.end())
        for (const std::unique_ptr<Case>& c : it->second) out.push_back(c.get());
    return out;
}

std::size_t CBRManager::numberOfCases() const {
    std::size_t n = 0;
    for (const auto& entry : caseBase) n += entry.second.size();
    return n;
}

}  // namespace setplay
}  // namespace ostrevanda
