// The message demos' builders.
#include "MessageDemo.h"

#include <cstring>

#include "demo/DemoContainer.h"
#include "demo/DemoFrames.h"
#include "demo/LittleEndian.h"

namespace vorelix::test {

BitWriter& BitWriter::Bits(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i, ++bits_) {
        if (bits_ % 8 == 0) bytes_ += '\0';
        if ((value >> i) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (1 << (bits_ % 8)));
    }
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

std::string Short(std::int16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string Long(std::int32_t value) {
    std::string out;
    demo::AppendInt32(out, value);
    return out;
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
    return "\x0b" + Long(48) + Long(1) + Long(0) + std::string(16, '\0') + "\x20" + std::string(1, '\0') +
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
    return "\x0d" + std::string(1, static_cast<char>(slot)) + Long(userId) + Text(info) +
           std::string(16, '\0');
}

std::string StandardSetUp(std::string_view gameFolder) {
    return ServerInfoMessage(gameFolder) + EntityTables() + RegisterUserMessage(kSayText, -1, "SayText") +
           RegisterUserMessage(kTextMsg, -1, "TextMsg") + RegisterUserMessage(kDeathMsg, -1, "DeathMsg") +
           RegisterUserMessage(kTeamScore, -1, "TeamScore") +
           RegisterUserMessage(kSendAudio, -1, "SendAudio");
}

namespace {

void AppendFrameHeader(std::string& demo, std::uint8_t kind, float time, std::int32_t number) {
    demo += static_cast<char>(kind);
    demo::AppendFloat(demo, time);
    demo::AppendInt32(demo, number);
}

void AppendMessageFrame(std::string& demo, std::uint8_t kind, const MessageFrame& frame,
                        std::int32_t number) {
    AppendFrameHeader(demo, kind, frame.time, number);
    std::string info(demo::kMessageInfoSize, '\0');
    std::string sequence;
    demo::AppendInt32(sequence, frame.sequence);
    std::memcpy(info.data() + demo::kIncomingSequenceOffset - demo::kFrameHeaderSize, sequence.data(), 4);
    demo += info;
    demo::AppendInt32(demo, static_cast<std::int32_t>(frame.messages.size()));
    demo += frame.messages;
}

}  // namespace

MessageDemo MakeMessageDemo(const std::vector<std::string>& loading,
                            const std::vector<MessageFrame>& playback) {
    MessageDemo made;
    std::string& demo = made.bytes;
    demo.assign(demo::kContainerHeaderSize, '\0');
    std::memcpy(demo.data(), "HLDEMO", 6);
    demo[demo::kDemoProtocolOffset] = 5;
    demo[demo::kNetworkProtocolOffset] = 48;
    std::int32_t number = 0;
    for (const std::string& messages : loading) AppendMessageFrame(demo, 0, {0, messages, 0}, number++);
    AppendFrameHeader(demo, 5, 0, number++);
    const std::size_t playbackBegin = demo.size();
    for (const MessageFrame& frame : playback) {
        made.frameOffsets.push_back(demo.size());
        made.messagesOffsets.push_back(demo.size() + demo::kLongestFramePrefix);
        AppendMessageFrame(demo, 1, frame, number++);
    }
    AppendFrameHeader(demo, 5, playback.empty() ? 0 : playback.back().time, number++);
    const std::size_t directory = demo.size();
    std::vector<demo::DirectoryEntry> entries(2);
    entries[0] = {0,
                  "LOADING",
                  0,
                  0,
                  0,
                  static_cast<std::int32_t>(loading.size()),
                  static_cast<std::int32_t>(demo::kContainerHeaderSize),
                  static_cast<std::int32_t>(playbackBegin - demo::kContainerHeaderSize)};
    entries[1] = {1,
                  "Playback",
                  0,
                  0,
                  playback.empty() ? 0.0f : playback.back().time,
                  static_cast<std::int32_t>(playback.size()),
                  static_cast<std::int32_t>(playbackBegin),
                  static_cast<std::int32_t>(directory - playbackBegin)};
    demo += demo::EncodeDirectory(entries);
    std::string offset;
    demo::AppendInt32(offset, static_cast<std::int32_t>(directory));
    std::memcpy(demo.data() + demo::kDirectoryOffsetField, offset.data(), 4);
    return made;
}

}  // namespace vorelix::test
