// Files on POSIX (the native build and the command-line tool): open, pread, pwrite, mmap; the
// system's text for an error is strerror's.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/files/File.h"

namespace vorelix::platform {

namespace {

Failure ErrnoFailure(int error) {
    return Failure{std::strerror(error), error};
}
Failure LastErrnoFailure() {
    return ErrnoFailure(errno);
}

Result<File> Opened(int fd) {
    if (fd < 0) return LastErrnoFailure();
    return File(fd);
}

Result<struct stat> StatusOf(std::intptr_t fd) {
    struct stat info {};
    if (::fstat(static_cast<int>(fd), &info) != 0) return LastErrnoFailure();
    return info;
}

}  // namespace

// O_NONBLOCK: opening a FIFO for reading would wait for a writer; it is refused as no file instead.
// Regular files ignore the flag. Nothing on POSIX stops others from writing.
Result<File> File::OpenForReading(const std::filesystem::path& path, bool /*othersMayWrite*/) {
    return Opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
}

Result<File> File::OpenForWriting(const std::filesystem::path& path) {
    // No O_CREAT, no O_TRUNC: a demo deleted since its scan is not created again.
    auto file = Opened(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (!file) return file;
    auto info = StatusOf(file->handle_);
    if (!info) return info.failure();
    if (!S_ISREG(info->st_mode)) return ErrnoFailure(EINVAL);
    // A demo marked read-only stays unwritten even for root, whom the permission bits do not stop.
    if ((info->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return ErrnoFailure(EACCES);
    return file;
}

Result<File> File::CreateNew(const std::filesystem::path& path) {
    return Opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

Result<File> File::CreateReplacing(const std::filesystem::path& path) {
    return Opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

// The lock of a held file is flock's: it belongs to the open file, so it goes when the file is
// closed, however the process ends.
Result<File> File::CreateHeld(const std::filesystem::path& path) {
    auto file = Opened(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file && ::flock(static_cast<int>(file->handle_), LOCK_EX | LOCK_NB) != 0) return LastErrnoFailure();
    return file;
}

Result<File> File::OpenHeld(const std::filesystem::path& path) {
    auto file = Opened(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    if (file && ::flock(static_cast<int>(file->handle_), LOCK_EX | LOCK_NB) != 0) return LastErrnoFailure();
    return file;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (handle_ != kNone) ::close(static_cast<int>(handle_));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

File::~File() {
    if (handle_ != kNone) ::close(static_cast<int>(handle_));
}

Result<std::uint64_t> File::Length() const {
    auto info = StatusOf(handle_);
    if (!info) return info.failure();
    if (!S_ISREG(info->st_mode)) return ErrnoFailure(S_ISDIR(info->st_mode) ? EISDIR : EINVAL);
    return static_cast<std::uint64_t>(info->st_size);
}

Result<std::int64_t> File::LastWriteTime() const {
    auto info = StatusOf(handle_);
    if (!info) return info.failure();
    return static_cast<std::int64_t>(info->st_mtim.tv_sec) * 1'000'000'000 + info->st_mtim.tv_nsec;
}

Status File::ReadAt(std::uint64_t offset, std::string& buffer) const {
    for (std::size_t done = 0; done < buffer.size();) {
        const ssize_t got = ::pread(static_cast<int>(handle_), buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return LastErrnoFailure();
        if (got == 0) return Failure{"the file ended before the expected bytes", 0};
        done += static_cast<std::size_t>(got);
    }
    return Ok();
}

Status File::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        const ssize_t wrote =
            ::pwrite(static_cast<int>(handle_), bytes + done, size - done, static_cast<off_t>(offset + done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return LastErrnoFailure();
        if (wrote == 0) return ErrnoFailure(EIO);
        done += static_cast<std::size_t>(wrote);
    }
    return Ok();
}

Status File::Flush() {
    if (::fsync(static_cast<int>(handle_)) != 0) return LastErrnoFailure();
    return Ok();
}

Status File::SetLastWriteTime(std::int64_t time) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time / 1'000'000'000, time % 1'000'000'000}};
    if (::futimens(static_cast<int>(handle_), times) != 0) return LastErrnoFailure();
    return Ok();
}

Status File::Close() {
    if (::close(static_cast<int>(std::exchange(handle_, kNone))) != 0) return LastErrnoFailure();
    return Ok();
}

Status MappedDemo::Map(File file, std::uint64_t length) {
    if (length > static_cast<std::uint64_t>(SIZE_MAX)) return ErrnoFailure(EFBIG);
    void* view = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_SHARED,
                        static_cast<int>(file.handle_), 0);
    if (view == MAP_FAILED) return LastErrnoFailure();
    data_ = static_cast<const unsigned char*>(view);
    size_ = static_cast<std::size_t>(length);
    // The scans read forward through the file once.
    ::madvise(view, size_, MADV_SEQUENTIAL);
    // The mapping keeps the bytes reachable; the descriptor is not needed any more.
    return Ok();
}

void MappedDemo::Passed(std::size_t offset) {
    constexpr std::size_t kStep = std::size_t{16} << 20;
    if (data_ == nullptr || offset < released_ + kStep) return;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t end = std::min(offset, size_) / page * page;
    // MADV_DONTNEED on a shared file mapping only drops our page table entries: a later read
    // faults the bytes in again from the file.
    if (end > released_) {
        ::madvise(const_cast<unsigned char*>(data_) + released_, end - released_, MADV_DONTNEED);
        released_ = end;
    }
}

void MappedDemo::Release() {
    if (data_ != nullptr) ::munmap(const_cast<unsigned char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}

Status RenameFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace) {
    if (replace) {
        if (::rename(from.c_str(), to.c_str()) != 0) return LastErrnoFailure();
        return Ok();
    }
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Ok();
    if (errno != EINVAL && errno != ENOSYS) return LastErrnoFailure();
    // A file system without RENAME_NOREPLACE: a hard link is never made over an existing name.
    if (::link(from.c_str(), to.c_str()) != 0) return LastErrnoFailure();
    ::unlink(from.c_str());
    return Ok();
}

bool IsHeldElsewhere(const Failure& failure) {
    return failure.code == EWOULDBLOCK;
}

bool IsNameTaken(const Failure& failure) {
    return failure.code == EEXIST;
}

Failure NameTakenFailure() {
    return ErrnoFailure(EEXIST);
}

void FlushFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

Status KeepModeOf(const File& source, File& copy) {
    auto info = StatusOf(source.handle_);
    if (!info) return info.failure();
    if (::fchmod(static_cast<int>(copy.handle_), info->st_mode & 0777) != 0) return LastErrnoFailure();
    return Ok();
}

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

}  // namespace vorelix::platform
