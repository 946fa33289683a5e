// Folder facts for the drive box, the folder box and the demo list: normal forms, listings, drives.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FolderListing.h"

namespace vorelix::ui {

using platform::EqualIgnoringCase;
using platform::LessIgnoringCase;
using platform::ListSubfolders;

// The full path of an existing folder in the list's form: a drive root as "C:\", any other folder
// without a trailing "\", the drive letter in upper case. No value when it is not an existing folder.
// A bare drive ("C:") means that drive's root.
std::optional<std::wstring> NormalizeFolder(const std::wstring& path);

// The folder that the system keeps as a drive's current one ("Z:" -> "Z:\home\me"), or its root.
std::wstring DriveCurrentFolder(wchar_t driveLetter);

// True when the drive's root can be read (a drive without a disc or a lost network share cannot).
bool IsDriveReady(wchar_t driveLetter);

// The nearest folder at or above `path` that still exists; "" when not even its drive is there.
std::wstring NearestExistingFolder(const std::wstring& path);

// The "*.dem" files of a folder, bare names, sorted; hidden and system files left out.
// No value when the folder cannot be read.
std::optional<std::vector<std::wstring>> ListDemoFiles(const std::wstring& folder);

// The drive letters of the machine in order ('C', 'Z'...).
std::vector<wchar_t> LogicalDrives();

// A drive as the drive box shows it: "c: [label]", or "c:" when it has no label or is not ready.
std::wstring DriveDisplayText(wchar_t driveLetter);

}  // namespace vorelix::ui
