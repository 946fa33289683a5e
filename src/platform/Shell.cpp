// ShellOpen and ShellStartProcess: the shell's "open" verb for web pages, files and programs.
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

Result<HANDLE> ShellStartProcess(HWND owner, const std::wstring& file, const std::wstring& parameters,
                                 const std::wstring& directory, int showMode) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No UI: the shell's own error box would stand beside ours (and stop a test run).
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = showMode;
    SetLastError(ERROR_SUCCESS);
    if (ShellExecuteExW(&info)) return info.hProcess;
    const DWORD error = GetLastError();
    const auto code = static_cast<DWORD>(reinterpret_cast<INT_PTR>(info.hInstApp));
    return FailureFromCode(error != ERROR_SUCCESS ? error : code);
}

}  // namespace vorelix::platform
