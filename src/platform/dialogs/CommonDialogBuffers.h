// Fixed-size text buffers handed to the dialogs, and the errors the dialog operations share.
#pragma once

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs/CommonDialog.h"

namespace vorelix::platform::dialog_detail {

// `text` followed by NULs up to `capacity` units, plus one NUL beyond the counted size, so that a
// text that fills the buffer exactly still reaches the dialog terminated. No value when the text
// is longer than the buffer.
inline std::optional<std::vector<wchar_t>> PaddedBuffer(const std::wstring& text, std::size_t capacity) {
    if (text.size() > capacity) return std::nullopt;
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    text.copy(buffer.data(), text.size());
    return buffer;
}

// The text of the first `capacity` units up to the first NUL; no value when there is none.
inline std::optional<std::wstring> UpToFirstNul(const wchar_t* buffer, std::size_t capacity) {
    const wchar_t* end = std::wmemchr(buffer, L'\0', capacity);
    if (end == nullptr) return std::nullopt;
    return std::wstring(buffer, end);
}

inline std::wstring SourceOf(const wchar_t* operation) {
    return std::wstring(L"CommonDialog.") + operation;
}

inline DialogError InvalidArgument(const wchar_t* operation) {
    return DialogError{kInvalidDialogArgument, SourceOf(operation), L"Invalid procedure call or argument", 0};
}

}  // namespace vorelix::platform::dialog_detail
