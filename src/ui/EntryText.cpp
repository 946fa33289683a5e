// The text rule of demo entries, over the platform's conversions and the demo code page.
#include "ui/EntryText.h"

#include <algorithm>
#include <cwchar>

#include "demo/CodePage.h"
#include "platform/Text.h"

namespace vorelix::ui {

namespace {

bool ShownAsUtf8(std::string_view bytes) {
    const bool nonAscii =
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return nonAscii && demo::IsValidUtf8(bytes);
}

// One character of a UTF-16 text: its code point and the units it takes (a lone surrogate takes one).
struct Character {
    char32_t code;
    std::size_t units;
};

bool IsSurrogate(char32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

Character CharacterAt(std::wstring_view text, std::size_t i) {
    const char32_t first = text[i];
    if (first >= 0xD800 && first <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
        return {0x10000 + ((first - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00), 2};
    }
    return {first, 1};
}

std::size_t Utf8Length(char32_t code) {
    if (IsSurrogate(code)) return 3;  // written as U+FFFD, were it written
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

bool IsControl(char32_t code) {
    return code < 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F);
}

std::wstring Code(char32_t code) {
    wchar_t text[16];
    std::swprintf(text, 16, L"U+%04X", static_cast<unsigned>(code));
    return text;
}

// A control character as a message names it: its code, and its name for the ones people meet.
std::wstring NamedControl(char32_t code) {
    const wchar_t* name = code == L'\t'   ? L" (tab)"
                          : code == L'\r' ? L" (carriage return)"
                          : code == 0x1B  ? L" (escape)"
                                          : L"";
    return L"the control character " + Code(code) + name;
}

std::wstring RefusedText(const std::wstring& what, const std::wstring& holds) {
    return L"The new " + what + L" holds " + holds + L". Nothing is written.";
}

const std::wstring kNothingWritten = L" Nothing is written.";

}  // namespace

std::wstring ShowEntry(std::string_view bytes) {
    if (ShownAsUtf8(bytes)) return platform::Utf8ToWide(bytes);
    return platform::BytesToWide(bytes, platform::DemoCodePage());
}

bool SameShownText(std::string_view a, std::string_view b) {
    return a == b || ShowEntry(a) == ShowEntry(b);
}

EncodedText EncodeReplacement(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes) {
    const bool utf8 = ShownAsUtf8(replaced);
    const unsigned page = platform::DemoCodePage();
    EncodedText encoded;
    for (std::size_t i = 0; i < typed.size();) {
        const Character character = CharacterAt(typed, i);
        const std::wstring_view unit = typed.substr(i, character.units);
        // Characters past the room are cut off whole; whether they could be written no longer matters.
        if (encoded.bytes.size() + (utf8 ? Utf8Length(character.code) : 1) > roomBytes) break;
        if (IsSurrogate(character.code)) {
            return {
                {},
                L"The text holds an incomplete character (" + Code(character.code) + L")." + kNothingWritten};
        }
        std::string bytes;
        if (utf8) {
            bytes = platform::WideToUtf8(unit);
        } else if (auto single = platform::WideToSingleByte(unit, page)) {
            bytes = std::move(*single);
        } else {
            return {{},
                    L"The character \"" + std::wstring(unit) + L"\" (" + Code(character.code) +
                        L") cannot be written here: this entry is shown in code page " +
                        std::to_wstring(page) + L", which has no such character." + kNothingWritten};
        }
        encoded.bytes += bytes;
        i += character.units;
    }
    return encoded;
}

std::size_t FittingLength(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes) {
    const bool utf8 = ShownAsUtf8(replaced);
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < typed.size()) {
        const Character character = CharacterAt(typed, i);
        bytes += utf8 ? Utf8Length(character.code) : 1;
        if (bytes > roomBytes) break;
        i += character.units;
    }
    return i;
}

std::wstring RefusalForNick(std::wstring_view typed) {
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == L'\\') return RefusedText(L"nick", L"a backslash (\\), which ends a nick in a demo");
        if (IsControl(typed[i])) return RefusedText(L"nick", NamedControl(typed[i]));
    }
    return {};
}

std::wstring RefusalForChat(std::wstring_view typed) {
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == L'\n') {
            return RefusedText(L"message", L"a line feed (U+000A), which ends a chat line in a demo");
        }
        if (typed[i] == 0x02) {
            return RefusedText(L"message",
                               L"the control character U+0002, which starts a chat line in a demo");
        }
        if (IsControl(typed[i])) return RefusedText(L"message", NamedControl(typed[i]));
    }
    return {};
}

}  // namespace vorelix::ui
