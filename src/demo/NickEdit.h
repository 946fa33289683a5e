// Plans for renaming nicks in place: the new nick padded with blanks to the old nick's room.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/NickScan.h"
#include "demo/Result.h"
#include "demo/WritePlan.h"

namespace vorelix::demo {

// The bytes written for a nick of `room` bytes: `newNick` followed by blanks up to the room.
// Refuses a nick longer than the room: it is never cut, and nothing is ever written past the room.
Result<std::string> FitNick(const std::string& newNick, std::size_t room);

// Renames `oldNick` to `newNick`: every entry holding exactly `oldNick`, or with `onlyAt` the one
// entry at that 1-based position (which must hold `oldNick`). Refuses when no entry matches or the
// new nick does not fit an entry's room.
Result<WritePlan> PlanNickEdit(const std::vector<NickEntry>& entries, std::uint64_t fileLength,
                               const std::string& oldNick, const std::string& newNick,
                               std::optional<std::int64_t> onlyAt);

}  // namespace vorelix::demo
