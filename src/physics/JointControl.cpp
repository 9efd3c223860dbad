#include "physics/JointControl.h"

#include <cmath>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"

namespace {
const float kMaxLastRate = 6;
const float kLookAhead = 0.85;
}

JointControl::JointControl() : power(100), powerAdd(0.5) {
    for (int i = 0; i < Types::NJOINTS; ++i) {
        targets[i] = 0;
        lastRate[i] = 0;
        controllers[i] = PID();
    }
    resetPID();
}

bool JointControl::isJoint(int id) {
    return id >= 0 && id < Types::NJOINTS;
}

void JointControl::setJointTarget(int id, float target, float kp, float ki, float kd) {
    if (!isJoint(id)) {
        return;
    }
    targets[id] = target;
    if (kp != -1) {
        pids[id].x = kp;
    }
    if (ki != -1) {
        pids[id].y = ki;
    }
    if (kd != -1) {
        pids[id].z = kd;
    }
}

float JointControl::getJointTarget(int id) {
    std::map<int, float>::const_iterator it = targets.find(id);
    return it == targets.end() ? 0 : it->second;
}

void JointControl::setMaxSpeed(int id, float maxSpeed) {
    if (isJoint(id)) {
        max_speeds[id] = maxSpeed;
    }
}

void JointControl::setKp(int id, float value) {
    if (isJoint(id)) {
        pids[id].x = value;
    }
}

void JointControl::setKi(int id, float value) {
    if (isJoint(id)) {
        pids[id].y = value;
    }
}

void JointControl::setKd(int id, float value) {
    if (isJoint(id)) {
        pids[id].z = value;
    }
}

float JointControl::getKp(int id) {
    if (!isJoint(id)) {
        return 1000;
    }
    return pids[id].x;
}

void JointControl::resetPID() {
    for (int i = 0; i < Types::NJOINTS; ++i) {
        pids[i] = Vector3f(0.1f, 0, 0);
        max_speeds[i] = 100;
    }
    max_speeds[Types::ijHj1] = 10;
    max_speeds[Types::ijHj2] = 10;
}

void JointControl::setFastControlerParameters(float pow, float powAdd) {
    power = pow;
    powerAdd = powAdd;
}

float JointControl::limit(int id, float out) {
    float maxSpeed = max_speeds[id];
    if (maxSpeed > 0) {
        if (out > maxSpeed) {
            out = maxSpeed;
        } else if (out < -maxSpeed) {
            out = -maxSpeed;
        }
    } else if (maxSpeed < 0) {
        out = out * std::fabs(maxSpeed);
    }
    return out;
}

void JointControl::commit() {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    Actions& actions = Singleton<Actions>::getInstance();
    for (int i = Types::ijLlj1; i < Types::NJOINTS; ++i) {
        Joint* joint = model.getJoint(i);
        if (!joint) {
            continue;
        }
        float angle = joint->getAngle();
        float predicted = static_cast<float>(static_cast<double>(angle) + kLookAhead * static_cast<double>(lastRate[i]));
        const Vector3f& gains = pids[i];
        float out = limit(i, controllers[i].getOutput(predicted, targets[i], gains.x, gains.y, gains.z));
        actions.MoveJointTo(i, out);
        if (out > kMaxLastRate) {
            lastRate[i] = kMaxLastRate;
        } else if (out < -kMaxLastRate) {
            lastRate[i] = -kMaxLastRate;
        } else {
            lastRate[i] = out;
        }
    }
    actions.Send();
}

void JointControl::commitHead() {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    Actions& actions = Singleton<Actions>::getInstance();
    for (int i = Types::ijHj1; i <= Types::ijHj2; ++i) {
        Joint* joint = model.getJoint(i);
        if (!joint) {
            continue;
        }
        const Vector3f& gains = pids[i];
        float out = limit(i, controllers[i].getOutput(joint->getAngle(), targets[i], gains.x, gains.y, gains.z));
        actions.MoveJointTo(i, out);
    }
}

void JointControl::fastExecute() {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    Actions& actions = Singleton<Actions>::getInstance();
    for (int i = 0; i < Types::NJOINTS; ++i) {
        Joint* joint = model.getJoint(i);
        if (!joint) {
            continue;
        }
        float delta = joint->getAngle() - targets[i];
        float sign = delta > 0 ? 1.0f : -1.0f;
        float out = -(delta / 180 * power) - sign * powerAdd;
        float lim = std::fabs(max_speeds[i]);
        if (out >= lim) {
            out = lim;
        }
        if (out < -lim) {
            out = -lim;
        }
        actions.MoveJointTo(i, out);
    }
    actions.Send();
}
