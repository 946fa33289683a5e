// The nick scan of whole demos and rename plans: rooms, padding, refusal, "all similar" and one.
#include <gtest/gtest.h>

#include <optional>

#include "SyntheticDemo.h"
#include "demo/NickEdit.h"
#include "demo/NickScan.h"

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

TEST(NickEdit, PadsToTheRoomOrRefuses) {
    const std::vector<NickEntry> entries{{100, "Longname"}, {300, "Ann"}, {500, "Longname"}, {700, "Ann "}};
    const struct {
        const char* name;
        std::string from, to;
        std::optional<std::int64_t> at;  // none: every entry with that nick
        bool ok;
        test::Pieces runs;
    } cases[] = {
        {"shorter nick everywhere", "Longname", "Bob", {}, true, {{99, "Bob     "}, {499, "Bob     "}}},
        {"empty nick, exact bytes", "Ann", "", {}, true, {{299, "   "}}},
        {"only at the position", "Longname", "Zed", 500, true, {{499, "Zed     "}}},
        {"not at the position", "Longname", "Zed", 300, false, {}},
        {"too long for the room", "Ann", "Anna", {}, false, {}},
        {"other case", "ann", "Bob", {}, false, {}},
        {"unknown nick", "Bob", "Zed", {}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto plan = PlanNickEdit(entries, 2000, c.from, c.to, c.at, TextRule{});
        ASSERT_EQ(plan.ok(), c.ok);
        if (!plan.ok()) continue;
        test::Pieces runs;
        for (const auto& run : plan->runs) runs.emplace_back(run.offset, run.bytes);
        EXPECT_EQ(runs, c.runs);
    }
}

}  // namespace
}  // namespace vorelix::demo
