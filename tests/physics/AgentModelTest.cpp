#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "physics/AgentModel.h"
#include "physics/Types.h"
#include "utils/Singleton.h"

namespace {

const char* const kFiles[5] = {"nao.xml", "nao1.xml", "nao2.xml", "nao3.xml", "nao4.xml"};

std::string dataPath(const std::string& file) {
    return std::string(QV_DATA_DIR) + "/" + file;
}

AgentModel& load(const std::string& file) {
    AgentModel& model = Singleton<AgentModel>::getInstance();
    model.initialize(dataPath(file));
    model.setRelativeToAbsolute(nullptr);
    model.setClockSource(nullptr);
    model.setCycleSource(nullptr);
    for (int i = 0; i < Types::NJOINTS; ++i) {
        model.setHingeJointAngle(i, 0);
    }
    return model;
}

// Part centres relative to the torso centre with every joint at 0, in the
// server's body frame (x right, y forward, z up), one column per robot type.
struct PartCentre {
    int part;
    double c[5][3];
};

const PartCentre kCentres[] = {
    {Types::ilHead, {{0, 0, 0.155}, {0, 0, 0.155}, {0, 0, 0.155}, {0, 0, 0.155}, {0, 0, 0.155}}},
    {Types::ilNeck, {{0, 0, 0.09}, {0, 0, 0.09}, {0, 0, 0.09}, {0, 0, 0.09}, {0, 0, 0.09}}},
    {Types::ilTorso, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {Types::ilLShoulder, {{-0.098, 0, 0.075}, {-0.098, 0, 0.075}, {-0.098, 0, 0.075}, {-0.098, 0, 0.075}, {-0.098, 0, 0.075}}},
    {Types::ilRShoulder, {{0.098, 0, 0.075}, {0.098, 0, 0.075}, {0.098, 0, 0.075}, {0.098, 0, 0.075}, {0.098, 0, 0.075}}},
    {Types::ilLUpperArm, {{-0.108, 0.02, 0.075}, {-0.108, 0.02, 0.075}, {-0.108, 0.02, 0.075}, {-0.108, 0.02, 0.075}, {-0.108, 0.02, 0.075}}},
    {Types::ilRUpperArm, {{0.108, 0.02, 0.075}, {0.108, 0.02, 0.075}, {0.108, 0.02, 0.075}, {0.108, 0.02, 0.075}, {0.108, 0.02, 0.075}}},
    {Types::ilLElbow, {{-0.098, 0.09, 0.084}, {-0.098, 0.12664, 0.084}, {-0.098, 0.09, 0.084}, {-0.098, 0.145736848, 0.084}, {-0.098, 0.09, 0.084}}},
    {Types::ilRElbow, {{0.098, 0.09, 0.084}, {0.098, 0.12664, 0.084}, {0.098, 0.09, 0.084}, {0.098, 0.145736848, 0.084}, {0.098, 0.09, 0.084}}},
    {Types::ilLLowerArm, {{-0.098, 0.14, 0.084}, {-0.098, 0.17664, 0.084}, {-0.098, 0.14, 0.084}, {-0.098, 0.195736848, 0.084}, {-0.098, 0.14, 0.084}}},
    {Types::ilRLowerArm, {{0.098, 0.14, 0.084}, {0.098, 0.17664, 0.084}, {0.098, 0.14, 0.084}, {0.098, 0.195736848, 0.084}, {0.098, 0.14, 0.084}}},
    {Types::ilLHip1, {{-0.055, -0.01, -0.115}, {-0.055, -0.01, -0.115}, {-0.055, -0.01, -0.115}, {-0.072954143, -0.01, -0.115}, {-0.055, -0.01, -0.115}}},
    {Types::ilRHip1, {{0.055, -0.01, -0.115}, {0.055, -0.01, -0.115}, {0.055, -0.01, -0.115}, {0.072954143, -0.01, -0.115}, {0.055, -0.01, -0.115}}},
    {Types::ilLHip2, {{-0.055, -0.01, -0.115}, {-0.055, -0.01, -0.115}, {-0.055, -0.01, -0.115}, {-0.072954143, -0.01, -0.115}, {-0.055, -0.01, -0.115}}},
    {Types::ilRHip2, {{0.055, -0.01, -0.115}, {0.055, -0.01, -0.115}, {0.055, -0.01, -0.115}, {0.072954143, -0.01, -0.115}, {0.055, -0.01, -0.115}}},
    {Types::ilLThigh, {{-0.055, 0, -0.155}, {-0.055, 0, -0.17332}, {-0.055, 0, -0.155}, {-0.072954143, 0, -0.182868424}, {-0.055, 0, -0.155}}},
    {Types::ilRThigh, {{0.055, 0, -0.155}, {0.055, 0, -0.17332}, {0.055, 0, -0.155}, {0.072954143, 0, -0.182868424}, {0.055, 0, -0.155}}},
    {Types::ilLShank, {{-0.055, 0.005, -0.28}, {-0.055, 0.005, -0.29832}, {-0.055, 0.005, -0.28}, {-0.072954143, 0.005, -0.307868424}, {-0.055, 0.005, -0.28}}},
    {Types::ilRShank, {{0.055, 0.005, -0.28}, {0.055, 0.005, -0.29832}, {0.055, 0.005, -0.28}, {0.072954143, 0.005, -0.307868424}, {0.055, 0.005, -0.28}}},
    {Types::ilLAnkle, {{-0.055, -0.005, -0.335}, {-0.055, -0.005, -0.37164}, {-0.055, -0.005, -0.335}, {-0.072954143, -0.005, -0.390736848}, {-0.055, -0.005, -0.335}}},
    {Types::ilRAnkle, {{0.055, -0.005, -0.335}, {0.055, -0.005, -0.37164}, {0.055, -0.005, -0.335}, {0.072954143, -0.005, -0.390736848}, {0.055, -0.005, -0.335}}},
    {Types::ilLFoot, {{-0.055, 0.025, -0.375}, {-0.055, 0.025, -0.41164}, {-0.055, 0.025, -0.375}, {-0.072954143, 0.025, -0.430736848}, {-0.055, 0.007241172, -0.375}}},
    {Types::ilRFoot, {{0.055, 0.025, -0.375}, {0.055, 0.025, -0.41164}, {0.055, 0.025, -0.375}, {0.072954143, 0.025, -0.430736848}, {0.055, 0.007241172, -0.375}}},
};

// The body model's frame is x forward, y left, z up.
Vector3f fromServerFrame(const double* c) {
    return Vector3f(static_cast<float>(c[1]), static_cast<float>(-c[0]), static_cast<float>(c[2]));
}

void expectNear(const Vector3f& actual, const Vector3f& expected, float tol, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, tol) << what;
    EXPECT_NEAR(actual.y, expected.y, tol) << what;
    EXPECT_NEAR(actual.z, expected.z, tol) << what;
}

TEST(RobotDescriptionTest, EveryTypeLoadsWithItsSceneAndMass) {
    for (int type = 0; type < 5; ++type) {
        AgentModel& model = load(kFiles[type]);
        EXPECT_EQ(model.getRSG(), "nao/nao_hetero.rsg " + std::to_string(type));
        EXPECT_EQ(model.getRobotType(), type);
        EXPECT_EQ(model.getNumberOfJoints(), 22);
        EXPECT_NEAR(model.totalMass, 4.6071, 1e-4) << kFiles[type];
        EXPECT_EQ(model.getJoint(Types::ijLlj3)->getPerceptor(), "llj3");
        EXPECT_EQ(model.getJoint(Types::ijRaj4)->getEffector(), "rae4");
        EXPECT_EQ(model.getBodyPart(Types::ilRFoot)->getName(), "rfoot");
    }
}

// With straight legs and every other joint at 0, the posture walk from the
// head puts every part (hips, feet and all) where the server builds it.
TEST(RobotDescriptionTest, ZeroPosePlacesEveryPartWhereTheServerDoes) {
    for (int type = 0; type < 5; ++type) {
        AgentModel& model = load(kFiles[type]);
        model.update();
        Vector3f torso = model.getBodyPart(Types::ilTorso)->relPosition;
        for (const PartCentre& pc : kCentres) {
            BodyPart* part = model.getBodyPart(pc.part);
            expectNear(part->relPosition - torso, fromServerFrame(pc.c[type]), 1e-6f,
                       std::string(kFiles[type]) + " " + part->getName());
        }
        // Hip width and leg length of this type, from the feet.
        Vector3f lFoot = model.getBodyPart(Types::ilLFoot)->relPosition;
        Vector3f rFoot = model.getBodyPart(Types::ilRFoot)->relPosition;
        Vector3f lHip = model.getJoint(Types::ijLlj1)->relPosition;
        EXPECT_NEAR(lFoot.y - rFoot.y, -2 * kCentres[21].c[type][0], 1e-6) << kFiles[type];
        EXPECT_NEAR(lHip.z - lFoot.z, -0.115 - kCentres[21].c[type][2], 1e-6) << kFiles[type];
    }
}

// Signs of the joints as the server turns them.
TEST(RobotDescriptionTest, JointAnglesTurnPartsTheServersWay) {
    struct Case {
        int joint;
        float angle;
        int part;
        int from;  // joint whose position the part is measured from
        Vector3f direction;  // expected direction of part - from
    } cases[] = {
        {Types::ijLlj3, 90, Types::ilLAnkle, Types::ijLlj3, Vector3f(1, 0, 0)},   // hip pitch +: forward
        {Types::ijRlj3, 90, Types::ilRAnkle, Types::ijRlj3, Vector3f(1, 0, 0)},
        {Types::ijLlj4, -90, Types::ilLAnkle, Types::ijLlj4, Vector3f(-1, 0, 0)},  // knee bends back
        {Types::ijLlj2, 90, Types::ilLAnkle, Types::ijLlj2, Vector3f(0, 1, 0)},   // hip roll +: to the left
        {Types::ijRlj2, -90, Types::ilRAnkle, Types::ijRlj2, Vector3f(0, -1, 0)},
        {Types::ijLaj1, 90, Types::ilLLowerArm, Types::ijLaj1, Vector3f(0, 0, 1)},  // arm swings up
        {Types::ijRaj2, -90, Types::ilRLowerArm, Types::ijRaj2, Vector3f(0, -1, 0)},  // arm out to the right
    };
    for (const Case& c : cases) {
        AgentModel& model = load("nao.xml");
        model.setHingeJointAngle(c.joint, c.angle);
        model.update();
        Vector3f d = model.getBodyPart(c.part)->relPosition - model.getJoint(c.from)->relPosition;
        EXPECT_GT(d.innerProduct(c.direction), 0.9f * d.length())
            << "joint " << c.joint << " at " << c.angle << ": " << d;
    }
}

TEST(RobotDescriptionTest, HeadJointsTurnTheHeadAgainstTheTorso) {
    AgentModel& model = load("nao.xml");
    model.setHingeJointAngle("hj1", 90);  // head turned to the left
    model.update();
    Matrix4D torso = model.getBodyPart(Types::ilTorso)->transform;
    // In the camera frame the torso's forward axis points to the right.
    expectNear(Vector3f(torso.get(0, 0), torso.get(1, 0), torso.get(2, 0)), Vector3f(0, -1, 0), 1e-5f, "pan");

    model.setHingeJointAngle("hj1", 0);
    model.setHingeJointAngle("hj2", 30);  // looking up
    model.update();
    torso = model.getBodyPart(Types::ilTorso)->transform;
    EXPECT_NEAR(torso.get(2, 0), -0.5f, 1e-5f);
}

TEST(AgentModelTest, JointLookupsOutsideTheModel) {
    AgentModel& model = load("nao.xml");
    EXPECT_EQ(model.getJoint(22), nullptr);
    EXPECT_EQ(model.getJoint(-1), nullptr);
    EXPECT_EQ(model.getBodyPart(23), nullptr);
    EXPECT_NE(model.getBodyPart(22), nullptr);

    model.setHingeJointAngle("nosuchjoint", 33);
    model.setHingeJointAngle(22, 33);
    model.setHingeJointAngle(-1, 33);
    for (int i = 0; i < Types::NJOINTS; ++i) {
        EXPECT_EQ(model.getJoint(i)->getAngle(), 0) << i;
    }
    model.setHingeJointAngle("rlj4", -12.5f);
    EXPECT_EQ(model.getJoint(Types::ijRlj4)->getAngle(), -12.5f);
}

TEST(AgentModelTest, JointAnchorsAndLimits) {
    AgentModel& model = load("nao.xml");
    Joint* knee = model.getJoint(Types::ijLlj4);
    Joint::Anchor parent = knee->getAnchor(0);
    EXPECT_EQ(parent.first, "lthigh");
    // Stored as (forward, left, up).
    expectNear(parent.second, Vector3f(-0.005f, 0, -0.08f), 1e-7f, "knee anchor");
    EXPECT_EQ(knee->getAnchor(1).first, "lshank");
    EXPECT_EQ(knee->getAnchor(7).first, "");
    expectNear(knee->getAnchor(7).second, Vector3f(), 0, "absent anchor");
    EXPECT_EQ(knee->validAngleClosestTo(-200), -130);
    EXPECT_EQ(knee->validAngleClosestTo(5), 1);
    EXPECT_EQ(knee->validAngleClosestTo(-40), -40);
    EXPECT_EQ(model.getBodyPart(Types::ilLThigh)->joints.size(), 1u);
    EXPECT_EQ(model.getBodyPart(Types::ilTorso)->joints.size(), 4u);
}

TEST(AgentModelTest, FootTouchRecordsTheClockAtEachNewContact) {
    AgentModel& model = load("nao.xml");
    float clock = 1.5f;
    model.setClockSource([&clock]() { return clock; });
    model.setFootTouch(Types::pLeft, false);
    model.setFootTouch(Types::pLeft, true);
    EXPECT_EQ(model.getFootLastStrike(Types::pLeft), 1.5f);
    clock = 2.0f;
    model.setFootTouch(Types::pLeft, true);
    EXPECT_EQ(model.getFootLastStrike(Types::pLeft), 1.5f);
    model.setFootTouch(Types::pLeft, false);
    EXPECT_FALSE(model.getFootTouch(Types::pLeft));
    clock = 3.0f;
    model.setFootTouch(Types::pLeft, true);
    EXPECT_EQ(model.getFootLastStrike(Types::pLeft), 3.0f);
    EXPECT_TRUE(model.getFootTouch(Types::pLeft));
    model.setClockSource(nullptr);
}

TEST(AgentModelTest, InertialSamplesCarryTheWorldCycle) {
    AgentModel& model = load("nao.xml");
    double cycle = 41;
    model.setCycleSource([&cycle]() { return cycle; });
    model.setAccelerometer(Vector3f(0, 0, 9.81f));
    cycle = 42;
    model.setGyroRate(Vector3f(1, 2, 3));
    EXPECT_EQ(model.getAccelerometer().getCycle(-1), 41);
    EXPECT_NEAR(model.getAccelerometer().getZ(-1), 9.81, 1e-5);
    EXPECT_EQ(model.getGyroRate().getCycle(-1), 42);
    EXPECT_EQ(model.getGyroRate().getY(-1), 2);
    model.setCycleSource(nullptr);
}

// The field positions go through the world state's conversion; velocities
// assume one 0.02 s step between two updates.
TEST(AgentModelTest, FieldPositionsAndVelocitiesUseTheConversion) {
    AgentModel& model = load("nao.xml");
    Vector3f shift(1, 2, 0.5f);
    model.setRelativeToAbsolute([&shift](const Vector3f& v) { return v + shift; });
    model.update();
    BodyPart* foot = model.getBodyPart(Types::ilLFoot);
    expectNear(foot->getPosition(), foot->relPosition + shift, 1e-6f, "field position");
    expectNear(model.getBodyPart(Types::ilHead)->getPosition(), shift, 0, "head");
    expectNear(model.getAbsPositionOfBodyPoint(foot, Vector3f(0.1f, 0, 0)),
               foot->relPosition + Vector3f(0.1f, 0, 0) + shift, 1e-6f, "body point");

    shift = Vector3f(1.02f, 2, 0.5f);
    model.update();
    expectNear(foot->velocity, Vector3f(1, 0, 0), 1e-3f, "velocity");
    model.setRelativeToAbsolute(nullptr);
}

TEST(AgentModelTest, CentreOfMassCountsTheTorsoAndWhatHangsBelowIt) {
    AgentModel& model = load("nao.xml");
    model.update();
    Vector3f sum;
    float below = 0;
    for (int i = Types::ilTorso; i < Types::NBODYPARTS; ++i) {
        BodyPart* part = model.getBodyPart(i);
        sum = sum + part->relPosition * part->getMass();
        below += part->getMass();
    }
    expectNear(model.getCOM(), sum / model.totalMass, 1e-6f, "com");
    EXPECT_NEAR(below, model.totalMass - 0.4f, 1e-5f);
}

TEST(AgentModelTest, FootPosesAndPosture) {
    AgentModel& model = load("nao.xml");
    model.setLFootOrientation(Vector3f(1, 0, 0));
    model.setRFootOrientation(Vector3f(0, 1, 0));
    EXPECT_EQ(model.getOrientationFK(1).x, 1);
    EXPECT_EQ(model.getOrientationFK(0).y, 1);
    EXPECT_EQ(model.getOrientationFK(2).y, 1);

    model.setHingeJointAngle(Types::ijRaj3, 45);
    float* posture = model.saveCurrentPosture();
    EXPECT_EQ(posture[Types::ijRaj3], 45);
    EXPECT_EQ(posture[Types::ijHj1], 0);
    delete[] posture;

    AgentModel copy(model);
    EXPECT_EQ(copy.getNumberOfJoints(), 0);
    EXPECT_EQ(copy.getJoint(0), nullptr);
}

// ---- broken descriptions: one line naming the file and the problem, status 1

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string replaceFirst(std::string text, const std::string& from, const std::string& to) {
    size_t pos = text.find(from);
    if (pos != std::string::npos) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

// Removes the first element that starts with the given text (one line).
std::string dropLine(const std::string& text, const std::string& start) {
    size_t pos = text.find(start);
    if (pos == std::string::npos) {
        return text;
    }
    size_t end = text.find('\n', pos);
    return text.substr(0, pos) + text.substr(end + 1);
}

std::string dropJoint(const std::string& text, const std::string& perceptor) {
    size_t pos = text.find("perceptor=\"" + perceptor + "\"");
    size_t begin = text.rfind("  <joint", pos);
    size_t end = text.find("</joint>\n", pos) + 9;
    return text.substr(0, begin) + text.substr(end);
}

struct BrokenDescription {
    const char* name;
    std::string (*edit)(const std::string&);
    const char* problem;  // regex of the message after the file name
};

const BrokenDescription kBroken[] = {
    {"NotXml", [](const std::string&) { return std::string("<agentmodel rsgfile='x'"); },
     "cannot be read or parsed"},
    {"WrongRoot", [](const std::string& t) {
         return replaceFirst(replaceFirst(t, "<agentmodel", "<robot"), "</agentmodel>", "</robot>"); },
     "root tag 'agentmodel' expected, 'robot' found\\."},
    {"NoRsgfile", [](const std::string& t) { return replaceFirst(t, "rsgfile=", "scene="); },
     "attribute 'rsgfile' expected"},
    {"RsgWithoutRsg", [](const std::string& t) { return replaceFirst(t, "nao_hetero.rsg 0", "nao_hetero 0"); },
     "attribute 'rsgfile'.*'nao/nao_hetero 0' found"},
    {"RsgWithoutSeparator", [](const std::string& t) { return replaceFirst(t, "nao_hetero.rsg 0", "nao_hetero.rsg0"); },
     "attribute 'rsgfile'"},
    {"RsgWithoutType", [](const std::string& t) { return replaceFirst(t, "nao_hetero.rsg 0", "nao_hetero.rsg"); },
     "attribute 'rsgfile'"},
    {"RsgTypeFive", [](const std::string& t) { return replaceFirst(t, "nao_hetero.rsg 0", "nao_hetero.rsg 5"); },
     "attribute 'rsgfile'.*robot type 0 to 4"},
    {"TwentyTwoParts", [](const std::string& t) { return dropLine(t, "<bodypart name=\"rfoot\""); },
     "23 'bodypart' elements expected, 22 found"},
    {"TwentyOneJoints", [](const std::string& t) { return dropJoint(t, "raj4"); },
     "22 'joint' elements expected, 21 found"},
    {"OneAnchor", [](const std::string& t) { return dropLine(t, "<anchor part=\"lshank\" index=\"1\""); },
     "joint 'lleg_knee' needs two anchors"},
    {"AnchorOfUnknownPart", [](const std::string& t) {
         return replaceFirst(t, "<anchor part=\"rankle\" index=\"1\"", "<anchor part=\"rankel\" index=\"1\""); },
     "joint 'rleg_ankle_pitch' needs two anchors"},
    {"AnchorsSwapped", [](const std::string& t) {
         return replaceFirst(t, "<anchor part=\"neck\" index=\"0\"", "<anchor part=\"neck\" index=\"1\""); },
     "joint 'head_yaw' needs two anchors"},
    {"NoMass", [](const std::string& t) {
         std::string out = t;
         for (size_t pos = out.find("mass=\""); pos != std::string::npos; pos = out.find("mass=\"", pos + 1)) {
             size_t end = out.find('"', pos + 6);
             out.replace(pos + 6, end - pos - 6, "0");
         }
         return out; },
     "the body parts' total mass must be above 0"},
};

class BrokenDescriptionTest : public ::testing::TestWithParam<BrokenDescription> {};

TEST_P(BrokenDescriptionTest, EndsWithStatusOneAndOneLine) {
    const BrokenDescription& c = GetParam();
    // The normal and sanitizer builds may run this at the same time.
    std::string path = ::testing::TempDir() + "broken_" + c.name + "_" + std::to_string(::getpid()) + ".xml";
    {
        std::ofstream out(path);
        out << c.edit(readFile(dataPath("nao.xml")));
    }
    EXPECT_EXIT(Singleton<AgentModel>::getInstance().initialize(path), ::testing::ExitedWithCode(1),
                "^" + path + ": " + c.problem + "[^\n]*\n$");
    std::remove(path.c_str());
}

TEST(BrokenDescriptionTest, MissingFile) {
    std::string path = ::testing::TempDir() + "no_such_robot.xml";
    EXPECT_EXIT(Singleton<AgentModel>::getInstance().initialize(path), ::testing::ExitedWithCode(1),
                "^" + path + ": cannot be read or parsed[^\n]*\n$");
}

// A perceptor name's text reaches the joint that the name map gives it, for
// every robot type, and the later of two joints sharing a name, as in the map.
TEST(AgentModelTest, PerceptorTextFindsTheMappedJoint) {
    for (const char* file : kFiles) {
        AgentModel& model = load(file);
        for (const auto& entry : model.mJointNameId) {
            model.setHingeJointAngle(entry.first.c_str(), 7.5f);
            EXPECT_EQ(model.getJoint(entry.second)->getAngle(), 7.5f) << file << " " << entry.first;
            model.setHingeJointAngle(entry.second, 0);
        }
        for (int i = 0; i < Types::NJOINTS; ++i) {
            EXPECT_EQ(model.getJoint(i)->getAngle(), 0) << file << " " << i;
        }
    }

    std::string path = ::testing::TempDir() + "shared_perceptor_" + std::to_string(::getpid()) + ".xml";
    {
        std::ofstream out(path);
        out << replaceFirst(readFile(dataPath("nao.xml")), "perceptor=\"raj4\"", "perceptor=\"raj1\"");
    }
    AgentModel& model = load("nao.xml");
    model.initialize(path);
    std::remove(path.c_str());
    ASSERT_EQ(model.getJoint(Types::ijRaj1)->perceptor, "raj1");
    ASSERT_EQ(model.getJoint(Types::ijRaj4)->perceptor, "raj1");
    const int later = std::max<int>(Types::ijRaj1, Types::ijRaj4);  // read after the other
    EXPECT_EQ(model.mJointNameId["raj1"], later);
    model.setHingeJointAngle(later, 0);
    model.setHingeJointAngle("raj1", 21);
    EXPECT_EQ(model.getJoint(later)->getAngle(), 21);
    model.setHingeJointAngle(std::string("raj1"), 22);
    EXPECT_EQ(model.getJoint(later)->getAngle(), 22);
    model.setHingeJointAngle("raj4", 23);
    EXPECT_NE(model.getJoint(Types::ijRaj4)->getAngle(), 23);
    EXPECT_NE(model.getJoint(Types::ijRaj1)->getAngle(), 23);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, BrokenDescriptionTest, ::testing::ValuesIn(kBroken),
                         [](const ::testing::TestParamInfo<BrokenDescription>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
