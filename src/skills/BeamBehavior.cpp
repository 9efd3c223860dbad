#include "skills/BeamBehavior.h"

#include "physics/JointControl.h"
#include "physics/Types.h"
#include "utils/Singleton.h"
#include "utils/communication/Actions.h"

namespace {

// Speed limit of every joint while beaming.
const float BEAM_JOINT_SPEED = 0.5f;

} // namespace

BeamBehavior::BeamBehavior(const std::string& name) : Behavior(name), x(0), y(0), ang(0) {}

void BeamBehavior::setBeamPos(Vector3f pos)
{
    x = pos.x;
    y = pos.y;
    ang = pos.z;
}

void BeamBehavior::execute()
{
    Singleton<Actions>::getInstance().Beam(x, y, ang);
    JointControl& jc = Singleton<JointControl>::getInstance();
    for (int id = 0; id < Types::NJOINTS; ++id) {
        jc.setJointTarget(id, 0, -1, -1, -1);
        jc.setMaxSpeed(id, BEAM_JOINT_SPEED);
    }
    jc.commit();
}
