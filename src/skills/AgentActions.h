#ifndef SKILLS_AGENTACTIONS_H
#define SKILLS_AGENTACTIONS_H

#include <optional>
#include <string>
#include <vector>

#include "geometry/Geometry.h"
#include "geometry/Vector.h"
#include "skills/DecisionActions.h"
#include "skills/KickChain.h"
#include "world/AgentState.h"

class AgentModel;
class Behavior;
class IKPose;
class OmniDirectionalKick;
class OmniWalkPrevCtrl;
class OmniWalkZMP;
class SlotBehavior;
class WorldState;
class omniMidLevelSkill;

// The action library: owns every motion behaviour of the player, holds the
// current one and switches it for the decision layer (walk, dribble, kick,
// pass, get up). One per process, through Singleton<AgentActions>; it is
// built on first use and loads all its motion files then.
class AgentActions : public DecisionActions {
public:
    // Robot types 0 to 4 each have a slot in the per-type tables.
    static constexpr int ROBOT_TYPES = 5;
    // Loads made at construction: (member name, slot or -1, file).
    struct MotionLoad {
        const char* member;
        int slot;
        std::string file;
    };

    WorldState* ws;
    // Executed by the think step; never null.
    Behavior* currBehavior;
    // currBehavior at the start of the think step.
    Behavior* prevBehavior;
    // What preceded the stop motion.
    Behavior* prevStopBehavior;

    omniMidLevelSkill* bOmniMidLevelSkill;
    OmniWalkZMP* bOmniWalkZmp;
    OmniWalkPrevCtrl* bOmniWalkPrevCtrl;
    OmniDirectionalKick* bOmniKick;
    SlotBehavior* bZeroWalk;
    SlotBehavior* bZero;
    SlotBehavior* bStop;
    SlotBehavior* bGoalieHockey;
    SlotBehavior* bGoalieHockeyDefend;
    SlotBehavior* bGetupFromHockey;
    SlotBehavior* bFallLeft;
    SlotBehavior* bFallRight;
    SlotBehavior* bGetupFrontTurningRight;
    SlotBehavior* bGetupFrontTurningLeft;
    SlotBehavior* bGetupFront[ROBOT_TYPES];
    SlotBehavior* bGetupBack[ROBOT_TYPES];
    SlotBehavior* bOpenandCloseArms;
    SlotBehavior* bGoalKickLeft[ROBOT_TYPES];
    SlotBehavior* bGoalKickRight[ROBOT_TYPES];
    SlotBehavior* bSKickLeft[ROBOT_TYPES];
    SlotBehavior* bSKickRight[ROBOT_TYPES];
    SlotBehavior* bStdKickLeft[ROBOT_TYPES];
    SlotBehavior* bStdKickRight[ROBOT_TYPES];
    IKPose* bIKPose;

    // Passed with every walk command.
    bool presureWalk;
    AgentState* aState;
    AgentModel* mod;
    // The walk arrived exactly at its target; allows the omnidirectional kick.
    bool shouldDynamickKick;
    double lastDynamickKick;
    // Stage of goToAuxPoint: 0, 1, 2.
    int kickState;
    // The kick chains' tuned numbers by robot type, read at construction.
    KickChain kickChain[ROBOT_TYPES];

    AgentActions();
    ~AgentActions() override {}
    AgentActions(const AgentActions&) = delete;
    AgentActions& operator=(const AgentActions&) = delete;

    // The fifty loads, in load order.
    static std::vector<MotionLoad> motionLoads();
    // The robot type of the body model; 0 to 4 (checked when the body
    // description is read).
    int robotType() const;
    // The kick chains' numbers for the robot type.
    const KickChain& chain() const { return kickChain[robotType()]; }

    // Walking.
    void ZMPWalkOmniCall(double vX, double vY, double vTheta, double heightCoM = 0, double swingHeight = 0.07,
                         double period = 0.14);
    void goToStrategicPoint(Vector Point, float dir, bool avoidBall, bool avoidTeamMate, bool avoidTheirPlayer,
                            Circle obstacle) override;
    void moveBalltoTarg(Vector target, float curve, bool avoidTeamMate, bool avoidTheirPlayer,
                        float distBehindBall) override;
    void gotoPointDesperate(Vector target) override;
    void backDesperate(Vector target) override;
    void goToShootPoint(Vector kickTarget, float dis, bool avoidTeamMate, bool avoidTheirPlayer, float speedatTarg,
                        bool dynamic, bool setplay);
    void executeStopWalk(double dir, int opp);
    void goToTarget(Vector finalTarget, float dir, float curve, float speedatTarg, bool relface, float relFaceOri,
                    float globalFaceOri, bool avoidBall, bool avoidTeamMate, bool avoidTheirPlayer, Circle obstacle,
                    bool dynamic, bool setplay);
    void moveToTarget(Vector finalTarget, Vector nextTempTarget, float speedatTarg, bool relface, float relFaceOri,
                      float globalFaceOri);

    // Kicking and passing.
    void kickToTarget(Vector kickTarget) override;
    void dynamicKickToTarget(Vector kickTarget, bool setplay) override;
    void directKick(Vector kickTarget);
    // Asks for the pass mode for each opponent within 2 m of the ball met
    // before the first one within 1 m.
    void serverPass() override;
    bool shouldDirectKick() override;
    bool shouldLongKick() override;
    bool shouldClearBall() override;
    bool isClearToLongKick();
    bool isClearToDirectKick(float distance);
    bool continueLongKick() override;
    bool goToAuxPoint(Vector kickTarget);
    // The keyframe kick for the play mode, kick foot (0 right, 1 left) and
    // robot type.
    SlotBehavior* keyframeKick(int playMode, int kickFoot, int type) const;
    // The kick target after the aim correction of the robot type.
    Vector aimedTarget(Vector kickTarget, int type) const;
    // Whether the ball lies where the keyframe kick after the walk-and-kick
    // approach meets it.
    bool ballWhereKeyframeKickReaches() const;
    // Once the swing of the keyframe kick kickToTarget started is over, for
    // the robot types that fall backward out of its follow-through: sets the
    // kicking foot down behind the hips instead (the catch step). True when
    // it starts the step.
    bool catchAfterKick();

    // Getting up.
    void checkGettingUp();
    // True while the library keeps control of the body.
    bool doGetup() override;
    void Getup();
    bool isGettingUpTurning();
    int selectOffMarkerOpp();
    bool shouldBlockPass();

private:
    void loadMovs();
    // Whether a get-up may start now (0.75 s since the last one ended).
    bool getupPauseOver() const;
    bool isGetupMotion(Behavior* b) const;
    void startGetup(SlotBehavior* motion, states state, bool setState);
    bool ballFarFromTheirGoal() const;
    // Starts the omnidirectional kick with the right foot.
    void startOmniKick();
    // Whether the body stands within moveToTarget's arrival box of target.
    bool withinArrival(Vector target) const;
    // Arrived: creeps forward (or steps `forward` m ahead) turning by turn,
    // stepping `sideways` m to the right, and allows the omnidirectional kick.
    void creepArrived(double turn, double sideways = 0, std::optional<double> forward = {});
    // Walks toward walkOri (deg, relative to the body) at k of the full step,
    // turning by turn; the omnidirectional kick's allowance lapses 2 s after
    // the last arrival.
    void walkToward(float walkOri, float k, double turn);
    // The omnidirectional kick's last steps up to its stance at shoot, facing
    // finalorientation; false, sending nothing, where they do not apply yet.
    bool omniKickLastSteps(Vector shoot, Vector ball, float finalorientation);
    // Arrived at the omnidirectional kick's stance: creeps on, turning by
    // turn. Creeping straight on never brings a ball beside the kick's window
    // into it and pushes a ball short of it away: the creep steps sideways
    // and ahead or back toward it.
    void creepIntoOmniWindow(double turn);
    // The keyframe kick kickToTarget started, while it may still take the
    // catch step; else null.
    SlotBehavior* chainKick = nullptr;
    // The sideways step (m, to the right) of the omnidirectional kick's creep,
    // and its step ahead (none yet: the usual creep).
    double omniSideways = 0;
    std::optional<double> omniForward;
};

#endif
