// Events from demos of chosen messages: each message form the game and its plugins send, told once,
// in time order, with the texts' places.
#include <gtest/gtest.h>

#include "MessageDemo.h"
#include "demo/net/Events.h"

namespace vorelix::demo::net {
namespace {

using namespace vorelix::test;

std::string Plain(std::string_view bytes) {
    return std::string(bytes);
}

// The events of a demo, each as its time and its line.
std::vector<std::string> Lines(const EventsRead& sink) {
    std::vector<std::string> lines;
    for (const Event& event : sink.events) {
        char time[32];
        std::snprintf(time, sizeof time, "%.1f ", event.time);
        lines.push_back(time + std::string(EventKindName(event.Kind())) + " " + DescribeEvent(event, Plain));
    }
    return lines;
}

// The events of a demo, read whole.
EventsRead Read(const std::string& demo) {
    EventsRead read(demo);
    EXPECT_TRUE(read.ok && read.outcome.Whole()) << DescribeOutcome(read.outcome);
    EXPECT_EQ(read.recordings, 1);
    return read;
}

std::string Say(std::uint8_t sender, std::string_view token, std::string_view name, std::string_view text) {
    return UserMessage(kSayText,
                       std::string(1, static_cast<char>(sender)) + Text(token) + Text(name) + Text(text));
}

std::string Info(std::string_view name, std::string_view more = "") {
    return "\\name\\" + std::string(name) + std::string(more);
}

TEST(Events, ChatInEveryFormIsFoundWithItsSenderChannelAndPlace) {
    const FramedDemo demo = MakeMessageDemo(
        {StandardSetUp(),
         UserInfo(0, 1, Info("Alice", "\\*sid\\76561197960287930")) + UserInfo(1, 2, Info("Bob"))},
        {{1.0f, Say(1, "#Cstrike_Chat_All", "", "hello all\n") + Say(2, "#Cstrike_Chat_CT_Dead", "", "gg\n")},
         {2.0f,
          Say(2, "#Cstrike_Chat_AllDead", "", "rip\n") + Say(1, "#Cstrike_Chat_Spec", "", "watching\n")},
         // Older servers send the whole line; plugins send a format and the text, with colours.
         {3.0f, Say(1, "\x02*DEAD* Alice :    old line\n", "", "") +
                    UserMessage(kSayText, "\x01" + Text("%s") + Text("\x04[AMX]\x01 next map\n"))},
         {4.0f, UserMessage(kTextMsg, "\x03" + Text("%s") + Text("time left 5:00\n")) +
                    UserMessage(kTextMsg, "\x03" + Text("#Game_radio"))},
         // A rename notice is a rename, told once although the player's info says it again.
         {5.0f, Say(2, "#Cstrike_Name_Change", "Bob", "Robert") + UserInfo(1, 2, Info("Robert"))}});
    const EventsRead sink = Read(demo.bytes);
    EXPECT_EQ(Lines(sink), (std::vector<std::string>{
                               "1.0 chat Alice: hello all",
                               "1.0 chat Bob (team, dead): gg",
                               "2.0 chat Bob (dead): rip",
                               "2.0 chat Alice (spectator): watching",
                               "3.0 chat Alice (dead): old line",
                               "3.0 chat (server) [AMX] next map",
                               "4.0 chat (server) time left 5:00",
                               "5.0 player Bob is now Robert (slot 2)",
                           }));
    // Each text lies in the demo where its place says, without its line feed.
    const std::vector<std::string> texts{
        "hello all", "gg", "rip", "watching", "old line", "\x04[AMX]\x01 next map", "time left 5:00"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto& chat = std::get<ChatEvent>(sink.events[i].what);
        EXPECT_EQ(chat.text, texts[i]);
        EXPECT_EQ(demo.bytes.substr(chat.place.offset, chat.place.room), texts[i]);
    }
    EXPECT_EQ(std::get<ChatEvent>(sink.events[0].what).token, "#Cstrike_Chat_All");
    EXPECT_EQ(std::get<ChatEvent>(sink.events[5].what).channel, ChatChannel::Server);
    ASSERT_EQ(sink.recording.players.size(), 2u);
    EXPECT_EQ(sink.recording.players[0].steamId, "STEAM_0:0:11101");
    EXPECT_EQ(sink.recording.recorderName, "Alice");
}

TEST(Events, ARoundEndIsOneEventWithTheScoresThatFollowAndEventsStayInTimeOrder) {
    const std::string kill = UserMessage(kDeathMsg, std::string("\x01\x02\x01", 3) + Text("ak47"));
    const std::string roundEnd = UserMessage(kSendAudio, "\x00" + Text("%!MRAD_terwin") + Short(100)) +
                                 UserMessage(kTeamScore, Text("TERRORIST") + Short(3)) +
                                 UserMessage(kTextMsg, "\x04" + Text("#Target_Bombed"));
    const FramedDemo demo =
        MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, Info("Alice")) + UserInfo(1, 2, Info("Bob"))},
                        {{10.0f, roundEnd},
                         {10.5f, kill + UserMessage(kTeamScore, Text("CT") + Short(1))},
                         {11.0f, UserMessage(kTextMsg, "\x04" + Text("#Terrorists_Win"))},
                         {30.0f, UserMessage(kTextMsg, "\x04" + Text("#Round_Draw"))}});
    const EventsRead sink = Read(demo.bytes);
    EXPECT_EQ(Lines(sink),
              (std::vector<std::string>{
                  "10.0 round Terrorists win: the bomb exploded (Terrorists 3, Counter-Terrorists 1)",
                  "10.5 kill Alice killed Bob with ak47 (headshot)",
                  "30.0 round Round draw (Terrorists 3, Counter-Terrorists 1)",
              }));
}

TEST(Events, PlayersComingGoingAndTheRecordingFacts) {
    const std::string proxyInfo = Info("HLTV Proxy", "\\*hltv\\1");
    const FramedDemo demo = MakeMessageDemo(
        {StandardSetUp("valve") + "\x32" + std::string(1, '\0') + "\x08" + Text("BUILD 4554 SERVER (0 CRC)"),
         UserInfo(0, 1, proxyInfo) + UserInfo(4, 7, Info("Carol"))},
        {{1.0f, UserInfo(2, 9, Info("Dave", "\\*sid\\76561197960265731"))},
         {2.0f, UserInfo(4, 7, "") + UserInfo(2, 10, Info("Eve"))},
         // Half-Life's death notice has no headshot byte; a kill by the world has no killer.
         {3.0f, UserMessage(kDeathMsg, std::string("\x00\x03", 2) + Text("worldspawn"))}});
    const EventsRead sink = Read(demo.bytes);
    EXPECT_EQ(Lines(sink), (std::vector<std::string>{
                               "1.0 player Dave (slot 3, STEAM_0:1:1) joined",
                               "2.0 player Carol (slot 5) left",
                               "2.0 player Dave (slot 3, STEAM_0:1:1) left",
                               "2.0 player Eve (slot 3) joined",
                               "3.0 kill the world killed Eve with worldspawn",
                           }));
    const Recording& recording = sink.recording;
    EXPECT_EQ(DescribeRecording(recording, Plain),
              "server \"Test server\", map de_dust2, recorded by HLTV Proxy (slot 1), HLTV, build 4554");
    EXPECT_EQ(recording.gameFolder, "valve");
    EXPECT_EQ(recording.maxPlayers, 32);
    ASSERT_EQ(recording.players.size(), 2u);
    EXPECT_TRUE(recording.players[0].proxy);
    EXPECT_EQ(recording.players[1].slot, 5);
}

TEST(Events, NamesForKindsAndShownTexts) {
    for (const char* name : {"chat", "kill", "round", "player"})
        EXPECT_EQ(EventKindName(*EventKindFromName(name)), name);
    EXPECT_FALSE(EventKindFromName("kills"));
    EXPECT_EQ(ShownChatText("\x04[AMX]\x01 hi\x03 there\n"), "[AMX] hi there");
}

}  // namespace
}  // namespace vorelix::demo::net
