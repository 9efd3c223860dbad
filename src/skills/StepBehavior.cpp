#include "logger/LoggerZek.h"
#include "skills/StepBehavior.h"

#include <cmath>
#include <iostream>
#include <map>
#include <sstream>

#include <libxml/tree.h>

#include "geometry/Vector.h"
#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/Types.h"
#include "skills/MDLParser.h"
#include "utils/Logger.h"
#include "utils/Singleton.h"
#include "utils/XMLNode.h"
#include "world/WorldState.h"

namespace {

const float kStepTimeout = 2.0f;
const int kWaitJoint = 22;

float currentAngle(int id) {
    Joint* j = Singleton<AgentModel>::getInstance().getJoint(id);
    return j ? j->getAngle() : 0;
}

}  // namespace

StepBehavior::StepBehavior() : StepBehavior(std::string()) {}

StepBehavior::StepBehavior(const std::string& n)
    : Behavior(n), currStep(0), d_lastStepTime(0), d_waitUntil(0), d_lastChecked(0) {}

void StepBehavior::parse(const std::string& fileName) {
    xmlDocPtr doc = MDLParser::readDocument(fileName);
    if (!doc) {
        MDLParser::unreadableFile(fileName);
    }
    XMLNode root(xmlDocGetRootElement(doc));
    std::string type = root.getAttributeValue("type");
    if (type != "StepBehavior") {
        xmlFreeDoc(doc);
        MDLParser::invalidType(fileName, "skills/StepBehavior", 45, type);
    }
    name = root.getAttributeValue("name");
    for (XMLNode n = root.getChildren(); n; n = n.getNext()) {
        if (MDLParser::isElement(n, "steps")) {
            readSteps(n.getContent(), fileName);
        }
    }
    xmlFreeDoc(doc);
}

void StepBehavior::readSteps(const std::string& text, const std::string& fileName) {
    std::istringstream in(text);
    while (!(in >> std::ws).eof()) {
        float wait = -1;
        // Joint -> (angle, maximum speed), in ascending joint order.
        std::map<int, std::pair<float, float> > joints;
        float cType = 0, trh = 0, power = 0, addPower = 0;
        bool any = false;
        char afterJoint = 0;
        char sep = 0;
        do {
            cType = 0;
            trh = 1.5f;
            power = 100;
            addPower = 0.05f;
            float maxSpeed = 100;
            int j = 0;
            float value = 0;
            char skip = 0;
            in >> j >> afterJoint >> value >> sep;
            if (in && sep == ':') {
                in >> maxSpeed >> sep;
            }
            if (!in) {
                break;
            }
            if (j > kWaitJoint) {
                break;
            }
            if (sep == '_') {
                in >> cType >> sep;
                if (in && sep == ':') {
                    if (cType != 0) {
                        in >> trh >> skip >> power >> skip >> addPower >> sep;
                    } else {
                        in >> trh >> sep;
                    }
                }
                if (!in) {
                    break;
                }
            }
            if (j == kWaitJoint) {
                wait = value;
            } else {
                joints[j] = std::make_pair(value, maxSpeed);
            }
            any = true;
        } while (afterJoint == '=' && sep != ';');
        if (!in) {
            // Text that does not read as numbers: never loop on it.
            std::cerr << fileName << ": unreadable steps text after step " << steps.size()
                      << "; the rest of the element is ignored" << std::endl;
            return;
        }
        if (!any) {
            continue;
        }
        addStep(wait, cType, trh, power, addPower);
        int index = static_cast<int>(steps.size()) - 1;
        for (std::map<int, std::pair<float, float> >::const_iterator it = joints.begin(); it != joints.end();
             ++it) {
            addMove(index, it->first, it->second.first, it->second.second);
        }
    }
}

void StepBehavior::addStep(float wait, float cType, float trh, float power, float addPower) {
    Step s;
    s.wait = wait;
    s.cType = cType;
    s.power = power;
    s.addPower = addPower;
    s.trh = trh;
    steps.push_back(s);
}

void StepBehavior::addMove(int step, int jid, float angle, float speed) {
    if (step < 0 || step >= static_cast<int>(steps.size()) || jid < 0 || jid >= Types::NJOINTS) {
        return;
    }
    steps[step].angles.push_back(std::make_pair(jid, angle));
    steps[step].speeds.push_back(std::make_pair(jid, speed));
}

void StepBehavior::init() {
    float g = Singleton<WorldState>::getInstance().gTime;
    initTime = g;
    d_lastStepTime = g;
    currStep = 0;
    if (!steps.empty()) {
        d_waitUntil = steps[0].wait + g;
    }
    Singleton<JointControl>::getInstance().resetPID();
}

void StepBehavior::execute() {
    float g = Singleton<WorldState>::getInstance().gTime;
    if (currStep < static_cast<int>(steps.size()) && g != d_lastChecked) {
        JointControl& jc = Singleton<JointControl>::getInstance();
        const Step& s = steps[currStep];
        bool proceed = true;
        if (g - d_lastStepTime > kStepTimeout) {
            // Time-out: on to the next step without setting targets.
        } else if (d_waitUntil > g) {
            proceed = false;
        } else {
            for (size_t i = 0; i < s.angles.size(); ++i) {
                int j = s.angles[i].first;
                float a = s.angles[i].second;
                if (!std::isfinite(a)) {
                    continue;  // a target that is not a number would poison the servo
                }
                float d = std::fabs(GetNormalizeAngleDeg(a - currentAngle(j)));
                jc.setJointTarget(j, a, -1, -1, -1);
                jc.setMaxSpeed(j, s.speeds[i].second);
                if (d > s.trh) {
                    proceed = false;
                }
            }
        }
        jc.setFastControlerParameters(s.power, s.addPower);
        Logger& log = Singleton<Logger>::getInstance();
        if (s.cType != 0) {
            log.LogActionN(1, "in step %4.2f execute with FASTController trh=%4.2f , Pow=%4.2f ,addPow=%4.2f ",
                           static_cast<float>(currStep), s.trh, s.power, s.addPower);
            jc.fastExecute();
        } else {
            log.LogActionN(1, "in step %4.2f execute with PREController with trh=%4.2f", static_cast<float>(currStep),
                           s.trh);
            jc.commit();
        }
        if (proceed) {
            ++currStep;
            d_lastStepTime = g;
            if (currStep < static_cast<int>(steps.size())) {
                d_waitUntil = steps[currStep].wait + g;
            }
        }
    }
    d_lastChecked = g;
}

bool StepBehavior::finished() {
    if (currStep != static_cast<int>(steps.size())) {
        return false;
    }
    LOG(log_DEBUG) << name << " is finished";
    return true;
}
