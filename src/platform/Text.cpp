// Conversions between bytes (UTF-8 or a named code page) and UTF-16, through the Win32 NLS calls.
#include "platform/Text.h"

#include <windows.h>

#include <climits>

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

bool HasNonAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

bool IsValidUtf8(std::string_view bytes) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), ClampedLength(bytes.size()),
                               nullptr, 0) > 0;
}

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

std::wstring DemoTextForDisplay(std::string_view bytes) {
    if (HasNonAscii(bytes) && IsValidUtf8(bytes)) return Utf8ToWide(bytes);
    return BytesToWide(bytes, DemoCodePage());
}

}  // namespace vorelix::platform
