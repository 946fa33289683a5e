// Copying a dropped file into the demo folder, renaming and deleting demos (Win32).
#include <windows.h>

#include "platform/FileOps.h"
#include "platform/SysHelpers.h"
#include "platform/SystemError.h"

namespace vorelix::platform {

namespace {

// True when both paths open the same file: catches what no path comparison can, such as a hard
// link or, under Wine, drive C: reached again through the Linux root on Z:.
bool SameFileOnDisk(const std::wstring& first, const std::wstring& second) {
    auto identify = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(file, &info) != FALSE;
        CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    if (!identify(first, a) || !identify(second, b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

Status CopyFileIntoFolder(const std::wstring& source, const std::wstring& folder, bool replaceExisting) {
    const std::wstring target = JoinFolderAndName(folder, GetFileName(source));
    // Copying a file onto itself opens the target for writing first, which empties the source.
    if (CanonicalPath(source) == CanonicalPath(target) || SameFileOnDisk(source, target)) {
        return Failure{"The file is already in this folder.", 0};
    }
    if (!CopyFileW(source.c_str(), target.c_str(), replaceExisting ? FALSE : TRUE)) return LastErrorFailure();
    return Ok();
}

Status DeleteFileAt(const std::wstring& path) {
    if (!DeleteFileW(path.c_str())) return LastErrorFailure();
    return Ok();
}

Status RenameFileTo(const std::wstring& from, const std::wstring& to) {
    // MoveFileW without MOVEFILE_REPLACE_EXISTING: an existing target makes it fail.
    if (!MoveFileW(from.c_str(), to.c_str())) return LastErrorFailure();
    return Ok();
}

}  // namespace vorelix::platform
