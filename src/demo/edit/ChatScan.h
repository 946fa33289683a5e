// Chat lines of a whole demo: the text between a 0x02 byte and the line feed around each " :   ".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/edit/ByteSearch.h"

namespace vorelix::demo {

inline constexpr std::string_view kChatSeparator = " :   ";
inline constexpr std::size_t kChatLineLimit = 200;  // line feed - 0x02 must stay below this

struct ChatEntry {
    std::int64_t position = 0;  // 1-based position of the text's first byte (the 0x02 byte + 1)
    std::string text;           // demo bytes: sender, separator and message
    // A line read from the game's messages (ChatLines.h): its text alone is `text`, written over in
    // place, and the sender's name at that time is shown before it. Empty for the byte rule's lines
    // and the server's.
    std::string sender = {};
};

// Every chat line in file order; nothing for a file shorter than 1,000 bytes. Sees the first
// length - 1 bytes. Two entries share a position when a later line has no 0x02 byte of its own:
// the later one then spans both lines, the first line's line feed included.
std::vector<ChatEntry> ScanChat(ByteView file, ScanProgress* progress = nullptr);

}  // namespace vorelix::demo
