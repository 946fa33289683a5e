// Registers the program as the opener of a file type, where the system lets it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Registry.h"

namespace vorelix::launch {

// Where the association goes: the machine's classes root first; when the system refuses that
// (a standard user), the user's own classes key.
struct AssociationRoots {
    HKEY primaryRoot = HKEY_CLASSES_ROOT;
    std::wstring primaryPrefix;  // prepended to every key under primaryRoot
    HKEY fallbackRoot = HKEY_CURRENT_USER;
    std::wstring fallbackPrefix = L"Software\\Classes\\";
    bool notifyShell = true;  // SHChangeNotify(SHCNE_ASSOCCHANGED) after a complete write
};

// Writes the three entries of AssociationEntries() in order. A failure under the primary root
// sends all three to the fallback root; no value means they were all written somewhere.
std::optional<platform::RegistryError> RegisterOpenFile(const std::wstring& ext, const std::wstring& prgName,
                                                        const std::wstring& iconPath, const std::wstring& exePath,
                                                        const AssociationRoots& roots = {});

}  // namespace vorelix::launch
