#include "skills/SlotBehavior.h"

#include <cmath>
#include <iostream>

#include "physics/AgentModel.h"
#include "physics/JointControl.h"
#include "physics/Types.h"
#include "skills/MDLParser.h"
#include "utils/Singleton.h"
#include "utils/XMLNode.h"
#include "utils/communication/Actions.h"
#include "world/WorldState.h"

namespace {

const float kDefaultKp = 0.45633233f;
const float kCycle = 0.02f;

bool isJointId(int id) {
    return id >= 0 && id < Types::NJOINTS;
}

Joint* joint(int id) {
    return Singleton<AgentModel>::getInstance().getJoint(id);
}

float currentAngle(int id) {
    Joint* j = joint(id);
    return j ? j->getAngle() : 0;
}

float clampToLimits(int id, float angle) {
    Joint* j = joint(id);
    return j ? j->validAngleClosestTo(angle) : angle;
}

// A gain that is not a number is passed on as "not given".
float gainOrKeep(float g) {
    return std::isfinite(g) ? g : -1;
}

}  // namespace

float sineControl(float angi, float angf, float delta, float x) {
    if (!(delta > 0)) {
        return 0;
    }
    float A = (angf - angi) / 2;
    float T = 2 * delta;
    float phi = T / 4;
    double value = (angi + A) - A * std::sin((2 * M_PI / T) * (static_cast<double>(x) + phi));
    return static_cast<float>(value);
}

SlotBehavior::SlotBehavior() : Behavior() {
    construct();
}

SlotBehavior::SlotBehavior(const std::string& n) : Behavior(n) {
    construct();
}

void SlotBehavior::construct() {
    for (int i = 0; i < Types::NJOINTS; ++i) {
        pids[i] = Vector3f(-1, -1, -1);
        angis[i] = 0;
    }
    currSlot = 0;
    elapsed = 0;
    d_lastSlotTime = 0;
    d_lastChecked = 0;
    beamEnabled = false;
    use_sineCorrection = false;
    x = 0;
    y = 0;
    ang = 0;
    expediteModeAdjustment = 0;
    transitionMode = false;
    doc = nullptr;
}

SlotBehavior::~SlotBehavior() {
    if (doc) {
        xmlFreeDoc(doc);
    }
}

void SlotBehavior::init() {
    WorldState& ws = Singleton<WorldState>::getInstance();
    float t = ws.cTime;
    ws.SlotTime = t;
    initTime = t - expediteModeAdjustment;
    d_lastSlotTime = initTime;
    currSlot = 0;
    elapsed = expediteModeAdjustment;
    beamEnabled = false;
    Singleton<JointControl>::getInstance().resetPID();
}

void SlotBehavior::execute() {
    float t = Singleton<WorldState>::getInstance().cTime;
    JointControl& jc = Singleton<JointControl>::getInstance();
    if (t != d_lastChecked && currSlot < static_cast<int>(slots.size())) {
        const Slot& s = slots[currSlot];
        bool transition = currSlot == 0 && transitionMode;
        float transitionDelta = 0;
        if (transition) {
            float maxDist = 0;
            for (size_t i = 0; i < s.targets.size(); ++i) {
                float dist = std::fabs(s.targets[i].second - currentAngle(s.targets[i].first));
                if (dist > maxDist) {
                    maxDist = dist;
                }
            }
            transitionDelta = (maxDist / 6) * kCycle + 0.1f;
        }
        if (elapsed == expediteModeAdjustment) {
            for (size_t i = 0; i < s.targets.size(); ++i) {
                angis[s.targets[i].first] = currentAngle(s.targets[i].first);
            }
        }
        for (size_t i = 0; i < s.targets.size(); ++i) {
            int j = s.targets[i].first;
            float a = s.targets[i].second;
            float d = s.delta;
            if (transition) {
                d = transitionDelta;
                std::cerr << "Using transition delta = " << d << std::endl;
            }
            const Vector3f& g = pids[j];
            float kp = g.x == -1 ? kDefaultKp : gainOrKeep(g.x);
            float ki = gainOrKeep(g.y);
            float kd = gainOrKeep(g.z);
            float start = use_sineCorrection ? angis[j] : currentAngle(j);
            float target = s.slotname == "KICK" ? a : sineControl(start, a, d, elapsed);
            // A target that is not a number would poison the servo for good.
            if (std::isfinite(target)) {
                jc.setJointTarget(j, target, kp, ki, kd);
            }
        }
        elapsed = static_cast<float>(static_cast<double>(t) + 0.02 - d_lastSlotTime);
        if (elapsed > static_cast<double>(s.delta) + 0.01) {
            ++currSlot;
            d_lastSlotTime = t;
            elapsed = expediteModeAdjustment;
        }
    }
    if (beamEnabled) {
        Singleton<Actions>::getInstance().BeamIn(x, y, ang);
    }
    jc.commit();
    d_lastChecked = t;
}

bool SlotBehavior::finished() {
    return currSlot == static_cast<int>(slots.size());
}

void SlotBehavior::parse(const std::string& fileName, bool) {
    doc = MDLParser::readDocument(fileName);
    if (!doc) {
        MDLParser::unreadableFile(fileName);
    }
    XMLNode root(xmlDocGetRootElement(doc));
    std::string type = root.getAttributeValue("type");
    if (type != "SlotBehavior" && type != "ExpediteSlotBehavior" && type != "ExpediteSlotBehavior2") {
        MDLParser::invalidType(fileName, "skills/SlotBehavior", 70, type);
    }
    if (type != "SlotBehavior") {
        switchToExpediteMode();
    }
    if (type == "ExpediteSlotBehavior2") {
        setSineCorrection(true);
    }
    name = root.getAttributeValue("name");
    int k = 0;
    for (XMLNode n = root.getChildren(); n; n = n.getNext()) {
        if (n.node->type != XML_ELEMENT_NODE || n.getName() != "slot") {
            continue;
        }
        std::string slotName = n.hasAttribute("name") ? n.getAttributeValue("name") : "slot";
        addSlot(MDLParser::realAttribute(n, "delta", 1000), slotName);
        for (XMLNode m = n.getChildren(); m; m = m.getNext()) {
            if (m.node->type != XML_ELEMENT_NODE || m.getName() != "move") {
                continue;
            }
            addMove(k, MDLParser::intAttribute(m, "id", 0), MDLParser::realAttribute(m, "angle", 0), true,
                    MDLParser::realAttribute(m, "kp", -1), MDLParser::realAttribute(m, "ki", -1),
                    MDLParser::realAttribute(m, "kd", -1));
        }
        ++k;
    }
    xmlFreeDoc(doc);
    doc = nullptr;
}

void SlotBehavior::addSlot(float delta, const std::string& slotName) {
    Slot s;
    s.delta = delta;
    s.slotname = slotName;
    slots.push_back(s);
}

void SlotBehavior::addSlot(const std::vector<Joint*>& joints, const std::vector<float>& targetAngles, float delta,
                           const std::string& slotName, float kp, float ki, float kd) {
    addSlot(delta, slotName);
    int last = static_cast<int>(slots.size()) - 1;
    for (size_t i = 0; i < targetAngles.size() && i < joints.size(); ++i) {
        if (joints[i]) {
            addMove(last, joints[i]->getId(), targetAngles[i], false, kp, ki, kd);
        }
    }
}

void SlotBehavior::addMove(int slot, int jid, float target, bool correctAngleIfOutOfRange, float kp, float ki,
                           float kd) {
    if (slot < 0 || slot >= static_cast<int>(slots.size()) || !isJointId(jid)) {
        return;
    }
    if (correctAngleIfOutOfRange) {
        target = clampToLimits(jid, target);
    }
    slots[slot].targets.push_back(std::make_pair(jid, target));
    pids[jid] = Vector3f(kp, ki, kd);
}

void SlotBehavior::changeDelta(int slot, float delta) {
    if (slot < 0 || slot >= static_cast<int>(slots.size())) {
        return;
    }
    slots[slot].delta = !(delta >= 0) ? 0 : (delta > 3 ? 3 : delta);
}

void SlotBehavior::changeMove(int slot, int jid, float target) {
    if (slot < 0 || slot >= static_cast<int>(slots.size()) || !isJointId(jid)) {
        return;
    }
    target = clampToLimits(jid, target);
    std::vector<std::pair<int, float> >& targets = slots[slot].targets;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].first == jid) {
            targets[i].second = target;
        }
    }
}

void SlotBehavior::addMoveAndApplyInModel(int slotIndex, int jointId, float targetAngle,
                                          bool correctAngleIfOutOfRange) {
    if (!isJointId(jointId)) {
        return;
    }
    float clamped = clampToLimits(jointId, targetAngle);
    addMove(slotIndex, jointId, clamped, correctAngleIfOutOfRange, -1, -1, -1);
    Joint* j = joint(jointId);
    if (j) {
        j->setAngle(clamped);
    }
}

SlotBehavior::Slot* SlotBehavior::getSlotByIndex(const unsigned& index) {
    if (index >= slots.size()) {
        std::cerr << "Behavior::getSlotByIndex: cannot access index " << index << std::endl;
        return nullptr;
    }
    return &slots[index];
}

std::pair<int, float>* SlotBehavior::reportMissingTarget() {
    std::cerr << "ERROR: couldn't find required slot or target in SlotBehavior." << std::endl;
    return nullptr;
}

std::pair<int, float>* SlotBehavior::getSlotTarget(const unsigned& slotIndex, int targetKey) {
    if (slotIndex < slots.size()) {
        std::vector<std::pair<int, float> >& targets = slots[slotIndex].targets;
        for (size_t i = 0; i < targets.size(); ++i) {
            if (targets[i].first == targetKey) {
                return &targets[i];
            }
        }
    }
    return reportMissingTarget();
}

std::pair<int, float>* SlotBehavior::getSlotTarget(const unsigned& slotIndex, float targetKey) {
    if (slotIndex < slots.size()) {
        std::vector<std::pair<int, float> >& targets = slots[slotIndex].targets;
        for (size_t i = 0; i < targets.size(); ++i) {
            if (targets[i].second == targetKey) {
                return &targets[i];
            }
        }
    }
    return reportMissingTarget();
}

int SlotBehavior::getNumberOfSlots() const {
    return static_cast<int>(slots.size());
}

void SlotBehavior::enableBeam(bool enable) {
    beamEnabled = enable;
}

bool SlotBehavior::isBeamEnabled() const {
    return beamEnabled;
}

void SlotBehavior::setBeamPos(const Vector3f& pos) {
    x = pos.x;
    y = pos.y;
    ang = pos.z;
}

void SlotBehavior::switchToExpediteMode() {
    expediteModeAdjustment = 0.02f;
}

void SlotBehavior::switchToTransitionMode(bool on) {
    transitionMode = on;
}

void SlotBehavior::setSineCorrection(bool on) {
    use_sineCorrection = on;
}
