// The agent's own pose from the localizers, the conversions between the
// camera frame and the field frame, and the older landmark routines.

#include <cmath>
#include <iostream>

#include "physics/AgentModel.h"
#include "utils/Logger.h"
#include "utils/Singleton.h"
#include "world/LocalizerGeometry.h"
#include "world/WorldState.h"

using namespace locgeom;

namespace {

// Current head pan and tilt from the body model; 0 before it is loaded.
void headAngles(float& pan, float& tilt)
{
    const AgentModel& body = Singleton<AgentModel>::getInstance();
    const Joint* panJoint = body.getJoint(Types::ijHj1);
    const Joint* tiltJoint = body.getJoint(Types::ijHj2);
    pan = panJoint != nullptr ? static_cast<float>(panJoint->getAngle()) : 0;
    tilt = tiltJoint != nullptr ? static_cast<float>(tiltJoint->getAngle()) : 0;
}

Matrix4D fromRows(const Vector3f& r0, const Vector3f& r1, const Vector3f& r2)
{
    Matrix4D m;
    const Vector3f* rows[3] = {&r0, &r1, &r2};
    for (unsigned i = 0; i < 3; ++i) {
        m.set(i, 0, rows[i]->x);
        m.set(i, 1, rows[i]->y);
        m.set(i, 2, rows[i]->z);
    }
    return m;
}

// Takes a camera-to-field map and a camera position as my new pose.
// withTorsoY and turnInclinations are false only for the test routine.
void adoptPose(WorldState& ws, const Matrix4D& headToField, const Vector3f& newPos,
               bool withTorsoY, bool turnInclinations)
{
    Player* me = ws.me;
    ws.headToFieldTransf = headToField;
    ws.fieldToHeadTransf = headToField.transpose();
    // The camera's forward axis on the field.
    me->headAbsXYDir = Vector(ws.fieldToHeadTransf.get(0, 0), ws.fieldToHeadTransf.get(0, 1))
                           .getDirection();

    // Torso to field: undo the head joints.
    float pan = 0, tilt = 0;
    headAngles(pan, tilt);
    Matrix4D torsoToField = headToField * Matrix4D::rotationY(tilt) * Matrix4D::rotationZ(-pan);
    ws.TorsoX = torsoToField * Vector3f(1, 0, 0);
    me->orientation = Vector(ws.TorsoX.x, ws.TorsoX.y).getDirection();
    if (withTorsoY)
        ws.TorsoY = torsoToField * Vector3f(0, 1, 0);
    ws.TorsoZ = torsoToField * Vector3f(0, 0, 1);

    Vector3f up = ws.TorsoZ;
    if (turnInclinations)
        up = Matrix4D::rotationZ(-me->orientation) * ws.TorsoZ;
    me->vertInclinFront = Vector(up.z, up.x).getDirection();
    me->vertInclinSide = Vector(up.z, up.y).getDirection();

    // Without an earlier localisation there is no step to measure.
    if (me->prevPosition.empty())
        me->speed = Vector3f(0, 0, 0);
    else
        me->speed = (me->position - me->prevPosition.front()) / 0.02f;
    me->updatePrevPosition(me->position);
    me->position = newPos;
    me->positionUpdateCycle = ws.game->simCycle;
    me->conf = 1;
}

void drawSelf(const WorldState& ws)
{
    Logger& log = Singleton<Logger>::getInstance();
    const Player* me = ws.me;
    float x = me->position.x, y = me->position.y;
    log.LogDrawCircle(40, x, y, 0.4f, "Blue");
    log.LogDrawLine(40, x, y, x + 0.4f * Cos(me->orientation), y + 0.4f * Sin(me->orientation),
                    "Blue");
    log.LogDrawLine(40, x, y, x + 0.4f * Cos(me->headAbsXYDir),
                    y + 0.4f * Sin(me->headAbsXYDir), "Yellow");
    log.LogDrawTextN(40, x, y, "%d", "White", me->unum);
}

// The first two seen landmarks in index order; refuseG2R skips "G2R" as the
// second after "G1R".
bool firstTwoSeen(const WorldState& ws, bool refuseG2R, LandMark*& a, LandMark*& b)
{
    a = b = nullptr;
    for (LandMark* lm : ws.landmarks) {
        if (lm == nullptr || !lm->seen)
            continue;
        if (a == nullptr) {
            a = lm;
        } else if (!(refuseG2R && a->name == "G1R" && lm->name == "G2R")) {
            b = lm;
            return true;
        }
    }
    return false;
}

// Field axes from two seen landmarks and the ball; ref gets the one
// farther from the long axis.
void twoLandmarksAndBall(const WorldState& ws, LandMark* a, LandMark* b, bool simplified,
                         Vector3f& xx, Vector3f& yy, Vector3f& zz, Vector3f* fieldRows)
{
    bool bFarther = std::fabs(b->position.y) > std::fabs(a->position.y);
    LandMark* ref = bFarther ? b : a;
    LandMark* other = bFarther ? a : b;
    axesFromTwoLandmarks(ref, other, a->position.x > 0, ws.ball->relPosition, BALL_HEIGHT,
                         simplified, xx, yy, zz, fieldRows);
}

// Camera position from the references, or else from the first seen
// landmark of the fixed order paired with its mirror partner.
bool cameraPosition(const WorldState& ws, const LandMark* ref1, const LandMark* ref2,
                    Vector3f& pos)
{
    if (ref1 != nullptr && ref2 != nullptr) {
        pos = ((mirrored(ref1) - ws.visionTransform(cart(ref1))) +
               (mirrored(ref2) - ws.visionTransform(cart(ref2)))) /
              2;
        return true;
    }
    const std::map<int, LandMark*>* kinds[2] = {&ws.flags, &ws.goals};
    const int ends[2][2] = {{ws.front_left, ws.front_right}, {ws.back_left, ws.back_right}};
    for (int end = 0; end < 2; ++end) {
        for (const std::map<int, LandMark*>* kind : kinds) {
            for (int k = 0; k < 2; ++k) {
                const LandMark* lm = kind->at(ends[end][k]);
                if (!lm->seen)
                    continue;
                const LandMark* partner = kind->at(ends[end][1 - k]);
                pos = partner->position - ws.visionTransform(cart(lm));
                return true;
            }
        }
    }
    return false;
}

// The older self-localisation: tries its methods in order and, on success,
// takes the pose as setMyPosition2 does.
//   a: side line and ball      b: end line and ball      c: side and end lines
//   d: end line and one more landmark of that end        e: two landmarks and ball
void olderLocalisation(WorldState& ws, const char* order, bool test)
{
    if (ws.flags[0]->position.x == 0)
        return;

    LandmarkLine xLine = findLine(ws.landmarks, X_LINE);
    LandmarkLine yLine = findLine(ws.landmarks, Y_LINE);
    if (xLine.found())
        ws.xx = xLine.axis(X_LINE);
    if (yLine.found())
        ws.yy = yLine.axis(Y_LINE);
    LandMark* a = nullptr;
    LandMark* b = nullptr;
    bool twoSeen = firstTwoSeen(ws, !test, a, b);
    bool ball = ws.ball->seen;

    Vector3f xx = ws.xx, yy = ws.yy, zz = ws.zz;
    const LandMark* ref1 = nullptr;
    const LandMark* ref2 = nullptr;
    bool found = false;
    for (const char* m = order; *m != 0 && !found; ++m) {
        switch (*m) {
        case 'a':
            if (xLine.found() && ball) {
                axesFromLineAndPoint(xLine, X_LINE, ws.ball->relPosition, BALL_HEIGHT, xx, yy, zz);
                ref1 = xLine.first;
                ref2 = xLine.second;
                found = true;
            }
            break;
        case 'b':
            if (yLine.found() && ball) {
                axesFromLineAndPoint(yLine, Y_LINE, ws.ball->relPosition, BALL_HEIGHT, xx, yy, zz);
                ref1 = yLine.first;
                ref2 = yLine.second;
                found = true;
            }
            break;
        case 'c':
            if (xLine.found() && yLine.found()) {
                zz = yy.crossProduct(xx);
                ref1 = yLine.first;
                ref2 = yLine.second;
                found = true;
            }
            break;
        case 'd': {
            if (!yLine.found() || yLine.third == nullptr)
                break;
            const LandMark* ref = yLine.reference(Y_LINE);
            const LandMark* other = yLine.third;
            if (other->position.x != ref->position.x)
                break;
            Vector3f v = cart(other) - cart(ref);
            xx = (ref->position.z <= other->position.z ? v.crossProduct(yy) : yy.crossProduct(v))
                     .normalize();
            zz = yy.crossProduct(xx);
            ref1 = yLine.first;
            ref2 = yLine.second;
            found = true;
            break;
        }
        case 'e':
            if (twoSeen && ball) {
                twoLandmarksAndBall(ws, a, b, test, xx, yy, zz, nullptr);
                ref1 = a;
                ref2 = b;
                found = true;
            }
            break;
        default:
            break;
        }
    }

    // A degenerate reading gives no axes; then the transforms stay as they
    // are, like the pose.
    bool ok = found && isFinite(xx) && isFinite(yy) && isFinite(zz);
    Vector3f pos;
    if (ok) {
        ws.xx = xx;
        ws.yy = yy;
        ws.zz = zz;
        ws.headToFieldTransf = fromRows(xx, yy, zz);
        ws.fieldToHeadTransf = ws.headToFieldTransf.transpose();
        ok = cameraPosition(ws, ref1, ref2, pos) && isFinite(pos);
    }
    if (ok)
        adoptPose(ws, ws.headToFieldTransf, pos, !test, !test);
    else
        ws.me->conf *= 0.95f;
    drawSelf(ws);
}

} // namespace

void WorldState::setMyPosition2()
{
    // Landmarks are placed once the side is known.
    if (flags[0]->position.x == 0)
        return;

    float bestConf = -1e10f;
    int best = -1;
    for (size_t i = 0; i < localizers.size(); ++i) {
        Localizer* loc = localizers[i];
        loc->run();
        if (!loc->isValid())
            continue;
        float c = loc->confidence();
        if (c > bestConf) {
            bestConf = c;
            best = static_cast<int>(i);
        }
    }

    if (best < 0)
        me->conf *= 0.95f;
    else
        adoptPose(*this, localizers[best]->headToFieldTransf(), localizers[best]->estimatedPos(),
                  true, true);
    drawSelf(*this);
}

Vector3f WorldState::visionTransform(Vector3f relPosition) const
{
    return headToFieldTransf * relPosition;
}

Vector3f WorldState::relativeToAbsoluteCoordinates(Vector3f relativeCoordinates) const
{
    return visionTransform(relativeCoordinates) + me->position;
}

Vector3f WorldState::absoluteToRelativeCoordinates(Vector3f absoluteCoordinates) const
{
    return fieldToHeadTransf * (absoluteCoordinates - me->position);
}

Vector3f WorldState::absoluteTorelativeCoordinatesPanTilt(float panAngle, float tiltAngle,
                                                          Vector3f absoluteCoordinates) const
{
    return panTiltTransform(panAngle, tiltAngle) * (absoluteCoordinates - me->position);
}

Matrix4D WorldState::panTiltTransform(float panAngle, float tiltAngle) const
{
    float curPan = 0, curTilt = 0;
    headAngles(curPan, curTilt);
    return Matrix4D::rotationY(tiltAngle) * Matrix4D::rotationZ(curPan - panAngle) *
           Matrix4D::rotationY(-curTilt) * fieldToHeadTransf;
}

float WorldState::getGlobalDir(Vector v) const
{
    return GetNormalizeAngleDeg((v - myPos).getDirection());
}

float WorldState::getRelDir(Vector v) const
{
    return GetNormalizeAngleDeg(getGlobalDir(v) - me->orientation);
}

float WorldState::getRelDirToCFoot(Vector v) const
{
    return GetNormalizeAngleDeg(getGlobalDir(v) - ballGlobalDirCFoot);
}

Vector WorldState::getRelativeToMe(Vector pos) const
{
    return pos - Vector(me->position.x, me->position.y);
}

Vector WorldState::getRelativeToFoot(Vector pos) const { return pos - cFootPos; }

Vector WorldState::ballFromTorso() const
{
    if (ballFromTorsoCycle > 0 && cycle <= ballFromTorsoCycle + BALL_FROM_TORSO_CYCLES)
        return ballFromTorsoSeen;
    return ball->position.to2d().globalToRelative(me->position.to2d(), me->orientation);
}

Vector WorldState::getApproachPosition(Vector pointAbs, double dynamic_approach_distance,
                                       double offsetDistance)
{
    double d = dynamic_approach_distance;
    if (d > ballDistance)
        d = ballDistance;
    Vector dir = ballPos - pointAbs;
    float len = dir.length();
    Vector beyond = dir;
    beyond.setLength(static_cast<float>(len + d));
    Vector p = pointAbs + beyond;
    Vector side = dir;
    side.rotate(90);
    side.normalize();
    return p + side * static_cast<float>(offsetDistance);
}

void WorldState::setMyPosFromMessage(float x, float y, float z)
{
    myPosFromMessage = Vector3f(x, y, z);
    Logger& log = Singleton<Logger>::getInstance();
    log.LogDrawCircle(40, x, -y, 0.4f, "Green");
    log.LogDrawTextN(40, x, -y, "%d", "Green", me->unum);
}

void WorldState::setMyPosition() { olderLocalisation(*this, "aecbd", false); }

void WorldState::setMyPositionTest() { olderLocalisation(*this, "cbade", true); }

void WorldState::localizeUsing2FlagsBall()
{
    LandMark* a = nullptr;
    LandMark* b = nullptr;
    if (!firstTwoSeen(*this, true, a, b) || !ball->seen)
        return;
    Vector3f lx, ly, lz;
    Vector3f f[3];
    twoLandmarksAndBall(*this, a, b, false, lx, ly, lz, f);
    std::cerr << "loc abs ref at corner xx " << f[0] << " yy " << f[1] << " zz " << f[2]
              << std::endl;
    std::cerr << "xyz at abs ref at corner xx " << Vector3f(f[0].x, f[1].x, f[2].x) << " yy "
              << Vector3f(f[0].y, f[1].y, f[2].y) << " zz " << Vector3f(f[0].z, f[1].z, f[2].z)
              << std::endl;
}

void WorldState::localizeUsingXXBall()
{
    LandmarkLine line = findLine(landmarks, X_LINE);
    if (!line.found() || !ball->seen)
        return;
    Vector3f lx, ly, lz;
    axesFromLineAndPoint(line, X_LINE, ball->relPosition, BALL_HEIGHT, lx, ly, lz);
}
