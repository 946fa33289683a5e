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

inline ByteView AsBytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

inline std::string_view AsText(ByteView bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace vorelix::demo
