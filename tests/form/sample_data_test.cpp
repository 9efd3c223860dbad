#include "form/sample_data.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using rcsc::Vector2D;
using rcsc::formation::SampleData;

TEST(SampleDataTest, HoldsACopyAndChecksIndices)
{
    SampleData::PlayerCont players = {Vector2D(1.0, 2.0), Vector2D(-3.0, 4.5)};
    std::vector<int> modified = {7, 9};
    const SampleData s(10, 3, players, modified);
    players[0] = Vector2D(0.0, 0.0);
    modified.clear();

    EXPECT_EQ(10, s.bowner_);
    EXPECT_EQ(3, s.index_);
    EXPECT_EQ(2, s.nPlayersChanged());
    EXPECT_EQ(Vector2D(1.0, 2.0), s.getPosition(0));
    EXPECT_EQ(9, s.getPlayerChanged(1));

    EXPECT_THROW(s.getPosition(2), std::out_of_range);
    EXPECT_THROW(s.getPosition(-1), std::out_of_range);
    EXPECT_THROW(s.getPlayerChanged(2), std::out_of_range);

    std::vector<SampleData> list(1, s);
    list.push_back(s);
    list[1].players_[1] = Vector2D(0.0, 0.0);
    EXPECT_EQ(Vector2D(-3.0, 4.5), list[0].getPosition(1));
}
