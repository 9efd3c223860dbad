#include "physics/AgentModel.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include <libxml/parser.h>

#include "geometry/Matrix4D.h"
#include "utils/XMLNode.h"

namespace {

const float kStep = 0.02f;

// One line on standard error naming the file and the problem, then status 1.
[[noreturn]] void descriptionError(const std::string& filename, const std::string& problem) {
    std::cerr << filename << ": " << problem << std::endl;
    std::exit(1);
}

float readFloat(XMLNode& node, const char* attr) {
    return static_cast<float>(std::atof(node.getAttributeValue(attr).c_str()));
}

// Robot type digit of an rsgfile value: ".rsg", one blank, a digit 0 to 4.
int robotTypeOf(const std::string& rsg) {
    std::string::size_type pos = rsg.find(".rsg");
    if (pos == std::string::npos || pos + 5 >= rsg.size()) {
        return -1;
    }
    char sep = rsg[pos + 4];
    char digit = rsg[pos + 5];
    if ((sep != ' ' && sep != '\t') || digit < '0' || digit > '4') {
        return -1;
    }
    return digit - '0';
}

}  // namespace

AgentModel::AgentModel()
    : robotType(0), totalMass(0), footTouch{false, false, false, false},
      footLastStrike{0, 0, 0, 0}, doc(nullptr),
      relativeToAbsolute([](const Vector3f& v) { return v; }), cycleSource([]() { return 0.0; }),
      clockSource([]() { return 0.0f; }) {}

AgentModel::AgentModel(const AgentModel&) : AgentModel() {}

AgentModel& AgentModel::operator=(const AgentModel&) {
    return *this;
}

AgentModel::~AgentModel() {
    clear();
}

void AgentModel::clear() {
    for (std::map<int, Joint*>::iterator it = m_joints.begin(); it != m_joints.end(); ++it) {
        delete it->second;
    }
    for (std::map<int, BodyPart*>::iterator it = m_parts.begin(); it != m_parts.end(); ++it) {
        delete it->second;
    }
    m_joints.clear();
    m_parts.clear();
    mJointNameId.clear();
    jointsByPerceptor.clear();
    lastPerceptorFound = 0;
    mPartNameId.clear();
    if (doc) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
}

void AgentModel::initialize(const std::string& filename) {
    clear();
    totalMass = 0;
    robotType = 0;
    rsgfile.clear();

    doc = xmlReadFile(filename.c_str(), nullptr, XML_PARSE_NOENT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlNodePtr rootElement = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (!rootElement) {
        descriptionError(filename, "cannot be read or parsed as XML");
    }
    XMLNode root(rootElement);
    if (root.getName() != "agentmodel") {
        descriptionError(filename, "root tag 'agentmodel' expected, '" + root.getName() + "' found.");
    }
    if (!root.hasAttribute("rsgfile")) {
        descriptionError(filename, "attribute 'rsgfile' expected");
    }
    rsgfile = root.getAttributeValue("rsgfile");
    robotType = robotTypeOf(rsgfile);
    if (robotType < 0) {
        descriptionError(filename, "attribute 'rsgfile' must name the scene (.rsg), a blank and the robot type 0 to 4, '" +
                                       rsgfile + "' found");
    }

    std::vector<XMLNode> partNodes;
    std::vector<XMLNode> jointNodes;
    root.findAllLocal("bodypart", partNodes);
    root.findAllLocal("joint", jointNodes);
    if (partNodes.size() != Types::NBODYPARTS) {
        descriptionError(filename, std::to_string(static_cast<int>(Types::NBODYPARTS)) +
                                       " 'bodypart' elements expected, " + std::to_string(partNodes.size()) +
                                       " found");
    }
    if (jointNodes.size() != Types::NJOINTS) {
        descriptionError(filename, std::to_string(static_cast<int>(Types::NJOINTS)) +
                                       " 'joint' elements expected, " + std::to_string(jointNodes.size()) +
                                       " found");
    }

    for (size_t i = 0; i < partNodes.size(); ++i) {
        int id = static_cast<int>(i);
        BodyPart* part = new BodyPart(id, partNodes[i].getAttributeValue("name"), readFloat(partNodes[i], "mass"));
        m_parts[id] = part;
        mPartNameId[part->name] = id;
        totalMass += part->mass;
    }

    for (size_t i = 0; i < jointNodes.size(); ++i) {
        XMLNode& node = jointNodes[i];
        int id = static_cast<int>(i);
        Joint* joint = new Joint(id, node.getAttributeValue("name"), node.getAttributeValue("perceptor"),
                                 node.getAttributeValue("effector"), readFloat(node, "xaxis"),
                                 readFloat(node, "yaxis"), readFloat(node, "zaxis"), readFloat(node, "min"),
                                 readFloat(node, "max"));
        m_joints[id] = joint;
        mJointNameId[joint->perceptor] = id;
        bool named = false;
        for (PerceptorJoint& entry : jointsByPerceptor) {
            if (entry.name == joint->perceptor) {
                entry.joint = joint;  // a later joint takes the name, as in the map
                named = true;
            }
        }
        if (!named) {
            jointsByPerceptor.push_back({joint->perceptor, joint});
        }

        std::vector<XMLNode> anchorNodes;
        node.findAllLocal("anchor", anchorNodes);
        bool valid = anchorNodes.size() == 2;
        for (size_t a = 0; valid && a < anchorNodes.size(); ++a) {
            XMLNode& anchor = anchorNodes[a];
            std::string partName = anchor.getAttributeValue("part");
            std::map<std::string, int>::const_iterator part = mPartNameId.find(partName);
            if (part == mPartNameId.end() || std::atoi(anchor.getAttributeValue("index").c_str()) != static_cast<int>(a)) {
                valid = false;
                break;
            }
            BodyPart* bodyPart = m_parts[part->second];
            if (a == 0) {
                bodyPart->joints.push_back(joint);
            } else {
                joint->bodyPart = bodyPart;
            }
            // Stored as (y, x, z).
            joint->setAnchor(static_cast<int>(a), partName,
                             Vector3f(readFloat(anchor, "y"), readFloat(anchor, "x"), readFloat(anchor, "z")));
        }
        if (!valid) {
            descriptionError(filename, "joint '" + joint->name +
                                           "' needs two anchors, index 0 in its parent part and index 1 in its "
                                           "child part, naming known parts");
        }
    }

    if (!(totalMass > 0)) {
        descriptionError(filename, "the body parts' total mass must be above 0");
    }
}

Joint* AgentModel::getJoint(int id) const {
    std::map<int, Joint*>::const_iterator it = m_joints.find(id);
    return it == m_joints.end() ? nullptr : it->second;
}

BodyPart* AgentModel::getBodyPart(int id) const {
    std::map<int, BodyPart*>::const_iterator it = m_parts.find(id);
    return it == m_parts.end() ? nullptr : it->second;
}

void AgentModel::setHingeJointAngle(const std::string& name, float angle) {
    std::map<std::string, int>::const_iterator it = mJointNameId.find(name);
    if (it != mJointNameId.end()) {
        setHingeJointAngle(it->second, angle);
    }
}

void AgentModel::setHingeJointAngle(const char* name, float angle) {
    // The server lists the joints in the same order every message: the search
    // starts after the previous find.
    const size_t length = std::strlen(name);
    const size_t count = jointsByPerceptor.size();
    for (size_t k = 0; k < count; ++k) {
        const size_t at = (lastPerceptorFound + 1 + k) % count;
        const PerceptorJoint& entry = jointsByPerceptor[at];
        if (entry.name.size() == length && entry.name[0] == name[0] &&
            std::memcmp(entry.name.data(), name, length) == 0) {
            lastPerceptorFound = at;
            entry.joint->setAngle(angle);
            return;
        }
    }
}

void AgentModel::setHingeJointAngle(int id, float angle) {
    Joint* joint = getJoint(id);
    if (joint) {
        joint->setAngle(angle);
    }
}

int AgentModel::getHingeJointId(const std::string& name) {
    return mJointNameId[name];
}

int AgentModel::getBodyPartId(const std::string& name) {
    return mPartNameId[name];
}

void AgentModel::setGyroRate(const Vector3f& rate) {
    gyroRate.setAngles(cycleSource(), rate.x, rate.y, rate.z);
}

void AgentModel::setAccelerometer(const Vector3f& acc) {
    accelerometer.setValues(cycleSource(), acc.x, acc.y, acc.z);
}

GyroRate AgentModel::getGyroRate() const {
    return gyroRate;
}

Accelerometer AgentModel::getAccelerometer() const {
    return accelerometer;
}

void AgentModel::setFootForce(Types::FRPParts part, const Vector3f& value) {
    footForce[part] = value;
}

void AgentModel::setFootContact(Types::FRPParts part, const Vector3f& value) {
    footContact[part] = value;
}

void AgentModel::setFootTouch(Types::FRPParts part, bool touch) {
    if (!footTouch[part] && touch) {
        footLastStrike[part] = clockSource();
    }
    footTouch[part] = touch;
}

Vector3f AgentModel::getFootForce(Types::FRPParts part) const {
    return footForce[part];
}

Vector3f AgentModel::getFootContact(Types::FRPParts part) const {
    return footContact[part];
}

bool AgentModel::getFootTouch(Types::FRPParts part) const {
    return footTouch[part];
}

float AgentModel::getFootLastStrike(Types::FRPParts part) const {
    return footLastStrike[part];
}

void AgentModel::update() {
    updatePosture();
    updateCOM();
}

// Sets the object's frame and derives its positions and field velocity.
void AgentModel::place(BodyObject* obj, const Matrix4D& transf) {
    obj->transform = transf;
    Vector3f rel = transf.toVector3f();
    Vector3f p = relativeToAbsolute(rel);
    obj->velocity = (p - obj->position) / kStep;
    obj->position = p;
    obj->relPosition = rel;
}

void AgentModel::updatePosture() {
    BodyPart* head = getBodyPart(Types::ilHead);
    if (!head) {
        return;
    }
    head->transform = Matrix4D();
    head->relPosition = head->transform.toVector3f();
    head->position = relativeToAbsolute(head->relPosition);

    // Each part is placed once, even if a description closes a loop: the
    // queue holds every part placed so far, in order.
    std::vector<BodyPart*>& queue = partQueue;
    queue.clear();
    queue.push_back(head);
    for (size_t next = 0; next < queue.size(); ++next) {
        BodyPart* part = queue[next];
        for (size_t i = 0; i < part->joints.size(); ++i) {
            Joint* joint = part->joints[i];
            place(joint, part->transform * Matrix4D::translation(joint->getAnchor(0).second));
            BodyPart* child = joint->bodyPart;
            if (!child || std::find(queue.begin(), queue.end(), child) != queue.end()) {
                continue;
            }
            place(child, joint->transform * Matrix4D::rotation(joint->getAxis(), joint->angle) *
                             Matrix4D::translation(-joint->getAnchor(1).second));
            queue.push_back(child);
        }
    }
}

void AgentModel::updateCOM() {
    Vector3f sum;
    BodyPart* torso = getBodyPart(Types::ilTorso);
    // The queue holds every part visited so far, in order.
    std::vector<BodyPart*>& queue = partQueue;
    queue.clear();
    if (torso) {
        queue.push_back(torso);
    }
    for (size_t next = 0; next < queue.size(); ++next) {
        BodyPart* part = queue[next];
        sum = sum + part->transform.toVector3f() * part->mass;
        for (size_t i = 0; i < part->joints.size(); ++i) {
            BodyPart* child = part->joints[i]->bodyPart;
            if (child && std::find(queue.begin(), queue.end(), child) == queue.end()) {
                queue.push_back(child);
            }
        }
    }
    com = sum / totalMass;
}

Vector3f AgentModel::getCOM() const {
    return com;
}

std::string AgentModel::getRSG() const {
    return rsgfile;
}

int AgentModel::getRobotType() const {
    return robotType;
}

int AgentModel::getNumberOfJoints() const {
    return static_cast<int>(m_joints.size());
}

void AgentModel::setLFootPosition(const Vector3f& v) {
    lFootPosFK = v;
}

void AgentModel::setRFootPosition(const Vector3f& v) {
    rFootPosFK = v;
}

void AgentModel::setLFootOrientation(const Vector3f& v) {
    lFootOriFK = v;
}

void AgentModel::setRFootOrientation(const Vector3f& v) {
    rFootOriFK = v;
}

Vector3f AgentModel::getLFootPositionFK() const {
    return lFootPosFK;
}

Vector3f AgentModel::getRFootPositionFK() const {
    return rFootPosFK;
}

Vector3f AgentModel::getLFootOrientationFK() const {
    return lFootOriFK;
}

Vector3f AgentModel::getRFootOrientationFK() const {
    return rFootOriFK;
}

Vector3f AgentModel::getOrientationFK(int foot) const {
    return foot == 1 ? lFootOriFK : rFootOriFK;
}

Vector3f AgentModel::getAbsPositionOfBodyPoint(BodyPart* part, const Vector3f& relToPartPos) const {
    return relativeToAbsolute((part->transform * Matrix4D::translation(relToPartPos)).toVector3f());
}

float* AgentModel::saveCurrentPosture() const {
    float* posture = new float[m_joints.size()];
    for (std::map<int, Joint*>::const_iterator it = m_joints.begin(); it != m_joints.end(); ++it) {
        posture[it->first] = it->second->angle;
    }
    return posture;
}

void AgentModel::setRelativeToAbsolute(std::function<Vector3f(const Vector3f&)> convert) {
    relativeToAbsolute = convert ? convert : [](const Vector3f& v) { return v; };
}

void AgentModel::setCycleSource(std::function<double()> cycle) {
    cycleSource = cycle ? cycle : []() { return 0.0; };
}

void AgentModel::setClockSource(std::function<float()> clock) {
    clockSource = clock ? clock : []() { return 0.0f; };
}
