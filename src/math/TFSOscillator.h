#ifndef MATH_TFSOSCILLATOR_H
#define MATH_TFSOSCILLATOR_H

// Truncated-Fourier-series gait oscillator. Built for one time, loaded with
// its parameters, evaluated once by calcOSC and read through the getters.
// The slave leg runs half a period behind the master.
class TFSOscillator {
public:
    double time;

    double rM, rS, rMS, rSS;
    double rMaArm, rSaArm;
    double rMaRot, rSaRot;
    double rMaFWRot, rSaFWRot;
    double rMaHip, rSaHip;
    double rMbHip, rSbHip;
    double rMaHipY, rSaHipY;
    double rMaknee, rSaknee;

    double aArm = 0, cArm = 0;
    double aRot = 0;
    double aFWRot = 0;
    double aHipY = 0;
    double aKnee = 0, t1Knee = 0, t2Kknee = 0, cKnee = 0;
    double aHip = 0, bHip = 0, cHip = 0;
    double halfPeriod = 0;

    double masterHipX = 0, masterHipY = 0, masterKnee = 0, masterAnkle = 0, masterArm = 0,
           masterRot = 0;
    double slaveHipX = 0, slaveHipY = 0, slaveKnee = 0, slaveAnkle = 0, slaveArm = 0,
           slaveRot = 0;

    bool avoidFalling = false;

    explicit TFSOscillator(double t);
    virtual ~TFSOscillator() {}

    void setR(double rMaArm, double rSaArm, double rMaRot, double rSaRot, double rMaFWRot,
              double rSaFWRot, double rMaHip, double rSaHip, double rMbHip, double rSbHip,
              double rMaHipY, double rSaHipY, double rMaknee, double rSaknee);
    void setR(double rMaster, double rSlave, double rMasterS, double rSlaveS);

    // aKnee, t1Knee, t2Kknee, cKnee, aArm, aHipY, aHip, bHip, cHip, halfPeriod.
    void setOscParameters(double* p);
    void setOscParameters(double aknee, double t1knee, double t2knee, double cknee, double ahip,
                          double bhip, double chip, double halfperiod);
    void setOscParameters(double rMaster, double rSlave, double aknee, double t2knee,
                          double cknee, double ahip, double bhip, double chip,
                          double halfperiod);
    void setArm(double a);
    void setRotAmp(double a);
    void setaFWRot(double rotateA);
    // Keeps the knee hold window in proportion to a new half period.
    void changeTFSfPeriods(double hPeriod);

    void calcOSC();

    double masterHipXOSC(double t);
    double masterHipYOSC(double t);
    double masterKneeOSC(double t);
    double masterArmOSC(double t);
    double masterRotOSC(double t);
    double slaveHipXOSC(double t);
    double slaveHipYOSC(double t);
    double slaveKneeOSC(double t);
    double slaveArmOSC(double t);
    double slaveRotOSC(double t);
    double calcHeapRot(double t);
    // The time within the current period (negative for negative t).
    double normalizeTime(double t);
    double getRHipRotate();
    double getLHipRotate();

    double masterHipXGEN() const;
    double masterHipYGEN() const;
    double masterKneeGEN() const;
    double masterAnkleGEN() const;
    double masterArmGEN() const;
    double masterRotGEN() const;
    double slaveHipXGEN() const;
    double slaveHipYGEN() const;
    double slaveKneeGEN() const;
    double slaveAnkleGEN() const;
    double slaveArmGEN() const;
    double slaveRotGEN() const;
    // Each ankle roll follows the other leg's hip Y.
    double masterAnkleYGEN() const;
    double slaveAnkleYGEN() const;

private:
    double omega() const;
    double hipX(double t, double ra, double rb) const;
    double knee(double n, double r) const;
};

#endif
