#ifndef WORLD_AGENTSTATE_H
#define WORLD_AGENTSTATE_H

class AgentModel;

// Postures of the agent.
enum states {
    AS_STANDING = 0,
    AS_FALLEN_FRONT = 1,
    AS_FALLEN_BACK = 2,
    AS_FALLEN_SIDE = 3,
    AS_RISING_FRONT = 4,
    AS_RISING_BACK = 5,
    AS_RISING_SIDE = 6,
    AS_WALKING = 7,
    AS_KICKING = 8,
    AS_STOP = 9
};

// The agent's posture state machine, with the accelerometer fall test.
class AgentState {
public:
    bool mRising;
    bool mFallen;
    int mAgentState;
    AgentModel* mod;

    AgentState();
    // A copy is a fresh state; assignment leaves the target as it is.
    AgentState(const AgentState& other);
    AgentState& operator=(const AgentState& other);
    ~AgentState() {}

    states getAgentState() const;
    void setAgentState(states state);
    bool isRising() const;
    bool isFallen() const;

    void calculateFall();
    // Classifies a fall from the newest accelerometer reading and the mean
    // of the recent ones.
    void checkFallen();

private:
    int mTiltedChecks; // checks in a row with the mean reading tilted far over
};

#endif
