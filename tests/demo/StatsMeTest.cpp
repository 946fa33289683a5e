// StatsMe inscriptions: the two layouts, kept line feeds and NULs, skipped formats, end of copy.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/edit/StatsMe.h"

namespace vorelix::demo {
namespace {

using namespace std::string_literals;

std::string Inscription(char format, const std::string& text) {
    return "\x17\x1D\x01"s + format + std::string(format == 0 ? 18 : 20, '\x07') + text + '\0';
}

TEST(StatsMe, InscriptionsFoundAndTheirTextsBlanked) {
    const std::string marker = "\x17\x1D\x01"s;
    const test::Pieces skipped = {{600, marker + '\x05'}, {605, Inscription('\0', "hidden")}};
    const struct {
        const char* name;
        std::size_t length;
        test::Pieces pieces;
        bool found;
        std::size_t inscriptions;
        test::Pieces blanks;  // what applying the plan must leave
    } cases[] = {
        {"first layout", 2000, {{600, Inscription('\0', "abc\nde")}}, true, 1, {{622, "   \n  "}}},
        {"second layout", 2000, {{600, Inscription('\x99', "xyz")}}, true, 1, {{624, "   "}}},
        // Another format byte moves the search ten bytes on, past an inscription starting inside, onto
        // one starting there.
        {"other format", 2000, skipped, false, 0, {}},
        {"after other format",
         2000,
         {skipped[0], skipped[1], {610, Inscription('\0', "ab")}},
         true,
         1,
         {{632, "  "}}},
        {"empty text", 2000, {{600, Inscription('\0', "")}}, true, 1, {}},
        // The file's last byte is not part of the copy, so this text never meets its NUL.
        {"text to the end", 2000, {{1960, marker + '\0' + std::string(35, 'z')}}, true, 1, {}},
        {"format as the last byte", 1000, {{996, marker + '\x99'}}, true, 1, {}},
        {"shorter than 1000 bytes", 999, {{600, Inscription('\0', "abc")}}, false, 0, {}},
        // The search goes on at the text's NUL: markers inside a text are not seen.
        {"marker in a text",
         3000,
         {{600, Inscription('\0', "a" + marker + '\x99' + std::string(30, 'b'))},
          {800, Inscription('\x99', "two")}},
         true,
         2,
         {{622, std::string(35, ' ')}, {824, "   "}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string demo = test::MakeDemo(c.length, c.pieces);
        const auto result = PlanStatsMeRemoval(AsBytes(demo));
        EXPECT_EQ(result.found, c.found);
        EXPECT_EQ(result.inscriptions, c.inscriptions);
        std::string applied = demo;
        for (const auto& run : result.plan.runs) test::PutAt(applied, run.offset, run.bytes);
        EXPECT_EQ(applied, test::WithPieces(demo, c.blanks));
    }
}

}  // namespace
}  // namespace vorelix::demo
