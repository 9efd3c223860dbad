#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/Region.h"
#include "setplay/Setplay.h"
#include "setplay/SetplayMessage.h"

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

// Each set play and its mirror, started at its set piece on its side of the
// field, runs to a successful end: the receiver takes its place, then gets
// the ball.
TEST(TeamSetplays, RunToTheirEnd) {
    std::string rest;
    std::vector<std::unique_ptr<Setplay>> all = teamSetplays(&rest);
    struct Piece {
        const char* mode;
        rcss::clang::PlayMode playMode;
        double x, y;
    } pieces[] = {{"ck_our", rcss::clang::CornerKick_Our, 15, -10}, {"ki_our", rcss::clang::KickIn_Our, 3, -10},
                  {"fk_our", rcss::clang::FreeKick_Our, -3, -4},   {"gk_our", rcss::clang::GoalKick_Our, -14, -2},
                  {"ko_our", rcss::clang::KickOff_Our, 0, 0}};
    FakeContext world;
    std::unique_ptr<Region> left(new RegRec(pt(-16, -11), pt(16, 0))), right(new RegRec(pt(-16, 0), pt(16, 11)));
    world.names.addSubstitution("left", left.get());
    world.names.addSubstitution("right", right.get());
    // What each run reached: its name, the roles, whether it started, its end.
    struct Outcome {
        std::string name;
        std::vector<unsigned> roles;
        bool started = false, done = false, success = false;
        int lastStep = -1;
    };
    std::vector<Outcome> outcomes;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    for (const std::unique_ptr<Setplay>& tmpl : all) {
        std::unique_ptr<Setplay> mirror(tmpl->inversion());
        for (Setplay* s : {tmpl.get(), mirror.get()}) {
            Outcome o;
            o.name = s->getName() + " " + std::to_string(s->id());
            s->substituteNamedRegions(world);
            const std::string first = text(s->getSteps().front()->condition);
            const Piece* piece = nullptr;
            for (const Piece& p : pieces)
                if (first.find(p.mode) != std::string::npos) piece = &p;
            if (!piece) {
                outcomes.push_back(o);
                continue;
            }
            world.mode = piece->playMode;
            const double side = s->id() < 0 ? -1 : 1;
            world.setBall(piece->x, side * piece->y);
            world.setPlayer("our", 7, piece->x, side * piece->y);
            world.ballOwner = false;
            world.now = 100;

            std::unique_ptr<Setplay> run(s->deepCopy());
            o.roles = run->participatingPlayersDistanceFromPositions(world);
            const Step* zero = run->getSteps().front();
            o.started = o.roles.size() == 2 && run->instantiate(InitMessage(world.now, run->id(), &o.roles), world) &&
                        zero->condition && zero->condition->eval(world);
            if (!o.started) {
                outcomes.push_back(o);
                continue;
            }
            run->start(world);
            for (int cycle = 0; cycle < 100 && !run->isDone(); ++cycle) {
                world.now += 0.5;
                std::unique_ptr<const PointSimple> place(run->currentPositioning(o.roles[1], world));
                if (place) world.setPlayer("our", o.roles[1], place->getX()->value(), place->getY()->value());
                if (run->currentStepNumber() == 1) world.ballOwner = true;
                run->updateInternalState(world);
                if (run->isDone() || !run->amLeadPlayer(world) || run->isNextStepAlreadyChosen()) continue;
                std::vector<const Transition*> open = run->possibleTransitions(world);
                for (unsigned i = 0; i < open.size(); ++i)
                    if (open[i]) {
                        run->chosenTransition(i, world);
                        break;
                    }
            }
            o.done = run->isDone();
            o.success = run->isSuccessful();
            o.lastStep = run->currentStepNumber();
            outcomes.push_back(o);
        }
    }
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(2 * all.size(), outcomes.size());
    for (const Outcome& o : outcomes) {
        EXPECT_TRUE(o.started) << o.name;
        EXPECT_EQ(7u, o.roles.empty() ? 0u : o.roles[0]) << o.name;
        EXPECT_TRUE(o.done) << o.name;
        EXPECT_TRUE(o.success) << o.name;
        EXPECT_EQ(2, o.lastStep) << o.name;
    }
}

}  // namespace
