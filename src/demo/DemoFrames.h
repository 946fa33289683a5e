// The frames of a protocol-5 demo: their kinds and sizes, and reading one frame with every length checked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "demo/edit/ByteSearch.h"
#include "demo/LittleEndian.h"

namespace vorelix::demo {

enum class FrameKind : std::uint8_t {
    LoadingMessage = 0,  // a net message of the loading segment
    Message = 1,         // a net message of playback
    Start = 2,
    ConsoleCommand = 3,
    ClientData = 4,
    NextSection = 5,  // closes a segment
    Event = 6,
    WeaponAnimation = 7,
    Sound = 8,
    Buffer = 9,
};
inline constexpr std::uint8_t kLastFrameKind = 9;

// Every frame starts with its kind (1 byte), its time (float seconds) and its frame number (int32).
inline constexpr std::uint64_t kFrameHeaderSize = 9;
// A net message frame holds the fixed demo-info block (436 bytes: time, view parameters, user
// command, movement variables, view and view model) and 28 bytes of sequence numbers, then the
// message's length and bytes.
inline constexpr std::uint64_t kMessageInfoSize = 464;
// Where a net message frame keeps the first of its sequence numbers, the incoming sequence.
inline constexpr std::uint64_t kIncomingSequenceOffset = kFrameHeaderSize + 436;
inline constexpr std::uint64_t kConsoleCommandSize = 64;
inline constexpr std::uint64_t kClientDataSize = 32;
inline constexpr std::uint64_t kEventSize = 84;
inline constexpr std::uint64_t kWeaponAnimationSize = 8;
// A sound frame: channel, sample length and sample, then attenuation, volume, flags and pitch.
inline constexpr std::uint64_t kSoundTailSize = 16;
// The most bytes from a frame's start that tell its size (a net message's length field ends there).
inline constexpr std::uint64_t kLongestFramePrefix = kFrameHeaderSize + kMessageInfoSize + 4;

struct Frame {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;  // header included
    std::uint8_t kind = 0;
    float time = 0;
    std::int32_t number = 0;

    std::uint64_t End() const { return offset + size; }
    bool IsMessage() const { return kind <= static_cast<std::uint8_t>(FrameKind::Message); }
};

// "net message", "start", "console command", ...; "unknown" past the last kind.
std::string_view FrameKindName(std::uint8_t kind);

// A frame's size before any counted bytes, and where its length field lies (0 when it has none). A
// size of 0 marks a kind the game does not write.
struct FrameShape {
    std::uint64_t fixed = 0;
    std::uint64_t lengthAt = 0;
};

constexpr FrameShape ShapeOf(std::uint8_t kind) {
    switch (static_cast<FrameKind>(kind)) {
        case FrameKind::LoadingMessage:
        case FrameKind::Message:
            return {kLongestFramePrefix, kFrameHeaderSize + kMessageInfoSize};
        case FrameKind::Start:
        case FrameKind::NextSection:
            return {kFrameHeaderSize, 0};
        case FrameKind::ConsoleCommand:
            return {kFrameHeaderSize + kConsoleCommandSize, 0};
        case FrameKind::ClientData:
            return {kFrameHeaderSize + kClientDataSize, 0};
        case FrameKind::Event:
            return {kFrameHeaderSize + kEventSize, 0};
        case FrameKind::WeaponAnimation:
            return {kFrameHeaderSize + kWeaponAnimationSize, 0};
        case FrameKind::Sound:
            return {kFrameHeaderSize + 4 + 4 + kSoundTailSize, kFrameHeaderSize + 4};
        case FrameKind::Buffer:
            return {kFrameHeaderSize + 4, kFrameHeaderSize};
    }
    return {};
}

template <std::uint8_t Kind>
inline std::uint64_t SizeOfKind(ByteView from, std::uint64_t left) {
    constexpr FrameShape shape = ShapeOf(Kind);
    if (left < shape.fixed) return 0;
    if constexpr (shape.lengthAt == 0) {
        return shape.fixed;
    } else {
        // A negative length reads as a huge one here.
        const std::uint32_t length = ReadUInt32(from, shape.lengthAt);
        return length > left - shape.fixed ? 0 : shape.fixed + std::uint64_t{length};
    }
}

// The size of the frame at the start of `from`, which has `left` bytes of the demo from there to
// where its frames end; `from` holds at least min(left, kLongestFramePrefix) bytes. 0 when its kind
// is not one the game writes, a length in it is negative, or the bytes end before the frame does;
// FrameProblem then says which. The walk calls it for every frame: a switch of constant sizes lets
// the processor run ahead on the kinds it predicts, where a table of sizes would make it wait.
inline std::uint64_t FrameSize(ByteView from, std::uint64_t left) {
    switch (from[0]) {
        case 0:
            return SizeOfKind<0>(from, left);
        case 1:
            return SizeOfKind<1>(from, left);
        case 2:
            return SizeOfKind<2>(from, left);
        case 3:
            return SizeOfKind<3>(from, left);
        case 4:
            return SizeOfKind<4>(from, left);
        case 5:
            return SizeOfKind<5>(from, left);
        case 6:
            return SizeOfKind<6>(from, left);
        case 7:
            return SizeOfKind<7>(from, left);
        case 8:
            return SizeOfKind<8>(from, left);
        case 9:
            return SizeOfKind<9>(from, left);
        default:
            return 0;
    }
}

// The frame at the start of `from` (which starts at `offset` in the demo), as FrameSize reads it.
inline std::optional<Frame> ReadFrame(ByteView from, std::uint64_t offset, std::uint64_t left) {
    const std::uint64_t size = FrameSize(from, left);
    if (size == 0) return std::nullopt;
    return Frame{offset, size, from[0], ReadFloat(from, 1), ReadInt32(from, 5)};
}

std::string FrameProblem(ByteView from, std::uint64_t left);

// How many zero bytes where a frame should start make unwritten space: the frame they would be (a
// net message of no bytes with its time, number and view all zero, 477 bytes) and the start of the
// next. The game writes no such frame (its loading segment holds net messages of at least 6 bytes
// and next-section frames only, and playback no frame of kind 0), but a hand-made demo may hold one
// empty frame; a run reaching into the frame after it is no frame at all.
inline constexpr std::uint64_t kUnwrittenRun = 2 * kLongestFramePrefix;

// Whether the bytes where a frame should start are space the recording never wrote, as a power loss
// leaves the end of a file: kUnwrittenRun zero bytes, or every byte that is left when fewer are.
// `from` holds at least min(left, kUnwrittenRun) bytes.
inline bool IsUnwrittenSpace(ByteView from, std::uint64_t left) {
    if (from[0] != 0) return false;
    const std::uint64_t looked = left < kUnwrittenRun ? left : kUnwrittenRun;
    for (std::uint64_t i = 1; i < looked; ++i) {
        if (from[i] != 0) return false;
    }
    return true;
}

// Why the walk stops at unwritten space.
inline constexpr std::string_view kUnwrittenSpaceReason =
    "zero bytes follow where a frame should start: space the recording never wrote, as a power loss "
    "leaves it";

// The bytes of a frame that closes a segment.
std::string EncodeClosingFrame(float time, std::int32_t number);

}  // namespace vorelix::demo
