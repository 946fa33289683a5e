// Writing the .dem association under the machine's classes root, or the user's own when refused.
#include "platform/association/RegisterOpenFile.h"

#include <shlobj.h>

#include "platform/association/AssociationEntries.h"

namespace vorelix::launch {

namespace {

std::optional<platform::RegistryError> WriteAll(const std::vector<RegistryEntry>& entries, HKEY root,
                                                const std::wstring& prefix) {
    for (const auto& entry : entries) {
        if (auto error = platform::SetRegString(root, prefix + entry.key, L"", entry.value)) return error;
    }
    return std::nullopt;
}

}  // namespace

std::optional<platform::RegistryError> RegisterOpenFile(const std::wstring& ext, const std::wstring& prgName,
                                                        const std::wstring& iconPath,
                                                        const std::wstring& exePath,
                                                        const AssociationRoots& roots) {
    const auto entries = AssociationEntries(ext, prgName, iconPath, exePath);
    // A standard user may not write the machine's classes; the user's own classes key then holds the
    // same entries and the shell merges both into HKEY_CLASSES_ROOT.
    auto error = WriteAll(entries, roots.primaryRoot, roots.primaryPrefix);
    if (error) error = WriteAll(entries, roots.fallbackRoot, roots.fallbackPrefix);
    if (error) return error;
    if (roots.notifyShell) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return std::nullopt;
}

}  // namespace vorelix::launch
