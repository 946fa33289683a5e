// Folder facts through the file system API; every listing leaves hidden and system entries out.
#include "platform/FolderPaths.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "platform/SysHelpers.h"

namespace vorelix::platform {

namespace {

constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Reading a drive without a disc must not make the system ask the user to insert one.
class QuietDriveErrors {
  public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

  private:
    DWORD previous_ = 0;
};

bool IsFolder(const std::wstring& path) {
    QuietDriveErrors quiet;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsBareDrive(const std::wstring& path) {
    return path.size() == 2 && path[1] == L':' && std::iswalpha(path[0]);
}

bool EndsWith(const std::wstring& name, const std::wstring& extension) {
    return name.size() > extension.size() &&
           EqualIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

template <typename Keep>
std::optional<std::vector<std::wstring>> ListFolder(const std::wstring& folder, const wchar_t* pattern,
                                                    Keep keep) {
    QuietDriveErrors quiet;
    std::wstring search = folder;
    if (search.empty() || search.back() != L'\\') search += L'\\';
    search += pattern;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    std::vector<std::wstring> names;
    if (find == INVALID_HANDLE_VALUE) {
        // An empty folder answers "file not found"; a missing one "path not found".
        if (GetLastError() == ERROR_FILE_NOT_FOUND && IsFolder(folder)) return names;
        return std::nullopt;
    }
    do {
        if (!(data.dwFileAttributes & kLeftOut) && keep(data)) names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
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

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::optional<std::vector<std::wstring>> ListFilesWithExtension(const std::wstring& folder,
                                                                const std::wstring& extension) {
    // The pattern also matches 8.3 aliases ("NAME~1.DEM" of "name.demo"): keep true names only.
    const std::wstring pattern = L"*" + extension;
    return ListFolder(folder, pattern.c_str(), [&](const WIN32_FIND_DATAW& data) {
        return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWith(data.cFileName, extension);
    });
}

std::optional<std::vector<std::wstring>> ListDemoFiles(const std::wstring& folder) {
    return ListFilesWithExtension(folder, L".dem");
}

std::vector<std::wstring> ListSubfolders(const std::wstring& folder) {
    auto names = ListFolder(folder, L"*", [](const WIN32_FIND_DATAW& data) {
        const std::wstring name = data.cFileName;
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..";
    });
    return names ? std::move(*names) : std::vector<std::wstring>{};
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

}  // namespace vorelix::platform
