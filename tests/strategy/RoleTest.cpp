#include <gtest/gtest.h>

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
