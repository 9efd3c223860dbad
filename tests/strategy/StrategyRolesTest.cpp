#include <gtest/gtest.h>

#include "strategy/StrategyFixture.h"

namespace {

class RolesTest : public StrategyFileFixture {
protected:
    std::unique_ptr<Strategy> s;

    void SetUp() override
    {
        StrategyFileFixture::SetUp();
        s = load();
        ASSERT_TRUE(s);
        for (int u = 1; u <= 11; u++)
            s->StDec.FM_StrategicPos[u] = Vector((float)u, (float)-u);
    }
};

TEST_F(RolesTest, TheFormationFileGivesEachSlotItsRole)
{
    const int expected[] = {NO_ROLE, GOA, DBL, DBR, DFL, DFR, KEC, KEL, KER, SUL, SUR, KCF};
    for (int slot = 1; slot <= 11; slot++)
        EXPECT_EQ(s->getFormationRole(1, slot), expected[slot]) << slot;
    EXPECT_EQ(s->FM.roles[1][0].first, -1);
    // A formation without a role list has no roles.
    EXPECT_EQ(s->getFormationRole(2, 3), NO_ROLE);
}

TEST_F(RolesTest, UpdatePositionMovesPlayersToTheSlotOfTheirRole)
{
    s->updateAgentsRole(Role(7, DBR));   // slot 3
    s->updateAgentsRole(Role(3, KEL));   // slot 7
    s->updateAgentsRole(Role(5, GOS));   // no slot holds it
    s->updatePosition();
    EXPECT_FLOAT_EQ(s->GetStrategicPos(7).x, 3);
    EXPECT_FLOAT_EQ(s->GetStrategicPos(3).x, 7);
    EXPECT_FLOAT_EQ(s->GetStrategicPos(5).x, 5);
    EXPECT_FLOAT_EQ(s->GetStrategicPos(2).x, 2);  // NO_ROLE
    EXPECT_EQ(s->getAgentsRole(7).idRole, DBR);
}

TEST_F(RolesTest, WithoutARoleListNobodyMoves)
{
    s->SetFormation(2);
    s->updateAgentsRole(Role(7, DBR));
    s->updatePosition();
    EXPECT_FLOAT_EQ(s->GetStrategicPos(7).x, 7);
}

Strategy::PlayerList standing(const std::vector<std::pair<int, Vector> >& where)
{
    Strategy::PlayerList list;
    for (const auto& w : where)
        list.push_back(std::make_pair(w.first, std::make_pair((double)w.second.x, (double)w.second.y)));
    return list;
}

TEST_F(RolesTest, ScramSwapsSlotsAndCarriesRolesAlong)
{
    // Shirt 4 stands on slot 7's spot and shirt 7 on slot 4's.
    Strategy::PlayerList list;
    for (int u = 2; u <= 11; u++) {
        const int at = u == 4 ? 7 : (u == 7 ? 4 : u);
        list.push_back(std::make_pair(u, std::make_pair((double)at, (double)-at + 0.2)));
    }
    s->configurePlayersWithFormation(list);
    ASSERT_TRUE(s->runScram(list));
    s->updateRolesFromFormation();
    EXPECT_EQ(s->getAgentsRole(4).idRole, KEL);
    EXPECT_EQ(s->getAgentsRole(7).idRole, DFL);
    EXPECT_FLOAT_EQ(s->GetStrategicPos(4).x, 7);
    EXPECT_FLOAT_EQ(s->GetStrategicPos(7).x, 4);
    EXPECT_FLOAT_EQ(s->getAgentsRole(4).targetScram.x, 7);
    EXPECT_EQ(s->getAgentsRole(9).idRole, SUL);
    EXPECT_FLOAT_EQ(s->GetStrategicPos(9).x, 9);
    EXPECT_EQ(s->getAgentsRole(1).idRole, NO_ROLE);
}

TEST_F(RolesTest, ScramWithoutAFormationInForceChangesNothing)
{
    s->SetFormation(0);
    const Strategy::PlayerList list = standing({{2, Vector(9, 9)}, {3, Vector(2, -2)}});
    EXPECT_FALSE(s->runScram(list));
    EXPECT_FLOAT_EQ(s->GetStrategicPos(2).x, 2);
    EXPECT_TRUE(s->SC.result.empty());
}

TEST_F(RolesTest, ConfigureTakesSlotRolesAndTargets)
{
    s->configurePlayersWithFormation(standing({{5, Vector(0, 0)}, {11, Vector(1, 1)}}));
    ASSERT_EQ(s->formation.size(), 2u);
    EXPECT_EQ(s->formation[0].unum, 5);
    EXPECT_EQ(s->formation[0].idRole, DFR);
    EXPECT_FLOAT_EQ(s->formation[0].targetFormation.x, 5);
    EXPECT_EQ(s->formation[1].idRole, KCF);
}

}  // namespace
