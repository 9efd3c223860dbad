#ifndef TESTS_PLANNING_PLANNINGFIXTURE_H
#define TESTS_PLANNING_PLANNINGFIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "physics/AgentModel.h"
#include "planning/FootstepPlanner.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

// The type-0 body with its hips at (0, +-0.055) on the field, facing +x,
// both feet level below them.
class PlanningTest : public ::testing::Test {
protected:
    void SetUp() override {
        model().initialize(std::string(QV_DATA_DIR) + "/nao.xml");
        model().getJoint(Types::ijLlj1)->position = Vector3f(0, 0.055f, 0.3f);
        model().getJoint(Types::ijRlj1)->position = Vector3f(0, -0.055f, 0.3f);
        model().setLFootPosition(Vector3f(0, 0.055f, -0.3f));
        model().setRFootPosition(Vector3f(0, -0.055f, -0.3f));
        model().setLFootOrientation(Vector3f(0, 0, 0));
        model().setRFootOrientation(Vector3f(0, 0, 0));
        world().me->position = Vector3f(0, 0, 0);
        world().me->orientation = 0;
        world().ballPos = Vector(1, 0);
    }

    static AgentModel& model() { return Singleton<AgentModel>::getInstance(); }
    static WorldState& world() { return Singleton<WorldState>::getInstance(); }

    static Footstep step(float x, float y, float duration, int foot) {
        return Footstep(Vector3f(x, y, 0), std::make_pair(0.0f, 0.0f), duration, foot);
    }

    // The walk's seed at a start: feet at +-0.055, a pause, then one step
    // on the given support foot.
    static void seedStart(FootstepPlanner& p, int support, float pause, float period) {
        p.Clear();
        Footstep right = step(0, -0.055f, 0, Footstep::RIGHT);
        Footstep left = step(0, 0.055f, 0, Footstep::LEFT);
        p.Add(support == Footstep::RIGHT ? right : left);
        p.Add(support == Footstep::RIGHT ? left : right);
        p.Add(step(0, 0, pause, Footstep::DOUBLE));
        Footstep last = support == Footstep::RIGHT ? right : left;
        last.duration = period;
        p.Add(last);
    }
};

#endif
