// Conversions between bytes (UTF-8 or a named code page) and UTF-16, through the Win32 NLS calls.
#include "platform/Text.h"

#include <windows.h>

#include <array>
#include <climits>

#include "demo/edit/TextRule.h"

namespace vorelix::platform {

namespace {

// MultiByteToWideChar takes int lengths; texts here are names, nicks and paths, far below that.
int ClampedLength(std::size_t size) {
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

std::wstring Decode(std::string_view bytes, unsigned codePage, DWORD flags) {
    if (bytes.empty()) return {};
    const int inLength = ClampedLength(bytes.size());
    const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), inLength, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), inLength, wide.data(), needed);
    return wide;
}

std::wstring Utf16Of(char32_t character) {
    if (character < 0x10000) return std::wstring(1, static_cast<wchar_t>(character));
    character -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (character >> 10)),
            static_cast<wchar_t>(0xDC00 + (character & 0x3FF))};
}

// A single-byte Windows code page: its 256 characters read once, a character written through
// WideToSingleByte.
class SystemPage : public demo::CodePage {
  public:
    explicit SystemPage(unsigned number) : number_(number) {
        for (unsigned byte = 0; byte < characters_.size(); ++byte) {
            const char one = static_cast<char>(byte);
            const std::wstring wide = BytesToWide(std::string_view(&one, 1), number);
            characters_[byte] = wide.size() == 1 ? wide[0] : byte;
        }
    }
    unsigned Number() const override { return number_; }
    char32_t Decode(unsigned char byte) const override { return characters_[byte]; }
    std::optional<unsigned char> Encode(char32_t character) const override {
        const auto bytes = WideToSingleByte(Utf16Of(character), number_);
        if (!bytes || bytes->size() != 1) return std::nullopt;
        return static_cast<unsigned char>((*bytes)[0]);
    }

  private:
    unsigned number_;
    std::array<char32_t, 256> characters_{};
};

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
    return Decode(utf8, CP_UTF8, 0);
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int inLength = ClampedLength(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

std::wstring BytesToWide(std::string_view bytes, unsigned codePage) {
    return Decode(bytes, codePage, 0);
}

std::optional<std::string> WideToCodePage(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return std::string();
    const int inLength = ClampedLength(text.size());
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    // Best-fit mapping would turn, say, a Cyrillic letter into a look-alike Latin one; with it off, a
    // character the code page lacks becomes the default char, and the flag tells us so. UTF-8 takes
    // neither (the call fails with them) and holds every character but a lone surrogate.
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int needed =
        WideCharToMultiByte(codePage, flags, text.data(), inLength, nullptr, 0, nullptr, usedDefaultOut);
    if (needed <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    const int written = WideCharToMultiByte(codePage, flags, text.data(), inLength, bytes.data(), needed,
                                            nullptr, usedDefaultOut);
    if (written != needed || usedDefault) return std::nullopt;
    return bytes;
}

std::optional<std::string> WideToSingleByte(std::wstring_view text, unsigned codePage) {
    auto bytes = WideToCodePage(text, codePage);
    // One byte per character is what a same-length edit counts on; a multi-byte page breaks that.
    if (bytes && bytes->size() != text.size()) return std::nullopt;
    return bytes;
}

unsigned DemoCodePage() {
    const UINT ansi = GetACP();
    CPINFO info{};
    if (GetCPInfo(ansi, &info) && info.MaxCharSize == 1) return ansi;
    return 1252;
}

const demo::CodePage& SystemCodePage() {
    static const SystemPage page(DemoCodePage());
    return page;
}

std::wstring DemoTextForDisplay(std::string_view bytes) {
    return Utf8ToWide(demo::ShownText(bytes, demo::TextRule(SystemCodePage())));
}

}  // namespace vorelix::platform
