// Plans for renaming nicks in place: the new nick written the way the old one is shown, padded with
// blanks to its room.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "demo/NickScan.h"
#include "demo/Result.h"
#include "demo/TextRule.h"
#include "demo/WritePlan.h"

namespace vorelix::demo {

// Renames the entries shown as `shownNick` (UTF-8, as ShownText gives it) to the typed `newNick`:
// every such entry ("all similar"), or with `onlyAt` the one entry at that 1-based position, which
// must be shown so. Each entry is written the way it is shown and padded to its room; nothing is
// ever written past a room. Refuses when no entry matches or the new nick cannot be written into
// one of them (FitTypedText says why).
Result<WritePlan> PlanNickEdit(const std::vector<NickEntry>& entries, std::uint64_t fileLength,
                               std::string_view shownNick, std::string_view newNick,
                               std::optional<std::int64_t> onlyAt, const TextRule& rule);

}  // namespace vorelix::demo
