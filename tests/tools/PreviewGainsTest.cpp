#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PreviewGains.h"
#include "physics/AgentModel.h"
#include "skills/OmniWalkZMP.h"
#include "utils/Singleton.h"

namespace {

PreviewController design(double dt) {
    PreviewDesign d;
    d.dt = dt;
    PreviewController c;
    EXPECT_TRUE(designPreview(d, c));
    return c;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path.c_str());
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The numbers of a row of comma-separated values, or the label.
std::vector<double> numbers(const std::string& line) {
    std::vector<double> v;
    std::istringstream in(line);
    double x;
    while (in >> x) {
        v.push_back(x);
        char sep;
        if (!(in >> sep)) {
            break;
        }
    }
    return v;
}

TEST(PreviewGains, CommittedFilesAreWhatTheProgramComputes) {
    struct Row {
        const char* file;
        double dt;
        size_t lines;
        const char* labels;  // first characters of the label lines
    } rows[] = {
        {"movs/matrices.txt", 0.002, 29, "ABCKABXc"},
        {"skills/OmniWalk/matrices.txt", 0.02, 14, "ABCGK"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        PreviewController c = design(r.dt);
        std::string computed = r.dt < 0.01 ? walkMatrixFile(c) : walkKickMatrixFile(c);
        std::vector<std::string> want = lines(computed);
        std::vector<std::string> have = lines(readFile(r.file));
        ASSERT_EQ(want.size(), r.lines);
        ASSERT_EQ(have.size(), r.lines);
        std::string labels;
        for (size_t i = 0; i < want.size(); i++) {
            std::vector<double> a = numbers(want[i]);
            std::vector<double> b = numbers(have[i]);
            if (a.empty()) {
                labels += want[i][0];
                EXPECT_EQ(have[i], want[i]);
                continue;
            }
            ASSERT_EQ(a.size(), b.size()) << "line " << i + 1;
            for (size_t j = 0; j < a.size(); j++) {
                EXPECT_NEAR(b[j], a[j], 1e-9 * std::max(1.0, std::fabs(a[j]))) << "line " << i + 1;
            }
        }
        EXPECT_EQ(labels, r.labels);
    }
}

TEST(PreviewGains, GainsDecayWithinTheHorizon) {
    struct Row {
        double dt;
        int horizon;
    } rows[] = {{0.002, 500}, {0.02, 50}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dt);
        PreviewController c = design(r.dt);
        std::vector<double> g = previewGains(c, r.horizon + 1);
        EXPECT_DOUBLE_EQ(g[0], -c.Kp[0]);
        double peak = 0;
        for (double x : g) {
            peak = std::max(peak, std::fabs(x));
        }
        EXPECT_LT(std::fabs(g[r.horizon]), 0.01 * peak);
        EXPECT_LT(std::fabs(g[r.horizon]), std::fabs(g[r.horizon / 2]));
    }
}

// The walk-and-kick engine's law at 0.02 s: preview of the samples one to
// fifty cycles ahead.
TEST(PreviewGains, EngineLawTracksAStepOfTheReference) {
    PreviewController c = design(0.02);
    std::vector<double> g = previewGains(c, 51);
    auto ref = [](int k) { return k >= 50 ? 0.05 : 0.0; };
    double s[3] = {0, 0, 0};
    double err = 0;
    double worst = 0;
    for (int k = 0; k < 300; k++) {
        double z = c.C[0] * s[0] + c.C[1] * s[1] + c.C[2] * s[2];
        if (k >= 100) {
            worst = std::max(worst, std::fabs(z - ref(k)));
        }
        err += ref(k) - z;
        double preview = 0;
        for (int i = 0; i < 50; i++) {
            preview += g[i] * ref(k + i + 1);
        }
        double u = c.Kp[0] * err - (c.Kp[1] * s[0] + c.Kp[2] * s[1] + c.Kp[3] * s[2]) - preview;
        double n[3];
        for (int i = 0; i < 3; i++) {
            n[i] = c.A[i][0] * s[0] + c.A[i][1] * s[1] + c.A[i][2] * s[2] + c.B[i] * u;
        }
        std::copy(n, n + 3, s);
    }
    EXPECT_LT(worst, 0.002);
    EXPECT_NEAR(s[0], 0.05, 0.001);
}

// The walk reads back what the program wrote.
TEST(PreviewGains, WalkReadsTheFileBack) {
    Singleton<AgentModel>::getInstance().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
    OmniWalkZMP walk;
    PreviewController c = design(0.002);
    for (int i = 0; i < 4; i++) {
        if (i < 3) {
            EXPECT_DOUBLE_EQ(walk.B[i][0], c.B[i]);
            EXPECT_DOUBLE_EQ(walk.C[i], c.C[i]);
            for (int j = 0; j < 3; j++) {
                EXPECT_DOUBLE_EQ(walk.A[i][j], c.A[i][j]);
            }
        }
        EXPECT_NEAR(walk.Kp[i], c.Kp[i], 1e-9 * std::fabs(c.Kp[i]));
        EXPECT_NEAR(walk.Bp[i], c.Bp[i], 1e-12);
        EXPECT_NEAR(walk.Xp[i][0], c.Xp[i], 1e-9 * std::fabs(c.Xp[i]));
        for (int j = 0; j < 4; j++) {
            EXPECT_NEAR(walk.Ac[i][j], c.Ac[i][j], 1e-9 * std::max(1.0, std::fabs(c.Ac[i][j])));
        }
    }
    EXPECT_NEAR(walk.cl, c.cl, 1e-9 * c.cl);
    std::vector<double> g = previewGains(c, 501);
    for (int k = 0; k <= 500; k++) {
        EXPECT_NEAR(walk.Gi[k], g[k], 1e-7 * std::fabs(g[0])) << k;
    }
}

}  // namespace
