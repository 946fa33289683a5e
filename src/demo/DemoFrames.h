// The frames of a protocol-5 demo: their kinds and sizes, and reading one frame with every length checked.
#pragma once

#include <cstdint>
#include <string_view>

#include "demo/ByteSearch.h"
#include "demo/Result.h"

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
inline constexpr std::uint64_t kConsoleCommandSize = 64;
inline constexpr std::uint64_t kClientDataSize = 32;
inline constexpr std::uint64_t kEventSize = 84;
inline constexpr std::uint64_t kWeaponAnimationSize = 8;
// A sound frame: channel, sample length and sample, then attenuation, volume, flags and pitch.
inline constexpr std::uint64_t kSoundTailSize = 16;

struct Frame {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;  // header included
    std::uint8_t kind = 0;
    float time = 0;
    std::int32_t number = 0;

    std::uint64_t End() const { return offset + size; }
    bool IsMessage() const { return kind <= static_cast<std::uint8_t>(FrameKind::Message); }
    bool Closes() const { return kind == static_cast<std::uint8_t>(FrameKind::NextSection); }
};

// "net message", "start", "console command", ...; "unknown" past the last kind.
std::string_view FrameKindName(std::uint8_t kind);

// The frame starting at `offset` (which lies before the end of `bytes`), read without looking past
// the end. Fails, saying why, when its kind is not one the game writes, a length in it is negative,
// or the bytes end before the frame does.
Result<Frame> ReadFrame(ByteView bytes, std::uint64_t offset);

// The bytes of a frame that closes a segment.
std::string EncodeClosingFrame(float time, std::int32_t number);

}  // namespace vorelix::demo
