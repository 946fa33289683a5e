// Nick renames in place: the new nick written the way each old one is shown, padded with blanks to
// its room, over the chosen entry or every entry shown like it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/edit/NickScan.h"
#include "demo/Result.h"
#include "demo/edit/TextRule.h"
#include "demo/edit/WritePlan.h"

namespace vorelix::demo {

// A nick as an editor holds it: where it starts, how many bytes the demo holds for it, and its bytes
// now (as scanned, or as last renamed: then shorter than the room, whose rest holds blanks).
struct HeldNick {
    std::int64_t position = 0;
    std::size_t room = 0;
    std::string bytes;
};
std::vector<HeldNick> HeldNicks(std::vector<NickEntry> scanned);

// Renames the entry at index `chosen` to the typed UTF-8 `typed`, and with `allShownAlike` every
// other entry shown with the same text. Each entry gets the text encoded the way it is itself shown
// (EncodeTypedText) and padded to its room. Another entry with too little room is left out and keeps
// its text; the chosen one is refused then, as is a text one of the entries cannot hold. A failure's
// text says why in words for the user.
Result<EntryEdit> PlanNickRename(const std::vector<HeldNick>& nicks, std::size_t chosen, bool allShownAlike,
                                 std::string_view typed, std::uint64_t fileLength, const TextRule& rule);

}  // namespace vorelix::demo
