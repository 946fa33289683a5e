// ShellOpen: the shell's "open" verb for web pages and files.
#include "platform/Shell.h"

#include <shellapi.h>

#include "platform/SystemError.h"

namespace vorelix::platform {

bool ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters,
               const std::wstring& directory, int showMode) {
    return ShellOpenOrFail(owner, file, parameters, directory, showMode).ok();
}

Status ShellOpenOrFail(HWND owner, const std::wstring& file, const std::wstring& parameters,
                       const std::wstring& directory, int showMode) {
    SetLastError(ERROR_SUCCESS);
    const HINSTANCE result =
        ShellExecuteW(owner, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                      directory.empty() ? nullptr : directory.c_str(), showMode);
    // The result is an HINSTANCE only for old programs' sake; values above 32 mean success.
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) return Ok();
    // The last error says more than the result ("not a valid Win32 application" where the result
    // only says "bad format"); the result's first codes are system error codes too.
    const DWORD error = GetLastError();
    return FailureFromCode(error != ERROR_SUCCESS ? error : static_cast<DWORD>(code));
}

}  // namespace vorelix::platform
