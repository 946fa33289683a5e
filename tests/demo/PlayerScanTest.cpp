// The player-name scan: first appearances, the empty first element, markers inside markers, mends.
#include <gtest/gtest.h>

#include "demo/PlayerScan.h"

namespace vorelix::demo {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

Names Scan(std::string_view body) {
    return ScanPlayers(AsBytes(body));
}

TEST(PlayerScan, NoMarkerOrWrongCaseMeansNoPlayer) {
    EXPECT_TRUE(Scan("").empty());
    EXPECT_TRUE(Scan("nothing here at all").empty());
    EXPECT_TRUE(Scan("\\Name\\Ann\\").empty());
}

TEST(PlayerScan, DistinctNamesInOrderOfFirstAppearance) {
    EXPECT_EQ(Scan("\\name\\Ann\\xx\\name\\Ann\\"), Names{"Ann"});
    EXPECT_EQ(Scan("\\name\\Bob\0\\name\\Ann\\\\name\\Bob\\"s), (Names{"Bob", "Ann"}));
    // Control bytes and blanks belong to a name.
    EXPECT_EQ(Scan("\\name\\a\x01 b\\"), Names{"a\x01 b"});
}

TEST(PlayerScan, EmptyNamesFollowTheFirstElementQuirk) {
    EXPECT_EQ(Scan("\\name\\\\"), Names{""});
    EXPECT_EQ(Scan("\\name\\\0\\name\\\\"s), Names{""});
    // An empty name before the first real one is a duplicate of the starting element...
    EXPECT_EQ(Scan("\\name\\\\\\name\\Ann\\"), Names{"Ann"});
    // ...one after it is stored like any other name.
    EXPECT_EQ(Scan("\\name\\Ann\\\\name\\\\"), (Names{"Ann", ""}));
}

TEST(PlayerScan, NextSearchStartsInsideTheMarker) {
    EXPECT_EQ(Scan("\\name\\name\\model\\"), (Names{"name", "model"}));
}

TEST(PlayerScan, UnterminatedNameAtTheEndIsDroppedAlone) {
    EXPECT_EQ(Scan("\\name\\Bob\\ \\name\\Ann"), Names{"Bob"});
    EXPECT_TRUE(Scan("\\name\\Ann").empty());
    EXPECT_TRUE(Scan("\\name\\").empty());
}

TEST(PlayerScan, APlayerCalledNoplayersIsListed) {
    EXPECT_EQ(Scan("\\name\\NOPLAYERS\\\\name\\Ann\\"), (Names{"NOPLAYERS", "Ann"}));
}

TEST(PlayerScan, DisplayOrderIsDescendingByByteValue) {
    Names names{"Alice", "bob", "Bob", "alice", "al", "\xc0\xe1"};
    SortPlayersForDisplay(names);
    EXPECT_EQ(names, (Names{"\xc0\xe1", "bob", "alice", "al", "Bob", "Alice"}));
}

}  // namespace
}  // namespace vorelix::demo
