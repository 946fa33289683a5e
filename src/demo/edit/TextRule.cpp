// Showing demo texts and fitting typed text into them.
#include "demo/edit/TextRule.h"

#include <cstdio>

namespace vorelix::demo {

namespace {

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::string CodePointText(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    return code;
}

// A character a field cannot hold, named for the user; empty when it may stand there.
std::string ForbiddenCharacter(char32_t character, TextField field) {
    if (field == TextField::Nick && character == '\\') return "a backslash (U+005C)";
    if (character >= 0x20 && (character < 0x7F || character > 0x9F)) return {};
    const char* name = character == 0      ? " (NUL)"
                       : character == '\n' ? " (line feed)"
                       : character == '\r' ? " (carriage return)"
                       : character == '\t' ? " (tab)"
                                           : "";
    return "the control character " + CodePointText(character) + name;
}

Result<std::string> EncodeIn(const CodePage& page, std::string_view typed, TextField field,
                             const TextRule& rule) {
    std::string bytes;
    for (std::size_t at = 0; at < typed.size();) {
        const std::size_t start = at;
        const char32_t character = *NextCodePoint(typed, at);
        const auto byte = page.Encode(character);
        if (!byte) {
            return Failure{"the character \"" + std::string(typed.substr(start, at - start)) + "\" (" +
                               CodePointText(character) + ") cannot be written in code page " +
                               std::to_string(page.Number()) + ", in which this " +
                               (field == TextField::Nick ? "nick" : "chat line") + " is shown" +
                               rule.codePageHint,
                           0};
        }
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

// The longest start of UTF-8 `bytes` that fits `room` without cutting a character.
std::size_t Utf8Cut(std::string_view bytes, std::size_t room) {
    std::size_t at = 0;
    for (std::size_t next = 0; next < bytes.size() && NextCodePoint(bytes, next) && next <= room;) at = next;
    return at;
}

}  // namespace

bool IsShownAsUtf8(std::string_view bytes) {
    return !IsAscii(bytes) && IsValidUtf8(bytes);
}

bool WrittenInUtf8(std::string_view replaced, const TextRule& rule) {
    return IsShownAsUtf8(replaced) || (rule.plainEntriesInUtf8 && IsAscii(replaced));
}

std::string ShownText(std::string_view bytes, const TextRule& rule) {
    if (IsAscii(bytes) || IsShownAsUtf8(bytes)) return std::string(bytes);
    std::string shown;
    shown.reserve(bytes.size() * 2);
    for (char c : bytes) AppendUtf8(shown, rule.codePage->Decode(static_cast<unsigned char>(c)));
    return shown;
}

Result<std::string> EncodeTypedText(std::string_view typed, std::string_view replaced, TextField field,
                                    const TextRule& rule) {
    if (!IsValidUtf8(typed)) return Failure{"the text is not valid UTF-8", 0};
    for (std::size_t at = 0; at < typed.size();) {
        const std::string forbidden = ForbiddenCharacter(*NextCodePoint(typed, at), field);
        if (!forbidden.empty()) {
            return Failure{std::string(field == TextField::Nick ? "a nick" : "a chat text") +
                               " cannot hold " + forbidden,
                           0};
        }
    }
    if (WrittenInUtf8(replaced, rule)) return std::string(typed);
    return EncodeIn(*rule.codePage, typed, field, rule);
}

Result<std::string> FitEncodedText(std::string bytes, std::string_view replaced, std::size_t room,
                                   TextField field, const TextRule& rule) {
    const bool inUtf8 = WrittenInUtf8(replaced, rule);
    if (bytes.size() > room) {
        if (field == TextField::Nick) {
            return Failure{
                "the new nick takes " + std::to_string(bytes.size()) + " bytes in " +
                    (inUtf8 ? std::string("UTF-8") : "code page " + std::to_string(rule.codePage->Number())) +
                    ", but the demo has room for " + std::to_string(room) + " there",
                0};
        }
        bytes.resize(inUtf8 ? Utf8Cut(bytes, room) : room);
    }
    bytes.resize(room, ' ');
    return bytes;
}

Result<std::string> FitTypedText(std::string_view typed, std::string_view replaced, TextField field,
                                 const TextRule& rule) {
    auto encoded = EncodeTypedText(typed, replaced, field, rule);
    if (!encoded) return encoded.failure();
    return FitEncodedText(std::move(*encoded), replaced, replaced.size(), field, rule);
}

}  // namespace vorelix::demo
