// Plans for editing and blanking chat lines in place.
#pragma once

#include <string>
#include <vector>

#include "demo/ChatScan.h"
#include "demo/Result.h"
#include "demo/WritePlan.h"

namespace vorelix::demo {

// How many bytes of an entry may be written: its text up to its first line feed. An entry that
// spans two chat lines also covers the earlier line's line feed and the records between the two
// lines; writing those would damage the demo, so only its first line is ever written.
std::size_t WritableLength(const ChatEntry& entry);

// The new text fitted to `length` bytes: cut to it, or filled up with blanks.
std::string FitChatText(const std::string& newText, std::size_t length);

// Overwrites the entry at 1-based `position` with `newText` fitted to its writable length. An
// empty plan when the new text is empty or leaves the bytes as they are.
Result<WritePlan> PlanChatEdit(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                               std::int64_t position, const std::string& newText);

// Blanks the entries at the given 1-based positions (their writable bytes).
Result<WritePlan> PlanChatDelete(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                                 const std::vector<std::int64_t>& positions);

}  // namespace vorelix::demo
