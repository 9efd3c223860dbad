// The world state's recomputation after each server message.

#include <cmath>

#include "physics/AgentModel.h"
#include "physics/BodyObject.h"
#include "physics/Types.h"
#include "strategy/Strategy.h"
#include "utils/Singleton.h"
#include "geometry/Geometry.h"
#include "world/WorldState.h"
#include "world/TwoBest.h"

namespace {

// Confidence kept per message without a sighting.
const double CONF_DECAY = 0.95;

void decay(MobileObject& obj) { obj.conf = static_cast<float>(obj.conf * CONF_DECAY); }

AngleDeg directionOf(const Vector& v) { return GetNormalizeAngleDeg(v.getDirection()); }


} // namespace

int WorldState::numPlayersToScan() const
{
    // Both maps hold shirt numbers 1 to 11 only.
    if (strategy == nullptr || strategy->ST_NUM_PLAYERS > MAX_UNUM)
        return MAX_UNUM;
    return strategy->ST_NUM_PLAYERS;
}

void WorldState::updateObjAbsPos(MobileObject& obj, bool /*log*/)
{
    if (obj.seen) {
        obj.position = relativeToAbsoluteCoordinates(obj.relPosition);
        obj.conf = me->conf;
    } else {
        decay(obj);
    }
}

void WorldState::updateMySeenBodyParts()
{
    for (MobileObject* part : me->bodyParts())
        updateObjAbsPos(*part, false);
}

void WorldState::checkBodyPartsPosition(MobileObject& part, Vector3f position)
{
    if (part.position.dist(position) > 1)
        part.position = position;
}

float WorldState::getMaxConfAmongstBodyParts(Player* p)
{
    if (p == nullptr)
        return 0;
    float best = 0;
    for (const MobileObject* part : p->bodyParts())
        if (part->conf > best)
            best = part->conf;
    return best;
}

void WorldState::updatePlayerData(Player* p, int /*team*/)
{
    for (MobileObject* part : p->bodyParts())
        updateObjAbsPos(*part, false);

    // Only the head or a foot places the player.
    const MobileObject* placer = nullptr;
    if (p->head.seen)
        placer = &p->head;
    else if (p->lFoot.seen)
        placer = &p->lFoot;
    else if (p->rFoot.seen)
        placer = &p->rFoot;
    if (placer != nullptr) {
        p->position = placer->position;
        p->conf = placer->conf;
    }

    for (MobileObject* part : p->bodyParts())
        checkBodyPartsPosition(*part, p->position);

    p->conf = getMaxConfAmongstBodyParts(p);
}

void WorldState::updateMaxMediaVelocityOppAlly()
{
    float sumOpp = 0;
    float sumAlly = 0;
    int nOpp = 0;
    int nAlly = 0;
    int last = numPlayersToScan();
    for (int i = 2; i <= last; ++i) {
        Player* opp = getOpponentPlayer(i);
        if (opp != nullptr) {
            float v = opp->getVelocity();
            if (v > 0.1f && v < 1) {
                sumOpp += v;
                ++nOpp;
            }
        }
        Player* ally = getOstrevandaPlayer(i);
        if (ally != nullptr && ally->conf > 0.3f) {
            float v = ally->getVelocity();
            if (v > 0.1f && v < 1) {
                sumAlly += v;
                ++nAlly;
            }
        }
    }
    float meanOpp = sumOpp / (1 + nOpp);
    float meanAlly = sumAlly / (1 + nAlly);
    if (meanOpp > maxVelocityOpp)
        maxVelocityOpp = meanOpp;
    if (meanAlly > maxVelocityAlly)
        maxVelocityAlly = meanAlly;
    if (ball->getVelocity() > maxVelocityBall)
        maxVelocityBall = ball->getVelocity();
}

void WorldState::update()
{
    // Time.
    game->simCycle += 1;
    gTime = game->gameTime;
    cTime = game->clockTime;
    cycle = game->simCycle;
    timeStep = cTime - preCTime;
    preCTime = cTime;

    // Self, then the body in the fresh frame.
    setMyPosition2();
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.update();
    myPos = me->position.to2d();

    bool localised = isVisionCycle();
    BodyPart* lFootPart = model.getBodyPart(Types::ilLFoot);
    BodyPart* rFootPart = model.getBodyPart(Types::ilRFoot);
    if (localised && lFootPart != nullptr && rFootPart != nullptr) {
        lFootPos = lFootPart->getPosition();
        rFootPos = rFootPart->getPosition();
        cFootPos = ((lFootPos + rFootPos) / 2).to2d();
    }

    // The ball from my torso through the body model; the field frame's axes
    // come from a recent localisation.
    BodyPart* torsoPart = model.getBodyPart(Types::ilTorso);
    if (ball->seen && torsoPart != nullptr && me->positionUpdateCycle > 0 &&
        cycle <= me->positionUpdateCycle + BALL_FROM_TORSO_CYCLES) {
        ballFromTorsoSeen = ballFromTorsoSighting(ball->relPosition, torsoPart->transform, TorsoX, TorsoY, TorsoZ);
        ballFromTorsoCycle = cycle;
    }

    // Ball.
    if (localised && ball->seen) {
        ball->updatePrevPosition(ball->position);
        ball->conf = me->conf;
        ballUnfilteredPos = relativeToAbsoluteCoordinates(ball->relPosition);
        ball->position = ballUnfilteredPos;
        // Half of my own displacement since the previous localisation is
        // added to the sighting while that displacement is below 2 m. At the
        // first localisation the newest previous position is only where I
        // started, not a place I was seen at: the sighting is taken as it is.
        if (me->prevPosition.size() >= 2) {
            Vector3f seenFromMe = visionTransform(ball->relPosition);
            Vector3f before = me->prevPosition.front();
            Vector3f smoothed = ((ball->position - before) + seenFromMe) / 2;
            if ((smoothed - seenFromMe).length() < 1)
                ball->position = me->position + smoothed;
        }
        ballPos = ball->position.to2d();
    } else {
        decay(*ball);
    }

    // The estimator sees the previous message's nearest distances.
    ballEstimator.update();
    ball->speed = ballEstimator.estimatedVelAway(0);
    if (ball->speed.length() > 0.27f)
        ball->finalPos = ballEstimator.estimatedFinalPosAway();
    else
        ball->finalPos = ball->position;

    // Distances and directions.
    ballDistance = (ballPos - myPos).length();
    me->distToBall = ballDistance;
    ballGlobalDir = directionOf(ballPos - myPos);
    myGlobalDir = GetNormalizeAngleDeg(me->orientation);
    theirGoalGlobalDir = directionOf(theirGoalPos - myPos);
    myGoalGlobalDir = directionOf(myGoalPos - myPos);
    ballRelDir = GetNormalizeAngleDeg(ballGlobalDir - me->orientation);
    theirGoalRelDir = GetNormalizeAngleDeg(theirGoalGlobalDir - me->orientation);
    myGoalRelDir = GetNormalizeAngleDeg(myGoalGlobalDir - me->orientation);
    theirGoalDist = Geometry::segmentPointDist(goals[front_left]->position.to2d(),
                                               goals[front_right]->position.to2d(), myPos);

    // Goalie's shot timer.
    float timeToGoal = 0;
    if (unum == 1 && isOpponentShot(&timeToGoal))
        shotDuration = shotDuration == 0 ? 0.18f : shotDuration + 0.02f;
    else
        shotDuration = 0;

    // Other players: placed, then measured from the ball and from me. I am
    // closer to the ball than a team (cCloserTeam, cCloserOpp) when none of
    // its players is nearer.
    auto track = [this](Player* p, int teamCode) {
        updatePlayerData(p, teamCode);
        Vector pos = p->position.to2d();
        p->distToBall = (pos - ballPos).length();
        p->globalDir = directionOf(pos - myPos);
        p->relDir = GetNormalizeAngleDeg(p->globalDir - me->orientation);
        return !(ballDistance > p->distToBall);
    };
    cCloserTeam = true;
    for (auto& entry : ostrevanda) {
        if (entry.second == me)
            updateMySeenBodyParts();
        else if (!track(entry.second, OSTREVANDA_TEAM))
            cCloserTeam = false;
    }
    cCloserOpp = true;
    for (auto& entry : opponentTeam)
        if (!track(entry.second, OPPONENT_TEAM))
            cCloserOpp = false;

    // The two of each team nearest to the ball; everyone's distToBall is
    // fresh from above.
    closeTeam = closeOpp = 2;
    closeTeamDist = closeOppDist = 20;
    closeTeam2 = closeOpp2 = 3;
    closeTeamDist2 = closeOppDist2 = 30;
    int last = numPlayersToScan();
    for (int i = 1; i <= last; ++i) {
        if (Player* mate = getOstrevandaPlayer(i))
            offerToTwoBest(i, mate->distToBall, closeTeam, closeTeamDist, closeTeam2,
                           closeTeamDist2);
        if (Player* opp = getOpponentPlayer(i))
            offerToTwoBest(i, opp->distToBall, closeOpp, closeOppDist, closeOpp2, closeOppDist2);
    }

    if (localised) {
        updateFastestCarrier();
        updateFastestBlocker();
    }

    activeElectionWinner();

    // The two team-mates that reach a ball carried at 0.5 m/s soonest.
    fastestTeam = 2;
    fastestTeamTime = 20;
    fastestTeam2 = 3;
    fastestTeamTime2 = 30;
    Vector carry;
    if (ballPos.x > 0)
        carry = ballPos - getFrontCenterGoal().to2d();
    else
        carry = getBackCenterGoal().to2d() - ballPos;
    carry = carry.normalize() * 0.5f;
    for (int i = 1; i <= last; ++i) {
        Player* mate = getOstrevandaPlayer(i);
        if (mate == nullptr)
            continue;
        offerToTwoBest(i, timeToIntersect(mate->position.to2d(), ballPos, carry), fastestTeam,
                       fastestTeamTime, fastestTeam2, fastestTeamTime2);
    }

    // Pressure: how much nearer the opponents are to the ball than we are.
    float T = closeTeamDist;
    float O = closeOppDist;
    float e;
    if (O - 2.5f > T)
        e = 0;
    else if (O - 1.3f > T)
        e = 1;
    else if (O - 0.8f > T)
        e = 2;
    else if (O - 0.4f > T)
        e = 3;
    else if (O - 0.1f > T)
        e = 4;
    else if (O + 0.3f > T)
        e = 6;
    else
        e = 10;
    pressure = 0.1f * e + 0.9f * pressure;
    if (pressure > 5)
        pressure = 5;

    // Cues.
    cCloser = cCloserTeam && cCloserOpp;
    float frontLeftDir = directionOf(goals[front_left]->position.to2d() - myPos);
    float frontRightDir = directionOf(goals[front_right]->position.to2d() - myPos);
    cFacingTheirGoal = frontLeftDir < myGlobalDir && myGlobalDir < frontRightDir;
    float backLeftDir = directionOf(goals[back_left]->position.to2d() - myPos);
    float backRightDir = directionOf(goals[back_right]->position.to2d() - myPos);
    cFacingMyGoal = myGlobalDir <= backLeftDir || myGlobalDir >= backRightDir;

    Vector lFootPlanar = lFootPart != nullptr ? lFootPart->getPosition().to2d() : myPos;
    ballGlobalDirLFoot = directionOf(ballPos - lFootPlanar);
    ballRelDirLFoot = GetNormalizeAngleDeg(ballGlobalDirLFoot - me->orientation);

    float lateral = ballDistance * std::sin(Deg2Rad(ballRelDir));
    cFacingBall = std::fabs(lateral) < 0.12f;
    cFacingBallLFoot = std::fabs(ballRelDirLFoot) < 10;
    cBallOnMyLeft = -95 < ballRelDir && ballRelDir < -85;
    cBallOnMyRight = 85 < ballRelDir && ballRelDir < 95;
    cBallOnMySide = cBallOnMyLeft || cBallOnMyRight;

    ballGlobalDirCFoot = directionOf(ballPos - cFootPos);
    ballRelDirCFoot = GetNormalizeAngleDeg(ballGlobalDirCFoot - me->orientation);

    updateMaxMediaVelocityOppAlly();
}
