#include "skills/WalkTo.h"

#include <algorithm>
#include <cmath>

#include "math/Math.h"
#include "skills/CPGBehavior.h"
#include "skills/MDLParser.h"
#include "utils/Singleton.h"
#include "world/WorldState.h"

namespace {

// Steering strength handed to the pattern walk.
const float STRENGTH = 2.5f;

} // namespace

WalkTo::WalkTo()
    : Behavior("WalkTo"), walk(nullptr), curStep(0), brake_fact(0), steerMaster(sm_Target)
{
    Behavior* loaded = MDLParser::parse("movs/test/Walk.xml", true);
    walk = dynamic_cast<CPGBehavior*>(loaded);
    if (!walk)
        delete loaded;
}

WalkTo::~WalkTo() { delete walk; }

void WalkTo::init()
{
    if (walk)
        walk->init();
    curStep = 0;
    brake_fact = 0;
    steerMaster = sm_Target;
}

bool WalkTo::finished() { return !walk || walk->finished(); }

void WalkTo::setRay(Ray r)
{
    ray = r;
    steerMaster = sm_Ray;
}

void WalkTo::execute()
{
    if (!walk)
        return;
    WorldState& ws = Singleton<WorldState>::getInstance();
    Vector pos(getVar("PosX", ws.ballPos.x), getVar("PosY", ws.ballPos.y));
    float brakeDistance = getVar("BrakeDistance", 0.4012f);
    float divFactor = getVar("DivFactor", 1);
    float startSpeed = getVar("StartSpeed", 0.3f);
    float targetSpeed = getVar("TargetSpeed", 0);

    float d = ws.myPos.getDistanceTo(pos);
    // A braking distance of 0 (or less) never brakes.
    float nb = brakeDistance > 0 && d < brakeDistance ? 1 - d / brakeDistance : 0;
    brake_fact = nb == 0 ? 0 : std::max(brake_fact, nb);
    float amplitude =
        static_cast<float>(Math::sigmoid(brake_fact, startSpeed, targetSpeed, 8));
    // A divisor of 0 leaves the amplitude as it is.
    if (divFactor != 0 && std::isfinite(divFactor))
        amplitude /= divFactor;

    Vector foot = ws.cFootPos;
    Vector point = pos;
    if (steerMaster == sm_Ray) {
        Vector dir = ray.getDir();
        if (dir.length() > 0)
            dir.normalize();
        point = ray.GetClosestPoint(foot) - dir;
        if (!ray.InRightDir(point))
            point = ray.getOrigin();
    }
    float angle =
        Deg2Rad(GetNormalizeAngleDeg((point - foot).getDirection() - ws.me->orientation));

    walk->setVar("AmpMod", std::isfinite(amplitude) ? amplitude : 0);
    walk->setVar("SteerAngle", angle);
    walk->setVar("Strength", STRENGTH);
    if (walk->finished()) {
        walk->init();
        ++curStep;
    }
    walk->execute();
}
