// Folder facts through the file system API; every listing leaves hidden and system entries out.
#include "platform/FolderPaths.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "platform/PathNames.h"

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
    const auto length = static_cast<int>(extension.size());
    return name.size() > extension.size() &&
           CompareStringOrdinal(name.c_str() + (name.size() - extension.size()), length, extension.c_str(),
                                length, TRUE) == CSTR_EQUAL;
}

struct FoundEntry {
    std::wstring name;
    DWORD attributes = 0;
};
using Readings = std::map<std::wstring, std::vector<FoundEntry>>;

// The readings kept by the outermost ReadEachFolderOnce alive on this thread; none without one.
thread_local Readings* keptReadings = nullptr;

// Every entry of a folder, "." and ".." among them; no value when the folder cannot be read.
std::optional<std::vector<FoundEntry>> ReadFolder(const std::wstring& folder) {
    QuietDriveErrors quiet;
    std::wstring search = folder;
    if (search.empty() || search.back() != L'\\') search += L'\\';
    search += L'*';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    std::vector<FoundEntry> entries;
    if (find == INVALID_HANDLE_VALUE) {
        // An empty drive root answers "file not found"; a missing folder "path not found".
        if (GetLastError() == ERROR_FILE_NOT_FOUND && IsFolder(folder)) return entries;
        return std::nullopt;
    }
    do {
        entries.push_back({data.cFileName, data.dwFileAttributes});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

// The names of a folder's entries that `keep` accepts, hidden and system ones left out, sorted.
template <typename Keep>
std::optional<std::vector<std::wstring>> ListFolder(const std::wstring& folder, Keep keep) {
    std::optional<std::vector<FoundEntry>> read;
    const std::vector<FoundEntry>* entries = nullptr;
    if (keptReadings) {
        if (const auto kept = keptReadings->find(folder); kept != keptReadings->end())
            entries = &kept->second;
    }
    if (!entries) {
        read = ReadFolder(folder);
        if (!read) return std::nullopt;
        entries = keptReadings ? &keptReadings->emplace(folder, std::move(*read)).first->second : &*read;
    }
    std::vector<std::wstring> names;
    for (const auto& entry : *entries) {
        if (!(entry.attributes & kLeftOut) && keep(entry)) names.push_back(entry.name);
    }
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

struct FolderReadings {
    Readings byFolder;
};

ReadEachFolderOnce::ReadEachFolderOnce() {
    if (keptReadings) return;
    readings_ = std::make_unique<FolderReadings>();
    keptReadings = &readings_->byFolder;
}

ReadEachFolderOnce::~ReadEachFolderOnce() {
    if (readings_) keptReadings = nullptr;
}

std::optional<std::vector<std::wstring>> ListFilesWithExtension(const std::wstring& folder,
                                                                const std::wstring& extension) {
    // True names only: a pattern such as "*.dem" would also match the 8.3 alias ("NAME~1.DEM") of a
    // "name.demo".
    return ListFolder(folder, [&](const FoundEntry& entry) {
        return !(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWith(entry.name, extension);
    });
}

std::optional<std::vector<std::wstring>> ListDemoFiles(const std::wstring& folder) {
    return ListFilesWithExtension(folder, L".dem");
}

std::vector<std::wstring> ListSubfolders(const std::wstring& folder) {
    auto names = ListFolder(folder, [](const FoundEntry& entry) {
        return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && entry.name != L"." && entry.name != L"..";
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
