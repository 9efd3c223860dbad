#ifndef SKILLS_OSCILLATORGAIT_H
#define SKILLS_OSCILLATORGAIT_H

// What the oscillator walks share: the cycle length, the two joint-speed
// laws, the sine-table curves and the turning amplitude table. No law gives
// inf or NaN: a command that cannot be computed is 0.
class OscillatorGait {
public:
    // Largest predictive speed command.
    static constexpr double PREDICT_LIMIT = 6.1395447;
    // Largest proportional speed command.
    static constexpr double PROPORTIONAL_LIMIT = 100;
    // Heading errors (degrees) up to this bound give no turning.
    static constexpr double TURN_DEAD_BAND = 7;

    // The world's time step, or 0.02 s when it is not a positive number.
    static float timeStep();
    // (target - angle) / (100 * timeStep), limited to the predictive limit.
    static double predict(double angle, double target);
    // 0.1 * (setpoint - current), limited to the proportional limit.
    static double proportional(float current, float setpoint);
    // The body model's angle of joint id, 0 for an unknown joint.
    static float jointAngle(int id);
    // A sine table (amplitude, period, phase, offset) at time t with scale g:
    // offset + amplitude * g * sin(phase + 2 pi t / period); the offset for
    // period 0.
    static double curve(const double table[4], double t, double g);

    // The hip-rotation amplitude for a heading error at the current speed v,
    // walking forwards (speed >= 0) or backwards. Errors beyond sharpBound
    // (forwards only) use the sharp row and, at v above 0.65, set the inner
    // stride scale (rm for a positive error, rs for a negative one) to 0.7.
    // Where no speed band holds the amplitude stays `current`; errors within
    // the dead band give 0.
    static double turnAmplitude(double degree, double v, bool forward, double sharpBound,
                                double current, float& rm, float& rs);

    // Sets a walk's oscillator from the ten hip-yaw parameters: knee amplitude,
    // swing fraction, knee offset, arm, hip-yaw, hip amplitude, hip phase and
    // offset, period, time ratio.
    template <typename W>
    static void setParamsByHipY(W& w, const double* par)
    {
        w.aK = par[0];
        w.t1 = 0;
        w.t2 = 2 * par[8] * par[1];
        w.cK = par[2];
        w.aArm = par[3];
        w.aHY = par[4];
        w.aH = par[5];
        w.bH = par[6];
        w.cH = par[7];
        w.p = par[8];
        w.timeR = par[9];
    }

    // A walk has stopped once its speed and every hip amplitude are back to 0;
    // then it is finished.
    template <typename W>
    static bool checkStopped(W& w)
    {
        if (w.lastspeed == 0 && w.RMaHipY == 0 && w.RSaHipY == 0 && w.RMaRot == 0 &&
            w.RSaRot == 0) {
            w.finish = true;
            return true;
        }
        return false;
    }

    // Brings a walk to rest from time now on: no turn, speed 0, the hip yaw
    // cleared once the last speed is 0. True once it has stopped.
    template <typename W>
    static bool stop(W& w, float now)
    {
        w.RMaRot = w.RSaRot = 0;
        if (!w.stopflag) {
            w.stoptime = now;
            w.isstoppingflag = true;
        }
        w.speed = 0;
        if (w.lastspeed == 0) {
            w.RMaHipY = w.RSaHipY = 0;
            w.isstoppingflag = false;
        }
        checkStopped(w);
        return w.finish;
    }
};

#endif
