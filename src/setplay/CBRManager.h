#ifndef OSTREVANDA_SETPLAY_CBRMANAGER_H
#define OSTREVANDA_SETPLAY_CBRMANAGER_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setplay/Case.h"
#include "setplay/ProblemContext.h"

namespace ostrevanda {
namespace setplay {

// The file's lines joined into one text, tabs as blanks; empty when it cannot be read.
std::string readJoinedLines(const std::string& file);

// The case base: past uses of set plays, read from and written back to a text
// file, and the choice among candidate set plays by those cases.
class CBRManager {
public:
    struct SetplayId {
        int id;
        unsigned int number_steps;
        double participants_distance;
    };

    // What selectSetplay answers for an empty candidate list.
    static constexpr int NO_SETPLAY = 999999;

    CBRManager(std::string _caseBase_file, bool _must_retain_newCases);
    CBRManager(const CBRManager&) = delete;
    CBRManager& operator=(const CBRManager&) = delete;

    int selectSetplay(const std::vector<SetplayId>& possible_SetplaysId, const ProblemContext* problem_context);
    // The best-scoring case of all candidates (it stays in the base), or null.
    Case* retrieveCases(const std::vector<SetplayId>& possible_SetplaysId, const ProblemContext* problem_context);
    void reviseSolution(const ProblemContext* problem_context, bool success, int finish_step,
                        const SetplayId& problem_solution);
    // Replaces the file as a whole; false (and a line saying so) when it could not.
    bool retainCase() const;

    const std::string& fileName() const { return caseBase_file; }
    // The cases of one set play, in order; empty when it has none.
    std::vector<const Case*> casesOf(int setplayId) const;
    std::size_t numberOfCases() const;

private:
    const std::string caseBase_file;
    const bool must_retain_newCases;
    std::map<int, std::vector<std::unique_ptr<Case>>> caseBase;
};

}  // namespace setplay
}  // namespace ostrevanda

#endif
