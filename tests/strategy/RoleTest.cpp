#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "strategy/Role.h"
#include "strategy/StrategicBehavior.h"
#include "strategy/Strategy.h"

TEST(Role, Constructors)
{
    struct Case {
        Role role;
        int unum, id;
    };
    const Case cases[] = {{Role(), 0, NO_ROLE}, {Role(GOA), 0, GOA}, {Role(9, ATT), 9, ATT}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.role.unum, c.unum);
        EXPECT_EQ(c.role.getIdRole(), c.id);
        EXPECT_EQ(c.role.getIdAlternativeRole(), 0);
        EXPECT_EQ(c.role.targetFormation, Vector(0, 0));
        EXPECT_EQ(c.role.targetScram, Vector(0, 0));
    }
}

TEST(Role, SettersAndGoalie)
{
    Role r(4, DFL);
    EXPECT_FALSE(r.isGoalie());
    r.setIdRole(GOA);
    r.setIdAlternativeRole(GOS);
    EXPECT_TRUE(r.isGoalie());
    EXPECT_EQ(r.getIdAlternativeRole(), GOS);
    Role copy = r;
    r.setIdRole(KCF);
    EXPECT_TRUE(copy.isGoalie());
    EXPECT_EQ(GOS, 13);
    EXPECT_EQ(StrategicBehavior::PassiveMarker, 12);
}

TEST(Strategy, ElevenPlayers)
{
    Strategy s;
    EXPECT_EQ(s.ST_NUM_PLAYERS, 11);
    EXPECT_EQ(s.GetStrategicPos(1), Vector(0, 0));
}

TEST(Role, Texts)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {{NO_ROLE, "No Rule"}, {GOA, "GOA"}, {DFR, "DFR"}, {KCF, "KCF"}, {GOS, "GOS"}, {14, "No Rule"}, {-1, "No Rule"}};
    for (const auto& c : cases)
        EXPECT_EQ(Role::to_string(c.code), c.text) << c.code;
    for (int code = GOA; code <= GOS; code++)
        EXPECT_EQ(Role::to_int(Role::to_string(code)), code);
    for (const char* text : {"No Rule", "goa", "GOA ", "", "XYZ"})
        EXPECT_EQ(Role::to_int(text), NO_ROLE) << '"' << text << '"';
    Role goalie(1, GOA);
    EXPECT_EQ(goalie.to_string(), "GOA No Rule");
    goalie.setIdAlternativeRole(ATT);
    EXPECT_EQ(goalie.to_string(), "GOA ATT");
}

TEST(Role, Predicates)
{
    // Each predicate and the role codes (main or alternative) that make it true.
    struct Case {
        const char* name;
        bool (Role::*pred)() const;
        std::vector<int> main;
        std::vector<int> alternative;
    };
    const Case cases[] = {
        {"isGoalie", &Role::isGoalie, {GOA}, {}},
        {"isExecutingGoalie", &Role::isExecutingGoalie, {GOA}, {GOA}},
        {"isGoalieSubstitute", &Role::isGoalieSubstitute, {}, {GOS}},
        {"isAttacker", &Role::isAttacker, {ATT}, {ATT}},
        {"isKeeper", &Role::isKeeper, {KEC, KEL, KER, KCF}, {}},
        {"isBackKeeper", &Role::isBackKeeper, {KEC, KEL, KER}, {}},
        {"isFrontKeeper", &Role::isFrontKeeper, {KCF}, {}},
        {"isCenterKeeper", &Role::isCenterKeeper, {KEC, KCF}, {}},
        {"isSupport", &Role::isSupport, {SUL, SUR}, {}},
        {"isDefensive", &Role::isDefensive, {DBL, DBR, DFL, DFR}, {}},
        {"isDefensiveBack", &Role::isDefensiveBack, {DBL, DBR}, {}},
        {"isDefensiveFront", &Role::isDefensiveFront, {DFL, DFR}, {}},
    };
    auto has = [](const std::vector<int>& v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); };
    for (const Case& c : cases) {
        for (int code = NO_ROLE; code <= GOS; code++) {
            Role asMain(3, code);
            EXPECT_EQ((asMain.*c.pred)(), has(c.main, code)) << c.name << " main " << code;
            Role asAlternative(3, NO_ROLE);
            asAlternative.setIdAlternativeRole(code);
            EXPECT_EQ((asAlternative.*c.pred)(), has(c.alternative, code)) << c.name << " alternative " << code;
        }
    }
}
