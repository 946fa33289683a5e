// The message decoder on demos of chosen messages: what it hands on, and where it stops on every
// kind of damage we know, losing one frame and never the demo.
#include <gtest/gtest.h>

#include "MessageDemo.h"
#include "demo/DemoFrames.h"
#include "demo/net/BitReader.h"
#include "demo/net/DemoMessages.h"

namespace vorelix::demo::net {
namespace {

using namespace vorelix::test;

struct Seen {
    std::string name;
    std::string payload;
    std::uint64_t offset;
    float time;
};

class RecordingSink final : public MessageSink {
  public:
    void OnUserMessage(std::string_view name, ByteView payload, std::uint64_t offset,
                       const FrameFacts& facts) override {
        seen.push_back({std::string(name), std::string(AsText(payload)), offset, facts.time});
    }
    void OnServerInfo(const ServerInfo& info, const FrameFacts&) override { host = info.hostName; }
    std::vector<Seen> seen;
    std::string host;
};

DecodeOutcome Decode(const std::string& demo, RecordingSink& sink) {
    SpanBytes bytes(AsBytes(demo));
    auto outcome = DecodeDemoMessages(bytes, sink);
    EXPECT_TRUE(outcome.ok());
    return outcome ? *outcome : DecodeOutcome{};
}

// Entities 1 (a player, by number) and 40 and 41 (by one-step increments), each with both fields.
std::string FullPacket() {
    BitWriter bits;
    bits.Bits(3, 16);  // entities in the packet
    const auto entity = [&] { bits.Bits({{0, 1}, {0, 1}, {1, 3}, {3, 8}, {700, 10}}).Text("m"); };
    bits.Bits({{0, 1}, {1, 1}, {1, 11}});  // an absolute number
    entity();
    bits.Bits({{0, 1}, {0, 1}, {39, 6}});  // a 6-bit step
    entity();
    bits.Bits(1, 1);  // the next one
    entity();
    bits.Bits(0, 16);
    return "\x28" + bits.Align().Take();
}

// A delta from the packet of `from`, removing entity 40 and changing entity 41's origin.
std::string DeltaPacket(std::uint8_t from) {
    BitWriter bits;
    bits.Bits(2, 16).Byte(from);
    bits.Bits({{1, 1}, {1, 1}, {40, 11}});                                 // remove 40
    bits.Bits({{0, 1}, {0, 1}, {1, 6}, {0, 1}, {1, 3}, {1, 8}, {5, 10}});  // 41: its origin
    bits.Bits(0, 16);
    return "\x29" + bits.Align().Take();
}

TEST(MessageDecoder, DecodesEveryMessageToTheFramesEndAndHandsOnUserMessagesWhereTheyLie) {
    const std::string say = std::string("\x01") + "#Cstrike_Chat_All" + '\0' + '\0' + "hello\n" + '\0';
    // Client data: no delta base, the origin field, then one weapon with its model name.
    const std::string clientData =
        "\x0f" + Packed({{0, 1}, {1, 3}, {1, 8}, {9, 10}, {1, 1}, {3, 6}, {1, 3}, {2, 8}, {'w', 8}, {0, 9}});
    const std::string events =
        "\x03" + Packed({{1, 5}, {7, 10}, {1, 1}, {2, 11}, {1, 1}, {1, 3}, {1, 8}, {1, 10}, {0, 1}});
    const std::string baselines = "\x16" + Packed({{1, 11}, {1, 2}, {0, 3}, {0x7FF, 11}, {0x1F, 5}, {0, 6}});
    const FramedDemo demo =
        MakeMessageDemo({StandardSetUp(), baselines + "\x09" + Text("echo hi") + "\x17\x1d" +
                                              std::string(21, '\1') + Text("statsme")},
                        {{0.5f, "\x07" + Int32(0) + FullPacket() + clientData, 10},
                         {1.0f, DeltaPacket(10) + UserMessage(kSayText, say) + events, 11},
                         {1.5f, "\x01" + UserMessage(kTeamScore, Text("CT") + Short(3)), 12}});
    RecordingSink sink;
    const DecodeOutcome outcome = Decode(demo.bytes, sink);
    EXPECT_TRUE(outcome.Whole()) << DescribeOutcome(outcome);
    EXPECT_EQ(outcome.framesDecoded, 5u);
    EXPECT_EQ(sink.host, "Test server");
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].name, "SayText");
    EXPECT_EQ(sink.seen[0].payload, say);
    EXPECT_EQ(demo.bytes.substr(sink.seen[0].offset, say.size()), say);
    EXPECT_EQ(sink.seen[0].time, 1.0f);
    EXPECT_EQ(sink.seen[1].name, "TeamScore");
}

struct Damage {
    const char* name;
    std::string messages;  // the second playback frame's, after a good first one
    const char* message;   // the message the decoder stops in
    const char* reason;
};

TEST(MessageDecoder, AMessageThatCannotBeReadCostsItsFrameOnlyAndIsToldExactly) {
    const std::string packet = FullPacket();
    const Damage damages[] = {
        {"user message never registered", UserMessage(90, "x"), "user message",
         "user message 90 was never registered"},
        {"user message longer than the frame", std::string("\x40\x30") + "abc", "user message SayText",
         "it takes 48 bytes, 3 are left"},
        {"no such engine message", "\x3b", "svc_unknown", "no engine message has id 59"},
        {"svc_bad", std::string(1, '\0'), "svc_bad", "the game never sends this message"},
        {"text without its end",
         "\x08"
         "no end",
         "svc_print", "ends past the frame's messages"},
        {"impossible delta field", DeltaDescription("entity_state_t", {{"origin", 8, 40}}),
         "svc_deltadescription", "field \"origin\" is 40 bits wide"},
        {"delta field of two kinds", DeltaDescription("event_t", {{"x", 8 | 4, 8}}), "svc_deltadescription",
         "has the unknown kind 12"},
        {"delta table of absurd size",
         DeltaDescription("event_t", std::vector<DescribedField>(300, {"x", 8, 8})), "svc_deltadescription",
         "it has 300 fields, more than any table of the game"},
        {"delta from a packet that never came", DeltaPacket(99), "svc_deltapacketentities",
         "a delta from packet 99, which never came"},
        {"entities that never end", packet.substr(0, packet.size() - 2), "svc_packetentities",
         "its entities run past the frame's messages"},
        {"unknown temporary entity", "\x17\x10", "svc_tempentity",
         "temporary entity type 16 is not one the game has"},
        {"unknown proxy mode", "\x32\x07", "svc_hltv", "svc_hltv of mode 7 is not known"},
        {"absurd resource count", "\x2b\xff\x0f", "svc_resourcelist", "ends past the frame's messages"},
        {"user message over an engine id", RegisterUserMessage(10, 4, "Bad"), "svc_newusermsg",
         "an id engine messages keep"},
        {"server of 200 players",
         "\x0b" + ServerInfoMessage().substr(1, 28) + "\xc8" + ServerInfoMessage().substr(30),
         "svc_serverinfo", "the server holds 200 players"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        const FramedDemo demo = MakeMessageDemo(
            {StandardSetUp()}, {{0.5f, packet, 1}, {1.0f, "\x01" + damage.messages, 2}, {1.5f, packet, 3}});
        RecordingSink sink;
        const DecodeOutcome outcome = Decode(demo.bytes, sink);
        EXPECT_EQ(outcome.framesDecoded, 3u);
        EXPECT_EQ(outcome.framesNotDecoded, 1u);
        ASSERT_TRUE(outcome.firstStop);
        const DecodeStop& stop = *outcome.firstStop;
        EXPECT_EQ(stop.frameOffset, demo.frameOffsets[1]);
        EXPECT_EQ(stop.messageOffset, demo.frameOffsets[1] + kLongestFramePrefix + 1);  // behind the nop
        EXPECT_EQ(stop.messageName, damage.message);
        EXPECT_EQ(stop.time, 1.0f);
        EXPECT_LE(stop.bitPosition, (damage.messages.size() + 1) * 8);
        EXPECT_NE(stop.reason.find(damage.reason), std::string::npos) << stop.reason;
        EXPECT_NE(DescribeOutcome(outcome).find("1 of 4 message frames not decoded"), std::string::npos);
    }
}

TEST(MessageDecoder, StateComesFromTheDemoItself) {
    // Without the tables, entities cannot be read; a user message registered again takes its new size.
    const FramedDemo demo =
        MakeMessageDemo({ServerInfoMessage() + RegisterUserMessage(70, 2, "Short")},
                        {{0.5f, FullPacket(), 1},
                         {1.0f, RegisterUserMessage(70, 3, "Short") + std::string("\x46") + "abc", 2}});
    RecordingSink sink;
    const DecodeOutcome outcome = Decode(demo.bytes, sink);
    ASSERT_TRUE(outcome.firstStop);
    EXPECT_EQ(outcome.firstStop->reason, "the delta table entity_state_player_t was never described");
    EXPECT_EQ(outcome.framesNotDecoded, 1u);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].payload, "abc");
}

TEST(MessageDecoder, OtherProtocolsAndBrokenFramesAreToldNotGuessed) {
    FramedDemo demo = MakeMessageDemo({StandardSetUp()}, {{0.5f, "\x01", 1}});
    RecordingSink sink;
    std::string other = demo.bytes;
    other[12] = 47;
    EXPECT_EQ(Decode(other, sink).notDecoded, "not decoded (network protocol 47)");
    // A frame claiming more bytes than the file holds ends the walk where it starts.
    std::string cut = demo.bytes.substr(0, demo.frameOffsets[0] + 100);
    const DecodeOutcome outcome = Decode(cut, sink);
    EXPECT_FALSE(outcome.Whole());
    EXPECT_EQ(outcome.framesDecoded, 1u);
    EXPECT_NE(outcome.framesEnd.find("offset " + std::to_string(demo.frameOffsets[0])), std::string::npos)
        << outcome.framesEnd;
}

TEST(BitReader, NeverReadsPastItsBytes) {
    const unsigned char bytes[] = {0xB5, 0x01, 'a', 'b', 0};
    BitReader in(ByteView(bytes, 5));
    EXPECT_EQ(in.Bits(3), 5u);
    EXPECT_EQ(in.Bits(6), 0x36u);  // across the byte boundary
    EXPECT_EQ(in.SignedBits(7), 0);
    in.AlignToByte();
    EXPECT_EQ(in.String(), "ab");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_FALSE(in.Overrun());
    EXPECT_EQ(in.Bits(1), 0u);
    EXPECT_TRUE(in.Overrun());
    BitReader text(ByteView(bytes + 2, 2));
    EXPECT_EQ(text.String(), "");
    EXPECT_TRUE(text.Overrun());
}

}  // namespace
}  // namespace vorelix::demo::net
