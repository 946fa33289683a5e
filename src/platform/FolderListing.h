// Listing a folder as the program's lists show it: hidden and system entries left out, names sorted
// without regard to case. The demo list, the folder box and the config list all read folders here.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vorelix::platform {

// While alive, reading a drive without a disc does not make the system ask the user to insert one.
class QuietDriveErrors {
  public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

  private:
    DWORD previous_ = 0;
};

// True when the path names an existing folder.
bool IsFolder(const std::wstring& path);

// Ordinal comparison without regard to case: the order of the lists.
bool LessIgnoringCase(const std::wstring& a, const std::wstring& b);
bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b);

// The files of a folder whose names end in `extension` (".dem", ".cfg"; any case), bare names,
// sorted; hidden and system files left out. A name whose 8.3 alias alone matches ("NAME~1.DEM" of
// "name.demo") is not one of them. No value when the folder cannot be read.
std::optional<std::vector<std::wstring>> ListFilesWithExtension(const std::wstring& folder,
                                                                const std::wstring& extension);

// The subfolders of a folder, bare names, sorted; hidden and system folders left out.
std::vector<std::wstring> ListSubfolders(const std::wstring& folder);

}  // namespace vorelix::platform
