// Demo file access on POSIX (the native build and the command-line tool): mmap, pread, pwrite.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/DemoFile.h"
#include "platform/DemoFileIo.h"

namespace vorelix::platform {

namespace {

Failure ErrnoFailure(int error) {
    return Failure{std::strerror(error), error};
}
Failure LastErrno() {
    return ErrnoFailure(errno);
}

std::int64_t WriteTime(const struct stat& info) {
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes now, reporting what close says: a late write error may only show here.
    Status Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return LastErrno();
        return Ok();
    }

  private:
    int fd_;
};

Result<std::uint64_t> DescriptorLength(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return LastErrno();
    if (!S_ISREG(info.st_mode)) return ErrnoFailure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    return static_cast<std::uint64_t>(info.st_size);
}

Status WriteAll(int fd, std::uint64_t offset, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return LastErrno();
        }
        if (wrote == 0) return ErrnoFailure(EIO);
        done += static_cast<std::size_t>(wrote);
    }
    return Ok();
}

}  // namespace

// ---- ReadOnlyFile

// O_NONBLOCK: opening a FIFO for reading would wait for a writer; it is refused as no file instead.
// Regular files ignore the flag.
Result<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return LastErrno();
    return ReadOnlyFile(fd);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

Result<std::uint64_t> ReadOnlyFile::Length() const {
    return DescriptorLength(static_cast<int>(handle_));
}

Status ReadOnlyFile::ReadAt(std::uint64_t offset, std::string& buffer) const {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(static_cast<int>(handle_), buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return LastErrno();
        }
        if (got == 0) return Failure{"the file ended before the expected bytes", 0};
        done += static_cast<std::size_t>(got);
    }
    return Ok();
}

// ---- DemoWriter

Result<DemoWriter> DemoWriter::OpenExisting(const std::filesystem::path& path) {
    // No O_CREAT, no O_TRUNC: a demo deleted since its scan is not created again.
    Descriptor file(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (file.get() < 0) return LastErrno();
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return LastErrno();
    if (!S_ISREG(info.st_mode)) return ErrnoFailure(EINVAL);
    // A demo marked read-only stays unwritten even for root, whom the permission bits do not stop.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return ErrnoFailure(EACCES);
    return DemoWriter(file.Release());
}

DemoWriter::DemoWriter(DemoWriter&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

DemoWriter::~DemoWriter() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

Result<std::uint64_t> DemoWriter::Length() const {
    return DescriptorLength(static_cast<int>(handle_));
}

Result<std::int64_t> DemoWriter::LastWriteTime() const {
    struct stat info {};
    if (::fstat(static_cast<int>(handle_), &info) != 0) return LastErrno();
    return WriteTime(info);
}

Status DemoWriter::WriteAt(std::uint64_t offset, const std::string& bytes) {
    return WriteAll(static_cast<int>(handle_), offset, bytes);
}

Status DemoWriter::Close() {
    Descriptor file(static_cast<int>(handle_));
    handle_ = -1;
    return file.Close();
}

bool LocalTime(std::time_t when, std::tm& out) {
    return ::localtime_r(&when, &out) != nullptr;
}

// ---- MappedDemo

Result<MappedDemo> MappedDemo::Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return LastErrno();
    Descriptor descriptor(fd);
    auto length = DescriptorLength(fd);
    if (!length) return length.failure();
    if (*length > static_cast<std::uint64_t>(SIZE_MAX)) return ErrnoFailure(EFBIG);
    struct stat info {};
    if (::fstat(fd, &info) != 0) return LastErrno();
    MappedDemo demo;
    demo.size_ = static_cast<std::size_t>(*length);
    demo.lastWriteTime_ = WriteTime(info);
    if (demo.size_ > 0) {
        void* view = ::mmap(nullptr, demo.size_, PROT_READ, MAP_SHARED, fd, 0);
        if (view == MAP_FAILED) return LastErrno();
        demo.data_ = static_cast<const unsigned char*>(view);
        // The scans read forward through the file once.
        ::madvise(view, demo.size_, MADV_SEQUENTIAL);
    }
    // The mapping keeps the bytes reachable; the descriptor is not needed any more.
    return demo;
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

// ---- file operations

Result<std::uint64_t> FileLength(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return LastErrno();
    if (!S_ISREG(info.st_mode)) return ErrnoFailure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    return static_cast<std::uint64_t>(info.st_size);
}

Status CopyFileNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.get() < 0) return LastErrno();
    struct stat info {};
    if (::fstat(source.get(), &info) != 0) return LastErrno();
    Descriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777));
    if (target.get() < 0) return LastErrno();
    const auto fail = [&](Failure failure) -> Status {
        std::error_code ignored;
        std::filesystem::remove(to, ignored);  // never leave a half copy behind
        return failure;
    };
    std::string buffer(1 << 20, '\0');
    for (;;) {
        const ssize_t got = ::read(source.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(LastErrno());
        }
        if (got == 0) break;
        std::size_t done = 0;
        while (done < static_cast<std::size_t>(got)) {
            const ssize_t wrote =
                ::write(target.get(), buffer.data() + done, static_cast<std::size_t>(got) - done);
            if (wrote < 0) {
                if (errno == EINTR) continue;
                return fail(LastErrno());
            }
            done += static_cast<std::size_t>(wrote);
        }
    }
    if (auto closed = target.Close(); !closed) return fail(closed.failure());
    return Ok();
}

}  // namespace vorelix::platform
