// Handing things to the shell: opening a web page or a file with its "open" verb.
#pragma once

#include <windows.h>

#include <string>

#include "demo/Result.h"

namespace vorelix::platform {

// ShellExecuteW with the verb "open"; true when the shell accepted it (result above 32).
bool ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters = L"",
               const std::wstring& directory = L"", int showMode = SW_SHOWNORMAL);

// The same, with the system's text for a start the shell refused (its result 32 or less).
Status ShellOpenOrFail(HWND owner, const std::wstring& file, const std::wstring& parameters,
                       const std::wstring& directory, int showMode);

// The same through ShellExecuteExW, keeping the started process: its handle, which the caller closes,
// or null when the shell started no process of its own for it.
Result<HANDLE> ShellStartProcess(HWND owner, const std::wstring& file, const std::wstring& parameters,
                                 const std::wstring& directory, int showMode);

}  // namespace vorelix::platform
