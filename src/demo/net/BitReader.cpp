// Texts in a message: NUL-terminated, on a byte boundary or inside a bit stream.
#include "demo/net/BitReader.h"

#include <cstring>
#include <string>

namespace vorelix::demo::net {

namespace {

// Bit-stream texts are rare (resource names, delta field names); they are gathered a byte at a
// time into storage that lives as long as the thread's last such text.
thread_local std::string shiftedText;

}  // namespace

std::string_view BitReader::String() {
    if ((position_ & 7) == 0) {
        const std::size_t start = static_cast<std::size_t>(position_ >> 3);
        if (start >= bytes_.size()) {
            Overrun(0);
            return {};
        }
        const void* nul = std::memchr(bytes_.data() + start, 0, bytes_.size() - start);
        if (nul == nullptr) {
            Overrun(0);
            return {};
        }
        const std::size_t length = static_cast<const unsigned char*>(nul) - (bytes_.data() + start);
        position_ += (static_cast<std::uint64_t>(length) + 1) * 8;
        return AsText(bytes_.subspan(start, length));
    }
    shiftedText.clear();
    for (;;) {
        const std::uint32_t byte = Bits(8);
        if (overrun_) return {};
        if (byte == 0) return shiftedText;
        shiftedText += static_cast<char>(byte);
    }
}

}  // namespace vorelix::demo::net
