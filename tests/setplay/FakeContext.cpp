#include "FakeContext.h"

#include "setplay/Cond.h"

namespace setplaytest {

bool FakeContext::lookup(const CondOppGoal& c) const { return c.getComp().compare(oppGoals, c.getValue()); }
bool FakeContext::lookup(const CondOurGoal& c) const { return c.getComp().compare(ourGoals, c.getValue()); }
bool FakeContext::lookup(const CondGoalDiff& c) const {
    return c.getComp().compare(ourGoals - oppGoals, c.getValue());
}

}  // namespace setplaytest
