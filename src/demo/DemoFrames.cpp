// Frame sizes by kind, every length checked against the bytes that are left.
#include "demo/DemoFrames.h"

#include <string>

#include "demo/LittleEndian.h"

namespace vorelix::demo {

namespace {

std::string Ends(std::uint8_t kind, std::uint64_t needed, std::uint64_t left) {
    return "the file ends inside a " + std::string(FrameKindName(kind)) + " frame (it needs " +
           std::to_string(needed) + " bytes, " + std::to_string(left) + " are left)";
}

}  // namespace

std::string_view FrameKindName(std::uint8_t kind) {
    switch (kind) {
        case 0:
        case 1:
            return "net message";
        case 2:
            return "start";
        case 3:
            return "console command";
        case 4:
            return "client data";
        case 5:
            return "next section";
        case 6:
            return "event";
        case 7:
            return "weapon animation";
        case 8:
            return "sound";
        case 9:
            return "buffer";
        default:
            return "unknown";
    }
}

Result<Frame> ReadFrame(ByteView bytes, std::uint64_t offset) {
    const std::uint64_t left = bytes.size() - offset;
    const std::uint8_t kind = bytes[offset];
    if (kind > kLastFrameKind)
        return Failure{"frame kind " + std::to_string(kind) + " is not one the game writes (0 to 9)", 0};
    if (left < kFrameHeaderSize) return Failure{Ends(kind, kFrameHeaderSize, left), 0};
    Frame frame{offset, kFrameHeaderSize, kind, ReadFloat(bytes, offset + 1), ReadInt32(bytes, offset + 5)};
    // Fixed bytes before a length field (if any), then the fixed bytes after the counted bytes.
    std::uint64_t before = 0;
    std::uint64_t after = 0;
    bool counted = true;
    switch (static_cast<FrameKind>(kind)) {
        case FrameKind::LoadingMessage:
        case FrameKind::Message:
            before = kMessageInfoSize;
            break;
        case FrameKind::Sound:
            before = 4, after = kSoundTailSize;
            break;
        case FrameKind::Buffer:
            break;
        case FrameKind::Start:
        case FrameKind::NextSection:
            counted = false;
            break;
        case FrameKind::ConsoleCommand:
            before = kConsoleCommandSize, counted = false;
            break;
        case FrameKind::ClientData:
            before = kClientDataSize, counted = false;
            break;
        case FrameKind::Event:
            before = kEventSize, counted = false;
            break;
        case FrameKind::WeaponAnimation:
            before = kWeaponAnimationSize, counted = false;
            break;
    }
    const std::uint64_t fixed = kFrameHeaderSize + before + (counted ? 4 : 0) + after;
    if (left < fixed) return Failure{Ends(kind, fixed, left), 0};
    if (counted) {
        const std::int32_t length = ReadInt32(bytes, offset + kFrameHeaderSize + before);
        if (length < 0)
            return Failure{"a " + std::string(FrameKindName(kind)) + " frame gives a negative length (" +
                               std::to_string(length) + ")",
                           0};
        if (static_cast<std::uint64_t>(length) > left - fixed)
            return Failure{Ends(kind, fixed + static_cast<std::uint64_t>(length), left), 0};
        frame.size = fixed + static_cast<std::uint64_t>(length);
    } else {
        frame.size = fixed;
    }
    return frame;
}

std::string EncodeClosingFrame(float time, std::int32_t number) {
    std::string out(1, static_cast<char>(FrameKind::NextSection));
    AppendFloat(out, time);
    AppendInt32(out, number);
    return out;
}

}  // namespace vorelix::demo
