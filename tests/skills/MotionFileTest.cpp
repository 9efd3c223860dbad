#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "physics/Types.h"
#include "skills/MotionFixture.h"
#include "skills/SlotBehavior.h"

namespace {

typedef std::vector<std::pair<int, float> > Targets;

class MotionFile : public MotionTest {};

TEST_F(MotionFile, KeyframeDefaultsDroppedIdsAndClamping) {
    SlotBehavior b;
    b.parse(fixture("keyframes.xml"), true);
    EXPECT_EQ(b.getName(), "Fixture");
    EXPECT_EQ(b.expediteModeAdjustment, 0);
    EXPECT_FALSE(b.use_sineCorrection);
    EXPECT_EQ(b.doc, nullptr);
    ASSERT_EQ(b.slots.size(), 3u);

    struct Row {
        const char* name;
        float delta;
        Targets targets;
    } rows[] = {
        // Knee -200 clamped to -130; no id is joint 0; ids 22 and -1 and the
        // other element dropped; hip roll 100 clamped to 25; "nan" reads as
        // the default 0.
        {"slot", 0.1f, {{8, -130}, {0, 30}, {5, 25}, {9, 0}}},
        {"KICK", 1000, {{5, -10}}},
        {"pause", 0.5f, {}},
    };
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(b.slots[i].slotname, rows[i].name);
        EXPECT_FLOAT_EQ(b.slots[i].delta, rows[i].delta);
        EXPECT_EQ(b.slots[i].targets, rows[i].targets) << "slot " << i;
    }
    // The last move of a joint decides its gains; "inf" is not given.
    EXPECT_EQ(b.pids[5], Vector3f(0.3f, 0.01f, -1));
    EXPECT_EQ(b.pids[8], Vector3f(0.2f, -1, -1));
    EXPECT_EQ(b.pids[9], Vector3f(-1, -1, -1));
    EXPECT_EQ(b.pids[0], Vector3f(-1, -1, -1));
}

TEST_F(MotionFile, KeyframeTypesSetTheTiming) {
    struct Row {
        const char* type;
        float adjustment;
        bool sineCorrection;
    } rows[] = {
        {"SlotBehavior", 0, false},
        {"ExpediteSlotBehavior", 0.02f, false},
        {"ExpediteSlotBehavior2", 0.02f, true},
    };
    for (const Row& r : rows) {
        std::string path = writeFile("type.xml", std::string("<behavior name='' type='") + r.type +
                                                     "'><slot delta='0.2'/></behavior>");
        SlotBehavior b;
        b.parse(path, true);
        EXPECT_EQ(b.getName(), "");
        EXPECT_EQ(b.getNumberOfSlots(), 1);
        EXPECT_EQ(b.expediteModeAdjustment, r.adjustment) << r.type;
        EXPECT_EQ(b.use_sineCorrection, r.sineCorrection) << r.type;
    }
}

TEST_F(MotionFile, KeyframeReaderEndsTheProcessOnAnUnusableFile) {
    std::string missing = ::testing::TempDir() + "no_such_motion.xml";
    EXPECT_EXIT(SlotBehavior().parse(missing, true), ::testing::ExitedWithCode(1),
                "^ERROR \\(MDLParser\\): Unable to open the file: " + missing + "\\.\n$");
    std::string step = writeFile("step_type.xml", "<behavior name='x' type='StepBehavior'/>");
    EXPECT_EXIT(SlotBehavior().parse(step, true), ::testing::ExitedWithCode(1),
                "^D1, skills/SlotBehavior\\(70\\): Invalid file type StepBehavior in " + step + "\n$");
}

}  // namespace
