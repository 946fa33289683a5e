// Files on Windows: CreateFileW, positioned ReadFile/WriteFile, file mappings.
#include <windows.h>

#include <algorithm>

#include "platform/files/File.h"
#include "platform/SystemError.h"

namespace vorelix::platform {

namespace {

HANDLE AsHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

Result<File> Opened(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE) return LastErrorFailure();
    return File(reinterpret_cast<std::intptr_t>(handle));
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

// A path as the file calls take it: one that is too long for the old limit of 260 characters gets
// the "\\?\" form, which Windows takes at any length whether long paths are switched on or not.
std::wstring SystemPath(const std::filesystem::path& path) {
    std::wstring text = path.wstring();
    if (text.size() < MAX_PATH - 12 || text.starts_with(L"\\\\?\\")) return text;
    // The "\\?\" form takes the path as it is: no "." or ".." is resolved and no "/" is turned.
    text = path.lexically_normal().wstring();
    for (auto& c : text)
        if (c == L'/') c = L'\\';
    if (text.size() > 2 && text[1] == L':' && text[2] == L'\\') return L"\\\\?\\" + text;
    if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
    return text;  // a relative path is left to the system
}

// ReadFile and WriteFile take a DWORD count.
constexpr std::size_t kChunk = 1u << 30;

}  // namespace

Result<File> File::OpenForReading(const std::filesystem::path& path, bool othersMayWrite) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_DELETE | (othersMayWrite ? FILE_SHARE_WRITE : 0);
    return Opened(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

Result<File> File::OpenForWriting(const std::filesystem::path& path) {
    auto file = Opened(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return file;
    // Windows refuses write access to a read-only file by itself; Wine running as root does not,
    // so the attribute is checked here too.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(AsHandle(file->handle_), &info)) return LastErrorFailure();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return FailureFromCode(ERROR_ACCESS_DENIED);
    return file;
}

Result<File> File::CreateNew(const std::filesystem::path& path) {
    return Opened(
        CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Result<File> File::CreateReplacing(const std::filesystem::path& path) {
    return Opened(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Shared for deleting only: another open of the file fails with a sharing violation while this
// handle lives, and the holder can still delete it.
Result<File> File::CreateHeld(const std::filesystem::path& path) {
    return Opened(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Result<File> File::OpenHeld(const std::filesystem::path& path) {
    return Opened(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (handle_ != kNone) CloseHandle(AsHandle(handle_));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

File::~File() {
    if (handle_ != kNone) CloseHandle(AsHandle(handle_));
}

Result<std::uint64_t> File::Length() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(AsHandle(handle_), &info)) return LastErrorFailure();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FailureFromCode(ERROR_ACCESS_DENIED);
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

Result<std::int64_t> File::LastWriteTime() const {
    FILETIME written{};
    if (!GetFileTime(AsHandle(handle_), nullptr, nullptr, &written)) return LastErrorFailure();
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) |
                                     written.dwLowDateTime);
}

Status File::ReadAt(std::uint64_t offset, std::string& buffer) const {
    for (std::size_t done = 0; done < buffer.size();) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, buffer.size() - done));
        OVERLAPPED overlapped = At(offset + done);
        DWORD got = 0;
        if (!ReadFile(AsHandle(handle_), buffer.data() + done, part, &got, &overlapped)) {
            if (GetLastError() != ERROR_HANDLE_EOF) return LastErrorFailure();
        }
        if (got == 0) return Failure{"the file ended before the expected bytes", 0};
        done += got;
    }
    return Ok();
}

Status File::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, size - done));
        OVERLAPPED overlapped = At(offset + done);
        DWORD wrote = 0;
        if (!WriteFile(AsHandle(handle_), bytes + done, part, &wrote, &overlapped)) return LastErrorFailure();
        if (wrote == 0) return FailureFromCode(ERROR_WRITE_FAULT);
        done += wrote;
    }
    return Ok();
}

Status File::Flush() {
    if (!FlushFileBuffers(AsHandle(handle_))) return LastErrorFailure();
    return Ok();
}

Status File::SetLastWriteTime(std::int64_t time) {
    FILETIME written{static_cast<DWORD>(time & 0xFFFFFFFF), static_cast<DWORD>(static_cast<std::uint64_t>(time) >> 32)};
    if (!SetFileTime(AsHandle(handle_), nullptr, nullptr, &written)) return LastErrorFailure();
    return Ok();
}

Status File::Close() {
    if (!CloseHandle(AsHandle(std::exchange(handle_, kNone)))) return LastErrorFailure();
    return Ok();
}

Status MappedDemo::Map(File file, std::uint64_t length) {
    if (length > static_cast<std::uint64_t>(SIZE_MAX)) return FailureFromCode(ERROR_FILE_TOO_LARGE);
    HANDLE mapping = CreateFileMappingW(AsHandle(file.handle_), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) return LastErrorFailure();
    mapping_ = reinterpret_cast<std::intptr_t>(mapping);
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) return LastErrorFailure();
    data_ = static_cast<const unsigned char*>(view);
    size_ = static_cast<std::size_t>(length);
    file_ = std::move(file);
    return Ok();
}

void MappedDemo::Passed(std::size_t offset) {
    constexpr std::size_t kStep = std::size_t{16} << 20;
    if (data_ == nullptr || offset < released_ + kStep) return;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    const std::size_t end = std::min(offset, size_) / page * page;
    // VirtualUnlock on pages that are not locked takes them out of the working set (documented);
    // it then reports ERROR_NOT_LOCKED, which is expected. A later read brings them back from the file.
    if (end > released_) {
        VirtualUnlock(const_cast<unsigned char*>(data_) + released_, end - released_);
        released_ = end;
    }
}

void MappedDemo::Release() {
    if (data_ != nullptr) UnmapViewOfFile(data_);
    if (mapping_ != 0) CloseHandle(AsHandle(mapping_));
    data_ = nullptr;
    size_ = 0;
    mapping_ = 0;
    file_ = File();
}

Status RenameFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), flags)) return LastErrorFailure();
    return Ok();
}

bool IsHeldElsewhere(const Failure& failure) {
    return failure.code == ERROR_SHARING_VIOLATION;
}

bool IsNameTaken(const Failure& failure) {
    return failure.code == ERROR_ALREADY_EXISTS || failure.code == ERROR_FILE_EXISTS;
}

Failure NameTakenFailure() {
    return FailureFromCode(ERROR_FILE_EXISTS);
}

void FlushFolder(const std::filesystem::path&) {}

Status KeepModeOf(const File&, File&) {
    return Ok();
}

std::uint32_t CurrentProcessId() {
    return GetCurrentProcessId();
}

}  // namespace vorelix::platform
