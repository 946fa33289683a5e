// Plans for editing and blanking chat lines in place.
#pragma once

#include <string>
#include <vector>

#include "demo/ChatScan.h"
#include "demo/Result.h"
#include "demo/TextRule.h"
#include "demo/WritePlan.h"

namespace vorelix::demo {

// How many bytes of an entry may be written: its text up to its first line feed. An entry that
// spans two chat lines also covers the earlier line's line feed and the records between the two
// lines; writing those would damage the demo, so only its first line is ever written.
std::size_t WritableLength(const ChatEntry& entry);

// Overwrites the entry at 1-based `position` with the typed `newText` (UTF-8), written the way the
// entry is shown and fitted to its writable length (FitTypedText). An empty plan when the new text
// is empty or the text the entry is shown as.
Result<WritePlan> PlanChatEdit(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                               std::int64_t position, std::string_view newText, const TextRule& rule);

// Blanks the entries at the given 1-based positions (their writable bytes); a position given twice
// is blanked once.
Result<WritePlan> PlanChatDelete(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                                 const std::vector<std::int64_t>& positions);

}  // namespace vorelix::demo
