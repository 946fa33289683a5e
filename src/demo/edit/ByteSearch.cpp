// memchr-driven byte and pattern searches: the scans spend nearly all their time here.
#include "demo/edit/ByteSearch.h"

#include <algorithm>
#include <cstring>

namespace vorelix::demo {

std::size_t FindByte(ByteView bytes, std::size_t from, unsigned char value) {
    if (from >= bytes.size()) return kNotFound;
    const void* hit = std::memchr(bytes.data() + from, value, bytes.size() - from);
    if (hit == nullptr) return kNotFound;
    return static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes.data());
}

std::size_t FindByteBackward(ByteView bytes, std::size_t floor, std::size_t upTo, unsigned char value) {
    if (bytes.empty() || floor >= bytes.size()) return kNotFound;
    if (upTo >= bytes.size()) upTo = bytes.size() - 1;
    if (upTo < floor) return kNotFound;
    for (std::size_t i = upTo + 1; i-- > floor;) {
        if (bytes[i] == value) return i;
    }
    return kNotFound;
}

std::size_t FindPattern(ByteView bytes, std::size_t from, std::string_view pattern, std::size_t anchor) {
    const std::size_t size = bytes.size();
    const std::size_t length = pattern.size();
    if (length == 0 || length > size || from > size - length) return kNotFound;
    const auto* data = bytes.data();
    const auto* pat = reinterpret_cast<const unsigned char*>(pattern.data());
    const unsigned char anchorByte = pat[anchor];
    // Candidate starts are [from, size - length]; their anchor bytes lie at start + anchor.
    std::size_t next = from + anchor;
    const std::size_t lastAnchor = size - length + anchor;
    while (next <= lastAnchor) {
        const void* hit = std::memchr(data + next, anchorByte, lastAnchor - next + 1);
        if (hit == nullptr) return kNotFound;
        const std::size_t at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data);
        const std::size_t start = at - anchor;
        if (std::memcmp(data + start, pat, length) == 0) return start;
        next = at + 1;
    }
    return kNotFound;
}

std::size_t FindPattern(ByteView bytes, std::size_t from, std::string_view pattern, std::size_t anchor,
                        ScanProgress* progress) {
    if (progress == nullptr) return FindPattern(bytes, from, pattern, anchor);
    constexpr std::size_t kStep = std::size_t{8} << 20;
    // Bytes this far behind the search are never looked at again by the scans.
    constexpr std::size_t kKeepBehind = 64 * 1024;
    if (from > kKeepBehind) progress->Passed(from - kKeepBehind);
    for (std::size_t start = from; start < bytes.size();) {
        const std::size_t end = std::min(bytes.size(), start + kStep);
        // Candidates start in [start, end); the window holds their whole pattern.
        const ByteView window = bytes.first(std::min(bytes.size(), end + pattern.size() - 1));
        const std::size_t hit = FindPattern(window, start, pattern, anchor);
        if (hit != kNotFound) return hit;
        if (end > kKeepBehind) progress->Passed(end - kKeepBehind);
        start = end;
    }
    return kNotFound;
}

}  // namespace vorelix::demo
