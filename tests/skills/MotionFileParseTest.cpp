#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "skills/Behavior.h"
#include "skills/CPGBehavior.h"
#include "skills/MDLParser.h"
#include "skills/MotionFixture.h"
#include "skills/SlotBehavior.h"
#include "skills/StepBehavior.h"

namespace {

class MotionFileParse : public MotionTest {};

TEST_F(MotionFileParse, BuildsTheDeclaredType) {
    testing::internal::CaptureStderr();
    std::unique_ptr<Behavior> slot(MDLParser::parse(fixture("keyframes.xml"), true));
    std::unique_ptr<Behavior> step(MDLParser::parse(fixture("steps.xml"), true));
    std::unique_ptr<Behavior> cpg(MDLParser::parse(fixture("patterns.xml"), true));
    testing::internal::GetCapturedStderr();
    SlotBehavior* s = dynamic_cast<SlotBehavior*>(slot.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getName(), "Fixture");
    EXPECT_EQ(s->getNumberOfSlots(), 3);
    StepBehavior* st = dynamic_cast<StepBehavior*>(step.get());
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->steps.size(), 3u);
    ASSERT_NE(dynamic_cast<CPGBehavior*>(cpg.get()), nullptr);
    EXPECT_EQ(cpg->getName(), "Sway");

    std::string expedite =
        writeFile("expedite.xml", "<behavior name='Dive' type='ExpediteSlotBehavior2'><slot/></behavior>");
    std::unique_ptr<Behavior> e(MDLParser::parse(expedite, true));
    SlotBehavior* es = dynamic_cast<SlotBehavior*>(e.get());
    ASSERT_NE(es, nullptr);
    EXPECT_EQ(es->expediteModeAdjustment, 0.02f);
    EXPECT_TRUE(es->use_sineCorrection);
    EXPECT_FLOAT_EQ(es->slots[0].delta, 1000);
    EXPECT_EQ(es->slots[0].slotname, "slot");
}

TEST_F(MotionFileParse, BadHeadersEndTheProcessWithOneLine) {
    struct Row {
        const char* file;
        const char* text;  // null: no such file
        const char* message;
    } rows[] = {
        {"missing.xml", nullptr, "FileName Not Found!"},
        {"malformed.xml", "<behavior name='a' type='SlotBehavior'>", "FileName Not Found!"},
        {"root.xml", "<motion name='a' type='SlotBehavior'/>", "You must specify a root tag named behavior"},
        {"noname.xml", "<behavior type='SlotBehavior'/>", "You must provide a name attribute for the behavior"},
        {"notype.xml", "<behavior name='a'/>", "You must provide behavior type"},
        {"badtype.xml", "<behavior name='a' type='Slot'/>", "Invalid value for attribute type of behavior"},
    };
    for (const Row& r : rows) {
        std::string path = ::testing::TempDir() + r.file;
        std::remove(path.c_str());
        if (r.text) {
            writeFile(r.file, r.text);
        }
        EXPECT_EXIT(MDLParser::parse(path, true), ::testing::ExitedWithCode(1),
                    "^" + path + ": " + r.message + "\n$")
            << r.file;
    }
}

}  // namespace
