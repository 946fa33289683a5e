// Writing a new demo on POSIX: created with O_EXCL, written with write(), unlinked when a write fails.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/NewDemoFile.h"

namespace vorelix::platform {

namespace {

Failure LastErrno() {
    return Failure{std::strerror(errno), errno};
}

Status WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return LastErrno();
        }
        if (wrote == 0) return Failure{std::strerror(EIO), EIO};
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return Ok();
}

}  // namespace

Status WriteNewDemo(const std::filesystem::path& target, demo::DemoBytes& source,
                    std::span<const demo::DemoPiece> pieces) {
    if (auto fits = demo::CheckPiecesFit(pieces, source.Size()); !fits) return fits;
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return LastErrno();
    Status written = WritePieces(source, pieces, [fd](const unsigned char* data, std::size_t size) {
        return WriteAll(fd, data, size);
    });
    // close() may be the first to report a failed write (a full disk on a network share).
    if (::close(fd) != 0 && written) written = LastErrno();
    if (!written) ::unlink(target.c_str());
    return written;
}

}  // namespace vorelix::platform
