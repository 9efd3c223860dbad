#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "strategy/Situation.h"
#include "strategy/StrategyFixture.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

const float EPS = 1e-4f;

void expectNear(Vector got, Vector want, const std::string& what = "")
{
    EXPECT_NEAR(got.x, want.x, EPS) << what;
    EXPECT_NEAR(got.y, want.y, EPS) << what;
}

class PositioningTest : public StrategyFileFixture {
protected:
    std::unique_ptr<Strategy> s;

    void SetUp() override
    {
        StrategyFileFixture::SetUp();
        s = load();
        ASSERT_TRUE(s);
        s->StWS.Situation = Situation::ATT;
        s->SetTactic(1);
    }
};

// Corners b1, b2, b3 carry the values p1, p2, p3.
struct InterpCase {
    const char* name;
    Vector ball, b1, b2, b3, p1, p2, p3, expected;
};

class InterpolationTest : public PositioningTest,
                          public ::testing::WithParamInterface<InterpCase> {};

TEST_P(InterpolationTest, GivesTheExpectedValue)
{
    const InterpCase& c = GetParam();
    const Vector got = s->interpolate_2009(c.ball, c.b1, c.b2, c.b3, c.p1, c.p2, c.p3);
    ASSERT_TRUE(std::isfinite(got.x) && std::isfinite(got.y)) << c.name;
    expectNear(got, c.expected, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InterpolationTest,
    ::testing::Values(
        // Linear values v = (x + 2y, 3) are reproduced exactly inside.
        InterpCase{"inside", {1, 1}, {0, 0}, {4, 0}, {0, 4}, {0, 3}, {4, 3}, {8, 3}, {3, 3}},
        InterpCase{"on an edge", {2, 0}, {0, 4}, {0, 0}, {4, 0}, {8, 3}, {0, 3}, {4, 3}, {2, 3}},
        InterpCase{"centroid", {1, 1}, {0, 0}, {3, 0}, {0, 3}, {0, 0}, {3, 0}, {0, 3}, {1, 1}},
        // Degenerate corners: the nearest corner's value, never a division by 0.
        InterpCase{"ball on first corner", {0, 0}, {0, 0}, {4, 0}, {0, 4}, {5, 5}, {1, 1}, {2, 2}, {5, 5}},
        InterpCase{"flat triangle", {1.2f, 0}, {0, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {3, 3}, {2, 2}},
        InterpCase{"two equal corners", {1, 0.4f}, {0, 0}, {1, 1}, {1, 1}, {1, 1}, {2, 2}, {3, 3}, {2, 2}},
        InterpCase{"one point", {0.5f, 0.5f}, {1, 1}, {1, 1}, {1, 1}, {7, 7}, {8, 8}, {9, 9}, {7, 7}}),
    [](const ::testing::TestParamInfo<InterpCase>& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ')
                ch = '_';
        return n;
    });

TEST_F(PositioningTest, ABallOnASampleGivesThatSampleUnchanged)
{
    // Sample (15, 10) puts player 11 at (-13 + 22 + 7.5, 3 + 5): beyond the
    // field, which no adjustment corrects on an exact sample.
    for (int p = 1; p <= 11; p++)
        expectNear(s->SBSPDelaunayPosition(1, p, Vector(15, 10), 0), linearBase(p) + Vector(7.5f, 5),
                   "player " + std::to_string(p));
}

TEST_F(PositioningTest, BetweenSamplesThePositionIsInterpolated)
{
    for (Vector ball : {Vector(3, 2), Vector(-7.5f, 4), Vector(12, -9), Vector(-1, -1)}) {
        for (int p = 1; p <= 6; p++) {
            Vector want = s->PositionMaxMin(1, p, linearBase(p) + ball * 0.5f);
            want = s->AutomaticRefereeCarefulPosition(want, ball, p);
            expectNear(s->SBSPDelaunayPosition(1, p, ball, 0), want,
                       "player " + std::to_string(p) + " ball " + ball.str());
        }
    }
}

TEST_F(PositioningTest, CallStrategyFillsEveryPlayer)
{
    s->StWS.BallAdjPos = Vector(3, 2);
    s->CallStrategy();
    for (int p = 1; p <= 11; p++) {
        Vector want = s->PositionMaxMin(1, p, linearBase(p) + Vector(1.5f, 1));
        want = s->AutomaticRefereeCarefulPosition(want, Vector(3, 2), p);
        expectNear(s->GetStrategicPos(p), want, "player " + std::to_string(p));
    }
}

TEST_F(PositioningTest, OurKickOffPutsTheKickerOnItsPose)
{
    GameState* game = Singleton<WorldState>::getInstance().game;
    const int saved = game->playmode;
    s->StWS.BallAdjPos = Vector(3, 2);
    for (int mode : {QUORVEL_KICKOFF, OPPONENT_GOAL, PLAY_ON, BEFORE_KICKOFF}) {
        game->playmode = mode;
        s->CallStrategy();
        const bool pose = mode == QUORVEL_KICKOFF || mode == OPPONENT_GOAL;
        expectNear(s->GetStrategicPos(11), pose ? Vector(-0.4f, 0.5f) : s->SBSPDelaunayPosition(1, 11, Vector(3, 2), 0),
                   "mode " + std::to_string(mode));
        expectNear(s->GetStrategicPos(10), s->SBSPDelaunayPosition(1, 10, Vector(3, 2), 0));
    }
    s->SK.active = 0;
    game->playmode = QUORVEL_KICKOFF;
    s->CallStrategy();
    expectNear(s->GetStrategicPos(11), s->SBSPDelaunayPosition(1, 11, Vector(3, 2), 0));
    game->playmode = saved;
}

TEST_F(PositioningTest, SituationFormationsFollowTheInterceptionPoint)
{
    // A tactic with a situation line reads the ball's interception point,
    // one without it the adjusted ball.
    s->StWS.BallAdjPos = Vector(3, 2);
    s->StWS.BallIntPos = Vector(-6, -4);
    s->CallStrategy();
    expectNear(s->GetStrategicPos(2), s->SBSPDelaunayPosition(1, 2, Vector(3, 2), 0));
    s->TA.UseSit[1] = 1;
    s->CallStrategy();
    expectNear(s->GetStrategicPos(2), s->SBSPDelaunayPosition(1, 2, Vector(-6, -4), 0));
}

TEST_F(PositioningTest, AtKickOffTheBallIsTakenAtTheCentreAndPlayersStayHome)
{
    for (int sit : {Situation::OKO, Situation::TKO}) {
        s->StWS.Situation = sit;
        // The ball is far away, but a kick-off looks at (0.1, 0.05).
        const Vector p1 = s->SBSPDelaunayPosition(1, 1, Vector(9, 9), 0);
        expectNear(p1, linearBase(1) + Vector(0.05f, 0.025f), "situation " + std::to_string(sit));
        for (int p = 1; p <= 11; p++) {
            const Vector v = s->SBSPDelaunayPosition(1, p, Vector(9, 9), 0);
            EXPECT_LE(v.x, -0.5f) << "player " << p;
            if (sit == Situation::TKO) {
                EXPECT_GE(v.length(), 2.4f) << "player " << p;
            }
        }
    }
}

TEST_F(PositioningTest, ABehindBallTypeStaysBehindTheBall)
{
    s->PT.BehindBall[1] = 1;
    s->StWS.BallPos = Vector(3, 0);
    EXPECT_LE(s->Position3DSpecific(1, 11, Vector(8, 1)).x, 2.1f + EPS);
    EXPECT_FLOAT_EQ(s->Position3DSpecific(1, 11, Vector(-4, 1)).x, -4);
}

struct RefereeCase {
    Vector p, ball, expected;
};

class RefereeTest : public PositioningTest, public ::testing::WithParamInterface<RefereeCase> {};

TEST_P(RefereeTest, KeepsDistanceAndTheField)
{
    const RefereeCase& c = GetParam();
    expectNear(s->AutomaticRefereeCarefulPosition(c.p, c.ball, 2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefereeTest,
                         ::testing::Values(RefereeCase{{3.5f, 2}, {3, 2}, {4.1f, 2}},
                                           RefereeCase{{0, -0.3f}, {0, 0.3f}, {0, -0.8f}},
                                           RefereeCase{{20, 1}, {0, 0}, {15.1f, 1}},
                                           RefereeCase{{-3, -12}, {0, 0}, {-3, -10.2f}},
                                           RefereeCase{{5, 5}, {1, 1}, {5, 5}},
                                           // On the ball: 1.1 m back towards our goal.
                                           RefereeCase{{2, 3}, {2, 3}, {0.9f, 3}}));

TEST_F(PositioningTest, ASituationOutsideTheTableUsesSituationOne)
{
    for (int sit : {0, 21}) {
        s->StWS.Situation = sit;
        s->SetTactic(1);
        EXPECT_EQ(s->SI_Now, 1) << sit;
    }
}

TEST_F(PositioningTest, ABallOutsideEverySampleTakesTheNearestSample)
{
    std::vector<Sample> samples;
    for (Vector b : {Vector(-5, -5), Vector(5, -5), Vector(0, 5)})
        samples.push_back(Sample{b, linearPositions(b)});
    dir.write("form.conf", formationText(slotRoles(), samples));
    s = load();
    s->StWS.Situation = Situation::ATT;
    expectNear(s->SBSPDelaunayPosition(1, 4, Vector(10, 8), 0), linearBase(4) + Vector(0, 2.5f));
}

TEST_F(PositioningTest, WithoutATriangulationPlayersKeepTheirPositions)
{
    // A missing file, or too few samples to triangulate.
    std::vector<Sample> two;
    for (Vector b : {Vector(-5, -5), Vector(5, -5)})
        two.push_back(Sample{b, linearPositions(b)});
    for (int variant = 0; variant < 2; variant++) {
        if (variant == 0)
            lines[24] = "nowhere.conf ";
        else
            dir.write("form.conf", formationText(slotRoles(), two));
        s = load();
        s->StWS.Situation = Situation::ATT;
        s->SetTactic(1);
        s->StDec.FM_StrategicPos[4] = Vector(-6, 2);
        s->StWS.BallAdjPos = Vector(1, 1);
        s->CallStrategy();
        expectNear(s->GetStrategicPos(4), Vector(-6, 2), "variant " + std::to_string(variant));
    }
}

TEST_F(PositioningTest, ResetPositioningUndoesAnExchange)
{
    s->StDec.FM_StrategicPos[2] = Vector(1, 1);
    s->StDec.FM_StrategicPos[3] = Vector(2, 2);
    s->StDec.FM_Positioning[2] = 3;
    s->StDec.FM_Positioning[3] = 2;
    s->ResetPositioning();
    expectNear(s->GetStrategicPos(2), Vector(2, 2));
    expectNear(s->GetStrategicPos(3), Vector(1, 1));
    EXPECT_EQ(s->GetPositioning(2), 2);
}

// Fluxes.
class FluxTest : public PositioningTest {
protected:
    void useDelaunayFlux(const std::string& text)
    {
        lines[27] = "Flux: 1 2";
        lines.erase(lines.begin() + 28, lines.begin() + 35);
        lines.insert(lines.begin() + 28, "flux.conf ");
        if (!text.empty())
            dir.write("flux.conf", text);
        s = load();
        s->StWS.Situation = Situation::ATT;
    }
};

TEST_F(FluxTest, GridLookupIsBilinear)
{
    EXPECT_FLOAT_EQ(s->Flux9x7Value(1, Vector(0, 0)), 7);
    expectNear(s->fieldToFlux(Vector(0, 0)), Vector(4, 3));
    EXPECT_NEAR(s->Flux9x7Value(1, Vector(1.875f, 0)), 3.5f, EPS);
    EXPECT_FLOAT_EQ(s->CalculateFlux(1, Vector(15, 10)), 9);
    EXPECT_FLOAT_EQ(s->Flux9x7Value(1, Vector(15.5f, 0)), 0);
}

TEST_F(FluxTest, DelaunayLookupExactInterpolatedAndNearest)
{
    useDelaunayFlux(
        "Begin Flux 5\n0 -10 -10 2.9\n1 10 -10 -2.9\n2 -10 10 0\n3 10 10 40\n4 0 0 10\nEnd\n");
    EXPECT_EQ(s->FL.FluxValueDel[1][1], 2);
    EXPECT_EQ(s->FL.FluxValueDel[1][2], -2);
    EXPECT_FLOAT_EQ(s->CalculateFlux(1, Vector(10, 10)), 40);
    // Between (0,0)=10, (10,10)=40 and (10,-10)=-2: on the line x = 5 half way.
    const float mid = s->CalculateFlux(1, Vector(5, 5));
    EXPECT_NEAR(mid, 25, EPS);
    // Outside every triangle: the nearest sample.
    EXPECT_FLOAT_EQ(s->CalculateFlux(1, Vector(14, 9.5f)), 40);
}

TEST_F(FluxTest, WithoutSamplesTheFluxIsZero)
{
    useDelaunayFlux("Begin Flux 0\nEnd\n");
    EXPECT_FLOAT_EQ(s->CalculateFlux(1, Vector(3, 3)), 0);
}

TEST_F(FluxTest, AMissingFluxFileIsReportedAndGivesZero)
{
    ::testing::internal::CaptureStderr();
    useDelaunayFlux("");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Delaunay Flux File does not Exist!\n");
    EXPECT_FLOAT_EQ(s->CalculateFlux(1, Vector(3, 3)), 0);
}

}  // namespace
