// RealSystemQueries: FileExists and the system's ANSI code page.
#include "launch/RealSystem.h"

#include <windows.h>

#include "platform/PathNames.h"
#include "platform/Text.h"

namespace vorelix::launch {

SystemQueries RealSystemQueries() {
    SystemQueries system;
    system.fileExists = [](const std::wstring& path) { return platform::FileExists(path); };
    system.toAnsi = [](std::wstring_view text) { return platform::WideToCodePage(text, CP_ACP); };
    return system;
}

}  // namespace vorelix::launch
