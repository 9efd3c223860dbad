#ifndef PHYSICS_PID_H
#define PHYSICS_PID_H

// PID state of one joint, stepped every 0.02 s.
class PID {
public:
    float sumError;
    float lastError;
    int lastErrorValid;

    PID();
    void reset();
    float getOutput(float current, float setpoint, float kp, float ki, float kd);
};

#endif
