// The header windows, the body window's length, the HLTV marker, the size text and the summary.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "demo/DemoHeader.h"
#include "demo/DemoLayout.h"
#include "demo/DemoSummary.h"

namespace vorelix::demo {
namespace {

using test::MakeDemo;
using test::PutAt;

TEST(Header, MagicMustBeHldemoFollowedByNul) {
    std::string demo = MakeDemo(2000);
    auto header = ParseHeader(AsBytes(demo));
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header->map, "de_dust2");
    EXPECT_EQ(header->mod, "cstrike");

    std::string lower = demo;
    PutAt(lower, 0, "hldemo");
    EXPECT_FALSE(ParseHeader(AsBytes(lower)).ok());
    std::string longer = demo;
    PutAt(longer, 6, "X");
    EXPECT_FALSE(ParseHeader(AsBytes(longer)).ok());
}

TEST(Header, WindowWithoutNulIsRefusedAndTextStopsAtFirstNul) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 16, std::string(128, 'm'));  // fills the map window completely
    EXPECT_FALSE(ParseHeader(AsBytes(demo)).ok());

    std::string mod = MakeDemo(2000);
    PutAt(mod, 276, std::string(128, 'c'));
    EXPECT_FALSE(ParseHeader(AsBytes(mod)).ok());

    std::string shortMap = MakeDemo(2000);
    PutAt(shortMap, 16, std::string(127, 'm'));  // NUL is the window's last byte
    PutAt(shortMap, 24, std::string_view("\0tail", 5));
    auto header = ParseHeader(AsBytes(shortMap));
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header->map, std::string(8, 'm'));

    EXPECT_FALSE(ParseHeader(AsBytes(demo).first(403)).ok());
}

TEST(BodyWindow, LengthFollowsFileLength) {
    EXPECT_FALSE(BodyWindowLength(0).has_value());
    EXPECT_FALSE(BodyWindowLength(405).has_value());
    EXPECT_EQ(BodyWindowLength(406), 0u);
    EXPECT_EQ(BodyWindowLength(1000), 594u);
    EXPECT_EQ(BodyWindowLength(1'000'000), 999'594u);
    // Just over a million: the window would run past the end; it stops two bytes short of it.
    EXPECT_EQ(BodyWindowLength(1'000'001), 999'595u);
    EXPECT_EQ(BodyWindowLength(1'000'406), 1'000'000u);
    EXPECT_EQ(BodyWindowLength(5'000'000'000ull), 1'000'000u);
}

TEST(Hltv, MarkerCountsFromTheBodysHundredthByte) {
    std::string body(400, '\0');
    PutAt(body, 98, "HLTV Proxy:");
    EXPECT_FALSE(HasHltvMarker(AsBytes(body)));
    PutAt(body, 99, "HLTV Proxy:");
    EXPECT_TRUE(HasHltvMarker(AsBytes(body)));

    std::string cut(109, '\0');
    PutAt(cut, 99, "HLTV Proxy");  // the colon would be byte 110
    EXPECT_FALSE(HasHltvMarker(AsBytes(cut)));
    std::string lower(400, '\0');
    PutAt(lower, 200, "HLTV proxy:");
    EXPECT_FALSE(HasHltvMarker(AsBytes(lower)));
}

TEST(SizeText, ThresholdsAndIntegerDivision) {
    EXPECT_EQ(SizeText(734'512), "734Кб.");
    EXPECT_EQ(SizeText(15'876'210), "15Мб.");
    EXPECT_EQ(SizeText(1'000'999), "1000Кб.");
    EXPECT_EQ(SizeText(1'001'000), "1Мб.");
    EXPECT_EQ(SizeText(999'999'999), "999Мб.");
    EXPECT_EQ(SizeText(406), "0Кб.");
    EXPECT_EQ(SizeText(2'200'000'000ull), "2200Мб.");
}

TEST(Summary, CombinesHeaderPlayersTypeAndSize) {
    std::string demo = MakeDemo(3000, "cs_assault", "cstrike");
    PutAt(demo, 600, "\\name\\bob\\\\name\\Alice\\\\name\\alice\\\\name\\Bob\\");
    PutAt(demo, 1000, "HLTV Proxy:");
    const auto body = AsBytes(demo).subspan(404, *BodyWindowLength(demo.size()));
    auto summary = Summarize(AsBytes(demo).first(404), body, demo.size());
    ASSERT_TRUE(summary.ok());
    EXPECT_EQ(summary->map, "cs_assault");
    EXPECT_EQ(summary->mod, "cstrike");
    EXPECT_TRUE(summary->hltv);
    EXPECT_EQ(summary->TypeText(), "HLTV demo!");
    EXPECT_EQ(summary->players, (std::vector<std::string>{"bob", "alice", "Bob", "Alice"}));
    EXPECT_EQ(summary->fileSize, 3000u);
    EXPECT_EQ(summary->sizeText, "3Кб.");
}

}  // namespace
}  // namespace vorelix::demo
