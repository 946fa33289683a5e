// Fast forward and backward searches for bytes and short patterns in a demo's bytes.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace vorelix::demo {

using ByteView = std::span<const unsigned char>;
inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// The first offset at or after `from` holding `value`, or kNotFound.
std::size_t FindByte(ByteView bytes, std::size_t from, unsigned char value);

// The last offset at or before `upTo` (and at or after `floor`) holding `value`, or kNotFound.
std::size_t FindByteBackward(ByteView bytes, std::size_t floor, std::size_t upTo, unsigned char value);

// The first offset at or after `from` where `pattern` starts, or kNotFound. The search runs memchr
// over `pattern[anchor]`, so callers pass the index of the pattern's rarest byte in demo data.
std::size_t FindPattern(ByteView bytes, std::size_t from, std::string_view pattern, std::size_t anchor = 0);

// Told how far a forward scan over a large file has got, so a memory-mapped file can let go of the
// pages behind it: the scan will not need bytes before the offset it passes again (it may still
// read them, which only costs reading them in again).
class ScanProgress {
  public:
    virtual ~ScanProgress() = default;
    // Called often (at every search); implementations let go of memory in large steps only.
    virtual void Passed(std::size_t offset) = 0;
};

// FindPattern in steps of a few megabytes, telling `progress` (when given) how far it got.
std::size_t FindPattern(ByteView bytes, std::size_t from, std::string_view pattern, std::size_t anchor,
                        ScanProgress* progress);

inline ByteView AsBytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

inline std::string_view AsText(ByteView bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace vorelix::demo
