// The chat scan: accepted and skipped lines, the 200-byte limit, spanning entries, the last byte.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/ChatScan.h"

namespace vorelix::demo {
namespace {

using test::MakeDemo;
using test::PutAt;

std::vector<ChatEntry> Scan(const std::string& demo) {
    return ScanChat(AsBytes(demo));
}

TEST(ChatScan, LineBetweenStartByteAndLineFeedWithItsPosition) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 500,
          "\x02"
          "Ann :   hello\n");
    PutAt(demo, 700,
          "\x02"
          "Bob :   bye\n");
    const auto entries = Scan(demo);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "Ann :   hello");
    EXPECT_EQ(entries[0].position, 502);  // offset 501 is the text's first byte
    EXPECT_EQ(entries[1].text, "Bob :   bye");
    EXPECT_EQ(entries[1].position, 702);
}

TEST(ChatScan, ShortFilesGiveNothingAndTheLastByteIsNotRead) {
    std::string small = MakeDemo(999);
    PutAt(small, 500, "\x02x :   y\n");
    EXPECT_TRUE(Scan(small).empty());
    std::string exact = MakeDemo(1000);
    PutAt(exact, 500, "\x02x :   y\n");
    EXPECT_EQ(Scan(exact).size(), 1u);

    std::string last = MakeDemo(1000);
    PutAt(last, 991, "\x02x :   y\n");  // its line feed is the file's last byte
    EXPECT_TRUE(Scan(last).empty());
}

TEST(ChatScan, LineLimitIs198BytesOfText) {
    std::string demo = MakeDemo(3000);
    PutAt(demo, 500, "\x02" + std::string(190, 'a') + " :   " + "abc" + "\n");   // 198 bytes
    PutAt(demo, 1000, "\x02" + std::string(191, 'b') + " :   " + "abc" + "\n");  // 199 bytes
    PutAt(demo, 1500,
          "\x02"
          "c :   ok\n");
    const auto entries = Scan(demo);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text.size(), 198u);
    EXPECT_EQ(entries[1].text, "c :   ok");
}

TEST(ChatScan, SeparatorWithoutLineFeedIsSkippedTenBytesOn) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 1900, "\x02z :   x :   y");
    EXPECT_TRUE(Scan(demo).empty());
    // A skipped separator resumes ten bytes after its first byte: one inside those bytes is missed.
    std::string overlap = MakeDemo(2000);
    PutAt(overlap, 500, "\x02" + std::string(250, 'q') + " :   x\n");  // separator at 751, too long
    PutAt(overlap, 758,
          "\x02"
          "a :   b\n");  // separator at 760: missed
    PutAt(overlap, 800,
          "\x02"
          "c :   d\n");
    const auto entries = Scan(overlap);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "c :   d");
}

TEST(ChatScan, SecondLineWithoutStartByteSpansBoth) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 500,
          "\x02"
          "a :   one\nb :   two\n");
    const auto entries = Scan(demo);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "a :   one");
    EXPECT_EQ(entries[1].text, "a :   one\nb :   two");
    EXPECT_EQ(entries[0].position, entries[1].position);
}

TEST(ChatScan, NoStartByteBeforeTheFirstSeparatorEndsTheScan) {
    std::string demo = MakeDemo(2000);
    for (std::size_t i = 404; i < 600; ++i) demo[i] = 'x';
    PutAt(demo, 500, "a :   b\n");
    PutAt(demo, 700,
          "\x02"
          "c :   d\n");
    EXPECT_TRUE(Scan(demo).empty());
}

TEST(ChatScan, TextMayHoldAnyByteButTheLineFeed) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 500,
          "\x02"
          "a :   \x02\x01\xff\n");
    const auto entries = Scan(demo);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "a :   \x02\x01\xff");
}

}  // namespace
}  // namespace vorelix::demo
