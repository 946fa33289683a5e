// The demo as the information panel and the editing commands read it: three 128-byte windows over the
// header (magic, map, game folder), a body window behind them, and the HLTV marker in it. The header's
// fields themselves are described in DemoContainer.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "demo/DemoContainer.h"
#include "demo/Result.h"
#include "demo/edit/ByteSearch.h"

namespace vorelix::demo {

inline constexpr std::uint64_t kHeaderWindowSize = 128;
// The three header windows end where the body window starts.
inline constexpr std::uint64_t kBodyOffset = 404;
inline constexpr std::uint64_t kShortestDemo = 406;
inline constexpr std::uint64_t kLongestBody = 1'000'000;
// The HLTV marker counts from the body window's 100th byte on.
inline constexpr std::uint64_t kHltvSearchStart = 99;
inline constexpr std::string_view kHltvMarker = "HLTV Proxy:";

// The body window's length for a file of `fileLength` bytes: length - 406 for files up to
// 1,000,000 bytes, else 1,000,000 bytes, but never past the second-last byte of the file (a file of
// 1,000,001 to 1,000,405 bytes would otherwise be read beyond its end). Empty below 406 bytes.
std::optional<std::uint64_t> BodyWindowLength(std::uint64_t fileLength);

// The scans of whole files (nicks, chat, StatsMe) see the first length - 1 bytes, and refuse or
// pass over files shorter than this.
inline constexpr std::uint64_t kShortestScannedDemo = 1000;

struct DemoHeader {
    std::string map;  // bytes as they stand in the demo
    std::string mod;
};

// Reads the header from the first 404 bytes of a demo (the three 128-byte windows at 0, 16, 276; the
// game folder's at 144 for demo protocol 4).
// Fails when fewer bytes are given, when a window holds no NUL, or when the magic is not "HLDEMO".
Result<DemoHeader> ParseHeader(ByteView firstBytes);

// The text of a window: its bytes up to the first NUL; empty when it holds no NUL.
std::optional<std::string> WindowText(ByteView window);

// Whether a whole file is a demo as the information panel reads one: long enough for the header and
// a body window, and a header that ParseHeader accepts. The editing commands touch nothing else.
bool IsDemo(ByteView file);

// Whether "HLTV Proxy:" begins at or after the body window's 100th byte.
bool HasHltvMarker(ByteView body);

}  // namespace vorelix::demo
