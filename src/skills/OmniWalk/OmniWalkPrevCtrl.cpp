#include "skills/OmniWalk/OmniWalkPrevCtrl.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "logger/LoggerZek.h"
#include "physics/AgentModel.h"
#include "physics/ForwardKinematics.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

const char* const kMatrixFile = "./skills/OmniWalk/matrices.txt";
const float kStanceHalfWidth = 0.055f;
const int kGains = 51;

// Reads n numbers, each but the last followed by one separator character.
bool readRow(const std::string& line, int n, std::vector<float>& out) {
    std::istringstream in(line);
    out.assign(n, 0.0f);
    for (int i = 0; i < n; i++) {
        if (!(in >> out[i]) || !std::isfinite(out[i])) {
            return false;
        }
        char separator;
        if (i + 1 < n && !(in >> separator)) {
            return false;
        }
    }
    return true;
}

}  // namespace

OmniWalkPrevCtrl::OmniWalkPrevCtrl()
    : Behavior("OmniWalkPrevCtrl"),
      initTime(0),
      currTime(0),
      currPlanner(nullptr),
      pWAKPlanner(nullptr),
      pFWPlanner(nullptr),
      mA(MatrixMxN::Zeros(3, 3)),
      mB(MatrixMxN::Zeros(3, 1)),
      mC(MatrixMxN::Zeros(1, 3)),
      mGp(MatrixMxN::Zeros(1, kGains)),
      mKp(MatrixMxN::Zeros(1, 4)),
      prevUx(0),
      prevUy(0),
      prevAccumErrorX(0),
      prevAccumErrorY(0),
      world(&Singleton<WorldState>::getInstance()),
      model(&Singleton<AgentModel>::getInstance()),
      log(&LoggerMatlab::getInstance()),
      actions(&Singleton<Actions>::getInstance()) {
    currCOM.mX = MatrixMxN::Zeros(3, 1);
    currCOM.mY = MatrixMxN::Zeros(3, 1);
    nextCOM.mX = MatrixMxN::Zeros(3, 1);
    nextCOM.mY = MatrixMxN::Zeros(3, 1);
    for (int j = 0; j < Types::NJOINTS; j++) {
        pose[j] = 0;
        lastAngle[j] = -1000;
        lastError[j] = -1000;
    }
    pWAKPlanner = new WalkKickPlanner(this);
    pFWPlanner = new FreeWalkPlanner(this);
    currPlanner = pFWPlanner;
}

OmniWalkPrevCtrl::~OmniWalkPrevCtrl() {
    delete pWAKPlanner;
    delete pFWPlanner;
}

void OmniWalkPrevCtrl::zeroState() {
    currCOM.mX = MatrixMxN::Zeros(3, 1);
    currCOM.mY = MatrixMxN::Zeros(3, 1);
    nextCOM.mX = MatrixMxN::Zeros(3, 1);
    nextCOM.mY = MatrixMxN::Zeros(3, 1);
    prevUx = prevUy = 0;
    prevAccumErrorX = prevAccumErrorY = 0;
}

void OmniWalkPrevCtrl::init() {
    load(kMatrixFile);
    zeroState();
    pose[Types::ijLaj1] = -90;
    pose[Types::ijRaj1] = -90;
    pose[Types::ijLaj2] = 15;
    pose[Types::ijRaj2] = -15;
    currTime = 0;
}

bool OmniWalkPrevCtrl::load(const std::string& path) {
    std::string error;
    return load(path, error);
}

bool OmniWalkPrevCtrl::load(const std::string& path, std::string& error) {
    std::ifstream in(path.c_str());
    if (!in) {
        error = path + ": cannot open the matrix file";
        return false;
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    size_t i = 0;
    auto startsWith = [&](size_t at, char c) { return at < lines.size() && !lines[at].empty() && lines[at][0] == c; };
    auto fail = [&](const std::string& what) {
        error = path + ": " + what;
        return false;
    };
    MatrixMxN a = mA, b = mB, c = mC, gp = mGp, kp = mKp;
    std::vector<float> row;
    while (startsWith(i, 'A')) {
        i++;
    }
    for (int r = 0; r < 3 && !startsWith(i, 'B'); r++, i++) {
        if (i >= lines.size() || !readRow(lines[i], 3, row)) {
            return fail("bad row " + std::to_string(r) + " of A");
        }
        for (int k = 0; k < 3; k++) {
            a.Get(r, k) = row[k];
        }
    }
    while (startsWith(i, 'B')) {
        i++;
    }
    for (int r = 0; r < 3 && !startsWith(i, 'C'); r++, i++) {
        if (i >= lines.size() || !readRow(lines[i], 1, row)) {
            return fail("bad row " + std::to_string(r) + " of B");
        }
        b.Get(r, 0) = row[0];
    }
    while (startsWith(i, 'C')) {
        i++;
    }
    if (i >= lines.size() || !readRow(lines[i], 3, row)) {
        return fail("bad row of C");
    }
    for (int k = 0; k < 3; k++) {
        c.Get(0, k) = row[k];
    }
    i += 2;
    if (i >= lines.size() || !readRow(lines[i], kGains, row)) {
        return fail("bad preview gains");
    }
    for (int k = 0; k < kGains; k++) {
        gp.Get(0, k) = row[k];
    }
    i += 2;
    if (i >= lines.size() || !readRow(lines[i], 4, row)) {
        return fail("bad feedback gains");
    }
    for (int k = 0; k < 4; k++) {
        kp.Get(0, k) = row[k];
    }
    mA = a;
    mB = b;
    mC = c;
    mGp = gp;
    mKp = kp;
    return true;
}

bool OmniWalkPrevCtrl::finished() {
    return currPlanner->Finished();
}

bool OmniWalkPrevCtrl::Aborted() {
    return pWAKPlanner->Aborted();
}

void OmniWalkPrevCtrl::SetPlanner(ePlanner planner) {
    int p = static_cast<int>(planner);
    if (p == FREE_WALK) {
        currPlanner = pFWPlanner;
    } else if (p >= WALK_AND_SUPERKICK && p <= WALK_AND_DYNAMICKICK) {
        pWAKPlanner->SetKick(static_cast<WalkKickPlanner::eKick>(p - 1));
        currPlanner = pWAKPlanner;
    }
    currPlanner->SetFinished(false);
    currPlanner->Clear();
}

void OmniWalkPrevCtrl::seed(int support, const Vector3f& left, const Vector3f& right, float pause, float duration,
                            float yaw) {
    std::pair<float, float> none(0.0f, 0.0f);
    Footstep l(left, none, 0, Footstep::LEFT);
    Footstep r(right, none, 0, Footstep::RIGHT);
    bool rightSupports = support == Footstep::RIGHT;
    currPlanner->Add(rightSupports ? r : l);
    currPlanner->Add(rightSupports ? l : r);
    if (pause > 0) {
        currPlanner->Add(Footstep(Vector3f(0, 0, 0), none, pause, Footstep::DOUBLE));
    }
    Footstep step = rightSupports ? r : l;
    step.duration = duration;
    step.orientation.second = yaw;
    currPlanner->Add(step);
}

void OmniWalkPrevCtrl::measureFeet() {
    ForwardKinematics fk;
    fk.prepareForwardKin(4);
}

void OmniWalkPrevCtrl::Start(int supportFoot) {
    pWAKPlanner->SetFirstPlan(true);
    pWAKPlanner->SetInitBallPos(world->ballPos);
    pWAKPlanner->SetTarget(changeMov.target.x, changeMov.target.y);
    pWAKPlanner->SetKickFoot(ChooseFoot());
    pWAKPlanner->isLastStep(false);
    zeroState();
    currPlanner->SetFinished(false);
    currPlanner->Clear();
    float period = currPlanner->GetPeriod();
    int mode = world->game ? world->game->playmode : PLAY_ON;
    float pause = (mode == QUORVEL_KICKOFF || mode == QUORVEL_KICKIN || mode == QUORVEL_GOAL_KICK) ? 0.6f : 0.3f;
    seed(supportFoot == 0 ? Footstep::RIGHT : Footstep::LEFT, Vector3f(0, kStanceHalfWidth, 0),
         Vector3f(0, -kStanceHalfWidth, 0), pause, period, 0);
    measureFeet();
    currPlanner->Update();
    printQueue();
    currTime = 0;
}

void OmniWalkPrevCtrl::Change() {
    changeMov.changed = false;
    pWAKPlanner->SetFirstPlan(true);
    pWAKPlanner->SetInitBallPos(world->ballPos);
    pWAKPlanner->SetTarget(changeMov.target.x, changeMov.target.y);
    pWAKPlanner->SetKickFoot(ChooseFoot());
    pWAKPlanner->isLastStep(false);
    Vector3f left(changeMov.prevLFoot.x, changeMov.prevLFoot.y, 0);
    Vector3f right(changeMov.prevRFoot.x, changeMov.prevRFoot.y, 0);
    Vector3f mid = Vector3f::determineMidpoint(left, right);
    left = left - mid;
    right = right - mid;
    comPosX = Vector3f(changeMov.comPos.x, changeMov.comVel.x, changeMov.comAcel.x);
    comPosY = Vector3f(changeMov.comPos.y, changeMov.comVel.y, changeMov.comAcel.y);
    for (int k = 0; k < 3; k++) {
        currCOM.mX.Get(k, 0) = k == 0 ? comPosX.x : (k == 1 ? comPosX.y : comPosX.z);
        currCOM.mY.Get(k, 0) = k == 0 ? comPosY.x : (k == 1 ? comPosY.y : comPosY.z);
    }
    nextCOM.mX = currCOM.mX;
    nextCOM.mY = currCOM.mY;
    prevAccumErrorX = prevAccumErrorY = 0;
    currPlanner->SetFinished(false);
    currPlanner->Clear();
    float period = currPlanner->GetPeriod();
    if (changeMov.prevSupport == 0 || changeMov.prevSupport == 1) {
        seed(changeMov.prevSupport == 0 ? Footstep::RIGHT : Footstep::LEFT, left, right, 0, period, 0);
    }
    measureFeet();
    currPlanner->Update();
    printQueue();
    currTime = 0;
}

int OmniWalkPrevCtrl::ChooseFoot() {
    if (world->ballRelDir > 0) {
        return 0;
    }
    return world->ballRelDir < 0 ? 1 : -1;
}

int OmniWalkPrevCtrl::getKickFoot() {
    return pWAKPlanner->getKickFoot();
}

Vector3f OmniWalkPrevCtrl::GetLFoot() {
    Footstep* f = currPlanner->GetPreviousLeft(2);
    return f ? f->position : Vector3f(0, kStanceHalfWidth, 0);
}

Vector3f OmniWalkPrevCtrl::GetRFoot() {
    Footstep* f = currPlanner->GetPreviousRight(2);
    return f ? f->position : Vector3f(0, -kStanceHalfWidth, 0);
}

int OmniWalkPrevCtrl::GetPrevSupport() {
    std::vector<Footstep>& q = currPlanner->footsteps;
    if (q.size() < 3) {
        return q.size() >= 2 ? q[1].foot : (q.empty() ? Footstep::DOUBLE : q[0].foot);
    }
    return q[2].foot == Footstep::DOUBLE ? q[1].foot : q[2].foot;
}

Vector OmniWalkPrevCtrl::GetPosition() {
    return Vector(nextCOM.mX.Get(0, 0), nextCOM.mY.Get(0, 0));
}

Vector OmniWalkPrevCtrl::GetVelocity() {
    return Vector(nextCOM.mX.Get(1, 0), nextCOM.mY.Get(1, 0));
}

Vector OmniWalkPrevCtrl::GetAceleration() {
    return Vector(nextCOM.mX.Get(2, 0), nextCOM.mY.Get(2, 0));
}

Vector OmniWalkPrevCtrl::GetPrevU() {
    return Vector(prevUx, prevUy);
}

Vector OmniWalkPrevCtrl::GetPrevAccumError() {
    return Vector(prevAccumErrorX, prevAccumErrorY);
}

Vector3f OmniWalkPrevCtrl::GetComPosX() {
    return comPosX;
}

Vector3f OmniWalkPrevCtrl::GetComPosY() {
    return comPosY;
}

void OmniWalkPrevCtrl::SetLFoot(Vector3f lFoot) {
    changeMov.prevLFoot = lFoot;
}

void OmniWalkPrevCtrl::SetRFoot(Vector3f rFoot) {
    changeMov.prevRFoot = rFoot;
}

void OmniWalkPrevCtrl::SetPrevSupport(int prevSupp) {
    changeMov.prevSupport = prevSupp;
}

void OmniWalkPrevCtrl::SetPosition(Vector pos) {
    changeMov.comPos = pos;
}

void OmniWalkPrevCtrl::SetVelocity(Vector vel) {
    changeMov.comVel = vel;
}

void OmniWalkPrevCtrl::SetAceleration(Vector acel) {
    changeMov.comAcel = acel;
}

void OmniWalkPrevCtrl::SetPrevU(Vector prevU) {
    changeMov.prevU = prevU;
}

void OmniWalkPrevCtrl::SetPrevAccumError(Vector prevAccumError) {
    changeMov.prevAccumError = prevAccumError;
}

void OmniWalkPrevCtrl::SetTarget(Vector target) {
    changeMov.target = target;
}

void OmniWalkPrevCtrl::printQueue() {
    LOG(log_DEBUG) << [this] {
        std::ostringstream out;
        currPlanner->Print(out);
        return out.str();
    }();
}
