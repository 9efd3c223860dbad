#include "skills/OmniDirectionalKick.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "geometry/HomogMatrix.h"
#include "geometry/RotationMatrix.h"
#include "logger/LoggerZek.h"
#include "physics/AgentModel.h"
#include "physics/LegPose.h"
#include "skills/OmniWalkZMP.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

const char* const kParamsFile = "./movs/parametrosOmnikick.txt";
// A robot type's own record, read in place of the shared one when it has one.
std::string typeParamsFile(int type) {
    return "./movs/parametrosOmnikickT" + std::to_string(type) + ".txt";
}
const double kArmSpeed = 6.1395447;
const float kDefaultPid = 0.45633233f;
const float kPi = 3.1415927f;
// Half the distance between the feet when the walk's own files cannot tell.
const float kDefaultHalfWidth = 0.055f;
const int kLegs[12] = {Types::ijLlj1, Types::ijLlj2, Types::ijLlj3, Types::ijLlj4, Types::ijLlj5, Types::ijLlj6,
                       Types::ijRlj1, Types::ijRlj2, Types::ijRlj3, Types::ijRlj4, Types::ijRlj5, Types::ijRlj6};

}  // namespace

double& OmniDirectionalKick::Params::field(int i) {
    Phase& p = phase[i / 25];
    int k = i % 25;
    if (k == 0) {
        return p.time;
    }
    k -= 1;
    double* groups[4] = {p.LLJ, p.RLJ, p.LLV, p.RLV};
    return groups[k / 6][k % 6];
}

OmniDirectionalKick::OmniDirectionalKick()
    : Behavior("OmniDirectionalKick"),
      finishedMove(false),
      footChosen(-1),
      suppFoot(1),
      initTime(0),
      footYaw(0),
      params_ptr(nullptr),
      waitTime(0), prepTime(0), kickTime(0), returnTime(0), totalTime(0), prepInitTime(0), kickInitTime(0),
      returnInitTime(0),
      meOrient(0),
      world(&Singleton<WorldState>::getInstance()),
      model(&Singleton<AgentModel>::getInstance()),
      log(&LoggerMatlab::getInstance()),
      actions(&Singleton<Actions>::getInstance()),
      phase(1),
      settleTime(0),
      stanceHalfWidth(kDefaultHalfWidth) {
    for (int j = 0; j < Types::NJOINTS; j++) {
        pose[j] = poseBase[j] = poseShifted[j] = poseRaised[j] = poseEndKick[j] = 0;
        lastAngle[j] = lastError[j] = 0;
    }
    for (double& t : phaseTime) {
        t = 0;
    }
}

void OmniDirectionalKick::init() {
    initTime = world->cTime;
    finishedMove = false;
    parametros.clear();
    for (const std::string& file : {typeParamsFile(model->getRobotType()), std::string(kParamsFile)}) {
        settleTime = 0;
        readParamsFromFile(file);
        if (!parametros.empty()) {
            break;
        }
    }

    OptParams walk;
    std::string error;
    if (OmniWalkZMP::readParams(OmniWalkZMP::paramsPath(model->getRobotType()), walk, error) &&
        std::isfinite(walk.legSeparation) && walk.legSeparation > 0) {
        stanceHalfWidth = static_cast<float>(walk.legSeparation / 2);
    } else {
        stanceHalfWidth = kDefaultHalfWidth;
    }

    if (parametros.empty()) {
        std::cerr << kParamsFile << ": no kick record, the kick does nothing" << std::endl;
        params_ptr = nullptr;
        phase = PHASES + 1;
        finishedMove = true;
        return;
    }
    params_ptr = &parametros.front();
    phase = 1;
    phaseTime[0] = 0;
    for (int k = 0; k < PHASES; k++) {
        phaseTime[k + 1] = params_ptr->phase[k].time;
    }
}

void OmniDirectionalKick::execute() {
    if (!params_ptr) {
        finishedMove = true;
        return;
    }
    float t = world->cTime - initTime - settleTime;
    if (t < 0) {
        // Both feet down in the stance the kick ends in, until the walk's
        // sway has died out.
        sendPhase(PHASES);
        return;
    }
    if (phase <= PHASES && static_cast<double>(t) - phaseTime[phase - 1] >= phaseTime[phase]) {
        phase++;
    }
    if (phase > PHASES) {
        finishedMove = true;
        return;
    }
    sendPhase(phase);
}

void OmniDirectionalKick::sendPhase(int k) {
    double shoulder = k == PHASES ? -90 : -80;
    setLegTarget(Types::ijLaj1, shoulder, kArmSpeed);
    setLegTarget(Types::ijLaj2, 0, kArmSpeed);
    setLegTarget(Types::ijLaj3, 0, kArmSpeed);
    setLegTarget(Types::ijLaj4, 0, kArmSpeed);
    setLegTarget(Types::ijRaj1, shoulder, kArmSpeed);
    setLegTarget(Types::ijRaj2, 0, kArmSpeed);
    setLegTarget(Types::ijRaj3, 0, kArmSpeed);
    setLegTarget(Types::ijRaj4, 0, kArmSpeed);
    const Phase& p = params_ptr->phase[k - 1];
    for (int i = 0; i < 6; i++) {
        setLegTarget(Types::ijLlj1 + 2 * i, p.LLJ[i], p.LLV[i]);
    }
    for (int i = 0; i < 6; i++) {
        setLegTarget(Types::ijRlj1 + 2 * i, p.RLJ[i], p.RLV[i]);
    }
    actions->Send();
}

bool OmniDirectionalKick::finished() {
    return finishedMove;
}

void OmniDirectionalKick::setKickFoot(int foot) {
    footChosen = foot;
}

void OmniDirectionalKick::handBack(OmniWalkZMP& walk) {
    walk.change(GetComPosX(), GetComPosY(), GetLFoot().to2d(), GetRFoot().to2d(), GetPrevSupport());
    walk.setOptParameter(0, 0, 0, true);
}

Vector3f OmniDirectionalKick::GetComPosX() {
    return comPosX;
}

Vector3f OmniDirectionalKick::GetComPosY() {
    return comPosY;
}

Vector3f OmniDirectionalKick::GetLFoot() {
    return Vector3f(0, stanceHalfWidth, 0);
}

Vector3f OmniDirectionalKick::GetRFoot() {
    return Vector3f(0, -stanceHalfWidth, 0);
}

int OmniDirectionalKick::GetPrevSupport() {
    return suppFoot;
}

Vector3f OmniDirectionalKick::getLFoot() {
    return lFootPos;
}

Vector3f OmniDirectionalKick::getRFoot() {
    return rFootPos;
}

void OmniDirectionalKick::setLegTarget(int joint, double targetAngle, double maxRadSpeed) {
    Joint* j = model->getJoint(joint);
    double current = j ? j->getAngle() : targetAngle;
    actions->MoveJointTo(joint, static_cast<float>(predictEffector(joint, current, targetAngle, maxRadSpeed)));
}

double OmniDirectionalKick::predictEffector(int joint, double current, double setpoint, double maxSpeed) {
    double speed = LegPose::speed(current, setpoint, world->timeStep, maxSpeed);
    if (joint >= 0 && joint < Types::NJOINTS) {
        lastError[joint] = static_cast<float>(speed);
        lastAngle[joint] = static_cast<float>(current);
    }
    return speed;
}

double OmniDirectionalKick::predictEffector(int joint, double current, double setpoint) {
    return predictEffector(joint, current, setpoint, LegPose::MAX_SPEED);
}

void OmniDirectionalKick::splitString(std::string msg, std::vector<std::string>& words, char c) {
    words.clear();
    std::string word;
    for (char ch : msg) {
        if (ch == c) {
            if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        } else {
            word += ch;
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
}

void OmniDirectionalKick::readParamsFromFile(std::string file) {
    std::ifstream in(file.c_str());
    if (!in) {
        return;
    }
    std::string line;
    int number = 0;
    std::vector<std::string> words;
    while (std::getline(in, line)) {
        number++;
        if (in.eof()) {
            // The last line has no newline.
            break;
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        splitString(line, words, ' ');
        if (words.size() == 2 && words[0] == "settle") {
            settleTime = std::max(0.0f, static_cast<float>(std::atof(words[1].c_str())));
            continue;
        }
        if (words.size() < static_cast<size_t>(FIELDS)) {
            std::cerr << file << ":" << number << ": " << words.size() << " numbers, a kick record needs " << FIELDS
                      << "; line skipped" << std::endl;
            continue;
        }
        Params record;
        for (int i = 0; i < FIELDS; i++) {
            record.field(i) = std::atof(words[i].c_str());
        }
        parametros.push_back(record);
        if (params_ptr) {
            // The record in use stays the first one.
            params_ptr = &parametros.front();
        }
    }
}

void OmniDirectionalKick::computeRelativePositions(const Vector3f& target) {
    LOG(log_DEBUG) << "\n\n## STARTED COMPUTE RELATIVE POSITIONS";
    computeRelativePositions2(target);
}

void OmniDirectionalKick::computeRelativePositions2(const Vector3f& target) {
    Joint* lHip = model->getJoint(Types::ijLlj1);
    Joint* rHip = model->getJoint(Types::ijRlj1);
    Joint* lAnkle = model->getJoint(Types::ijLlj6);
    Joint* rAnkle = model->getJoint(Types::ijRlj6);
    if (!lHip || !rHip || !lAnkle || !rAnkle) {
        return;
    }
    mePos = Vector3f::determineMidpoint(lHip->getPosition(), rHip->getPosition());
    lFootPos = lAnkle->getPosition() - mePos;
    rFootPos = rAnkle->getPosition() - mePos;
    meOrient = (world->me ? world->me->orientation : 0) * kPi / 180;
    ballPos = (world->ball ? world->ball->position : Vector3f(world->ballPos)) - mePos;
    targetPos = target - mePos;
    mePos.y = -mePos.y;
    lFootPos.y = -lFootPos.y;
    rFootPos.y = -rFootPos.y;
    meOrient = -meOrient;
    ballPos.y = -ballPos.y;
    targetPos.y = -targetPos.y;
    RotationMatrix turn = GetRotationMatrixZ(-meOrient);
    lFootPos = turn * lFootPos;
    rFootPos = turn * rFootPos;
    ballPos = turn * ballPos;
    targetPos = turn * targetPos;
}

namespace {

// The angle at a foot between the directions to the ball and to the
// target (law of cosines), pi/2 when a side has no length.
float angleAt(float toBall, float toTarget, float ballTarget) {
    if (!(toBall > 0) || !(toTarget > 0)) {
        return kPi / 2;
    }
    float c = (toBall * toBall + toTarget * toTarget - ballTarget * ballTarget) / (2 * toBall * toTarget);
    if (!std::isfinite(c)) {
        return kPi / 2;
    }
    return std::acos(std::max(-1.0f, std::min(1.0f, c)));
}

}  // namespace

int OmniDirectionalKick::chooseFoot(Vector3f) {
    float dL = ballPos.dist(lFootPos);
    float dR = ballPos.dist(rFootPos);
    if (dL >= 0.35f && dR >= 0.35f) {
        return -1;
    }
    bool between = ballPos.y <= lFootPos.y + 0.01f && ballPos.y >= rFootPos.y - 0.01f;
    if (!between) {
        if (dL < dR) {
            return 1;
        }
        if (dL > dR) {
            return 0;
        }
    }
    float tL = targetPos.dist(lFootPos);
    float tR = targetPos.dist(rFootPos);
    float b = targetPos.dist(ballPos);
    return angleAt(dL, tL, b) <= angleAt(dR, tR, b) ? 1 : 0;
}

bool OmniDirectionalKick::isBallReachable() {
    return ballPos.dist(pInit) < 0.35f;
}

OmniDirectionalKick::Params OmniDirectionalKick::paramFromBallZoneDir(int) {
    if (parametros.empty()) {
        return Params();
    }
    return parametros.front();
}

std::vector<float> OmniDirectionalKick::legInvKin(int foot, Vector3f targetPos, Vector3f targetOri) {
    return LegPose::joints(foot, targetPos, targetOri);
}

void OmniDirectionalKick::computeLegIKold(Vector3f trajPoint, bool orient) {
    RotationMatrix rot = orient ? GetRotationMatrixZ(footYaw) : RotationMatrix();
    LOG(log_DEBUG) << "IK DATA INPUT\n\ttarget = \t\t" << trajPoint.x << " " << trajPoint.y << " " << trajPoint.z
                   << "\n\tleft = \t\t" << footChosen;
    if (footChosen != 0 && footChosen != 1) {
        return;
    }
    std::vector<float> a;
    InverseKinematics::calcLegJoints(HomogMatrix(rot, trajPoint), a, footChosen != 0);
    a.resize(6, 0.0f);
    float values[6] = {a[0], a[1], -a[2], -a[3], -a[4], a[5]};
    int first = footChosen == 1 ? Types::ijLlj1 : Types::ijRlj1;
    for (int i = 0; i < 6; i++) {
        pose[first + 2 * i] = std::isfinite(values[i]) ? values[i] : 0;
    }
}

void OmniDirectionalKick::updatePose(float kp, float ki, float kd) {
    if (kp == -1) {
        kp = kDefaultPid;
    }
    for (int j : kLegs) {
        Joint* joint = model->getJoint(j);
        float current = joint ? joint->getAngle() : pose[j];
        float command = pid[j].getOutput(current, pose[j], kp, ki, kd);
        actions->MoveJointTo(j, std::isfinite(command) ? command : 0);
    }
    for (int j : {Types::ijLaj1, Types::ijLaj2, Types::ijRaj1, Types::ijRaj2}) {
        Joint* joint = model->getJoint(j);
        double current = joint ? joint->getAngle() : pose[j];
        actions->MoveJointTo(j, static_cast<float>(predictEffector(j, current, pose[j])));
    }
    actions->Send();
}

void OmniDirectionalKick::updatePose() {
    for (int j : kLegs) {
        Joint* joint = model->getJoint(j);
        double current = joint ? joint->getAngle() : pose[j];
        actions->MoveJointTo(j, static_cast<float>(predictEffector(j, current, pose[j])));
    }
    for (int j : {Types::ijLaj1, Types::ijLaj2, Types::ijRaj1, Types::ijRaj2}) {
        Joint* joint = model->getJoint(j);
        double current = joint ? joint->getAngle() : pose[j];
        actions->MoveJointTo(j, static_cast<float>(predictEffector(j, current, pose[j])));
    }
    actions->Send();
}

void OmniDirectionalKick::copyPoseFromAgent(float* p) {
    for (int i = 0; i < Types::NJOINTS; i++) {
        Joint* joint = model->getJoint(i);
        p[i] = joint ? joint->getAngle() : 0;
    }
}

float OmniDirectionalKick::linearInterpolation(float a, float b, float t, float tTotal) {
    return a + (b - a) * t / tTotal;
}

float OmniDirectionalKick::linearInterpolation(float x, float x0, float x1, float y0, float y1) {
    return y0 + (y1 - y0) / (x1 - x0) * (x - x0);
}
