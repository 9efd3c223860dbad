#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Object.h"
#include "setplay/PlayerReference.h"
#include "setplay/SetplayException.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

const std::vector<SetplayParameter*> noParams;

TEST(SetplayPlayers, ReferenceForms) {
    OwnedList<PlayerReference> roles;
    roles.items = {new PlayerRole("a"), new PlayerID("our", 9), new PlayerRole("ab")};
    struct Case {
        const char* text;
        bool opponent;
        const char* printed;  // empty: nothing read
        const char* rest;
    } cases[] = {
        {" 7)", false, "(player :team our :number 7)", ")"},
        {"7", true, "(player :team opp :number 7)", ""},
        {"0", false, "(player :team our :number 0)", ""},
        {"-3", false, "", "-3"},
        {"(player:team opp:number 4)x", false, "(player :team opp :number 4)", "x"},
        {" ( player :team opp :number 4)", false, "", " ( player :team opp :number 4)"},
        {"(player :team opp :number 4 )", false, "", "(player :team opp :number 4 )"},
        {"(playeropponent :team opp :number 5)", true, "(player :team opp :number 5)", ""},
        {"(playerRole :roleName kicker ) z", false, "(playerRole :roleName kicker)", " z"},
        {"ab", false, "(playerRole :roleName a)", "b"},
        {"a  )", true, "(playerRole :roleName a)", ")"},
        {"b", false, "", "b"},
        {"99999999999", false, "", "99999999999"},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<PlayerReference> p(c.opponent ? PlayerReference::parseOpp(c.text, out, noParams, roles.items)
                                                      : PlayerReference::parse(c.text, out, noParams, roles.items));
        EXPECT_EQ(c.printed, p ? text(*p) : std::string()) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
    }
}

TEST(SetplayPlayers, Lists) {
    struct Case {
        const char* text;
        size_t count;
        const char* rest;
    } cases[] = {
        {"(list 1 2 (player :team opp :number 3)) x", 3, " x"},
        {" (list )", 0, ""},
        {"4 5", 1, " 5"},
        {"(list 1 2", 0, "(list 1 2"},
        {"x", 0, "x"},
    };
    for (const Case& c : cases) {
        std::string out;
        OwnedList<PlayerReference> list;
        list.items = PlayerReference::parsePlayerList(c.text, out, noParams, {});
        EXPECT_EQ(c.count, list.items.size()) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
    }
    std::string out;
    try {
        PlayerReference::parsePlayerList("(list ", out, noParams, {});
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("')' esperado", e.what());
    }
    OwnedList<PlayerReference> opp;
    opp.items = PlayerReference::parsePlayerListOpp("(list 2 3)", out, noParams, {});
    ASSERT_EQ(2u, opp.items.size());
    EXPECT_EQ("opp", opp.items[1]->value()->team);
}

TEST(SetplayPlayers, EqualityAndBinding) {
    FakeContext ctx;
    PlayerRole a1("a"), a2("a"), b("b");
    PlayerID five("our", 5), oppFive("opp", 5);
    EXPECT_TRUE(a1.equals(a2));
    EXPECT_FALSE(a1.equals(b));
    EXPECT_FALSE(a1.equals(five));
    EXPECT_FALSE(five.equals(a1));
    try {
        a1.value();
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Accessing value of non instantiated PlayerRole:a", e.what());
    }
    EXPECT_THROW(a1.instantiationText(ctx, true), SetplayException);
    a1.set(new PlayerID("our", 5));
    EXPECT_FALSE(a1.equals(a2));
    a2.set(new PlayerID("our", 5));
    EXPECT_TRUE(a1.equals(a2));
    EXPECT_TRUE(a1.equals(five));
    EXPECT_TRUE(five.equals(a1));
    EXPECT_FALSE(a1.equals(oppFive));
    EXPECT_EQ("(player :team our :number 5)", text(a1));
    EXPECT_EQ("5", a1.instantiationText(ctx, true));
    EXPECT_EQ("16", oppFive.instantiationText(ctx, true));
    EXPECT_EQ("(player :team opp :number 5)", oppFive.instantiationText(ctx, false));
    std::unique_ptr<PlayerRole> detached(a1.deepCopy());
    EXPECT_TRUE(detached->instantiated());
    a1.uninstantiate();
    EXPECT_FALSE(a1.instantiated());
    EXPECT_TRUE(detached->equals(five));
}

TEST(SetplayPlayers, CopiesIntoASetPlay) {
    OwnedList<PlayerReference> players;
    players.items = {new PlayerID("our", 1), new PlayerRole("kicker")};
    PlayerRole kicker("kicker"), other("other");
    EXPECT_EQ(players.items[1], kicker.deepCopy(noParams, players.items));
    EXPECT_EQ(players.items[1], kicker.inversion(noParams, players.items));
    try {
        other.deepCopy(noParams, players.items);
        FAIL();
    } catch (const SetplayException& e) {
        EXPECT_STREQ("Player Role not found in players list!", e.what());
    }
    PlayerID three("opp", 3);
    std::unique_ptr<PlayerReference> mirrored(three.inversion(noParams, players.items));
    EXPECT_NE(&three, mirrored.get());
    EXPECT_TRUE(three.equals(*mirrored));
}

TEST(SetplayPlayers, WholeTeams) {
    struct Case {
        const char* team;
        size_t count;
        const char* first;
        const char* last;
    } cases[] = {{"our", 11, "our", "our"}, {"opp", 11, "opp", "opp"}, {"any", 22, "our", "opp"}};
    for (const Case& c : cases) {
        OwnedList<PlayerReference> all;
        all.items = PlayerReference::allPlayersFrom(c.team);
        ASSERT_EQ(c.count, all.items.size());
        EXPECT_EQ(c.first, all.items.front()->value()->team);
        EXPECT_EQ(1u, all.items.front()->value()->number);
        EXPECT_EQ(c.last, all.items.back()->value()->team);
        EXPECT_EQ(11u, all.items.back()->value()->number);
    }
    EXPECT_THROW(PlayerReference::allPlayersFrom("both"), SetplayException);
}

TEST(SetplayObjects, Forms) {
    OwnedList<PlayerReference> roles;
    roles.items = {new PlayerRole("r")};
    struct Case {
        const char* text;
        char type;
        const char* printed;
        const char* rest;
    } cases[] = {
        {" ( ball ) ", 0, "", " ( ball ) "},
        {" (ball  ) x", 'b', "(ball)", " x"},
        {"(ownGoal)", 'o', "(ownGoal)", ""},
        {"(oppGoal))", 'g', "(oppGoal)", ")"},
        {"(OppGoal)", 0, "", "(OppGoal)"},
        {"3", 'p', "(player :team our :number 3)", ""},
        {"r", 'p', "(playerRole :roleName r)", ""},
    };
    for (const Case& c : cases) {
        std::string out;
        std::unique_ptr<Object> o(Object::parse(c.text, out, noParams, roles.items));
        EXPECT_EQ(c.type, o ? o->type() : 0) << c.text;
        EXPECT_EQ(c.rest, out) << c.text;
        if (!o) continue;
        EXPECT_EQ(c.printed, text(*o));
        Owned<Object> m(o->inversion(noParams, roles.items));
        EXPECT_EQ(c.printed, text(*m));
    }
}

}  // namespace
