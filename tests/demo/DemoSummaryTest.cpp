// What selecting a demo shows: the header windows, the body window, the HLTV marker, the size text
// and the players.
#include <gtest/gtest.h>

#include <optional>

#include "SyntheticDemo.h"
#include "demo/DemoHeader.h"
#include "demo/DemoSummary.h"
#include "demo/PlayerScan.h"

namespace vorelix::demo {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

TEST(Header, MagicAndTextWindows) {
    const std::string m127(127, 'm');
    const struct {
        const char* name;
        std::size_t length;
        test::Pieces pieces;
        std::optional<std::string> map;  // none: refused
    } cases[] = {
        {"valid", 2000, {}, "de_dust2"},
        {"magic in lower case", 2000, {{0, "hldemo"}}, {}},
        {"magic not followed by NUL", 2000, {{6, "X"}}, {}},
        {"map window without NUL", 2000, {{16, m127 + 'm'}}, {}},
        {"mod window without NUL", 2000, {{276, std::string(128, 'c')}}, {}},
        {"NUL as the map window's last byte", 2000, {{16, m127}}, m127},
        {"map stops at its first NUL", 2000, {{16, "mm\0tail"s}}, "mm"},
        {"shorter than the header", 403, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string demo = test::MakeDemo(c.length, c.pieces);
        auto header = ParseHeader(AsBytes(demo));
        ASSERT_EQ(header.ok(), c.map.has_value());
        if (!header.ok()) continue;
        EXPECT_EQ(header->map, *c.map);
        EXPECT_EQ(header->mod, "cstrike");
    }
}

TEST(Header, DemoProtocolFourKeepsTheGameFolderAt144) {
    const auto mod = [](std::int32_t protocol) {
        const std::string demo =
            test::MakeDemo(2000, {{8, test::Int32(protocol)}, {144, "valve\0"s}, {276, "\xfa}\x08\0"s}});
        auto header = ParseHeader(AsBytes(demo));
        return header ? header->map + " " + header->mod : "refused";
    };
    EXPECT_EQ(mod(4), "de_dust2 valve");
    EXPECT_EQ(mod(5), "de_dust2 \xfa}\x08");
    EXPECT_EQ(mod(3), "de_dust2 \xfa}\x08");
}

TEST(BodyWindowAndSizeText, FollowTheFileLength) {
    // Just over a million bytes the window would run past the end: it stops two bytes short of it.
    std::string windows, sizes;
    for (std::uint64_t length :
         {0ull, 405ull, 406ull, 1'000'000ull, 1'000'001ull, 1'000'406ull, 5'000'000'000ull})
        windows += (BodyWindowLength(length) ? std::to_string(*BodyWindowLength(length)) : "none") + " ";
    EXPECT_EQ(windows, "none none 0 999594 999595 1000000 1000000 ");
    for (std::uint64_t length : {734'512ull, 1'000'999ull, 1'001'000ull, 15'876'210ull, 2'200'000'000ull})
        sizes += SizeText(length) + " ";
    EXPECT_EQ(sizes, "734Кб. 1000Кб. 1Мб. 15Мб. 2200Мб. ");
}

TEST(Hltv, MarkerCountsFromTheBodysHundredthByte) {
    const auto marked = [](std::size_t bodyLength, std::size_t at, const char* bytes) {
        std::string body(bodyLength, '\0');
        test::PutAt(body, at, bytes);
        return HasHltvMarker(AsBytes(body));
    };
    EXPECT_FALSE(marked(400, 98, "HLTV Proxy:"));
    EXPECT_TRUE(marked(400, 99, "HLTV Proxy:"));
    EXPECT_FALSE(marked(109, 99, "HLTV Proxy"));  // the colon would be byte 110
    EXPECT_FALSE(marked(400, 200, "HLTV proxy:"));
}

TEST(PlayerScan, NamesInOrderOfFirstAppearance) {
    const struct {
        std::string body;
        Names names;
    } cases[] = {
        {"", {}},
        {"\\Name\\Ann\\", {}},
        {"\\name\\Ann\\xx\\name\\Ann\\", {"Ann"}},
        {"\\name\\Bob\0\\name\\Ann\\\\name\\Bob\\"s, {"Bob", "Ann"}},
        {"\\name\\a\x01 b\\", {"a\x01 b"}},  // control bytes and blanks belong to a name
        {"\\name\\\0\\name\\\\"s, {""}},
        // An empty name before the first real one is a duplicate of the starting element; one after
        // it is stored like any other name.
        {"\\name\\\\\\name\\Ann\\", {"Ann"}},
        {"\\name\\Ann\\\\name\\\\", {"Ann", ""}},
        {"\\name\\name\\model\\", {"name", "model"}},  // the next search starts inside the marker
        {"\\name\\Bob\\ \\name\\Ann", {"Bob"}},        // an unterminated last name is dropped alone
        {"\\name\\", {}},
        {"\\name\\NOPLAYERS\\\\name\\Ann\\", {"NOPLAYERS", "Ann"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ScanPlayers(AsBytes(c.body)), c.names) << c.body;
}

TEST(Summary, PlayersInDescendingByteOrderBesideTypeAndSize) {
    const std::string demo = test::MakeDemo(
        3000, {{0, test::MakeDemo(404, "cs_assault")},
               {600, "\\name\\bob\\\\name\\Alice\\\\name\\al\\\\name\\Bob\\\\name\\\xc0\xe1\\"},
               {1000, "HLTV Proxy:"}});
    auto summary = Summarize(AsBytes(demo).first(404), AsBytes(demo).subspan(404, 2594), demo.size());
    ASSERT_TRUE(summary.ok());
    EXPECT_EQ(summary->map, "cs_assault");
    EXPECT_EQ(summary->TypeText(), "HLTV demo!");
    EXPECT_EQ(summary->players, (Names{"\xc0\xe1", "bob", "al", "Bob", "Alice"}));
    EXPECT_EQ(summary->sizeText, "3Кб.");
    const auto shown = [](std::string_view bytes) { return "<" + std::string(bytes) + ">"; };
    EXPECT_EQ(InformationLines("a.dem", *summary, shown),
              (std::array<std::string, 5>{"Demo name: a.dem", "Map: <cs_assault>", "Mod: <cstrike>",
                                          "Type: HLTV demo!", "Size: 3Кб."}));
}

}  // namespace
}  // namespace vorelix::demo
