// Path helpers shared by the whole program: FileExists, GetParentFolder, GetFileName and kin.
#pragma once

#include <optional>
#include <string>

namespace vorelix::platform {

// The full path of a path as the system resolves it (GetFullPathNameW); "" when it cannot.
std::wstring FullPath(const std::wstring& path);

// True when the path names an existing file or folder (PathFileExistsW); false for "".
bool FileExists(const std::wstring& path);

// The text before the last "\" ("C:\Demos\a.dem" gives "C:\Demos"); "" for a path shorter than
// 3 characters; no value when a path of 3 or more characters holds no "\" (an error the caller
// handles by skipping the step that wanted the result).
std::optional<std::wstring> GetParentFolder(const std::wstring& path);

// The file-name part of a path (PathStripPathW): "C:\Demos\a.dem" gives "a.dem"; a path without a
// folder part comes back unchanged.
std::wstring GetFileName(const std::wstring& path);

// One canonical form of an existing path, so that two spellings of the same file compare equal:
// full path, long names (8.3 aliases expanded), upper case. For a path that does not exist, the
// full path in upper case.
std::wstring CanonicalPath(const std::wstring& path);

}  // namespace vorelix::platform
