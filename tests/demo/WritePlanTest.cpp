// Merging write plans, refusing runs past the end, and chat edit/delete plans.
#include <gtest/gtest.h>

#include "demo/ChatEdit.h"
#include "demo/WritePlan.h"

namespace vorelix::demo {
namespace {

TEST(WritePlan, AdjacentAndOverlappingRunsMergeLaterWins) {
    const WritePlan plan{100, {{10, "cd"}, {8, "ab"}, {20, "x"}, {11, "ZZ"}, {30, ""}}};
    const WritePlan merged = Coalesced(plan);
    ASSERT_EQ(merged.runs.size(), 2u);
    EXPECT_EQ(merged.runs[0].offset, 8u);
    EXPECT_EQ(merged.runs[0].bytes, "abcZZ");
    EXPECT_EQ(merged.runs[1].offset, 20u);
    EXPECT_EQ(merged.fileLength, 100u);
    EXPECT_EQ(plan.BytesWritten(), 7u);
}

TEST(WritePlan, RunsMustStayInsideTheScannedLength) {
    EXPECT_TRUE(CheckPlanFits(WritePlan{10, {{8, "ab"}}}).ok());
    EXPECT_FALSE(CheckPlanFits(WritePlan{10, {{9, "ab"}}}).ok());
    EXPECT_FALSE(CheckPlanFits(WritePlan{10, {{~0ull, "a"}}}).ok());
    EXPECT_TRUE(CheckPlanFits(WritePlan{0, {}}).ok());
    EXPECT_TRUE(CheckPlanFits(WritePlan{0, {{2, ""}}}).ok());
}

TEST(ChatEdit, FitsByCuttingOrPaddingToTheOldLength) {
    const std::vector<ChatEntry> entries{{100, std::string(20, 'o')}};
    auto longer = PlanChatEdit(entries, 1000, 100, std::string(25, 'n'));
    ASSERT_TRUE(longer.ok());
    EXPECT_EQ(longer->runs.at(0).bytes, std::string(20, 'n'));
    EXPECT_EQ(longer->runs.at(0).offset, 99u);
    auto shorter = PlanChatEdit(entries, 1000, 100, std::string(12, 'n'));
    EXPECT_EQ(shorter->runs.at(0).bytes, std::string(12, 'n') + std::string(8, ' '));
    // Same text or empty text: nothing is written.
    EXPECT_TRUE(PlanChatEdit(entries, 1000, 100, std::string(20, 'o'))->empty());
    EXPECT_TRUE(PlanChatEdit(entries, 1000, 100, "")->empty());
    // Differs only beyond the old length: written back unchanged.
    auto beyond = PlanChatEdit(entries, 1000, 100, std::string(20, 'o') + "x");
    EXPECT_EQ(beyond->runs.at(0).bytes, std::string(20, 'o'));
    EXPECT_FALSE(PlanChatEdit(entries, 1000, 101, "x").ok());
}

TEST(ChatEdit, SpanningEntryIsWrittenOnlyUpToItsFirstLineFeed) {
    const std::vector<ChatEntry> entries{{100, "a :   one"}, {100, "a :   one\nb :   two"}};
    auto edit = PlanChatEdit(entries, 1000, 100, "replacement text");
    ASSERT_TRUE(edit.ok());
    EXPECT_EQ(edit->runs.at(0).bytes, "replaceme");
    auto deleted = PlanChatDelete({entries[1]}, 1000, {100});
    ASSERT_TRUE(deleted.ok());
    EXPECT_EQ(deleted->runs.at(0).bytes, std::string(9, ' '));
}

TEST(ChatDelete, BlanksEverySelectedEntry) {
    const std::vector<ChatEntry> entries{{100, "abc"}, {200, "de"}, {300, "f"}};
    auto plan = PlanChatDelete(entries, 1000, {300, 100});
    ASSERT_TRUE(plan.ok());
    ASSERT_EQ(plan->runs.size(), 2u);
    EXPECT_EQ(plan->runs[0].bytes, " ");
    EXPECT_EQ(plan->runs[1].bytes, "   ");
    EXPECT_FALSE(PlanChatDelete(entries, 1000, {100, 150}).ok());
}

}  // namespace
}  // namespace vorelix::demo
