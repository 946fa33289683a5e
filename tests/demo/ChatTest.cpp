// The chat scan (accepted and skipped lines, the 200-byte limit, spanning entries, the last byte)
// and the plans that edit or blank its lines.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/ChatEdit.h"
#include "demo/ChatScan.h"

namespace vorelix::demo {
namespace {

TEST(ChatScan, LinesFoundWithTheirPositions) {
    const std::string a190 = std::string(190, 'a') + " :   abc";  // 198 bytes: the longest line kept
    const std::string b191 = std::string(191, 'b') + " :   abc";
    const std::string q250 = std::string(250, 'q') + " :   x";  // separator at 751: too long a line
    const struct {
        const char* name;
        std::size_t length;
        test::Pieces pieces;
        std::vector<std::pair<std::int64_t, std::string>> lines;
    } cases[] = {
        {"two lines",
         2000,
         {{500, "\2Ann :   hello\n"}, {700, "\2Bob :   bye\n"}},
         {{502, "Ann :   hello"}, {702, "Bob :   bye"}}},
        {"shorter than 1000 bytes", 999, {{500, "\2x :   y\n"}}, {}},
        {"exactly 1000 bytes", 1000, {{500, "\2x :   y\n"}}, {{502, "x :   y"}}},
        {"line feed as the last byte", 1000, {{991, "\2x :   y\n"}}, {}},
        {"198 bytes at most", 3000, {{500, "\2" + a190 + "\n"}, {1000, "\2" + b191 + "\n"}}, {{502, a190}}},
        {"separator without line feed", 2000, {{1900, "\2z :   x :   y"}}, {}},
        // A skipped separator resumes ten bytes after its first byte: one inside those is missed.
        {"skip hides the next",
         2000,
         {{500, "\2" + q250 + "\n"}, {758, "\2a :   b\n"}, {800, "\2c :   d\n"}},
         {{802, "c :   d"}}},
        {"line without start byte spans",
         2000,
         {{500, "\2a :   one\nb :   two\n"}},
         {{502, "a :   one"}, {502, "a :   one\nb :   two"}}},
        {"no start byte: scan ends",
         2000,
         {{404, std::string(196, 'x')}, {500, "a :   b\n"}, {700, "\2c :   d\n"}},
         {}},
        {"any byte but line feed", 2000, {{500, "\2a :   \2\1\xff\n"}}, {{502, "a :   \2\1\xff"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string demo = test::MakeDemo(c.length, c.pieces);
        std::vector<std::pair<std::int64_t, std::string>> lines;
        for (const auto& line : ScanChat(AsBytes(demo))) lines.emplace_back(line.position, line.text);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(ChatEdit, KeepsTheOldLengthAndDeletesAsBlanks) {
    const std::vector<ChatEntry> entries{
        {100, std::string(20, 'o')}, {200, "a :   one"}, {200, "a :   one\nb :   two"}, {300, "xy"}};
    const auto text = [&](std::int64_t at, const std::string& typed) {
        return PlanChatEdit(entries, 1000, at, typed, TextRule{})->runs.at(0).bytes;
    };
    // Cutting, padding and the 0-based offset are checked end to end by the command-line tests.
    // Differs only beyond the old length: written back unchanged. The same text: nothing.
    EXPECT_EQ(text(100, std::string(20, 'o') + "x"), std::string(20, 'o'));
    EXPECT_TRUE(PlanChatEdit(entries, 1000, 100, std::string(20, 'o'), TextRule{})->empty());
    EXPECT_FALSE(PlanChatEdit(entries, 1000, 101, "x", TextRule{}).ok());
    // A spanning entry is written only up to its first line feed.
    EXPECT_EQ(text(200, "replacement text"), "replaceme");

    auto deleted = PlanChatDelete({entries[2], entries[3]}, 1000, {300, 200});
    EXPECT_EQ(deleted->runs.at(0).bytes, "  ");
    EXPECT_EQ(deleted->runs.at(1).bytes, std::string(9, ' '));
    EXPECT_FALSE(PlanChatDelete(entries, 1000, {100, 150}).ok());
}

}  // namespace
}  // namespace vorelix::demo
