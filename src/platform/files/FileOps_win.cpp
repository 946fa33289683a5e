// File operations of the windows on Win32, the handles owned by File.
#include <windows.h>

#include "platform/files/File.h"
#include "platform/files/FileOps.h"
#include "platform/PathNames.h"
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
    if (!replaceExisting && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return NameTakenFailure();
    }
    auto copied = CopyToNewFile(source, target, replaceExisting);
    if (!copied && IsNameTaken(copied.failure())) return NameTakenFailure();
    return copied;
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

Status CopyFileReplacing(const std::wstring& source, const std::wstring& target,
                         const CopyProgress& progress) {
    // The source shares no writing while the target is tried for writing: the same file, or one the
    // game holds without sharing, fails here before anything is copied.
    auto in = File::OpenForReading(source, false);
    if (!in) return in.failure();
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        auto out = File::OpenForWriting(target);
        if (!out) return out.failure();
    }
    in = File();
    return CopyToNewFile(source, target, true, progress);
}

Status WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
    return WriteNewFile(path, bytes, true);
}

Result<std::string> ReadFileStart(const std::wstring& path, std::size_t limit) {
    auto file = File::OpenForReading(path);
    if (!file) return file.failure();
    auto length = file->Length();
    if (!length) return length.failure();
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(limit, *length)), '\0');
    if (auto read = file->ReadAt(0, bytes); !read) return read.failure();
    return bytes;
}

}  // namespace vorelix::platform
