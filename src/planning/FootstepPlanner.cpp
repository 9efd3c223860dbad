#include "planning/FootstepPlanner.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "math/Bezier.h"
#include "physics/AgentModel.h"
#include "utils/LoggerMatlab.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

FootstepPlanner::FootstepPlanner(OmniWalkPrevCtrl* pWlk)
    : isFinished(false),
      lastStep(false),
      pWalk(pWlk),
      world(&Singleton<WorldState>::getInstance()),
      model(&Singleton<AgentModel>::getInstance()),
      log(&LoggerMatlab::getInstance()) {
    it = footsteps.end();
}

FootstepPlanner::~FootstepPlanner() {}

Vector3f FootstepPlanner::GetLastSwing(float) {
    return Vector3f(0, 0, 0);
}

void FootstepPlanner::Add(const Footstep& step) {
    footsteps.push_back(step);
    it = footsteps.end();
}

void FootstepPlanner::Insert(const Footstep& step, unsigned pos) {
    if (pos >= footsteps.size()) {
        footsteps.push_back(step);
    } else {
        footsteps.insert(footsteps.begin() + pos, step);
    }
    it = footsteps.end();
}

void FootstepPlanner::Remove() {
    if (!footsteps.empty()) {
        footsteps.erase(footsteps.begin());
    }
    it = footsteps.end();
}

void FootstepPlanner::Remove(unsigned pos) {
    if (pos < footsteps.size()) {
        footsteps.erase(footsteps.begin() + pos);
    }
    it = footsteps.end();
}

void FootstepPlanner::Remove(unsigned from, unsigned to) {
    if (from < footsteps.size() && from <= to) {
        unsigned end = to < footsteps.size() ? to + 1 : static_cast<unsigned>(footsteps.size());
        footsteps.erase(footsteps.begin() + from, footsteps.begin() + end);
    }
    it = footsteps.end();
}

void FootstepPlanner::Clear() {
    footsteps.clear();
    it = footsteps.end();
}

bool FootstepPlanner::IsEmpty() const {
    return footsteps.empty();
}

int FootstepPlanner::GetNumberOfSteps() const {
    return static_cast<int>(footsteps.size());
}

void FootstepPlanner::SetFinished(bool finished) {
    isFinished = finished;
}

bool FootstepPlanner::isLastStep() const {
    return lastStep;
}

Footstep& FootstepPlanner::GetFootstep(unsigned pos) {
    return footsteps.at(pos);
}

Footstep& FootstepPlanner::GetPrevious() {
    return GetFootstep(1);
}

Footstep& FootstepPlanner::GetCurrent() {
    return GetFootstep(2);
}

Footstep& FootstepPlanner::GetNext() {
    return GetFootstep(3);
}

Footstep& FootstepPlanner::GetLast() {
    if (footsteps.empty()) {
        none = Footstep();
        return none;
    }
    it = footsteps.end() - 1;
    return *it;
}

float FootstepPlanner::GetTotalDuration(int initial) {
    float total = 0;
    for (it = footsteps.begin() + std::min<size_t>(initial < 0 ? 0 : initial, footsteps.size());
         it != footsteps.end(); ++it) {
        total += it->duration;
    }
    return total;
}

int FootstepPlanner::GetFootstepPosT(float t, int initial) {
    int count = static_cast<int>(footsteps.size());
    int n = initial - 1;
    while (t >= -0.0001) {
        n++;
        if (n > count - 1) {
            return n - 1;
        }
        t -= footsteps[n].duration;
    }
    return n;
}

Footstep& FootstepPlanner::GetFootstepT(float t, int initial) {
    return GetFootstep(static_cast<unsigned>(GetFootstepPosT(t, initial)));
}

Footstep* FootstepPlanner::previousOf(int initial, int foot) {
    int last = static_cast<int>(footsteps.size()) - 1;
    for (int i = initial > last ? last : initial; i >= 0; i--) {
        if (footsteps[i].foot == foot) {
            it = footsteps.begin() + i;
            return &footsteps[i];
        }
    }
    return nullptr;
}

Footstep* FootstepPlanner::GetPreviousLeft(int initial) {
    return previousOf(initial, Footstep::LEFT);
}

Footstep* FootstepPlanner::GetPreviousRight(int initial) {
    return previousOf(initial, Footstep::RIGHT);
}

void FootstepPlanner::Print(std::ostream& out) {
    for (it = footsteps.begin(); it != footsteps.end(); ++it) {
        out << "\t" << it->position.x << " " << it->position.y << " " << it->position.z << "\t< "
            << it->orientation.first << " , " << it->orientation.second << " >\t" << it->duration << "\t"
            << it->foot << std::endl;
    }
}

void FootstepPlanner::Print() {
    Print(std::cout);
}

Vector3f FootstepPlanner::swingArc(float t, float height) {
    if (footsteps.size() < 4) {
        return GetLastSwing(t);
    }
    Vector3f initial = footsteps[1].foot == Footstep::DOUBLE ? footsteps[0].position : footsteps[1].position;
    Vector3f final = footsteps[3].position;
    float d = footsteps[2].duration;
    if (!(d > 0)) {
        return final;
    }
    Vector3f middle = Vector3f::determineMidpoint(initial, final);
    middle.z = height;
    Bezier curve;
    curve.setQuadratic(initial, middle, final, d);
    return curve.getQuadraticPosition(t);
}
