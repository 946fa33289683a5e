// ShellOpen: the shell's "open" verb for web pages and files.
#include "platform/Shell.h"

#include <shellapi.h>

namespace vorelix::platform {

bool ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters,
               const std::wstring& directory, int showMode) {
    const HINSTANCE result =
        ShellExecuteW(owner, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                      directory.empty() ? nullptr : directory.c_str(), showMode);
    // The result is an HINSTANCE only for old programs' sake; values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace vorelix::platform
