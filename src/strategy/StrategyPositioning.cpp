#include <algorithm>
#include <cmath>

#include "strategy/Situation.h"
#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

bool kickOff(int situation) { return situation == Situation::OKO || situation == Situation::TKO; }

}  // namespace

int Strategy::worldPlayMode() const { return Singleton<WorldState>::getInstance().game->playmode; }

void Strategy::CallStrategy()
{
    DecideTactic((int)StWS.GameTime, StWS.Result);
    SBSPCalculate();
}

void Strategy::DecideTactic(int time, int result)
{
    int cls;
    if (result >= 3)
        cls = 5;
    else if (result >= 1)
        cls = 4;
    else if (result == 0)
        cls = 3;
    else if (result >= -2)
        cls = 2;
    else
        cls = 1;
    int row = 1;
    for (int k = 1; k <= ST_NUM_TIME_TACTICS; k++)
        if (TT.TimeInit[k] <= time && time <= TT.TimeEnd[k])
            row = k;
    SetTactic(TT.TimeTactic[row][ST_Opponent][cls]);
}

void Strategy::SetTactic(int /*tact*/)
{
    // Tactic 1 is the one the team plays.
    TA_Now = 1;
    SI_Now = StWS.Situation >= 1 && StWS.Situation <= 20 ? StWS.Situation : 1;
    FM_Now = (int)TA.SitForm[TA_Now][SI_Now];
    FL_Now = (int)TA.Flux[TA_Now];
    SP_Now = (int)TA.Plans[TA_Now];
    SetWeights(TA.WFlux[TA_Now], TA.WSafe[TA_Now], TA.WEasy[TA_Now], TA.WPass[TA_Now],
               TA.WDrib[TA_Now]);
}

void Strategy::SBSPCalculate()
{
    const Vector ball = TA.UseSit[TA_Now] == 0 ? StWS.BallAdjPos : StWS.BallIntPos;
    const int owner = StWS.BallOwner;
    for (int p = 1; p <= ST_NUM_PLAYERS; p++) {
        if (FM.Type[FM_Now] == 1)
            StDec.FM_StrategicPos[p] = SBSPPosition(FM_Now, p, ball, owner);
        else if (FM.Type[FM_Now] == 2)
            StDec.FM_StrategicPos[p] = SBSPDelaunayPosition(FM_Now, p, ball, owner);
    }
    const int mode = worldPlayMode();
    if ((mode == QUORVEL_KICKOFF || mode == OPPONENT_GOAL) && SK.active == 1) {
        StDec.FM_StrategicPos[SK.passerN] = Vector(SK.passerX, SK.passerY);
        StDec.FM_StrategicPos[SK.kickerN] = Vector(SK.kickerX, SK.kickerY);
    }
}

Vector Strategy::SBSPPosition(int form, int pos, Vector ball, int /*ballOwner*/)
{
    if (kickOff(StWS.Situation))
        ball = Vector(0, 0);
    const Vector a = PTGetAttraction(form, pos);
    Vector p = FormationGetBasePos(form, pos) + Vector(a.x * ball.x, a.y * ball.y);
    p = Position3DSpecific(form, pos, p);
    p = PositionAreaAtt(form, pos, p, ball);
    p = PositionMaxMin(form, pos, p);
    if (!kickOff(StWS.Situation))
        p = AutomaticRefereeCarefulPosition(p, ball, pos);
    return p;
}

bool Strategy::usableFormation(int form) const
{
    return form >= 1 && form <= 30 && FM.NPointsDel[form] >= 3 && FM.Triangulations[form];
}

Vector Strategy::SBSPDelaunayPosition(int form, int pos, Vector ball, int ballOwner)
{
    // Without a triangulation the player keeps where it stands in the strategy.
    if (!usableFormation(form))
        return StDec.FM_StrategicPos[pos];

    const int k = GetPositioning(pos);
    if (kickOff(StWS.Situation))
        ball = Vector(0.1f, 0);
    if (std::fabs(ball.x) < 0.05f)
        ball.x = 0.05f;
    if (std::fabs(ball.y) < 0.05f)
        ball.y = 0.05f;
    ball = BallToInsideField(ball);

    const rcsc::DelaunayTriangulation& tri = *FM.Triangulations[form];
    const rcsc::Vector2D b(ball.x, ball.y);
    FM.Triangle = tri.findTriangleContains(b);
    if (FM.Triangle == nullptr) {
        const rcsc::DelaunayTriangulation::Vertex* v = tri.findNearestVertex(b);
        if (v == nullptr)
            return StDec.FM_StrategicPos[pos];
        return FM.PositionDel[form][v->id() + 1][k];
    }

    int idx[3];
    Vector corner[3];
    for (int c = 0; c < 3; c++) {
        idx[c] = FM.Triangle->vertex(c)->id() + 1;
        corner[c] = FM.PositionDel[form][idx[c]][k];
    }
    if (ballOwner != 0) {
        for (const rcsc::formation::SampleData& d : FM.ChangedPos[form]) {
            if (d.bowner_ != ballOwner)
                continue;
            for (int c = 0; c < 3; c++) {
                if (d.index_ != idx[c])
                    continue;
                for (int t = 0; t < d.nPlayersChanged(); t++) {
                    if (d.getPlayerChanged(t) == k) {
                        const rcsc::Vector2D& v = d.getPosition(t);
                        corner[c] = Vector((float)v.x, (float)v.y);
                    }
                }
                break;
            }
        }
    }
    for (int c = 0; c < 3; c++)
        if (ball == FM.BallPositionDel[form][idx[c]])
            return corner[c];

    Vector p = interpolate_2009(ball, FM.BallPositionDel[form][idx[0]],
                                FM.BallPositionDel[form][idx[1]], FM.BallPositionDel[form][idx[2]],
                                corner[0], corner[1], corner[2]);
    p = Position3DSpecific(form, pos, p);
    p = PositionMaxMin(form, pos, p);
    if (!kickOff(StWS.Situation))
        p = AutomaticRefereeCarefulPosition(p, ball, pos);
    return p;
}

Vector Strategy::Position3DSpecific(int form, int pos, Vector p)
{
    const float limit = StWS.BallPos.x - 0.03f * StPar.FieldSize.x;
    if (PTGetBehindBall(form, pos) != 0 && p.x > limit)
        p.x = limit;
    if (StWS.Situation == Situation::TKO)
        while (p.getDistanceTo(Vector(0, 0)) < 2.4f)
            p.x -= 0.1f;
    if (kickOff(StWS.Situation) && p.x > -0.5f)
        p.x = -0.5f;
    return p;
}

Vector Strategy::Position2DSpecific(int /*form*/, int /*pos*/, Vector p)
{
    float o1 = 0;
    float o2 = 0;
    for (int i = 1; i <= 11; i++) {
        const float x = StWS.OppPos[i].x;
        if (x > o1) {
            o2 = o1;
            o1 = x;
        } else if (x > o2) {
            o2 = x;
        }
    }
    const float ballX = StWS.BallPos.x;
    if (ballX > o2) {
        if (p.x >= ballX - 0.5f)
            p.x = ballX - 0.5f;
    } else if (p.x >= o2 - 0.5f) {
        p.x = o2 - 0.5f;
    }
    if (StWS.Situation == Situation::TFK && ballX > 0) {
        p.x = std::min(p.x, ballX - 0.5f);
        p.x = std::min(p.x, 35.0f);
    }
    if (StWS.Situation == Situation::TKO)
        while (p.length() < 9.1f)
            p.x -= 0.5f;
    if (kickOff(StWS.Situation))
        p.x = std::min(p.x, -0.7f);
    return p;
}

Vector Strategy::PositionMRSpecific(int /*form*/, int /*pos*/, Vector p) { return p; }

Vector Strategy::PositionAreaAtt(int /*form*/, int /*pos*/, Vector p, Vector ball)
{
    const float L = StPar.FieldSize.x;
    const float W = StPar.FieldSize.y;
    if (p.y > W / 4)
        p.y = p.y - (p.y - W / 4) / 4;
    if (p.y < -W / 4)
        p.y = p.y - (W / 4 + p.y) / 4;
    const float side = 1 - std::fabs(ball.y / (W / 2));
    if (p.x > L / 4)
        p.y = (1 - 0.5f * (p.x - L / 4) / (L / 4) - 0.3f * side) * p.y;
    if (p.x < -L / 4)
        p.y = (1 - 0.4f * (L / 4 + p.x) / (-L / 4) - 0.3f * side) * p.y;
    return p;
}

Vector Strategy::PositionMaxMin(int /*form*/, int /*pos*/, Vector p)
{
    const float L = StPar.FieldSize.x;
    const float W = StPar.FieldSize.y;
    p.x = std::max(p.x, -0.99f * L / 2);
    p.y = std::max(-0.99f * W / 2, std::min(0.99f * W / 2, p.y));
    return p;
}

Vector Strategy::AutomaticRefereeCarefulPosition(Vector p, Vector ball, int /*pos*/)
{
    const Vector away = p - ball;
    const float d = away.length();
    if (d < 1.1f) {
        // On the ball itself there is no direction: step back towards our goal.
        const Vector dir = d > 1e-6f ? away / d : Vector(-1, 0);
        p = ball + dir * 1.1f;
    }
    p.x = std::max(-15.1f, std::min(15.1f, p.x));
    p.y = std::max(-10.2f, std::min(10.2f, p.y));
    return p;
}

void Strategy::Position3DBlockOppAdjustment() {}

void Strategy::SBSPPassChange() {}

void Strategy::DPRExchange()
{
    const int s = StWS.Situation;
    if (s == 3 || s == 4 || s == 5 || s == 7 || s == 9 || s == 11 || s == 13 || s == 15) {
        ResetPositioning();
        return;
    }
    Vector* S = StDec.FM_StrategicPos;
    const Vector* T = StWS.TeamPos;
    for (int pass = 0; pass < 5; pass++) {
        for (int i = 2; i <= ST_NUM_PLAYERS; i++) {
            for (int j = i + 1; j <= ST_NUM_PLAYERS; j++) {
                const float crossed = S[i].getDistanceTo(T[j]) + S[j].getDistanceTo(T[i]);
                const float straight = S[i].getDistanceTo(T[i]) + S[j].getDistanceTo(T[j]);
                if (crossed < straight - 0.001f) {
                    std::swap(S[i], S[j]);
                    std::swap(StDec.FM_Positioning[i], StDec.FM_Positioning[j]);
                }
            }
        }
    }
}

int Strategy::GamePace()
{
    const int R = StWS.Result;
    const bool late = StWS.GameTime > 0.9f * StPar.GameTime;
    const bool ahead = StWS.BallPos.x > 0;
    if ((R == 0 || R == -1) && late && ahead)
        return 4;
    if (R == -1 && late)
        return 3;
    if (R == 0 && late && !ahead)
        return 1;
    if (R == 1 && late)
        return 0;
    if (R == 1)
        return 1;
    if (R < 3)
        return 2;
    return 3;
}

// The strategic positions are only drawn into the text log, which is off.
void Strategy::DebugStrategy() {}

void Strategy::ResetPositioning()
{
    Vector moved[12];
    for (int i = 1; i <= 11; i++) {
        const int to = StDec.FM_Positioning[i];
        if (to >= 0 && to < 12)
            moved[to] = StDec.FM_StrategicPos[i];
    }
    for (int i = 1; i <= 11; i++) {
        StDec.FM_StrategicPos[i] = moved[i];
        StDec.FM_Positioning[i] = i;
    }
}

Vector Strategy::GetStrategicPos(int unum) const
{
    if (unum < 0 || unum > 11)
        return Vector(0, 0);
    return StDec.FM_StrategicPos[unum];
}

int Strategy::GetPositioning(int unum) const { return StDec.FM_Positioning[unum]; }

int Strategy::GetTactic() const { return TA_Now; }

int Strategy::GetFormation() const { return FM_Now; }

void Strategy::SetFormation(int form) { FM_Now = form; }

void Strategy::SetFlux(int flux) { FL_Now = flux; }

void Strategy::SetPlans(int plans) { SP_Now = plans; }

void Strategy::SetWeights(float flux, float safe, float easy, float pass, float drib)
{
    WFlux_Now = flux;
    WSafe_Now = safe;
    WEasy_Now = easy;
    WPass_Now = pass;
    WDrib_Now = drib;
}

Vector Strategy::FormationGetBasePos(int form, int pos) { return FM.Position[form][GetPositioning(pos)]; }

int Strategy::FormationGetPlayerType(int form, int pos) { return FM.PlayerType[form][GetPositioning(pos)]; }

Vector Strategy::PTGetAttraction(int form, int pos) { return PT.Attraction[FormationGetPlayerType(form, pos)]; }

int Strategy::PTGetBehindBall(int form, int pos) { return PT.BehindBall[FormationGetPlayerType(form, pos)]; }
