// Where an edit's bytes go (merged runs, refused runs past the end) and where its backup copy goes.
#include <gtest/gtest.h>

#include <set>

#include "demo/edit/BackupName.h"
#include "demo/edit/WritePlan.h"

namespace vorelix::demo {
namespace {

TEST(WritePlan, RunsMergeLaterWinsAndMustStayInsideTheLength) {
    const WritePlan plan{100, {{10, "cd"}, {8, "ab"}, {20, "x"}, {11, "ZZ"}, {30, ""}}};
    const WritePlan merged = Coalesced(plan);
    ASSERT_EQ(merged.runs.size(), 2u);
    EXPECT_EQ(merged.runs[0].offset, 8u);
    EXPECT_EQ(merged.runs[0].bytes, "abcZZ");
    EXPECT_EQ(merged.runs[1].offset, 20u);
    EXPECT_EQ(plan.BytesWritten(), 7u);

    EXPECT_TRUE(CheckPlanFits(WritePlan{10, {{8, "ab"}}}).ok());
    EXPECT_FALSE(CheckPlanFits(WritePlan{10, {{9, "ab"}}}).ok());
    EXPECT_FALSE(CheckPlanFits(WritePlan{10, {{~0ull, "a"}}}).ok());
    EXPECT_TRUE(CheckPlanFits(WritePlan{0, {{2, ""}}}).ok());
}

TEST(BackupName, TimeStampedAndACounterBeforeBakWhenTaken) {
    const std::string demo = (std::filesystem::path("demos") / "m.dem").string();
    const std::set<std::filesystem::path> taken{demo + ".10-00-00.bak", demo + ".10-00-00-2.bak"};
    const auto exists = [&](const std::filesystem::path& p) { return taken.contains(p); };
    EXPECT_EQ(BackupPathFor(demo, {9, 5, 3}, exists), demo + ".09-05-03.bak");
    EXPECT_EQ(BackupPathFor(demo, {10, 0, 0}, exists), demo + ".10-00-00-3.bak");
}

}  // namespace
}  // namespace vorelix::demo
