#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeContext.h"
#include "setplay/CBRManager.h"

using namespace ostrevanda::setplay;
using namespace setplaytest;
typedef CBRManager::SetplayId Candidate;

namespace {

const std::string RECORD =
    "(case :setplayId 3 :transverse our_middle :longitudinal mid_left :radial sl_4 :gameMode fk_our :adversary "
    "unknown :numOpps 2 :playersDistance 12.500000 :numUses 4 :numSuccess 2 :numUsesThisGame 1 "
    ":numSuccessThisGame 1 :successRate 1.000000)";

Case* readCase(const std::string& in, std::string* rest = nullptr) {
    std::string out;
    testing::internal::CaptureStderr();
    Case* c = Case::parse(in, out);
    testing::internal::GetCapturedStderr();
    if (rest) *rest = out;
    return c;
}

// A scratch folder holding the case-base file, removed with its contents.
struct Folder {
    std::string path;
    Folder() {
        char tmpl[] = "/tmp/casebaseXXXXXX";
        path = mkdtemp(tmpl);
    }
    ~Folder() {
        for (const std::string& f : files()) std::remove((path + "/" + f).c_str());
        rmdir(path.c_str());
    }
    std::string file() const { return path + "/cbr.conf"; }
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.push_back(e->d_name);
            closedir(d);
        }
        return out;
    }
    void write(const std::string& text) const { std::ofstream(file()) << text; }
    std::string read() const {
        std::ifstream in(file());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

std::unique_ptr<CBRManager> load(const std::string& file, std::string* errors = nullptr) {
    testing::internal::CaptureStderr();
    std::unique_ptr<CBRManager> m(new CBRManager(file, true));
    std::string err = testing::internal::GetCapturedStderr();
    if (errors) *errors = err;
    return m;
}

// A situation with no ball regions known: every region name "irrelevant".
struct Situation {
    FakeContext world;
    ProblemContext context;
    Situation(rcss::clang::PlayMode mode, unsigned nOpps) {
        world.mode = mode;
        context.update(world, nOpps);
    }
};

TEST(CaseBase, RecordsAreReadFoldedAndWritten) {
    std::string rest;
    std::unique_ptr<Case> c(readCase(RECORD + " (case", &rest));
    ASSERT_TRUE(c);
    EXPECT_EQ(" (case", rest);
    EXPECT_EQ(5u, c->getNumUses());
    EXPECT_EQ(3u, c->getNumSuccess());
    EXPECT_EQ(0u, c->getNumUsesThisGame());
    EXPECT_EQ(0u, c->getNumSuccessThisGame());
    EXPECT_EQ(rcss::clang::FreeKick_Our, c->getPlayMode());
    EXPECT_EQ("(case :setplayId 3 :transverse our_middle :longitudinal mid_left :radial sl_4 :gameMode fk_our "
              ":adversary unknown :numOpps 2 :playersDistance 12.500000 :numUses 5 :numSuccess 3 "
              ":numUsesThisGame 0 :numSuccessThisGame 0 :successRate 1.000000)",
              c->toString());

    // Tokens need no blanks between them; keys are all required, in order.
    std::unique_ptr<Case> tight(readCase(
        "(case:setplayId-3:transverse a:longitudinal b:radial c:gameMode ck_our:adversary x:numOpps 0"
        ":playersDistance 1e1:numUses 0:numSuccess 0:numUsesThisGame 0:numSuccessThisGame 0:successRate .5)"));
    ASSERT_TRUE(tight);
    EXPECT_EQ(-3, tight->getSolutionId());
    EXPECT_DOUBLE_EQ(10.0, tight->getParticipantsDistance());
    const char* bad[] = {
        "(case :setplayId 3)",
        "(case :transverse a :setplayId 3 :longitudinal b :radial c :gameMode ck_our :adversary x :numOpps 0 "
        ":playersDistance 1 :numUses 0 :numSuccess 0 :numUsesThisGame 0 :numSuccessThisGame 0 :successRate 0)",
        "(case :setplayId 3 :transverse a :longitudinal b :radial c :gameMode corner :adversary x :numOpps 0 "
        ":playersDistance 1 :numUses 0 :numSuccess 0 :numUsesThisGame 0 :numSuccessThisGame 0 :successRate 0)",
        "(case :setplayId 3 :transverse a :longitudinal b :radial c :gameMode ck_our :adversary x.y :numOpps 0 "
        ":playersDistance 1 :numUses 0 :numSuccess 0 :numUsesThisGame 0 :numSuccessThisGame 0 :successRate 0)",
        "(case :setplayId 3 :transverse a :longitudinal b :radial c :gameMode ck_our :adversary x :numOpps 0 "
        ":playersDistance nan :numUses 0 :numSuccess 0 :numUsesThisGame 0 :numSuccessThisGame 0 :successRate 0)",
        // Found by fuzzing: negative counts wrapped round, and counts whose sum is no int, were
        // written back as numbers that no longer read, losing every case after them.
        "(case :setplayId 3 :transverse a :longitudinal b :radial c :gameMode ck_our :adversary x :numOpps 0 "
        ":playersDistance 1 :numUses 3 :numSuccess 0 :numUsesThisGame -10 :numSuccessThisGame 0 :successRate 0)",
        "(case :setplayId 3 :transverse a :longitudinal b :radial c :gameMode ck_our :adversary x :numOpps -1 "
        ":playersDistance 1 :numUses 0 :numSuccess 0 :numUsesThisGame 0 :numSuccessThisGame 0 :successRate 0)",
        "(case :setplayId 3 :transverse a :longitudinal b :radial c :gameMode ck_our :adversary x :numOpps 0 "
        ":playersDistance 1 :numUses 2000000000 :numSuccess 0 :numUsesThisGame 2000000000 :numSuccessThisGame 0 "
        ":successRate 0)",
    };
    for (const char* t : bad) {
        std::unique_ptr<Case> none(readCase(t, &rest));
        EXPECT_FALSE(none) << t;
        EXPECT_EQ(t, rest);
    }
}

TEST(CaseBase, FileReadingStopsAtTheFirstBadRecord) {
    Folder dir;
    std::string bad = RECORD;
    bad.replace(bad.find(":numOpps"), 8, ":numOpp");
    std::string second = RECORD;
    second.replace(second.find("3"), 1, "4");
    dir.write(RECORD + "\n\t" + second + "\n" + bad + "\n" + RECORD + "\n");
    std::string errors;
    std::unique_ptr<CBRManager> m = load(dir.file(), &errors);
    EXPECT_EQ(2u, m->numberOfCases());
    EXPECT_EQ(1u, m->casesOf(3).size());
    EXPECT_EQ(1u, m->casesOf(4).size());
    EXPECT_NE(std::string::npos, errors.find("Remainder of CaseBase Config file:" + bad + RECORD)) << errors;

    Folder empty;
    load(empty.file(), &errors);
    EXPECT_NE(std::string::npos, errors.find("SP: empty CaseBase file!"));
}

TEST(CaseBase, Scores) {
    // A case that matches the situation in every respect, used once with success.
    FakeContext world;
    world.mode = rcss::clang::GoalieCatch_Our;
    ProblemContext now(world, 2);
    Case full(3, "irrelevant", "irrelevant", "irrelevant", rcss::clang::GoalieCatch_Our, "Opponent", 2, 4.0, 1, 1,
              0, 0, 1.0);
    EXPECT_NEAR(0.82, full.evaluate(now, CaseSimilarityWeights(), CaseConclusionWeights(), 4.0), 1e-12);
    EXPECT_NEAR(0.82, full.getEval(), 1e-12);

    struct Conclusion {
        unsigned uses, success, usesThis, successThis;
        double rate, expected;
    } conclusions[] = {
        {5, 3, 0, 0, 0.0, 1 * 0.35},
        {4, 1, 0, 0, 0.0, 4 * 0.35},
        {4, 0, 0, 0, 0.0, 0.0},
        {0, 0, 3, 3, 0.5, 0.45 + 0.1},
    };
    for (const Conclusion& c : conclusions) {
        Case k(1, "a", "b", "c", rcss::clang::PlayOn, "x", 0, 0, c.uses, c.success, c.usesThis, c.successThis, c.rate);
        EXPECT_NEAR(c.expected, k.conclusionEvaluate(CaseConclusionWeights()), 1e-12) << c.uses << "/" << c.success;
    }

    // Terms of the similarity, each alone against a case otherwise at zero.
    struct Similarity {
        const char* opp;
        unsigned caseOpps, nowOpps;
        double caseDistance, nowDistance, expected;
    } similarities[] = {
        {"Opponent", 0, 0, 0, 50, 0.25 + 0.3 + 0.13},
        {"other", 2, 1, 0, 50, 0.25 + 0.5 * 0.13},
        {"other", 2, 3, 0, 50, 0.25},
        {"other", 2, 2, 3, 1, 0.25 + 0.13 + 0.25 * 0.32},
    };
    for (const Similarity& s : similarities) {
        ProblemContext p(world, s.nowOpps);
        Case k(1, "a", "b", "c", rcss::clang::GoalieCatch_Our, s.opp, s.caseOpps, s.caseDistance, 0, 0, 0, 0, 0);
        EXPECT_NEAR(s.expected, k.similarityEvaluate(p, CaseSimilarityWeights(), s.nowDistance), 1e-9) << s.opp;
    }

    // "unknown" opponents are never the same opponent.
    world.setOpponent("");
    ProblemContext anonymous(world, 0);
    Case unknown(1, "a", "b", "c", rcss::clang::GoalieCatch_Our, "", 0, 0, 0, 0, 0, 0, 0);
    EXPECT_NEAR(0.25 + 0.32 + 0.13, unknown.similarityEvaluate(anonymous, CaseSimilarityWeights(), 0), 1e-12);
}

TEST(CaseBase, Selection) {
    Folder dir;
    Situation now(rcss::clang::GoalieCatch_Our, 0);
    auto record = [](int id, double distance, unsigned uses, unsigned success, double rate) {
        std::ostringstream os;
        os << "(case :setplayId " << id << " :transverse irrelevant :longitudinal irrelevant :radial irrelevant "
           << ":gameMode gc_our :adversary other :numOpps 0 :playersDistance " << distance << " :numUses " << uses
           << " :numSuccess " << success << " :numUsesThisGame 0 :numSuccessThisGame 0 :successRate " << rate << ")";
        return os.str();
    };
    // In place, ids 1 to 3 score 0.6 * 0.7 + 0.4 * 0.2 = 0.5 and id 4's second case 0.74.
    dir.write(record(1, 0, 0, 0, 1) + record(2, 0, 0, 0, 1) + record(3, 0, 0, 0, 1) + record(4, 0, 0, 0, 0) +
              record(4, 0, 2, 1, 0.5));
    std::unique_ptr<CBRManager> m = load(dir.file());
    ASSERT_EQ(5u, m->numberOfCases());

    // Equal best scores: the earlier candidate wins.
    const Case* best = m->retrieveCases({{3, 1, 0}, {2, 1, 0}}, &now.context);
    ASSERT_TRUE(best);
    EXPECT_EQ(3, best->getSolutionId());
    EXPECT_EQ(nullptr, m->retrieveCases({{3, 1, 0}}, nullptr));
    EXPECT_EQ(nullptr, m->retrieveCases({{9, 1, 0}}, &now.context));

    struct Choice {
        std::vector<Candidate> candidates;
        int expected;
    } choices[] = {
        // A candidate already in place (0.6) beats a best case below 0.6 ...
        {{{1, 1, 1}, {9, 1, 0}}, 9},
        // ... but not one above it.
        {{{4, 1, 1}, {9, 1, 0}}, 4},
        {{{1, 1, 1}, {9, 1, 1}}, 1},
    };
    for (const Choice& c : choices) EXPECT_EQ(c.expected, m->selectSetplay(c.candidates, &now.context));

    // No case for any candidate: a random one, never outside the list.
    Folder none;
    std::unique_ptr<CBRManager> fresh = load(none.file());
    EXPECT_EQ(7, fresh->selectSetplay({{7, 1, 0}}, &now.context));
    EXPECT_EQ(CBRManager::NO_SETPLAY, fresh->selectSetplay({}, &now.context));
    std::vector<Candidate> many;
    for (int i = 0; i < 40; ++i) many.push_back({i, 1, 0});
    for (unsigned seed = 0; seed < 200; ++seed) {
        std::srand(seed);
        const int id = fresh->selectSetplay(many, &now.context);
        EXPECT_TRUE(id >= 0 && id < 40) << id;
    }
}

TEST(CaseBase, RevisionAndWritingBack) {
    Folder dir;
    std::unique_ptr<CBRManager> m = load(dir.file());

    // Kick-offs match whatever the ball's region; success rate by the step reached.
    FakeContext world;
    world.mode = rcss::clang::KickOff_Our;
    ProblemContext kickOff(world, 1);
    testing::internal::CaptureStderr();
    m->reviseSolution(&kickOff, true, 3, {5, 3, 2.5});
    world.setBall(10, 5);
    kickOff.update(world, 1);
    m->reviseSolution(&kickOff, false, 2, {5, 3, 2.5});
    m->reviseSolution(&kickOff, false, 0, {6, 0, 1.0});  // no steps: no division by zero
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, err.find("RetainCase: NewCase Retained"));
    std::vector<const Case*> five = m->casesOf(5);
    ASSERT_EQ(1u, five.size());
    EXPECT_EQ(2u, five[0]->getNumUsesThisGame());
    EXPECT_EQ(1u, five[0]->getNumSuccessThisGame());
    EXPECT_EQ(0.0, five[0]->getSucessPercentage());
    ASSERT_EQ(1u, m->casesOf(6).size());

    // Another play mode is another case.
    Situation freeKick(rcss::clang::FreeKick_Our, 0);
    testing::internal::CaptureStderr();
    m->reviseSolution(&freeKick.context, true, 1, {5, 1, 0});
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(2u, m->casesOf(5).size());
    EXPECT_EQ(1.0, m->casesOf(5)[1]->getSucessPercentage());

    // The file holds whole records that read back with this game's counts folded in.
    std::unique_ptr<CBRManager> again = load(dir.file());
    EXPECT_EQ(3u, again->numberOfCases());
    EXPECT_EQ(2u, again->casesOf(5)[0]->getNumUses());
    EXPECT_EQ(1u, again->casesOf(5)[0]->getNumSuccess());
    EXPECT_EQ(std::vector<std::string>{"cbr.conf"}, dir.files());
}

TEST(CaseBase, WrittenBackSafely) {
    Folder dir;
    std::unique_ptr<CBRManager> m = load(dir.file());
    FakeContext world;
    world.mode = rcss::clang::GoalieCatch_Our;
    struct Name {
        const char* reported;
        const char* stored;
    } names[] = {{"", "unknown"}, {"FC Porto.v2", "FC_Porto_v2"}, {"a-b_C9", "a-b_C9"}, {"(x)", "_x_"}};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    int id = 1;
    testing::internal::CaptureStderr();
    for (const Name& n : names) {
        world.setOpponent(n.reported);
        ProblemContext p(world, 0);
        EXPECT_EQ(n.stored, p.getOppName());
        m->reviseSolution(&p, true, 1, {id, 1, nan});
        // The same opponent again, compared in the stored form: no new case.
        m->reviseSolution(&p, true, 1, {id, 1, std::numeric_limits<double>::infinity()});
        ++id;
    }
    testing::internal::GetCapturedStderr();
    std::string errors;
    std::unique_ptr<CBRManager> again = load(dir.file(), &errors);
    ASSERT_EQ(4u, again->numberOfCases()) << dir.read() << errors;
    for (int i = 1; i <= 4; ++i) {
        const Case* c = again->casesOf(i).at(0);
        EXPECT_EQ(names[i - 1].stored, c->getOppName());
        EXPECT_EQ(0.0, c->getParticipantsDistance());
        EXPECT_EQ(2u, c->getNumUses());
    }
    EXPECT_EQ(std::string::npos, dir.read().find("nan"));

    // A case base that cannot be written says so and leaves no stray file.
    std::unique_ptr<CBRManager> lost = load(dir.path + "/missing/cbr.conf");
    Situation s(rcss::clang::GoalieCatch_Our, 0);
    testing::internal::CaptureStderr();
    lost->reviseSolution(&s.context, true, 1, {1, 1, 0});
    EXPECT_FALSE(lost->retainCase());
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string::npos, err.find("NewCase Retained"));
    EXPECT_NE(std::string::npos, err.find("NOT written"));
    EXPECT_EQ(std::vector<std::string>{"cbr.conf"}, dir.files());
}

TEST(CaseBase, SituationRegions) {
    // Three strips per axis and one radial sector, enough to tell the rules apart.
    FakeContext world;
    std::vector<std::unique_ptr<Region>> regions;
    auto rec = [&](const char* name, double x0, double y0, double x1, double y1) {
        regions.emplace_back(new RegRec(pt(x0, y0), pt(x1, y1)));
        world.names.addSubstitution(name, regions.back().get());
    };
    rec("mid_left", -15, -10, 15, 0);
    rec("mid_right", -15, 0, 15, 10);
    rec("our_back", -15, -10, 0, 10);
    rec("their_back", 0, -10, 15, 10);
    regions.emplace_back(new RegTri(pt(0, 0), pt(15, 0), pt(0, 10)));
    world.names.addSubstitution("sr_4", regions.back().get());

    struct Row {
        rcss::clang::PlayMode mode;
        double x, y;
        const char *lon, *trans, *rad;
    } rows[] = {
        {rcss::clang::KickOff_Our, 5, 5, "irrelevant", "irrelevant", "irrelevant"},
        {rcss::clang::FreeKick_Our, 5, 2, "mid_right", "their_back", "sr_4"},
        {rcss::clang::FreeKick_Our, -5, -2, "mid_left", "our_back", "irrelevant"},  // no sector holds it
        {rcss::clang::CornerKick_Our, 40, -30, "mid_left", "irrelevant", "irrelevant"},
        {rcss::clang::KickIn_Opp, 3, -12, "mid_left", "their_back", "irrelevant"},
        {rcss::clang::FreeKick_Opp, std::nan(""), 0, "irrelevant", "irrelevant", "irrelevant"},
        {rcss::clang::FreeKick_Opp, std::numeric_limits<double>::infinity(), 0, "irrelevant", "irrelevant",
         "irrelevant"},
    };
    for (const Row& r : rows) {
        world.mode = r.mode;
        world.setBall(r.x, r.y);
        testing::internal::CaptureStderr();
        ProblemContext p(world, 0);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(r.lon, p.getLongitudinalRegion()) << r.x << "," << r.y;
        EXPECT_EQ(r.trans, p.getTransverseRegion()) << r.x << "," << r.y;
        EXPECT_EQ(r.rad, p.getRadialRegion()) << r.x << "," << r.y;
    }
}

}  // namespace
