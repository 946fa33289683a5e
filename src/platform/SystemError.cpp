// The system's text for an error code (FormatMessageW), trimmed for message boxes.
#include "platform/SystemError.h"

#include <windows.h>

#include "platform/Text.h"

namespace vorelix::platform {

std::wstring SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length > 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) LocalFree(buffer);
    // The system ends its texts with CR LF (and sometimes a blank before it).
    while (!text.empty() &&
           (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'\t')) {
        text.pop_back();
    }
    if (text.empty()) text = L"System error " + std::to_wstring(code) + L".";
    return text;
}

Failure FailureFromCode(unsigned long code) {
    return Failure{WideToUtf8(SystemErrorText(code)), static_cast<int>(code)};
}

Failure LastErrorFailure() {
    return FailureFromCode(GetLastError());
}

}  // namespace vorelix::platform
