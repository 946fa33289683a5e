// Routines of the demo list that every window shares.
#pragma once

#include <string>

namespace vorelix::platform {

// The full path of the selected demo: the list's folder and the selected entry joined by
// JoinFolderAndName. With nothing selected the entry is "" and the result names the folder
// followed by "\" (no file).
std::wstring GetSelectedDemoPath(const std::wstring& listFolder, const std::wstring& selectedEntry);

}  // namespace vorelix::platform
