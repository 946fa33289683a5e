// memchr-driven byte and pattern searches: the scans spend nearly all their time here.
#include "demo/ByteSearch.h"

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

}  // namespace vorelix::demo
