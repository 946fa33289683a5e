// Folder facts through the file system API; the listings themselves live in platform/FolderListing.
#include "ui/FolderPaths.h"

#include <windows.h>

#include <cwctype>

namespace vorelix::ui {

namespace {

using platform::IsFolder;
using platform::QuietDriveErrors;

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) return {};
    full.resize(written);
    return full;
}

bool IsBareDrive(const std::wstring& path) {
    return path.size() == 2 && path[1] == L':' && std::iswalpha(path[0]);
}

}  // namespace

std::optional<std::wstring> NormalizeFolder(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    std::wstring full = FullPath(IsBareDrive(path) ? path + L"\\" : path);
    if (full.empty() || !IsFolder(full)) return std::nullopt;
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    if (full.size() >= 2 && full[1] == L':') full[0] = static_cast<wchar_t>(std::towupper(full[0]));
    return full;
}

std::wstring DriveCurrentFolder(wchar_t driveLetter) {
    const std::wstring drive{driveLetter, L':'};
    if (auto current = NormalizeFolder(FullPath(drive))) return *current;
    return drive + L"\\";
}

bool IsDriveReady(wchar_t driveLetter) {
    return IsFolder(std::wstring{driveLetter, L':', L'\\'});
}

std::wstring NearestExistingFolder(const std::wstring& path) {
    std::wstring candidate = path;
    while (!candidate.empty()) {
        if (auto folder = NormalizeFolder(candidate)) return *folder;
        const auto slash = candidate.find_last_of(L'\\');
        if (slash == std::wstring::npos) break;
        // "C:\X" goes up to "C:\", never to the bare "C:" (the drive's current folder).
        candidate.resize(slash == 2 ? 3 : slash);
        if (candidate.size() == 3 && !IsFolder(candidate)) break;
    }
    return {};
}

std::optional<std::vector<std::wstring>> ListDemoFiles(const std::wstring& folder) {
    return platform::ListFilesWithExtension(folder, L".dem");
}

std::vector<wchar_t> LogicalDrives() {
    std::vector<wchar_t> drives;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (1u << i)) drives.push_back(static_cast<wchar_t>(L'A' + i));
    }
    return drives;
}

std::wstring DriveDisplayText(wchar_t driveLetter) {
    std::wstring text{static_cast<wchar_t>(std::towlower(driveLetter)), L':'};
    const std::wstring root{driveLetter, L':', L'\\'};
    const UINT type = GetDriveTypeW(root.c_str());
    // Removable and optical drives are not touched just to fill the box: that would spin them up.
    if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) return text;
    QuietDriveErrors quiet;
    wchar_t label[MAX_PATH + 1] = {};
    if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
        label[0] != L'\0') {
        text += L" [";
        text += label;
        text += L"]";
    }
    return text;
}

}  // namespace vorelix::ui
