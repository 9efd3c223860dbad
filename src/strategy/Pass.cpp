#include "strategy/Pass.h"

#include <algorithm>
#include <cmath>

#include "utils/Singleton.h"
#include "world/GameConditions.h"
#include "world/GameState.h"
#include "world/Player.h"
#include "world/WorldState.h"

namespace {

const float KICKOFF_TIME = 25.0f;
const float SHOT_FREE_DIST = 10.0f;   // farther from their goal to kick
const float NEAR_OPP_START = 10.0f;
const float MIN_CONF = 0.3f;
const float SAFE_TIME = 3.0f;         // seconds of opponent running
const float DYNAMIC_PASS_DIST = 7.0f;
const float LINE_TOLERANCE = 0.0872665f;  // 5 degrees
const float TINY = 1e-6f;

float clampCos(float c) { return std::max(-1.0f, std::min(1.0f, c)); }

} // namespace

Pass::Pass()
    : StrategicBehavior(&Singleton<WorldState>::getInstance(), nullptr),
      activePass(false),
      Lx(15.0f),
      Ly(10.0f),
      goalWidth(4.2f),
      minIndice(1000.0f),
      maxIndice(0.0f),
      goalCenter(15.0f, 0),
      passTarget(20, 0),
      numTrajGoal(0),
      numTrajPass(0),
      numOppRTOBall(0),
      MO2G(0),
      mO2G(0),
      catcher(1),
      bestTraj(0),
      receiver(0),
      deadLine(0),
      mode(0),
      trajectoryDecided(false)
{
    for (const auto& entry : ws->ostrevanda)
        if (entry.second != nullptr && WorldState::isShirtNumber(entry.first))
            possibleReceiver[entry.first] = entry.second;
}

Pass::Pass(std::vector<int> presetPlayersUnum) : Pass()
{
    convertPlayersIdToPlayers(presetPlayersUnum);
}

void Pass::convertPlayersIdToPlayers(std::vector<int> ids)
{
    possibleReceiver.clear();
    for (int id : ids) {
        for (const auto& entry : ws->ostrevanda) {
            if (entry.second == nullptr)
                continue;
            if (entry.second->unum == id) {
                possibleReceiver[id] = entry.second;
                break;
            }
        }
    }
}

Vector Pass::ballNow() const { return ws->ball != nullptr ? ws->ball->position.to2d() : ws->ballPos; }

int Pass::passerNumber() const
{
    return ws->setplayPasser != nullptr ? ws->setplayPasser->unum : ws->playWB;
}

bool Pass::isAvailable() { return isActivePass(0, Vector(0, 0), true); }

bool Pass::isActivePassFromSetplay() { return isActivePass(0, Vector(0, 0), false); }

bool Pass::isActivePass(int playerSetplay, Vector targetSetplay, bool tryKickToGoal)
{
    int pm = ws->game->playmode;
    if (pm == QUORVEL_KICKIN && ws->ballPos.x >= 4)
        tryKickToGoal = false;

    bool afterKickOff = ws->gTime - ws->getLastQuorvelKickoff() < KICKOFF_TIME;
    if (playerSetplay != 0 && (afterKickOff || pm == PLAY_ON)) {
        if (ws->playerWithBall() == WorldState::ALLY && ws->playWB == ws->unum && isActiveKick() &&
            !ws->trajectoryDecided) {
            doPasse(true);
            return true;
        }
        passTarget = targetSetplay;
        ws->trajectoryDecided = true;
        deadLine = PASS_CYCLES;
        mode = 2;
        activePass = true;
        receiver = playerSetplay;
        return true;
    }

    WorldState::WithBall side = ws->playerWithBall();
    if (pm == QUORVEL_KICKOFF || pm == OPPONENT_KICKOFF || pm == QUORVEL_CORNER_KICK ||
        (pm == QUORVEL_FREE_KICK && !ws->game->getLastPlayon()))
        return false;
    if (deadLine >= 1) {
        --deadLine;
        activePass = true;
        return true;
    }
    if (side != WorldState::ALLY) {
        deadLine = 0;
        activePass = false;
        return false;
    }
    if (ws->playWB == ws->unum && isActiveKick() && !ws->trajectoryDecided)
        doPasse(tryKickToGoal);
    return activePass;
}

bool Pass::isActiveKick()
{
    int pm = ws->game->playmode;
    if (pm == QUORVEL_GOAL_KICK || pm == QUORVEL_FREE_KICK)
        return true;
    Vector ball = ballNow();
    float nearest = NEAR_OPP_START;
    for (const auto& entry : ws->opponentTeam) {
        Player* opp = entry.second;
        if (opp == nullptr || opp->conf < MIN_CONF)
            continue;
        nearest = std::min(nearest, opp->position.to2d().getDistanceTo(ball));
    }
    float safe = SAFE_TIME * passMethods.getVelOponente();
    if (pm == PASS_QUORVEL)
        safe /= 3;
    return nearest > safe && ws->myPos.getDistanceTo(ws->theirGoalPos) > SHOT_FREE_DIST;
}

void Pass::doPasse(bool tryKickToGoal)
{
    activePass = false;
    definingTrajectories();
    if (numTrajGoal + numTrajPass < 1)
        return;
    calculaIndiceIntercepcao();
    if (numTrajGoal > 0 && tryKickToGoal && kickToGoal()) {
        passTarget = trajectories[bestTraj].getPontoPasse();
        mode = 1;
        activePass = true;
        receiver = 0;
        deadLine = 0;
        ws->trajectoryDecided = true;
        return;
    }
    if (mode == 1 || numTrajPass < 1)
        return;
    getFeatures();
    if (passTheBall()) {
        ws->trajectoryDecided = true;
        deadLine = PASS_CYCLES;
        passTarget = trajectories[bestTraj].getPontoPasse();
        mode = 2;
        activePass = true;
        if (receiver != 0) {
            Player* passer = ws->getOstrevandaPlayer(passerNumber());
            if (passer != nullptr)
                passMethods.setKickType(passer->position.to2d().getDistanceTo(passTarget) <
                                                DYNAMIC_PASS_DIST
                                            ? passMethods.DYNAMICKICK
                                            : passMethods.SUPERKICK);
        }
    } else if (ws->game->playmode == QUORVEL_FREE_KICK) {
        passTarget = ws->theirGoalPos;
        receiver = 0;
        deadLine = 0;
        mode = 2;
        activePass = true;
    }
}

void Pass::definingTrajectories()
{
    passMethods.calculaTamanhoTrajetoria();
    trajectories.clear();
    Vector b = ballNow();
    std::vector<Vector> zone = passMethods.getBallZone();
    for (Vector dir : PassMethods::fanDirections(zone, passMethods.getSpacingAngle(0.5f))) {
        Trajectory t;
        t.setDirection(dir);
        t.setPontoPasse(b + dir * passMethods.alcanceChute);
        trajectories.push_back(classification(t));
    }
}

Trajectory Pass::classification(Trajectory t)
{
    Vector b = ballNow();
    Vector p = t.getPontoPasse();
    Vector dir = t.getDirection();
    float halfLength = ws->conditions->fieldLength / 2;
    float yInt = p.y;
    int cls;
    if (!passMethods.isOfftheField(p)) {
        cls = PassMethods::PASSE;
        ++numTrajPass;
    } else if (p.x > halfLength) {
        yInt = dir.x != 0 ? dir.y / dir.x * (halfLength - b.x) + b.y : ws->conditions->fieldWidth / 2;
        if (std::fabs(yInt) < ws->conditions->goalsWidth / 2) {
            cls = PassMethods::GOAL;
            ++numTrajGoal;
        } else {
            cls = PassMethods::OUT;
        }
    } else {
        cls = PassMethods::OUT;
    }
    if ((cls == PassMethods::PASSE || cls == PassMethods::GOAL) &&
        (getNumObstacles(dir, 1) > 0 || getNumObstacles(dir, 0) > 0)) {
        if (cls == PassMethods::PASSE)
            --numTrajPass;
        else
            --numTrajGoal;
        cls = PassMethods::OFF;
    }
    t.setClassification(cls);
    t.setYint(yInt);
    return t;
}

int Pass::getNumObstacles(Vector dir, int team)
{
    Vector b = ballNow();
    for (int n = 1; n <= WorldState::MAX_UNUM; ++n) {
        if (team == 0 && n == ws->playWB)
            continue;
        Player* p = ws->getPlayer(team, n);
        if (p == nullptr)
            continue;
        Vector pos = p->position.to2d();
        float d = pos.getDistanceTo(b);
        if (passMethods.getKickType() == passMethods.SUPERKICK && d > 1 && d < 8)
            continue;
        if (d > passMethods.alcanceChute)
            continue;
        // A player on the ball covers every direction.
        if (d < TINY)
            return 1;
        float theta = std::acos(clampCos((pos - b).innerProduct(dir) / d));
        float obstacleAngle = std::atan((p->isStanding() ? 0.2f : 0.3f) / d);
        if (theta < LINE_TOLERANCE || theta - obstacleAngle < LINE_TOLERANCE)
            return 1;
    }
    return 0;
}

std::vector<float> Pass::ballSimulation() const
{
    float q = std::pow(passMethods.atrito, passMethods.timeStep);
    std::vector<float> r;
    for (int i = 0; i < passMethods.nCycle; ++i)
        r.push_back(passMethods.alcanceChute * (1 - std::pow(q, (float)(i - 1))));
    r.push_back(passMethods.alcanceChute);
    return r;
}

void Pass::calculaIndiceIntercepcao()
{
    std::vector<float> r = ballSimulation();
    Vector b = ballNow();
    for (Trajectory& t : trajectories) {
        float I = 0;
        int cls = t.getClassification();
        if (cls == PassMethods::PASSE || cls == PassMethods::GOAL) {
            for (size_t c = 2; c < r.size(); ++c) {
                Vector at = b + t.getDirection() * r[c];
                if (at.x > Lx || std::fabs(at.y) > Ly)
                    break;
                float radius = passMethods.getVelOponente() * c * passMethods.timeStep;
                for (const auto& entry : ws->opponentTeam) {
                    Player* opp = entry.second;
                    if (opp == nullptr || !opp->isStanding() ||
                        opp->position.to2d().getDistanceTo(at) > radius)
                        continue;
                    I += passMethods.alcanceChute / r[c];
                    t.setIndiceContribuicao(I);
                    maxIndice = std::max(maxIndice, I);
                    minIndice = std::min(minIndice, I);
                }
            }
        }
        if (cls == PassMethods::PASSE && maxIndice - minIndice > 0)
            t.setIndiceContribuicao((maxIndice - I) / (maxIndice - minIndice));
    }
    if (minIndice == 1000.0f && maxIndice == 0.0f) {
        minIndice = 0;
        maxIndice = 1;
    }
    if (minIndice == maxIndice)
        minIndice = 0;
}

bool Pass::kickToGoal()
{
    bool found = false;
    float best = 0;
    for (size_t i = 0; i < trajectories.size(); ++i) {
        const Trajectory& t = trajectories[i];
        if (t.getClassification() != PassMethods::GOAL)
            continue;
        float v = 1 / (t.getIndiceContribuicao() + 1);
        if (!found || v > best ||
            (v == best && std::fabs(t.getYint()) < std::fabs(trajectories[bestTraj].getYint()))) {
            found = true;
            best = v;
            bestTraj = (int)i;
        }
    }
    return found;
}

int Pass::getNumOppOnRTO(Vector p)
{
    Vector a = Vector(Lx, -Ly / 2) - p;
    Vector b = Vector(Lx, Ly / 2) - p;
    int count = 0;
    for (const auto& entry : ws->opponentTeam) {
        if (entry.second == nullptr)
            continue;
        Vector r = entry.second->position.to2d() - p;
        if (r.x * a.y - r.y * a.x < 0 && r.x * b.y - r.y * b.x > 0)
            ++count;
    }
    return count;
}

void Pass::getFeatures()
{
    const float FAR = 1000;
    numOppRTOBall = getNumOppOnRTO(ballNow());
    MO2G = mO2G = numOppRTOBall;
    float MDG = 0, mDG = 1000, MDA = 0, mDA = 1000;
    std::vector<int> counts(trajectories.size(), 0);
    std::vector<float> goalDist(trajectories.size(), 0);
    for (size_t i = 0; i < trajectories.size(); ++i) {
        Trajectory& t = trajectories[i];
        std::vector<float> allies;
        if (t.getClassification() == PassMethods::PASSE) {
            Vector pp = t.getPontoPasse();
            counts[i] = getNumOppOnRTO(pp);
            t.setNumOppOnRTOPP(counts[i]);
            MO2G = std::max(MO2G, counts[i]);
            mO2G = std::min(mO2G, counts[i]);
            goalDist[i] = pp.getDistanceTo(goalCenter);
            t.setDistGoalToPP(goalDist[i]);
            MDG = std::max(MDG, goalDist[i]);
            mDG = std::min(mDG, goalDist[i]);
            for (const auto& entry : possibleReceiver) {
                if (entry.first == ws->playWB)
                    continue;
                if (entry.second->isStanding()) {
                    float d = entry.second->position.to2d().getDistanceTo(pp);
                    allies.push_back(d);
                    MDA = std::max(MDA, d);
                    mDA = std::min(mDA, d);
                } else {
                    allies.push_back(FAR);
                }
            }
        }
        t.setVectorDistAllyToPP(allies);
    }
    if (MO2G - mO2G > 0)
        numOppRTOBall = (MO2G - numOppRTOBall) / (MO2G - mO2G);
    if (MDG == mDG)
        MDG = 1000;
    if (MDA == mDA)
        MDA = 1000;
    for (size_t i = 0; i < trajectories.size(); ++i) {
        Trajectory& t = trajectories[i];
        if (t.getClassification() != PassMethods::PASSE)
            continue;
        if (maxIndice - minIndice > 0)
            t.setIndiceContribuicao((maxIndice - t.getIndiceContribuicao()) / (maxIndice - minIndice));
        if (MO2G - mO2G > 0)
            t.setNumOppOnRTOPP((MO2G - counts[i]) / (MO2G - mO2G));
        if (MDG - mDG > 0)
            t.setDistGoalToPP((MDG - goalDist[i]) / (MDG - mDG));
        if (MDA - mDA > 0) {
            std::vector<float> allies = t.getVectorDistAllyToPP();
            size_t k = 0;
            for (const auto& entry : possibleReceiver) {
                if (entry.first == ws->playWB)
                    continue;
                if (entry.second->isStanding() && k < allies.size())
                    allies[k] = (MDA - allies[k]) / (MDA - mDA);
                ++k;
            }
            t.setVectorDistAllyToPP(allies);
        }
    }
}

void Pass::scoreTrajectories(bool skipHolder)
{
    // The score is the product with the last standing candidate's entry; it
    // carries over to the next pass when that one has none.
    float quality = 0;
    for (Trajectory& t : trajectories) {
        if (t.getClassification() != PassMethods::PASSE)
            continue;
        if (t.getNumOppRTOPP() < numOppRTOBall) {
            t.setBestQuality(-1);
            continue;
        }
        std::vector<float> allies = t.getVectorDistAllyToPP();
        size_t k = 0;
        for (const auto& entry : possibleReceiver) {
            if (skipHolder && entry.first == ws->playWB)
                continue;
            if (entry.second->isStanding() && k < allies.size())
                quality = t.getIndiceAcessoPP() * t.getNumOppRTOPP() * t.getIndiceContribuicao() *
                          t.getDistGoalToPP() * allies[k];
            ++k;
        }
        t.setBestQuality((int)quality);
    }
}

bool Pass::passTheBall()
{
    scoreTrajectories(true);
    return choseTheBestTrajectory();
}

void Pass::ordenaTrajetorias()
{
    for (size_t i = 0; i < trajectories.size(); ++i)
        for (size_t j = i + 1; j < trajectories.size(); ++j)
            if (trajectories[j].getBestQuality() > trajectories[i].getBestQuality())
                std::swap(trajectories[i], trajectories[j]);
}

bool Pass::choseTheBestTrajectory()
{
    ordenaTrajetorias();
    for (size_t i = 0; i < trajectories.size(); ++i) {
        if (trajectories[i].getClassification() != PassMethods::PASSE)
            continue;
        for (const auto& entry : possibleReceiver) {
            int unum = entry.first;
            if (unum == ws->playWB || unum == 1)
                continue;
            if (ws->isStanding(unum, false) && chooseBestReceiver((int)i, unum)) {
                bestTraj = (int)i;
                receiver = unum;
                return true;
            }
        }
    }
    return false;
}

bool Pass::chooseBestReceiver(int i, int unum)
{
    auto it = possibleReceiver.find(unum);
    if (it == possibleReceiver.end())
        return false;
    Vector R = it->second->position.to2d();
    Vector P = trajectories.at(i).getPontoPasse();
    float headStart = (passMethods.duracaoChute + passMethods.getKickDuration()) *
                      passMethods.velocidadeAliado;
    headStart = std::min(headStart, P.getDistanceTo(R));
    Vector start = R + (P - R).normalize() * headStart;
    float tr = P.getDistanceTo(start) / passMethods.velocidadeAliado;
    bool accepted = false;
    for (const auto& entry : ws->opponentTeam) {
        Player* opp = entry.second;
        if (opp == nullptr || !opp->isStanding())
            continue;
        float to = P.getDistanceTo(opp->position.to2d()) / passMethods.getVelOponente();
        if (to <= tr && ws->game->playmode != QUORVEL_KICKOFF)
            return false;
        catcher = unum;
        accepted = true;
    }
    return accepted;
}

bool Pass::clearPassToPlayer(std::vector<int>)
{
    definingTrajectories();
    if (numTrajPass <= 0)
        return false;
    calculaIndiceIntercepcao();
    calculateFeatures();
    calculateTrajQuality();
    if (!chooseBestTrajectory())
        return false;
    passTarget = trajectories[bestTraj].getPontoPasse();
    return true;
}

void Pass::calculateFeatures()
{
    numOppRTOBall = getNumOppOnRTO(ballNow());
    MO2G = mO2G = numOppRTOBall;
    for (Trajectory& t : trajectories) {
        if (t.getClassification() != PassMethods::PASSE)
            continue;
        calculateRTOIndex(t);
        calculateDistGoalIndex(t);
        calculateDistAllyIndex(t);
    }
    if (maxIndice - minIndice > 0)
        for (Trajectory& t : trajectories)
            if (t.getClassification() == PassMethods::PASSE)
                t.setIndiceContribuicao((maxIndice - t.getIndiceContribuicao()) / (maxIndice - minIndice));
}

void Pass::calculateRTOIndex(Trajectory& t)
{
    int n = getNumOppOnRTO(t.getPontoPasse());
    MO2G = std::max(MO2G, n);
    mO2G = std::min(mO2G, n);
    if (MO2G != mO2G) {
        numOppRTOBall = (MO2G - numOppRTOBall) / (MO2G - mO2G);
        n = (MO2G - n) / (MO2G - mO2G);
    }
    t.setNumOppOnRTOPP(n);
}

void Pass::calculateDistGoalIndex(Trajectory& t) { t.setDistGoalToPP(t.getPontoPasse().getDistanceTo(goalCenter)); }

void Pass::calculateDistAllyIndex(Trajectory& t)
{
    const float FAR = 1000;
    Vector pp = t.getPontoPasse();
    std::vector<float> allies;
    float most = 0, least = FAR;
    for (const auto& entry : possibleReceiver) {
        if (!entry.second->isStanding()) {
            allies.push_back(FAR);
            continue;
        }
        float d = entry.second->position.to2d().getDistanceTo(pp);
        allies.push_back(d);
        most = std::max(most, d);
        least = std::min(least, d);
    }
    if (most != least) {
        size_t k = 0;
        for (const auto& entry : possibleReceiver) {
            if (entry.second->isStanding())
                allies[k] = (most - allies[k]) / (most - least);
            ++k;
        }
    }
    t.setVectorDistAllyToPP(allies);
}

void Pass::calculateTrajQuality()
{
    // Here the holder has an entry of its own.
    scoreTrajectories(false);
    ordenaTrajetorias();
}

bool Pass::chooseBestTrajectory()
{
    for (size_t i = 0; i < trajectories.size(); ++i) {
        if (trajectories[i].getClassification() != PassMethods::PASSE)
            continue;
        for (const auto& entry : possibleReceiver) {
            int unum = entry.first;
            // Never the goalkeeper, never the ball holder itself.
            if (unum == 1 || unum == ws->playWB)
                continue;
            if (entry.second->isStanding() && chooseBestReceiver((int)i, unum)) {
                bestTraj = (int)i;
                receiver = unum;
                return true;
            }
        }
    }
    return false;
}

int Pass::numObstacles(int i)
{
    const float HALF_WIDTH = 0.45f;
    if (i < 0 || i >= (int)trajectories.size())
        return 0;
    Vector P = trajectories[i].getPontoPasse();
    int count = 0;
    for (const auto& entry : possibleReceiver) {
        if (entry.first == ws->playWB)
            continue;
        Vector R = entry.second->position.to2d();
        float d = R.getDistanceTo(P);
        if (d < TINY)
            continue;
        // Within half a corridor 0.9 m wide; a point closer than that, any
        // bearing toward it.
        float limit = d > HALF_WIDTH ? std::atan(HALF_WIDTH / std::sqrt(d * d - HALF_WIDTH * HALF_WIDTH))
                                     : (float)M_PI / 2;
        for (int team = 0; team <= 1; ++team) {
            const std::map<int, Player*>& players = team == 0 ? ws->ostrevanda : ws->opponentTeam;
            for (const auto& other : players) {
                if (other.second == nullptr || other.second == entry.second ||
                    !WorldState::isShirtNumber(other.first))
                    continue;
                Vector q = other.second->position.to2d() - R;
                float dq = q.length();
                if (dq >= d || dq < TINY)
                    continue;
                float bearing = std::acos(clampCos(q.innerProduct(P - R) / (dq * d)));
                if (bearing <= limit)
                    ++count;
            }
        }
    }
    return count;
}
