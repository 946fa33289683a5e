// The chat scan. The nearest 0x02 before each separator and the next line feed after it are found
// incrementally, since separators come in file order: the scan stays linear in the file's size.
#include "demo/edit/ChatScan.h"

#include "demo/DemoHeader.h"
#include "demo/edit/NickScan.h"

namespace vorelix::demo {

std::vector<ChatEntry> ScanChat(ByteView file, ScanProgress* progress) {
    std::vector<ChatEntry> entries;
    if (file.size() < kShortestScannedDemo) return entries;
    const ByteView copy = ScanCopy(file);

    std::size_t lastStart = kNotFound;  // last 0x02 at or before `backwardDone`
    std::size_t backwardDone = 0;       // bytes [0, backwardDone) were searched for 0x02
    std::size_t nextFeed = kNotFound;   // first line feed at or after `feedFrom`
    std::size_t feedFrom = kNotFound;

    std::size_t search = 0;
    for (;;) {
        const std::size_t separator = FindPattern(copy, search, kChatSeparator, 1, progress);
        if (separator == kNotFound) break;
        if (separator + 1 > backwardDone) {
            const std::size_t found = FindByteBackward(copy, backwardDone, separator, 0x02);
            if (found != kNotFound) lastStart = found;
            backwardDone = separator + 1;
        }
        if (lastStart == kNotFound) break;
        if (feedFrom == kNotFound || separator < feedFrom ||
            (nextFeed != kNotFound && separator > nextFeed)) {
            nextFeed = FindByte(copy, separator, '\n');
            feedFrom = separator;
        }
        const std::size_t start = lastStart;
        if (nextFeed != kNotFound && nextFeed - start < kChatLineLimit) {
            entries.push_back(ChatEntry{static_cast<std::int64_t>(start) + 2,
                                        std::string(AsText(copy.subspan(start + 1, nextFeed - start - 1)))});
            search = nextFeed;
        } else {
            search = separator + 10;
        }
    }
    return entries;
}

}  // namespace vorelix::demo
