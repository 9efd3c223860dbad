#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "strategy/StrategyFixture.h"
#include "strategy/StrategyScan.h"

namespace {

struct ScanCase {
    const char* text;
    float value;
};

class ScanFloatTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanFloatTest, ReadsTheFirstValue)
{
    std::string text = GetParam().text;
    EXPECT_FLOAT_EQ(gfloat(&text[0]), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, ScanFloatTest,
                         ::testing::Values(ScanCase{"-1.5", -1.5f}, ScanCase{".5", 0.5f},
                                           ScanCase{"Field: 30.25 20", 30.25f},
                                           ScanCase{"(x) 2,3", 2.0f}, ScanCase{"7\n", 7.0f}));

TEST(ScanTest, IntegersStopAtCommaBlankParenthesisAndNewline)
{
    for (const char* text : {"2,5", "2 5", "2)5", "2\n5"}) {
        std::string s = text;
        char* c = &s[0];
        EXPECT_EQ(gint(&c), 2) << text;
    }
    std::string s = "Count: 7, -12)";
    char* c = &s[0];
    EXPECT_EQ(gint(&c), 7);
    EXPECT_EQ(gint(&c), -12);
}

TEST(ScanTest, ValuesDoNotRunPastTheEndOfTheLine)
{
    // The scanner used to run on into whatever followed in the buffer.
    char buf[32];
    memcpy(buf, "Label: 4\n\0 99", 13);
    char* c = buf;
    EXPECT_EQ(gint(&c), 4);
    EXPECT_THROW(gint(&c), MissingValue);
    c = buf;
    gfloat(&c);
    EXPECT_THROW(gfloat(&c), MissingValue);
}

TEST(ScanTest, IntegersTooLongForAnIntStopAtTheLargest)
{
    // Found by fuzzing: the digits used to overflow the int.
    for (const char* text : {"2214748360", "99999999999999999999", "-2214748360"}) {
        std::string s = text;
        EXPECT_EQ(gint(&s[0]), text[0] == '-' ? -INT_MAX : INT_MAX) << text;
    }
    std::string s = "2147483646 -2147483647 12";
    char* c = &s[0];
    EXPECT_EQ(gint(&c), INT_MAX - 1);
    EXPECT_EQ(gint(&c), -INT_MAX);
    EXPECT_EQ(gint(&c), 12);
}

TEST(ScanTest, ALabelWithADigitIsReadAsAValue)
{
    std::string s = "Player2: 5";
    EXPECT_EQ(gint(&s[0]), 2);
}

TEST(TeamStrategyTest, TheTeamFileLoads)
{
    // Tests run in the data folder: this is the file the agent reads.
    Strategy s;
    EXPECT_EQ(s.ST_NUM_PLAYERS, 11);
    EXPECT_EQ(s.ST_NUM_FORM, 3);
    EXPECT_EQ(s.TA_Now, 1);
    EXPECT_EQ(s.FL.Type[1], 2);
    EXPECT_EQ(s.FL.NPointsDel[1], 35);
    EXPECT_FLOAT_EQ(s.StPar.FieldSize.x, 30);
    EXPECT_FLOAT_EQ(s.StPar.FieldSize.y, 20);
    EXPECT_EQ(s.SK.active, 1);
    EXPECT_EQ(s.SK.kickerN, 11);
    EXPECT_LE(s.SK.kickerX, -0.35f);
    EXPECT_EQ(s.FM.NPointsDel[1], 35);
    EXPECT_EQ(s.FM.NPointsDel[2], 5);
    EXPECT_EQ(s.FM.NPointsDel[3], 5);
    // Every situation the agent can meet maps to a formation that was read.
    for (int sit : {1, 2, 3, 4, 5, 6, 8, 11, 15, 16, 19}) {
        const int f = (int)s.TA.SitForm[1][sit];
        EXPECT_GE(f, 1) << "situation " << sit;
        EXPECT_LE(f, s.ST_NUM_FORM) << "situation " << sit;
        EXPECT_GE(s.FM.NPointsDel[f], 3) << "situation " << sit;
    }
    EXPECT_EQ((int)s.TA.SitForm[1][3], 2);
    EXPECT_EQ((int)s.TA.SitForm[1][4], 3);
}

TEST(TeamStrategyTest, EveryFormationUsesEachRoleOnce)
{
    Strategy s;
    const int expected[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
    for (int f = 1; f <= s.ST_NUM_FORM; f++)
        for (int slot = 1; slot <= 11; slot++)
            EXPECT_EQ(s.getFormationRole(f, slot), expected[slot]) << "formation " << f;
}

TEST_F(StrategyFileFixture, ReadsEveryTable)
{
    std::unique_ptr<Strategy> s = load();
    ASSERT_TRUE(s);
    EXPECT_EQ(s->ST_NUM_SETPLANS, 1);
    EXPECT_EQ(s->SP.SetPlays[1][20], 20);
    EXPECT_EQ(s->TT.TimeEnd[1], 600);
    EXPECT_FLOAT_EQ(s->TA.WDrib[1], 0.2f);
    EXPECT_FLOAT_EQ(s->WFlux_Now, 0.5f);
    EXPECT_FLOAT_EQ(s->PT.Attraction[1].y, 0.4f);
    EXPECT_FLOAT_EQ(s->PT.MinX[1], -15);
    EXPECT_EQ(s->FM.Type[1], 2);
    EXPECT_EQ(s->FM.PlayerType[1][11], 1);
    EXPECT_EQ(s->FL.Flux[1][4][3], 7);
    EXPECT_EQ(s->FL.Flux[1][8][6], 9);
    EXPECT_FLOAT_EQ(s->SK.kickerY, 0.5f);
    EXPECT_FLOAT_EQ(s->SK.ballDist, 4.5f);
    EXPECT_FLOAT_EQ(s->StPar.GoalSize, 2.1f);
    // Decision defaults and the empty role table.
    EXPECT_FLOAT_EQ(s->StDec.prevTarget.x, 2);
    EXPECT_FLOAT_EQ(s->StDec.DM_fPosArr[71][2].x, 10.5f);
    EXPECT_EQ(s->StDec.DM_fPlaArr[0][0], 9);
    ASSERT_EQ(s->getAgentsRole().size(), 11u);
    EXPECT_EQ(s->getAgentsRole(7).unum, 7);
    EXPECT_EQ(s->getAgentsRole(7).idRole, NO_ROLE);
}

TEST_F(StrategyFileFixture, ASituationLineStartingWithZeroUsesTheTacticsFormation)
{
    lines[8] = "Numbers: 1 1 1 weights: 0.5 0.1 0.1 0.1 0.2";
    std::unique_ptr<Strategy> s = load();
    EXPECT_EQ((int)s->TA.UseSit[1], 0);
    for (int sit = 1; sit <= 20; sit++)
        EXPECT_EQ((int)s->TA.SitForm[1][sit], 1) << sit;
    s->StWS.Situation = 19;
    s->SetTactic(1);
    EXPECT_EQ(s->GetFormation(), 1);
}

TEST_F(StrategyFileFixture, ASituationLineReadsTwentyFormations)
{
    lines[2] = "Counts: 1 11 2 1 1 1";
    lines[9] = "Situations: 1 1 2 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1 2 1";
    lines.insert(lines.begin() + 26, {"Formation: 2 2", "form.conf ", "Types: 1 1 1 1 1 1 1 1 1 1 1"});
    std::unique_ptr<Strategy> s = load();
    EXPECT_EQ((int)s->TA.UseSit[1], 1);
    EXPECT_EQ((int)s->TA.SitForm[1][3], 2);
    EXPECT_EQ((int)s->TA.SitForm[1][19], 2);
    EXPECT_EQ((int)s->TA.SitForm[1][20], 1);
    EXPECT_EQ(s->FM.NPointsDel[2], 5);
}

TEST_F(StrategyFileFixture, OpponentZeroFillsEveryOpponentAndLaterGroupsOverride)
{
    lines[4] = "Rows and groups: 1 2";
    lines[5] = "Window: 0 600 0 1 1 1 1 1 5 2 2 2 2 2";
    std::unique_ptr<Strategy> s = load();
    EXPECT_EQ(s->TT.TimeTactic[1][5][3], 2);
    EXPECT_EQ(s->TT.TimeTactic[1][4][3], 1);
    EXPECT_EQ(s->TT.TimeTactic[1][20][1], 1);
}

TEST_F(StrategyFileFixture, NoSetPlansLeavesTwoHeadingLines)
{
    lines[2] = "Counts: 1 11 1 1 1 0";
    lines.erase(lines.begin() + 36, lines.begin() + 38);
    std::unique_ptr<Strategy> s = load();
    EXPECT_EQ(s->StPar.GameTime, 600);
    EXPECT_FLOAT_EQ(s->StPar.FieldSize.x, 30);
}

TEST_F(StrategyFileFixture, AFileNameWithoutTheTrailingBlankIsNotFound)
{
    lines[24] = "form.conf";
    std::unique_ptr<Strategy> s = load();
    EXPECT_EQ(s->FM.NPointsDel[1], 0);
    EXPECT_FALSE(s->FM.Triangulations[1]);
}

// Bad files: each ends the process with status 1 and names file and line.
struct BadFile {
    const char* name;
    int line;             // line of the strategy file to replace, -1 none
    const char* text;     // its replacement; null removes the rest of the file
    const char* formationText;  // replacement of form.conf, or null
    const char* message;  // regular expression of the report
};

class BadStrategyFileTest : public StrategyFileFixture,
                            public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadStrategyFileTest, EndsWithStatusOne)
{
    const BadFile& b = GetParam();
    if (b.line >= 0) {
        if (b.text == nullptr)
            lines.resize(b.line);
        else
            lines[b.line] = b.text;
    }
    if (b.formationText != nullptr)
        dir.write("form.conf", b.formationText);
    dir.writeLines("strategy.conf.3D", lines);
    const std::string path = dir.path();
    EXPECT_EXIT(
        {
            if (chdir(path.c_str()) != 0)
                exit(3);
            Strategy s;
            exit(0);
        },
        ::testing::ExitedWithCode(1), b.message);
}

const char* const FORM_HEAD =
    "Formation\nroles\n1 GOA\n2 DBL\n3 DBR\n4 DFL\n5 DFR\n6 KEC\n7 KEL\n8 KER\n9 SUL\n10 SUR\n"
    "11 KCF\nsamples\n";

const std::string SAMPLE0 =
    "Ball 0 0\n1 -14 0\n2 -10 2\n3 -10 -2\n4 -8 4\n5 -8 -4\n6 -5 0\n7 -4 5\n8 -4 -5\n9 -1 4\n"
    "10 -1 -4\n11 -1 0\n";

const std::string TOO_MANY = std::string(FORM_HEAD) + "Begin Samples 2 201\n";
const std::string BAD_NUMBER =
    std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 1 -----\n" + SAMPLE0 + "End\nBegin Player With Ball Samples 0\n";
const std::string UNNUMBERED =
    std::string(FORM_HEAD) + "Begin Samples 2 1\nno number\n" + SAMPLE0 + "End\nBegin Player With Ball Samples 0\n";
const std::string SHORT_PLAYER =
    std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 0 -----\nBall 0 0\n1 -14\n";
// Found by fuzzing: numbers that do not convert to what stores them.
const std::string NAN_BALL = std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 0 -----\nBall nan 0\n";
// Found by fuzzing: ball samples far off the field broke the triangulation.
const std::string FAR_BALL = std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 0 -----\nBall 61 0\n";
const std::string HUGE_PLAYER =
    std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 0 -----\nBall 0 0\n1 -14 1e300\n";
const std::string CUT_SHORT = std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 0 -----\nBall 0 0\n1 -14 0\n";
const std::string BAD_OWNER_SAMPLE = std::string(FORM_HEAD) + "Begin Samples 2 1\n----- 0 -----\n" + SAMPLE0 +
                                     "End\nBegin Player With Ball Samples 1\nPlayer 9 1\n3 1\n9 1 1\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadStrategyFileTest,
    ::testing::Values(
        BadFile{"MissingValue", 5, "Window: 0 600 0 1 1 1", nullptr, "strategy.conf.3D:6: missing value"},
        BadFile{"MissingWeight", 8, "Numbers: 1 1 1 weights: 0.5 0.1", nullptr,
                "strategy.conf.3D:9: missing value"},
        BadFile{"EarlyEnd", 30, nullptr, nullptr, "strategy.conf.3D:31: unexpected end of file"},
        BadFile{"TwelvePlayers", 2, "Counts: 1 12 1 1 1 1", nullptr,
                "strategy.conf.3D:3: number of players 12 outside 1..11"},
        BadFile{"TooManyTactics", 2, "Counts: 61 11 1 1 1 1", nullptr, "strategy.conf.3D:3: number of tactics"},
        BadFile{"TooManyFormations", 2, "Counts: 1 11 31 1 1 1", nullptr,
                "strategy.conf.3D:3: number of formations"},
        BadFile{"TooManySetPlans", 2, "Counts: 1 11 1 1 1 11", nullptr, "strategy.conf.3D:3: number of set plans"},
        BadFile{"ElevenTimeRows", 4, "Rows and groups: 11 1", nullptr,
                "strategy.conf.3D:5: number of time tactics 11"},
        BadFile{"OpponentOutside", 5, "Window: 0 600 21 1 1 1 1 1", nullptr, "strategy.conf.3D:6: opponent 21"},
        BadFile{"TacticOutside", 5, "Window: 0 600 0 1 1 61 1 1", nullptr, "strategy.conf.3D:6: tactic 61"},
        BadFile{"FormationOutside", 8, "Numbers: 31 1 1 weights: 0.5 0.1 0.1 0.1 0.2", nullptr,
                "strategy.conf.3D:9: formation 31"},
        BadFile{"SituationFormationOutside", 9, "Situations: 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 99", nullptr,
                "strategy.conf.3D:10: formation 99"},
        BadFile{"FluxOutside", 8, "Numbers: 1 31 1 weights: 0.5 0.1 0.1 0.1 0.2", nullptr,
                "strategy.conf.3D:9: flux 31"},
        BadFile{"FormationType", 23, "Formation: 1 3", nullptr, "strategy.conf.3D:24: formation type 3"},
        BadFile{"FluxType", 27, "Flux: 1 0", nullptr, "strategy.conf.3D:28: flux type 0"},
        BadFile{"PlayerTypeOutside", 25, "Types: 1 1 1 1 1 1 1 1 1 1 31", nullptr,
                "strategy.conf.3D:26: player type 31"},
        BadFile{"KickerOutside", 45, "Kicker: 12 -0.4 0.5 0", nullptr, "strategy.conf.3D:46: kicker 12"},
        BadFile{"SamplesAbove200", -1, nullptr, TOO_MANY.c_str(), "form.conf:15: sample count 201 outside 0..200"},
        BadFile{"SampleNumberOutside", -1, nullptr, BAD_NUMBER.c_str(), "form.conf:16: sample number 1 outside 0..0"},
        BadFile{"SampleWithoutNumber", -1, nullptr, UNNUMBERED.c_str(), "form.conf:16: sample number -1"},
        BadFile{"PlayerLineShort", -1, nullptr, SHORT_PLAYER.c_str(), "form.conf:18: expected a player number"},
        BadFile{"FormationCutShort", -1, nullptr, CUT_SHORT.c_str(), "form.conf:19: unexpected end of file"},
        BadFile{"BallNotANumber", -1, nullptr, NAN_BALL.c_str(), "form.conf:17: expected \"Ball\" with two finite"},
        BadFile{"BallFarOff", -1, nullptr, FAR_BALL.c_str(), "form.conf:17: expected \"Ball\" with two finite"},
        BadFile{"PlayerBeyondFloat", -1, nullptr, HUGE_PLAYER.c_str(), "form.conf:18: expected a player number"},
        BadFile{"OwnerSampleOutside", -1, nullptr, BAD_OWNER_SAMPLE.c_str(),
                "form.conf:32: sample number 3 outside 0..0"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST_F(StrategyFileFixture, AMissingFileEndsWithStatusOne)
{
    const std::string path = dir.path();
    EXPECT_EXIT(
        {
            if (chdir(path.c_str()) != 0)
                exit(3);
            Strategy s;
            exit(0);
        },
        ::testing::ExitedWithCode(1), "3D Strategy Configuration File does not Exist!");
}

TEST_F(StrategyFileFixture, BadFluxFilesEndWithStatusOne)
{
    lines[27] = "Flux: 1 2";
    lines.erase(lines.begin() + 28, lines.begin() + 35);
    lines.insert(lines.begin() + 28, "flux.conf ");
    dir.writeLines("strategy.conf.3D", lines);
    const std::string path = dir.path();
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"Begin Flux 201\n", "flux.conf:1: sample count 201 outside 0..200"},
        {"Begin Flux 2\n0 0 0 1\n0 1 1 1\nEnd\n", "flux.conf:3: sample number 0 given twice"},
        {"Begin Flux 2\n0 0 0 1\n2 1 1 1\nEnd\n", "flux.conf:3: sample number 2 outside 0..1"},
        {"Begin Flux 2\n0 0 0 1\n1 1 1\n", "flux.conf:3: expected a sample number"},
        {"Begin Flux 2\n0 0 0 1\n", "flux.conf:3: unexpected end of file"},
        // Found by fuzzing: a value that is no integer, a coordinate that is no number.
        {"Begin Flux 2\n0 0 0 -nan\n", "flux.conf:2: expected a sample number, two finite"},
        {"Begin Flux 2\n0 0 0 1e10\n", "flux.conf:2: expected a sample number, two finite"},
        {"Begin Flux 2\n0 inf 0 1\n", "flux.conf:2: expected a sample number, two finite"},
        // Found by fuzzing: samples far off the field broke the triangulation.
        {"Begin Flux 3\n0 0 0 1\n1 411 0 20\n2 3.4e38 -1e22 -1\n", "flux.conf:3: expected a sample number, two finite"},
        {"Begin Flux 2\n0 0 45.5 1\n", "flux.conf:2: expected a sample number, two finite"},
    };
    for (const auto& c : cases) {
        dir.write("flux.conf", c.text);
        EXPECT_EXIT(
            {
                if (chdir(path.c_str()) != 0)
                    exit(3);
                Strategy s;
                exit(0);
            },
            ::testing::ExitedWithCode(1), c.message)
            << c.text;
    }
}

}  // namespace
