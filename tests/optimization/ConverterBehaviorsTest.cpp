// The converter against the motion behaviours: motion files read into
// matrices and written back, and behaviours built from matrices.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "optimization/Reader.h"
#include "skills/CPGBehavior.h"
#include "skills/MDLParser.h"
#include "skills/MotionFixture.h"
#include "skills/SlotBehavior.h"
#include "skills/StepBehavior.h"

namespace {

using Rows = std::vector<std::vector<double>>;
const double E = Reader::EmptyCell;

// The body model is loaded, so keyframe angles are clamped into the joints'
// ranges as the agent reads them; the angles below lie inside.
using Converter = MotionTest;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvopt.XXXXXX").string();
    if (mkdtemp(&pattern[0])) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  std::string write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name)) << text;
    return file(name);
  }

 private:
  std::string path_;
};

// A matrix the converter handed out, freed at the end.
struct Read {
  double** m = nullptr;
  int rows = 0, cols = 0;
  Read(Reader& reader, const std::string& file, const std::string& type) {
    m = reader.reader(file, type, &rows, &cols);
  }
  ~Read() {
    if (!m) return;
    for (int r = 0; r < rows; ++r) std::free(m[r]);
    std::free(m);
  }
  Rows values() const {
    Rows out;
    for (int r = 0; r < rows; ++r) out.emplace_back(m[r], m[r] + cols);
    return out;
  }
};

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

const char* const kSlotFile =
    "<behavior name=\"reach\" type=\"ExpediteSlotBehavior\">\n"
    "  <slot name=\"up\" delta=\"0.24\"><move id=\"0\" angle=\"12.5\" kp=\"0.2\"/><move id=\"21\" angle=\"40\"/></slot>\n"
    "  <slot delta=\"0.5\"><move id=\"21\" angle=\"30\"/><move id=\"0\" angle=\"-7.25\"/></slot>\n"
    "</behavior>\n";

TEST_F(Converter, SlotFileLeavesUnsetJointsEmptyAndComesBackTheSame) {
  TempDir dir;
  Reader reader;
  Read first(reader, dir.write("reach.xml", kSlotFile), "ExpediteSlotBehavior");
  ASSERT_NE(first.m, nullptr);
  Rows expected(2, std::vector<double>(23, E));
  expected[0][0] = 0.24f;
  expected[0][1] = 12.5;
  expected[0][22] = 40;
  expected[1][0] = 0.5;
  expected[1][1] = -7.25;
  expected[1][22] = 30;
  EXPECT_EQ(first.values(), expected);

  ASSERT_TRUE(reader.writeSlotXML(dir.file("out.xml"), first.m, first.rows, first.cols, true, "reach"));
  const std::string written = readFile(dir.file("out.xml"));
  EXPECT_EQ(count(written, "<move "), 4u);
  Read again(reader, dir.file("out.xml"), "SlotBehavior");
  EXPECT_EQ(again.values(), first.values());
}

const char* const kStepFile =
    "<behavior name=\"lean\" type=\"StepBehavior\">\n"
    "  <steps>22=0.5, 2=10:50, 3=20_1:2,80,0.1;\n"
    "         5=-30:70_0:3;\n"
    "         7=15;</steps>\n"
    "</behavior>\n";

TEST_F(Converter, StepFileComesBackTheSameThroughTheWriter) {
  TempDir dir;
  Reader reader;
  Read first(reader, dir.write("lean.xml", kStepFile), "StepBehavior");
  ASSERT_NE(first.m, nullptr);
  ASSERT_EQ(first.rows, 3);
  ASSERT_EQ(first.cols, 49);
  Rows expected(3, std::vector<double>(49, E));
  expected[0] = {0.5, 1, 80, 0.1f, 2};
  expected[0].resize(49, E);
  expected[0][5 + 4] = 10;
  expected[0][6 + 4] = 50;
  expected[0][5 + 6] = 20;
  expected[0][6 + 6] = 100;
  expected[1] = {-1, 0, 100, 0.05f, 3};
  expected[1].resize(49, E);
  expected[1][5 + 10] = -30;
  expected[1][6 + 10] = 70;
  expected[2] = {-1, 0, 100, 0.05f, 1.5};
  expected[2].resize(49, E);
  expected[2][5 + 14] = 15;
  expected[2][6 + 14] = 100;
  EXPECT_EQ(first.values(), expected);

  ASSERT_TRUE(reader.writeStepXML(dir.file("out.xml"), first.m, first.rows, first.cols, "lean"));
  Read again(reader, dir.file("out.xml"), "StepBehavior");
  EXPECT_EQ(again.values(), first.values()) << readFile(dir.file("out.xml"));
}

TEST_F(Converter, AFileOfAnotherKindThanAskedIsRejected) {
  TempDir dir;
  Reader reader;
  testing::internal::CaptureStderr();
  Read slots(reader, dir.write("lean.xml", kStepFile), "SlotBehavior");
  Read steps(reader, dir.write("reach.xml", kSlotFile), "StepBehavior");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(slots.m, nullptr);
  EXPECT_EQ(slots.rows, 0);
  EXPECT_EQ(steps.m, nullptr);
  EXPECT_EQ(count(err, "\n"), 2u) << err;
}

double** matrix(const Rows& rows);
void release(double** m, size_t rows);

TEST_F(Converter, PatternFileWrittenIsReadByTheMotionReader) {
  TempDir dir;
  Reader reader;
  Rows rows(23, std::vector<double>(4, E));
  rows[0][0] = 2;
  rows[4] = {0, 0, 0, 10};
  double** m = matrix(rows);
  ASSERT_TRUE(reader.writeCPGXML(dir.file("p.xml"), m, 23, 4, "gait"));
  release(m, 23);
  testing::internal::CaptureStderr();
  std::unique_ptr<Behavior> b(MDLParser::parse(dir.file("p.xml"), true));
  CPGBehavior* cpg = dynamic_cast<CPGBehavior*>(b.get());
  ASSERT_NE(cpg, nullptr);
  cpg->init();
  setCycle(1);
  cpg->execute();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.find("unreadable"), std::string::npos) << err;
  EXPECT_EQ(servo().targets[3], 10);
  EXPECT_FALSE(cpg->finished());
}

double** matrix(const Rows& rows) {
  double** m = static_cast<double**>(std::malloc(sizeof(double*) * rows.size()));
  for (size_t r = 0; r < rows.size(); ++r) {
    m[r] = static_cast<double*>(std::malloc(sizeof(double) * rows[r].size()));
    std::memcpy(m[r], rows[r].data(), sizeof(double) * rows[r].size());
  }
  return m;
}

void release(double** m, size_t rows) {
  for (size_t r = 0; r < rows; ++r) std::free(m[r]);
  std::free(m);
}

TEST_F(Converter, SlotBehaviorTakesTheSetJointsOnly) {
  Reader reader;
  Rows rows(2, std::vector<double>(23, E));
  rows[0][0] = 0.3;
  rows[0][3] = 45;
  rows[1][0] = 0.1;
  rows[1][22] = -20;
  rows[1][1] = 5;
  double** m = matrix(rows);
  std::unique_ptr<SlotBehavior> b(reader.createSlotBehavior(m, 2, 23, true));
  release(m, 2);
  ASSERT_NE(b, nullptr);
  EXPECT_FLOAT_EQ(b->expediteModeAdjustment, 0.02f);
  ASSERT_EQ(b->slots.size(), 2u);
  EXPECT_EQ(b->slots[0].slotname, "slotOp");
  EXPECT_FLOAT_EQ(b->slots[0].delta, 0.3f);
  EXPECT_EQ(b->slots[0].targets, (std::vector<std::pair<int, float>>{{2, 45}}));
  EXPECT_EQ(b->slots[1].targets, (std::vector<std::pair<int, float>>{{0, 5}, {21, -20}}));
  EXPECT_EQ(b->pids[21].x, -1);  // gains not given
}

TEST_F(Converter, StepBehaviorTakesItsParametersFromTheirColumns) {
  Reader reader;
  Rows rows(1, std::vector<double>(49, E));
  rows[0] = {0.25, 1, 80, 0.1, 2};
  rows[0].resize(49, E);
  rows[0][5 + 2 * 13] = 33;
  rows[0][6 + 2 * 13] = 60;
  double** m = matrix(rows);
  std::unique_ptr<StepBehavior> b(reader.createStepBehavior(m, 1, 49));
  release(m, 1);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->steps.size(), 1u);
  const StepBehavior::Step& s = b->steps[0];
  EXPECT_FLOAT_EQ(s.wait, 0.25f);
  EXPECT_FLOAT_EQ(s.cType, 1);
  EXPECT_FLOAT_EQ(s.power, 80);
  EXPECT_FLOAT_EQ(s.addPower, 0.1f);
  EXPECT_FLOAT_EQ(s.trh, 2);
  EXPECT_EQ(s.angles, (std::vector<std::pair<int, float>>{{13, 33}}));
  EXPECT_EQ(s.speeds, (std::vector<std::pair<int, float>>{{13, 60}}));
}

TEST_F(Converter, PatternBehaviorGetsOneSineAJointAndDeltaZeroWhenEmpty) {
  Reader reader;
  Rows rows(23, std::vector<double>(4, E));
  rows[1] = {0, 0, 0, 12};  // joint 0 takes no pattern
  rows[4] = {0, 0, 0, 10};  // a sine of period 0 holds its offset
  rows[6] = {10, 0.4, 0, 2};
  double** m = matrix(rows);
  std::unique_ptr<CPGBehavior> b(reader.createCPGBehavior(m, 23, 4));
  release(m, 23);
  ASSERT_NE(b, nullptr);
  testing::internal::CaptureStderr();
  b->init();
  EXPECT_TRUE(b->finished());  // no delta: lasts 0 s
  setCycle(5);
  b->execute();
  testing::internal::GetCapturedStderr();
  const float t = serverTime(5) - serverTime(0);
  EXPECT_EQ(servo().targets[0], 0);
  EXPECT_EQ(servo().targets[3], 10);
  EXPECT_NEAR(servo().targets[5], 2 + 10 * std::sin(2 * M_PI * t / 0.4), 1e-3);
  EXPECT_EQ(servo().targets[4], 0);
}

TEST_F(Converter, MatricesOutsideTheLayoutBuildNothing) {
  Reader reader;
  Rows wide(1, std::vector<double>(24, 1));
  double** m = matrix(wide);
  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.createSlotBehavior(m, 1, 24, false), nullptr);
  EXPECT_EQ(reader.createStepBehavior(m, 1, 24), nullptr);
  EXPECT_EQ(reader.createCPGBehavior(m, 1, 24), nullptr);
  EXPECT_EQ(count(testing::internal::GetCapturedStderr(), "\n"), 3u);
  release(m, 1);
}

}  // namespace
