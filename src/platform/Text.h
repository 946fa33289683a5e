// Every conversion between bytes and UTF-16 in the program lives here, with the code page named.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "demo/edit/CodePage.h"

namespace vorelix::platform {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view text);

// Bytes in the given Windows code page (CP_ACP, 1251, 1252, CP_UTF8...) as UTF-16.
std::wstring BytesToWide(std::string_view bytes, unsigned codePage);

// Text in a code page (CP_ACP for the system's ANSI one), one or more bytes per character. No value
// when a character has no place in it: the caller refuses the text; it is never written with '?'.
std::optional<std::string> WideToCodePage(std::wstring_view text, unsigned codePage);

// Typed text as one byte per character in a single-byte code page. Empty when a character cannot
// be held by that code page: the caller refuses the text; it is never written with '?' in it.
std::optional<std::string> WideToSingleByte(std::wstring_view text, unsigned codePage);

// The single-byte code page of texts inside demos: the system's ANSI code page when it is a
// single-byte one, else Windows-1252.
unsigned DemoCodePage();

// DemoCodePage() through MultiByteToWideChar and WideCharToMultiByte (no best fit, the used-default
// check): the code page of the demo text rule (demo/TextRule.h) in the windows and vorelix-cli.exe.
const demo::CodePage& SystemCodePage();

// A text read from a demo as the text rule shows it with SystemCodePage(): valid UTF-8 with
// non-ASCII bytes (what newer game builds record) as UTF-8, anything else in DemoCodePage().
std::wstring DemoTextForDisplay(std::string_view bytes);

}  // namespace vorelix::platform
