#include "skills/OmniWalkZMP.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "physics/AgentModel.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"
#include "utils/util.h"
#include "world/WorldState.h"

namespace {

const char* const kParamNames[16] = {"minDx",  "minDy",       "thetaInc",      "thetaRel",
                                     "maxThetaB", "thetaBMult", "heightCoM",  "swingHeight",
                                     "legSeparation", "period", "dXmult",     "dYmult",
                                     "thetaMult", "steps",     "fComp",       "bComp"};

[[noreturn]] void stop(const std::string& line) {
    std::cerr << line << std::endl;
    std::exit(1);
}

}  // namespace

OmniWalkZMP::OmniWalkZMP()
    : Behavior("SKILL_OMNI_WALK_ZMP"),
      dp(0),
      dpY(0),
      planedCoM(nullptr),
      activeBalace(false),
      maxPrevIter(500),
      cl(0),
      initTime(0),
      deltaT(0.002),
      logm(&LoggerMatlab::getInstance()),
      world(&Singleton<WorldState>::getInstance()),
      model(&Singleton<AgentModel>::getInstance()),
      actions(&Singleton<Actions>::getInstance()),
      initWalk(true),
      swingHeight(0),
      stepSizeX(0),
      stepSizeY(0),
      stepTime(0),
      legExtention(0),
      thetaStep(0),
      legSeparation(0),
      minDx(0),
      minDy(0),
      maxDx(0),
      maxDy(0),
      thetaInc(0),
      thetaRel(0),
      maxThetaB(0),
      thetaBMult(0),
      steps(0),
      fComp(0),
      bComp(0),
      lastStepTime(0),
      lastDX(0),
      lastDY(0),
      lastTheta(0),
      transitionError(0, 0),
      isStepFinished(false),
      plannedSamples(0),
      matricesLoaded(false) {
    for (int i = 0; i < MAX_GAINS; i++) {
        Gi[i] = 0;
    }
    for (int i = 0; i < 3; i++) {
        C[i] = 0;
    }
    for (int i = 0; i < 4; i++) {
        Kp[i] = 0;
        Bp[i] = 0;
        for (int j = 0; j < 4; j++) {
            A[i][j] = 0;
            Ac[i][j] = 0;
            Xp[i][j] = 0;
            if (i < 3 && j < 3) {
                B[i][j] = 0;
            }
        }
    }
    for (int j = 0; j < Types::NJOINTS; j++) {
        pose[j] = 0;
        lastAngle[j] = 0;
        lastError[j] = 0;
    }
    planedCoM = new CoM[COM_SAMPLES];
    init();
    loadParams();
}

OmniWalkZMP::~OmniWalkZMP() {
    delete[] planedCoM;
}

void OmniWalkZMP::start(const Foot& left, const Foot& right, const CoM& com) {
    initTime = world->cTime;
    thetaStep = 0;
    initZmpPreviewController();
    deltaT = 0.002;
    initCom = com;
    legExtention = 0.2;
    swingHeight = 0.06;
    legSeparation = 0.11;
    inicialLeftLeg = left;
    inicialRightLeg = right;
    planedLeftFoot[0] = planedLeftFoot[1] = inicialLeftLeg;
    planedRightFoot[0] = planedRightFoot[1] = inicialRightLeg;
    stepTime = 0.8;
    stepSizeX = stepSizeY = 0;
    initWalk = true;
    isStepFinished = false;
    lastStepTime = lastDX = lastDY = lastTheta = 0;
    logm->log("rigthLegX", inicialRightLeg.Position.x);
    logm->log("rigthLegY", inicialRightLeg.Position.y);
    logm->log("leftLegX", inicialLeftLeg.Position.x);
    logm->log("leftLegY", inicialLeftLeg.Position.y);
}

void OmniWalkZMP::init() {
    steps = 6;
    minDx = minDy = -0.02;
    maxDx = maxDy = 0.02;
    thetaInc = 12;
    thetaRel = 21;
    maxThetaB = 0.2;
    thetaBMult = -50;
    const double half = 0.11 / 2;
    start(setFoot(Vector(0, half), true, false, 0, 0), setFoot(Vector(0, -half), true, true, 0, 0), CoM());
}

void OmniWalkZMP::change(Vector3f comX, Vector3f comY, Vector lFootPos, Vector rFootPos, int prevSupp) {
    CoM com;
    com.PositionX = comX;
    com.PositionY = comY;
    start(setFoot(lFootPos, prevSupp == 1, false, 0, 0), setFoot(rFootPos, prevSupp != 1, true, 0, 0), com);
}

bool OmniWalkZMP::finished() {
    return true;
}

void OmniWalkZMP::setOptParameter(double vX, double vY, double vTheta, bool) {
    // A command that is not a number stands still rather than poison the plan.
    vX = std::isfinite(vX) ? vX : 0;
    vY = std::isfinite(vY) ? vY : 0;
    vTheta = std::isfinite(vTheta) ? vTheta : 0;
    vTheta = vTheta < -75 ? -75 : (vTheta > 75 ? 75 : vTheta);
    maxDx = -minDx;
    maxDy = -minDy;
    minDx = params.minDx;
    minDy = params.minDy;
    thetaInc = params.thetaInc;
    thetaRel = params.thetaRel;
    thetaBMult = params.thetaBMult;
    maxThetaB = params.maxThetaB;
    double period = params.period;
    setWalkParameter(period, period * vX * params.dXmult, period * vY * params.dYmult,
                     period * vTheta * params.thetaMult, true);
    swingHeight = params.swingHeight;
    legExtention = params.heightCoM;
    legSeparation = params.legSeparation;
    steps = params.steps;
    fComp = params.fComp;
    bComp = params.bComp;
}

Vector3f OmniWalkZMP::GetLFoot() {
    Vector mid = (transitionLeftFoot.Position + transitionRightFoot.Position) / 2;
    Vector d = transitionLeftFoot.Position - mid;
    return Vector3f(d.x, d.y, 0);
}

Vector3f OmniWalkZMP::GetRFoot() {
    Vector mid = (transitionLeftFoot.Position + transitionRightFoot.Position) / 2;
    Vector d = transitionRightFoot.Position - mid;
    return Vector3f(d.x, d.y, 0);
}

int OmniWalkZMP::GetPrevSupport() {
    if (transitionLeftFoot.support) {
        return 0;
    }
    return transitionRightFoot.support ? 1 : 0;
}

Vector OmniWalkZMP::GetVelocity() {
    return Vector(transitionCom.PositionX.y, transitionCom.PositionY.y);
}

Vector OmniWalkZMP::GetAceleration() {
    return Vector(transitionCom.PositionX.z, transitionCom.PositionY.z);
}

Vector OmniWalkZMP::GetPosition() {
    return Vector(transitionCom.PositionX.x, transitionCom.PositionY.x);
}

Vector OmniWalkZMP::GetPrevAccumError() {
    return transitionError;
}

Foot OmniWalkZMP::setFoot(Vector Position, bool isSupport, bool isRight, double time, double theta) {
    Foot f;
    f.Position = Position;
    f.support = isSupport;
    f.Right = isRight;
    f.time = time;
    f.theta = theta;
    return f;
}

std::string OmniWalkZMP::paramsPath(int robotType) {
    return "skills/p" + std::to_string(robotType);
}

void OmniWalkZMP::loadParams() {
    std::string error;
    OptParams read;
    if (!readParams(paramsPath(model->getRobotType()), read, error)) {
        stop(error);
    }
    params = read;
}

bool OmniWalkZMP::readParams(const std::string& path, OptParams& out, std::string& error) {
    std::ifstream in(path.c_str());
    if (!in) {
        error = path + ": cannot open the walk parameter file";
        return false;
    }
    double v[16];
    for (int i = 0; i < 16; i++) {
        std::string token;
        if (!(in >> token)) {
            error = path + ": " + std::to_string(i) + " numbers, the walk needs 16 (" + kParamNames[i] +
                    " is missing)";
            return false;
        }
        if (!parseFinite(token, v[i])) {
            error = path + ": " + kParamNames[i] + " '" + token + "' is not a number";
            return false;
        }
    }
    std::ostringstream bad;
    if (!(v[13] >= 1 && v[13] < 25)) {
        bad << "steps " << v[13] << " is outside 1..24";
    } else if (!(v[9] >= 0.002 && v[9] < 2)) {
        bad << "period " << v[9] << " is outside 0.002..2 s";
    } else if (!(v[6] > 0)) {
        bad << "heightCoM " << v[6] << " is not positive";
    } else if (!(v[8] > 0)) {
        bad << "legSeparation " << v[8] << " is not positive";
    } else if (std::fabs(v[14]) > 1e6 || std::fabs(v[15]) > 1e6) {
        bad << "fComp " << v[14] << " or bComp " << v[15] << " is out of range";
    }
    if (!bad.str().empty()) {
        error = path + ": " + bad.str();
        return false;
    }
    OptParams p;
    p.minDx = v[0];
    p.minDy = v[1];
    p.thetaInc = v[2];
    p.thetaRel = v[3];
    p.maxThetaB = v[4];
    p.thetaBMult = v[5];
    p.heightCoM = v[6];
    p.swingHeight = v[7];
    p.legSeparation = v[8];
    p.period = v[9];
    p.dXmult = v[10];
    p.dYmult = v[11];
    p.thetaMult = v[12];
    p.steps = static_cast<int>(v[13]);
    p.fComp = static_cast<int>(v[14]);
    p.bComp = static_cast<int>(v[15]);
    out = p;
    return true;
}

namespace {

// The lines of the matrix file and a cursor over them.
class MatrixText {
public:
    std::vector<std::string> lines;
    size_t next = 0;
    std::string fault;

    bool read(std::string& line) {
        if (next >= lines.size()) {
            fault = "ends at line " + std::to_string(lines.size());
            return false;
        }
        line = lines[next++];
        return true;
    }

    // n values of one row, one separator character between two values.
    bool row(const std::string& line, int n, long double* out) {
        std::istringstream in(line);
        for (int i = 0; i < n; i++) {
            if (i > 0) {
                char sep = 0;
                if (!(in >> sep) || std::isdigit(static_cast<unsigned char>(sep)) || sep == '-' ||
                    sep == '+' || sep == '.') {
                    fault = "line " + std::to_string(next) + " '" + line + "': " + std::to_string(n) +
                            " values separated by one character each needed";
                    return false;
                }
            }
            long double v;
            if (!(in >> v) || !std::isfinite(static_cast<double>(v))) {
                fault = "line " + std::to_string(next) + " '" + line + "': " + std::to_string(n) +
                        " numbers needed";
                return false;
            }
            out[i] = v;
        }
        return true;
    }
};

bool startsWith(const std::string& line, char c) {
    return !line.empty() && line[0] == c;
}

}  // namespace

bool OmniWalkZMP::load(const char* path_definition) {
    std::string error;
    return load(path_definition, error);
}

bool OmniWalkZMP::load(const char* path_definition, std::string& error) {
    std::string path = path_definition ? path_definition : "";
    std::ifstream in(path.c_str());
    if (!in) {
        error = path + ": cannot open the walk matrix file";
        return false;
    }
    MatrixText text;
    for (std::string line; std::getline(in, line);) {
        text.lines.push_back(line);
    }

    // Read into copies; entries a short block does not give keep their values.
    double tA[3][3], tB[3], tC[3], tKp[4], tAc[4][4], tBp[4], tXp[4], tcl;
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            if (i < 3 && j < 3) {
                tA[i][j] = A[i][j];
            }
            tAc[i][j] = Ac[i][j];
        }
        if (i < 3) {
            tB[i] = B[i][0];
            tC[i] = C[i];
        }
        tKp[i] = Kp[i];
        tBp[i] = Bp[i];
        tXp[i] = Xp[i][0];
    }
    tcl = cl;

    long double v[4];
    std::string line;
    bool ok = text.read(line);
    while (ok && startsWith(line, 'A')) {
        ok = text.read(line);
    }
    for (int r = 0; ok && r < 3; r++) {
        ok = text.row(line, 3, v) && text.read(line);
        for (int j = 0; ok && j < 3; j++) {
            tA[r][j] = static_cast<double>(v[j]);
        }
        if (ok && startsWith(line, 'B')) {
            break;
        }
    }
    while (ok && startsWith(line, 'B')) {
        ok = text.read(line);
    }
    for (int r = 0; ok && r < 3; r++) {
        ok = text.row(line, 1, v) && text.read(line);
        if (ok) {
            tB[r] = static_cast<double>(v[0]);
        }
        if (ok && startsWith(line, 'C')) {
            break;
        }
    }
    while (ok && startsWith(line, 'C')) {
        ok = text.read(line);
    }
    ok = ok && text.row(line, 3, v);
    for (int j = 0; ok && j < 3; j++) {
        tC[j] = static_cast<double>(v[j]);
    }
    ok = ok && text.read(line) && text.read(line) && text.row(line, 4, v);
    for (int j = 0; ok && j < 4; j++) {
        tKp[j] = static_cast<double>(v[j]);
    }
    ok = ok && text.read(line);
    for (int r = 0; ok && r < 4; r++) {
        ok = text.read(line) && text.row(line, 4, v);
        for (int j = 0; ok && j < 4; j++) {
            tAc[r][j] = static_cast<double>(v[j]);
        }
    }
    double* columns[2] = {tBp, tXp};
    for (int c = 0; c < 2; c++) {
        ok = ok && text.read(line);
        for (int r = 0; ok && r < 4; r++) {
            ok = text.read(line) && text.row(line, 1, v);
            if (ok) {
                columns[c][r] = static_cast<double>(v[0]);
            }
        }
    }
    ok = ok && text.read(line) && text.read(line) && text.row(line, 1, v);
    if (!ok) {
        error = path + ": malformed walk matrix file, " + text.fault;
        return false;
    }
    tcl = static_cast<double>(v[0]);

    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            if (i < 3 && j < 3) {
                A[i][j] = tA[i][j];
            }
            Ac[i][j] = tAc[i][j];
        }
        if (i < 3) {
            B[i][0] = tB[i];
            C[i] = tC[i];
        }
        Kp[i] = tKp[i];
        Bp[i] = tBp[i];
        Xp[i][0] = tXp[i];
    }
    cl = tcl;
    return true;
}
