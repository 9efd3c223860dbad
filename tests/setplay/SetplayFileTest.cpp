#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Setplay.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;

namespace {

// The team's set plays as the manager reads them: lines joined without separators.
std::vector<std::unique_ptr<Setplay>> teamSetplays(std::string* rest) {
    std::ifstream in(std::string(QV_DATA_DIR) + "/formations/setplay.conf");
    std::string text, line;
    while (std::getline(in, line)) {
        for (char& c : line)
            if (c == '\t') c = ' ';
        text += line;
    }
    std::vector<std::unique_ptr<Setplay>> all;
    testing::internal::CaptureStderr();
    while (Setplay* s = Setplay::parse(text, *rest, true, true, 1.6f)) {
        all.emplace_back(s);
        text = *rest;
    }
    testing::internal::GetCapturedStderr();
    return all;
}

std::string text(const Cond* c) {
    std::ostringstream os;
    if (c) c->print(os);
    return os.str();
}

// Every set play of the file reads, fits in a team message and mirrors; our
// five set pieces each have one.
TEST(TeamSetplays, LoadAndMirror) {
    std::string rest;
    std::vector<std::unique_ptr<Setplay>> all = teamSetplays(&rest);
    EXPECT_EQ(std::string::npos, rest.find_first_not_of(" \t\r\n")) << rest.substr(0, 200);
    std::set<std::string> pieces;
    std::set<int> ids;
    for (const std::unique_ptr<Setplay>& s : all) {
        SCOPED_TRACE(s->getName());
        EXPECT_TRUE(ids.insert(s->id()).second);
        EXPECT_TRUE(s->id() >= 1 && s->id() <= 31);
        EXPECT_TRUE(s->getParameters().empty());
        EXPECT_LE(s->getPlayers().size(), 15u);
        bool hasStepZero = false;
        for (const Step* step : s->getSteps()) {
            EXPECT_LE(step->id, 14u);
            if (step->id != 0) continue;
            hasStepZero = true;
            const std::string first = text(step->condition);
            for (const char* mode : {"ko_our", "ki_our", "ck_our", "fk_our", "gk_our"})
                if (first.find(std::string("(playm ") + mode + ")") != std::string::npos) pieces.insert(mode);
        }
        EXPECT_TRUE(hasStepZero);
        if (s->isInvertible()) {
            std::unique_ptr<Setplay> mirror(s->inversion());
            ASSERT_TRUE(mirror);
            EXPECT_EQ(-s->id(), mirror->id());
            std::ostringstream a, b;
            s->write(a);
            mirror->write(b);
            EXPECT_NE(a.str(), b.str());
        }
    }
    EXPECT_EQ((std::set<std::string>{"ck_our", "fk_our", "gk_our", "ki_our", "ko_our"}), pieces);
}

}  // namespace
