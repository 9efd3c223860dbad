#include "logger/LoggerZek.h"
#include "skills/CPGBehavior.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include <libxml/tree.h>

#include "math/Sine.h"
#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/Types.h"
#include "skills/MDLParser.h"
#include "utils/Singleton.h"
#include "utils/XMLNode.h"
#include "world/WorldState.h"

namespace {

const float kStartSample = 0.02f;
const float kTransitionTime = 0.2f;

float sum(const std::vector<float>& values) {
    float s = 0;
    for (size_t k = 0; k < values.size(); ++k) {
        s += values[k];
    }
    return s;
}

bool isLeftLeg(int id) {
    return id >= Types::ijLlj1 && id <= Types::ijRlj6 && id % 2 == 0;
}

bool isRightLeg(int id) {
    return id >= Types::ijLlj1 && id <= Types::ijRlj6 && id % 2 == 1;
}

}  // namespace

CPGBehavior::CPGBehavior() : Behavior(), delta(0), d_lastChecked(0) {}

CPGBehavior::CPGBehavior(const std::string& n) : Behavior(n), delta(0), d_lastChecked(0) {
    for (int i = 0; i < Types::NJOINTS; ++i) {
        pids[i] = Vector3f(-1, -1, -1);
        patterns[i] = nullptr;
    }
}

CPGBehavior::~CPGBehavior() {
    for (std::map<int, PatternGenerator<float, float>*>::iterator it = patterns.begin(); it != patterns.end(); ++it) {
        delete it->second;
    }
}

void CPGBehavior::setPattern(int id, PatternGenerator<float, float>* pattern, float kp, float ki, float kd) {
    if (id < 1 || id >= Types::NJOINTS) {
        return;
    }
    PatternGenerator<float, float>*& slot = patterns[id];
    if (slot != pattern) {
        delete slot;
        slot = pattern;
    }
    pids[id] = Vector3f(kp, ki, kd);
}

void CPGBehavior::setDelta(float d) {
    delta = d;
}

void CPGBehavior::parse(const std::string& fileName) {
    xmlDocPtr doc = MDLParser::readDocument(fileName);
    if (!doc) {
        MDLParser::unreadableFile(fileName);
    }
    XMLNode root(xmlDocGetRootElement(doc));
    std::string type = root.getAttributeValue("type");
    if (type != "CPGBehavior") {
        xmlFreeDoc(doc);
        MDLParser::invalidType(fileName, "skills/CPGBehavior", 57, type);
    }
    name = root.getAttributeValue("name");
    std::cerr << "CPGparse " << fileName << " name " << name << std::endl;
    for (XMLNode n = root.getChildren(); n; n = n.getNext()) {
        if (MDLParser::isElement(n, "delta")) {
            delta = MDLParser::realText(n.getContent(), 0);
        } else if (MDLParser::isElement(n, "patterns")) {
            readPatterns(n.getContent(), fileName);
        }
    }
    xmlFreeDoc(doc);
    buildTransition();
}

void CPGBehavior::readPatterns(const std::string& text, const std::string& fileName) {
    std::istringstream in(text);
    while (!(in >> std::ws).eof()) {
        int id = 0;
        char colon = 0;
        if (!(in >> id >> colon)) {
            break;
        }
        if (colon != ':') {
            return;
        }
        std::unique_ptr<PatternGenerator<float, float> > generator(new PatternGenerator<float, float>());
        std::vector<std::unique_ptr<Function<float, float> > > terms;
        char sep = 0;
        do {
            float amplitude = 0, period = 0, phase = 0, offset = 0;
            if (!(in >> amplitude >> period >> phase >> offset >> sep)) {
                break;
            }
            terms.emplace_back(new Sine(amplitude, period, phase, offset));
            generator->addFunction(terms.back().get());
        } while (sep != ';');
        if (!in) {
            break;
        }
        if (id >= 1 && id < Types::NJOINTS) {
            for (size_t k = 0; k < terms.size(); ++k) {
                components.push_back(std::move(terms[k]));
            }
            setPattern(id, generator.release(), -1, -1, -1);
        }
    }
    if (!in) {
        // Text that does not read as numbers: never loop on it.
        std::cerr << fileName << ": unreadable patterns text; the rest of the element is ignored" << std::endl;
    }
}

void CPGBehavior::buildTransition() {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    std::vector<Joint*> joints;
    std::vector<float> angles;
    for (std::map<int, PatternGenerator<float, float>*>::iterator it = patterns.begin(); it != patterns.end(); ++it) {
        if (!it->second) {
            continue;
        }
        float start = sum((*it->second)(kStartSample, 1));
        std::cerr << "CPGparse j " << it->first << " targ " << start << std::endl;
        joints.push_back(model.getJoint(it->first));
        angles.push_back(start);
    }
    transition.setSineCorrection(true);
    transition.addSlot(joints, angles, kTransitionTime, "slot", 0.1f, 0, 0);
}

void CPGBehavior::init() {
    WorldState& ws = Singleton<WorldState>::getInstance();
    float t = ws.cTime;
    initTime = t;
    ws.CPGTime = t;
    Singleton<JointControl>::getInstance().resetPID();
    transition.init();
}

void CPGBehavior::execute() {
    WorldState& ws = Singleton<WorldState>::getInstance();
    float t = ws.cTime;
    LOG(log_DEBUG) << "CPGexecute " << name << " cTime " << t << " CPGtime " << ws.CPGTime
                   << " initTime " << initTime;
    if (t != d_lastChecked) {
        LOG(log_DEBUG) << "CPGexecute normal";
        JointControl& jc = Singleton<JointControl>::getInstance();
        float ampMod = getVar("AmpMod", 1);
        float steer = getVar("SteerAngle", 0);
        for (int i = 0; i < Types::NJOINTS; ++i) {
            float strength = getVar("Strength", 5);
            float f = 1;
            if ((isLeftLeg(i) && steer < 0) || (isRightLeg(i) && steer > 0)) {
                f = std::exp(-(strength * strength) * (steer * steer));
            }
            f = f * ampMod;
            std::map<int, PatternGenerator<float, float>*>::iterator it = patterns.find(i);
            if (it == patterns.end() || !it->second) {
                continue;
            }
            float s = sum((*it->second)(t - initTime, f));
            // A pattern value that is not a number would poison the servo.
            if (!std::isfinite(s)) {
                continue;
            }
            const Vector3f& g = pids[i];
            jc.setJointTarget(i, s, g.x, g.y, g.z);
        }
        jc.commit();
    }
    d_lastChecked = t;
}

bool CPGBehavior::finished() {
    return Singleton<WorldState>::getInstance().cTime - initTime >= delta;
}
