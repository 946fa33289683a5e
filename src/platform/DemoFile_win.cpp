// Demo file access on Windows: W functions only, file mappings, positioned ReadFile/WriteFile.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/DemoFile.h"
#include "platform/DemoFileIo.h"

namespace vorelix::platform {

namespace {

// The system's text for an error, in UTF-8 and without the trailing line break. Kept here so the
// file access library needs nothing from the rest of the platform layer.
std::string ErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring wide = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    if (buffer != nullptr) LocalFree(buffer);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' '))
        wide.pop_back();
    if (wide.empty()) return "system error " + std::to_string(code);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    return utf8;
}

Failure CodeFailure(DWORD code) {
    return Failure{ErrorText(code), static_cast<int>(code)};
}
Failure LastError() {
    return CodeFailure(GetLastError());
}

HANDLE AsHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}
std::intptr_t FromHandle(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

std::int64_t WriteTime(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    HANDLE release() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    Status Close() {
        HANDLE handle = release();
        if (!CloseHandle(handle)) return LastError();
        return Ok();
    }

  private:
    HANDLE handle_;
};

// Readers share everything, so a demo the game or another tool has open can still be shown.
HANDLE OpenForReading(const std::filesystem::path& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

Result<std::uint64_t> HandleLength(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return LastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return CodeFailure(ERROR_ACCESS_DENIED);
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

constexpr std::size_t kChunk = 1u << 30;

Status WriteAll(HANDLE file, std::uint64_t offset, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        OVERLAPPED overlapped = At(offset + done);
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, part, &wrote, &overlapped)) return LastError();
        if (wrote == 0) return CodeFailure(ERROR_WRITE_FAULT);
        done += wrote;
    }
    return Ok();
}

}  // namespace

// ---- ReadOnlyFile

Result<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& path) {
    HANDLE handle = OpenForReading(path);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    return ReadOnlyFile(FromHandle(handle));
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : handle_(other.handle_) {
    other.handle_ = FromHandle(INVALID_HANDLE_VALUE);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (AsHandle(handle_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(handle_));
}

Result<std::uint64_t> ReadOnlyFile::Length() const {
    return HandleLength(AsHandle(handle_));
}

Status ReadOnlyFile::ReadAt(std::uint64_t offset, std::string& buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, buffer.size() - done));
        OVERLAPPED overlapped = At(offset + done);
        DWORD got = 0;
        if (!ReadFile(AsHandle(handle_), buffer.data() + done, part, &got, &overlapped)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) return Failure{"the file ended before the expected bytes", 0};
            return CodeFailure(error);
        }
        if (got == 0) return Failure{"the file ended before the expected bytes", 0};
        done += got;
    }
    return Ok();
}

// ---- DemoWriter

Result<DemoWriter> DemoWriter::OpenExisting(const std::filesystem::path& path) {
    // OPEN_EXISTING: a demo deleted since its scan is not created again; nothing truncates it.
    // Others may keep reading while it is written, but nobody else may write at the same time.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastError();
    // Windows refuses write access to a read-only file by itself; Wine running as root does not,
    // so the attribute is checked here too.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) return LastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return CodeFailure(ERROR_ACCESS_DENIED);
    return DemoWriter(FromHandle(file.release()));
}

DemoWriter::DemoWriter(DemoWriter&& other) noexcept : handle_(other.handle_) {
    other.handle_ = FromHandle(INVALID_HANDLE_VALUE);
}

DemoWriter::~DemoWriter() {
    if (AsHandle(handle_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(handle_));
}

Result<std::uint64_t> DemoWriter::Length() const {
    return HandleLength(AsHandle(handle_));
}

Result<std::int64_t> DemoWriter::LastWriteTime() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(AsHandle(handle_), &info)) return LastError();
    return WriteTime(info.ftLastWriteTime);
}

Status DemoWriter::WriteAt(std::uint64_t offset, const std::string& bytes) {
    return WriteAll(AsHandle(handle_), offset, bytes);
}

Status DemoWriter::Close() {
    FileHandle file(AsHandle(handle_));
    handle_ = FromHandle(INVALID_HANDLE_VALUE);
    return file.Close();
}

bool LocalTime(std::time_t when, std::tm& out) {
    return localtime_s(&out, &when) == 0;
}

// ---- MappedDemo

Result<MappedDemo> MappedDemo::Open(const std::filesystem::path& path) {
    FileHandle file(OpenForReading(path));
    if (!file.valid()) return LastError();
    auto length = HandleLength(file.get());
    if (!length) return length.failure();
    if (*length > static_cast<std::uint64_t>(SIZE_MAX)) return CodeFailure(ERROR_FILE_TOO_LARGE);
    FILETIME written{};
    if (!GetFileTime(file.get(), nullptr, nullptr, &written)) return LastError();
    MappedDemo demo;
    demo.size_ = static_cast<std::size_t>(*length);
    demo.lastWriteTime_ = WriteTime(written);
    // A mapping of an empty file cannot be made (ERROR_FILE_INVALID): an empty view needs none.
    if (demo.size_ > 0) {
        FileHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping.valid()) return LastError();
        const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
        if (view == nullptr) return LastError();
        demo.data_ = static_cast<const unsigned char*>(view);
        demo.mapping_ = FromHandle(mapping.release());
    }
    demo.file_ = FromHandle(file.release());
    return demo;
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
    if (file_ != -1 && AsHandle(file_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(file_));
    data_ = nullptr;
    size_ = 0;
    mapping_ = 0;
    file_ = -1;
}

// ---- file operations

Result<std::uint64_t> FileLength(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return LastError();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return CodeFailure(ERROR_ACCESS_DENIED);
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Status CopyFileNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) return LastError();
    return Ok();
}

}  // namespace vorelix::platform
