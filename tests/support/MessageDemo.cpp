// The message demos' builders.
#include "MessageDemo.h"

#include <gtest/gtest.h>

namespace vorelix::test {

BitWriter& BitWriter::Bits(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i, ++bits_) {
        if (bits_ % 8 == 0) bytes_ += '\0';
        if ((value >> i) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (1 << (bits_ % 8)));
    }
    return *this;
}

BitWriter& BitWriter::Bits(std::initializer_list<std::pair<std::uint32_t, unsigned>> fields) {
    for (const auto& [value, count] : fields) Bits(value, count);
    return *this;
}

BitWriter& BitWriter::Text(std::string_view text) {
    for (const char c : text) Byte(static_cast<std::uint8_t>(c));
    return Byte(0);
}

BitWriter& BitWriter::Align() {
    bits_ = (bits_ + 7) / 8 * 8;
    return *this;
}

std::string BitWriter::Take() {
    bits_ = 0;
    return std::move(bytes_);
}

std::string Packed(std::initializer_list<std::pair<std::uint32_t, unsigned>> fields) {
    return BitWriter().Bits(fields).Align().Take();
}

std::string Short(std::int16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string Text(std::string_view text) {
    return std::string(text) + '\0';
}

std::string DeltaDescription(std::string_view table, const std::vector<DescribedField>& fields) {
    std::string message = "\x0e" + Text(table) + Short(static_cast<std::int16_t>(fields.size()));
    BitWriter bits;
    for (const DescribedField& field : fields) {
        // The kind (field 0), the name (1) and the bits (4) of the description's fields.
        bits.Bits(1, 3).Byte(0x13).Bits(field.kind, 32).Text(field.name).Bits(field.bits, 8);
    }
    return message + bits.Take();
}

std::string EntityTables() {
    const std::vector<DescribedField> fields{{"origin", 8, 10}, {"model", 128, 8}};
    std::string tables;
    for (const char* name : {"entity_state_t", "entity_state_player_t", "custom_entity_state_t",
                             "clientdata_t", "weapon_data_t", "event_t"})
        tables += DeltaDescription(name, fields);
    return tables;
}

std::string ServerInfoMessage(std::string_view gameFolder, std::string_view host, std::string_view map) {
    return "\x0b" + Int32(48) + Int32(1) + Int32(0) + std::string(16, '\0') + "\x20" + std::string(1, '\0') +
           "\x01" + Text(gameFolder) + Text(host) + Text("maps/" + std::string(map) + ".bsp") + Text("") +
           std::string(1, '\0');
}

std::string RegisterUserMessage(std::uint8_t id, int size, std::string_view name) {
    std::string padded(name);
    padded.resize(16, '\0');
    return std::string{'\x27', static_cast<char>(id), static_cast<char>(size < 0 ? 255 : size)} + padded;
}

std::string UserMessage(std::uint8_t id, std::string_view payload) {
    return std::string{static_cast<char>(id), static_cast<char>(payload.size())} + std::string(payload);
}

std::string UserInfo(std::uint8_t slot, std::int32_t userId, std::string_view info) {
    return "\x0d" + std::string(1, static_cast<char>(slot)) + Int32(userId) + Text(info) +
           std::string(16, '\0');
}

std::string StandardSetUp(std::string_view gameFolder) {
    return ServerInfoMessage(gameFolder) + EntityTables() + RegisterUserMessage(kSayText, -1, "SayText") +
           RegisterUserMessage(kTextMsg, -1, "TextMsg") + RegisterUserMessage(kDeathMsg, -1, "DeathMsg") +
           RegisterUserMessage(kTeamScore, -1, "TeamScore") +
           RegisterUserMessage(kSendAudio, -1, "SendAudio");
}

namespace {

// The frame's message information holds the incoming sequence 436 bytes in.
std::string NetMessageFrame(int kind, const MessageFrame& frame, int number) {
    return Frame(
        kind, frame.time, number,
        std::string(436, '\0') + Int32(frame.sequence) + std::string(24, '\0') + Counted(frame.messages));
}

}  // namespace

FramedDemo MakeMessageDemo(const std::vector<std::string>& loading,
                           const std::vector<MessageFrame>& playback) {
    std::vector<std::string> loadingFrames, playbackFrames;
    int number = 0;
    for (const std::string& messages : loading)
        loadingFrames.push_back(NetMessageFrame(0, {0, messages}, number++));
    loadingFrames.push_back(Frame(5, 0, number++, ""));
    for (const MessageFrame& frame : playback) playbackFrames.push_back(NetMessageFrame(1, frame, number++));
    const float end = playback.empty() ? 0.0f : playback.back().time;
    playbackFrames.push_back(Frame(5, end, number, ""));
    return AssembleDemo(loadingFrames, playbackFrames, end, static_cast<int>(playback.size()));
}

EventsRead::EventsRead(const std::string& demo) {
    demo::SpanBytes bytes(demo::AsBytes(demo));
    auto read = demo::net::ReadEvents(bytes, *this);
    ok = read.ok();
    if (read) outcome = *read;
}

void EventsRead::OnRecording(const demo::net::Recording& got) {
    EXPECT_TRUE(events.empty()) << "the recording comes before the events";
    recording = got;
    ++recordings;
}

}  // namespace vorelix::test
