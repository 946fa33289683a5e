// Folder facts for the folder controls and the config list: normal forms, listings, drives.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorelix::platform {

// The full path of an existing folder in the list's form: a drive root as "C:\", any other folder
// without a trailing "\", the drive letter in upper case. No value when it is not an existing folder.
// A bare drive ("C:") means that drive's root.
std::optional<std::wstring> NormalizeFolder(const std::wstring& path);

// The folder that the system keeps as a drive's current one ("Z:" -> "Z:\home\me"), or its root.
std::wstring DriveCurrentFolder(wchar_t driveLetter);

// The nearest folder at or above `path` that still exists; "" when not even its drive is there.
std::wstring NearestExistingFolder(const std::wstring& path);

// Ordinal comparison without regard to case: the order of the lists.
bool LessIgnoringCase(const std::wstring& a, const std::wstring& b);
bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b);

// While one lives, the listings below made on this thread read each folder once and answer every later
// question about it from that reading (a reading that failed is not kept). A window keeps one around a
// single step that lists a folder for several controls, its subfolders for one and its demos for
// another, and never around a change it makes to a folder. One made while another lives adds nothing.
struct FolderReadings;
class ReadEachFolderOnce {
  public:
    ReadEachFolderOnce();
    ~ReadEachFolderOnce();
    ReadEachFolderOnce(const ReadEachFolderOnce&) = delete;
    ReadEachFolderOnce& operator=(const ReadEachFolderOnce&) = delete;

  private:
    std::unique_ptr<FolderReadings> readings_;  // the readings when this is the outermost one
};

// The files of a folder whose names end in `extension` (".cfg"), bare names, sorted; hidden and
// system files left out. No value when the folder cannot be read.
std::optional<std::vector<std::wstring>> ListFilesWithExtension(const std::wstring& folder,
                                                                const std::wstring& extension);

// The "*.dem" files of a folder, as ListFilesWithExtension lists them.
std::optional<std::vector<std::wstring>> ListDemoFiles(const std::wstring& folder);

// The subfolders of a folder, bare names, sorted; hidden and system folders left out.
std::vector<std::wstring> ListSubfolders(const std::wstring& folder);

// The drive letters of the machine in order ('C', 'Z'...).
std::vector<wchar_t> LogicalDrives();

// A drive as the drive box shows it: "c: [label]", or "c:" when it has no label or is not ready.
std::wstring DriveDisplayText(wchar_t driveLetter);

}  // namespace vorelix::platform
