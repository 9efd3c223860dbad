#include "strategy/PassMethods.h"

#include <algorithm>
#include <cmath>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

// Closer than this to their goal the passer kicks while walking.
const float DYNAMIC_KICK_RANGE = 10.0f;
// More rays than this mean a spacing that is no spacing.
const float MAX_RAYS = 1000;

Vector unit(Vector v) { return v.normalize(); }

} // namespace

PassMethods::PassMethods()
    : mKickType(0),
      velOponente(1.0f),
      tPosition(3.0f),
      tForKick(2.0f),
      alcanceRel(0.93f),
      velInicialBola(15.0f),
      nCycle(0),
      duracaoChute(0),
      velocidadeAliado(0.65f),
      atrito(0.335f),
      timeStep(0.02f),
      alcanceChute(0),
      dirFactor(2.0f),
      angDisp(0.0872665f),
      Lx(15.0f),
      Ly(10.0f),
      SUPERKICK(0),
      DYNAMICKICK(1),
      ws(&Singleton<WorldState>::getInstance())
{
    mKickType = SUPERKICK;
    updateRoll();
    duracaoChute = nCycle * timeStep;
}

void PassMethods::updateRoll()
{
    alcanceChute = -velInicialBola / std::log(atrito);
    nCycle = (int)std::ceil(std::log(1 - alcanceRel) / timeStep / std::log(atrito));
}

float PassMethods::kickSpeed(int kickType, int robotType)
{
    if (kickType == 1)
        return 4.0f;
    switch (robotType) {
    case 0:
    case 1:
        return 11.0f;
    case 3:
        return 12.8f;
    default:
        return 12.0f;
    }
}

void PassMethods::calculaTamanhoTrajetoria()
{
    int robotType = Singleton<AgentModel>::getInstance().getRobotType();
    ws->playerWithBall();
    int passer = ws->setplayPasser != nullptr ? ws->setplayPasser->unum : ws->playWB;
    Player* p = ws->getOstrevandaPlayer(passer);
    // Without a known passer the ball stands for it.
    Vector from = p != nullptr ? p->position.to2d() : ws->ballPos;
    mKickType = from.getDistanceTo(ws->theirGoalPos) < DYNAMIC_KICK_RANGE ? DYNAMICKICK : SUPERKICK;
    velInicialBola = kickSpeed(mKickType, robotType);
    updateRoll();
}

std::vector<Vector> PassMethods::getBallZone() const
{
    Vector b = ws->ballPos;
    Vector a, u;
    bool wide = std::fabs(b.y) > Ly / 2;
    if (b.x > Lx / 2) {
        if (!wide) {
            a = Vector(Lx, -Ly / 2);
            u = Vector(Lx, Ly / 2);
        } else if (b.y < 0) {
            a = Vector(Lx, -Ly / 2);
            u = Vector(Lx / 2, Ly);
        } else {
            a = Vector(Lx / 2, -Ly);
            u = Vector(Lx, Ly / 2);
        }
    } else {
        if (!wide) {
            a = Vector(Lx / 2, -Ly);
            u = Vector(Lx / 2, Ly);
        } else if (b.y < 0) {
            a = Vector(Lx, -Ly);
            u = Vector(b.x + 4, Ly);
        } else {
            a = Vector(b.x + 4, -Ly);
            u = Vector(Lx, Ly);
        }
    }
    return {unit(a - b), unit(u - b)};
}

float PassMethods::getSpacingAngle(float distRel) const
{
    float k = velOponente * std::log(1 - distRel) / (velInicialBola * distRel);
    return std::fabs(std::acos(1 / std::sqrt(1 + k * k)));
}

std::vector<Vector> PassMethods::fanDirections(const std::vector<Vector>& zone, float spacing)
{
    Vector dL = zone.at(0), dR = zone.at(1);
    // Opposite bounds (a ball on their goal line) may round past -1.
    float cosS = std::max(-1.0f, std::min(1.0f, dL.innerProduct(dR)));
    float S = std::fabs(std::acos(cosS));
    float rays = std::ceil(S / std::fabs(spacing)) + 1;
    int n = std::isfinite(rays) && rays < MAX_RAYS ? (int)rays : 1;
    if (n < 2)
        return {dL};
    std::vector<Vector> dirs;
    float step = -S / (n - 1);
    for (int k = 0; k < n; ++k) {
        float a = k * step;
        dirs.push_back(Vector(dL.y * std::sin(a) + dL.x * std::cos(a),
                              dL.y * std::cos(a) - dL.x * std::sin(a)));
    }
    return dirs;
}

bool PassMethods::isOfftheField(Vector p) const
{
    return std::fabs(p.x) > Lx || std::fabs(p.y) > Ly;
}

bool PassMethods::isBlockedPoint(Vector p) const
{
    float reach = nCycle * timeStep * velOponente;
    for (const auto& entry : ws->opponentTeam) {
        Player* opp = entry.second;
        if (opp != nullptr && opp->isStanding() && opp->position.to2d().getDistanceTo(p) <= reach)
            return true;
    }
    return false;
}
