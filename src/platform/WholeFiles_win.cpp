// Small files written and read whole, and the chunked copy that reports its progress (Win32).
#include <windows.h>

#include <algorithm>

#include "platform/SystemError.h"
#include "platform/WholeFiles.h"

namespace vorelix::platform {

namespace {

// Closes a file handle on every way out.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

Status CopyFileReplacing(const std::wstring& source, const std::wstring& target,
                         const CopyProgress& progress) {
    // Wine's CopyFileExW never calls its progress routine, so the copy is done here in chunks. The
    // source shares no writing: opening the same file again as the target then fails instead of
    // emptying it.
    FileHandle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.Valid()) return LastErrorFailure();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(in.Get(), &size)) return LastErrorFailure();
    FileHandle out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!out.Valid()) return LastErrorFailure();
    const std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);
    std::uint64_t copied = 0;
    std::string buffer(1u << 20, '\0');
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(in.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) ||
            (read > 0 && !WriteAll(out.Get(), buffer.data(), read))) {
            const Failure failure = LastErrorFailure();
            out.Close();
            DeleteFileW(target.c_str());
            return failure;
        }
        if (read == 0) break;
        copied += read;
        if (progress) progress(copied, total);
    }
    return Ok();
}

Status WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || !WriteAll(file.Get(), bytes.data(), bytes.size())) return LastErrorFailure();
    return Ok();
}

Result<std::string> ReadFileStart(const std::wstring& path, std::size_t limit) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastErrorFailure();
    std::string bytes;
    char chunk[4096];
    while (bytes.size() < limit) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof chunk, limit - bytes.size()));
        if (!ReadFile(file.Get(), chunk, want, &read, nullptr)) return LastErrorFailure();
        if (read == 0) break;
        bytes.append(chunk, read);
    }
    return bytes;
}

}  // namespace vorelix::platform
