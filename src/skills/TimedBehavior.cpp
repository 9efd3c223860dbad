#include "skills/TimedBehavior.h"

#include "utils/Singleton.h"
#include "world/WorldState.h"

TimedBehavior::TimedBehavior(const std::string& name)
    : Behavior(name), behavior(nullptr), ws(&Singleton<WorldState>::getInstance()), initTime(0),
      duration(1.0f)
{
}

void TimedBehavior::init()
{
    initTime = ws->cTime;
    if (behavior)
        behavior->init();
}

void TimedBehavior::execute()
{
    if (finished())
        return;
    if (behavior->finished())
        behavior->init();
    behavior->execute();
}

bool TimedBehavior::finished()
{
    if (!behavior)
        return true;
    return ws->cTime - initTime >= duration && behavior->finished();
}
