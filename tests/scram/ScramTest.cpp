#include "scram/Scram.h"

#include "logger/LogParameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace {

typedef Scram::Point P;

std::vector<Vector> assign(const std::vector<P>& starts, const std::vector<P>& targets)
{
    Scram sc((int)starts.size(), starts, targets);
    EXPECT_TRUE(sc.run());
    std::vector<Vector> out;
    for (size_t i = 0; i < starts.size(); i++)
        out.push_back(sc.getScramPosition((int)i));
    return out;
}

// Walk lengths of an assignment, longest first.
std::vector<double> walks(const std::vector<P>& starts, const std::vector<P>& targets,
                          const std::vector<int>& perm)
{
    std::vector<double> d;
    for (size_t i = 0; i < starts.size(); i++)
        d.push_back(Scram::getdist(starts[i], targets[perm[i]]));
    std::sort(d.begin(), d.end(), std::greater<double>());
    return d;
}

struct HandCase {
    const char* name;
    std::vector<P> starts;
    std::vector<P> targets;
    std::vector<int> expected;  // target index of each start
};

class ScramHandTest : public ::testing::TestWithParam<HandCase> {};

TEST_P(ScramHandTest, AssignsEachStartItsTarget)
{
    const HandCase& c = GetParam();
    std::vector<Vector> got = assign(c.starts, c.targets);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); i++) {
        const P& t = c.targets[c.expected[i]];
        EXPECT_FLOAT_EQ(got[i].x, (float)t.first) << "start " << i;
        EXPECT_FLOAT_EQ(got[i].y, (float)t.second) << "start " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScramHandTest,
    ::testing::Values(
        // Crossing over: both walk 1 m instead of one walking 10 m.
        HandCase{"swap", {{0, 0}, {10, 0}}, {{10, 1}, {0, 1}}, {1, 0}},
        // A row shifted by one: everybody moves one metre on.
        HandCase{"shift", {{0, 0}, {1, 0}, {2, 0}}, {{1, 0}, {2, 0}, {3, 0}}, {0, 1, 2}},
        // The smallest sum (0 + 3 + 4.24) has a 4.24 m walk; the bottleneck
        // assignment keeps every walk within sqrt(10) m.
        HandCase{"bottleneck beats sum",
                 {{3, 3}, {3, 4}, {3, 1}},
                 {{2, 0}, {0, 1}, {3, 1}},
                 {0, 2, 1}},
        // The longest walk (start 0, 5 m) is forced; among the rest the
        // second longest is minimised next.
        HandCase{"second pass",
                 {{0, 0}, {10, 0}, {11, 0}},
                 {{5, 0}, {10, 2}, {11, 1}},
                 {0, 1, 2}},
        HandCase{"single", {{4, 4}}, {{-2, 1}}, {0}}),
    [](const ::testing::TestParamInfo<HandCase>& info) {
        std::string s = info.param.name;
        std::replace(s.begin(), s.end(), ' ', '_');
        return s;
    });

TEST(ScramTest, EqualLengthsGoByStartThenTargetIndex)
{
    // All four walks are sqrt(2) m: the identity comes first in the edge order.
    std::vector<Vector> got = assign({{0, 0}, {0, 2}}, {{1, 1}, {-1, 1}});
    EXPECT_FLOAT_EQ(got[0].x, 1);
    EXPECT_FLOAT_EQ(got[1].x, -1);
}

TEST(ScramTest, MatchesExhaustiveSearchOnRandomTeams)
{
    // The result is a permutation whose walks, longest first, are the
    // lexicographically smallest of all permutations.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-6, 6);
    for (int round = 0; round < 150; round++) {
        const int n = 1 + round % 6;
        std::vector<P> starts, targets;
        for (int i = 0; i < n; i++) {
            starts.push_back(P(coord(rng), coord(rng)));
            targets.push_back(P(coord(rng), coord(rng)));
        }
        Scram sc(n, starts, targets);
        ASSERT_TRUE(sc.run());
        std::vector<int> perm(n, -1);
        std::vector<int> taken(n, 0);
        for (int i = 0; i < n; i++) {
            // Map the resulting position back to an unused target index.
            Vector v = sc.getScramPosition(i);
            for (int j = 0; j < n; j++) {
                if (!taken[j] && (float)targets[j].first == v.x && (float)targets[j].second == v.y) {
                    perm[i] = j;
                    taken[j] = 1;
                    break;
                }
            }
            ASSERT_NE(perm[i], -1) << "round " << round << ": not a permutation";
        }
        std::vector<double> got = walks(starts, targets, perm);

        std::vector<int> p(n);
        for (int i = 0; i < n; i++)
            p[i] = i;
        std::vector<double> best = walks(starts, targets, p);
        do {
            std::vector<double> w = walks(starts, targets, p);
            if (std::lexicographical_compare(w.begin(), w.end(), best.begin(), best.end()))
                best = w;
        } while (std::next_permutation(p.begin(), p.end()));

        for (int i = 0; i < n; i++)
            ASSERT_NEAR(got[i], best[i], 1e-9) << "round " << round << " walk " << i;
    }
}

TEST(ScramTest, IndexOutsideResultGivesMinusOne)
{
    Scram sc(2, {{0, 0}, {1, 1}}, {{1, 1}, {0, 0}});
    ASSERT_TRUE(sc.run());
    for (int i : {-1, 2}) {
        EXPECT_FLOAT_EQ(sc.getScramPosition(i).x, -1);
        EXPECT_FLOAT_EQ(sc.getScramPosition(i).y, -1);
    }
}

TEST(ScramTest, WrongListSizesDoNotRun)
{
    std::vector<P> nine, ten;
    for (int i = 0; i < 9; i++)
        nine.push_back(P(i, 0));
    for (int i = 0; i < 10; i++)
        ten.push_back(P(i, 1));
    Scram sc(10, nine, ten);
    LogParameters::instance().active(true);
    LogParameters::instance().level(log_ERROR);
    ::testing::internal::CaptureStderr();
    const bool ran = sc.run();
    const std::string err = ::testing::internal::GetCapturedStderr();
    LogParameters::instance().active(false);
    EXPECT_FALSE(ran);
    EXPECT_NE(err.find("Scram: positionMap nullStarts: 0Targets0"), std::string::npos) << err;
    EXPECT_TRUE(sc.result.empty());
    EXPECT_FLOAT_EQ(sc.getScramPosition(0).x, -1);
}

}  // namespace
