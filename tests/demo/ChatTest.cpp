// The chat scan (accepted and skipped lines, the 200-byte limit, spanning entries, the last byte)
// and the plans that edit or blank its lines.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/edit/ChatEdit.h"
#include "demo/edit/ChatScan.h"

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

// Edits and deletes as the utilities window and vorelix-cli decide them, and what the list shows after.
TEST(ChatEdit, WithinTheFirstLineAsTheWholeEntryIsShown) {
    const std::vector<ChatEntry> entries{
        {100, std::string(20, 'o')},
        {200, "a :   one"},
        {200, "a :   one\nb :   two"},
        {300, "xy"},
        {400, "\xD0\x94\xD0\xB0 :   ok"},  // Да in UTF-8
        // Its first line alone would be UTF-8, but the whole is not: it is shown in the code page.
        {500, "\xD0\x96 :   a\nb :   \xFF"},
    };
    const TextRule rule(Windows1251());
    using Shown = std::vector<std::pair<std::size_t, std::string>>;
    const struct {
        const char* name;
        std::size_t index;
        std::string typed;
        test::Pieces runs;
        Shown shown;
    } cases[] = {
        {"cut to the old length",
         0,
         std::string(20, 'o') + "x",
         {{99, std::string(20, 'o')}},
         {{0, std::string(20, 'o')}}},
        {"the same text: nothing", 0, std::string(20, 'o'), {}, {}},
        {"an empty text: nothing", 3, "", {}, {}},
        {"padded with blanks", 3, "x", {{299, "x "}}, {{3, "x "}}},
        {"the first line of a spanning entry: nothing", 2, "a :   one", {}, {}},
        // Both entries starting there show it; the spanning one keeps its second line.
        {"up to the first line feed",
         2,
         "replacement text",
         {{199, "replaceme"}},
         {{1, "replaceme"}, {2, "replaceme\nb :   two"}}},
        {"never cut inside a UTF-8 character",
         4,
         "\xD0\x94\xD0\xB0 :   o\xD0\xBF\xD1\x80",
         {{399, "\xD0\x94\xD0\xB0 :   o "}},
         {{4, "\xD0\x94\xD0\xB0 :   o "}}},
        {"in the code page the whole entry is shown in",
         5,
         "\xD0\x96 :   b",
         {{499, "\xC6 :   b "}},
         {{5, "\xC6 :   b \nb :   \xFF"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto edit = PlanChatEdit(entries, c.index, c.typed, 1000, rule);
        ASSERT_TRUE(edit.ok()) << edit.failure().systemText;
        EXPECT_EQ(edit->plan.fileLength, 1000u);
        test::Pieces runs;
        for (const auto& run : edit->plan.runs) runs.emplace_back(run.offset, run.bytes);
        EXPECT_EQ(runs, c.runs);
        EXPECT_EQ(edit->shown, c.shown);
    }
    // What an edit starts from: the entry as shown, up to its first line feed.
    EXPECT_EQ(EditableText(entries[2], rule), "a :   one");
    EXPECT_EQ(EditableText(entries[5], rule), "\xD0\xA0\xE2\x80\x93 :   a");

    EXPECT_EQ(PlanChatEdit(entries, 3, "\xCE\xA9", 1000, rule).failure().systemText,
              "the character \"\xCE\xA9\" (U+03A9) cannot be written in code page 1251, in which this chat "
              "line is shown");
    EXPECT_EQ(PlanChatEdit(entries, 3, "a\nb", 1000, rule).failure().systemText,
              "a chat text cannot hold the control character U+000A (line feed)");

    // Deleted: the writable bytes blanked, a shared start once; an entry left that starts there shows
    // the blanks.
    const struct {
        std::vector<std::size_t> indexes;
        test::Pieces runs;
        Shown shown;
    } deletes[] = {
        {{1, 3}, {{199, std::string(9, ' ')}, {299, "  "}}, {{2, std::string(9, ' ') + "\nb :   two"}}},
        {{1, 2, 2}, {{199, std::string(9, ' ')}}, {}},
    };
    for (const auto& d : deletes) {
        const EntryEdit edit = PlanChatDelete(entries, d.indexes, 1000);
        test::Pieces runs;
        for (const auto& run : edit.plan.runs) runs.emplace_back(run.offset, run.bytes);
        EXPECT_EQ(runs, d.runs);
        EXPECT_EQ(edit.shown, d.shown);
    }
}

}  // namespace
}  // namespace vorelix::demo
