// Where a demo's header windows and body window lie, and how long the body window is.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorelix::demo {

inline constexpr std::uint64_t kHeaderWindowSize = 128;
inline constexpr std::uint64_t kMagicOffset = 0;
inline constexpr std::uint64_t kMapOffset = 16;
inline constexpr std::uint64_t kGameOffset = 276;
// The three header windows end where the body window starts.
inline constexpr std::uint64_t kBodyOffset = 404;
inline constexpr std::uint64_t kShortestDemo = 406;
inline constexpr std::uint64_t kLongestBody = 1'000'000;
// The HLTV marker counts from the body window's 100th byte on.
inline constexpr std::uint64_t kHltvSearchStart = 99;
inline constexpr std::string_view kHltvMarker = "HLTV Proxy:";
inline constexpr std::string_view kMagic = "HLDEMO";

// The body window's length for a file of `fileLength` bytes: length - 406 for files up to
// 1,000,000 bytes, else 1,000,000 bytes, but never past the second-last byte of the file (a file of
// 1,000,001 to 1,000,405 bytes would otherwise be read beyond its end). Empty below 406 bytes.
std::optional<std::uint64_t> BodyWindowLength(std::uint64_t fileLength);

// The scans of whole files (nicks, chat, StatsMe) see the first length - 1 bytes, and refuse or
// pass over files shorter than this.
inline constexpr std::uint64_t kShortestScannedDemo = 1000;

}  // namespace vorelix::demo
