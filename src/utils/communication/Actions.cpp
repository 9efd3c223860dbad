#include "utils/communication/Actions.h"

#include <charconv>

#include "physics/AgentModel.h"
#include "utils/Singleton.h"
#include "utils/communication/ServerComm.h"

Actions::Actions() {}

void Actions::InitAgent(const std::string& teamName, int teamUnum) {
    std::stringstream msg;
    msg << "(init" << " (unum " << teamUnum << ")" << "(teamname " << teamName << "))" << "(syn)" << "\n";
    Singleton<ServerComm>::getInstance().send(msg.str());
}

void Actions::Beam(float x, float y, float dir) {
    std::stringstream msg;
    msg << "(beam" << " " << x << " " << -y << " " << dir << ")" << "(syn)";
    Singleton<ServerComm>::getInstance().send(msg.str());
}

void Actions::Beam(const Vector3f& pos) {
    Beam(pos.x, pos.y, pos.z);
}

void Actions::MoveBall(const Vector3f& pos) {
    std::stringstream msg;
    msg << "(catch" << " " << pos.x << " " << -pos.y << " " << pos.z << ")" << "(syn)" << "\n";
    Singleton<ServerComm>::getInstance().send(msg.str());
}

void Actions::BeamIn(float x, float y, float dir) {
    ss << "(beam" << " " << x << " " << -y << " " << dir << ")";
}

void Actions::BeamIn(const Vector3f& pos) {
    BeamIn(pos.x, pos.y, pos.z);
}

void Actions::Catch(float x, float y, float z) {
    ss << "(catch" << " " << x << " " << y << " " << z << ")";
}

void Actions::Catch(const Vector3f& pos) {
    Catch(pos.x, pos.y, pos.z);
}

void Actions::Say(const std::string& message) {
    ss << "(say " << message << ")";
}

void Actions::Pass() {
    ss << "(pass" << ")";
}

void Actions::MoveJointTo(int id, float rate) {
    Joint* joint = Singleton<AgentModel>::getInstance().getJoint(id);
    if (!joint) {
        return;
    }
    // The text of ss << rate (6 significant digits), without the stream's
    // formatting machinery: this runs for every joint in every cycle.
    char text[64];
    text[0] = ' ';
    const std::to_chars_result r =
        std::to_chars(text + 1, text + sizeof text - 1, static_cast<double>(rate), std::chars_format::general, 6);
    *r.ptr = ')';
    ss.put('(');
    const std::string& effector = joint->getEffector();
    ss.write(effector.data(), static_cast<std::streamsize>(effector.size()));
    ss.write(text, r.ptr + 1 - text);
}

void Actions::Send() {
    ss << "(syn)" << "\n";
    Singleton<ServerComm>::getInstance().send(ss.str());
    ss.str("");
    ss.clear();
}
