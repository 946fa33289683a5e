// How the utilities window shows a demo's nicks and chat lines and turns typed text back into their
// bytes, by the demo's one text rule (the command-line tool follows the same rule).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "demo/TextRule.h"

namespace vorelix::ui {

// The rule with the system's code page, as the windows show demo texts.
const demo::TextRule& WindowTextRule();

// An entry's bytes as the lists show them.
std::wstring ShowEntry(std::string_view bytes);

// Whether two entries are shown with the same text (what "All similar" looks for).
bool SameShownText(std::string_view a, std::string_view b);

// A typed text as bytes for the demo, or what the user is told instead.
struct EncodedText {
    std::string bytes;
    std::wstring refusal;  // names the character that cannot be written; empty when encoded
    bool ok() const { return refusal.empty(); }
};

// `typed` encoded the way `replaced` is shown, not yet fitted to a room; refused when it holds a
// character the field cannot hold or the code page cannot write.
EncodedText EncodeReplacement(std::wstring_view typed, std::string_view replaced, demo::TextField field);

// Encoded bytes fitted to `room` over an entry shown like `replaced`: a chat text cut on a character
// boundary, a nick refused when it does not fit; the rest of the room blanks.
EncodedText FitReplacement(std::string bytes, std::string_view replaced, std::size_t room,
                           demo::TextField field);

// How many UTF-16 units of `typed`, whole characters only, fit in `roomBytes` bytes once encoded the
// way `replaced` is shown: what a box that holds a replacement for it may keep.
std::size_t FittingLength(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes);

}  // namespace vorelix::ui
