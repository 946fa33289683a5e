// Chat line edits and deletes in place, and what the entries listed show afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/edit/ChatScan.h"
#include "demo/Result.h"
#include "demo/edit/TextRule.h"
#include "demo/edit/WritePlan.h"

namespace vorelix::demo {

// How many bytes of an entry may be written: its text up to its first line feed. An entry that
// spans two chat lines also covers the earlier line's line feed and the records between the two
// lines; writing those would damage the demo, so only its first line is ever written.
std::size_t WritableLength(const ChatEntry& entry);

// The text an edit of an entry starts from and is compared with: the entry as shown (UTF-8), up to
// its first line feed.
std::string EditableText(const ChatEntry& entry, const TextRule& rule);

// Overwrites the entry at index `index` with the typed UTF-8 `typed`, encoded the way the entry is
// shown and fitted to its writable length (a longer text is cut on a character boundary, a shorter
// one padded with blanks). Every entry starting there shows the new bytes in place of its first
// ones. Nothing is written for an empty text or the entry's EditableText; a text the entry cannot
// hold is refused, the failure saying why in words for the user.
Result<EntryEdit> PlanChatEdit(const std::vector<ChatEntry>& entries, std::size_t index,
                               std::string_view typed, std::uint64_t fileLength, const TextRule& rule);

// Blanks the writable bytes of the entries at the given indexes (a start shared by two of them
// once). An entry not deleted that starts where a deleted one does shows those blanks.
EntryEdit PlanChatDelete(const std::vector<ChatEntry>& entries, const std::vector<std::size_t>& indexes,
                         std::uint64_t fileLength);

}  // namespace vorelix::demo
