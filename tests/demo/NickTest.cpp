// The nick scan of whole demos and rename plans: rooms, padding, refusal, "all similar" and one.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/edit/NickEdit.h"
#include "demo/edit/NickScan.h"

namespace vorelix::demo {
namespace {

using namespace std::string_literals;

TEST(NickScan, EveryOccurrenceInFileOrderUpToTheLastByte) {
    const std::string demo = test::MakeDemo(2000, {{414, "\\name\\Ann\\\\name\\Bob\\name\\Cy\\"},
                                                   {600, "\\name\\\\"},
                                                   {700, "\\name\\Ann\0"s},
                                                   {800, "\\name\\name\\model\\"},
                                                   {1990, "\\name\\Bob\\"}});
    auto entries = ScanNicks(AsBytes(demo));
    ASSERT_TRUE(entries.ok());
    // Unlike the player scan, the next search starts right behind the terminator: a marker there is
    // found, one that starts with the terminator ("Cy") is not, and "model" is not a nick; "Bob" at the
    // end ends on the file's last byte, which is not seen.
    std::vector<std::pair<std::int64_t, std::string>> found;
    for (const auto& entry : *entries) found.emplace_back(entry.position, entry.nick);
    EXPECT_EQ(found, (decltype(found){{421, "Ann"}, {431, "Bob"}, {607, ""}, {707, "Ann"}, {807, "name"}}));
    EXPECT_FALSE(ScanNicks(AsBytes(test::MakeDemo(999))).ok());
    EXPECT_TRUE(ScanNicks(AsBytes(test::MakeDemo(1000, {{994, "\\name\\"}})))->empty());
}

// Renames as the utilities window's Save and vorelix-cli set-nick decide them.
TEST(NickRename, TheChosenEntryOrEveryOneShownAlikeWithinItsRoom) {
    const std::string dima = "\xD0\x94\xD0\xB8\xD0\xBC\xD0\xB0";  // Дима in UTF-8: 8 bytes
    // "abc" at 100 was renamed before: its room of 8 bytes holds "abc" and five blanks.
    const std::vector<HeldNick> nicks{{101, 8, "abc"}, {201, 3, "abc"}, {301, 3, "abc"},
                                      {401, 3, "Abc"}, {501, 8, dima},  {601, 4, "\xC4\xE8\xEC\xE0"}};
    const TextRule cyrillic(Windows1251());
    const struct {
        const char* name;
        std::size_t chosen;
        bool alike;
        std::string typed;
        test::Pieces runs;  // with what the entries show afterwards: the typed text as encoded
        std::vector<std::size_t> leftOut;
    } cases[] = {
        {"only the chosen one", 1, false, "xy", {{200, "xy "}}, {}},
        {"every one shown alike, not another case",
         1,
         true,
         "xy",
         {{100, "xy      "}, {200, "xy "}, {300, "xy "}},
         {}},
        {"the room, not the text, of a renamed one", 0, false, "abcdefg", {{100, "abcdefg "}}, {}},
        {"too little room: left out", 0, true, "abcdefg", {{100, "abcdefg "}}, {1, 2}},
        {"an empty new nick: blanks", 3, false, "", {{400, "   "}}, {}},
        // Each in its own encoding, with its own room.
        {"UTF-8 and code page alike",
         4,
         true,
         "Юля",
         {{500, "\xD0\xAE\xD0\xBB\xD1\x8F  "}, {600, "\xDE\xEB\xFF "}},
         {}},
        {"room in UTF-8 only", 4, true, "Bob123", {{500, "Bob123  "}}, {5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto rename = PlanNickRename(nicks, c.chosen, c.alike, c.typed, 2000, cyrillic);
        ASSERT_TRUE(rename.ok()) << rename.failure().systemText;
        EXPECT_EQ(rename->plan.fileLength, 2000u);
        test::Pieces runs;
        for (const auto& run : rename->plan.runs) runs.emplace_back(run.offset, run.bytes);
        std::vector<std::size_t> leftOut;
        for (const auto& [index, reason] : rename->leftOut) leftOut.push_back(index);
        EXPECT_EQ(leftOut, c.leftOut);
        ASSERT_EQ(rename->shown.size(), runs.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(nicks[rename->shown[i].first].position - 1, static_cast<std::int64_t>(runs[i].first));
            // Shown without the blanks that fill the room.
            const auto& typedBytes = rename->shown[i].second;
            EXPECT_EQ(runs[i].second.substr(0, typedBytes.size()), typedBytes);
            EXPECT_EQ(runs[i].second.find_first_not_of(' ', typedBytes.size()), std::string::npos);
        }
        EXPECT_EQ(runs, c.runs);
    }

    // Refused, the reason in words: no room in the chosen one, a backslash, a character one of the
    // entries renamed cannot be written in.
    const std::pair<std::pair<std::size_t, std::string>, std::string> refused[] = {
        {{1, "abcd"}, "the new nick takes 4 bytes in code page 1251, but the demo has room for 3 there"},
        {{0, "a\\b"}, "a nick cannot hold a backslash (U+005C)"},
        {{4, "\xCE\xA9"},
         "the character \"\xCE\xA9\" (U+03A9) cannot be written in code page 1251, in which "
         "this nick is shown"},
    };
    for (const auto& [input, reason] : refused) {
        auto rename = PlanNickRename(nicks, input.first, true, input.second, 2000, cyrillic);
        ASSERT_FALSE(rename.ok());
        EXPECT_EQ(rename.failure().systemText, reason);
    }
    EXPECT_EQ(PlanNickRename(nicks, 0, true, "abcdefg", 2000, cyrillic)->leftOut.at(0).second,
              "the new nick takes 7 bytes in code page 1251, but the demo has room for 3 there");
}

}  // namespace
}  // namespace vorelix::demo
