#ifndef TOOLS_PREVIEWGAINS_PREVIEWGAINS_H
#define TOOLS_PREVIEWGAINS_PREVIEWGAINS_H

#include <string>
#include <vector>

// ZMP preview controller of one horizontal axis of the cart-table model:
// state (position, velocity, acceleration) of the centre of mass, jerk
// input, ZMP output. The controller acts on the accumulated ZMP error,
// the state and the coming reference samples; its gains come from the
// discrete Riccati equation of the model extended by the ZMP error.
struct PreviewDesign {
    double dt = 0.002;        // sample time (s)
    double comHeight = 0.27;  // centre of mass above the ground (m)
    double gravity = 9.81;
    double errorWeight = 1;   // weight of the squared ZMP error
    double inputWeight = 1e-6;  // weight of the squared jerk
};

struct PreviewController {
    double A[3][3];
    double B[3];
    double C[3];
    // Gain of the accumulated error, then of position, velocity, acceleration.
    double Kp[4];
    // Closed loop of the extended model, its input vector, the first preview
    // vector and 1 / (R + B'PB): the gains of the preview samples follow
    // from them.
    double Ac[4][4];
    double Bp[4];
    double Xp[4];
    double cl;
    // Riccati iterations until convergence.
    int iterations;
};

// Solves the design; false when the Riccati iteration does not converge.
bool designPreview(const PreviewDesign& design, PreviewController& out);

// Gains of the reference samples 1, 2, ... count ahead: the first is -Kp[0].
std::vector<double> previewGains(const PreviewController& c, int count);

// The text of the walk's matrix file: A, B, C, Kp, Ac, Bp, Xp, cl, 29 lines.
std::string walkMatrixFile(const PreviewController& c);
// The text of the walk-and-kick engine's matrix file: A, B, C, 51 preview
// gains, Kp, 14 lines.
std::string walkKickMatrixFile(const PreviewController& c);

#endif
