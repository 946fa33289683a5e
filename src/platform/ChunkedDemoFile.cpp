// Chunked reads of a demo file through the positioned reads of both platforms.
#include "platform/ChunkedDemoFile.h"

#include <algorithm>

#include "platform/DemoFileIo.h"

namespace vorelix::platform {

namespace {

// A megabyte keeps the buffer in the processor's caches while the walk moves through it.
constexpr std::uint64_t kChunk = std::uint64_t{1} << 20;

}  // namespace

Result<ChunkedDemoFile> ChunkedDemoFile::Open(const std::filesystem::path& path) {
    auto file = ReadOnlyFile::Open(path);
    if (!file) return file.failure();
    auto size = file->Length();
    if (!size) return size.failure();
    return ChunkedDemoFile(std::make_unique<ReadOnlyFile>(std::move(*file)), *size);
}

ChunkedDemoFile::ChunkedDemoFile(std::unique_ptr<ReadOnlyFile> file, std::uint64_t size)
    : file_(std::move(file)), size_(size) {}

ChunkedDemoFile::ChunkedDemoFile(ChunkedDemoFile&& other) noexcept = default;
ChunkedDemoFile::~ChunkedDemoFile() = default;

Result<demo::ByteView> ChunkedDemoFile::At(std::uint64_t offset, std::uint64_t want) {
    if (offset > size_ || want > size_ - offset)
        return Failure{"a read past the end of the demo was asked for", 0};
    if (offset < start_ || offset + want > start_ + buffer_.size()) {
        buffer_.resize(static_cast<std::size_t>(std::min(size_ - offset, std::max(want, kChunk))));
        start_ = offset;
        if (auto read = file_->ReadAt(offset, buffer_); !read) {
            buffer_.clear();
            return read.failure();
        }
    }
    return demo::AsBytes(buffer_).subspan(static_cast<std::size_t>(offset - start_));
}

}  // namespace vorelix::platform
