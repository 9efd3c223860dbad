#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "logger/LoggerZek.h"
#include "skills/OmniWalkZMP.h"
#include "utils/LoggerMatlab.h"

void OmniWalkZMP::initZmpPreviewController() {
    std::string error;
    if (load("./movs/matrices.txt", error)) {
        matricesLoaded = true;
    } else if (!matricesLoaded) {
        // The walk cannot run without its controller.
        std::cerr << error << std::endl;
        std::exit(1);
    } else {
        LOG(log_WARN) << error << "; the walk keeps its previous matrices";
    }
    maxPrevIter = 500;
    dp = dpY = 0;
    Gi[0] = -Kp[0];

    double b[4][4] = {};
    double act[4][4] = {};
    double x[4][4] = {};
    double next[4][4] = {};
    double g[4][4] = {};
    for (int i = 0; i < 4; i++) {
        b[0][i] = cl * Bp[i];
        x[i][0] = Xp[i][0];
    }
    matrixTranspose(act, Ac, 4, 4);
    // Iterate on a copy, so that Xp stays as read.
    for (int k = 0; k < maxPrevIter; k++) {
        matrixMultipicatin(b, x, g, 1, 4, 4, 1);
        Gi[k + 1] = g[0][0];
        logm->log("Gi", static_cast<float>(Gi[k + 1]));
        matrixMultipicatin(act, x, next, 4, 4, 4, 1);
        for (int i = 0; i < 4; i++) {
            x[i][0] = next[i][0];
        }
    }
}

CoM* OmniWalkZMP::zmpPreviewController(ZMP* zmpTrajectory, int sizeZMP, CoM init) {
    int n = static_cast<int>(stepTime / deltaT + 1e-6);
    n = std::max(0, std::min(n, std::min(COM_SAMPLES - 1, sizeZMP + 999)));
    CoM* out = new CoM[std::max(0, sizeZMP) + 1000];
    for (int axis = 0; axis < 2; axis++) {
        Vector3f start = axis == 0 ? init.PositionX : init.PositionY;
        double s[3] = {start.x, start.y, start.z};
        double& error = axis == 0 ? dp : dpY;
        // The reference of this axis, read once; it is held at its last
        // sample should the step outlast it.
        reference.resize(static_cast<size_t>(std::max(0, sizeZMP)));
        for (int k = 0; k < sizeZMP; k++) {
            const Vector& p = zmpTrajectory[k].Position;
            reference[static_cast<size_t>(k)] = static_cast<double>(axis == 0 ? p.x : p.y);
        }
        auto ref = [&](int k) { return reference[static_cast<size_t>(std::min(k, sizeZMP - 1))]; };
        for (int k = 0; k <= n; k++) {
            Vector3f state(static_cast<float>(s[0]), static_cast<float>(s[1]), static_cast<float>(s[2]));
            (axis == 0 ? out[k].PositionX : out[k].PositionY) = state;
            if (k == n || sizeZMP <= 0) {
                continue;
            }
            double p = C[0] * s[0] + C[1] * s[1] + C[2] * s[2];
            error += ref(k) - p;
            int m = minIter(sizeZMP - k, maxPrevIter);
            double preview = 0;
            if (m > 0) {
                // k + i stays below sizeZMP here
                const double* ahead = reference.data() + k;
                for (int i = 0; i < m; i++) {
                    preview += Gi[i] * ahead[i];
                }
            }
            double u = Kp[0] * error - (Kp[1] * s[0] + Kp[2] * s[1] + Kp[3] * s[2]) - preview;
            double nextState[3];
            for (int i = 0; i < 3; i++) {
                nextState[i] = A[i][0] * s[0] + A[i][1] * s[1] + A[i][2] * s[2] + B[i][0] * u;
            }
            for (int i = 0; i < 3; i++) {
                s[i] = nextState[i];
            }
        }
    }
    return out;
}

void OmniWalkZMP::matrixMultipicatin(double x[][4], double y[][4], double z[][4], int m, int n, int, int q) {
    for (int i = 0; i < m; i++) {
        for (int j = 0; j < q; j++) {
            double sum = 0;
            for (int k = 0; k < n; k++) {
                sum += x[i][k] * y[k][j];
            }
            z[i][j] = sum;
        }
    }
}

void OmniWalkZMP::matrixTranspose(double a[][4], double b[][4], int row, int col) {
    for (int i = 0; i < row; i++) {
        for (int j = 0; j < col; j++) {
            a[j][i] = b[i][j];
        }
    }
}

int OmniWalkZMP::minIter(int a, int b) {
    return a < b ? a : b;
}

void OmniWalkZMP::matrixDisplay(double[][4], int, int, std::string) {}

void OmniWalkZMP::comController() {}

void OmniWalkZMP::swingLegController() {}
