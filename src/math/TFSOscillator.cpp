#include "math/TFSOscillator.h"

#include <cmath>

namespace {

// The oscillator's own value of pi.
const double kPi = 3.1415927;

}  // namespace

TFSOscillator::TFSOscillator(double t)
    : time(t), rM(1), rS(1), rMS(1), rSS(1), rMaArm(1), rSaArm(1), rMaRot(1), rSaRot(1),
      rMaFWRot(1), rSaFWRot(1), rMaHip(1), rSaHip(1), rMbHip(1), rSbHip(1), rMaHipY(1),
      rSaHipY(1), rMaknee(1), rSaknee(1)
{
}

void TFSOscillator::setR(double maArm, double saArm, double maRot, double saRot, double maFWRot,
                         double saFWRot, double maHip, double saHip, double mbHip, double sbHip,
                         double maHipY, double saHipY, double maknee, double saknee)
{
    rMaArm = maArm;
    rSaArm = saArm;
    rMaRot = maRot;
    rSaRot = saRot;
    rMaFWRot = maFWRot;
    rSaFWRot = saFWRot;
    rMaHip = maHip;
    rSaHip = saHip;
    rMbHip = mbHip;
    rSbHip = sbHip;
    rMaHipY = maHipY;
    rSaHipY = saHipY;
    rMaknee = maknee;
    rSaknee = saknee;
}

void TFSOscillator::setR(double rMaster, double rSlave, double rMasterS, double rSlaveS)
{
    rM = rMaster;
    rS = rSlave;
    rMS = rMasterS;
    rSS = rSlaveS;
}

void TFSOscillator::setOscParameters(double* p)
{
    aKnee = p[0];
    t1Knee = p[1];
    t2Kknee = p[2];
    cKnee = p[3];
    aArm = p[4];
    aHipY = p[5];
    aHip = p[6];
    bHip = p[7];
    cHip = p[8];
    halfPeriod = p[9];
}

void TFSOscillator::setOscParameters(double aknee, double t1knee, double t2knee, double cknee,
                                     double ahip, double bhip, double chip, double halfperiod)
{
    aKnee = aknee;
    t1Knee = t1knee;
    t2Kknee = t2knee;
    cKnee = cknee;
    aHip = ahip;
    bHip = bhip;
    cHip = chip;
    halfPeriod = halfperiod;
}

void TFSOscillator::setOscParameters(double rMaster, double rSlave, double aknee, double t2knee,
                                     double cknee, double ahip, double bhip, double chip,
                                     double halfperiod)
{
    rM = rMaster;
    rS = rSlave;
    setOscParameters(aknee, 0, t2knee, cknee, ahip, bhip, chip, halfperiod);
}

void TFSOscillator::setArm(double a) { aArm = a; }
void TFSOscillator::setRotAmp(double a) { aRot = a; }
void TFSOscillator::setaFWRot(double rotateA) { aFWRot = rotateA; }

void TFSOscillator::changeTFSfPeriods(double hPeriod)
{
    t2Kknee = t1Knee + (t2Kknee - t1Knee) * hPeriod / halfPeriod;
    halfPeriod = hPeriod;
}

double TFSOscillator::omega() const { return kPi / halfPeriod; }

double TFSOscillator::hipX(double t, double ra, double rb) const
{
    double w = omega(), h = halfPeriod;
    double a = ra * aHip * std::sin(w * (t - h / 2)) + cHip;
    if (a >= cHip)
        return a;
    return rb * bHip * std::sin(w * (t - h / 2 + h)) + cHip;
}

double TFSOscillator::knee(double n, double r) const
{
    if (t1Knee <= n && n <= t2Kknee)
        return cKnee;
    double T = 2 * halfPeriod;
    double wK = kPi / (T - t2Kknee + t1Knee);
    double m = n < t1Knee ? n + T : n;
    return r * aKnee * std::sin(wK * (m - t2Kknee)) + cKnee;
}

double TFSOscillator::masterHipXOSC(double t) { return hipX(t, rMaHip, rMbHip); }

double TFSOscillator::slaveHipXOSC(double t) { return hipX(t - halfPeriod, rSaHip, rSbHip); }

double TFSOscillator::masterHipYOSC(double t)
{
    double s = std::sin(omega() * t) * (aHipY * rMaHipY - 1);
    return s <= 0 ? s : 0;
}

double TFSOscillator::slaveHipYOSC(double t)
{
    double s = std::sin(omega() * t) * (aHipY * rSaHipY - 1);
    return s >= 0 ? s : 0;
}

double TFSOscillator::masterKneeOSC(double t) { return knee(normalizeTime(t), rMaknee); }

double TFSOscillator::slaveKneeOSC(double t)
{
    return knee(normalizeTime(t - halfPeriod), rSaknee);
}

double TFSOscillator::masterArmOSC(double t)
{
    double h = halfPeriod;
    return rMaArm * aArm * std::sin(omega() * (t - h / 2)) + cArm;
}

double TFSOscillator::slaveArmOSC(double t)
{
    double h = halfPeriod;
    return rSaArm * aArm * std::sin(omega() * (t - h - h / 2)) + cArm;
}

double TFSOscillator::calcHeapRot(double t)
{
    if (aRot < 0)
        return aRot * std::cos(omega() * t) + aRot;
    if (aRot > 0)
        return aRot * std::cos(omega() * t) - aRot;
    return 0;
}

double TFSOscillator::masterRotOSC(double t)
{
    double v = rMaRot * aRot * std::sin(omega() * t * 0.5);
    return -std::fabs(v);
}

double TFSOscillator::slaveRotOSC(double t) { return masterRotOSC(t); }

double TFSOscillator::normalizeTime(double t)
{
    double period = 2 * halfPeriod;
    double k = std::trunc(t / period);
    return t - k * period;
}

double TFSOscillator::getRHipRotate()
{
    double h = halfPeriod;
    return aFWRot * (1 + std::sin(omega() * (time - h / 2)));
}

double TFSOscillator::getLHipRotate()
{
    double h = halfPeriod;
    return aFWRot * (1 + std::sin(omega() * (time - h / 2 - h)));
}

void TFSOscillator::calcOSC()
{
    const double t = time;
    avoidFalling = true;

    // The ankle keeps hip X, knee and ankle of each leg summing to 7.
    masterHipX = 5 + masterHipXOSC(t);
    masterHipY = masterHipYOSC(t);
    masterKnee = masterKneeOSC(t);
    if (avoidFalling)
        masterAnkle = 7 - (masterHipX + masterKnee);
    masterArm = masterArmOSC(t);
    masterRot = calcHeapRot(t);

    slaveHipX = 5 + slaveHipXOSC(t);
    slaveHipY = slaveHipYOSC(t);
    slaveKnee = slaveKneeOSC(t);
    if (avoidFalling)
        slaveAnkle = 7 - (slaveHipX + slaveKnee);
    slaveArm = slaveArmOSC(t);
    slaveRot = calcHeapRot(t);
}

double TFSOscillator::masterHipXGEN() const { return masterHipX; }
double TFSOscillator::masterHipYGEN() const { return masterHipY; }
double TFSOscillator::masterKneeGEN() const { return masterKnee; }
double TFSOscillator::masterAnkleGEN() const { return masterAnkle; }
double TFSOscillator::masterArmGEN() const { return masterArm; }
double TFSOscillator::masterRotGEN() const { return masterRot; }
double TFSOscillator::slaveHipXGEN() const { return slaveHipX; }
double TFSOscillator::slaveHipYGEN() const { return slaveHipY; }
double TFSOscillator::slaveKneeGEN() const { return slaveKnee; }
double TFSOscillator::slaveAnkleGEN() const { return slaveAnkle; }
double TFSOscillator::slaveArmGEN() const { return slaveArm; }
double TFSOscillator::slaveRotGEN() const { return slaveRot; }
double TFSOscillator::masterAnkleYGEN() const { return slaveHipY; }
double TFSOscillator::slaveAnkleYGEN() const { return masterHipY; }
