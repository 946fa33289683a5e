// The .dem association's three registry entries as plain data.
#include "platform/association/AssociationEntries.h"

namespace vorelix::launch {

std::vector<RegistryEntry> AssociationEntries(const std::wstring& ext, const std::wstring& prgName,
                                              const std::wstring& iconPath, const std::wstring& exePath) {
    return {
        {L"." + ext, prgName},
        {prgName + L"\\DefaultIcon", iconPath},
        {prgName + L"\\shell\\open\\command", L"\"" + exePath + L"\" %1"},
    };
}

}  // namespace vorelix::launch
