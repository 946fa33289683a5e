// Copying a dropped file into the demo folder, renaming and deleting demos (Win32).
#include <windows.h>

#include "platform/FileOps.h"
#include "platform/SysHelpers.h"
#include "platform/SystemError.h"

namespace vorelix::platform {

Status CopyFileIntoFolder(const std::wstring& source, const std::wstring& folder) {
    const std::wstring target = JoinFolderAndName(folder, GetFileName(source));
    // CopyFileW onto the file itself truncates or fails depending on the system; never try it.
    if (CanonicalPath(source) == CanonicalPath(target)) {
        return Failure{"The file is already in this folder.", 0};
    }
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return LastErrorFailure();
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
