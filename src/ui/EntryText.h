// How the utilities window shows a demo's nicks and chat lines and turns typed text back into their
// bytes: every decode, match, encode, fit and refusal of that window goes through these functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorelix::ui {

// An entry's bytes as the lists show them: as UTF-8 when they are valid UTF-8 holding a non-ASCII
// byte (what newer game builds record), else in the demo code page.
std::wstring ShowEntry(std::string_view bytes);

// Whether two entries are shown with the same text (what "All similar" looks for).
bool SameShownText(std::string_view a, std::string_view b);

// A typed text as bytes for the demo, or what the user is told instead.
struct EncodedText {
    std::string bytes;
    std::wstring refusal;  // names the character that cannot be written; empty when encoded
    bool ok() const { return refusal.empty(); }
};

// `typed` encoded the way `replaced` is shown (UTF-8, or the code page without best-fit look-alikes)
// and cut to at most `roomBytes` bytes, never inside a character.
EncodedText EncodeReplacement(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes);

// How many UTF-16 units of `typed`, whole characters only, fit in `roomBytes` bytes once encoded the
// way `replaced` is shown: what a box that holds a replacement for it may keep.
std::size_t FittingLength(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes);

// What the user is told when a typed nick cannot stand in a demo (a backslash ends a nick there; a
// control character would break the player's settings text); empty when it can.
std::wstring RefusalForNick(std::wstring_view typed);

// The same for a chat text: a line feed ends a chat line, 0x02 starts one, and no other control
// character belongs in it.
std::wstring RefusalForChat(std::wstring_view typed);

}  // namespace vorelix::ui
