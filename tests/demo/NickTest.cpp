// The nick scan of whole demos and rename plans: rooms, padding, refusal, "all similar" and one.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/NickEdit.h"
#include "demo/NickScan.h"

namespace vorelix::demo {
namespace {

using namespace std::string_literals;
using test::MakeDemo;
using test::PutAt;

TEST(ReadNickAt, StopsAtBackslashOrNulAndMovesPastIt) {
    const std::string copy = "Ann\\Bob\0rest"s;
    std::int64_t position = 1;
    EXPECT_EQ(ReadNickAt(AsBytes(copy), position), "Ann");
    EXPECT_EQ(position, 5);
    EXPECT_EQ(ReadNickAt(AsBytes(copy), position), "Bob");
    EXPECT_EQ(position, 9);
    EXPECT_FALSE(ReadNickAt(AsBytes(copy), position).has_value());  // "rest" runs to the end
    std::int64_t empty = 4;
    EXPECT_EQ(ReadNickAt(AsBytes(copy), empty), "");
    EXPECT_EQ(empty, 5);
}

TEST(NickScan, EveryOccurrenceInFileOrderWithPositions) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 10 + 404, "\\name\\Ann\\");
    PutAt(demo, 600, "\\name\\\\");
    PutAt(demo, 700, "\\name\\Ann\0"s);
    PutAt(demo, 800, "\\name\\name\\model\\");
    auto entries = ScanNicks(AsBytes(demo));
    ASSERT_TRUE(entries.ok());
    ASSERT_EQ(entries->size(), 4u);
    EXPECT_EQ((*entries)[0].nick, "Ann");
    EXPECT_EQ((*entries)[0].position, 414 + 6 + 1);
    EXPECT_EQ((*entries)[1].nick, "");
    EXPECT_EQ((*entries)[2].nick, "Ann");
    EXPECT_EQ((*entries)[2].position, 707);
    // Unlike the player scan, the next search starts behind the terminator: "model" is not a nick.
    EXPECT_EQ((*entries)[3].nick, "name");
}

TEST(NickScan, ShortDemoIsRefusedAndLastByteIsNotSeen) {
    EXPECT_FALSE(ScanNicks(AsBytes(MakeDemo(999))).ok());
    std::string demo = MakeDemo(1000);
    PutAt(demo, 990, "\\name\\Bob\\");  // the terminator is the file's last byte
    auto entries = ScanNicks(AsBytes(demo));
    ASSERT_TRUE(entries.ok());
    EXPECT_TRUE(entries->empty());
    std::string marker = MakeDemo(1000);
    PutAt(marker, 994, "\\name\\");  // the marker's own last byte is the file's last byte
    EXPECT_TRUE(ScanNicks(AsBytes(marker))->empty());
}

TEST(NickEdit, ShorterNickIsPaddedWithBlanksToTheRoom) {
    const std::vector<NickEntry> entries{{100, "Longname"}, {300, "Other"}, {500, "Longname"}};
    auto plan = PlanNickEdit(entries, 2000, "Longname", "Bob", std::nullopt);
    ASSERT_TRUE(plan.ok());
    ASSERT_EQ(plan->runs.size(), 2u);
    EXPECT_EQ(plan->runs[0].offset, 99u);
    EXPECT_EQ(plan->runs[0].bytes, "Bob     ");
    EXPECT_EQ(plan->runs[1].offset, 499u);
    EXPECT_EQ(plan->fileLength, 2000u);

    auto cleared = PlanNickEdit(entries, 2000, "Other", "", std::nullopt);
    ASSERT_TRUE(cleared.ok());
    EXPECT_EQ(cleared->runs[0].bytes, "     ");
}

TEST(NickEdit, OnlyTheEntryAtThePositionWhenOneIsGiven) {
    const std::vector<NickEntry> entries{{100, "Ann"}, {300, "Ann"}};
    auto plan = PlanNickEdit(entries, 2000, "Ann", "Zed", 300);
    ASSERT_TRUE(plan.ok());
    ASSERT_EQ(plan->runs.size(), 1u);
    EXPECT_EQ(plan->runs[0].offset, 299u);
    EXPECT_FALSE(PlanNickEdit(entries, 2000, "Ann", "Zed", 200).ok());
    EXPECT_FALSE(PlanNickEdit(entries, 2000, "Bob", "Zed", 300).ok());
}

TEST(NickEdit, TooLongNickAndUnknownOrDifferentlyCasedNickAreRefused) {
    const std::vector<NickEntry> entries{{100, "Ann"}, {300, "Ann "}};
    auto tooLong = PlanNickEdit(entries, 2000, "Ann", "Anna", std::nullopt);
    ASSERT_FALSE(tooLong.ok());
    EXPECT_NE(tooLong.failure().systemText.find("room"), std::string::npos);
    EXPECT_FALSE(PlanNickEdit(entries, 2000, "ann", "Bob", std::nullopt).ok());
    // Exact comparison: "Ann " is another nick.
    auto plan = PlanNickEdit(entries, 2000, "Ann", "Bo", std::nullopt);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan->runs.size(), 1u);
}

}  // namespace
}  // namespace vorelix::demo
