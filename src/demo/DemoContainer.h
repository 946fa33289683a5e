// The demo container: the 544-byte header of demo protocol 5 and the directory of 92-byte entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/DemoBytes.h"
#include "demo/Result.h"
#include "demo/edit/ByteSearch.h"

namespace vorelix::demo {

// The only demo protocol whose frames are read: the one every recording at hand was made with.
inline constexpr std::int32_t kFramedDemoProtocol = 5;
// The header's fields: the magic at 0 (NUL-terminated), both protocols, the map and the game folder
// (260 bytes each, NUL-terminated), the map's CRC and the directory's offset.
inline constexpr std::uint64_t kContainerHeaderSize = 544;
inline constexpr std::string_view kMagic = "HLDEMO";
inline constexpr std::uint64_t kMagicOffset = 0;
inline constexpr std::uint64_t kDemoProtocolOffset = 8;
inline constexpr std::uint64_t kNetworkProtocolOffset = 12;
inline constexpr std::uint64_t kMapOffset = 16;
inline constexpr std::uint64_t kGameOffset = 276;
inline constexpr std::uint64_t kHeaderTextSize = 260;
// Demo protocol 4 (the game's 1.0 era) has a shorter header: the map at 16 and the game folder at
// 144, 128 bytes each, then the map's CRC at 272 and the directory's offset at 276.
inline constexpr std::int32_t kShortHeaderDemoProtocol = 4;
inline constexpr std::uint64_t kShortHeaderGameOffset = 144;
inline constexpr std::uint64_t kMapCrcOffset = 536;
inline constexpr std::uint64_t kDirectoryOffsetField = 540;
inline constexpr std::uint64_t kDirectoryEntrySize = 92;
inline constexpr std::uint64_t kEntryDescriptionSize = 64;
// Directory offsets, segment offsets and lengths are signed 32-bit numbers.
inline constexpr std::uint64_t kLargestDirectoryOffset = 0x7FFFFFFF;
// The game refuses a directory of more entries than this (it writes two).
inline constexpr std::int32_t kMostDirectoryEntries = 1024;

struct ContainerHeader {
    std::int32_t demoProtocol = 0;
    std::int32_t networkProtocol = 0;
    // The fields below are read for demo protocol 5 only.
    std::string map;  // bytes up to the first NUL
    std::string gameFolder;
    std::uint32_t mapCrc = 0;
    std::int32_t directoryOffset = 0;

    bool FramesReadable() const { return demoProtocol == kFramedDemoProtocol; }
};

// The magic and both protocol numbers of any demo, and the rest of the header for protocol 5, from
// the demo's first bytes (544 of them, or all when it is shorter). Fails when they are not a demo's
// or the demo ends inside its header.
Result<ContainerHeader> ReadContainerHeader(ByteView firstBytes);

struct DirectoryEntry {
    std::int32_t type = 0;    // 0 for the loading segment, 1 for playback
    std::string description;  // bytes up to the first NUL: "LOADING", "Playback"
    std::int32_t flags = 0;
    std::int32_t cdTrack = 0;
    float time = 0;  // seconds
    std::int32_t frames = 0;
    std::int32_t offset = 0;
    std::int32_t length = 0;

    std::uint64_t End() const {
        return static_cast<std::uint64_t>(offset) + static_cast<std::uint64_t>(length);
    }
};

enum class DirectoryState { Ok, Missing, Damaged };
// "ok", "missing", "damaged".
std::string_view DirectoryStateText(DirectoryState state);

struct DirectoryRead {
    DirectoryState state = DirectoryState::Missing;
    std::vector<DirectoryEntry> entries;  // as they stand, when the table itself could be read
    std::string problem;                  // what is wrong, when the state is not Ok
};

// The directory the header points to, checked as a table: it lies wholly inside the demo behind the
// header, holds 1 to 1024 entries, and every entry's segment lies between the header and the
// directory. Whether the segments hold whole frames is for the frame walk to say. Missing when the
// header's offset is 0 (the recording never ended) or the file ends before the offset. Fails only
// when reading fails.
Result<DirectoryRead> ReadDirectory(DemoBytes& demo, std::int32_t directoryOffset);

// The bytes of a directory: the entry count, then each entry with its description NUL-padded.
std::string EncodeDirectory(const std::vector<DirectoryEntry>& entries);

}  // namespace vorelix::demo
