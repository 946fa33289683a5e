// Is_HL_Folder and GetHLFolder over a path text and an existence query.
#include "launch/GameFolder.h"

namespace vorelix::launch {

bool Is_HL_Folder(const std::wstring& path, const FileExistsQuery& exists) {
    const bool hasEngine = exists(path + L"\\hw.dll");
    const bool hasLauncher = exists(path + L"\\hl.exe");
    return hasEngine && hasLauncher;
}

std::wstring GetHLFolder(const std::wstring& hlExePath, const FileExistsQuery& exists) {
    // A text shorter than 3 characters has no folder; one without "\" names none either.
    if (hlExePath.size() < 3) return {};
    const auto last = hlExePath.rfind(L'\\');
    if (last == std::wstring::npos) return {};
    std::wstring folder = hlExePath.substr(0, last);
    return Is_HL_Folder(folder, exists) ? folder : std::wstring();
}

std::wstring ModFolder(const std::wstring& gameFolder) {
    return gameFolder + L"\\cstrike";
}

}  // namespace vorelix::launch
