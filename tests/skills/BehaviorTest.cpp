#include <gtest/gtest.h>

#include <map>
#include <string>

#include "skills/Behavior.h"

namespace {

// The smallest behaviour: counts its calls and shows its protected state.
class Probe : public Behavior {
public:
    explicit Probe(const std::string& n, bool* destroyed = nullptr) : Behavior(n), destroyed(destroyed) {}
    ~Probe() override {
        if (destroyed) {
            *destroyed = true;
        }
    }
    void init() override { ++inits; }
    void execute() override { ++executes; }
    bool finished() override { return executes > 1; }

    const std::map<std::string, float>& variables() const { return vars; }
    float startTime() const { return initTime; }

    bool* destroyed;
    int inits = 0;
    int executes = 0;
};

TEST(Behavior, StartsNamedWithNoVariablesAndNoStartTime) {
    Probe p("Kick");
    EXPECT_EQ(p.getName(), "Kick");
    EXPECT_EQ(p.startTime(), 0);
    EXPECT_TRUE(p.variables().empty());
}

TEST(Behavior, VariablesAreSetOverwrittenReadAndCleared) {
    Probe p("Walk");
    EXPECT_EQ(p.getVar("AmpMod", 1.5f), 1.5f);
    EXPECT_TRUE(p.variables().empty()) << "a lookup must not insert";

    p.setVar("AmpMod", 0.5f);
    p.setVar("SteerAngle", -0.1f);
    p.setVar("AmpMod", 0.75f);
    EXPECT_EQ(p.getVar("AmpMod", 1), 0.75f);
    EXPECT_EQ(p.getVar("SteerAngle", 0), -0.1f);
    EXPECT_EQ(p.getVar("Strength", 5), 5);
    EXPECT_EQ(p.variables().size(), 2u);

    p.clearVars();
    EXPECT_EQ(p.getVar("AmpMod", 1), 1);
    EXPECT_TRUE(p.variables().empty());
}

TEST(Behavior, OwnerDrivesItThroughTheBaseAndDeletesItThere) {
    bool destroyed = false;
    Behavior* b = new Probe("Probe", &destroyed);
    b->parse("no/such/file.xml");  // nothing by default
    b->init();
    b->execute();
    EXPECT_FALSE(b->finished());
    b->execute();
    EXPECT_TRUE(b->finished());
    EXPECT_EQ(static_cast<Probe*>(b)->inits, 1);
    EXPECT_EQ(b->getName(), "Probe");
    delete b;
    EXPECT_TRUE(destroyed);
}

}  // namespace
