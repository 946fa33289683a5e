// What the stand-in game records when started, in the form both it and the tests read: one
// "key=value" line per fact, UTF-8, file bytes in hexadecimal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorelix::test {

// The record's keys, in the order the stand-in writes them.
inline constexpr const char* kRecordKeys[] = {
    "process id", "command line", "working folder", "EngineModeW",  "EngineModeH",
    "EngineType", "vorelix.cfg",  "vorelix.dem",    "autoexec.cfg", "autoexec.cfg_old"};

// The environment the stand-in reads (inherited from the test through the shell).
inline constexpr const wchar_t* kRecordPathVariable = L"VORELIX_STANDIN_RECORD";       // the record file
inline constexpr const wchar_t* kRecordedEventVariable = L"VORELIX_STANDIN_RECORDED";  // set when written
inline constexpr const wchar_t* kHoldEventVariable = L"VORELIX_STANDIN_HOLD";  // hold vorelix.dem until set

inline std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

// A file's size and 64-bit FNV-1a hash, fed in pieces: enough to tell that a copy equals its source.
class Digest {
  public:
    void Add(std::string_view bytes) {
        for (unsigned char c : bytes) hash_ = (hash_ ^ c) * 0x100000001b3ull;
        size_ += bytes.size();
    }
    std::string Text() const {
        std::string hash;
        for (int shift = 56; shift >= 0; shift -= 8) hash += static_cast<char>((hash_ >> shift) & 0xFF);
        return std::to_string(size_) + " " + Hex(hash);
    }

  private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
    std::uint64_t size_ = 0;
};

}  // namespace vorelix::test
