#include <algorithm>
#include <cmath>

#include "logger/LoggerZek.h"
#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float TINY = 1e-6f;

// The point of the line through a and b at x = x0; a line along y keeps b's y.
Vector crossAtX(Vector a, Vector b, float x0)
{
    if (std::fabs(b.x - a.x) < TINY)
        return Vector(x0, b.y);
    return Vector(x0, a.y + (b.y - a.y) * (x0 - a.x) / (b.x - a.x));
}

Vector crossAtY(Vector a, Vector b, float y0)
{
    if (std::fabs(b.y - a.y) < TINY)
        return Vector(b.x, y0);
    return Vector(a.x + (b.x - a.x) * (y0 - a.y) / (b.y - a.y), y0);
}

// Distance of p from the line through a along the unit u, and how far along
// the line its projection lies from a (signed).
void lineOffsets(Vector a, Vector u, Vector p, float& perp, float& along)
{
    Vector d = p - a;
    along = d.innerProduct(u);
    perp = std::fabs(d.x * u.y - d.y * u.x);
}

float scoreByLimits(float a, const float limits[4])
{
    for (int k = 0; k < 4; ++k)
        if (a < limits[k])
            return 5.0f - k;
    return 0;
}

} // namespace

int Strategy::LineIsGoalOrOut(Vector BallPos, Vector FinalPos)
{
    Vector o, t, out;
    return LineIsGoalOrOut(BallPos, FinalPos, o, t, out);
}

int Strategy::LineIsGoalOrOut(Vector BallPos, Vector FinalPos, Vector& intOur, Vector& intTheir,
                              Vector& intOut)
{
    const float L = StPar.FieldSize.x, W = StPar.FieldSize.y, G = StPar.GoalSize;
    intOur = intTheir = intOut = Vector(0, 0);
    if (FinalPos.x > 0.98f * L / 2) {
        intTheir = intOut = crossAtX(BallPos, FinalPos, L / 2);
        float y = std::fabs(intTheir.y);
        if (FinalPos.x > L / 2 && FinalPos.x > intTheir.x &&
            (y < 0.6f * G / 2 || (y < 0.8f * G / 2 && std::fabs(BallPos.y) < G / 2)))
            return LINE_THEIR_GOAL;
        return LINE_OUT;
    }
    if (FinalPos.x < -L / 2) {
        intOur = intOut = crossAtX(BallPos, FinalPos, -L / 2);
        if (FinalPos.x < -0.98f * L / 2 && FinalPos.x < intOur.x &&
            std::fabs(intOur.y) < 1.5f * G / 2)
            return LINE_OUR_GOAL;
        return LINE_OUT;
    }
    if (FinalPos.y > 0.95f * W / 2) {
        intOut = crossAtY(BallPos, FinalPos, 0.99f * W / 2);
        return LINE_OUT;
    }
    if (FinalPos.y < -0.95f * W / 2) {
        intOut = crossAtY(BallPos, FinalPos, -0.99f * W / 2);
        return LINE_OUT;
    }
    return LINE_IN;
}

Vector Strategy::simpleCalculateTarget(Vector InitPos, Vector BallPos, bool dribble, bool self)
{
    WorldState& ws = Singleton<WorldState>::getInstance();
    Vector B = ws.ball != nullptr ? ws.ball->position.to2d() : ws.ballPos;
    Vector goal = ws.theirGoalPos;

    if (B.x < -1 && !(B.x < -2 && std::fabs(B.y) < 3.5f))
        return B.y < 0.5f ? Vector(2, -6.5f) : Vector(2, 6.5f);
    if (B.x > 9 && (B.x < 13 || std::fabs(B.y) > 1.5f))
        return Vector(goal.x + 0.1f, goal.y + 0.1f);

    LOG(log_DEBUG) << "simpleDMU initPos " << InitPos << " bPos " << BallPos;
    Vector target;
    if (dribble && ws.goodOrientation(InitPos, BallPos, self) && worldPlayMode() == PLAY_ON) {
        float ori = ws.me != nullptr ? ws.me->orientation : 0;
        target = BallPos + Vector::getVectorFromPolar(4, ori);
        LOG(log_DEBUG) << "simpleDMU target " << target;
    } else {
        Vector F = BallPos + (BallPos - InitPos).normalize() * 0.5f;
        float bx = BallPos.x, by = BallPos.y;
        if (LineIsGoalOrOut(BallPos, F) == LINE_THEIR_GOAL)
            target = F;
        else if (bx < -3)
            target = by < 0.3f ? Vector(1, -4) : Vector(1, 4);
        else if (bx < 2)
            target = by < 0.3f ? Vector(5, -3) : Vector(5, 3);
        else if (bx >= 5 && by > -1.2f && by < 1.2f)
            target = Vector(goal.x + 0.4f, 0);
        else if (bx >= 7 && by < -1.05f)
            target = Vector(goal.x - 0.7f, 0.2f);
        else if (bx >= 7 && by >= 1.05f)
            target = Vector(goal.x - 0.7f, -0.2f);
        else
            target = Vector(goal.x, 0);
    }
    LOG(log_DEBUG) << "simpleDMU target2 " << target;
    return target;
}

float Strategy::evaluateFlux(Vector, Vector BallPos, Vector FinalPos)
{
    Vector intOur, intTheir, intOut;
    float ballValue = CalculateFlux(FL_Now, BallPos) / 5;
    float finalValue;
    switch (LineIsGoalOrOut(BallPos, FinalPos, intOur, intTheir, intOut)) {
    case LINE_THEIR_GOAL:
        finalValue = CalculateFlux(FL_Now, intTheir * 0.99f) / 5 + 6;
        break;
    case LINE_OUR_GOAL:
        finalValue = CalculateFlux(FL_Now, intOur * 0.99f) / 5 - 5;
        break;
    case LINE_OUT:
        finalValue = CalculateFlux(FL_Now, intOut * 0.99f) / 5 - 3;
        break;
    default:
        finalValue = CalculateFlux(FL_Now, FinalPos) / 5;
    }
    float value = finalValue + 2 - ballValue;
    return value < 1.5f ? -5 : value;
}

float Strategy::evaluateSafe(Vector, Vector BallPos, Vector FinalPos, int& Player)
{
    return calculateSafety(BallPos, FinalPos, Player);
}

float Strategy::calculateSafety(Vector BallPos, Vector Pos, int& Player)
{
    float valSafeLine = 5;
    int nearTeam = 0;
    float cT = 100, cO = 100;
    float K = (Pos - BallPos).length();
    Vector u = (Pos - BallPos).normalize();
    float ballToPos = BallPos.getDistanceTo(Pos);

    for (int i = 1; i <= ST_NUM_PLAYERS && i <= MAX_PLAYERS; ++i) {
        Vector T = StWS.TeamPos[i];
        float d, along;
        lineOffsets(BallPos, u, T, d, along);
        if (std::fabs(along) > K + 1)
            d = 20;
        if (T.getDistanceTo(Pos) > ballToPos)
            d = 30;
        if (i != StWS.MyNumber) {
            if (d < 0.3f)
                valSafeLine -= 5;
            else if (d < 0.5f)
                valSafeLine -= 3;
            else if (d < 0.7f)
                valSafeLine -= 1;
        }
        if (T.getDistanceTo(Pos) < cT) {
            cT = T.getDistanceTo(Pos);
            nearTeam = i;
        }

        Vector Q = StWS.OppPos[i];
        lineOffsets(BallPos, u, Q, d, along);
        if (std::fabs(along) > K + 1)
            d = Pos.getDistanceTo(BallPos + u * along);
        if (Q.getDistanceTo(Pos) > ballToPos)
            d = 30;
        valSafeLine -= d < 0.1f ? 5 : std::max(0.0f, 5 - 5 * d);
        if (Q.getDistanceTo(Pos) < cO)
            cO = Q.getDistanceTo(Pos);
    }
    if (valSafeLine < 0)
        valSafeLine = 0;

    float valSafePoint = 0;
    if (cT < cO - 8)
        valSafePoint = 5;
    else if (cT < cO - 4)
        valSafePoint = 4;
    else if (cT < cO - 2)
        valSafePoint = 3;
    else if (cT < cO)
        valSafePoint = 2;
    else if (cT < cO + 2)
        valSafePoint = 1;
    if (BallPos.x > 15.5f)
        valSafePoint -= 0.5f;
    else if (std::fabs(BallPos.y) > 10 || BallPos.x < -15.5f)
        valSafePoint -= 1;

    Player = nearTeam;
    return (valSafePoint + 5 * valSafeLine) / 5;
}

float Strategy::evaluateEasy(Vector InitPos, Vector BallPos, Vector FinalPos)
{
    float kick = GetNormalizeAngleDeg((FinalPos - BallPos).getDirection());
    float approach = GetNormalizeAngleDeg((BallPos - InitPos).getDirection());
    float a = std::fabs(GetNormalizeAngleDeg(kick - approach));
    float dist = BallPos.getDistanceTo(InitPos);
    static const float NEAR[4] = {15.1f, 30.1f, 60.1f, 90.1f};
    static const float MID[4] = {30.1f, 60.1f, 90.1f, 120.1f};
    static const float FAR[4] = {60.1f, 90.1f, 120.1f, 150.1f};
    return scoreByLimits(a, dist < 1 ? NEAR : dist < 2 ? MID : FAR);
}

float Strategy::evaluate(Vector InitPos, Vector BallPos, Vector FinalPos, int& Player)
{
    return WFlux_Now * evaluateFlux(InitPos, BallPos, FinalPos) +
           WSafe_Now * evaluateSafe(InitPos, BallPos, FinalPos, Player) +
           WEasy_Now * evaluateEasy(InitPos, BallPos, FinalPos);
}

Vector Strategy::calculateTarget(Vector InitPos, Vector BallPos)
{
    if (StDec.prevEval > 10 || StDec.prevEval < -5)
        StDec.prevEval = -5;
    float best = -100;
    Vector bestPoint = StDec.prevTarget;
    int bestPlayer = 9;
    int player = 9;
    for (int a = 0; a < 36; ++a) {
        Vector F = BallPos + Vector::getVectorFromPolar(2.5f, GetNormalizeAngleDeg(10.0f * a));
        float e = evaluate(InitPos, BallPos, F, player);
        // Both columns of the table hold the same kick.
        for (int col = 0; col < 2; ++col) {
            StDec.DM_evalArr[a][col] = e;
            StDec.DM_fPosArr[a][col] = F;
            StDec.DM_fPlaArr[a][col] = player;
        }
        if (e > best) {
            best = e;
            bestPoint = F;
            bestPlayer = player;
        }
    }
    if (best > StDec.prevEval + 1) {
        StDec.DM_ActionPlayer = bestPlayer;
        StDec.DM_ActionPoint = bestPoint;
        StDec.DM_ActionEval = best;
        StDec.actTarget = bestPoint;
        StDec.prevEval = best;
    } else {
        StDec.actTarget = StDec.prevTarget * 0.95f + bestPoint * 0.05f;
    }
    StDec.prevTarget = StDec.actTarget;
    return StDec.actTarget;
}

float Strategy::CalculateFluxDir(Vector BallPos)
{
    float best = -100, bestDir = 0;
    for (int a = 0; a < 360; a += 10) {
        Vector p = BallPos + Vector::getVectorFromPolar(StPar.FieldSize.x / 20, (float)a);
        float v = CalculateFlux(FL_Now, p);
        if (v > best) {
            best = v;
            bestDir = (float)a;
        }
    }
    return bestDir;
}
