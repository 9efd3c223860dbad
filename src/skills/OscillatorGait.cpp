#include "skills/OscillatorGait.h"

#include <cmath>

#include "math/Sine.h"
#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

double limited(double v, double limit)
{
    if (!std::isfinite(v))
        return 0;
    return v > limit ? limit : (v < -limit ? -limit : v);
}

// Speed bands of the turning table, fastest first; the last band is any
// speed of the walking direction.
const double BAND[7] = {0.95, 0.85, 0.65, 0.45, 0.35, 0.25, 0.1};
const double SHARP[8] = {2.5, 4, 4, 3.5, 4, 6, 6.5, 7.5};
const double MILD[8] = {2.5, 4.5, 4, 3.5, 4, 6, 6.5, 7.5};
// Bands at or above this index leave the stride alone.
const int STRIDE_BANDS = 3;

} // namespace

float OscillatorGait::timeStep()
{
    float dt = Singleton<WorldState>::getInstance().timeStep;
    return std::isfinite(dt) && dt > 0 ? dt : 0.02f;
}

double OscillatorGait::predict(double angle, double target)
{
    float k = 1.0f / (100.0f * timeStep());
    return limited((target - angle) * k, PREDICT_LIMIT);
}

double OscillatorGait::proportional(float current, float setpoint)
{
    float cmd = 0.1f * (setpoint - current);
    return limited(cmd, PROPORTIONAL_LIMIT);
}

float OscillatorGait::jointAngle(int id)
{
    Joint* j = Singleton<AgentModel>::getInstance().getJoint(id);
    return j ? j->getAngle() : 0;
}

double OscillatorGait::curve(const double table[4], double t, double g)
{
    Sine s(static_cast<float>(table[0]), static_cast<float>(table[1]),
           static_cast<float>(table[2]), static_cast<float>(table[3]));
    return s(static_cast<float>(t), static_cast<float>(g));
}

double OscillatorGait::turnAmplitude(double degree, double v, bool forward, double sharpBound,
                                     double current, float& rm, float& rs)
{
    double aRot = current;
    int band = -1;
    for (int i = 0; i < 7 && band < 0; ++i)
        if (forward ? v > BAND[i] : v < -BAND[i])
            band = i;
    if (band < 0 && (forward ? v >= 0 : v <= 0))
        band = 7;
    if (band >= 0) {
        if (forward && degree > sharpBound) {
            aRot = -SHARP[band];
            if (band < STRIDE_BANDS)
                rm = 0.7f;
        } else if (forward && degree < -sharpBound) {
            aRot = SHARP[band];
            if (band < STRIDE_BANDS)
                rs = 0.7f;
        } else if (degree > TURN_DEAD_BAND) {
            aRot = -MILD[band];
        } else if (degree < -TURN_DEAD_BAND) {
            aRot = MILD[band];
        }
    }
    if (std::fabs(degree) <= TURN_DEAD_BAND)
        aRot = 0;
    return aRot;
}
