// The code pages demo texts are read and written in: the interface the text rule goes through,
// portable tables of Windows-1251 and Windows-1252, and UTF-8 reading and writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorelix::demo {

// A single-byte code page. The portable tables below serve the native build; on Windows the
// system's ANSI code page comes through the same interface (platform/Text.h).
class CodePage {
  public:
    virtual ~CodePage() = default;
    // The page's number as Windows names it (1251, 1252, ...).
    virtual unsigned Number() const = 0;
    // The character a byte stands for.
    virtual char32_t Decode(unsigned char byte) const = 0;
    // The byte that holds a character; nothing when the page has none for it (never a look-alike).
    virtual std::optional<unsigned char> Encode(char32_t character) const = 0;
};

const CodePage& Windows1251();
const CodePage& Windows1252();

// Whether `bytes` are well-formed UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view bytes);
// The character of the UTF-8 sequence at `at`, which then stands behind it; nothing for a
// malformed, overlong or surrogate sequence (`at` is then unchanged).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at);
void AppendUtf8(std::string& out, char32_t character);

}  // namespace vorelix::demo
