#ifndef PLANNING_WALKKICKPLANNER_H
#define PLANNING_WALKKICKPLANNER_H

#include <vector>

#include "geometry/Vector.h"
#include "planning/FootstepPlanner.h"

// Plans, one step at a time, the approach that ends with the support foot
// beside the ball turned toward the target and the kicking foot behind the
// ball: either the kick-support step, or the best of ten candidate steps.
class WalkKickPlanner : public FootstepPlanner {
public:
    // One row of approach parameters.
    struct SKickParams {
        // Ball centre to support foot at the kick (m).
        float distBall2Support = 0;
        // Between the line from the ball away from the target and the line
        // from the ball to the support foot.
        AngleRad angBall2Support = 0;
        // Extra yaw of the kick-support step toward the stepping side.
        AngleRad angPose2Kick = 0;
        float lastStepDur = 0;
        float period = 0;
        // The kick-support step only closer than this to the support foot.
        float maxStep = 0;
        // The kicking foot's last step: this far behind the ball on the line
        // to the target (m); lifted to swing height there, or set down in a
        // stance beside the support foot.
        float kickFootBehind = 0.23f;
        bool kickFootLands = false;
        // Both feet's last places this much further from the ball toward
        // the support foot's side (m).
        float side = 0;
    };

    enum eKick {
        SUPER_KICK = 0,
        CLEARBALL,
        SUPER_KICK_OFF,
        SUPER_KICK_OFFRIGHT,
        SUPER_KICK_OFFLEFT,
        SEVENM_KICK,
        GOAL_KICK,
        KUNGFU_KICK,
        DYNAMIC_KICK
    };

    SKickParams currKickParams;
    SKickParams superKickParams;
    SKickParams clearballParams;
    SKickParams superKickOffParams;
    SKickParams superKickOffRightParams;
    SKickParams superKickOffLeftParams;
    SKickParams sevenMKickParams;
    SKickParams goalKickParams;
    SKickParams kungfuKickParams;
    SKickParams dynamicKickParams;
    int currKick;
    int kickFoot;
    int suppAtKick;
    // +1 when the left foot moves next, -1 for the right.
    int signal;
    Footstep nextFoot;
    Footstep lastSupport;
    Vector vLFootRel;
    Vector vRFootRel;
    Vector vPelvis;
    Vector vSuppAtKickRel;
    Vector vKickFootFinalStep;
    Vector vSuppAtkickLeft;
    Vector vSuppAtKickRight;
    Vector vBallRel;
    Vector vTargetRel;
    Footstep previousStep[2];
    Vector m_target;
    Vector m_initBallPos;
    bool firstPlan;
    std::vector<Footstep> mSet;

    explicit WalkKickPlanner(OmniWalkPrevCtrl* pWlk);
    ~WalkKickPlanner() override {}

    void Update() override;
    Vector3f GetZMP(float t, int initial) override;
    bool Finished() override;
    Vector3f GetLastSwing(float t) override;
    Vector3f GetSwingPosition(float t) override;
    float GetPeriod() override;

    // Kinds 0 to 8 select their row; others change nothing.
    void SetKick(eKick k);
    // Shifts the current row's last places sideways (see SKickParams::side)
    // until the next SetKick.
    void SetSide(float m);
    void SetTarget(float x, float y);
    void SetInitBallPos(Vector ball);
    void SetFirstPlan(bool fp);
    void SetKickFoot(int foot);
    // Sets the last-step flag.
    void isLastStep(bool last);
    using FootstepPlanner::isLastStep;

    bool Aborted();
    int GetBestFoot2Kick();
    int GetBestFoot2Kick7mKick();
    int getKickFoot() const;
    // Yaw for a planned footstep (rad): at most 0.26 per step, only toward
    // the stepping foot's own side.
    float getBestOrientation(Footstep footstep);

    void ComputeRelativePosition();
    float calcHeuristicValue(Footstep step);
    bool checkForPenalties(Footstep step);
    void setPreviousStep(Footstep step);
    Footstep getPreviousStep(int id);
    bool isReachable(Vector step, Vector otherFoot);
    float LinearInterpolation(float a, float b, float t, float tTotal);

private:
    Vector kickFootFinalStep() const;
    float sideShift() const;
};

#endif
