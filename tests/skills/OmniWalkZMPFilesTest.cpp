#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "logger/TempDir.h"
#include "skills/OmniWalkZMPFixture.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path.c_str()) << text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path.c_str());
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs the enclosed code in another working directory.
class WorkingDir {
public:
    explicit WorkingDir(const std::string& dir) : previous(fs::current_path()) { fs::current_path(dir); }
    ~WorkingDir() { fs::current_path(previous); }

private:
    fs::path previous;
};

const char* const kGoodParams = "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 0.2 0.25 -0.2 -1 6 0 20\n";

// A matrix file in the reader's layout: rows of the given separator.
std::string matrixText(const std::string& sep, const std::string& cRow = "") {
    auto row = [&](std::initializer_list<double> v) {
        std::ostringstream s;
        bool first = true;
        for (double x : v) {
            s << (first ? "" : sep) << x;
            first = false;
        }
        return s.str() + "\n";
    };
    return "A\n" + row({1, 2, 3}) + row({4, 5, 6}) + row({7, 8, 9}) + "B\n1.5\n2.5\n3.5\nC\n" +
           (cRow.empty() ? row({1, 0, -0.03}) : cRow + "\n") + "Kp\n" + row({10, 11, 12, 13}) + "Ac\n" +
           row({1, 0, 0, 0}) + row({0, 1, 0, 0}) + row({0, 0, 1, 0}) + row({0, 0, 0, 1}) + "Bp\n0.1\n0.2\n0.3\n0.4\n" +
           "Xp\n-1\n-2\n-3\n-4\ncl\n5\n";
}

class WalkFiles : public OmniWalkZMPTest {
protected:
    TempDir tmp;
};

TEST_F(WalkFiles, ParameterFileNamesTheRobotType) {
    EXPECT_EQ(OmniWalkZMP::paramsPath(0), "skills/p0");
    EXPECT_EQ(OmniWalkZMP::paramsPath(3), "skills/p3");
    model().initialize(std::string(QV_DATA_DIR) + "/nao3.xml");
    OmniWalkZMP typeThree;
    OptParams p3;
    std::string error;
    ASSERT_TRUE(OmniWalkZMP::readParams("skills/p3", p3, error)) << error;
    EXPECT_EQ(typeThree.params.heightCoM, p3.heightCoM);
    EXPECT_EQ(typeThree.params.steps, p3.steps);
}

TEST_F(WalkFiles, BadParameterFilesAreNamedWithTheirValue) {
    struct Row {
        const char* what;
        const char* text;  // nullptr: no file
        const char* message;
    } rows[] = {
        {"missing", nullptr, "cannot open"},
        {"short", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 0.2 0.25 -0.2\n", "12 numbers"},
        {"steps 0", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 0.2 0.25 -0.2 -1 0 0 20", "steps 0"},
        {"steps 25", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 0.2 0.25 -0.2 -1 25 0 20", "steps 25"},
        {"period short", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 0.001 0.25 -0.2 -1 6 0 20", "period 0.001"},
        {"period 2 s", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 2 0.25 -0.2 -1 6 0 20", "period 2"},
        {"COM height 0", "-0.02 -0.02 12 21 0.2 -50 0 0.05 0.11 0.2 0.25 -0.2 -1 6 0 20", "heightCoM 0"},
        {"separation", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 -0.1 0.2 0.25 -0.2 -1 6 0 20", "legSeparation -0.1"},
        {"not a number", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 fast 0.25 -0.2 -1 6 0 20", "period 'fast'"},
        {"nan", "-0.02 -0.02 12 21 0.2 -50 nan 0.05 0.11 0.2 0.25 -0.2 -1 6 0 20", "heightCoM 'nan'"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string path = tmp.file(std::string("p_") + r.what);
        if (r.text) {
            writeFile(path, r.text);
        }
        OptParams out;
        out.steps = 77;
        std::string error;
        EXPECT_FALSE(OmniWalkZMP::readParams(path, out, error));
        EXPECT_EQ(out.steps, 77);
        EXPECT_EQ(error.find(path + ": "), 0u) << error;
        EXPECT_NE(error.find(r.message), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST_F(WalkFiles, ParameterFileInAnyLayoutTruncatesTheLastThree) {
    std::string path = tmp.file("p");
    writeFile(path, "-0.02\n-0.03 12 21\t0.2 -50 0.19 0.05 0.11 0.2 0.25 -0.2 -1 6.9 2.5 -3.7 trailing words");
    OptParams p;
    std::string error;
    ASSERT_TRUE(OmniWalkZMP::readParams(path, p, error)) << error;
    EXPECT_EQ(p.minDy, -0.03);
    EXPECT_EQ(p.dYmult, -0.2);
    EXPECT_EQ(p.steps, 6);
    EXPECT_EQ(p.fComp, 2);
    EXPECT_EQ(p.bComp, -3);
}

TEST_F(WalkFiles, StartUpStopsWithOneLineOnABadFile) {
    struct Row {
        const char* what;
        const char* params;   // nullptr: no parameter file
        bool matrices;
        const char* pattern;
    } rows[] = {
        {"no parameter file", nullptr, true, "^skills/p0: cannot open[^\n]*\n$"},
        {"steps out of range", "-0.02 -0.02 12 21 0.2 -50 0.19 0.05 0.11 0.2 0.25 -0.2 -1 30 0 20", true,
         "^skills/p0: steps 30 [^\n]*\n$"},
        {"no matrix file", kGoodParams, false, "^\\./movs/matrices\\.txt: cannot open[^\n]*\n$"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        TempDir dir;
        if (r.params) {
            writeFile(dir.file("skills/p0"), r.params);
        }
        if (r.matrices) {
            writeFile(dir.file("movs/matrices.txt"), readFile("movs/matrices.txt"));
        }
        WorkingDir cd(dir.path());
        EXPECT_EXIT(OmniWalkZMP(), ::testing::ExitedWithCode(1), r.pattern);
    }
}

TEST_F(WalkFiles, MatrixRowsNeedOneSeparatorBetweenValues) {
    std::string comma = tmp.file("comma.txt");
    writeFile(comma, matrixText(", "));
    std::string error;
    ASSERT_TRUE(walk->load(comma.c_str(), error)) << error;
    EXPECT_EQ(walk->A[1][2], 6);
    EXPECT_EQ(walk->B[2][0], 3.5);
    EXPECT_EQ(walk->C[2], -0.03);
    EXPECT_EQ(walk->Kp[3], 13);
    EXPECT_EQ(walk->Xp[3][0], -4);
    EXPECT_EQ(walk->cl, 5);

    // The same row with blanks alone between its values is refused whole.
    struct Row {
        const char* what;
        std::string text;
    } rows[] = {
        {"blanks", matrixText(", ", "1 0 -0.03")},
        {"all blanks", matrixText("  ")},
        {"sign as separator", matrixText(", ", "1 -2 -3")},
        {"short", matrixText(", ").substr(0, 120)},
        {"not a number", matrixText(", ", "1, x, 2")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string bad = tmp.file("bad.txt");
        writeFile(bad, r.text);
        walk->C[0] = 42;
        error.clear();
        EXPECT_FALSE(walk->load(bad.c_str(), error));
        EXPECT_EQ(error.find(bad + ": "), 0u) << error;
        EXPECT_EQ(walk->C[0], 42);
        EXPECT_EQ(walk->A[1][2], 6);
        EXPECT_EQ(walk->cl, 5);
    }
    EXPECT_FALSE(walk->load(tmp.file("none.txt").c_str()));
}

TEST_F(WalkFiles, ShortModelBlocksKeepTheirRemainingRows) {
    std::string path = tmp.file("short.txt");
    std::string text = matrixText(",");
    // Drop the third row of A and of B.
    text.erase(text.find("7,8,9\n"), 6);
    text.erase(text.find("3.5\n"), 4);
    writeFile(path, text);
    walk->A[2][1] = -7;
    walk->B[2][0] = -8;
    ASSERT_TRUE(walk->load(path.c_str()));
    EXPECT_EQ(walk->A[1][1], 5);
    EXPECT_EQ(walk->A[2][1], -7);
    EXPECT_EQ(walk->B[1][0], 2.5);
    EXPECT_EQ(walk->B[2][0], -8);
    EXPECT_EQ(walk->C[2], -0.03);
}

TEST_F(WalkFiles, FailedReloadKeepsMatricesAndGains) {
    writeFile(tmp.file("skills/p0"), kGoodParams);
    writeFile(tmp.file("movs/matrices.txt"), readFile("movs/matrices.txt"));
    WorkingDir cd(tmp.path());
    OmniWalkZMP w;
    std::vector<double> gains(w.Gi, w.Gi + 501);
    double xp = w.Xp[0][0];
    for (const char* text : {"A\n1 2 3\n", ""}) {
        writeFile("movs/matrices.txt", text);
        w.init();
        EXPECT_EQ(std::vector<double>(w.Gi, w.Gi + 501), gains);
        EXPECT_EQ(w.Xp[0][0], xp);
    }
    fs::remove("movs/matrices.txt");
    w.init();
    EXPECT_EQ(std::vector<double>(w.Gi, w.Gi + 501), gains);
}

// The parameter file of every robot type.
TEST_F(WalkFiles, EachRobotTypeHasAUsableParameterFile) {
    for (int type = 0; type < 5; type++) {
        SCOPED_TRACE(type);
        OptParams p;
        std::string error;
        ASSERT_TRUE(OmniWalkZMP::readParams(OmniWalkZMP::paramsPath(type), p, error)) << error;
        EXPECT_LT(p.minDx, 0);
        EXPECT_LT(p.minDy, 0);
        EXPECT_LT(p.thetaBMult, 0);
        EXPECT_GE(p.steps, 1);
        EXPECT_LE(p.steps, 24);
        EXPECT_LT(p.period, 2);
        // Hip to knee plus knee to ankle of the description, stretched.
        std::string file = type == 0 ? "nao.xml" : "nao" + std::to_string(type) + ".xml";
        model().initialize(std::string(QV_DATA_DIR) + "/" + file);
        ASSERT_EQ(model().getRobotType(), type);
        Joint* hip = model().getJoint(Types::ijLlj3);
        Joint* knee = model().getJoint(Types::ijLlj4);
        Joint* ankle = model().getJoint(Types::ijLlj5);
        float thigh = (knee->anchors[0].second - hip->anchors[1].second).length();
        float shank = (ankle->anchors[0].second - knee->anchors[1].second).length();
        EXPECT_GT(p.heightCoM, 0.5 * (thigh + shank));
        EXPECT_LT(p.heightCoM, thigh + shank);
        // Standing, the COM stays within reach of the support foot.
        EXPECT_GT(p.heightCoM, p.legSeparation / 2);
    }
}

}  // namespace
