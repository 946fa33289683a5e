// Folder listings through FindFirstFileExW, with hidden and system entries left out.
#include "platform/FolderListing.h"

#include <algorithm>

namespace vorelix::platform {

namespace {

constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool EndsWith(const std::wstring& name, const std::wstring& extension) {
    return name.size() > extension.size() &&
           EqualIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

template <typename Keep>
std::optional<std::vector<std::wstring>> ListFolder(const std::wstring& folder, const std::wstring& pattern,
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

bool IsFolder(const std::wstring& path) {
    QuietDriveErrors quiet;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    // The pattern also matches 8.3 aliases: keep the names that really end in the extension.
    return ListFolder(folder, L"*" + extension, [&](const WIN32_FIND_DATAW& data) {
        return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWith(data.cFileName, extension);
    });
}

std::vector<std::wstring> ListSubfolders(const std::wstring& folder) {
    auto names = ListFolder(folder, L"*", [](const WIN32_FIND_DATAW& data) {
        const std::wstring name = data.cFileName;
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..";
    });
    return names ? std::move(*names) : std::vector<std::wstring>{};
}

}  // namespace vorelix::platform
