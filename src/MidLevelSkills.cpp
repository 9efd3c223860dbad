#include "MidLevelSkills.h"

#include <cmath>
#include <cstdio>

#include "utils/Logger.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

WorldState& world() { return Singleton<WorldState>::getInstance(); }

// The unit vector of v, or (0, 0) for a zero vector.
Vector unit(Vector v)
{
    if (v.length() == 0)
        return Vector(0, 0);
    return v.normalize();
}

// Angle in degrees between the directions of a and b, in [-180, 180).
float angleBetween(Vector a, Vector b)
{
    return GetNormalizeAngleDeg(a.getDirection() - b.getDirection());
}

} // namespace

// One walking mode of the single-mode controllers.
struct MidLevelSkills::Mode {
    goToPointType type;
    float offset;     // walking direction relative to the body, degrees
    float upper;      // the near zone lies below this distance
    float release;    // the finished mark is forgotten beyond this distance
    float turnSpeed;  // degrees per second, for the prediction
    float walkSpeed;  // metres per second, for the prediction
    float freeTurn;   // turn done while walking, degrees, for the prediction
    const char* predName;
    const char* timeName;
};

const MidLevelSkills::Mode MidLevelSkills::modes[4] = {
    {sideRight, 90, 0.3f, 0.3f, 49, 0.37f, 20, "predWalkSideRight", "timeSideRight"},
    {sideLeft, -90, 0.3f, 0.3f, 49, 0.37f, 30, "predWalkSideLeft", "timeSideLeft"},
    {backWalk, 180, 0.5f, 0.4f, 49, 0.55f, 50, "predWalkBack", "timeBack"},
    {forwardWalk, 0, 0.6f, 0.4f, 48, 0.65f, 90, "predWalkForward", "timeForward"},
};

MidLevelSkills::Flags MidLevelSkills::flags[4];
MidLevelSkills::Flags MidLevelSkills::pointFlags;
MidLevelSkills::Flags MidLevelSkills::ballFlags;
bool MidLevelSkills::pointBackWalk = false;
bool MidLevelSkills::pointInFront = false;
bool MidLevelSkills::pointInBack = false;
bool MidLevelSkills::behindAvoiding = false;

MidLevelSkills::MidLevelSkills() : minPredTime(10000000), goToPointState(sideRight)
{
    for (double& t : predictTime)
        t = 0;
}

void MidLevelSkills::resetState()
{
    for (Flags& f : flags)
        f = Flags();
    pointFlags = Flags();
    ballFlags = Flags();
    pointBackWalk = pointInFront = pointInBack = false;
    behindAvoiding = false;
}

double MidLevelSkills::predictMode(const Mode& m, Vector dest, float turn, float dir,
                                   float dirThr, float direction, bool fitting) const
{
    WorldState& ws = world();
    float dist = ws.myPos.getDistanceTo(dest);
    float seen = (dest - ws.myPos).getDirection();
    double finalTurn = std::fabs(GetNormalizeAngleDeg(direction - (seen - m.offset))) / m.turnSpeed;
    double walk = dist / m.walkSpeed;
    if (fitting) {
        finalTurn = std::fabs(dir) < dirThr ? 0 : (std::fabs(dir) - dirThr) / m.turnSpeed;
        walk = 0;
    }
    double firstTurn = 0;
    if (std::fabs(turn) > m.freeTurn && !fitting)
        firstTurn = (std::fabs(turn) - m.freeTurn) / m.turnSpeed;
    return firstTurn + walk + finalTurn;
}

bool MidLevelSkills::runMode(const Mode& m, float& angle, float& speed, float dirThr,
                             float direction, Vector dest, float desireSpeed)
{
    WorldState& ws = world();
    Flags& f = flags[m.type];
    float dist = ws.myPos.getDistanceTo(dest);
    float turn = GetNormalizeAngleDeg(ws.getRelDir(dest) - m.offset);
    float dir = GetNormalizeAngleDeg(direction - ws.me->orientation);
    if (m.type != forwardWalk) {
        fprintf(stderr, "My dist %4.2f , :My Dir: %4.2f , input Direction: %4.2f\n", dist,
                ws.me->orientation, direction);
        fprintf(stderr, "turn To target is: %4.2f ,Turn To Direction: %4.2f , direction trh: %4.2f\n",
                turn, dir, dirThr);
    }
    if (m.type != backWalk) {
        Logger& log = Singleton<Logger>::getInstance();
        log.LogDrawLine(1, ws.myPos.x, ws.myPos.y, dest.x, dest.y, "blue");
        log.LogDrawCircle(1, dest.x, dest.y, m.upper, "red");
        log.LogDrawText(1, dest.x, dest.y, m.predName, "white");
    }

    bool usesDesire = m.type != backWalk;
    float c = turn;
    float spd = 0;
    bool done = false;
    if (dist < m.upper || f.wasFitting) {
        if (f.wasFitting && std::fabs(dir) < dirThr) {
            f.wasFitting = false;
            f.wasFinished = true;
            spd = desireSpeed;
            c = 0;
            done = true;
        } else {
            if (dist > 0.1f && !f.wasFitting) {
                switch (m.type) {
                case forwardWalk: spd = dist / 1.5f + 0.05f; break;
                case sideRight: spd = 0.3f; break;
                case sideLeft: spd = -0.3f; break;
                case backWalk: spd = -0.3f; break;
                }
                if (usesDesire && std::fabs(dir) < dirThr && desireSpeed > 0)
                    spd = desireSpeed;
            }
            if (dist > m.release)
                f.wasFinished = false;
            if (f.wasFinished && dist <= 0.3f) {
                spd = desireSpeed;
                c = 0;
            }
            if (dist <= 0.1f && !f.wasFinished)
                f.wasFitting = true;
            if (f.wasFitting) {
                spd = 0;
                c = dir;
            }
        }
    } else {
        f.wasFinished = false;
        f.wasFitting = false;
        bool turnInPlace = false;
        float alignAngle = 20;
        switch (m.type) {
        case forwardWalk:
            turnInPlace = calculateReduseOfCurve(dest) < 1.8f || std::fabs(turn) > 90;
            spd = 1;
            alignAngle = dist < 5 ? 4 * dist : 20;
            break;
        case sideRight:
            turnInPlace = std::fabs(turn) > 30;
            spd = 1;
            alignAngle = 15;
            break;
        case sideLeft:
            turnInPlace = std::fabs(turn) > 20;
            spd = -1;
            alignAngle = 10;
            break;
        case backWalk:
            turnInPlace = std::fabs(turn) >= 50;
            spd = std::fabs(turn) <= 25 ? -1 : -0.5f;
            alignAngle = dist < 2 ? 7 * dist : 20;
            break;
        }
        if (turnInPlace) {
            spd = 0;
        } else {
            if (std::fabs(turn) < 3)
                f.isAligned = true;
            else if (std::fabs(turn) > alignAngle)
                f.isAligned = false;
            if (f.isAligned)
                c = 0;
        }
    }

    double pred = predictMode(m, dest, turn, dir, dirThr, direction, f.wasFitting);
    predictTime[m.type] = pred;
    LoggerMatlab::getInstance().log(m.predName, static_cast<float>(pred));
    LoggerMatlab::getInstance().log(m.timeName, ws.cTime);

    speed = spd;
    // Every mode, the left walk too, turns the same way stepping or standing.
    angle = -c;
    return done;
}

bool MidLevelSkills::goToPointForwardWalk(float& angle, float& speed, float dirThr,
                                          float direction, Vector dest, float desireSpeed)
{
    return runMode(modes[forwardWalk], angle, speed, dirThr, direction, dest, desireSpeed);
}

bool MidLevelSkills::goToPointSideWalkRight(float& angle, float& speedY, float dirThr,
                                            float direction, Vector dest, float desireSpeed)
{
    return runMode(modes[sideRight], angle, speedY, dirThr, direction, dest, desireSpeed);
}

bool MidLevelSkills::goToPointSideWalkLeft(float& angle, float& speedY, float dirThr,
                                           float direction, Vector dest, float desireSpeed)
{
    return runMode(modes[sideLeft], angle, speedY, dirThr, direction, dest, desireSpeed);
}

bool MidLevelSkills::goToPointBackWalk(float& angle, float& speed, float dirThr,
                                       float direction, Vector dest, float desireSpeed)
{
    return runMode(modes[backWalk], angle, speed, dirThr, direction, dest, desireSpeed);
}

float MidLevelSkills::predoctTimeGoToPointForwardWalk(float dirThr, float direction,
                                                      Vector dest)
{
    WorldState& ws = world();
    float turn = GetNormalizeAngleDeg(ws.getRelDir(dest));
    float dir = GetNormalizeAngleDeg(direction - ws.me->orientation);
    return static_cast<float>(
        predictMode(modes[forwardWalk], dest, turn, dir, dirThr, direction, false));
}

bool MidLevelSkills::goToPointOmniDirectional(float& angle, float& speedX, float& speedY,
                                              float dirThr, float direction, Vector dest,
                                              float desireSpeed)
{
    // The look-ahead runs only refresh the predictions: the modes' states are
    // kept, so that the mode in use sees its own arrival.
    Flags kept[4];
    for (int i = 0; i < 4; ++i)
        kept[i] = flags[i];
    float scratchAngle = 0, scratchSpeed = 0;
    goToPointBackWalk(scratchAngle, scratchSpeed, dirThr, direction, dest, desireSpeed);
    goToPointForwardWalk(scratchAngle, scratchSpeed, dirThr, direction, dest, desireSpeed);
    goToPointSideWalkLeft(scratchAngle, scratchSpeed, dirThr, direction, dest, desireSpeed);
    goToPointSideWalkRight(scratchAngle, scratchSpeed, dirThr, direction, dest, desireSpeed);
    for (int i = 0; i < 4; ++i)
        flags[i] = kept[i];

    int best = sideRight;
    for (int i = 1; i < 4; ++i)
        if (predictTime[i] < predictTime[best])
            best = i;
    if (best != goToPointState) {
        bool side = best == sideRight || best == sideLeft;
        if (minPredTime > predictTime[best] + (side ? 1 : 0.3))
            goToPointState = static_cast<goToPointType>(best);
    }

    bool done = false;
    if (goToPointState == sideRight || goToPointState == sideLeft) {
        speedX = 0;
        done = runMode(modes[goToPointState], angle, speedY, dirThr, direction, dest, desireSpeed);
    } else {
        speedY = 0;
        done = runMode(modes[goToPointState], angle, speedX, dirThr, direction, dest, desireSpeed);
    }
    minPredTime = predictTime[goToPointState];
    return done;
}

bool MidLevelSkills::goToPoint(float& angle, float& speed, float dirThr, float direction,
                               Vector dest, float desireSpeed, bool enableBackWalk)
{
    WorldState& ws = world();
    Flags& f = pointFlags;
    float dist = ws.myPos.getDistanceTo(dest);
    float turn = GetNormalizeAngleDeg(ws.getRelDir(dest));
    float dir = GetNormalizeAngleDeg(direction - ws.me->orientation);

    if (enableBackWalk) {
        if (std::fabs(turn) > 110 && !pointInBack && !f.wasFitting) {
            pointBackWalk = true;
            pointInBack = true;
            fprintf(stderr, "walk BackWard\n");
        } else if (std::fabs(turn) <= 110 && !pointInFront && !f.wasFitting) {
            pointBackWalk = false;
            pointInFront = true;
            fprintf(stderr, "walk Forward\n");
        }
        if (std::fabs(turn) <= 90)
            pointInFront = false;
        if (std::fabs(turn) > 130)
            pointInBack = false;
    } else {
        pointBackWalk = false;
    }
    bool back = pointBackWalk;
    float walkTurn = turn;
    if (back)
        walkTurn = turn > 110 ? turn - 180 : (turn < -110 ? turn + 180 : 0);

    float c = walkTurn;
    float spd = 0;
    bool done = false;
    if (dist < 0.6f || f.wasFitting) {
        fprintf(stderr, "goToPoint it is NEAR\n");
        if (f.wasFitting && std::fabs(dir) < dirThr) {
            fprintf(stderr, "goToPoint FINISHED, the heading is reached\n");
            f.wasFitting = false;
            f.wasFinished = true;
            spd = desireSpeed;
            c = 0;
            done = true;
        } else {
            if (dist > 0.1f && !f.wasFitting) {
                spd = back ? -0.5f : dist / 1.5f + 0.05f;
                if (!back && std::fabs(dir) < dirThr && desireSpeed > 0)
                    spd = desireSpeed;
            }
            if (dist > 0.4f)
                f.wasFinished = false;
            if (f.wasFinished && dist <= 0.3f) {
                fprintf(stderr, "goToPoint CAN BE FINISHED , Assigned the desired last Speed\n");
                spd = desireSpeed;
                c = 0;
            }
            if (dist <= 0.1f && !f.wasFinished) {
                if (!f.wasFitting)
                    fprintf(stderr, "goToPoint FITTING it is in the Point , wasFitting go to TRUE\n");
                f.wasFitting = true;
            }
            if (f.wasFitting) {
                spd = back ? -0.1f : 0.05f;
                c = dir;
            }
        }
    } else {
        if (f.wasFitting)
            fprintf(stderr, "goToPoint it is begger that treshhold so FAR was fitting go False\n");
        f.wasFitting = false;
        if (back)
            spd = -1;
        else
            spd = calculateReduseOfCurve(dest) < 1.8f ? 0.2f : 1;
    }
    speed = spd;
    angle = -c;
    return done;
}

bool MidLevelSkills::goToBall(float& angle, float& speed, float dirThr, float direction,
                              Vector dest)
{
    fprintf(stderr, "gotoBall INIT\n");
    WorldState& ws = world();
    Flags& f = ballFlags;
    float dist = ws.myPos.getDistanceTo(dest);
    float dir = GetNormalizeAngleDeg(direction - ws.me->orientation);
    float turn = GetNormalizeAngleDeg(ws.getRelDir(dest));
    if (dist > 1)
        f.wasFitting = false;
    bool done = false;
    if (dist < 0.5f || f.wasFitting) {
        speed = 0.8f;
        if (dist <= 0.1f)
            f.wasFitting = true;
        if (f.wasFitting) {
            speed = std::fabs(dir) > dirThr ? 0.1f : 0;
            turn = dir;
            done = std::fabs(dir) < dirThr;
        }
    } else {
        speed = 1;
    }
    angle = -turn;
    return done;
}

bool MidLevelSkills::goToBehind(float& angle, float& speed, Vector generaltarget,
                                Vector /*behindPoint*/, float distance,
                                float /*pointthreshold*/, float anglethreshold,
                                bool /*obstacleavoidance*/)
{
    WorldState& ws = world();
    Vector ball = ws.ballPos;
    Vector approach = calcApproachBallPoint(generaltarget, distance);
    float teta = angleBetween(approach - ball, ws.myPos - ball);
    bool inWay = isPointInMyWay(ball, approach, 0.2f);
    if (inWay && std::fabs(teta) > 125)
        behindAvoiding = true;
    if (!inWay)
        behindAvoiding = false;
    if (behindAvoiding)
        return false;
    float toBall = (ball - ws.myPos).getDirection();
    return goToPoint(angle, speed, anglethreshold, toBall, approach, 1, true);
}

Vector MidLevelSkills::calcApproachBallPoint(Vector target, float redius)
{
    Vector ball = world().ballPos;
    return ball + unit(ball - target) * redius;
}

Vector MidLevelSkills::clacAvoidTarget(Vector avoidPoint, Vector destination,
                                       float avoidRedius)
{
    Vector side = unit(destination - avoidPoint) * avoidRedius;
    Vector a = avoidPoint + Vector(side).rotate(90);
    Vector b = avoidPoint + Vector(side).rotate(-90);
    Vector me = world().myPos;
    return me.getDistanceTo(a) <= me.getDistanceTo(b) ? a : b;
}

bool MidLevelSkills::isPointInMyWay(Vector avoidPoint, Vector targetPoint, float redius)
{
    Vector me = world().myPos;
    Vector way = targetPoint - me;
    float len2 = way.innerProduct(way);
    if (len2 == 0)
        return false;
    float along = (avoidPoint - me).innerProduct(way) / len2;
    Vector nearest = me + way * along;
    float distance = nearest.getDistanceTo(avoidPoint);
    float teta = std::fabs(angleBetween(targetPoint - avoidPoint, me - avoidPoint));
    fprintf(stderr, "isPointInWay Teta: %f\n", teta);
    fprintf(stderr, "isPointInWay distance: %f\n", distance);
    bool inWay = distance < redius && along >= 0 && along <= 1 && teta > 97;
    if (inWay)
        fprintf(stderr, "isPointInWay YOU HAVE TO AVOID THE BALL\n");
    return inWay;
}

float MidLevelSkills::calculateReduseOfCurve(Vector target)
{
    WorldState& ws = world();
    float teta = ws.getRelDir(target);
    if (std::fabs(teta) <= 15)
        return 1000;
    float s = std::fabs(std::sin(Deg2Rad(teta)));
    float r = ws.myPos.getDistanceTo(target) / (2 * s);
    return r < 1000 ? r : 1000;
}
