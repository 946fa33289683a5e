// File operations of the windows on Win32, the handles owned by File.
#include <windows.h>

#include <algorithm>

#include "platform/File.h"
#include "platform/FileOps.h"
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

Status CopyFileReplacing(const std::wstring& source, const std::wstring& target,
                         const CopyProgress& progress) {
    // Wine's CopyFileExW never calls its progress routine, so the copy is done here in chunks. The
    // source shares no writing: opening the same file again as the target then fails instead of
    // emptying it.
    auto in = File::OpenForReading(source, false);
    if (!in) return in.failure();
    auto total = in->Length();
    if (!total) return total.failure();
    auto out = File::CreateReplacing(target);
    if (!out) return out.failure();
    std::string buffer;
    for (std::uint64_t copied = 0; copied < *total;) {
        buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(1u << 20, *total - copied)));
        Status step = in->ReadAt(copied, buffer);
        if (step) step = out->WriteAt(copied, buffer.data(), buffer.size());
        if (!step) {
            out = File();
            DeleteFileW(target.c_str());
            return step;
        }
        copied += buffer.size();
        if (progress) progress(copied, *total);
    }
    return Ok();
}

Status WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
    auto file = File::CreateReplacing(path);
    if (!file) return file.failure();
    return file->WriteAt(0, bytes.data(), bytes.size());
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
