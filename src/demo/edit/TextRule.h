// One rule for the texts of a demo, in the windows and in vorelix-cli alike: how an entry (a nick,
// a chat line) is shown, and the bytes a typed text replaces an entry with.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "demo/edit/CodePage.h"
#include "demo/Result.h"

namespace vorelix::demo {

struct TextRule {
    TextRule() = default;
    explicit TextRule(const CodePage& page, bool plainInUtf8 = false, std::string hint = {})
        : codePage(&page), plainEntriesInUtf8(plainInUtf8), codePageHint(std::move(hint)) {}

    // How entries that are not shown as UTF-8 are shown and written.
    const CodePage* codePage = &Windows1252();
    // Text replacing an entry of ASCII alone (which either way would show the same) is written in
    // UTF-8 rather than in the code page.
    bool plainEntriesInUtf8 = false;
    // Added to the refusal of a character the code page cannot hold, to say how to choose another.
    std::string codePageHint;
};

enum class TextField { Nick, Chat };

// Whether an entry is shown as UTF-8: valid UTF-8 that holds non-ASCII bytes, as newer game builds
// record names and chat. Every other entry is shown in the code page.
bool IsShownAsUtf8(std::string_view bytes);

// The entry as it is shown, in UTF-8.
std::string ShownText(std::string_view bytes, const TextRule& rule);

// Whether text replacing `replaced` is written in UTF-8 (else in the rule's code page).
bool WrittenInUtf8(std::string_view replaced, const TextRule& rule);

// Typed UTF-8 text encoded the way `replaced` is shown, not yet fitted to any room. Refuses invalid
// UTF-8, control characters (and a backslash in a nick), and characters the code page cannot hold.
Result<std::string> EncodeTypedText(std::string_view typed, std::string_view replaced, TextField field,
                                    const TextRule& rule);

// Encoded bytes fitted to `room` bytes over an entry shown like `replaced`: a chat text is cut on a
// character boundary, a nick that does not fit is refused; the rest of the room is blanks.
Result<std::string> FitEncodedText(std::string bytes, std::string_view replaced, std::size_t room,
                                   TextField field, const TextRule& rule);

// Typed UTF-8 text as exactly `replaced.size()` bytes to write over `replaced`: encoded the way
// `replaced` is shown, cut on a character boundary (a chat text) or refused (a nick) when it is
// longer, padded with blanks when shorter. Refuses invalid UTF-8, control characters (and a
// backslash in a nick: it would end the nick in the player's settings), and characters the code
// page cannot hold; the failure says why in words for the user.
Result<std::string> FitTypedText(std::string_view typed, std::string_view replaced, TextField field,
                                 const TextRule& rule);

}  // namespace vorelix::demo
