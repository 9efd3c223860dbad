#include "physics/PID.h"

namespace {
const float kStep = 0.02f;
}

PID::PID() : sumError(0), lastError(0), lastErrorValid(0) {}

void PID::reset() {
    sumError = 0;
    lastError = 0;
    lastErrorValid = 0;
}

float PID::getOutput(float current, float setpoint, float kp, float ki, float kd) {
    float error = setpoint - current;
    sumError = sumError + kStep * error;
    float derivative = lastErrorValid * (error - lastError) * kd / kStep;
    lastError = error;
    lastErrorValid = 1;
    return kp * error + ki * sumError + derivative;
}
