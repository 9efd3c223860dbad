// The converter between motion files, solution matrices and their text and
// binary exchange forms.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "optimization/ExpInfo.h"
#include "optimization/Reader.h"

namespace {

using Rows = std::vector<std::vector<double>>;
using testing::HasSubstr;
const double E = Reader::EmptyCell;

// A malloc'd matrix as the converter hands them out, freed at the end.
class Solution {
 public:
  Solution() = default;
  Solution(double** m, int d1, int d2) : m_(m), d1_(d1), d2_(d2) {}
  explicit Solution(const Rows& rows) : d1_(static_cast<int>(rows.size())), d2_(rows.empty() ? 0 : static_cast<int>(rows[0].size())) {
    m_ = static_cast<double**>(std::malloc(sizeof(double*) * rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
      m_[r] = static_cast<double*>(std::malloc(sizeof(double) * rows[r].size()));
      std::memcpy(m_[r], rows[r].data(), sizeof(double) * rows[r].size());
    }
  }
  ~Solution() {
    if (!m_) return;
    for (int r = 0; r < d1_; ++r) std::free(m_[r]);
    std::free(m_);
  }
  Solution(const Solution&) = delete;
  Solution& operator=(const Solution&) = delete;

  double** get() const { return m_; }
  int rows() const { return d1_; }
  int cols() const { return d2_; }
  Rows values() const {
    Rows out;
    for (int r = 0; r < d1_; ++r) out.emplace_back(m_[r], m_[r] + d2_);
    return out;
  }

 private:
  double** m_ = nullptr;
  int d1_ = 0, d2_ = 0;
};

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

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t lines(const std::string& s) { return static_cast<size_t>(std::count(s.begin(), s.end(), '\n')); }

Rows rounded(Rows rows) {
  for (auto& row : rows)
    for (double& v : row) v = std::round(v * 100000) / 100000;
  return rows;
}

// ---- text form

TEST(TextForm, RowsOfRoundedValuesEachFollowedByABlank) {
  Reader reader;
  Solution s(Rows{{1.234567, 2}, {100.123456, -3.5}});
  EXPECT_EQ(reader.convert(s.get(), 2, 2), "1.23457 2 \n100.123 -3.5 \n");
}

TEST(TextForm, ReadsBackWhatItWrote) {
  Reader reader;
  const Rows rows{{0.123456789, E, -45.5}, {1e-7, 3, 424242}};
  Solution s(rows);
  const std::string text = "2 3\n" + reader.convert(s.get(), 2, 3);
  int d1 = 0, d2 = 0;
  testing::internal::CaptureStdout();
  double** backM = reader.convert(text, &d1, &d2);
  Solution back(backM, d1, d2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Optimize Reader: dim1=2, dim2=3\n");
  ASSERT_NE(back.get(), nullptr);
  EXPECT_EQ(back.values(), rounded(rows));
}

TEST(TextForm, EmptyValuesTrailingBlanksAndCarriageReturns) {
  Reader reader;
  int d1 = 0, d2 = 0;
  testing::internal::CaptureStdout();
  double** sM = reader.convert(std::string("2 3\r\n1  3 \r\n4 5 6"), &d1, &d2);
  Solution s(sM, d1, d2);
  testing::internal::GetCapturedStdout();
  ASSERT_NE(s.get(), nullptr);
  EXPECT_EQ(s.values(), (Rows{{1, 0, 3}, {4, 5, 6}}));
}

struct BadInput {
  const char* name;
  std::string data;
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

class BadText : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadText, IsRejectedWithOneLine) {
  Reader reader;
  int d1 = -1, d2 = -1;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  double** m = reader.convert(GetParam().data, &d1, &d2);
  const std::string err = testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(d1, 0);
  EXPECT_EQ(d2, 0);
  EXPECT_EQ(lines(err), 1u) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Converter, BadText,
    ::testing::Values(BadInput{"empty", ""}, BadInput{"no_dimensions", "x y\n1 2\n"},
                      BadInput{"one_dimension", "2\n1 2\n"}, BadInput{"zero_rows", "0 3\n"},
                      BadInput{"negative", "-1 3\n1 2 3\n"}, BadInput{"short_row", "1 3\n1 2\n"},
                      BadInput{"missing_row", "2 2\n1 2\n"}, BadInput{"extra_value", "1 2\n1 2 3\n"},
                      BadInput{"not_a_number", "1 2\n1 abc\n"}, BadInput{"number_and_junk", "1 2\n1 2x\n"},
                      BadInput{"not_finite", "1 2\n1 inf\n"},
                      BadInput{"large_announcement_short_text", "1000000 1000000\n1 2\n"}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// ---- binary exchange message

ExchangeData exchange(double** sol, uint32_t width, uint32_t height) {
  ExchangeData d;
  std::memset(&d, 0xAB, sizeof d);  // padding that must not leak into the message
  d.sol = sol;
  d.width = width;
  d.height = height;
  d.experimentSpecs.typeOfBehavior = CPG_BEHAVIOR;
  d.experimentSpecs.useGyroStabilization = true;
  d.experimentSpecs.waitBefore = 0.5f;
  d.experimentSpecs.waitAfter = 2.25f;
  d.experimentSpecs.beamBallFlag = false;
  d.experimentSpecs.beamBall[0] = 1;
  d.experimentSpecs.beamBall[1] = -2;
  d.experimentSpecs.beamBall[2] = 0.04f;
  return d;
}

TEST(ExchangeMessage, ReadsBackWhatItWrote) {
  Reader reader;
  const Rows rows{{1.0000049, 2, 3}, {-4, E, 6.123456}};
  Solution s(rows);
  ExchangeData d = exchange(s.get(), 2, 3);
  testing::internal::CaptureStderr();
  const std::string msg = reader.convertBehaviorToString(&d);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "message size88");
  ASSERT_EQ(msg.size(), 8 + 6 * 8 + 32u);
  const std::string specs = msg.substr(56);
  EXPECT_EQ(specs.substr(5, 3), std::string(3, '\0'));
  EXPECT_EQ(specs.substr(17, 3), std::string(3, '\0'));

  testing::internal::CaptureStderr();
  std::unique_ptr<ExchangeData> back(reader.convert(msg));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Optimize experimentSpecs received = 1 It should read: 32\n");
  ASSERT_NE(back, nullptr);
  Solution got(back->sol, 2, 3);
  EXPECT_EQ(back->width, 2u);
  EXPECT_EQ(back->height, 3u);
  EXPECT_EQ(got.values(), rounded(rows));
  const ExperimentSpecs& e = back->experimentSpecs;
  EXPECT_EQ(e.typeOfBehavior, CPG_BEHAVIOR);
  EXPECT_TRUE(e.useGyroStabilization);
  EXPECT_EQ(e.waitBefore, 0.5f);
  EXPECT_EQ(e.waitAfter, 2.25f);
  EXPECT_FALSE(e.beamBallFlag);
  EXPECT_EQ(e.beamBall[1], -2.0f);
  EXPECT_EQ(e.beamBall[2], 0.04f);
}

std::string message(uint32_t width, uint32_t height, size_t doubles, int32_t type = 1, double value = 1) {
  std::string m(reinterpret_cast<const char*>(&width), 4);
  m.append(reinterpret_cast<const char*>(&height), 4);
  for (size_t i = 0; i < doubles; ++i) m.append(reinterpret_cast<const char*>(&value), 8);
  std::string specs(32, '\0');
  std::memcpy(&specs[0], &type, 4);
  specs[4] = 7;  // any non-zero byte is true
  return m + specs;
}

class BadMessage : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadMessage, IsRejectedWithOneLine) {
  Reader reader;
  testing::internal::CaptureStderr();
  ExchangeData* d = reader.convert(GetParam().data);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(lines(err), 1u) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Converter, BadMessage,
    ::testing::Values(BadInput{"empty", ""}, BadInput{"header_only", message(2, 2, 0).substr(0, 8)},
                      BadInput{"one_byte_short", message(2, 2, 4).substr(1)},
                      BadInput{"one_byte_more", message(2, 2, 4) + "x"},
                      BadInput{"fewer_values", message(2, 2, 3)},
                      BadInput{"largest_announcement", message(0xFFFFFFFFu, 0xFFFFFFFFu, 1)},
                      BadInput{"wrapping_announcement", message(0x80000000u, 2, 0)},
                      BadInput{"zero_width", message(0, 3, 0)}, BadInput{"unknown_type", message(1, 1, 1, 7)},
                      BadInput{"not_finite", message(1, 2, 2, 1, NAN)}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST(ExchangeMessage, AnyNonZeroFlagByteReadsTrue) {
  Reader reader;
  testing::internal::CaptureStderr();
  std::unique_ptr<ExchangeData> d(reader.convert(message(1, 1, 1)));
  testing::internal::GetCapturedStderr();
  ASSERT_NE(d, nullptr);
  Solution owned(d->sol, 1, 1);
  EXPECT_TRUE(d->experimentSpecs.useGyroStabilization);
}

// ---- pattern files

const std::string kPatternFile =
    "<?xml version=\"1.0\"?>\n"
    "<behavior name=\"wave\" type=\"CPGBehavior\">\n"
    "  <delta>1.5</delta>\n"
    "  <patterns>\n"
    "    0: 10 0.5 0 5;\n"
    "    21: -3 1 1.5708 0;\n"
    "  </patterns>\n"
    "</behavior>\n";

Rows patternRows(double delta) {
  Rows rows(Reader::CPGRows, std::vector<double>(Reader::CPGColumns, E));
  rows[0][0] = delta;
  rows[1] = {10, 0.5, 0, 5};
  rows[22] = {-3, 1, 1.5708, 0};
  return rows;
}

TEST(PatternFile, ReadsOneSineARowAndWritesItBack) {
  TempDir dir;
  Reader reader;
  int d1 = 0, d2 = 0;
  double** sM = reader.reader(dir.write("wave.xml", kPatternFile), "CPGBehavior", &d1, &d2);
  Solution s(sM, d1, d2);
  ASSERT_NE(s.get(), nullptr);
  EXPECT_EQ(d1, 23);
  EXPECT_EQ(d2, 4);
  EXPECT_EQ(s.values(), patternRows(1.5));

  ASSERT_TRUE(reader.writeCPGXML(dir.file("out.xml"), s.get(), d1, d2, "wave"));
  EXPECT_EQ(readFile(dir.file("out.xml")),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n\n"
            "<behavior name=\"wave\" type=\"CPGBehavior\" >\n\n"
            "\t<patterns>\n"
            "\t\t0: 10 0.5 0 5;\n"
            "\t\t21: -3 1 1.5708 0;\n"
            "\t</patterns>\n\n"
            "\t<delta>1.5</delta>\n"
            "\n</behavior>\n");
  double** backM = reader.reader(dir.file("out.xml"), "CPGBehavior", &d1, &d2);
  Solution back(backM, d1, d2);
  EXPECT_EQ(back.values(), s.values());
}

TEST(PatternFile, WithoutDeltaTheCellStaysEmptyAndTheWriterOmitsIt) {
  TempDir dir;
  Reader reader;
  std::string text = kPatternFile;
  text.erase(text.find("  <delta>"), std::string("  <delta>1.5</delta>\n").size());
  int d1 = 0, d2 = 0;
  double** sM = reader.reader(dir.write("wave.xml", text), "CPGBehavior", &d1, &d2);
  Solution s(sM, d1, d2);
  ASSERT_NE(s.get(), nullptr);
  EXPECT_EQ(s.values(), patternRows(E));
  ASSERT_TRUE(reader.writeCPGXML(dir.file("out.xml"), s.get(), d1, d2, "wave"));
  EXPECT_THAT(readFile(dir.file("out.xml")), testing::EndsWith("\t</patterns>\n\n\n</behavior>\n"));
}

class BadPatterns : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadPatterns, AreRejectedWithOneLine) {
  TempDir dir;
  Reader reader;
  const std::string file = dir.write("p.xml", "<behavior name=\"p\" type=\"CPGBehavior\"><patterns>" +
                                                  GetParam().data + "</patterns></behavior>");
  int d1 = -1, d2 = -1;
  testing::internal::CaptureStderr();
  double** m = reader.reader(file, "CPGBehavior", &d1, &d2);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(d1, 0);
  EXPECT_EQ(d2, 0);
  EXPECT_EQ(lines(err), 1u) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Converter, BadPatterns,
    ::testing::Values(BadInput{"joint_22", "22: 1 1 0 0;"}, BadInput{"negative_joint", "-1: 1 1 0 0;"},
                      BadInput{"two_sines", "3: 1 1 0 0, 2 1 0 0;"}, BadInput{"three_values", "3: 1 1 0;"},
                      BadInput{"not_a_number", "3: 1 x 0 0;"}, BadInput{"unended", "3: 1 1 0 0"},
                      BadInput{"joint_not_a_number", "4: 1 1 0 0; x: 1 1 0 0;"}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST(PatternFile, UnreadableOrOfAnotherTypeEndsTheProcess) {
  TempDir dir;
  Reader reader;
  int d1 = 0, d2 = 0;
  EXPECT_EXIT(reader.reader(dir.file("missing.xml"), "CPGBehavior", &d1, &d2), ::testing::ExitedWithCode(1),
              "ERROR: Unable to open the file: .*missing.xml\\.");
  const std::string slot = dir.write("slot.xml", "<behavior name=\"s\" type=\"SlotBehavior\"/>");
  EXPECT_EXIT(reader.reader(slot, "CPGBehavior", &d1, &d2), ::testing::ExitedWithCode(1),
              "Invalid file type SlotBehavior");
}

TEST(Reader, UnknownTypeGivesNothing) {
  Reader reader;
  int d1 = 5, d2 = 5;
  EXPECT_EQ(reader.reader("whatever.xml", "ExpediteSlotBehavior2", &d1, &d2), nullptr);
  EXPECT_EQ(d1, 0);
  EXPECT_EQ(d2, 0);
}

// ---- slot and step writers

TEST(SlotWriter, WritesOnlyTheJointsThatAreSet) {
  TempDir dir;
  Reader reader;
  Rows rows(2, std::vector<double>(23, E));
  rows[0][0] = 0.2;
  rows[0][1] = 10.123456;
  rows[0][22] = -90;
  rows[1][0] = 0.48;
  rows[1][1] = 0;
  rows[1][22] = 45.5;
  Solution s(rows);
  ASSERT_TRUE(reader.writeSlotXML(dir.file("s.xml"), s.get(), 2, 23, true, "kick <left>"));
  EXPECT_EQ(readFile(dir.file("s.xml")),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n\n"
            "<behavior name=\"kick &lt;left&gt;\" type=\"ExpediteSlotBehavior\" >\n\n"
            "\t<slot name=\"0\" delta=\"0.2\">\n"
            "\t\t<move id=\"0\" angle=\"10.1235\" />\n"
            "\t\t<move id=\"21\" angle=\"-90\" />\n"
            "\t</slot>\n"
            "\t<slot name=\"1\" delta=\"0.48\">\n"
            "\t\t<move id=\"0\" angle=\"0\" />\n"
            "\t\t<move id=\"21\" angle=\"45.5\" />\n"
            "\t</slot>\n"
            "\n</behavior>\n");
}

TEST(StepWriter, WaitAndControllerGoWhereTheMotionReaderTakesThem) {
  TempDir dir;
  Reader reader;
  Rows rows(2, std::vector<double>(Reader::StepColumns, E));
  rows[0][0] = 0.5;  // wait, cType, power, addPower, trh
  rows[0][1] = 1;
  rows[0][2] = 80;
  rows[0][3] = 0.1;
  rows[0][4] = 2;
  rows[0][5 + 2 * 2] = 10;
  rows[0][6 + 2 * 2] = 50;
  rows[0][5 + 2 * 3] = 20;
  rows[1][0] = -1;
  rows[1][1] = 0;
  rows[1][4] = 1.5;
  rows[1][5 + 2 * 21] = -30;
  rows[1][6 + 2 * 21] = 100;
  Solution s(rows);
  ASSERT_TRUE(reader.writeStepXML(dir.file("st.xml"), s.get(), 2, Reader::StepColumns, "steps"));
  EXPECT_EQ(readFile(dir.file("st.xml")),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n\n"
            "<behavior name=\"steps\" type=\"StepBehavior\" >\n"
            "\t<steps>\n\n"
            "\t\t22 = 0.5, 2 = 10:50, 3 = 20_1:2,80,0.1;\n\n"
            "\t\t22 = -1, 21 = -30:100_0:1.5;\n"
            "\t</steps>\n"
            "</behavior>\n");
}

struct BadMatrix {
  const char* name;
  const char* writer;
  int rows, cols;
  double poison;
};

void PrintTo(const BadMatrix& c, std::ostream* os) { *os << c.name; }

class BadMatrices : public ::testing::TestWithParam<BadMatrix> {};

TEST_P(BadMatrices, AreNotWritten) {
  TempDir dir;
  Reader reader;
  const BadMatrix& c = GetParam();
  Rows rows(static_cast<size_t>(c.rows), std::vector<double>(static_cast<size_t>(c.cols), 1));
  rows.back().back() = c.poison;
  Solution s(rows);
  const std::string file = dir.file("out.xml");
  const std::string writer = c.writer;
  testing::internal::CaptureStderr();
  const bool written = writer == "slot"  ? reader.writeSlotXML(file, s.get(), c.rows, c.cols, false, "x")
                       : writer == "cpg" ? reader.writeCPGXML(file, s.get(), c.rows, c.cols, "x")
                                         : reader.writeStepXML(file, s.get(), c.rows, c.cols, "x");
  EXPECT_EQ(lines(testing::internal::GetCapturedStderr()), 1u);
  EXPECT_FALSE(written);
  EXPECT_FALSE(fileAlreadyExists(file));
}

INSTANTIATE_TEST_SUITE_P(
    Converter, BadMatrices,
    ::testing::Values(BadMatrix{"slot_joint_22", "slot", 1, 24, 1}, BadMatrix{"slot_not_finite", "slot", 2, 23, NAN},
                      BadMatrix{"cpg_joint_22", "cpg", 24, 4, 1}, BadMatrix{"cpg_two_sines", "cpg", 23, 8, 1},
                      BadMatrix{"step_no_controller", "step", 1, 4, 1}, BadMatrix{"step_joint_22", "step", 1, 51, 1},
                      BadMatrix{"step_angle_without_speed", "step", 1, 48, 1},
                      BadMatrix{"step_not_finite", "step", 1, 49, -INFINITY}),
    [](const ::testing::TestParamInfo<BadMatrix>& info) { return std::string(info.param.name); });

// ---- helpers

TEST(Helpers, NonExistingFilenameCountsUpPastTakenNames) {
  TempDir dir;
  Reader reader;
  const std::string n = dir.file("best.xml");
  EXPECT_EQ(reader.getNonExistingFilename(n), n);
  dir.write("best.xml", "");
  EXPECT_EQ(reader.getNonExistingFilename(n), n + " 1");
  dir.write("best.xml 1", "");
  EXPECT_EQ(reader.getNonExistingFilename(n), n + " 2");
}

struct MaxAngleCase {
  const char* name;
  TypeOfBehavior type;
  Rows rows;
  double expected;
};

void PrintTo(const MaxAngleCase& c, std::ostream* os) { *os << c.name; }

class MaxAngle : public ::testing::TestWithParam<MaxAngleCase> {};

TEST_P(MaxAngle, LargestMagnitudeOfTheAngles) {
  Reader reader;
  Solution s(GetParam().rows);
  EXPECT_EQ(reader.solutionMaxAngle(s.get(), s.rows(), s.cols(), GetParam().type), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, MaxAngle,
    ::testing::Values(MaxAngleCase{"negative_wins", SLOT_BEHAVIOR, {{500, 10, E}, {0.1, -80, 79}}, -80},
                      MaxAngleCase{"tie_keeps_first", EXPEDITE_SLOT_BEHAVIOR, {{1, 30, -30}}, 30},
                      MaxAngleCase{"all_empty", SLOT_BEHAVIOR, {{1, E, E}}, 0},
                      MaxAngleCase{"step", STEP_BEHAVIOR, {{1, 30, -30}}, 0},
                      MaxAngleCase{"cpg", CPG_BEHAVIOR, {{1, 30, -30}}, 0}),
    [](const ::testing::TestParamInfo<MaxAngleCase>& info) { return std::string(info.param.name); });

TEST(Helpers, CopyIsDeep) {
  Reader reader;
  Solution s(Rows{{1, 2}, {3, 4}});
  Solution copy(reader.copySolution(s.get(), 2, 2), 2, 2);
  copy.get()[1][1] = 9;
  EXPECT_EQ(s.values(), (Rows{{1, 2}, {3, 4}}));
  EXPECT_EQ(copy.values(), (Rows{{1, 2}, {3, 9}}));
}

TEST(Helpers, CountsBlanksAndLineEnds) {
  EXPECT_EQ(countSpaces("1 2  3\n4 \n"), 4);
  EXPECT_EQ(countNLs("1 2  3\n4 \n"), 2);
  EXPECT_EQ(countSpaces(""), 0);
  EXPECT_EQ(countNLs(nullptr), 0);
}

TEST(Helpers, ExperimentReportStopsAtTheMessageBuffer) {
  ExpInfo e;
  std::memset(&e, 0, sizeof e);
  e.initialPositionX = -1.5f;
  e.initialPositionY = 2;
  e.finalPositionX = 3.25f;
  e.xdist = 4.75f;
  e.ydist = -2;
  e.ballFinalPositionX = 0.5f;
  e.bdistx = 0.5f;
  std::memset(e.message, 'm', sizeof e.message);  // no terminating zero
  testing::internal::CaptureStdout();
  printExpInfo(&e);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Experiment Information:\n"
            "  Agent\n"
            "    Initial Position: (x=-1.5, y=2)\n"
            "    Final Position:   (x=3.25, y=0)\n"
            "    Distance:         (dx=4.75, dy=-2)\n"
            "  Ball\n"
            "    Initial Position: (x=0, y=0)\n"
            "    Final Position:   (x=0.5, y=0)\n"
            "    Distance:         (dx=0.5, dy=0)\n"
            "  Message\n"
            "    " + std::string(256, 'm') + "\n");
}

}  // namespace
