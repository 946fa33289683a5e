// The nick scan of the utilities window: every name marker of the whole demo.
#include "demo/edit/NickScan.h"

#include "demo/DemoHeader.h"
#include "demo/PlayerScan.h"

namespace vorelix::demo {

std::optional<std::string> ReadNickAt(ByteView copy, std::int64_t& position) {
    if (position < 1) return std::nullopt;
    const std::size_t start = static_cast<std::size_t>(position - 1);
    std::size_t end = start;
    while (end < copy.size() && copy[end] != '\\' && copy[end] != 0) ++end;
    if (end >= copy.size()) {
        position = static_cast<std::int64_t>(copy.size()) + 1;
        return std::nullopt;
    }
    position = static_cast<std::int64_t>(end) + 2;
    return std::string(AsText(copy.subspan(start, end - start)));
}

Result<std::vector<NickEntry>> ScanNicks(ByteView file, ScanProgress* progress) {
    if (file.size() < kShortestScannedDemo) return Failure{};
    const ByteView copy = ScanCopy(file);
    std::vector<NickEntry> entries;
    // Recorded demos hold a name every few kilobytes; room for that many saves most regrowing.
    entries.reserve(copy.size() / 4096 + 16);
    std::size_t marker = FindPattern(copy, 0, kNameMarker, kNameMarkerAnchor, progress);
    while (marker != kNotFound) {
        std::int64_t position = static_cast<std::int64_t>(marker + kNameMarker.size()) + 1;
        const std::int64_t nickStart = position;
        auto nick = ReadNickAt(copy, position);
        if (!nick) break;
        entries.push_back(NickEntry{nickStart, std::move(*nick)});
        marker = FindPattern(copy, static_cast<std::size_t>(position - 1), kNameMarker, kNameMarkerAnchor,
                             progress);
    }
    return entries;
}

}  // namespace vorelix::demo
