// Every occurrence of a nick in a whole demo, with the 1-based position of its first byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/edit/ByteSearch.h"
#include "demo/Result.h"

namespace vorelix::demo {

struct NickEntry {
    std::int64_t position = 0;  // 1-based position of the nick's first byte (marker + 6)
    std::string nick;           // demo bytes; its length is the room the demo holds for it
};

// The first length - 1 bytes of a file: what the whole-file scans see.
inline ByteView ScanCopy(ByteView file) {
    return file.empty() ? file : file.first(file.size() - 1);
}

// Reads a nick from 1-based `position` in `copy` up to a backslash or NUL, and leaves `position`
// just behind that terminator. Returns nothing when the copy ends before a terminator.
std::optional<std::string> ReadNickAt(ByteView copy, std::int64_t& position);

// Every nick in file order. Refuses a file shorter than 1,000 bytes (a failure with no system text).
// A nick that runs to the end of the scanned bytes has no known room and is not listed.
Result<std::vector<NickEntry>> ScanNicks(ByteView file, ScanProgress* progress = nullptr);

}  // namespace vorelix::demo
