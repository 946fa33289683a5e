// Backup copy names: the time stamp, the demo's extension kept, and never a taken name.
#include <gtest/gtest.h>

#include <set>

#include "demo/BackupName.h"

namespace vorelix::demo {
namespace {

TEST(BackupName, DemoPathThenTwoDigitTimeThenBak) {
    const auto none = [](const std::filesystem::path&) { return false; };
    const std::filesystem::path demo = std::filesystem::path("demos") / "match.dem";
    EXPECT_EQ(BackupPathFor(demo, {9, 5, 3}, none),
              std::filesystem::path("demos") / "match.dem.09-05-03.bak");
    EXPECT_EQ(BackupPathFor(demo, {23, 59, 59}, none).filename(), "match.dem.23-59-59.bak");
}

TEST(BackupName, TakenNamesGetACounterBeforeBak) {
    std::set<std::filesystem::path> taken{"m.dem.10-00-00.bak", "m.dem.10-00-00-2.bak"};
    const auto exists = [&](const std::filesystem::path& p) { return taken.contains(p); };
    EXPECT_EQ(BackupPathFor("m.dem", {10, 0, 0}, exists), "m.dem.10-00-00-3.bak");
    EXPECT_EQ(BackupPathFor("m.dem", {10, 0, 1}, exists), "m.dem.10-00-01.bak");
}

}  // namespace
}  // namespace vorelix::demo
