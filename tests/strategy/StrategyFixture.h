#ifndef TESTS_STRATEGY_STRATEGYFIXTURE_H
#define TESTS_STRATEGY_STRATEGYFIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "strategy/Strategy.h"

// A small strategy file with one Delaunay formation "form.conf" and one grid
// flux; tests edit its lines, write it into a temporary directory and read
// it there.
std::vector<std::string> baseStrategyLines();

// Formation file text: roles, then samples given as ball and 11 positions.
struct Sample {
    Vector ball;
    std::vector<Vector> players;
};
std::vector<std::string> slotRoles();
std::string formationText(const std::vector<std::string>& roles, const std::vector<Sample>& samples);

// Eleven positions that move with half the ball's displacement: a formation
// that is linear in the ball, so interpolation must reproduce it exactly.
std::vector<Vector> linearPositions(Vector ball);
Vector linearBase(int player);

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return m_path; }
    void write(const std::string& name, const std::string& text) const;
    void writeLines(const std::string& name, const std::vector<std::string>& lines) const;

private:
    std::string m_path;
};

// Builds a Strategy with the working directory set to dir.
std::unique_ptr<Strategy> loadStrategy(const std::string& dir);

class StrategyFileFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::string> lines = baseStrategyLines();

    void SetUp() override;
    std::unique_ptr<Strategy> load();
};

#endif
