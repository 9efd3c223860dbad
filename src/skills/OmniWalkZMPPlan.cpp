#include <algorithm>
#include <cmath>

#include "skills/OmniWalkZMP.h"

namespace {

double limit(double v, double lo, double hi) {
    // Upper bound first, so a lower bound above the upper one wins.
    v = std::min(v, hi);
    return std::max(v, lo);
}

}  // namespace

void OmniWalkZMP::setWalkParameter(double period, double dX, double dY, double theta, bool presure) {
    stepSizeX = lastDX + limit(dX - lastDX, minDx, maxDx);
    stepSizeY = lastDY + limit(dY - lastDY, minDy, maxDy);
    double inc = presure ? thetaInc : 7;
    double rel = presure ? thetaRel : 17;
    double candidate = lastTheta + limit(theta - lastTheta, -inc, inc);
    double bound = std::min(std::max(std::fabs(stepSizeX), std::fabs(stepSizeY)), maxThetaB) * thetaBMult + rel;
    thetaStep = candidate > 0 ? std::min(candidate, bound) : std::max(candidate, -bound);
    stepTime = period;
}

void OmniWalkZMP::footGenerator2(double stepX, double stepY, float stepTheta, int stepNumber, double timeStep,
                                 Foot inicialLeftLeg, Foot inicialRightLeg) {
    stepNumber = std::max(1, std::min(stepNumber, PLAN_SIZE - 1));
    planedLeftFoot[0] = inicialLeftLeg;
    planedRightFoot[0] = inicialRightLeg;
    Vector hl = Vector(0, legSeparation / 2).rotate(planedLeftFoot[0].theta);
    Vector hr = Vector(0, -legSeparation / 2).rotate(planedRightFoot[0].theta);
    Vector d = Vector(static_cast<float>(stepX), static_cast<float>(stepY)).rotate(planedLeftFoot[0].theta);

    // The point midway between the feet at the end of the current step.
    Vector x;
    if (planedLeftFoot[0].support && planedRightFoot[0].support) {
        x = planedLeftFoot[0].Position - hl;
        planedLeftFoot[0].support = false;
    } else if (!planedLeftFoot[0].support) {
        x = planedLeftFoot[0].Position - hl;
    } else {
        x = planedRightFoot[0].Position - hr;
    }

    for (int i = 1; i <= stepNumber; i++) {
        d = d.rotate(stepTheta);
        x += d * 2;
        hl = hl.rotate(stepTheta);
        hr = hr.rotate(stepTheta);
        const Foot& pl = planedLeftFoot[i - 1];
        const Foot& pr = planedRightFoot[i - 1];
        Foot l = pl;
        Foot r = pr;
        l.support = !pl.support;
        r.support = !pr.support;
        l.Position = pl.support ? x + hl : pl.Position;
        r.Position = pr.support ? x + hr : pr.Position;
        l.time = pl.time + timeStep;
        r.time = pr.time + timeStep;
        l.theta = pl.theta + stepTheta;
        r.theta = pr.theta + stepTheta;

        // Reach limits against the support foot.
        if (!r.support) {
            Vector off = r.Position - l.Position;
            off.x = limit(off.x, -legExtention, legExtention);
            off.y = limit(off.y, -legExtention, -0.08);
            r.Position = l.Position + off;
        }
        if (!l.support) {
            Vector off = l.Position - r.Position;
            off.x = limit(off.x, -legExtention, legExtention);
            off.y = limit(off.y, 0.08, legExtention);
            l.Position = r.Position + off;
        }
        planedLeftFoot[i] = l;
        planedRightFoot[i] = r;
    }

    planedLeftFoot[0] = inicialLeftLeg;
    planedRightFoot[0] = inicialRightLeg;
    lastStepTime = timeStep;
    lastDX = stepX;
    lastDY = stepY;
}

ZMP* OmniWalkZMP::zmpGenerator2(int stepNumber, double dt, double, int& size) {
    stepNumber = std::max(1, std::min(stepNumber, PLAN_SIZE - 1));
    double T = planedRightFoot[1].time - planedRightFoot[0].time;
    // A hair above the quotient, so that accumulated times such as 12.6 - 12.4
    // still count whole samples.
    int k = static_cast<int>(T / dt + 1e-6);
    k = std::max(0, k);
    int count = std::max(0, static_cast<int>((stepNumber + 1) * T / dt)) + 1000;
    count = std::max(count, stepNumber * k + 1000);
    ZMP* out = new ZMP[count];
    for (int j = 0; j < stepNumber; j++) {
        const Foot& l = planedLeftFoot[j];
        const Foot& r = planedRightFoot[j];
        Vector p;
        if (l.support && r.support) {
            p = Vector((l.Position.x + r.Position.x) / 2, 0);
        } else if (r.support) {
            p = r.Position;
        } else if (l.support) {
            p = l.Position;
        } else {
            p = (l.Position + r.Position) / 2;
        }
        for (int i = 0; i < k; i++) {
            out[j * k + i].Position = p;
            out[j * k + i].time = j * T + i * dt;
        }
    }
    size = stepNumber * k;
    return out;
}
