#include "PreviewGains.h"

#include <cmath>
#include <cstdio>

namespace {

typedef double M4[4][4];

void mul(const M4 a, const M4 b, M4 out) {
    M4 r;
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            r[i][j] = 0;
            for (int k = 0; k < 4; k++) {
                r[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            out[i][j] = r[i][j];
        }
    }
}

void transpose(const M4 a, M4 out) {
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            out[j][i] = a[i][j];
        }
    }
}

// Row vector v'M for a column vector v.
void rowTimes(const double v[4], const M4 m, double out[4]) {
    for (int j = 0; j < 4; j++) {
        out[j] = 0;
        for (int k = 0; k < 4; k++) {
            out[j] += v[k] * m[k][j];
        }
    }
}

std::string num(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string row(const double* v, int n) {
    std::string s;
    for (int i = 0; i < n; i++) {
        s += (i ? ", " : "") + num(v[i]);
    }
    return s + "\n";
}

std::string modelText(const PreviewController& c) {
    std::string s = "A\n";
    for (int i = 0; i < 3; i++) {
        s += row(c.A[i], 3);
    }
    s += "B\n";
    for (int i = 0; i < 3; i++) {
        s += row(&c.B[i], 1);
    }
    s += "C\n" + row(c.C, 3);
    return s;
}

}  // namespace

bool designPreview(const PreviewDesign& d, PreviewController& c) {
    double T = d.dt;
    double a[3][3] = {{1, T, T * T / 2}, {0, 1, T}, {0, 0, 1}};
    double b[3] = {T * T * T / 6, T * T / 2, T};
    double cz[3] = {1, 0, -d.comHeight / d.gravity};
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) {
            c.A[i][j] = a[i][j];
        }
        c.B[i] = b[i];
        c.C[i] = cz[i];
    }

    // Model extended by the ZMP error: (error, state increments).
    M4 At = {};
    double Bt[4];
    At[0][0] = 1;
    Bt[0] = 0;
    for (int j = 0; j < 3; j++) {
        double ca = 0;
        for (int k = 0; k < 3; k++) {
            ca += cz[k] * a[k][j];
        }
        At[0][j + 1] = ca;
        Bt[0] += cz[j] * b[j];
    }
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) {
            At[i + 1][j + 1] = a[i][j];
        }
        Bt[i + 1] = b[i];
    }

    // P = Q + A'PA - A'PB (R + B'PB)^-1 B'PA, iterated from P = Q.
    M4 P = {};
    P[0][0] = d.errorWeight;
    double gain = 0;
    double K[4] = {};
    const int maxIterations = 1000000;
    c.iterations = 0;
    for (int it = 1; it <= maxIterations; it++) {
        double bp[4];  // B'P
        rowTimes(Bt, P, bp);
        double bpb = 0;
        for (int k = 0; k < 4; k++) {
            bpb += bp[k] * Bt[k];
        }
        gain = 1 / (d.inputWeight + bpb);
        double bpa[4];  // B'PA
        for (int j = 0; j < 4; j++) {
            bpa[j] = 0;
            for (int k = 0; k < 4; k++) {
                bpa[j] += bp[k] * At[k][j];
            }
        }
        for (int j = 0; j < 4; j++) {
            K[j] = gain * bpa[j];
        }
        // Stabilised form P = Q + Ac'P Ac + K'RK, Ac = A - BK: a sum of
        // positive semi-definite terms, free of the cancellation of the
        // textbook update.
        M4 ac;
        for (int i = 0; i < 4; i++) {
            for (int j = 0; j < 4; j++) {
                ac[i][j] = At[i][j] - Bt[i] * K[j];
            }
        }
        M4 acT;
        M4 next;
        transpose(ac, acT);
        mul(P, ac, next);
        mul(acT, next, next);
        for (int i = 0; i < 4; i++) {
            for (int j = 0; j < 4; j++) {
                next[i][j] += K[i] * d.inputWeight * K[j];
            }
        }
        for (int i = 0; i < 4; i++) {
            for (int j = 0; j < i; j++) {
                next[i][j] = next[j][i] = (next[i][j] + next[j][i]) / 2;
            }
        }
        next[0][0] += d.errorWeight;
        double change = 0;
        double size = 0;
        for (int i = 0; i < 4; i++) {
            for (int j = 0; j < 4; j++) {
                change = std::fmax(change, std::fabs(next[i][j] - P[i][j]));
                size = std::fmax(size, std::fabs(next[i][j]));
                P[i][j] = next[i][j];
            }
        }
        if (!std::isfinite(size)) {
            return false;
        }
        if (change <= 1e-15 * size) {
            c.iterations = it;
            break;
        }
    }
    if (c.iterations == 0) {
        return false;
    }

    for (int j = 0; j < 4; j++) {
        c.Kp[j] = K[j];
        c.Bp[j] = Bt[j];
    }
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            c.Ac[i][j] = At[i][j] - Bt[i] * K[j];
        }
    }
    // Xp = -Ac' P I, I = (1, 0, 0, 0).
    M4 AcT;
    transpose(c.Ac, AcT);
    for (int i = 0; i < 4; i++) {
        c.Xp[i] = 0;
        for (int k = 0; k < 4; k++) {
            c.Xp[i] -= AcT[i][k] * P[k][0];
        }
    }
    c.cl = gain;
    return true;
}

std::vector<double> previewGains(const PreviewController& c, int count) {
    std::vector<double> g;
    if (count <= 0) {
        return g;
    }
    g.push_back(-c.Kp[0]);
    double x[4] = {c.Xp[0], c.Xp[1], c.Xp[2], c.Xp[3]};
    while (static_cast<int>(g.size()) < count) {
        double v = 0;
        for (int k = 0; k < 4; k++) {
            v += c.Bp[k] * x[k];
        }
        g.push_back(c.cl * v);
        double nx[4];
        for (int i = 0; i < 4; i++) {
            nx[i] = 0;
            for (int k = 0; k < 4; k++) {
                nx[i] += c.Ac[k][i] * x[k];
            }
        }
        for (int i = 0; i < 4; i++) {
            x[i] = nx[i];
        }
    }
    return g;
}

std::string walkMatrixFile(const PreviewController& c) {
    std::string s = modelText(c);
    s += "Kp\n" + row(c.Kp, 4);
    s += "Ac\n";
    for (int i = 0; i < 4; i++) {
        s += row(c.Ac[i], 4);
    }
    s += "Bp\n";
    for (int i = 0; i < 4; i++) {
        s += row(&c.Bp[i], 1);
    }
    s += "Xp\n";
    for (int i = 0; i < 4; i++) {
        s += row(&c.Xp[i], 1);
    }
    s += "cl\n" + row(&c.cl, 1);
    return s;
}

std::string walkKickMatrixFile(const PreviewController& c) {
    std::vector<double> g = previewGains(c, 51);
    return modelText(c) + "Gp\n" + row(g.data(), 51) + "Kp\n" + row(c.Kp, 4);
}
