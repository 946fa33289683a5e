// Frame sizes by kind, every length checked against the bytes that are left.
#include "demo/DemoFrames.h"

#include "demo/LittleEndian.h"

namespace vorelix::demo {

namespace {

std::string Ends(std::uint8_t kind, std::uint64_t needed, std::uint64_t left) {
    return "the file ends inside a " + std::string(FrameKindName(kind)) + " frame (it needs " +
           std::to_string(needed) + " bytes, " + std::to_string(left) + " are left)";
}

}  // namespace

std::string_view FrameKindName(std::uint8_t kind) {
    constexpr std::string_view kNames[kLastFrameKind + 1] = {
        "net message", "net message",      "start", "console command", "client data", "next section",
        "event",       "weapon animation", "sound", "buffer"};
    return kind <= kLastFrameKind ? kNames[kind] : "unknown";
}

std::string FrameProblem(ByteView from, std::uint64_t left) {
    const std::uint8_t kind = from[0];
    if (kind > kLastFrameKind)
        return "frame kind " + std::to_string(kind) + " is not one the game writes (0 to " +
               std::to_string(kLastFrameKind) + ")";
    const FrameShape shape = ShapeOf(kind);
    const std::uint64_t fixed = shape.fixed;
    if (left < fixed) return Ends(kind, fixed, left);
    const std::int32_t length = shape.lengthAt != 0 ? ReadInt32(from, shape.lengthAt) : 0;
    if (length < 0)
        return "a " + std::string(FrameKindName(kind)) + " frame gives a negative length (" +
               std::to_string(length) + ")";
    if (static_cast<std::uint64_t>(length) > left - fixed)
        return Ends(kind, fixed + static_cast<std::uint64_t>(length), left);
    return "the frame is whole";
}

std::string EncodeClosingFrame(float time, std::int32_t number) {
    std::string out(1, static_cast<char>(FrameKind::NextSection));
    AppendFloat(out, time);
    AppendInt32(out, number);
    return out;
}

}  // namespace vorelix::demo
