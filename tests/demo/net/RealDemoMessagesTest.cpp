// The message reader on the real recordings: every frame of every protocol-48 demo decodes exactly
// to its end, the damaged ones are told clearly, and the events agree with the bytes.
#include <gtest/gtest.h>

#include <set>

#include "MessageDemo.h"
#include "RealDemos.h"
#include "TempDir.h"

namespace vorelix::demo::net {
namespace {

struct Read {
    explicit Read(const std::filesystem::path& path) : bytes(test::ReadFileBytes(path)), sink(bytes) {
        EXPECT_TRUE(sink.ok) << path;
    }
    std::string bytes;
    test::EventsRead sink;
};

TEST(RealDemoMessages, EveryFrameOfEveryProtocol48DemoDecodesToItsEnd) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    std::vector<std::filesystem::path> demos = test::RealDemoFiles();
    for (const auto& more : test::RealDemoFiles("more")) demos.push_back(more);
    int decoded = 0;
    for (const auto& path : demos) {
        SCOPED_TRACE(path.filename().string());
        const Read read(path);
        if (read.sink.outcome.networkProtocol != 48 || path.filename() == "sless-gs_HL1005.dem") {
            EXPECT_EQ(read.sink.outcome.notDecoded, "not decoded (demo protocol 4)");
            continue;
        }
        ++decoded;
        const DecodeOutcome& outcome = read.sink.outcome;
        // The one tiny demo of every frame kind is cut before its playback closes.
        if (path.filename() == "hldemors_frame-types.dem") {
            EXPECT_EQ(outcome.framesNotDecoded, 0u);
            continue;
        }
        EXPECT_TRUE(outcome.Whole()) << DescribeOutcome(outcome);
        EXPECT_GT(outcome.framesDecoded, 90u);
        // Only the proxy's recording says a proxy made it, whatever the director messages of the others.
        EXPECT_EQ(read.sink.recording.hltv, path.filename().string().starts_with("uds_demotesttestste"));
        EXPECT_FALSE(read.sink.recording.map.empty());
    }
    EXPECT_EQ(decoded, 31);
}

TEST(RealDemoMessages, DamagedDemosAreToldWhereTheyStop) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const std::filesystem::path folder = test::RealDemosDir() / "malformed";
    const std::pair<const char*, const char*> expected[] = {
        {"hldemors_invalid-demo-protocol.dem", "not decoded (demo protocol 4)"},
        {"hldemors_invalid-directory-entry-count.dem", "the frames end early at offset 1309"},
        {"hldemors_invalid-frame-type.dem", "offset 544: frame kind 10 is not one the game writes"},
        {"hldemors_invalid-netmsg-length.dem", "offset 544: the file ends inside a net message frame"},
    };
    for (const auto& [name, told] : expected) {
        SCOPED_TRACE(name);
        const Read read(folder / name);
        EXPECT_FALSE(read.sink.outcome.Whole());
        EXPECT_NE(DescribeOutcome(read.sink.outcome).find(told), std::string::npos)
            << DescribeOutcome(read.sink.outcome);
    }
    EXPECT_FALSE(test::EventsRead(test::ReadFileBytes(folder / "hldemors_invalid-magic.dem")).ok);
}

TEST(RealDemoMessages, ChatLiesWhereItsPlaceSays) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const Read read(test::RealDemosDir() / "uds_antifak.dem");
    ASSERT_EQ(read.sink.events.size(), 7u);
    double last = 0;
    for (const Event& event : read.sink.events) {
        const auto& chat = std::get<ChatEvent>(event.what);
        EXPECT_EQ(chat.name, "222ahahahaha555");
        EXPECT_EQ(chat.channel, ChatChannel::All);
        EXPECT_EQ(read.bytes.substr(chat.place.offset, chat.place.room + 2),
                  "Test spam\n" + std::string(1, '\0'));
        EXPECT_GT(event.time, last);
        last = event.time;
    }
    const Read server(test::RealDemosDir() / "uds_demotesttestste.dem-2405171129-cs_assault.dem");
    ASSERT_FALSE(server.sink.events.empty());
    const auto& plugin = std::get<ChatEvent>(server.sink.events.front().what);
    EXPECT_EQ(plugin.channel, ChatChannel::Server);
    EXPECT_EQ(server.bytes.substr(plugin.place.offset, plugin.place.room), plugin.text);
    EXPECT_TRUE(plugin.text.starts_with("Type 'amx_langmenu'"));
}

TEST(RealDemoMessages, KillsNameThePlayersOfTheirTimeAndRoundsCarryTheScores) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const Read read(test::RealDemosDir() / "more" / "uds_hpp_cmd_exploit.dem");
    std::set<std::string> names;
    for (const PlayerFacts& player : read.sink.recording.players) names.insert(player.name);
    std::vector<std::string> rounds;
    int kills = 0;
    for (const Event& event : read.sink.events) {
        if (const auto* player = std::get_if<PlayerEvent>(&event.what)) names.insert(player->name);
        if (const auto* kill = std::get_if<KillEvent>(&event.what)) {
            ++kills;
            EXPECT_TRUE(names.contains(kill->killerName)) << kill->killerName;
            EXPECT_TRUE(names.contains(kill->victimName)) << kill->victimName;
        }
        if (const auto* round = std::get_if<RoundEvent>(&event.what))
            rounds.push_back(std::string(RoundOutcomeName(round->outcome)) + " " +
                             std::to_string(round->terroristScore.value_or(-1)) + ":" +
                             std::to_string(round->ctScore.value_or(-1)));
    }
    EXPECT_GE(kills, 3);
    EXPECT_EQ(rounds,
              (std::vector<std::string>{"terrorists_win 1:1", "terrorists_win 2:1", "terrorists_win 3:1"}));

    const Read renames(test::RealDemosDir() / "uds_test_name_change.dem");
    std::vector<std::string> told;
    for (const Event& event : renames.sink.events) {
        const auto& player = std::get<PlayerEvent>(event.what);
        told.push_back(player.oldName + " > " + player.name);
    }
    EXPECT_EQ(told, (std::vector<std::string>{"Karaul0v > ahahahaha", "ahahahaha > 222ahahahaha222",
                                              "222ahahahaha222 > 222ahahahaha555"}));
}

}  // namespace
}  // namespace vorelix::demo::net
