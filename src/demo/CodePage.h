// The code pages of demo texts for the portable tools: Windows-1251, Windows-1252, and UTF-8 as newer
// game builds record it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "demo/Result.h"

namespace vorelix::demo {

enum class CodePage { Windows1251 = 1251, Windows1252 = 1252, Utf8 = 65001 };

std::optional<CodePage> CodePageFromNumber(int number);

// Demo bytes as UTF-8 for display: valid UTF-8 holding non-ASCII bytes (what newer game builds
// record) stands as it is; anything else is read in `codePage` (Windows-1252 for Utf8).
std::string DecodeForDisplay(std::string_view bytes, CodePage codePage);

// Typed UTF-8 text as one byte per character in `codePage` (for Utf8: its own bytes). Refuses
// invalid UTF-8 and any character the code page cannot hold: it is never written as '?'.
Result<std::string> EncodeTyped(std::string_view utf8, CodePage codePage);

// Whether `bytes` are well-formed UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view bytes);

}  // namespace vorelix::demo
