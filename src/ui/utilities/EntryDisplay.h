// How the utilities window shows a demo's nicks and chat lines and tells why typed text cannot replace
// them, by the demo's one text rule (the command-line tool follows the same rule).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "demo/edit/TextRule.h"

namespace vorelix::ui {

// The rule with the system's code page, as the windows show demo texts.
const demo::TextRule& WindowTextRule();

// An entry's bytes as the lists show them.
std::wstring ShowEntry(std::string_view bytes);

// What the user is told when a typed text cannot be written over an entry, for the text rule's `reason`.
std::wstring RefusalText(demo::TextField field, std::string_view reason);

// How many UTF-16 units of `typed`, whole characters only, fit in `roomBytes` bytes once encoded the
// way `replaced` is shown: what a box that holds a replacement for it may keep.
std::size_t FittingLength(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes);

}  // namespace vorelix::ui
