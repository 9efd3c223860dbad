#ifndef SKILLS_SLOTBEHAVIOR_H
#define SKILLS_SLOTBEHAVIOR_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <libxml/tree.h>

#include "geometry/Vector3f.h"
#include "skills/Behavior.h"

class Joint;

// Half-cosine ease from angi (x = 0) to angf (x = delta); 0 when delta is not
// positive.
float sineControl(float angi, float angf, float delta, float x);

// A keyframe motion: slots of joint targets, each eased in over its duration
// on the server clock and handed to the joint servo.
class SlotBehavior : public Behavior {
public:
    struct Slot {
        float delta;
        // "KICK": every joint of the slot jumps to its final angle.
        std::string slotname;
        // (joint id, angle in degrees), in insertion order.
        std::vector<std::pair<int, float> > targets;
    };

    std::vector<Slot> slots;
    // Gains (kp, ki, kd) of each joint for the whole motion; -1: not given.
    std::map<int, Vector3f> pids;
    // Angle of each joint when the current slot began.
    std::map<int, float> angis;
    int currSlot;
    float elapsed;
    float d_lastSlotTime;
    float d_lastChecked;
    bool beamEnabled;
    // Ease from the angle at slot start instead of the current angle.
    bool use_sineCorrection;
    float x;
    float y;
    float ang;
    // 0 in normal timing, 0.02 in expedite mode.
    float expediteModeAdjustment;
    // The first slot's easing time follows from the largest travel.
    bool transitionMode;
    xmlDocPtr doc;

    SlotBehavior();
    explicit SlotBehavior(const std::string& name);
    ~SlotBehavior() override;
    SlotBehavior(const SlotBehavior&) = delete;
    SlotBehavior& operator=(const SlotBehavior&) = delete;

    void init() override;
    void execute() override;
    bool finished() override;

    // Reads a keyframe motion file; angles are always clamped into the joint
    // limits. Unreadable file or wrong type: one line, exit status 1.
    void parse(const std::string& fileName, bool correctAnglesOutOfRange);
    using Behavior::parse;

    void addSlot(float delta, const std::string& slotName);
    void addSlot(const std::vector<Joint*>& joints, const std::vector<float>& targetAngles, float delta,
                 const std::string& slotName, float kp, float ki, float kd);
    // Ignored for a slot or joint out of range. The joint's gains become
    // these for the whole motion.
    void addMove(int slot, int jid, float target, bool correctAngleIfOutOfRange, float kp, float ki, float kd);
    // Duration clamped into [0, 3].
    void changeDelta(int slot, float delta);
    void changeMove(int slot, int jid, float target);
    void addMoveAndApplyInModel(int slotIndex, int jointId, float targetAngle, bool correctAngleIfOutOfRange);

    Slot* getSlotByIndex(const unsigned& index);
    std::pair<int, float>* getSlotTarget(const unsigned& slotIndex, int targetKey);
    std::pair<int, float>* getSlotTarget(const unsigned& slotIndex, float targetKey);
    int getNumberOfSlots() const;

    void enableBeam(bool enable);
    bool isBeamEnabled() const;
    // x, y and heading (z) of the pose beamed to every cycle.
    void setBeamPos(const Vector3f& pos);
    void switchToExpediteMode();
    void switchToTransitionMode(bool on);
    void setSineCorrection(bool on);

private:
    void construct();
    std::pair<int, float>* reportMissingTarget();
};

#endif
