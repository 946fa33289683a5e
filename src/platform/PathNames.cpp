// Path helpers of the whole program: existence, parent folder, file name, canonical form.
#include "platform/PathNames.h"

#include <windows.h>
// shlwapi.h needs the types of windows.h.
#include <shlwapi.h>

#include <vector>

namespace vorelix::platform {

namespace {

// The length-query protocol of the path calls: a first call with no buffer gives the size needed.
template <typename Call>
std::wstring CallWithBuffer(Call call) {
    DWORD needed = call(nullptr, 0);
    for (int attempt = 0; attempt < 3 && needed > 0; ++attempt) {
        std::vector<wchar_t> buffer(needed + 1);
        const DWORD written = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (written == 0) return {};
        if (written < buffer.size()) return std::wstring(buffer.data(), written);
        needed = written;  // the path changed size between the calls
    }
    return {};
}

std::wstring LongPath(const std::wstring& path) {
    return CallWithBuffer(
        [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); });
}

std::wstring UpperCase(const std::wstring& text) {
    if (text.empty()) return text;
    // The file system's own idea of case (invariant, not the user's locale), so the key does not
    // change with the locale.
    const int length = static_cast<int>(text.size());
    const int needed = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), length, nullptr, 0,
                                     nullptr, nullptr, 0);
    if (needed <= 0) return text;
    std::wstring upper(static_cast<std::size_t>(needed), L'\0');
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), length, upper.data(), needed, nullptr,
                  nullptr, 0);
    return upper;
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
    return CallWithBuffer(
        [&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
}

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    return PathFileExistsW(path.c_str()) != FALSE;
}

std::optional<std::wstring> GetParentFolder(const std::wstring& path) {
    if (path.size() < 3) return std::wstring();
    const auto last = path.rfind(L'\\');
    if (last == std::wstring::npos) return std::nullopt;
    return path.substr(0, last);
}

std::wstring GetFileName(const std::wstring& path) {
    std::vector<wchar_t> buffer(path.begin(), path.end());
    buffer.push_back(L'\0');
    PathStripPathW(buffer.data());
    return std::wstring(buffer.data());
}

std::wstring CanonicalPath(const std::wstring& path) {
    if (path.empty()) return path;
    std::wstring full = FullPath(path);
    if (full.empty()) full = path;
    std::wstring longForm = LongPath(full);
    if (longForm.empty()) {
        // GetLongPathNameW fails for a path that does not exist: expand the folder it would be in,
        // so a missing file spelled through a short folder alias still meets its long spelling.
        const auto slash = full.rfind(L'\\');
        const std::wstring folder =
            slash == std::wstring::npos ? std::wstring() : LongPath(full.substr(0, slash));
        longForm = folder.empty() ? full : folder + full.substr(slash);
    }
    return UpperCase(longForm);
}

}  // namespace vorelix::platform
