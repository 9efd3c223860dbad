#ifndef PLANNING_FOOTSTEPPLANNER_H
#define PLANNING_FOOTSTEPPLANNER_H

#include <iosfwd>
#include <vector>

#include "geometry/Vector3f.h"
#include "planning/Footstep.h"

class AgentModel;
class LoggerMatlab;
class OmniWalkPrevCtrl;
class WorldState;

// The footstep queue of the footstep walk and the questions the walk asks
// about it. Index 0 and 1 hold the latest placements of the two feet before
// the step under way, index 2 the step under way, index 3 the next one. The
// walk seeds the queue; a planner only appends.
class FootstepPlanner {
public:
    std::vector<Footstep> footsteps;
    // Cursor left behind by the walking queries.
    std::vector<Footstep>::iterator it;
    bool isFinished;
    bool lastStep;
    OmniWalkPrevCtrl* pWalk;
    WorldState* world;
    AgentModel* model;
    LoggerMatlab* log;

    explicit FootstepPlanner(OmniWalkPrevCtrl* pWlk);
    virtual ~FootstepPlanner();
    FootstepPlanner(const FootstepPlanner&) = delete;
    FootstepPlanner& operator=(const FootstepPlanner&) = delete;

    // Appends the planned footsteps.
    virtual void Update() = 0;
    // The zero-moment-point reference t seconds after footstep initial began.
    virtual Vector3f GetZMP(float t, int initial) = 0;
    virtual bool Finished() = 0;
    // The swing foot during the last footstep of the queue.
    virtual Vector3f GetLastSwing(float t);
    // The swing foot t seconds into the current footstep.
    virtual Vector3f GetSwingPosition(float t) = 0;
    // The swing foot t seconds into the current footstep on a quadratic arc of the
    // given height, from where it left the ground to the next footstep; the last
    // swing once fewer than four footsteps are queued.
    Vector3f swingArc(float t, float height);
    // Duration of a normal step (s).
    virtual float GetPeriod() = 0;

    void Add(const Footstep& step);
    // Before index pos; at or past the end appends.
    void Insert(const Footstep& step, unsigned pos);
    // The first footstep; nothing on an empty queue.
    void Remove();
    // Nothing for a pos at or past the end.
    void Remove(unsigned pos);
    // Indices from through to, as far as they exist.
    void Remove(unsigned from, unsigned to);
    void Clear();
    bool IsEmpty() const;
    int GetNumberOfSteps() const;
    void SetFinished(bool finished);
    bool isLastStep() const;

    // Range-checked: throws std::out_of_range past the end.
    Footstep& GetFootstep(unsigned pos);
    Footstep& GetPrevious();
    Footstep& GetCurrent();
    Footstep& GetNext();
    // The last footstep; on an empty queue a double-support footstep at the
    // origin that belongs to no queue.
    Footstep& GetLast();

    float GetTotalDuration(int initial);
    // Index of the footstep under way t seconds after footstep initial began.
    int GetFootstepPosT(float t, int initial);
    Footstep& GetFootstepT(float t, int initial);
    // The latest left (right) placement at index initial or before; null
    // when there is none.
    Footstep* GetPreviousLeft(int initial);
    Footstep* GetPreviousRight(int initial);

    // One line per footstep: position, orientation, duration, foot.
    void Print(std::ostream& out);
    void Print();

protected:
    Footstep none;

    Footstep* previousOf(int initial, int foot);
};

#endif
