#ifndef WORLD_VISION_H
#define WORLD_VISION_H

class AgentModel;
class WorldState;

// Gaze control: once per decision cycle chooses the neck pan and tilt
// (degrees) that keep the ball and enough landmarks in view, or sweeps the
// head while the agent knows too little, and commands the two head joints.
class Vision {
public:
    WorldState* ws;
    AgentModel* mod;

    Vision();
    virtual ~Vision() {}

    // Writes the world state's decided pan and tilt.
    bool decideLookingDirection2();
    // Sends the decided angles to the head joints; only finite ones.
    void commitPanTilt();

    // Search sweep at cycle time t (s): pan and tilt in degrees.
    static float searchPan(float t);
    static float searchTilt(float t);
    // The tilt that centres an object seen at vertical angle v with the
    // head tilted by tilt, inside the joint's usable range.
    static float centringTilt(float v, float tilt);
    // Utility of a view: the ball's horizontal angle (or a value of 59 or
    // more when it is out of view) and the landmarks' sorted |horizontal
    // angles| in view.
    static float viewUtility(bool ballInView, float ballPan, const float* marks, int count);
};

#endif
