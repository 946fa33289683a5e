// The stand-in game's record, shared by it and the tests: one "key=value" line per fact in UTF-8,
// file bytes and registry data in hexadecimal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorelix::test {

// The environment the stand-in reads (inherited from the test through the shell).
inline constexpr const wchar_t* kRecordPathVariable = L"VORELIX_STANDIN_RECORD";       // the record file
inline constexpr const wchar_t* kRecordedEventVariable = L"VORELIX_STANDIN_RECORDED";  // set when written
inline constexpr const wchar_t* kHoldEventVariable = L"VORELIX_STANDIN_HOLD";  // hold vorelix.dem until set

inline std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) hex += {kDigits[c >> 4], kDigits[c & 15]};
    return hex;
}

// "<size> <64-bit FNV-1a hash>" of bytes: enough to tell that a copy equals its source.
inline std::string DigestText(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ull;
    return std::to_string(bytes.size()) + " " + std::to_string(hash);
}

}  // namespace vorelix::test
