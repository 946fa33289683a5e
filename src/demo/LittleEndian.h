// Little-endian 32-bit fields of a demo: read from byte spans and written into byte strings.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

#include "demo/edit/ByteSearch.h"

namespace vorelix::demo {

// The four bytes at `offset`; the caller has checked that they lie inside `bytes`.
inline std::uint32_t ReadUInt32(ByteView bytes, std::uint64_t offset) {
    const unsigned char* at = bytes.data() + offset;
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

inline std::int32_t ReadInt32(ByteView bytes, std::uint64_t offset) {
    return static_cast<std::int32_t>(ReadUInt32(bytes, offset));
}

inline float ReadFloat(ByteView bytes, std::uint64_t offset) {
    return std::bit_cast<float>(ReadUInt32(bytes, offset));
}

inline void AppendUInt32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

inline void AppendInt32(std::string& out, std::int32_t value) {
    AppendUInt32(out, static_cast<std::uint32_t>(value));
}

inline void AppendFloat(std::string& out, float value) {
    AppendUInt32(out, std::bit_cast<std::uint32_t>(value));
}

}  // namespace vorelix::demo
