// A demo file read a chunk at a time: the frame walk and repaired copies see it through a buffer of
// about a megabyte, never the whole file at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "demo/DemoBytes.h"
#include "demo/Result.h"

namespace vorelix::platform {

class ReadOnlyFile;

class ChunkedDemoFile final : public demo::DemoBytes {
  public:
    // Opens the demo for reading, sharing it with any other reader or writer.
    static Result<ChunkedDemoFile> Open(const std::filesystem::path& path);

    ChunkedDemoFile(ChunkedDemoFile&& other) noexcept;
    ChunkedDemoFile(const ChunkedDemoFile&) = delete;
    ChunkedDemoFile& operator=(const ChunkedDemoFile&) = delete;
    ChunkedDemoFile& operator=(ChunkedDemoFile&&) = delete;
    ~ChunkedDemoFile() override;

    // The length the file had when it was opened.
    std::uint64_t Size() const override { return size_; }
    // Reads a new chunk from `offset` when the buffer does not hold the bytes asked for; a file that
    // has become shorter since it was opened gives a failure.
    Result<demo::ByteView> At(std::uint64_t offset, std::uint64_t want) override;

  private:
    ChunkedDemoFile(std::unique_ptr<ReadOnlyFile> file, std::uint64_t size);

    std::unique_ptr<ReadOnlyFile> file_;
    std::uint64_t size_ = 0;
    std::string buffer_;
    std::uint64_t start_ = 0;  // the file offset of the buffer's first byte
};

}  // namespace vorelix::platform
