// Demos of chosen messages, built for tests: a bit writer for the game's bit streams, the messages
// the decoder keeps state from, and a protocol-5 demo around frames of them; the events read back.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SyntheticDemo.h"
#include "demo/net/Events.h"

namespace vorelix::test {

// Writes bits least significant first, as the game does.
class BitWriter {
  public:
    BitWriter& Bits(std::uint32_t value, unsigned count);
    BitWriter& Bits(std::initializer_list<std::pair<std::uint32_t, unsigned>> fields);  // (value, count)s
    BitWriter& Byte(std::uint8_t value) { return Bits(value, 8); }
    BitWriter& Text(std::string_view text);  // the bytes and a NUL, at any bit position
    BitWriter& Align();
    std::string Take();

  private:
    std::string bytes_;
    std::uint64_t bits_ = 0;
};

// Fields of (value, count) bits, least significant first, padded to a whole byte.
std::string Packed(std::initializer_list<std::pair<std::uint32_t, unsigned>> fields);

// Byte-laid fields of a message.
std::string Short(std::int16_t value);
std::string Text(std::string_view text);  // the bytes and a NUL

struct DescribedField {
    std::string name;
    std::uint32_t kind;  // a delta field kind (1 byte, 2 short, 4 float, 8 integer, 16 angle, 128 text)
    std::uint32_t bits;
};
// svc_deltadescription of a table.
std::string DeltaDescription(std::string_view table, const std::vector<DescribedField>& fields);
// The tables entity packets and client data need, each of two fields: a 10-bit number and a text.
std::string EntityTables();
// svc_serverinfo of a server with room for 32 players, recorded from slot 0.
std::string ServerInfoMessage(std::string_view gameFolder = "cstrike", std::string_view host = "Test server",
                              std::string_view map = "de_dust2");
// svc_newusermsg; size -1 for a length byte before each payload.
std::string RegisterUserMessage(std::uint8_t id, int size, std::string_view name);
// A user message of a variable size registered with that id.
std::string UserMessage(std::uint8_t id, std::string_view payload);
// svc_updateuserinfo of a 0-based slot.
std::string UserInfo(std::uint8_t slot, std::int32_t userId, std::string_view info);

// The ids the standard set-up registers (all of variable size).
enum UserMessageId : std::uint8_t {
    kSayText = 64,
    kTextMsg,
    kDeathMsg,
    kTeamScore,
    kSendAudio,
};
// Server info, the entity tables and the five user messages above: a first loading frame as a
// server sends it.
std::string StandardSetUp(std::string_view gameFolder = "cstrike");

struct MessageFrame {
    float time = 0;
    std::string messages;
    std::int32_t sequence = 0;  // the incoming sequence number the frame carries
};
// A protocol-5 demo (network protocol 48) of net message frames: one per loading entry, then the
// playback frames.
FramedDemo MakeMessageDemo(const std::vector<std::string>& loading,
                           const std::vector<MessageFrame>& playback);

// What the event reader tells of a demo's bytes: whether it read them, the outcome, the recording
// (once and before any event) and the events.
struct EventsRead final : demo::net::EventSink {
    explicit EventsRead(const std::string& demo);
    void OnRecording(const demo::net::Recording& got) override;
    void OnEvent(const demo::net::Event& event) override { events.push_back(event); }
    bool ok = false;
    demo::net::DecodeOutcome outcome;
    demo::net::Recording recording;
    int recordings = 0;
    std::vector<demo::net::Event> events;
};

}  // namespace vorelix::test
