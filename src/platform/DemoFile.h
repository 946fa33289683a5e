// Demo file access: read-only mapped views, header and body windows, plan writes, backup copies.
#pragma once

#include <cstdint>
#include <filesystem>

#include "demo/ByteSearch.h"
#include "demo/DemoSummary.h"
#include "demo/Result.h"
#include "demo/WritePlan.h"

namespace vorelix::platform {

// A whole demo as read-only bytes, memory-mapped so no scan copies the file onto the heap. A 0-byte
// file has no mapping and an empty view. The file stays open (shared for reading, writing and
// deleting) while the view lives.
class MappedDemo : public demo::ScanProgress {
  public:
    static Result<MappedDemo> Open(const std::filesystem::path& path);

    MappedDemo(MappedDemo&& other) noexcept;
    MappedDemo& operator=(MappedDemo&& other) noexcept;
    MappedDemo(const MappedDemo&) = delete;
    MappedDemo& operator=(const MappedDemo&) = delete;
    ~MappedDemo();

    demo::ByteView Bytes() const { return {data_, size_}; }
    std::uint64_t Size() const { return size_; }
    // The file's last-write time when it was opened: a plan made from these bytes carries it
    // (WritePlan::lastWriteTime), so the demo is not written if it changed in between.
    std::int64_t LastWriteTime() const { return lastWriteTime_; }

    // Pass the view itself to the whole-file scans: the pages they have passed are let go in steps
    // of a few megabytes, so scanning a large demo does not keep all of it resident. Bytes let go
    // are read in again from the file if they are looked at later.
    void Passed(std::size_t offset) override;

  private:
    MappedDemo() = default;
    void Release();

    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    // Platform handles: a descriptor on POSIX, file and mapping handles on Windows.
    std::intptr_t file_ = -1;
    std::intptr_t mapping_ = 0;
    std::size_t released_ = 0;  // pages below this offset were let go
    std::int64_t lastWriteTime_ = 0;
};

// The file's length as the file system reports it.
Result<std::uint64_t> FileLength(const std::filesystem::path& path);

// What the information panel shows of a demo. Reads only the three header windows and the body
// window (positioned reads; never the whole file). A file that is not a demo, or that cannot be
// read, gives a failure: the panel then says "Incorrect format of the demo!".
Result<demo::DemoSummary> ReadDemoSummary(const std::filesystem::path& path);

// Applies a plan with positioned writes, adjacent runs merged. The demo is opened for writing
// without being created, truncated or extended; a demo whose length or last-write time differs from
// the plan's (it changed since it was scanned), or one marked read-only, is refused before anything
// is written, and the length is checked again afterwards.
Status ApplyWritePlan(const std::filesystem::path& path, const demo::WritePlan& plan);

// Opens the demo for writing as ApplyWritePlan does and lets go: a demo marked read-only, gone, or held
// by a program that lets nobody write (the game playing it) is refused before a backup copy is made
// for a write that could not happen.
Status CheckWritable(const std::filesystem::path& path);

// Copies `from` to `to`; fails when `to` exists: it is never replaced.
Status CopyFileNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

// The backup copy of a demo beside it, named after the local time of day ("<demo>.HH-MM-SS.bak",
// with "-2", "-3"... when taken). Returns the copy's path.
Result<std::filesystem::path> MakeBakCopy(const std::filesystem::path& demo);

// The backup copy taken right before a write: a demo that would refuse the write (CheckWritable)
// gets none. Returns the copy's path.
Result<std::filesystem::path> MakeBakCopyBeforeWrite(const std::filesystem::path& demo);

}  // namespace vorelix::platform
