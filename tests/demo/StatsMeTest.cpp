// StatsMe inscriptions: the two layouts, kept line feeds and NULs, skipped formats, end of copy.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/StatsMe.h"

namespace vorelix::demo {
namespace {

using namespace std::string_literals;
using test::MakeDemo;
using test::PutAt;

// The demo with the plan written into it, as applying it would leave the file.
std::string Applied(std::string demo, const WritePlan& plan) {
    for (const auto& run : plan.runs) PutAt(demo, run.offset, run.bytes);
    return demo;
}

std::string Inscription(char format, const std::string& text) {
    return "\x17\x1D\x01"s + format + std::string(format == 0 ? 18 : 20, '\x07') + text + '\0';
}

TEST(StatsMe, FirstLayoutBlanksLettersKeepsLineFeedAndNul) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 600, Inscription('\0', "abc\nde"));
    const auto result = PlanStatsMeRemoval(AsBytes(demo));
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.inscriptions, 1u);
    std::string expected = demo;
    PutAt(expected, 600 + 22, "   \n  ");
    EXPECT_EQ(Applied(demo, result.plan), expected);
}

TEST(StatsMe, SecondLayoutTextStartsTwoBytesLater) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 600, Inscription('\x99', "xyz"));
    const auto result = PlanStatsMeRemoval(AsBytes(demo));
    EXPECT_TRUE(result.found);
    std::string expected = demo;
    PutAt(expected, 600 + 24, "   ");
    EXPECT_EQ(Applied(demo, result.plan), expected);
}

TEST(StatsMe, OtherFormatsAreSkippedAndTheSearchMovesTenBytesOn) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 600, "\x17\x1D\x01\x05"s);
    PutAt(demo, 605, Inscription('\0', "hidden"));  // starts within the 9 bytes after the first
    const auto result = PlanStatsMeRemoval(AsBytes(demo));
    EXPECT_FALSE(result.found);
    EXPECT_TRUE(result.plan.runs.empty());

    std::string later = demo;
    PutAt(later, 700, Inscription('\0', "seen"));
    EXPECT_TRUE(PlanStatsMeRemoval(AsBytes(later)).found);
}

TEST(StatsMe, EmptyTextCountsAsFoundAndWritesNothing) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 600, Inscription('\0', ""));
    const auto result = PlanStatsMeRemoval(AsBytes(demo));
    EXPECT_TRUE(result.found);
    EXPECT_TRUE(result.plan.runs.empty());
}

TEST(StatsMe, TextWithoutNulBeforeTheCopyEndsWritesNothingButIsFound) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 1960, "\x17\x1D\x01"s + '\0' + std::string(36, 'z'));  // runs to the last byte
    demo.back() = '\0';  // the file's last byte is not part of the copy
    const auto result = PlanStatsMeRemoval(AsBytes(demo));
    EXPECT_TRUE(result.found);
    EXPECT_TRUE(result.plan.runs.empty());
}

TEST(StatsMe, FormatByteMayBeTheFilesLastByte) {
    std::string demo = MakeDemo(1000);
    PutAt(demo, 996, "\x17\x1D\x01\x99"s);
    EXPECT_TRUE(PlanStatsMeRemoval(AsBytes(demo)).found);
}

TEST(StatsMe, ShortDemoHasNone) {
    std::string demo = MakeDemo(999);
    PutAt(demo, 600, Inscription('\0', "abc"));
    EXPECT_FALSE(PlanStatsMeRemoval(AsBytes(demo)).found);
}

TEST(StatsMe, SearchGoesOnAtTheNulSoMarkersInsideTextsAreNotSeen) {
    std::string demo = MakeDemo(3000);
    PutAt(demo, 600,
          Inscription('\0',
                      "a\x17\x1D\x01\x99"
                      "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"));
    PutAt(demo, 800, Inscription('\x99', "two"));
    const auto result = PlanStatsMeRemoval(AsBytes(demo));
    EXPECT_EQ(result.inscriptions, 2u);
    const std::string after = Applied(demo, result.plan);
    EXPECT_EQ(after.substr(622, 35), std::string(35, ' '));
    EXPECT_EQ(after.substr(824, 3), "   ");
}

}  // namespace
}  // namespace vorelix::demo
