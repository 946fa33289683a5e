// The three registry entries of the .dem association, as plain data (no registry access here).
#pragma once

#include <string>
#include <vector>

namespace vorelix::launch {

struct RegistryEntry {
    std::wstring key;    // relative to the classes root
    std::wstring value;  // the key's default value
};

// In the order they are written: ".ext" -> prgName, prgName\DefaultIcon -> iconPath,
// prgName\shell\open\command -> "\"exePath\" %1". The executable's path is quoted so that a
// folder with blanks cannot start another program; %1 stays bare because start-up takes the
// argument string as it stands.
std::vector<RegistryEntry> AssociationEntries(const std::wstring& ext, const std::wstring& prgName,
                                              const std::wstring& iconPath, const std::wstring& exePath);

}  // namespace vorelix::launch
